#pragma once

#include "vars/KvPrivilegesWindow.h"

#include <memory>

class TKvPrivilege;

namespace Ui {
class TFrPrivilege;
}

// Chooses the privilege a TKvPrivilege refers to; also adds, modifies and deletes privileges.
class TFrPrivilege : public TKvPrivilegesWindow
{
    Q_OBJECT

public:
    explicit TFrPrivilege(QWidget* Parent = nullptr);
    ~TFrPrivilege() override;

    // The reference edited; set before Execute.
    TKvPrivilege* Privilege = nullptr;

    // 1 when the developer confirmed (the reference then holds the id box's id, -1 when it
    // holds no number), 2 otherwise.
    int Execute();
    void done(int Result) override;

    Ui::TFrPrivilege* ui() const { return FUi.get(); }

protected:
    void RowDoubleClicked() override;

private:
    std::unique_ptr<Ui::TFrPrivilege> FUi;
    // The id box as it was confirmed: hiding the window may move the focus, and with it the
    // list's current row, before Execute reads it.
    QString FChosen;
};
