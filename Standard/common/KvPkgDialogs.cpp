#include "KvPkgDialogs.h"

#include "KvDialogs.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "KvPackages.h"
#include "manager/KvVtPkgLoadSave.h"
#include "porting/KvPortDsgn.h"

#include <QFileInfo>

void TKvKeptBoundsDialog::showEvent(QShowEvent* Event)
{
    if (!FRestored) {
        FRestored = true;
        KvRestoreResizeInfoDesigner(this);
    }
    QDialog::showEvent(Event);
}

void TKvKeptBoundsDialog::hideEvent(QHideEvent* Event)
{
    KvSaveResizeInfoDesigner(this);
    QDialog::hideEvent(Event);
}

void KvShowError(const Exception& E)
{
    KvMessage(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
}

QString KvPkgStartFolder(const TKvPkgInfo* Pkg)
{
    const QString File = Pkg ? Pkg->GetFileName(Pkg->FileName()) : QString();
    if (!File.isEmpty())
        return QFileInfo(File).absolutePath();
    const QString Project = KvGetProjectName();
    return Project.isEmpty() ? QString() : QFileInfo(Project).absolutePath();
}

bool KvPkgUpdateFile(TKvPkgInfo* Pkg)
{
    if (!Pkg)
        return false;
    try {
        Pkg->SaveFile();
        return true;
    } catch (const Exception& E) {
        KvShowError(E);
        return false;
    }
}

bool KvPkgLoadSave(QWidget* Parent, TKvPkgInfo* Pkg, bool Load, const std::function<void()>& BeforeLoad)
{
    if (!Pkg)
        return false;
    // A load replaces the content, so the edits go to the file first. A save writes only once
    // confirmed: it may go to another file, and Cancel must leave the files as they were.
    if (Load) {
        KvPkgUpdateFile(Pkg);
        if (BeforeLoad)
            BeforeLoad();
    }
    TFrPkgLoadSave Dialog(Parent);
    Dialog.Pkg = Pkg;
    Dialog.ModeLoadSave = Load;
    FrPkgLoadSave = &Dialog;
    const int Result = Dialog.Execute();
    FrPkgLoadSave = nullptr;
    return Result == 1;
}

bool KvPkgAskFile(QWidget* Parent, bool Save, const QString& Title, const QString& Filter, const QString& DefaultExt,
                  QString& FileName, const QString& InitialDir)
{
    TKvFileDialogRequest Request;
    Request.Save = Save;
    Request.Title = Title;
    Request.InitialDir = InitialDir;
    Request.Filter = Filter;
    Request.DefaultExt = DefaultExt;
    Request.FileMustExist = !Save;
    Request.OverwritePrompt = Save;
    Request.Parent = Parent;
    if (!KvFileDialog(Request))
        return false;
    FileName = Request.FileName;
    return true;
}

namespace {

bool ChooseFile(QWidget* Parent, const TKvPkgInfo* Pkg, const QString& Filter, bool Save, QString& FileName)
{
    return KvPkgAskFile(Parent, Save, Save ? QStringLiteral("Save To") : QStringLiteral("Load From"), Filter,
                        Pkg->DefaultExt(), FileName, KvPkgStartFolder(Pkg));
}

} // namespace

bool KvPkgLoadFrom(QWidget* Parent, TKvPkgInfo* Pkg, const QString& Filter, const std::function<void()>& BeforeLoad)
{
    QString FileName;
    if (!Pkg || !ChooseFile(Parent, Pkg, Filter, false, FileName))
        return false;
    if (BeforeLoad)
        BeforeLoad();
    try {
        Pkg->LoadFromFile(FileName);
        Pkg->DoAfterLoad(true);
        return true;
    } catch (const Exception& E) {
        KvShowError(E);
        return false;
    }
}

bool KvPkgSaveTo(QWidget* Parent, TKvPkgInfo* Pkg, const QString& Filter)
{
    QString FileName;
    if (!Pkg || !ChooseFile(Parent, Pkg, Filter, true, FileName))
        return false;
    try {
        Pkg->SaveToFile(FileName);
        return true;
    } catch (const Exception& E) {
        KvShowError(E);
        return false;
    }
}
