#include "KvVtManagerPkgs.h"
#include "ui_KvVtManagerPkgs.h"

TFrManagerPkgs::TFrManagerPkgs(QWidget* Parent) : QDialog(Parent), FUi(new Ui::TFrManagerPkgs)
{
    FUi->setupUi(this);
    // Only a close box.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrManagerPkgs::~TFrManagerPkgs() = default;

void TFrManagerPkgs::SetPackages(const QStringList& Names)
{
    FUi->LBPkgs->clear();
    for (const QString& name : Names) {
        auto* item = new QListWidgetItem(name, FUi->LBPkgs);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(name.compare(QLatin1String("System"), Qt::CaseInsensitive) == 0 ? Qt::Unchecked
                                                                                            : Qt::Checked);
    }
}

QStringList TFrManagerPkgs::Checked() const
{
    QStringList names;
    for (int i = 0; i < FUi->LBPkgs->count(); ++i)
        if (FUi->LBPkgs->item(i)->checkState() == Qt::Checked)
            names << FUi->LBPkgs->item(i)->text();
    return names;
}

// Cancel 5 pixels from the panel's right edge, OK 5 pixels left of it.
void TFrManagerPkgs::resizeEvent(QResizeEvent* Event)
{
    QDialog::resizeEvent(Event);
    QWidget* panel = FUi->PnBottom;
    FUi->BtCancel->move(panel->width() - 5 - FUi->BtCancel->width(), FUi->BtCancel->y());
    FUi->BtOk->move(FUi->BtCancel->x() - 5 - FUi->BtOk->width(), FUi->BtOk->y());
}
