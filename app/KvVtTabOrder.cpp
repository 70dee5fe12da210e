#include "KvVtTabOrder.h"
#include "ui_KvVtTabOrder.h"

#include "KvOrderList.h"

TFrKvTabOrder::TFrKvTabOrder(QWidget* Parent) : QDialog(Parent), ui(std::make_unique<Ui::TFrKvTabOrder>())
{
    ui->setupUi(this);
    connect(ui->BtUp, &QPushButton::clicked, this, [this] { KvOrderList::MoveCurrent(ui->LsItems, -1); });
    connect(ui->BtDown, &QPushButton::clicked, this, [this] { KvOrderList::MoveCurrent(ui->LsItems, 1); });
    connect(ui->BbButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->BbButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TFrKvTabOrder::~TFrKvTabOrder() = default;

void TFrKvTabOrder::SetItems(const QStringList& Names, const QStringList& Classes)
{
    KvOrderList::Fill(ui->LsItems, Names, Classes);
}

QStringList TFrKvTabOrder::Names() const
{
    return KvOrderList::Names(ui->LsItems);
}
