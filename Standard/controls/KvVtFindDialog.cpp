#include "KvVtFindDialog.h"

#include "ui_KvVtFindDialog.h"

TFrFindDialog* FrFindDialog = nullptr;

TFrFindDialog::TFrFindDialog(QWidget* Parent) : QDialog(Parent), FUi(std::make_unique<Ui::TFrFindDialog>())
{
    FUi->setupUi(this);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    connect(FUi->BtFindNext, &QPushButton::clicked, this, [this] {
        if (FOnFind)
            FOnFind(this);
    });
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::close);
}

TFrFindDialog::~TFrFindDialog()
{
    if (FrFindDialog == this)
        FrFindDialog = nullptr;
}

QString TFrFindDialog::FindText() const
{
    return FUi->EdFind->text();
}

bool TFrFindDialog::WholeWords() const
{
    return FUi->CBWhole->isChecked();
}

bool TFrFindDialog::CaseSensitive() const
{
    return FUi->CBCase->isChecked();
}

bool TFrFindDialog::Backward() const
{
    return FUi->RbBackward->isChecked();
}
