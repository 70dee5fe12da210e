#include "KvVtMemoryTextAdd.h"

#include "ui_KvVtMemoryTextAdd.h"

TFrMemoryTextAdd::TFrMemoryTextAdd(QWidget* Parent)
    : TKvStringsItemDialog(TKvStringsKind::Texts, Parent), FUi(std::make_unique<Ui::TFrMemoryTextAdd>())
{
    FUi->setupUi(this);
    Bind(FUi->EdId, FUi->CbProtected);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrMemoryTextAdd::~TFrMemoryTextAdd() = default;

// The memo keeps lines apart with LF; the package stores them with CR LF, as the label's
// multi-line window does.
QString TFrMemoryTextAdd::Text() const
{
    return FUi->EdText->toPlainText().split(QLatin1Char('\n')).join(QStringLiteral("\r\n"));
}

void TFrMemoryTextAdd::SetText(const QString& Value)
{
    QString Plain = Value;
    Plain.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    FUi->EdText->setPlainText(Plain);
}
