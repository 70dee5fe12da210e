#include "KvVtPrivilege.h"
#include "ui_KvVtPrivilege.h"

#include "KvForms.h"
#include "KvReferences.h"

TFrPrivilege::TFrPrivilege(QWidget* Parent) : TKvPrivilegesWindow(Parent), FUi(std::make_unique<Ui::TFrPrivilege>())
{
    FUi->setupUi(this);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    Bind({FUi->EdSearch, FUi->EdId, FUi->List, FUi->LaStatus, FUi->BtAdd, FUi->BtModify, FUi->BtDelete,
          FUi->BtManager});
    FUi->BtOk->setDefault(true);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(FUi->BtNull, &QPushButton::clicked, this, [this] {
        FUi->EdId->setText(QStringLiteral("-1"));
        accept();
    });
}

TFrPrivilege::~TFrPrivilege() = default;

int TFrPrivilege::Execute()
{
    FUi->EdId->setText(QString::number(Privilege ? Privilege->Id() : -1));
    FUi->List->CheckItemHeight();
    FillList();
    ChangeState();
    UpdateInfo();
    FUi->EdSearch->setFocus();
    FUi->EdSearch->selectAll();
    if (!KvRestoreResizeInfoDesigner(this))
        KvCenterWindow(this, false);
    const bool Confirmed = exec() == QDialog::Accepted;
    KvSaveResizeInfoDesigner(this);
    if (!Confirmed)
        return 2;
    bool Ok = false;
    const int Id = FChosen.toInt(&Ok);
    if (Privilege)
        Privilege->SetId(Ok ? Id : -1);
    return 1;
}

void TFrPrivilege::done(int Result)
{
    if (Result == QDialog::Accepted)
        FChosen = FUi->EdId->text();
    TKvPrivilegesWindow::done(Result);
}

void TFrPrivilege::RowDoubleClicked()
{
    if (C.List->CurrentRow() >= 0)
        accept();
}
