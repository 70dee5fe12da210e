#include "KvVtMemoryLabelAddMultiLine.h"

#include "ui_KvVtMemoryLabelAddMultiLine.h"

#include "KvForms.h"

#include <QRegularExpression>

TFrMemoryLabelAddMultiLine::TFrMemoryLabelAddMultiLine(QWidget* Parent)
    : TKvKeptBoundsDialog(Parent), FUi(std::make_unique<Ui::TFrMemoryLabelAddMultiLine>())
{
    FUi->setupUi(this);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
}

TFrMemoryLabelAddMultiLine::~TFrMemoryLabelAddMultiLine() = default;

void TFrMemoryLabelAddMultiLine::SetText(const QString& Text)
{
    static const QRegularExpression LineBreak(QStringLiteral("\r\n|\n|\r"));
    FUi->EdMemo->setPlainText(Text.split(LineBreak).join(QLatin1Char('\n')));
}

QString TFrMemoryLabelAddMultiLine::Text() const
{
    return FUi->EdMemo->toPlainText().split(QLatin1Char('\n')).join(QStringLiteral("\r\n"));
}

int TFrMemoryLabelAddMultiLine::Execute()
{
    return exec() == QDialog::Accepted ? 1 : 2;
}

