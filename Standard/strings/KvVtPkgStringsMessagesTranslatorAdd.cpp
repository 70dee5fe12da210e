#include "KvVtPkgStringsMessagesTranslatorAdd.h"
#include "ui_KvVtPkgStringsMessagesTranslatorAdd.h"

TFrPkgStringsMessagesTranslatorAdd::TFrPkgStringsMessagesTranslatorAdd(QWidget* Parent)
    : TKvTranslatorItemDialog(TKvStringsKind::Messages, Parent), FUi(std::make_unique<Ui::TFrPkgStringsMessagesTranslatorAdd>())
{
    FUi->setupUi(this);
    Bind(FUi->EdId, FUi->CbProtected);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrPkgStringsMessagesTranslatorAdd::~TFrPkgStringsMessagesTranslatorAdd() = default;

QString TFrPkgStringsMessagesTranslatorAdd::Text() const
{
    return KvMemoToText(FUi->EdText->toPlainText());
}

void TFrPkgStringsMessagesTranslatorAdd::SetText(const QString& Value)
{
    FUi->EdText->setPlainText(KvTextToMemo(Value));
}

void TFrPkgStringsMessagesTranslatorAdd::SetSource(const QString& Text, const QString&)
{
    FUi->EdSourceText->setPlainText(KvTextToMemo(Text));
}
