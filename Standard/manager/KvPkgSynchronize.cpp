#include "KvPkgSynchronize.h"

#include "KvDesignHooks.h"
#include "KvPkgDisplay.h"
#include "KvPkgLanguage.h"
#include "KvPkgStrings.h"
#include "SysUtils.h"

#include <memory>

namespace {

void Tick(const TKvSyncStep& Step)
{
    if (Step)
        Step();
}

// One pair of item lists: the target's items the source lacks go (from the last), the source's
// items the target lacks come (from the first); items in both stay as the target has them.
template <class TList, class FKey, class FFind, class FAdd>
void Process(const TList* S, TList* T, const TKvSyncOptions& O, const TKvSyncStep& Step, FKey Key, FFind Find, FAdd Add)
{
    if (O.DeleteItems)
        for (int i = T->Count() - 1; i >= 0; --i) {
            if (!Find(S, Key(T->GetItems(i))))
                T->Delete(i);
            Tick(Step);
        }
    if (O.AddItems)
        for (int i = 0; i < S->Count(); ++i) {
            const auto* item = S->GetItems(i);
            if (!Find(T, Key(item)))
                Add(T, item);
            Tick(Step);
        }
}

const auto IdOf = [](const auto* Item) { return Item->Id(); };
const auto NameOf = [](const auto* Item) { return Item->Name(); };
const auto FindById = [](const auto* List, int Id) { return List->FindId(Id) != nullptr; };
const auto FindByName = [](const auto* List, const QString& Name) { return List->Find(Name) != nullptr; };

void ProcessImages(const TKvPkgImages* S, TKvPkgImages* T, const TKvSyncOptions& O, const TKvSyncStep& Step)
{
    Process(S->Images(), T->Images(), O, Step, IdOf, FindById,
            [](TKvPkgImagesImages* List, const TKvPkgImagesImage* Item) { List->Add(Item->Id())->Assign(*Item); });
}

void ProcessStrings(const TKvPkgStrings* S, TKvPkgStrings* T, const TKvSyncOptions& O, const TKvSyncStep& Step)
{
    Process(S->Labels(), T->Labels(), O, Step, IdOf, FindById,
            [](TKvPkgStringsLabels* List, const TKvPkgStringsLabel* Item) {
                List->Add(Item->Id(), Item->Text(), Item->Hint());
            });
    Process(S->Messages(), T->Messages(), O, Step, IdOf, FindById,
            [](TKvPkgStringsMessages* List, const TKvPkgStringsMessage* Item) { List->Add(Item->Id(), Item->Text()); });
    Process(S->Texts(), T->Texts(), O, Step, IdOf, FindById,
            [](TKvPkgStringsTexts* List, const TKvPkgStringsText* Item) { List->Add(Item->Id(), Item->Text()); });
}

void Describe(TKvDisplaySet* Target, const TKvDisplaySet* Source)
{
    Target->SetDescription(Source->Description());
    Target->SetDescriptionId(Source->DescriptionPkgName(), Source->DescriptionId());
}

void ProcessSets(const TKvPkgDisplay* S, TKvPkgDisplay* T, const TKvSyncOptions& O, const TKvSyncStep& Step)
{
    Process(S->SetsFont(), T->SetsFont(), O, Step, NameOf, FindByName,
            [](TKvSetFontList* List, const TKvSetFontItem* Item) {
                TKvSetFontItem* set = List->Add(Item->Name());
                Describe(set, Item);
                set->SetFont(Item->Font());
                set->SetFontColor(Item->FontColor());
            });
    Process(S->SetsColor(), T->SetsColor(), O, Step, NameOf, FindByName,
            [](TKvSetColorList* List, const TKvSetColorItem* Item) {
                TKvSetColorItem* set = List->Add(Item->Name());
                Describe(set, Item);
                set->SetColor(Item->Color());
            });
    Process(S->SetsBackGround(), T->SetsBackGround(), O, Step, NameOf, FindByName,
            [](TKvSetBackGroundList* List, const TKvSetBackGroundItem* Item) {
                TKvSetBackGroundItem* set = List->Add(Item->Name());
                Describe(set, Item);
                set->SetStyle(Item->Style());
                set->SetStartGraColor(Item->StartGraColor());
                set->SetEndGraColor(Item->EndGraColor());
                set->SetSolidColor(Item->SolidColor());
                set->SetTransparent(Item->Transparent());
                set->SetImage(Item->ImagePkgName(), Item->ImageId());
            });
}

int StringsCount(const TKvPkgStrings* Pkg)
{
    return Pkg->Labels()->Count() + Pkg->Messages()->Count() + Pkg->Texts()->Count();
}

int SetsCount(const TKvPkgDisplay* Pkg)
{
    return Pkg->SetsFont()->Count() + Pkg->SetsColor()->Count() + Pkg->SetsBackGround()->Count();
}

int PartCount(const TKvPkgInfo* Pkg, const TKvSyncOptions& O)
{
    switch (KvSyncKindOf(Pkg)) {
    case TKvSyncKind::Images:
        return static_cast<const TKvPkgImages*>(Pkg)->Images()->Count();
    case TKvSyncKind::Strings:
        return StringsCount(static_cast<const TKvPkgStrings*>(Pkg));
    case TKvSyncKind::Display: {
        const auto* d = static_cast<const TKvPkgDisplay*>(Pkg);
        return (O.SyncSystem ? d->PkgSystem()->Images()->Count() : 0) + (O.SyncUser ? d->PkgUser()->Images()->Count() : 0)
            + (O.SyncSets ? SetsCount(d) : 0);
    }
    case TKvSyncKind::Language: {
        const auto* l = static_cast<const TKvPkgLanguage*>(Pkg);
        return (O.SyncSystem ? StringsCount(l->PkgSystem()) : 0) + (O.SyncUser ? StringsCount(l->PkgUser()) : 0);
    }
    case TKvSyncKind::None:
        break;
    }
    return 0;
}

// A package of Master's class, owned by no form, so that the designer never sees it.
std::unique_ptr<TKvPkgInfo> Scratch(const TKvPkgInfo* Master)
{
    std::unique_ptr<TKvPkgInfo> pkg(qobject_cast<TKvPkgInfo*>(CreateComponent(Master->metaObject(), nullptr)));
    if (!pkg)
        throw EInvalidOperation(QStringLiteral("Cannot create a package of class %1").arg(Master->metaObject()->className()));
    pkg->Clear();
    return pkg;
}

} // namespace

TKvSyncKind KvSyncKindOf(const TKvPkgInfo* Pkg)
{
    if (qobject_cast<const TKvPkgImages*>(Pkg))
        return TKvSyncKind::Images;
    if (qobject_cast<const TKvPkgStrings*>(Pkg))
        return TKvSyncKind::Strings;
    if (qobject_cast<const TKvPkgDisplay*>(Pkg))
        return TKvSyncKind::Display;
    if (qobject_cast<const TKvPkgLanguage*>(Pkg))
        return TKvSyncKind::Language;
    return TKvSyncKind::None;
}

QString KvSyncExt(const TKvPkgInfo* Pkg)
{
    switch (KvSyncKindOf(Pkg)) {
    case TKvSyncKind::Display:
        return QStringLiteral(".dis");
    case TKvSyncKind::Language:
        return QStringLiteral(".lan");
    case TKvSyncKind::None:
        return QString();
    default:
        return QLatin1Char('.') + Pkg->DefaultExt();
    }
}

int KvSyncItemCount(const TKvPkgInfo* Source, const TKvPkgInfo* Target, const TKvSyncOptions& Options)
{
    return PartCount(Source, Options) + PartCount(Target, Options);
}

void KvSyncMerge(const TKvPkgInfo* Source, TKvPkgInfo* Target, const TKvSyncOptions& O, const TKvSyncStep& Step)
{
    switch (KvSyncKindOf(Target)) {
    case TKvSyncKind::Images:
        ProcessImages(static_cast<const TKvPkgImages*>(Source), static_cast<TKvPkgImages*>(Target), O, Step);
        break;
    case TKvSyncKind::Strings:
        ProcessStrings(static_cast<const TKvPkgStrings*>(Source), static_cast<TKvPkgStrings*>(Target), O, Step);
        break;
    case TKvSyncKind::Display: {
        const auto* s = static_cast<const TKvPkgDisplay*>(Source);
        auto* t = static_cast<TKvPkgDisplay*>(Target);
        if (O.SyncSystem)
            ProcessImages(s->PkgSystem(), t->PkgSystem(), O, Step);
        if (O.SyncUser)
            ProcessImages(s->PkgUser(), t->PkgUser(), O, Step);
        if (O.SyncSets)
            ProcessSets(s, t, O, Step);
        break;
    }
    case TKvSyncKind::Language: {
        const auto* s = static_cast<const TKvPkgLanguage*>(Source);
        auto* t = static_cast<TKvPkgLanguage*>(Target);
        if (O.SyncSystem)
            ProcessStrings(s->PkgSystem(), t->PkgSystem(), O, Step);
        if (O.SyncUser)
            ProcessStrings(s->PkgUser(), t->PkgUser(), O, Step);
        break;
    }
    case TKvSyncKind::None:
        throw EInvalidOperation(QStringLiteral("Packages of class %1 are not synchronized")
                                    .arg(Target->metaObject()->className()));
    }
}

void KvSynchronizeFrom(TKvPkgInfo* Master, const QString& FileName, const TKvSyncOptions& Options,
                       const TKvSyncStart& Start, const TKvSyncStep& Step)
{
    const std::unique_ptr<TKvPkgInfo> source = Scratch(Master);
    source->LoadFromFile(FileName);
    if (Start)
        Start(KvSyncItemCount(source.get(), Master, Options));
    KvSyncMerge(source.get(), Master, Options, Step);
    if (Master->InitMode() == TKvPkgInfo::imFILE) {
        Master->SaveFile();
    } else {
        const TKvSyncKind kind = KvSyncKindOf(Master);
        KvDesignerModified(kind == TKvSyncKind::Display || kind == TKvSyncKind::Language ? Master->Owner() : Master);
    }
}

QList<TKvSyncFailure> KvSynchronizeTo(const TKvPkgInfo* Master, const QStringList& FileNames,
                                      const TKvSyncOptions& Options, const TKvSyncStart& Start,
                                      const TKvSyncStep& Step, const std::function<void(const QString&)>& Done,
                                      const std::function<void(const QString&)>& Begin)
{
    QList<TKvSyncFailure> failures;
    const std::unique_ptr<TKvPkgInfo> target = Scratch(Master);
    for (qsizetype i = FileNames.size() - 1; i >= 0; --i) {
        try {
            target->Clear();
            target->LoadFromFile(FileNames[i]);
            if (Start)
                Start(KvSyncItemCount(Master, target.get(), Options));
            if (Begin)
                Begin(FileNames[i]);
            KvSyncMerge(Master, target.get(), Options, Step);
            target->SaveToFile(FileNames[i]);
            if (Done)
                Done(FileNames[i]);
        } catch (const Exception& e) {
            failures.append({FileNames[i], e.Message});
        }
    }
    return failures;
}
