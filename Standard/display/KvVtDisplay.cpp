#include "display/KvVtDisplay.h"

#include "ui_KvVtDisplay.h"

#include "KvApplication.h"
#include "KvDialogs.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "display/KvVtCommonWnds.h"
#include "display/KvVtHints.h"
#include "display/KvVtSetsEditor.h"
#include "images/KvVtPkgImages.h"
#include "manager/KvVtPkgLoadSave.h"
#include "manager/KvVtPkgSynchronizer.h"

namespace {

const QString DisplayFilter = QStringLiteral("Files Display (*.dis)|*.dis|All files (*.*)|*.*");

} // namespace

void KvEditPkgDisplay(TKvCApplication* App, QWidget* Parent)
{
    if (!App)
        return;
    TFrDisplay Editor(Parent);
    Editor.CApp = App;
    Editor.Execute();
}

TFrDisplay::TFrDisplay(QWidget* Parent) : QDialog(Parent), FUi(new Ui::TFrDisplay)
{
    FUi->setupUi(this);
    KvKeepResizeInfoDesigner(this);
    connect(FUi->BtColors, &QPushButton::clicked, this, [this] { EditSets(TKvSetKind::Color); });
    connect(FUi->BtFonts, &QPushButton::clicked, this, [this] { EditSets(TKvSetKind::Font); });
    connect(FUi->BtBackGrounds, &QPushButton::clicked, this, [this] { EditSets(TKvSetKind::BackGround); });
    connect(FUi->BtSystemImages, &QPushButton::clicked, this, [this] {
        if (FEdit.Pkg())
            EditImages(FEdit.Pkg()->PkgSystem());
    });
    connect(FUi->BtUserImages, &QPushButton::clicked, this, [this] {
        if (FEdit.Pkg())
            EditImages(FEdit.Pkg()->PkgUser());
    });
    connect(FUi->BtCommonWnds, &QPushButton::clicked, this, [this] { EditMetrics(false); });
    connect(FUi->BtCommonHints, &QPushButton::clicked, this, [this] { EditMetrics(true); });
    connect(FUi->BtLoad, &QPushButton::clicked, this, [this] { LoadSave(true); });
    connect(FUi->BtSave, &QPushButton::clicked, this, [this] { LoadSave(false); });
    connect(FUi->BtLoadFrom, &QPushButton::clicked, this, &TFrDisplay::LoadFrom);
    connect(FUi->BtSaveTo, &QPushButton::clicked, this, &TFrDisplay::SaveTo);
    connect(FUi->BtClear, &QPushButton::clicked, this, &TFrDisplay::ClearAll);
    connect(FUi->BtSynchronizer, &QPushButton::clicked, this, &TFrDisplay::Synchronize);
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
}

TFrDisplay::~TFrDisplay() = default;

int TFrDisplay::Execute()
{
    FEdit = TKvDisplayEdit(CApp);
    try {
        FEdit.Reload();
    } catch (const Exception& E) {
        ShowError(E.Message);
    }
    ChangeState();
    const int Result = exec() == QDialog::Accepted ? 1 : 2;
    UpdateFile();
    return Result;
}

// Escape and the title bar's close button end the editing as Ok does.
void TFrDisplay::reject() { accept(); }

void TFrDisplay::ChangeState()
{
    FUi->LaFileName->setText(FEdit.FileNameText());
    FUi->LaDescription->setText(FEdit.DescriptionText());
    FUi->LaInitMode->setText(FEdit.InitModeText());
}

void TFrDisplay::UpdateFile()
{
    try {
        FEdit.UpdateFile();
    } catch (const Exception& E) {
        ShowError(E.Message);
    }
}

void TFrDisplay::Modified() { FEdit.Modified(); }

void TFrDisplay::ShowError(const QString& Text) { KvMessage(KvMsgError, Text, {KvBtnAccept}, KvBtnAccept); }

void TFrDisplay::EditSets(TKvSetKind Kind)
{
    if (!CApp)
        return;
    FEdit.BeginPart();
    KvShowSetsEditor(this, Kind, CApp);
    FEdit.EndPart();
}

void TFrDisplay::EditImages(TKvPkgImages* Pkg)
{
    FEdit.BeginPart();
    {
        TFrPkgImages Editor(this);
        Editor.PkgImages = Pkg;
        Editor.Memory = true;
        Editor.Execute();
    }
    FEdit.EndPart();
}

void TFrDisplay::EditMetrics(bool Hints)
{
    if (!FEdit.Pkg())
        return;
    if (Hints) {
        TFrHints Editor(this);
        Editor.PkgDisplay = FEdit.Pkg();
        Editor.Execute();
    } else {
        TFrCommonWnds Editor(this);
        Editor.PkgDisplay = FEdit.Pkg();
        Editor.Execute();
    }
}

void TFrDisplay::LoadSave(bool Load)
{
    if (!FEdit.Pkg())
        return;
    UpdateFile();
    TFrPkgLoadSave Dialog(this);
    Dialog.Pkg = FEdit.Pkg();
    Dialog.ModeLoadSave = Load;
    if (Dialog.Execute() != 1)
        return;
    ChangeState();
    try {
        FEdit.AfterLoadSave();
    } catch (const Exception& E) {
        ShowError(E.Message);
    }
}

void TFrDisplay::LoadFrom()
{
    if (!FEdit.Pkg())
        return;
    TKvFileDialogRequest Request;
    Request.Title = QStringLiteral("Load From");
    Request.Filter = DisplayFilter;
    Request.DefaultExt = QStringLiteral("dis");
    Request.FileMustExist = true;
    Request.Parent = this;
    if (!KvFileDialog(Request))
        return;
    try {
        FEdit.LoadFrom(Request.FileName);
    } catch (const Exception& E) {
        ShowError(E.Message);
    }
    ChangeState();
}

void TFrDisplay::SaveTo()
{
    if (!FEdit.Pkg())
        return;
    TKvFileDialogRequest Request;
    Request.Save = true;
    Request.Title = QStringLiteral("Save To");
    Request.Filter = DisplayFilter;
    Request.DefaultExt = QStringLiteral("dis");
    Request.OverwritePrompt = true;
    Request.Parent = this;
    if (!KvFileDialog(Request))
        return;
    try {
        FEdit.SaveTo(Request.FileName);
    } catch (const Exception& E) {
        ShowError(E.Message);
    }
}

void TFrDisplay::ClearAll()
{
    if (!FEdit.Pkg())
        return;
    if (KvMsgPkg(KvMsgQuestion, QStringLiteral("System"), 61, {KvBtnAccept, KvBtnCancel}, KvBtnCancel) != KvBtnAccept)
        return;
    FEdit.ClearAll();
}

void TFrDisplay::Synchronize()
{
    if (!FEdit.Pkg())
        return;
    FEdit.BeginPart();
    KvShowSynchronizer(this, FEdit.Pkg());
    FEdit.EndPart();
}
