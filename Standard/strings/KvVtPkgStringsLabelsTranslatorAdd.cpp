#include "KvVtPkgStringsLabelsTranslatorAdd.h"
#include "ui_KvVtPkgStringsLabelsTranslatorAdd.h"

TFrPkgStringsLabelsTranslatorAdd::TFrPkgStringsLabelsTranslatorAdd(QWidget* Parent)
    : TKvTranslatorItemDialog(TKvStringsKind::Labels, Parent), FUi(std::make_unique<Ui::TFrPkgStringsLabelsTranslatorAdd>())
{
    FUi->setupUi(this);
    Bind(FUi->EdId, FUi->CbProtected);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrPkgStringsLabelsTranslatorAdd::~TFrPkgStringsLabelsTranslatorAdd() = default;

QString TFrPkgStringsLabelsTranslatorAdd::Text() const
{
    return FUi->EdText->text();
}

void TFrPkgStringsLabelsTranslatorAdd::SetText(const QString& Value)
{
    FUi->EdText->setText(Value);
}

QString TFrPkgStringsLabelsTranslatorAdd::Hint() const
{
    return KvMemoToText(FUi->EdHint->toPlainText());
}

void TFrPkgStringsLabelsTranslatorAdd::SetHint(const QString& Value)
{
    FUi->EdHint->setPlainText(KvTextToMemo(Value));
}

void TFrPkgStringsLabelsTranslatorAdd::SetSource(const QString& Text, const QString& Hint)
{
    FUi->EdSourceText->setText(Text);
    FUi->EdSourceHint->setPlainText(KvTextToMemo(Hint));
}
