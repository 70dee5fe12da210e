#include "KvVtPkgLoadSave.h"
#include "ui_KvVtPkgLoadSave.h"

#include "KvApplication.h"
#include "KvDialogs.h"
#include "KvMessages.h"
#include "KvPkgImages.h"

#include <QDir>
#include <QFileInfo>
#include <QStringListModel>

#include <algorithm>

QPointer<TFrPkgLoadSave> FrPkgLoadSave;

namespace {

template <class T>
bool IsKind(const TKvPkgInfo* Pkg)
{
    return Pkg && Pkg->metaObject()->inherits(&T::staticMetaObject);
}

bool IsDisplayOrLanguage(const TKvPkgInfo* Pkg)
{
    return IsKind<TKvPkgDisplay>(Pkg) || IsKind<TKvPkgLanguage>(Pkg);
}

QString WithBar(QString Path)
{
    Path = QDir::toNativeSeparators(QDir::cleanPath(Path));
    if (!Path.endsWith(QDir::separator()))
        Path += QDir::separator();
    return Path;
}

} // namespace

QString KvPkgLoadSaveTitle(const TKvPkgInfo* Pkg, bool Load)
{
    QString kind;
    // A language package is no strings package, but test the specific kinds first anyway.
    if (IsKind<TKvPkgImages>(Pkg))
        kind = QStringLiteral("PkgImages");
    else if (IsKind<TKvPkgStrings>(Pkg))
        kind = QStringLiteral("PkgStrings");
    else if (IsKind<TKvPkgVars>(Pkg))
        kind = QStringLiteral("PkgVars");
    else if (IsKind<TKvPkgDisplay>(Pkg))
        kind = QStringLiteral("Display");
    else if (IsKind<TKvPkgLanguage>(Pkg))
        kind = QStringLiteral("Language");
    else if (IsKind<TKvPkgSetup>(Pkg))
        kind = QStringLiteral("Setup");
    else if (IsKind<TKvPkgPrivileges>(Pkg))
        kind = QStringLiteral("Access");
    else
        return QString();
    return (Load ? QStringLiteral("Load ") : QStringLiteral("Save ")) + kind;
}

QString KvPkgReadFileDescription(const TKvPkgInfo* Pkg, const QString& FileName)
{
    if (IsKind<TKvPkgImages>(Pkg))
        return KvReadPkgImagesDescription(FileName);
    if (IsKind<TKvPkgStrings>(Pkg))
        return KvReadPkgStringsDescription(FileName);
    if (IsKind<TKvPkgVars>(Pkg))
        return KvReadPkgVarsDescription(FileName);
    if (IsKind<TKvPkgDisplay>(Pkg))
        return KvReadPkgDisplayDescription(FileName);
    if (IsKind<TKvPkgLanguage>(Pkg))
        return KvReadPkgLanguageDescription(FileName);
    if (IsKind<TKvPkgSetup>(Pkg))
        return KvReadPkgSetupDescription(FileName);
    if (IsKind<TKvPkgPrivileges>(Pkg))
        return KvReadPkgAccessDescription(FileName);
    return QString();
}

QString KvPkgLoadSaveKeyFilter(const TKvPkgInfo* Pkg)
{
    if (IsKind<TKvPkgDisplay>(Pkg))
        return QStringLiteral("Display Files (*.dis)|*.dis|All Files (*.*)|*.*");
    if (IsKind<TKvPkgLanguage>(Pkg))
        return QStringLiteral("Language Files (*.lan)|*.lan|All Files (*.*)|*.*");
    return QString();
}

QString KvPkgKeyFileName(const QString& Chosen, const QString& InstallPath)
{
    const QFileInfo info(Chosen);
    if (!InstallPath.isEmpty()
        && WithBar(info.absolutePath()).compare(WithBar(InstallPath), Qt::CaseInsensitive) == 0)
        return info.fileName();
    return Chosen;
}

TFrPkgLoadSave::TFrPkgLoadSave(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFrPkgLoadSave>()), FFiles(new QStringListModel(this))
{
    ui->setupUi(this);
    ui->FileList->setModel(FFiles);
    // Selection, not the current row: a list taking the focus makes its first row current
    // without selecting it, and that must not overwrite what the dialog was given.
    connect(ui->FileList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFrPkgLoadSave::FileSelected);
    connect(ui->FileList, &QAbstractItemView::doubleClicked, this, &QDialog::accept);
    connect(ui->BtSearch, &QAbstractButton::clicked, this, &TFrPkgLoadSave::SearchKey);
    connect(ui->BtOk, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(ui->BtCancel, &QAbstractButton::clicked, this, &QDialog::reject);
}

TFrPkgLoadSave::~TFrPkgLoadSave() = default;

QString TFrPkgLoadSave::GetTitle() const { return KvPkgLoadSaveTitle(Pkg, ModeLoadSave); }

bool TFrPkgLoadSave::HasKeyRow() const
{
    return !ModeLoadSave && (IsKind<TKvPkgPrivileges>(Pkg) || IsDisplayOrLanguage(Pkg));
}

void TFrPkgLoadSave::Prepare()
{
    setWindowTitle(GetTitle());

    const QString folder = KvAppPath();
    ui->Label3->setText(QDir::toNativeSeparators(folder));
    ui->Label3->setToolTip(ui->Label3->text());
    const QString mask = QStringLiteral("*.") + Pkg->DefaultExt();
    FFiles->setStringList(QDir(folder).entryList({mask}, QDir::Files, QDir::Name | QDir::IgnoreCase));

    const bool fileMode = Pkg->InitMode() != TKvPkgInfo::imDFM;
    ui->EdInitMode->setCurrentIndex(fileMode ? 1 : 0);
    if (fileMode) {
        ui->EdFileName->setText(Pkg->FileName());
        ui->EdDescription->setText(Pkg->Description());
    }

    const QPalette buttonFace = [this] {
        QPalette p = palette();
        p.setColor(QPalette::Base, p.color(QPalette::Button));
        return p;
    }();

    if (!HasKeyRow()) {
        ui->LaKey->hide();
        ui->EdKey->hide();
        ui->BtSearch->hide();
        QRect r = ui->FileList->geometry();
        r.setBottom(ui->EdKey->geometry().bottom());
        ui->FileList->setGeometry(r);
    } else if (IsDisplayOrLanguage(Pkg)) {
        ui->LaKey->setText(QStringLiteral("LastUpdateFile:"));
        ui->LaKey->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        ui->LaKey->setGeometry(ui->LaFileName->x(), ui->LaKey->y(), ui->LaKey->sizeHint().width(),
                               ui->LaKey->height());
        // The longer caption pushes the box right rather than being cut off.
        const int left = std::max(ui->EdKey->x(), ui->LaKey->geometry().right() + 5);
        ui->EdKey->setGeometry(left, ui->EdKey->y(), ui->BtSearch->x() - 4 - left, ui->EdKey->height());
        // Only coloured: what is typed here becomes the last update file on save.
        ui->EdKey->setPalette(buttonFace);
        if (auto* d = qobject_cast<TKvPkgDisplay*>(Pkg))
            ui->EdKey->setText(d->LastUpdateFile());
        else if (auto* l = qobject_cast<TKvPkgLanguage*>(Pkg))
            ui->EdKey->setText(l->LastUpdateFile());
    } else if (auto* p = qobject_cast<TKvPkgPrivileges*>(Pkg)) {
        ui->LaKey->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        ui->EdKey->setText(p->Key());
        ui->BtSearch->hide();
        // The key runs into the search button's place when that is hidden.
        ui->EdKey->resize(ui->BtSearch->geometry().right() - ui->EdKey->x() + 1, ui->EdKey->height());
    }

    if (OnlyDescription) {
        ui->LaInitMode->hide();
        ui->EdInitMode->hide();
        const int buttonHeight = ui->BtOk->height();
        const int right = ui->BtCancel->x();
        ui->BtCancel->move(right, ui->EdDescription->y());
        ui->BtOk->move(right, ui->BtCancel->y() - 4 - buttonHeight);
        // The buttons now stand beside the name and the description.
        for (QWidget* w : {static_cast<QWidget*>(ui->EdFileName), static_cast<QWidget*>(ui->EdDescription)})
            w->resize(right - 6 - w->x(), w->height());
        resize(width(), height() - 2 - buttonHeight);
    }

    if (ModeLoadSave) {
        ui->EdDescription->setReadOnly(true);
        ui->EdDescription->setPalette(buttonFace);
        ui->EdDescription->setFocusPolicy(Qt::NoFocus);
    }
    setFixedSize(size());

    if (HasKeyRow() && IsKind<TKvPkgPrivileges>(Pkg))
        ui->EdKey->setFocus();
    else
        ui->FileList->setFocus();
}

int TFrPkgLoadSave::Execute()
{
    Prepare();
    return exec() == QDialog::Accepted ? 1 : 2;
}

void TFrPkgLoadSave::FileSelected()
{
    const QModelIndexList selected = ui->FileList->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    const QModelIndex index = selected.first();
    const QString name = index.data().toString();
    const QString path = QDir(KvAppPath()).filePath(name);
    QString description;
    try {
        description = KvPkgReadFileDescription(Pkg, path);
    } catch (const Exception&) {
        // A file that is no package of this kind simply has no description to show.
    }
    ui->EdDescription->setText(description);
    ui->EdFileName->setText(QFileInfo(name).completeBaseName());
}

void TFrPkgLoadSave::SearchKey()
{
    TKvFileDialogRequest request;
    request.Title = QStringLiteral("Open");
    request.Filter = KvPkgLoadSaveKeyFilter(Pkg);
    if (request.Filter.isEmpty())
        request.Filter = QStringLiteral("All Files (*.*)|*.*");
    request.DefaultExt = QStringLiteral("dis");
    request.FileMustExist = true;
    request.InitialDir = KvGetInstallPackagesExists();
    request.FileName = ui->EdKey->text();
    request.Parent = this;
    if (!KvFileDialog(request))
        return;
    ui->EdKey->setText(KvPkgKeyFileName(request.FileName, KvGetInstallPackagesExists()));
}

bool TFrPkgLoadSave::ConfirmLoad(TKvPkgInfo::TKvRegisterInitMode Mode)
{
    const QString name = ui->EdFileName->text();
    if (!name.trimmed().isEmpty()) {
        FileNameLoad = Pkg->GetFileName(name);
        if (!QFileInfo(FileNameLoad).isFile()) {
            KvMsgPkgArgs(KvMsgNotice, QStringLiteral("System"), 49, {name}, {KvBtnAccept}, KvBtnAccept);
            return false;
        }
        if (!OnlyDescription && Pkg->InitMode() == TKvPkgInfo::imDFM) {
            TKvCApplication* app = KvCApp();
            const bool known = app && app->PkgLanguage()->PkgSystem()->Messages()->FindId(56);
            const int answer =
                known ? KvMsgPkg(KvMsgQuestion, QStringLiteral("System"), 56, {KvBtnAccept, KvBtnCancel}, KvBtnAccept)
                      : KvMsg(KvMsgQuestion,
                              QStringLiteral("The data that there is in memory will be erased. Do you want to continue?"),
                              {KvBtnAccept, KvBtnCancel}, KvBtnAccept);
            if (answer != KvBtnAccept)
                return false;
        }
    }
    Pkg->LoadFileEx(name, Mode);
    return true;
}

bool TFrPkgLoadSave::ConfirmSave(TKvPkgInfo::TKvRegisterInitMode Mode)
{
    const QString name = ui->EdFileName->text();
    if (!name.trimmed().isEmpty()) {
        FileNameLoad = Pkg->GetFileName(name);
        if (QFileInfo::exists(FileNameLoad)) {
            TKvCApplication* app = KvCApp();
            const bool known = app && app->PkgLanguage()->PkgSystem()->Messages()->FindId(51);
            const int answer =
                known ? KvMsgPkgArgs(KvMsgQuestion, QStringLiteral("System"), 51, {FileNameLoad},
                                     {KvBtnAccept, KvBtnCancel}, KvBtnCancel)
                      : KvMsgArgs(KvMsgQuestion, QStringLiteral("File '%s' already exists. Do you want overwrite?"),
                                  {FileNameLoad}, {KvBtnAccept, KvBtnCancel}, KvBtnCancel);
            if (answer != KvBtnAccept)
                return false;
        }
    }
    Pkg->SetDescription(ui->EdDescription->text());
    if (auto* p = qobject_cast<TKvPkgPrivileges*>(Pkg))
        p->SetKey(ui->EdKey->text());
    else if (auto* d = qobject_cast<TKvPkgDisplay*>(Pkg))
        d->SetLastUpdateFile(ui->EdKey->text());
    else if (auto* l = qobject_cast<TKvPkgLanguage*>(Pkg))
        l->SetLastUpdateFile(ui->EdKey->text());
    Pkg->SaveFileEx(name, Mode);
    return true;
}

bool TFrPkgLoadSave::Confirm()
{
    const auto mode = ui->EdInitMode->currentIndex() == 1 ? TKvPkgInfo::imFILE : TKvPkgInfo::imDFM;
    try {
        return ModeLoadSave ? ConfirmLoad(mode) : ConfirmSave(mode);
    } catch (const Exception& e) {
        // An unreadable file or a failed write: the package keeps what it had, the dialog stays.
        KvMsg(KvMsgError, e.Message, {KvBtnAccept}, KvBtnAccept);
        return false;
    }
}

void TFrPkgLoadSave::done(int Result)
{
    if (Result == QDialog::Accepted && Pkg && !Confirm())
        return;
    QDialog::done(Result);
}
