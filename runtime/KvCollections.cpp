#include "KvCollections.h"

#include "SysUtils.h"

#include <QMetaEnum>

// ---------------------------------------------------------------------------------------------
// TKvCollection

TKvCollection::TKvCollection(const QMetaObject* ItemClass, TPersistent* AOwner) : TCollection(ItemClass, AOwner) {}

TKvCollection::~TKvCollection()
{
    delete FEditorWindow.data();
}

TKvCollectionItem* TKvCollection::GetItem(int Index) const
{
    return qobject_cast<TKvCollectionItem*>(Items(Index));
}

TKvCollectionItem* TKvCollection::AddItem()
{
    return qobject_cast<TKvCollectionItem*>(Add());
}

QString TKvCollection::DisplayText() const
{
    QString Name = PropName();
    if (Name.isEmpty())
        Name = ClassName();
    return QStringLiteral("%1: %2").arg(Name).arg(Count());
}

// ---------------------------------------------------------------------------------------------
// Items

TKvCollectionItem::TKvCollectionItem(TCollection* Collection)
    : TCollectionItem(Collection), FMemoryLabel(new TKvMemoryLabel(this)), FMemoryImage(new TKvMemoryImage(this))
{
    connect(FMemoryLabel, &TKvMemoryLabel::Changed, this, [this] { Changed(false); });
    connect(FMemoryImage, &TKvMemoryImage::Changed, this, [this] { Changed(false); });
}

void TKvCollectionItem::SetCaption(const QString& Value)
{
    if (Value == FCaption)
        return;
    FCaption = Value;
    Changed(false);
}

QString TKvCollectionItem::DisplayCaption() const
{
    if (FMemoryLabel->Label())
        return FMemoryLabel->Text();
    return FCaption;
}

QString TKvCollectionItem::GetDisplayName() const
{
    const QString Text = DisplayCaption();
    if (!Text.isEmpty())
        return Text;
    const QString Name = ClassName();
    return Name.startsWith(QLatin1Char('T')) ? Name.mid(1) : Name;
}

void TKvCollectionItem::Assign(TPersistent* Source)
{
    auto* Item = qobject_cast<TKvCollectionItem*>(Source);
    if (!Item) {
        TCollectionItem::Assign(Source);
        return;
    }
    FCaption = Item->FCaption;
    FMemoryLabel->Assign(Item->FMemoryLabel);
    FMemoryImage->Assign(Item->FMemoryImage);
    Changed(false);
}

TKvValueItem::TKvValueItem(TCollection* Collection) : TKvCollectionItem(Collection) {}

void TKvValueItem::SetValue(const Variant& Value)
{
    if (Value == FValue)
        return;
    FValue = Value;
    Changed(false);
}

QString TKvValueItem::GetDisplayName() const
{
    const QString Caption = DisplayCaption();
    if (FValue.IsEmpty() || FValue.IsNull())
        return TKvCollectionItem::GetDisplayName();
    return Caption.isEmpty() ? FValue.AsString() : FValue.AsString() + QStringLiteral(" - ") + Caption;
}

void TKvValueItem::Assign(TPersistent* Source)
{
    if (auto* Item = qobject_cast<TKvValueItem*>(Source))
        FValue = Item->FValue;
    TKvCollectionItem::Assign(Source);
}

TKvListItem::TKvListItem(TCollection* Collection) : TKvValueItem(Collection) {}

TKvListItems::TKvListItems(TPersistent* AOwner) : TKvCollection(&TKvListItem::staticMetaObject, AOwner) {}

TKvListItem* TKvListItems::Items(int Index) const
{
    return static_cast<TKvListItem*>(TCollection::Items(Index));
}

int TKvListItems::IndexOfValue(const Variant& Value) const
{
    for (int I = 0; I < Count(); ++I)
        if (Items(I)->GetValue() == Value)
            return I;
    return -1;
}

TKvTabControl::TKvTabControl(TCollection* Collection) : TKvValueItem(Collection) {}

void TKvTabControl::SetDescription(const QString& Value)
{
    if (Value == FDescription)
        return;
    FDescription = Value;
    Changed(false);
}

void TKvTabControl::SetPageId(int Value)
{
    if (Value < 0)
        throw EConvertError(QStringLiteral("%1 is not a valid page id").arg(Value));
    if (Value == FPageId)
        return;
    FPageId = Value;
    Changed(false);
}

void TKvTabControl::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    Changed(false);
}

void TKvTabControl::Assign(TPersistent* Source)
{
    if (auto* Tab = qobject_cast<TKvTabControl*>(Source)) {
        FDescription = Tab->FDescription;
        FPageId = Tab->FPageId;
        FVisible = Tab->FVisible;
    }
    TKvValueItem::Assign(Source);
}

TKvTabsControl::TKvTabsControl(TPersistent* AOwner) : TKvCollection(&TKvTabControl::staticMetaObject, AOwner) {}

TKvTabControl* TKvTabsControl::Items(int Index) const
{
    return static_cast<TKvTabControl*>(TCollection::Items(Index));
}

TKvTabControl* TKvTabsControl::FindPageId(int PageId) const
{
    if (PageId <= 0)
        return nullptr;
    for (int I = 0; I < Count(); ++I)
        if (Items(I)->PageId() == PageId)
            return Items(I);
    return nullptr;
}

TKvStatusBarPanel::TKvStatusBarPanel(TCollection* Collection) : TKvValueItem(Collection) {}

void TKvStatusBarPanel::SetDataType(TKvDataType Value)
{
    if (Value == FDataType)
        return;
    FDataType = Value;
    Changed(false);
}

void TKvStatusBarPanel::SetWidth(int Value)
{
    Value = qMax(0, Value);
    if (Value == FWidth)
        return;
    FWidth = Value;
    Changed(false);
}

void TKvStatusBarPanel::SetAlignment(KvTypes::TKvAlignment Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    Changed(false);
}

void TKvStatusBarPanel::Assign(TPersistent* Source)
{
    if (auto* Panel = qobject_cast<TKvStatusBarPanel*>(Source)) {
        FDataType = Panel->FDataType;
        FWidth = Panel->FWidth;
        FAlignment = Panel->FAlignment;
    }
    TKvValueItem::Assign(Source);
}

TKvStatusBarPanels::TKvStatusBarPanels(TPersistent* AOwner)
    : TKvCollection(&TKvStatusBarPanel::staticMetaObject, AOwner)
{
}

TKvStatusBarPanel* TKvStatusBarPanels::Items(int Index) const
{
    return static_cast<TKvStatusBarPanel*>(TCollection::Items(Index));
}

TKvDataSourceItem::TKvDataSourceItem(TCollection* Collection) : TKvCollectionItem(Collection) {}

void TKvDataSourceItem::SetDataSource(TComponent* Value)
{
    if (Value == FDataSource)
        return;
    FDataSource = Value;
    Changed(false);
}

QString TKvDataSourceItem::GetDisplayName() const
{
    if (FDataSource && !FDataSource->GetName().isEmpty())
        return FDataSource->GetName();
    return TKvCollectionItem::GetDisplayName();
}

void TKvDataSourceItem::Assign(TPersistent* Source)
{
    if (auto* Item = qobject_cast<TKvDataSourceItem*>(Source))
        FDataSource = Item->FDataSource;
    TKvCollectionItem::Assign(Source);
}

TKvDataSources::TKvDataSources(TPersistent* AOwner) : TKvCollection(&TKvDataSourceItem::staticMetaObject, AOwner) {}

TKvSetsGroupItem::TKvSetsGroupItem(TCollection* Collection)
    : TKvCollectionItem(Collection),
      FSetColor(new TKvSetColor(this)),
      FSetFont(new TKvSetFont(this)),
      FSetBackGround(new TKvSetBackGround(this))
{
}

void TKvSetsGroupItem::Assign(TPersistent* Source)
{
    if (auto* Item = qobject_cast<TKvSetsGroupItem*>(Source)) {
        FSetColor->Assign(Item->FSetColor);
        FSetFont->Assign(Item->FSetFont);
        FSetBackGround->Assign(Item->FSetBackGround);
    }
    TKvCollectionItem::Assign(Source);
}

TKvSetsGroupItems::TKvSetsGroupItems(TPersistent* AOwner)
    : TKvCollection(&TKvSetsGroupItem::staticMetaObject, AOwner)
{
}

TKvDbCommandItem::TKvDbCommandItem(TCollection* Collection) : TKvCollectionItem(Collection) {}

void TKvDbCommandItem::SetAction(KvTypes::TKvDbAction Value)
{
    if (Value == FAction)
        return;
    FAction = Value;
    Changed(false);
}

void TKvDbCommandItem::SetDataSource(TComponent* Value)
{
    if (Value == FDataSource)
        return;
    FDataSource = Value;
    Changed(false);
}

QString TKvDbCommandItem::GetDisplayName() const
{
    if (FAction != KvTypes::dbaNone && DisplayCaption().isEmpty())
        return QString::fromLatin1(QMetaEnum::fromType<KvTypes::TKvDbAction>().valueToKey(FAction));
    return TKvCollectionItem::GetDisplayName();
}

void TKvDbCommandItem::Assign(TPersistent* Source)
{
    if (auto* Item = qobject_cast<TKvDbCommandItem*>(Source)) {
        FAction = Item->FAction;
        FDataSource = Item->FDataSource;
    }
    TKvCollectionItem::Assign(Source);
}

TKvDbCommands::TKvDbCommands(TPersistent* AOwner) : TKvCollection(&TKvDbCommandItem::staticMetaObject, AOwner) {}
