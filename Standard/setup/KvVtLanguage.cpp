#include "KvVtLanguage.h"
#include "ui_KvVtLanguage.h"

#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "manager/KvVtPkgSynchronizer.h"
#include "setup/KvVtLocale.h"
#include "strings/KvVtPkgStrings.h"

void KvEditLanguage(TKvCApplication* App)
{
    if (!App)
        return;
    TFrLanguage Window;
    Window.CApp = App;
    Window.Execute();
}

TFrLanguage::TFrLanguage(QWidget* Parent) : TKvKeptBoundsDialog(Parent), FUi(std::make_unique<Ui::TFrLanguage>())
{
    FUi->setupUi(this);
    connect(FUi->BtLocale, &QPushButton::clicked, this, &TFrLanguage::EditLocale);
    connect(FUi->BtSystemStrings, &QPushButton::clicked, this, [this] { EditStrings(true); });
    connect(FUi->BtUserStrings, &QPushButton::clicked, this, [this] { EditStrings(false); });
    connect(FUi->BtLoad, &QPushButton::clicked, this, [this] { LoadSave(true); });
    connect(FUi->BtSave, &QPushButton::clicked, this, [this] { LoadSave(false); });
    connect(FUi->BtLoadFrom, &QPushButton::clicked, this, &TFrLanguage::LoadFrom);
    connect(FUi->BtSaveTo, &QPushButton::clicked, this, [this] { KvPkgSaveTo(this, Pkg(), FileFilter()); });
    connect(FUi->BtClear, &QPushButton::clicked, this, &TFrLanguage::ClearAll);
    connect(FUi->BtSynchronized, &QPushButton::clicked, this, [this] {
        if (Pkg())
            KvShowSynchronizer(this, Pkg());
    });
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
}

TFrLanguage::~TFrLanguage() = default;

QString TFrLanguage::FileFilter()
{
    return QStringLiteral("Files Language (*.lan)|*.lan|All files (*.*)|*.*");
}

TKvPkgLanguage* TFrLanguage::Pkg() const
{
    return CApp ? CApp->PkgLanguage() : nullptr;
}

void TFrLanguage::Execute()
{
    TKvPkgLanguage* Language = Pkg();
    if (!Language)
        return;
    if (Language->IsFileBacked() && Language->FileModified()) {
        try {
            Language->LoadFile();
        } catch (const Exception& E) {
            KvShowError(E);
        }
    }
    ChangeState();
    exec();
}

void TFrLanguage::done(int Result)
{
    KvPkgUpdateFile(Pkg());
    TKvKeptBoundsDialog::done(Result);
}

void TFrLanguage::ChangeState()
{
    const TKvPkgLanguage* Language = Pkg();
    if (!Language)
        return;
    FUi->Label2->setText(Language->FileName());
    FUi->Label4->setText(Language->Description());
    FUi->Label6->setText(Language->InitMode() == TKvPkgInfo::imFILE ? QStringLiteral("FILE") : QStringLiteral("DFM"));
}

void TFrLanguage::Modified()
{
    if (CApp)
        KvDesignerModified(CApp);
}

void TFrLanguage::CheckPkg()
{
    if (Pkg() && Pkg()->Modified() && Pkg()->InitMode() == TKvPkgInfo::imDFM)
        Modified();
}

void TFrLanguage::EditLocale()
{
    if (!Pkg())
        return;
    TFrLocale Dialog(this);
    Dialog.PkgLanguage = Pkg();
    Dialog.Execute();
    CheckPkg();
}

void TFrLanguage::EditStrings(bool System)
{
    if (!Pkg())
        return;
    auto Editor = std::make_unique<TFrPkgStrings>(this);
    Editor->PkgStrings = System ? Pkg()->PkgSystem() : Pkg()->PkgUser();
    Editor->Memory = true;
    Editor->Execute();
    CheckPkg();
}

void TFrLanguage::LoadSave(bool Load)
{
    if (!KvPkgLoadSave(this, Pkg(), Load))
        return;
    ChangeState();
    Modified();
    if (CApp->PkgSetup()->InitMode() == TKvPkgInfo::imFILE)
        KvPkgUpdateFile(CApp->PkgSetup());
    if (Pkg()->InitMode() == TKvPkgInfo::imFILE)
        KvPkgUpdateFile(Pkg());
}

void TFrLanguage::LoadFrom()
{
    if (!KvPkgLoadFrom(this, Pkg(), FileFilter()))
        return;
    if (!Pkg()->IsFileBacked())
        Modified();
}

void TFrLanguage::ClearAll()
{
    TKvPkgLanguage* Language = Pkg();
    if (!Language
        || KvMsgPkg(KvMsgQuestion, QStringLiteral("System"), 48, {KvBtnAccept, KvBtnCancel}, KvBtnCancel) != KvBtnAccept)
        return;
    {
        TKvScreenUpdate Busy;
        Language->PkgSystem()->Clear();
        Language->PkgUser()->Clear();
    }
    if (!Language->IsFileBacked())
        Modified();
}
