#include "controls/KvVtCollectionFind.h"

#include "ui_KvVtCollectionFind.h"

#include <QApplication>

TFrCollectionFind::TFrCollectionFind(QWidget* Parent) : QDialog(Parent), ui(std::make_unique<Ui::TFrCollectionFind>())
{
    ui->setupUi(this);
    connect(ui->BtFindNext, &QPushButton::clicked, this, &TFrCollectionFind::FindNext);
    connect(ui->BtCancel, &QPushButton::clicked, this, &QDialog::close);
    connect(ui->EdFind, &QLineEdit::textChanged, this,
            [this](const QString& Text) { ui->BtFindNext->setEnabled(!Text.isEmpty()); });
    ui->BtFindNext->setEnabled(false);
}

TFrCollectionFind::~TFrCollectionFind() = default;

bool TFrCollectionFind::FindNext()
{
    const QString Text = ui->EdFind->text();
    if (Text.isEmpty() || !OnFind)
        return false;
    const bool Found =
        OnFind(Text, ui->RbDown->isChecked(), ui->CbMatchCase->isChecked(), ui->CbWholeWord->isChecked());
    if (!Found)
        QApplication::beep();
    return Found;
}
