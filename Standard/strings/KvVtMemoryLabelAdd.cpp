#include "KvVtMemoryLabelAdd.h"

#include "KvVtMemoryLabelAddMultiLine.h"
#include "ui_KvVtMemoryLabelAdd.h"

TFrMemoryLabelAdd::TFrMemoryLabelAdd(QWidget* Parent)
    : TKvStringsItemDialog(TKvStringsKind::Labels, Parent), FUi(std::make_unique<Ui::TFrMemoryLabelAdd>())
{
    FUi->setupUi(this);
    Bind(FUi->EdId, FUi->CbProtected);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(FUi->BtMultiLine, &QToolButton::clicked, this, &TFrMemoryLabelAdd::EditMultiLine);
}

TFrMemoryLabelAdd::~TFrMemoryLabelAdd() = default;

QString TFrMemoryLabelAdd::Text() const { return FUi->EdLabel->text(); }
void TFrMemoryLabelAdd::SetText(const QString& Value) { FUi->EdLabel->setText(Value); }
QString TFrMemoryLabelAdd::Hint() const { return FUi->EdHint->toPlainText(); }
void TFrMemoryLabelAdd::SetHint(const QString& Value) { FUi->EdHint->setPlainText(Value); }

void TFrMemoryLabelAdd::Prepare()
{
    FUi->BtMultiLine->setToolTip(QStringLiteral("Edición Multilinea"));
}

void TFrMemoryLabelAdd::EditMultiLine()
{
    TFrMemoryLabelAddMultiLine Window(this);
    Window.SetText(Text());
    Window.Execute();
    SetText(Window.Text());
}
