#pragma once

#include "vars/KvPrivilegesWindow.h"

#include <functional>
#include <memory>

class QMenu;

namespace Ui {
class TFrPrivileges;
}

// The editor of a privileges package: its privileges, templates (".pri") and access files.
class TFrPrivileges : public TKvPrivilegesWindow
{
    Q_OBJECT

public:
    explicit TFrPrivileges(QWidget* Parent = nullptr);
    ~TFrPrivileges() override;

    // Shows the editor modally and returns when it is closed.
    void Execute();

    QMenu* PopupMenu() const { return FMenu; }
    Ui::TFrPrivileges* ui() const { return FUi.get(); }

protected:
    void RowDoubleClicked() override;

private:
    void ClearAll();
    void ClearAccess();
    void LoadFile(const std::function<void()>& Load);
    void SaveFile(const std::function<void()>& Save);
    void LoadTemplate();
    void SaveTemplate();
    void LoadSaveAccess(bool Load);
    void LoadAccessFrom();
    void SaveAccessTo();
    void Reload();

    std::unique_ptr<Ui::TFrPrivileges> FUi;
    QMenu* FMenu;
};

// Opens the privileges editor on Pkg over Parent; nothing without a package.
void KvEditPrivileges(TKvPkgPrivileges* Pkg, QWidget* Parent = nullptr);
