#include "KvVtManagerRepl.h"
#include "ui_KvVtManagerRepl.h"

TFrManagerRepl::TFrManagerRepl(QWidget* Parent) : QDialog(Parent), FUi(new Ui::TFrManagerRepl)
{
    FUi->setupUi(this);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrManagerRepl::~TFrManagerRepl() = default;

void TFrManagerRepl::Prepare(bool WithPackage, const QStringList& Packages, const QString& PkgName,
                             const QString& Value)
{
    QStringList sorted = Packages;
    sorted.sort(Qt::CaseInsensitive);
    FUi->EdPkg->addItems(sorted);
    FUi->EdPkg->setEditText(PkgName);
    FUi->EdId->setText(Value);
    if (!WithPackage) {
        FUi->Label1->hide();
        FUi->EdPkg->hide();
        FUi->Label2->move(FUi->Label1->pos());
        FUi->EdId->move(FUi->EdPkg->pos());
        const int top = FUi->EdId->geometry().bottom() + 1 + 7;
        FUi->BtOk->move(FUi->BtOk->x(), top);
        FUi->BtCancel->move(FUi->BtCancel->x(), top);
        resize(width(), FUi->BtOk->geometry().bottom() + 1 + 7);
    }
    FUi->EdId->setFocus();
    FUi->EdId->selectAll();
}

QString TFrManagerRepl::PkgName() const
{
    return FUi->EdPkg->currentText().trimmed();
}

QString TFrManagerRepl::Value() const
{
    return FUi->EdId->text().trimmed();
}
