#include "KvVtPkgSynchronizer.h"
#include "ui_KvVtPkgSynchronizer.h"

#include "KvDialogs.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "KvPackages.h"
#include "SysUtils.h"

#include <QDir>
#include <QFileInfo>

TFrPkgSynchronizer::TFrPkgSynchronizer(QWidget* Parent) : QDialog(Parent), FUi(new Ui::TFrPkgSynchronizer)
{
    FUi->setupUi(this);
    FUi->FileList->setSortingEnabled(true);
    connect(FUi->SpeedButton1, &QToolButton::clicked, this, [this] {
        FUi->PageControl->setCurrentWidget(FUi->TS1);
        ChangeState();
    });
    connect(FUi->SpeedButton2, &QToolButton::clicked, this, [this] {
        FUi->PageControl->setCurrentWidget(FUi->TS2);
        ChangeState();
    });
    connect(FUi->SBAppend, &QToolButton::clicked, this, [this] { Move(FUi->FileList, FUi->ListBox, false); });
    connect(FUi->SBDelete, &QToolButton::clicked, this, [this] { Move(FUi->ListBox, FUi->FileList, false); });
    connect(FUi->SBAppendAll, &QToolButton::clicked, this, [this] { Move(FUi->FileList, FUi->ListBox, true); });
    connect(FUi->SBDeleteAll, &QToolButton::clicked, this, [this] { Move(FUi->ListBox, FUi->FileList, true); });
    connect(FUi->SBSearch, &QToolButton::clicked, this, &TFrPkgSynchronizer::Search);
    connect(FUi->EdPkgFileName, &QLineEdit::textChanged, this, &TFrPkgSynchronizer::ChangeState);
    connect(FUi->BtApply, &QPushButton::clicked, this, &TFrPkgSynchronizer::Synchronize);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrPkgSynchronizer::~TFrPkgSynchronizer()
{
    KvSaveResizeInfoDesigner(this);
}

void TFrPkgSynchronizer::showEvent(QShowEvent* Event)
{
    KvRestoreResizeInfoDesigner(this);
    QDialog::showEvent(Event);
}

void TFrPkgSynchronizer::Prepare()
{
    sFilter.clear();
    sExt.clear();
    FUi->CBSyncSystem->hide();
    FUi->CBSyncUser->hide();
    FUi->CBSyncSets->hide();
    const QString fileName = Pkg->FileName().isEmpty() ? QStringLiteral("Unknown") : Pkg->FileName();
    QString secondName = Pkg->PkgName().isEmpty() ? QStringLiteral("Unknown") : Pkg->PkgName();
    QString noun;
    switch (KvSyncKindOf(Pkg)) {
    case TKvSyncKind::Images:
        noun = QStringLiteral("Package Images");
        break;
    case TKvSyncKind::Strings:
        noun = QStringLiteral("Package Strings");
        break;
    case TKvSyncKind::Display:
        noun = QStringLiteral("Package Display");
        secondName = QStringLiteral("DISPLAY");
        FUi->CBSyncSystem->show();
        FUi->CBSyncUser->show();
        FUi->CBSyncSets->show();
        break;
    case TKvSyncKind::Language:
        noun = QStringLiteral("Package Language");
        secondName = QStringLiteral("LANGUAGE");
        FUi->CBSyncSystem->show();
        FUi->CBSyncUser->show();
        break;
    case TKvSyncKind::None:
        break;
    }
    sExt = KvSyncExt(Pkg);
    const QString mask = QLatin1Char('*') + sExt;
    sFilter = QStringLiteral("%1 (%2)|%2").arg(noun, mask);
    FUi->LabFileMaster->setText(QStringLiteral("%1 ( PkgName: %2 )").arg(fileName, secondName));
    FUi->LabPathApp->setText(KvAppPath());
    FUi->FileList->clear();
    FUi->ListBox->clear();
    const QDir dir(KvAppPath());
    // The master never synchronizes with itself.
    const QString own = Pkg->FileName().isEmpty() ? QString() : QFileInfo(Pkg->FileName()).completeBaseName() + sExt;
    for (const QString& name : dir.entryList({mask}, QDir::Files, QDir::Name))
        if (own.isEmpty() || name.compare(own, Qt::CaseInsensitive) != 0)
            FUi->FileList->addItem(name);
    ChangeState();
}

bool TFrPkgSynchronizer::Execute()
{
    Prepare();
    return exec() == QDialog::Accepted;
}

// From: a name of the kind's extension (case included) of a file that exists. To: some target.
void TFrPkgSynchronizer::ChangeState()
{
    if (FUi->SpeedButton1->isChecked()) {
        const QString name = FUi->EdPkgFileName->text().trimmed();
        const QFileInfo info(name);
        FUi->BtApply->setEnabled(!name.isEmpty() && !sExt.isEmpty() && name.endsWith(sExt, Qt::CaseSensitive)
                                 && info.exists() && info.isFile());
    } else {
        FUi->BtApply->setEnabled(FUi->ListBox->count() > 0);
    }
}

// The selection of the source list stays at the same index, or on its last item.
void TFrPkgSynchronizer::Move(QListWidget* From, QListWidget* To, bool All)
{
    if (All) {
        while (From->count() > 0)
            To->addItem(From->takeItem(0));
    } else if (From->currentRow() >= 0) {
        const int row = From->currentRow();
        To->addItem(From->takeItem(row));
        if (From->count() > 0)
            From->setCurrentRow(std::min(row, From->count() - 1));
    }
    To->sortItems();
    ChangeState();
}

void TFrPkgSynchronizer::Search()
{
    TKvFileDialogRequest request;
    request.Filter = sFilter;
    request.InitialDir = KvAppPath();
    request.FileMustExist = true;
    request.Parent = this;
    if (KvFileDialog(request))
        FUi->EdPkgFileName->setText(request.FileName);
}

TKvSyncOptions TFrPkgSynchronizer::Options() const
{
    TKvSyncOptions o;
    o.AddItems = FUi->CBAddItems->isChecked();
    o.DeleteItems = FUi->CBDeleteItems->isChecked();
    o.SyncSystem = FUi->CBSyncSystem->isChecked();
    o.SyncUser = FUi->CBSyncUser->isChecked();
    o.SyncSets = FUi->CBSyncSets->isChecked();
    return o;
}

bool TFrPkgSynchronizer::Synchronize()
{
    QProgressBar* bar = FUi->ProgressBar;
    const TKvSyncStart start = [bar](int Maximum) {
        bar->setRange(0, std::max(1, Maximum));
        bar->setValue(0);
    };
    const TKvSyncStep step = [bar] { bar->setValue(std::min(bar->maximum(), bar->value() + 1)); };
    bool ok = true;
    if (FUi->SpeedButton1->isChecked()) {
        try {
            KvSynchronizeFrom(Pkg, FUi->EdPkgFileName->text().trimmed(), Options(), start, step);
        } catch (const Exception&) {
            ok = false;
        }
    } else {
        QStringList files;
        for (int i = 0; i < FUi->ListBox->count(); ++i)
            files << QDir(KvAppPath()).filePath(FUi->ListBox->item(i)->text());
        const auto row = [this](const QString& File) {
            const QString name = QFileInfo(File).fileName();
            for (int i = 0; i < FUi->ListBox->count(); ++i)
                if (FUi->ListBox->item(i)->text() == name)
                    return i;
            return -1;
        };
        const auto done = [this, row](const QString& File) {
            if (const int i = row(File); i >= 0)
                FUi->FileList->addItem(FUi->ListBox->takeItem(i));
        };
        // The file being merged is shown selected.
        const auto begin = [this, row](const QString& File) {
            FUi->ListBox->setCurrentRow(row(File));
            FUi->ListBox->repaint();
        };
        const QList<TKvSyncFailure> failures = KvSynchronizeTo(Pkg, files, Options(), start, step, done, begin);
        FUi->FileList->sortItems();
        ok = failures.isEmpty();
    }
    bar->setValue(0);
    ChangeState();
    if (!ok)
        KvMsgPkg(KvMsgError, QStringLiteral("System"), 66, {KvBtnAccept}, KvBtnAccept);
    return ok;
}

// Ok runs what Apply would and closes only when that succeeds.
void TFrPkgSynchronizer::done(int Result)
{
    if (Result == QDialog::Accepted && FUi->BtApply->isEnabled() && !Synchronize())
        return;
    QDialog::done(Result);
}

bool KvShowSynchronizer(QWidget* Parent, TKvPkgInfo* Pkg)
{
    TFrPkgSynchronizer window(Parent);
    window.Pkg = Pkg;
    return window.Execute();
}
