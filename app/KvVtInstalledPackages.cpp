#include "KvVtInstalledPackages.h"
#include "ui_KvVtInstalledPackages.h"

#include <QHeaderView>

namespace {

enum { DescriptionRole = Qt::UserRole + 1 };

} // namespace

TFrInstalledPackages::TFrInstalledPackages(QWidget* Parent)
    : QDialog(Parent), ui(std::make_unique<Ui::TFrInstalledPackages>())
{
    ui->setupUi(this);
    ui->TvPackages->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    ui->TvPackages->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    ui->TvPackages->header()->setStretchLastSection(false);
    connect(ui->TvPackages, &QTreeWidget::currentItemChanged, this, &TFrInstalledPackages::ShowDescription);
    connect(ui->BtClose, &QPushButton::clicked, this, &QDialog::accept);
}

TFrInstalledPackages::~TFrInstalledPackages() = default;

void TFrInstalledPackages::SetPackages(const QList<TKvInstalledPackage>& Packages)
{
    ui->TvPackages->clear();
    for (const TKvInstalledPackage& Package : Packages) {
        int Total = 0;
        for (const TKvPalettePageInfo& Page : Package.Pages)
            Total += int(Page.Classes.size());
        auto* Top = new QTreeWidgetItem(ui->TvPackages, {Package.Name, QString::number(Total)});
        QFont Bold = Top->font(0);
        Bold.setBold(true);
        Top->setFont(0, Bold);
        Top->setData(0, DescriptionRole, Package.Description);
        Top->setToolTip(0, Package.Description);
        for (const TKvPalettePageInfo& Page : Package.Pages) {
            auto* Row = new QTreeWidgetItem(Top, {Page.Name, QString::number(Page.Classes.size())});
            Row->setData(0, DescriptionRole, Package.Description);
            for (const QMetaObject* Class : Page.Classes)
                new QTreeWidgetItem(Row, {QString::fromLatin1(Class->className())});
        }
        Top->setExpanded(true);
    }
    for (int I = 0; I < ui->TvPackages->columnCount(); ++I)
        ui->TvPackages->headerItem()->setTextAlignment(I, I == 1 ? Qt::AlignRight : Qt::AlignLeft);
    ui->TvPackages->setCurrentItem(ui->TvPackages->topLevelItem(0));
    ShowDescription();
}

// The description of the package the selected row belongs to.
void TFrInstalledPackages::ShowDescription()
{
    QTreeWidgetItem* Item = ui->TvPackages->currentItem();
    while (Item && Item->parent())
        Item = Item->parent();
    ui->LaDescription->setText(Item ? Item->text(0) + QStringLiteral(": ") + Item->data(0, DescriptionRole).toString()
                                    : QString());
}
