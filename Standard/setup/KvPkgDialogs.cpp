#include "KvPkgDialogs.h"

#include "KvDialogs.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "KvPackages.h"
#include "manager/KvVtPkgLoadSave.h"
#include "strings/KvVtPkgStrings.h"

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

bool KvPkgLoadSave(QWidget* Parent, TKvPkgInfo* Pkg, bool Load)
{
    if (!Pkg)
        return false;
    // A load replaces the content, so the edits go to the file first.
    if (Load)
        KvPkgUpdateFile(Pkg);
    TFrPkgLoadSave Dialog(Parent);
    Dialog.Pkg = Pkg;
    Dialog.ModeLoadSave = Load;
    FrPkgLoadSave = &Dialog;
    const int Result = Dialog.Execute();
    FrPkgLoadSave = nullptr;
    return Result == 1;
}

namespace {

bool ChooseFile(QWidget* Parent, const TKvPkgInfo* Pkg, const QString& Filter, bool Save, QString& FileName)
{
    TKvFileDialogRequest Request;
    Request.Save = Save;
    Request.Title = Save ? QStringLiteral("Save To") : QStringLiteral("Load From");
    Request.InitialDir = KvPkgStringsStartFolder(Pkg);
    Request.Filter = Filter;
    Request.DefaultExt = Pkg->DefaultExt();
    Request.FileMustExist = !Save;
    Request.OverwritePrompt = Save;
    Request.Parent = Parent;
    if (!KvFileDialog(Request))
        return false;
    FileName = Request.FileName;
    return true;
}

} // namespace

bool KvPkgLoadFrom(QWidget* Parent, TKvPkgInfo* Pkg, const QString& Filter)
{
    QString FileName;
    if (!Pkg || !ChooseFile(Parent, Pkg, Filter, false, FileName))
        return false;
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
