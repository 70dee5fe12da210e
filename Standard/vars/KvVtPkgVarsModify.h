#pragma once

#include "KvPkgVars.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TFrPkgVarsModify;
}

// "Edit Value": the value of one variable as text. Ok stores it by the variable's type and stays
// open on text that type cannot take.
class TFrPkgVarsModify : public QDialog
{
    Q_OBJECT

public:
    explicit TFrPkgVarsModify(QWidget* Parent = nullptr);
    ~TFrPkgVarsModify() override;

    // Set by the caller before Execute.
    TKvPkgVarsItem* FItem = nullptr;
    QChar FSeparator = u'.';

    // 1 when the value was stored, 2 otherwise.
    int Execute();
    void done(int Result) override;

    Ui::TFrPkgVarsModify* ui() const { return FUi.get(); }

private:
    std::unique_ptr<Ui::TFrPkgVarsModify> FUi;
};
