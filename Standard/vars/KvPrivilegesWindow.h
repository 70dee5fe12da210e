#pragma once

#include "manager/KvVtManager.h"
#include "vars/KvPrivilegesList.h"

#include <QDialog>
#include <QPointer>

#include "KvPkgPrivileges.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The controls both privileges windows have.
struct TKvPrivilegesControls
{
    QLineEdit* EdSearch = nullptr;
    QLineEdit* EdId = nullptr;
    TKvPrivilegesListView* List = nullptr;
    QLabel* LaStatus = nullptr;
    QPushButton* BtAdd = nullptr;
    QPushButton* BtModify = nullptr;
    QPushButton* BtDelete = nullptr;
    QPushButton* BtManager = nullptr;
};

// What the privileges editor and the privilege picker share: the list of a privileges package
// with its search and id boxes, and adding, modifying and deleting privileges. Every change
// tells the designer.
class TKvPrivilegesWindow : public QDialog, public IKvPrivilegesOwner
{
    Q_OBJECT

public:
    ~TKvPrivilegesWindow() override;

    // Set by the opener before Execute.
    QPointer<TKvPkgPrivileges> PkgPrivileges;

    TKvPkgPrivileges* Pkg() const { return PkgPrivileges; }
    TKvPrivilegesModel* Model() const { return FModel; }

    // Removes the row of Item and the privilege itself, without asking (for the manager).
    void DeleteItem(TKvPkgPrivilegesItem* Item) override;
    void AddItem();
    void ModifyItem();
    void DeleteSelected();

protected:
    explicit TKvPrivilegesWindow(QWidget* Parent);
    void Bind(const TKvPrivilegesControls& Controls);
    // Refills the list with the search box's text and selects the id box's privilege.
    void FillList();
    void ChangeState();
    void UpdateInfo();
    void Modified();
    void ShowError(const QString& Message);
    virtual void RowDoubleClicked() = 0;

    TKvPrivilegesControls C;

private:
    void IdChange();
    void RowClicked(int Row);
    void SelectRow(int Row);
    void DeleteRow(int Row);

    TKvPrivilegesModel* FModel;
    bool FSelecting = false;
};
