#include "display/KvDisplayEdit.h"

#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "KvForms.h"

TKvPkgDisplay* TKvDisplayEdit::Pkg() const { return FCApp ? FCApp->PkgDisplay() : nullptr; }

QString TKvDisplayEdit::FileNameText() const { return Pkg() ? Pkg()->FileName() : QString(); }

QString TKvDisplayEdit::DescriptionText() const { return Pkg() ? Pkg()->Description() : QString(); }

QString TKvDisplayEdit::InitModeText() const
{
    return Pkg() && Pkg()->InitMode() == TKvPkgInfo::imDFM ? QStringLiteral("DFM") : QStringLiteral("FILE");
}

void TKvDisplayEdit::Reload()
{
    if (Pkg() && Pkg()->InitMode() == TKvPkgInfo::imFILE && Pkg()->FileModified())
        Pkg()->LoadFile();
}

void TKvDisplayEdit::UpdateFile()
{
    if (Pkg())
        Pkg()->SaveFile();
}

void TKvDisplayEdit::Modified()
{
    if (FCApp)
        KvDesignerModified(FCApp);
}

void TKvDisplayEdit::ModifiedIfInForm()
{
    if (Pkg() && Pkg()->Modified() && Pkg()->InitMode() == TKvPkgInfo::imDFM)
        Modified();
}

// A package in the form is never written by itself, so its modified flag can start afresh
// to tell whether the part's editor changed anything.
void TKvDisplayEdit::BeginPart()
{
    if (Pkg() && Pkg()->InitMode() == TKvPkgInfo::imDFM)
        Pkg()->SetModified(false);
}

void TKvDisplayEdit::EndPart() { ModifiedIfInForm(); }

void TKvDisplayEdit::AfterLoadSave()
{
    Modified();
    if (!FCApp)
        return;
    for (TKvPkgInfo* pkg : {static_cast<TKvPkgInfo*>(FCApp->PkgSetup()), static_cast<TKvPkgInfo*>(Pkg())})
        if (pkg->InitMode() == TKvPkgInfo::imFILE)
            pkg->SaveFile();
}

void TKvDisplayEdit::LoadFrom(const QString& FileName)
{
    if (!Pkg())
        return;
    Pkg()->LoadFromFile(FileName);
    Pkg()->DoAfterLoad(true);
    if (Pkg()->InitMode() == TKvPkgInfo::imDFM)
        Modified();
}

void TKvDisplayEdit::SaveTo(const QString& FileName) const
{
    if (Pkg())
        Pkg()->SaveToFile(FileName);
}

void TKvDisplayEdit::ClearAll()
{
    if (!Pkg())
        return;
    {
        TKvScreenUpdate busy;
        Pkg()->Clear();
    }
    if (Pkg()->InitMode() == TKvPkgInfo::imDFM)
        Modified();
}
