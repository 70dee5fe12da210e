#include "KvPrivilegesWindow.h"

#include "KvDesignHooks.h"
#include "KvMessages.h"
#include "KvPkgPrivileges.h"
#include "manager/KvVtManager.h"
#include "strings/KvStringsItemDialog.h"
#include "strings/KvVtPkgStrings.h"
#include "vars/KvVtPrivilegesAdd.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TKvPrivilegesWindow::TKvPrivilegesWindow(QWidget* Parent) : QDialog(Parent), FModel(new TKvPrivilegesModel(this)) {}

TKvPrivilegesWindow::~TKvPrivilegesWindow() = default;

void TKvPrivilegesWindow::Bind(const TKvPrivilegesControls& Controls)
{
    C = Controls;
    C.List->setModel(FModel);
    KvSetupIdBox(C.EdId);
    // Both boxes react to typing only, not to the text the window puts in them.
    connect(C.EdSearch, &QLineEdit::textEdited, this, &TKvPrivilegesWindow::FillList);
    connect(C.EdId, &QLineEdit::textEdited, this, &TKvPrivilegesWindow::IdChange);
    connect(C.List->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& Current) {
                if (!FSelecting)
                    RowClicked(Current.row());
            });
    connect(C.List->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TKvPrivilegesWindow::ChangeState);
    connect(C.List, &QAbstractItemView::doubleClicked, this, [this] { RowDoubleClicked(); });
    connect(C.BtAdd, &QPushButton::clicked, this, &TKvPrivilegesWindow::AddItem);
    connect(C.BtModify, &QPushButton::clicked, this, &TKvPrivilegesWindow::ModifyItem);
    connect(C.BtDelete, &QPushButton::clicked, this, &TKvPrivilegesWindow::DeleteSelected);
    connect(C.BtManager, &QPushButton::clicked, this,
            [this] { KvShowManager(this, TKvDlgManager::dlmPrivileges, QString(), C.EdId->text()); });
}

void TKvPrivilegesWindow::FillList()
{
    FModel->Fill(PkgPrivileges, C.EdSearch->text());
    IdChange();
}

void TKvPrivilegesWindow::SelectRow(int Row)
{
    FSelecting = true;
    C.List->SelectRow(Row);
    FSelecting = false;
    ChangeState();
}

void TKvPrivilegesWindow::IdChange()
{
    bool Ok = false;
    const int Id = C.EdId->text().toInt(&Ok);
    const TKvPkgPrivilegesItem* Item = Ok && PkgPrivileges ? PkgPrivileges->FindId(Id) : nullptr;
    SelectRow(Item ? FModel->RowOf(Item) : -1);
}

void TKvPrivilegesWindow::RowClicked(int Row)
{
    if (const TKvPkgPrivilegesItem* Item = FModel->Item(Row)) {
        C.EdId->setText(QString::number(Item->Id()));
        ChangeState();
    }
}

void TKvPrivilegesWindow::ChangeState()
{
    const bool Selected = C.List->CurrentRow() >= 0;
    C.BtAdd->setEnabled(PkgPrivileges != nullptr);
    C.BtModify->setEnabled(Selected);
    C.BtDelete->setEnabled(Selected);
}

void TKvPrivilegesWindow::UpdateInfo()
{
    C.LaStatus->setText(KvPrivilegesStatus(PkgPrivileges ? PkgPrivileges->Count() : 0));
}

void TKvPrivilegesWindow::Modified()
{
    if (TPersistent* Target = KvPrivilegesModifiedTarget(PkgPrivileges))
        KvDesignerModified(Target);
}

void TKvPrivilegesWindow::ShowError(const QString& Message)
{
    KvMessage(KvMsgError, Message, {KvBtnAccept}, KvBtnAccept);
}

void TKvPrivilegesWindow::AddItem()
{
    TKvPkgPrivileges* Pkg = PkgPrivileges;
    if (!Pkg)
        return;
    TFrPrivilegesAdd Dialog(this);
    Dialog.setWindowTitle(QStringLiteral("Add Privilege"));
    Dialog.PkgPrivileges = Pkg;
    Dialog.FModify = false;
    Dialog.SetValues(Pkg->UniqueId(), QString(), TKvPkgPrivilegesItem::AccessReadWrite, true);
    if (Dialog.Execute() != 1)
        return;
    C.EdId->setText(Dialog.IdText());
    FillList();
    C.EdSearch->setFocus();
    UpdateInfo();
    Modified();
}

void TKvPrivilegesWindow::ModifyItem()
{
    const int Row = C.List->CurrentRow();
    const TKvPkgPrivilegesItem* Item = FModel->Item(Row);
    if (!PkgPrivileges || !Item)
        return;
    TFrPrivilegesAdd Dialog(this);
    Dialog.setWindowTitle(QStringLiteral("Modify Privilege"));
    Dialog.PkgPrivileges = PkgPrivileges;
    Dialog.FModify = true;
    Dialog.SetValues(Item->Id(), Item->Description(), Item->Access(), Item->Visible());
    Dialog.SetLabel(Item->DescriptionPkgName(), Item->DescriptionId());
    if (Dialog.Execute() != 1)
        return;
    if (Dialog.IdText() != C.EdId->text()) {
        C.EdId->setText(Dialog.IdText());
        FillList();
    }
    FModel->RowChanged(C.List->CurrentRow());
    C.EdSearch->setFocus();
    UpdateInfo();
    Modified();
}

void TKvPrivilegesWindow::DeleteSelected()
{
    DeleteRow(C.List->CurrentRow());
}

void TKvPrivilegesWindow::DeleteRow(int Row)
{
    TKvPkgPrivilegesItem* Item = FModel->Item(Row);
    if (!Item)
        return;
    FModel->Remove(Row);
    delete Item;
    const TKvPkgPrivilegesItem* Shown = FModel->Item(KvPkgStringsRowAfterDelete(Row, FModel->rowCount()));
    C.EdId->setText(Shown ? QString::number(Shown->Id()) : QString());
    IdChange();
    UpdateInfo();
    Modified();
}

void TKvPrivilegesWindow::DeleteItem(TKvPkgPrivilegesItem* Item)
{
    if (!Item)
        return;
    const int Row = FModel->RowOf(Item);
    if (Row >= 0) {
        DeleteRow(Row);
        return;
    }
    // Filtered out by the search: only the package changes.
    delete Item;
    UpdateInfo();
    Modified();
}
