#pragma once

#include "KvMaskOptions.h"

#include <QDialog>

#include <memory>

class IDesigner;
class TKvMask;

namespace Ui {
class TFrMask;
}

// Edits a mask with check boxes and radio groups kept in step with its option letters.
class TFrMask : public QDialog
{
    Q_OBJECT

public:
    explicit TFrMask(QWidget* Parent = nullptr);
    ~TFrMask() override;

    TKvMask* Mask = nullptr;
    IDesigner* Designer = nullptr;

    // True when closed with OK and the mask was written; false at once for data types no mask
    // editor serves.
    bool Execute();

    Ui::TFrMask* ui() const { return FUi.get(); }

    void done(int Result) override;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

private:
    void SetDataTypeCombo(int Value);
    void LoadText(const QString& Text);
    void OptionsEdited();
    void ControlChanged();
    void DataTypeChanged();
    void TakeChanged();
    void ShowExamples();
    // Sets every control from FState without echoing into the options field.
    void ShowState();
    void ReadControls();
    void WriteOptions();
    void UpdateLabel();
    void StoreInto(TKvMask* Target);

    std::unique_ptr<Ui::TFrMask> FUi;
    TKvMaskOptions FState;
    QString FOptions[KvMaskKindCount];
    int FDataType = 0;
    bool FReading = false;
    bool FWriting = false;
    bool FRestored = false;
};
