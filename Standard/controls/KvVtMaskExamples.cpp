#include "KvVtMaskExamples.h"

#include "KvForms.h"
#include "ui_KvVtMaskExamples.h"

#include <QEvent>

const TKvMaskExample KvMaskExamples[KvMaskExampleCount] = {
    {"String UpperCase", 3, 0, 0, "<sadwu"}, {"Telephone", 3, 0, 0, "<d;(###)###-####"},
    {"Integer", 0, 9, 0, ">"},               {"Integer Zero", 0, 9, 0, ">0"},
    {"Tax", 1, 6, 2, ">-"},                  {"Currency", 1, 19, 2, ">-."},
    {"Date", 4, 0, 0, "<dmy"},               {"Time", 4, 0, 0, "<hns"},
    {"DateTime", 4, 0, 0, "<dmyhns"},
};

TFrMaskExamples::TFrMaskExamples(QWidget* Parent) : QDialog(Parent), FUi(std::make_unique<Ui::TFrMaskExamples>())
{
    FUi->setupUi(this);
    for (const TKvMaskExample& Example : KvMaskExamples)
        FUi->LbExamples->addItem(QString::fromLatin1(Example.Name));
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(FUi->LbExamples, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    FUi->PnButtons->installEventFilter(this);
}

TFrMaskExamples::~TFrMaskExamples() = default;

int TFrMaskExamples::Execute()
{
    if (exec() != QDialog::Accepted)
        return -1;
    return FUi->LbExamples->currentItem() && FUi->LbExamples->currentItem()->isSelected() ? FUi->LbExamples->currentRow()
                                                                                          : -1;
}

bool TFrMaskExamples::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == FUi->PnButtons && Event->type() == QEvent::Resize)
        PlaceButtons();
    return QDialog::eventFilter(Watched, Event);
}

// The buttons keep to the right edge of their panel.
void TFrMaskExamples::PlaceButtons()
{
    QPushButton* Cancel = FUi->BtCancel;
    Cancel->move(FUi->PnButtons->width() - 5 - Cancel->width(), Cancel->y());
    FUi->BtOk->move(Cancel->x() - 5 - FUi->BtOk->width(), FUi->BtOk->y());
}

void TFrMaskExamples::showEvent(QShowEvent* Event)
{
    if (!FRestored) {
        FRestored = true;
        KvRestoreResizeInfoDesigner(this);
    }
    QDialog::showEvent(Event);
}

void TFrMaskExamples::hideEvent(QHideEvent* Event)
{
    KvSaveResizeInfoDesigner(this);
    QDialog::hideEvent(Event);
}
