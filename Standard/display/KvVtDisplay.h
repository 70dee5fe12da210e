#pragma once

#include "display/KvDisplayEdit.h"
#include "display/KvSetsList.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class TKvCApplication;
class TKvPkgImages;

namespace Ui {
class TFrDisplay;
}

// The display package editor: the package's file, description and init mode, and the buttons
// that open the editors of its parts.
class TFrDisplay : public QDialog
{
    Q_OBJECT

public:
    explicit TFrDisplay(QWidget* Parent = nullptr);
    ~TFrDisplay() override;

    // The application whose display package is edited; set before Execute.
    QPointer<TKvCApplication> CApp;

    // Shows the window modally; closing it, also by Escape, is Ok and writes the package's file.
    int Execute();
    void ChangeState();
    void UpdateFile();
    void Modified();

    Ui::TFrDisplay* ui() const { return FUi.get(); }

public slots:
    void reject() override;

private:
    void EditSets(TKvSetKind Kind);
    void EditImages(TKvPkgImages* Pkg);
    void EditMetrics(bool Hints);
    void LoadSave(bool Load);
    void LoadFrom();
    void SaveTo();
    void ClearAll();
    void Synchronize();
    void ShowError(const QString& Text);

    std::unique_ptr<Ui::TFrDisplay> FUi;
    TKvDisplayEdit FEdit;
};

// Opens the display package editor on App's display package (nothing without an application).
// The setup editor and the application's PkgDisplay property open it this way.
void KvEditPkgDisplay(TKvCApplication* App, QWidget* Parent = nullptr);
