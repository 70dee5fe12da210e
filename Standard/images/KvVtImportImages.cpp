#include "KvVtImportImages.h"
#include "ui_KvVtImportDlg.h"
#include "ui_KvVtImportImages.h"

#include "KvDialogs.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "KvPkgImages.h"
#include "KvUtils.h"
#include "common/KvPkgDialogs.h"
#include "manager/KvVtPkgLoadSave.h"
#include "strings/KvStringsItemDialog.h"

#include <QFileInfo>
#include <QMenu>

namespace {

constexpr int SearchLimit = 1000000;

QString& LastFile()
{
    static QString Name;
    return Name;
}

} // namespace

int KvImportNextFreeId(const TKvPkgImages* Pkg, int N)
{
    if (N + 1 > SearchLimit)
        return N + 1;
    for (int Id = N + 1; Id <= SearchLimit; ++Id)
        if (!Pkg->Images()->FindId(Id))
            return Id;
    return SearchLimit + 1;
}

QList<int> KvImportImages(TKvPkgImages* Target, const QList<const TKvPkgImagesImage*>& Images, int StartId)
{
    QList<int> Ids;
    int Id = Target->Images()->FindId(StartId) ? KvImportNextFreeId(Target, StartId) : StartId;
    TKvScreenUpdate Busy;
    for (const TKvPkgImagesImage* Source : Images) {
        Target->Images()->Add(Id)->Assign(*Source);
        Ids << Id;
        Id = KvImportNextFreeId(Target, Id);
    }
    return Ids;
}

// ---------------------------------------------------------------------------------------------

TFrImportDlg::TFrImportDlg(QWidget* Parent) : QDialog(Parent), FUi(new Ui::TFrImportDlg)
{
    FUi->setupUi(this);
    KvSetupIdBox(FUi->EdId);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrImportDlg::~TFrImportDlg() = default;

// ---------------------------------------------------------------------------------------------

QString TFrImportImages::LastFileName() { return LastFile(); }
void TFrImportImages::SetLastFileName(const QString& Value) { LastFile() = Value; }

TFrImportImages::TFrImportImages(QWidget* Parent)
    : TKvKeptBoundsDialog(Parent), PkgImages(new TKvPkgImages), FUi(new Ui::TFrImportImages), FModel(new TKvImagesModel(this))
{
    FUi->setupUi(this);
    PkgImages->setParent(this);
    FMenu = new TKvImagesMenu(this, TKvImagesMenu::ViewOnly);
    FUi->Images->setModel(FModel);
    FUi->Images->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FUi->PnButtons->installEventFilter(this);
    connect(FMenu, &TKvImagesMenu::ViewChanged, this, [this] { FMenu->ApplyTo(FUi->Images); });
    connect(FUi->Images, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& At) { FMenu->Menu()->popup(FUi->Images->viewport()->mapToGlobal(At)); });
    connect(FUi->BtLoad, &QPushButton::clicked, this, &TFrImportImages::LoadClick);
    connect(FUi->BtLoadFrom, &QPushButton::clicked, this, &TFrImportImages::LoadFromClick);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrImportImages::~TFrImportImages() = default;

int TFrImportImages::Execute()
{
    const QString Last = LastFile();
    // A remembered file that has gone is forgotten without a word.
    if (!Last.isEmpty() && QFileInfo::exists(Last)) {
        try {
            PkgImages->LoadFromFile(Last);
            FUi->Label7->setText(Last);
        } catch (const Exception& E) {
            KvShowError(E);
        }
    }
    LoadList();
    AdjustComponents();
    const int Result = exec() == QDialog::Accepted ? 1 : 2;
    LastFile() = FUi->Label7->text();
    return Result;
}

void TFrImportImages::LoadList()
{
    FModel->Fill(PkgImages);
    FUi->LaStatus->setText(KvImagesStatus(PkgImages));
}

void TFrImportImages::LoadClick()
{
    TFrPkgLoadSave Dialog(this);
    Dialog.Pkg = PkgImages;
    Dialog.ModeLoadSave = true;
    Dialog.OnlyDescription = true;
    if (Dialog.Execute() != 1)
        return;
    LoadList();
    // The case is kept: on this system it is part of the name.
    FUi->Label7->setText(Dialog.FileNameLoad);
}

void TFrImportImages::LoadFromClick()
{
    TKvFileDialogRequest Request;
    Request.Title = QStringLiteral("Load From");
    Request.Filter = KvImagesFileFilter(PkgImages);
    Request.DefaultExt = PkgImages->DefaultExt();
    Request.FileMustExist = true;
    Request.Parent = this;
    if (!KvFileDialog(Request))
        return;
    try {
        PkgImages->LoadFromFile(Request.FileName);
    } catch (const Exception& E) {
        KvShowError(E);
        return;
    }
    LoadList();
    FUi->Label7->setText(Request.FileName);
}

bool TFrImportImages::Import()
{
    const QList<int> Rows = FUi->Images->SelectedRows();
    if (Rows.isEmpty() || !PkgAssign)
        return true;
    TFrImportDlg Ask(this);
    Ask.ui()->EdId->setText(QString::number(PkgAssign->Images()->UniqueId()));
    for (;;) {
        if (Ask.exec() != QDialog::Accepted)
            return false;
        try {
            const int Start = KvStrToId(Ask.ui()->EdId->text());
            QList<const TKvPkgImagesImage*> Chosen;
            for (int Row : Rows)
                Chosen << FModel->Item(Row);
            KvImportImages(PkgAssign, Chosen, Start);
            return true;
        } catch (const Exception& E) {
            KvShowError(E);
        }
    }
}

void TFrImportImages::done(int Result)
{
    // Backing out of the start id keeps the window open with its selection.
    if (Result == QDialog::Accepted && !Import())
        return;
    QDialog::done(Result);
}

void TFrImportImages::AdjustComponents()
{
    // Stacked from the bottom: a sixth of a button's height within a group, a half between.
    QWidget* Panel = FUi->PnButtons;
    const int H = FUi->BtOk->sizeHint().height();
    const int W = Panel->width() - 4;
    int Y = Panel->height() - H / 6;
    for (QPushButton* Button : {FUi->BtCancel, FUi->BtOk}) {
        Y -= H;
        Button->setGeometry(2, Y, W, H);
        Y -= H / 6;
    }
    Y -= H / 2 - H / 6;
    for (QPushButton* Button : {FUi->BtLoadFrom, FUi->BtLoad}) {
        Y -= H;
        Button->setGeometry(2, Y, W, H);
        Y -= H / 6;
    }
}

bool TFrImportImages::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == FUi->PnButtons && Event->type() == QEvent::Resize)
        AdjustComponents();
    return QDialog::eventFilter(Watched, Event);
}
