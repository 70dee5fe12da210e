#include "KvVtMemoryMessageAdd.h"

#include "ui_KvVtMemoryMessageAdd.h"

TFrMemoryMessageAdd::TFrMemoryMessageAdd(QWidget* Parent)
    : TKvStringsItemDialog(TKvStringsKind::Messages, Parent), FUi(std::make_unique<Ui::TFrMemoryMessageAdd>())
{
    FUi->setupUi(this);
    Bind(FUi->EdId, FUi->CbProtected);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrMemoryMessageAdd::~TFrMemoryMessageAdd() = default;

// The memo keeps lines apart with LF; the package stores them with CR LF, as the label's
// multi-line window does.
QString TFrMemoryMessageAdd::Text() const
{
    return FUi->EdText->toPlainText().split(QLatin1Char('\n')).join(QStringLiteral("\r\n"));
}

void TFrMemoryMessageAdd::SetText(const QString& Value)
{
    QString Plain = Value;
    Plain.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    FUi->EdText->setPlainText(Plain);
}
