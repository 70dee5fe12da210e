#include "controls/KvCollectionEdit.h"

#include "KvCollections.h"
#include "KvStdCtrls.h"
#include "SysUtils.h"

namespace KvCollectionEdit {

namespace {

QString StepName(const TKvCollection* Collection, const QString& Verb)
{
    return QStringLiteral("%1 %2").arg(Verb, Collection->GetNamePath());
}

} // namespace

QString Line(const TCollectionItem* Item)
{
    return QStringLiteral("%1 - %2").arg(Item->Index()).arg(Item->GetDisplayName());
}

QStringList Lines(const TKvCollection* Collection)
{
    QStringList Result;
    if (!Collection)
        return Result;
    Result.reserve(Collection->Count());
    for (int I = 0; I < Collection->Count(); ++I)
        Result << Line(Collection->Items(I));
    return Result;
}

int Add(IDesigner* Designer, TKvCollection* Collection)
{
    if (!Collection)
        return -1;
    const TDesignerChange Change(Designer, StepName(Collection, QStringLiteral("Add to")));
    const int Index = Collection->AddItem()->Index();
    if (Designer)
        Designer->Modified();
    return Index;
}

int Insert(IDesigner* Designer, TKvCollection* Collection, int Selected)
{
    if (!Collection)
        return -1;
    const TDesignerChange Change(Designer, StepName(Collection, QStringLiteral("Insert into")));
    TCollectionItem* Item = Collection->AddItem();
    if (Selected >= 0 && Selected < Collection->Count())
        Item->SetIndex(Selected);
    if (Designer)
        Designer->Modified();
    return Item->Index();
}

int Delete(IDesigner* Designer, TKvCollection* Collection, int Selected)
{
    if (!Collection || Selected < 0 || Selected >= Collection->Count()) {
        if (Designer)
            Designer->Modified(); // told in every case, as before
        return -1;
    }
    const TDesignerChange Change(Designer, StepName(Collection, QStringLiteral("Delete from")));
    Collection->Delete(Selected);
    if (Designer)
        Designer->Modified();
    return Collection->Count() == 0 ? -1 : qMin(Selected, Collection->Count() - 1);
}

int Move(IDesigner* Designer, TKvCollection* Collection, int From, int To)
{
    if (!Collection || From < 0 || From >= Collection->Count())
        return -1;
    To = qBound(0, To, Collection->Count() - 1);
    if (To == From)
        return From;
    const TDesignerChange Change(Designer, StepName(Collection, QStringLiteral("Move in")));
    Collection->Items(From)->SetIndex(To);
    if (Designer)
        Designer->Modified();
    return To;
}

void Clear(IDesigner* Designer, TKvCollection* Collection)
{
    if (!Collection)
        return;
    const TDesignerChange Change(Designer, StepName(Collection, QStringLiteral("Clear")));
    Collection->BeginUpdate();
    Collection->Clear();
    Collection->EndUpdate();
    if (Designer)
        Designer->Modified();
}

int Find(const QStringList& Lines, int Selected, const QString& Text, bool Down, bool MatchCase, bool WholeWord)
{
    const Qt::CaseSensitivity Case = MatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const auto Matches = [&](const QString& Line) {
        return WholeWord ? Line.compare(Text, Case) == 0 : Line.contains(Text, Case);
    };
    const int Count = int(Lines.size());
    if (Down) {
        for (int I = Selected < 0 ? 0 : Selected + 1; I < Count; ++I)
            if (Matches(Lines.at(I)))
                return I;
    } else {
        for (int I = Selected < 0 ? Count - 1 : qMin(Selected, Count) - 1; I >= 0; --I)
            if (Matches(Lines.at(I)))
                return I;
    }
    return -1;
}

TKvCustomPageControl* PageControlOf(const TKvCollection* Collection)
{
    auto* Control = Collection ? qobject_cast<TKvCustomPageControl*>(Collection->GetOwner()) : nullptr;
    return Control && Control->Tabs() == Collection ? Control : nullptr;
}

void LinkTab(IDesigner* Designer, TKvCustomPageControl* Control, int Tab, const TKvTabSheet* Sheet)
{
    if (!Control || Tab < 0 || Tab >= Control->Tabs()->Count())
        return;
    TKvTabControl* Item = Control->Tabs()->Items(Tab);
    const TDesignerChange Change(Designer, QStringLiteral("Link %1").arg(Item->GetNamePath()));
    Item->SetPageId(Sheet ? Sheet->PageId() : 0);
    if (Designer)
        Designer->Modified();
}

int TabOf(const TKvCustomPageControl* Control, const TKvTabSheet* Sheet)
{
    const TKvTabControl* Tab = Control && Sheet ? Control->Tabs()->FindPageId(Sheet->PageId()) : nullptr;
    return Tab ? Tab->Index() : -1;
}

TKvTabSheet* AddTabSheet(IDesigner* Designer, TKvCustomPageControl* Control)
{
    if (!Control)
        return nullptr;
    if (!Designer)
        return Control->CreateTabSheet();
    const TDesignerChange Change(Designer, QStringLiteral("Add TabSheet to %1").arg(Control->GetName()));
    auto* Sheet = qobject_cast<TKvTabSheet*>(
        Designer->CreateComponent(&TKvTabSheet::staticMetaObject, Control, -1, -1, -1, -1));
    if (Sheet && Sheet->PageId() == 0)
        Sheet->SetPageId(Control->NewPageId());
    Designer->Modified();
    return Sheet;
}

void RemoveTabSheet(IDesigner* Designer, TKvTabSheet* Sheet)
{
    if (!Sheet)
        return;
    if (Sheet->ComponentState() & csAncestor)
        throw EInvalidOperation(QStringLiteral("Component was introduced in an ancestor form"));
    if (Designer)
        Designer->DeleteComponents({Sheet});
    else
        delete Sheet;
}

} // namespace KvCollectionEdit
