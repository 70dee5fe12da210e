#include "KvVtPkgStringsTextsTranslatorAdd.h"
#include "ui_KvVtPkgStringsTextsTranslatorAdd.h"

TFrPkgStringsTextsTranslatorAdd::TFrPkgStringsTextsTranslatorAdd(QWidget* Parent)
    : TKvTranslatorItemDialog(TKvStringsKind::Texts, Parent), FUi(std::make_unique<Ui::TFrPkgStringsTextsTranslatorAdd>())
{
    FUi->setupUi(this);
    Bind(FUi->EdId, FUi->CbProtected);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrPkgStringsTextsTranslatorAdd::~TFrPkgStringsTextsTranslatorAdd() = default;

QString TFrPkgStringsTextsTranslatorAdd::Text() const
{
    return KvMemoToText(FUi->EdText->toPlainText());
}

void TFrPkgStringsTextsTranslatorAdd::SetText(const QString& Value)
{
    FUi->EdText->setPlainText(KvTextToMemo(Value));
}

void TFrPkgStringsTextsTranslatorAdd::SetSource(const QString& Text, const QString&)
{
    FUi->EdSourceText->setPlainText(KvTextToMemo(Text));
}
