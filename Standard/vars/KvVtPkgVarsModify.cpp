#include "KvVtPkgVarsModify.h"
#include "ui_KvVtPkgVarsModify.h"

#include "KvMessages.h"
#include "vars/KvPkgVarsModel.h"

TFrPkgVarsModify::TFrPkgVarsModify(QWidget* Parent) : QDialog(Parent), FUi(std::make_unique<Ui::TFrPkgVarsModify>())
{
    FUi->setupUi(this);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrPkgVarsModify::~TFrPkgVarsModify() = default;

int TFrPkgVarsModify::Execute()
{
    if (!FItem)
        return 2;
    FUi->EdName->setText(FItem->Ident());
    FUi->EdValue->setText(FItem->ValueText(FSeparator));
    FUi->LaValue->setText(QStringLiteral("&Value Information (") + KvPkgVarsTypeName(FItem->GetItemType()) +
                          QStringLiteral("):"));
    FUi->EdValue->selectAll();
    FUi->EdValue->setFocus();
    return exec() == QDialog::Accepted ? 1 : 2;
}

void TFrPkgVarsModify::done(int Result)
{
    if (Result == QDialog::Accepted && FItem) {
        // The item keeps its value when the text does not convert.
        try {
            FItem->SetValueText(FUi->EdValue->text(), FSeparator);
        } catch (const Exception&) {
            KvMessage(KvMsgError, QStringLiteral("Incorrect Format"), {KvBtnAccept}, KvBtnAccept);
            FUi->EdValue->setFocus();
            return;
        }
    }
    QDialog::done(Result);
}
