#include "KvVtMultiLine.h"

#include "ui_KvVtMultiLine.h"

#include "KvForms.h"

#include <QRegularExpression>

TFrMultiLine::TFrMultiLine(QWidget* Parent) : QDialog(Parent), FUi(std::make_unique<Ui::TFrMultiLine>())
{
    FUi->setupUi(this);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
}

TFrMultiLine::~TFrMultiLine() = default;

QString TFrMultiLine::Execute(const QString& Caption, const QString& Text)
{
    static const QRegularExpression LineBreak(QStringLiteral("\r\n|\n|\r"));
    setWindowTitle(Caption);
    FUi->EdMemo->setPlainText(Text.split(LineBreak).join(u'\n'));
    FUi->EdMemo->document()->setModified(false);
    FUi->EdMemo->setReadOnly(ReadOnly);
    FUi->EdMemo->setFocus();
    exec();
    // Unedited, the text keeps its own line breaks.
    if (!FUi->EdMemo->document()->isModified())
        return Text;
    return FUi->EdMemo->toPlainText().split(u'\n').join(QStringLiteral("\r\n"));
}

void TFrMultiLine::showEvent(QShowEvent* Event)
{
    if (!FRestored) {
        FRestored = true;
        KvRestoreResizeInfoDesigner(this);
    }
    QDialog::showEvent(Event);
}

void TFrMultiLine::hideEvent(QHideEvent* Event)
{
    KvSaveResizeInfoDesigner(this);
    QDialog::hideEvent(Event);
}
