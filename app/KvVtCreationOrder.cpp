#include "KvVtCreationOrder.h"
#include "ui_KvVtCreationOrder.h"

#include "KvOrderList.h"

TFrKvCreationOrder::TFrKvCreationOrder(QWidget* Parent) : QDialog(Parent), ui(std::make_unique<Ui::TFrKvCreationOrder>())
{
    ui->setupUi(this);
    connect(ui->BtUp, &QPushButton::clicked, this, [this] { KvOrderList::MoveCurrent(ui->LsItems, -1); });
    connect(ui->BtDown, &QPushButton::clicked, this, [this] { KvOrderList::MoveCurrent(ui->LsItems, 1); });
    connect(ui->BbButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->BbButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TFrKvCreationOrder::~TFrKvCreationOrder() = default;

void TFrKvCreationOrder::SetItems(const QStringList& Names, const QStringList& Classes)
{
    KvOrderList::Fill(ui->LsItems, Names, Classes);
}

QStringList TFrKvCreationOrder::Names() const
{
    return KvOrderList::Names(ui->LsItems);
}
