#pragma once

#include "common/KvPkgDialogs.h"

#include <QPointer>

#include <memory>

class TKvCApplication;
class TKvPkgLanguage;

namespace Ui {
class TFrLanguage;
}

// The language package of an application: its file, its locale and its "System" and "User"
// strings. Every way of closing it is Ok; the package's own file is written then.
class TFrLanguage : public TKvKeptBoundsDialog
{
    Q_OBJECT

public:
    explicit TFrLanguage(QWidget* Parent = nullptr);
    ~TFrLanguage() override;

    // Set before Execute.
    QPointer<TKvCApplication> CApp;

    void Execute();
    void ChangeState();

    Ui::TFrLanguage* ui() const { return FUi.get(); }

    // The file dialogs' filter.
    static QString FileFilter();

protected:
    void reject() override { accept(); }
    void done(int Result) override;

private:
    TKvPkgLanguage* Pkg() const;
    void Modified();
    // After a sub-dialog: a package kept in the form tells the designer of its change.
    void CheckPkg();
    void EditLocale();
    void EditStrings(bool System);
    void LoadSave(bool Load);
    void LoadFrom();
    void ClearAll();

    std::unique_ptr<Ui::TFrLanguage> FUi;
};

// Opens the language editor on App's language package; nothing without an application.
void KvEditLanguage(TKvCApplication* App);
