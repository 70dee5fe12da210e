#include "KvVtPrivilegesAdd.h"
#include "ui_KvVtPrivilegesAdd.h"

#include "KvMessages.h"
#include "KvPkgPrivileges.h"
#include "KvReferences.h"
#include "strings/KvStringsItemDialog.h"
#include "strings/KvVtMemoryLabel.h"
#include "vars/KvPrivilegesList.h"

TFrPrivilegesAdd::TFrPrivilegesAdd(QWidget* Parent)
    : QDialog(Parent), FUi(std::make_unique<Ui::TFrPrivilegesAdd>()), FMemoryLabel(std::make_unique<TKvMemoryLabel>())
{
    FUi->setupUi(this);
    KvSetupIdBox(FUi->EdId);
    FUi->EdAccess->addItems(KvAccessNames());
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(FUi->BtDescriptionId, &QToolButton::clicked, this, &TFrPrivilegesAdd::PickLabel);
}

TFrPrivilegesAdd::~TFrPrivilegesAdd() = default;

void TFrPrivilegesAdd::SetValues(int Id, const QString& Description, int Access, bool Visible)
{
    FUi->EdId->setText(QString::number(Id));
    FUi->EdDescription->setText(Description);
    FUi->EdAccess->setCurrentIndex(Access);
    FUi->CbVisible->setChecked(Visible);
}

void TFrPrivilegesAdd::SetLabel(const QString& PkgName, int Id)
{
    FMemoryLabel->PkgId(PkgName, Id);
}

QString TFrPrivilegesAdd::IdText() const
{
    return FUi->EdId->text();
}

int TFrPrivilegesAdd::Execute()
{
    FIdOld = FUi->EdId->text();
    UpdateReference();
    return exec() == QDialog::Accepted ? 1 : 2;
}

void TFrPrivilegesAdd::UpdateReference()
{
    const int Id = FMemoryLabel->Id();
    if (Id >= 0) {
        FUi->LaReference->setText(QStringLiteral("(%1,%2)").arg(Id).arg(FMemoryLabel->PkgName()));
        FUi->EdDescriptionId->setText(FMemoryLabel->Text());
    } else {
        FUi->LaReference->setText(QStringLiteral("(None)"));
        FUi->EdDescriptionId->clear();
    }
    FUi->EdDescription->setEnabled(Id < 0);
}

void TFrPrivilegesAdd::PickLabel()
{
    TFrMemoryLabel Picker(this);
    Picker.FMemoryLabel = FMemoryLabel.get();
    if (Picker.Execute() == 1)
        UpdateReference();
}

void TFrPrivilegesAdd::done(int Result)
{
    if (Result == QDialog::Accepted) {
        try {
            KvStorePrivilege(PkgPrivileges, FModify, FIdOld, FUi->EdId->text(), FUi->EdDescription->text(),
                             FMemoryLabel->PkgName(), FMemoryLabel->Id(), FUi->EdAccess->currentIndex(),
                             FUi->CbVisible->isChecked());
        } catch (const Exception& E) {
            KvMessage(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
            return;
        }
    }
    QDialog::done(Result);
}
