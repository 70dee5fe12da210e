#include "KvVtOpenFiles.h"
#include "ui_KvVtOpenFiles.h"

#include "KvForms.h"

#include <QDir>
#include <QEvent>
#include <QStringListModel>

TFrOpenFiles::TFrOpenFiles(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFrOpenFiles>()), FFiles(new QStringListModel(this))
{
    ui->setupUi(this);
    ui->FileList->setModel(FFiles);
    ui->Panel1->installEventFilter(this);
    // Selection, not the current row: a list taking the focus makes its first row current
    // without selecting it, and that must not overwrite what the dialog was given.
    connect(ui->FileList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFrOpenFiles::FileSelected);
    connect(ui->FileList, &QAbstractItemView::doubleClicked, this, &QDialog::accept);
    connect(ui->BtOk, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(ui->BtCancel, &QAbstractButton::clicked, this, &QDialog::reject);
}

TFrOpenFiles::~TFrOpenFiles()
{
    if (FShown)
        KvSaveResizeInfoDesigner(this);
}

void TFrOpenFiles::SetDirectory(const QString& Path)
{
    FDirectory = Path;
    ui->Panel2->setText(QDir::toNativeSeparators(Path));
    Fill();
}

void TFrOpenFiles::SetMask(const QString& Mask)
{
    FMask = Mask.isEmpty() ? QStringLiteral("*.*") : Mask;
    Fill();
}

void TFrOpenFiles::Fill()
{
    // "*.*" means every file, also those without an extension.
    QStringList filters = FMask.split(u';', Qt::SkipEmptyParts);
    for (QString& f : filters)
        if (f.trimmed() == QLatin1String("*.*"))
            f = QStringLiteral("*");
    FFiles->setStringList(FDirectory.isEmpty()
                              ? QStringList()
                              : QDir(FDirectory).entryList(filters, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

void TFrOpenFiles::PlaceButtons()
{
    const int right = ui->Panel1->width();
    const int top = (ui->Panel1->height() - ui->BtCancel->height()) / 2;
    ui->BtCancel->move(right - 5 - ui->BtCancel->width(), top);
    ui->BtOk->move(ui->BtCancel->x() - 5 - ui->BtOk->width(), top);
}

bool TFrOpenFiles::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == ui->Panel1 && Event->type() == QEvent::Resize)
        PlaceButtons();
    return QDialog::eventFilter(Watched, Event);
}

void TFrOpenFiles::FileSelected()
{
    const QModelIndexList selected = ui->FileList->selectionModel()->selectedIndexes();
    if (!selected.isEmpty())
        FileName = QDir(FDirectory).filePath(selected.first().data().toString());
}

int TFrOpenFiles::Execute()
{
    FileName.clear();
    FShown = true;
    KvRestoreResizeInfoDesigner(this);
    PlaceButtons();
    ui->FileList->setFocus();
    return exec() == QDialog::Accepted ? 1 : 2;
}
