#include "KvVtSetup.h"
#include "ui_KvVtSetup.h"

#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "display/KvVtDisplay.h"
#include "registration/KvPropEditors.h"
#include "setup/KvVtDataBase.h"
#include "setup/KvVtKeys.h"
#include "setup/KvVtLanguage.h"
#include "vars/KvVtPkgVars.h"

void KvEditSetup(TKvCApplication* App)
{
    if (!App)
        return;
    TFrSetup Window;
    Window.CApp = App;
    Window.Execute();
}

TFrSetup::TFrSetup(QWidget* Parent) : TKvKeptBoundsDialog(Parent), FUi(std::make_unique<Ui::TFrSetup>())
{
    FUi->setupUi(this);
    connect(FUi->BtKeys, &QPushButton::clicked, this, &TFrSetup::EditKeys);
    connect(FUi->BtDataBase, &QPushButton::clicked, this, &TFrSetup::EditDataBase);
    connect(FUi->BtLanguage, &QPushButton::clicked, this, [this] {
        KvEditLanguage(CApp);
        ChangeState();
    });
    connect(FUi->BtDisplay, &QPushButton::clicked, this, [this] {
        KvEditPkgDisplay(CApp, this);
        ChangeState();
    });
    connect(FUi->BtVars, &QPushButton::clicked, this, [this] {
        if (CApp)
            KvEditPkgVars(CApp->PkgVars(), this);
        ChangeState();
    });
    connect(FUi->BtLoad, &QPushButton::clicked, this, [this] { LoadSave(true); });
    connect(FUi->BtSave, &QPushButton::clicked, this, [this] { LoadSave(false); });
    connect(FUi->BtLoadFrom, &QPushButton::clicked, this, &TFrSetup::LoadFrom);
    connect(FUi->BtSaveTo, &QPushButton::clicked, this, [this] { KvPkgSaveTo(this, Pkg(), FileFilter()); });
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
}

TFrSetup::~TFrSetup() = default;

QString TFrSetup::FileFilter()
{
    return QStringLiteral("Files Setup (*.stp)|*.stp|All files (*.*)|*.*");
}

TKvPkgSetup* TFrSetup::Pkg() const
{
    return CApp ? CApp->PkgSetup() : nullptr;
}

void TFrSetup::Execute()
{
    TKvPkgSetup* Setup = Pkg();
    if (!Setup)
        return;
    if (Setup->IsFileBacked() && Setup->FileModified()) {
        try {
            Setup->LoadFile();
        } catch (const Exception& E) {
            KvShowError(E);
        }
    }
    ChangeState();
    exec();
}

void TFrSetup::done(int Result)
{
    KvPkgUpdateFile(Pkg());
    TKvKeptBoundsDialog::done(Result);
}

void TFrSetup::ChangeState()
{
    const TKvPkgSetup* Setup = Pkg();
    if (!Setup)
        return;
    FUi->Label2->setText(Setup->FileName());
    FUi->Label4->setText(Setup->Description());
    FUi->Label6->setText(Setup->InitMode() == TKvPkgInfo::imFILE ? QStringLiteral("FILE") : QStringLiteral("DFM"));
    FUi->Label10->setText(KvPackageDisplayText(CApp->PkgDisplay()));
    FUi->Label9->setText(KvPackageDisplayText(CApp->PkgLanguage()));
    FUi->Label12->setText(KvPackageDisplayText(CApp->PkgVars()));
}

void TFrSetup::Modified()
{
    if (CApp)
        KvDesignerModified(CApp);
}

void TFrSetup::CheckPkg()
{
    if (Pkg() && Pkg()->Modified() && Pkg()->InitMode() == TKvPkgInfo::imDFM)
        Modified();
}

void TFrSetup::EditKeys()
{
    if (!Pkg())
        return;
    TFrKeys Dialog(this);
    Dialog.PkgSetup = Pkg();
    Dialog.Execute();
    CheckPkg();
}

void TFrSetup::EditDataBase()
{
    if (!Pkg())
        return;
    TFrDataBase Dialog(this);
    Dialog.PkgSetup = Pkg();
    Dialog.Execute();
    CheckPkg();
}

void TFrSetup::LoadSave(bool Load)
{
    if (!KvPkgLoadSave(this, Pkg(), Load))
        return;
    ChangeState();
    Modified();
}

void TFrSetup::LoadFrom()
{
    if (!KvPkgLoadFrom(this, Pkg(), FileFilter()))
        return;
    if (!Pkg()->IsFileBacked())
        Modified();
}
