#include "Classes.h"

#include "Filer.h"

#include "SysUtils.h"

#include <QHash>
#include <QMetaProperty>
#include <QMutex>
#include <QMutexLocker>

namespace {

[[noreturn]] void ListIndexError(qsizetype Index)
{
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

QString FoldName(QStringView Name)
{
    return FoldCase(Name);
}

class TUpdateGuard
{
public:
    explicit TUpdateGuard(TCollection* Collection) : FCollection(Collection) { FCollection->BeginUpdate(); }
    ~TUpdateGuard() { FCollection->EndUpdate(); }
    TUpdateGuard(const TUpdateGuard&) = delete;
    TUpdateGuard& operator=(const TUpdateGuard&) = delete;

private:
    TCollection* FCollection;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// TPersistent

TPersistent::TPersistent(QObject* parent) : QObject(parent) {}

void TPersistent::Assign(TPersistent* Source)
{
    if (!Source)
        AssignError(nullptr);
    Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) const
{
    Dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* Source) const
{
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                            .arg(Source ? Source->ClassName() : QStringLiteral("nil"), ClassName()));
}

TPersistent* TPersistent::GetOwner() const
{
    return qobject_cast<TPersistent*>(parent());
}

QString TPersistent::GetNamePath() const
{
    if (const TPersistent* Owner = GetOwner()) {
        const QString OwnerPath = Owner->GetNamePath();
        if (!OwnerPath.isEmpty()) {
            const QString Prop = FindPropertyName(Owner, this);
            return OwnerPath + u'.' + (Prop.isEmpty() ? ClassName() : Prop);
        }
    }
    return ClassName();
}

void TPersistent::DefineProperties(TFiler*) {}

bool TPersistent::IsPropertyStored(QStringView) const
{
    return true;
}

QString TPersistent::ClassName() const
{
    return QString::fromLatin1(metaObject()->className());
}

bool TPersistent::InheritsFrom(const QMetaObject* AClass) const
{
    return AClass && metaObject()->inherits(AClass);
}

QString TPersistent::FindPropertyName(const QObject* Owner, const QObject* Value)
{
    const QMetaObject* Meta = Owner->metaObject();
    for (int I = 0; I < Meta->propertyCount(); ++I) {
        const QMetaProperty Prop = Meta->property(I);
        if (!Prop.isReadable() || !(Prop.metaType().flags() & QMetaType::PointerToQObject))
            continue;
        if (Prop.read(Owner).value<QObject*>() == Value)
            return QString::fromLatin1(Prop.name());
    }
    return QString();
}

// ---------------------------------------------------------------------------------------------
// TComponent

void TComponent::DefineProperties(TFiler* Filer)
{
    TPersistent::DefineProperties(Filer);
    Filer->DefineProperty(
        QStringLiteral("Left"), [this](TReader* R) { FDesignLeft = int(R->ReadInteger()); },
        [this](TWriter* W) { W->WriteInteger(FDesignLeft); }, FDesignLeft != 0);
    Filer->DefineProperty(
        QStringLiteral("Top"), [this](TReader* R) { FDesignTop = int(R->ReadInteger()); },
        [this](TWriter* W) { W->WriteInteger(FDesignTop); }, FDesignTop != 0);
}

TComponent::TComponent(TComponent* AOwner) : TPersistent(nullptr)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    RemoveFreeNotifications();
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

void TComponent::Destroying()
{
    if (FComponentState & csDestroying)
        return;
    FComponentState |= csDestroying;
    for (TComponent* Component : std::as_const(FComponents))
        Component->Destroying();
}

void TComponent::DestroyComponents()
{
    while (!FComponents.isEmpty()) {
        TComponent* Instance = FComponents.last();
        // A living owner tells the others about components that asked for notifications (as a
        // designer does); a dying one only detaches, and the component's own destructor still
        // notifies the components linked to it.
        const bool Notify = !(FComponentState & csDestroying)
            && (!Instance->FFreeNotifies.isEmpty()
                || (FComponentState & (csDesigning | csInline)) == (csDesigning | csInline));
        if (Notify)
            RemoveComponent(Instance);
        else
            Remove(Instance);
        delete Instance;
    }
}

TComponent* TComponent::Components(int Index) const
{
    if (Index < 0 || Index >= FComponents.size())
        ListIndexError(Index);
    return FComponents.at(Index);
}

int TComponent::ComponentIndex() const
{
    return FOwner ? int(FOwner->FComponents.indexOf(const_cast<TComponent*>(this))) : -1;
}

void TComponent::SetComponentIndex(int Value)
{
    if (!FOwner)
        return;
    const int Current = ComponentIndex();
    const int Last = FOwner->ComponentCount() - 1;
    Value = qBound(0, Value, Last);
    if (Current >= 0 && Value != Current)
        FOwner->FComponents.move(Current, Value);
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner == this)
        return;
    for (const TComponent* Owner = this; Owner; Owner = Owner->FOwner)
        if (Owner == AComponent)
            throw EComponentError(QStringLiteral("A component cannot own itself"));
    if (!AComponent->FName.isEmpty() && FindComponent(AComponent->FName))
        throw EComponentError(QStringLiteral("A component named %1 already exists").arg(AComponent->FName));
    ValidateRename(AComponent, QString(), AComponent->FName);
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    if (FComponentState & csDesigning)
        AComponent->SetDesigning(true);
    Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    if (!AComponent || AComponent->FOwner != this)
        return;
    Notification(AComponent, TOperation::opRemove);
    if (AComponent->FOwner == this)
        Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent)
{
    FComponents.append(AComponent);
    if (!AComponent->FName.isEmpty())
        FNameIndex.insert(FoldName(AComponent->FName), AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent)
{
    if (!FComponents.isEmpty() && FComponents.last() == AComponent)
        FComponents.removeLast();
    else
        FComponents.removeOne(AComponent);
    if (!AComponent->FName.isEmpty()) {
        const auto It = FNameIndex.constFind(FoldName(AComponent->FName));
        if (It != FNameIndex.cend() && It.value() == AComponent)
            FNameIndex.erase(It);
    }
    AComponent->FOwner = nullptr;
}

TComponent* TComponent::FindComponent(const QString& AName) const
{
    if (AName.isEmpty())
        return nullptr;
    return FNameIndex.value(FoldName(AName));
}

bool TComponent::IsValidIdent(const QString& Ident)
{
    if (Ident.isEmpty())
        return false;
    // Letters beyond ASCII are letters too, as in the form files that name components so.
    for (qsizetype I = 0; I < Ident.size(); ++I) {
        const bool First = I == 0;
        char32_t C = Ident.at(I).unicode();
        if (QChar::isHighSurrogate(C) && I + 1 < Ident.size() && Ident.at(I + 1).isLowSurrogate())
            C = QChar::surrogateToUcs4(char16_t(C), Ident.at(++I).unicode());
        const bool Alpha = C == U'_' || QChar::isLetter(C);
        if (!Alpha && (First || !(QChar::isNumber(C) || QChar::isMark(C))))
            return false;
    }
    return true;
}

void TComponent::SetName(const QString& NewName)
{
    if (FName == NewName)
        return;
    if (!NewName.isEmpty() && !IsValidIdent(NewName))
        throw EComponentError(QStringLiteral("'%1' is not a valid component name").arg(NewName));
    if (FOwner)
        FOwner->ValidateRename(this, FName, NewName);
    else
        ValidateRename(nullptr, FName, NewName);
    ChangeName(NewName);
}

void TComponent::ChangeName(const QString& NewName)
{
    if (FOwner && !FName.isEmpty()) {
        const auto It = FOwner->FNameIndex.constFind(FoldName(FName));
        if (It != FOwner->FNameIndex.cend() && It.value() == this)
            FOwner->FNameIndex.erase(It);
    }
    FName = NewName;
    if (FOwner && !FName.isEmpty())
        FOwner->FNameIndex.insert(FoldName(FName), this);
    setObjectName(FName);
}

void TComponent::ValidateRename(TComponent* AComponent, const QString& CurName, const QString& NewName)
{
    if (AComponent && AComponent->FOwner == this && !NewName.isEmpty()
        && CurName.compare(NewName, Qt::CaseInsensitive) != 0) {
        const TComponent* Existing = FindComponent(NewName);
        if (Existing && Existing != AComponent)
            throw EComponentError(QStringLiteral("A component named %1 already exists").arg(NewName));
    }
    if ((FComponentState & csDesigning) && FOwner)
        FOwner->ValidateRename(AComponent, CurName, NewName);
}

void TComponent::SetDesigning(bool Value, bool SetChildren)
{
    if (Value)
        FComponentState |= csDesigning;
    else
        FComponentState &= ~TComponentState(csDesigning);
    if (SetChildren)
        for (TComponent* Component : std::as_const(FComponents))
            Component->SetDesigning(Value, true);
}

void TComponent::SetInline(bool Value)
{
    if (Value)
        FComponentState |= csInline;
    else
        FComponentState &= ~TComponentState(csInline);
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    if (!FFreeNotifies.contains(AComponent))
        FFreeNotifies.append(AComponent);
    if (!AComponent->FFreeNotifies.contains(this))
        AComponent->FFreeNotifies.append(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent)
        return;
    FFreeNotifies.removeAll(AComponent);
    AComponent->FFreeNotifies.removeAll(this);
}

void TComponent::RemoveFreeNotifications()
{
    // Unlinked before the call, so an override that skips the inherited Notification cannot
    // keep this loop going.
    while (!FFreeNotifies.isEmpty()) {
        TComponent* Component = FFreeNotifies.takeLast();
        Component->FFreeNotifies.removeAll(this);
        Component->Notification(this, TOperation::opRemove);
    }
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent)
        RemoveFreeNotification(AComponent);
    // Each component read would tell all those read before it: a form of thousands would take
    // quadratic time. Nothing reacts to an insertion while its owner is loading.
    if (Operation == TOperation::opInsert && (FComponentState & csLoading))
        return;
    // A receiver may add or remove components of this owner; keep the index in range.
    qsizetype I = FComponents.size() - 1;
    while (I >= 0) {
        FComponents.at(I)->Notification(AComponent, Operation);
        --I;
        if (I >= FComponents.size())
            I = FComponents.size() - 1;
    }
}

void TComponent::Loaded()
{
    FComponentState &= ~TComponentState(csLoading);
}

bool TComponent::HasParent() const
{
    return false;
}

TComponent* TComponent::GetParentComponent() const
{
    return nullptr;
}

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::GetChildren(const TGetChildProc& Proc, TComponent* Root) const
{
    if (Root != this)
        return;
    for (TComponent* Component : std::as_const(FComponents))
        if (!Component->HasParent())
            Proc(Component);
}

TComponent* TComponent::GetChildOwner() const
{
    return nullptr;
}

TComponent* TComponent::GetChildParent() const
{
    return const_cast<TComponent*>(this);
}

QString TComponent::ClassName() const
{
    return FDesignClassName.isEmpty() ? TPersistent::ClassName() : FDesignClassName;
}

QString TComponent::GetNamePath() const
{
    if (FName.isEmpty())
        return QString();
    if (FOwner) {
        const QString OwnerPath = FOwner->GetNamePath();
        if (!OwnerPath.isEmpty())
            return OwnerPath + u'.' + FName;
    }
    return FName;
}

TPersistent* TComponent::GetOwner() const
{
    return FOwner;
}

// ---------------------------------------------------------------------------------------------
// TCollectionItem

TCollectionItem::TCollectionItem(TCollection* Collection) : TPersistent(nullptr)
{
    // The item class cannot be checked yet: the derived part does not exist.
    if (Collection)
        Collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem()
{
    if (FCollection)
        FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value)
{
    if (FCollection == Value)
        return;
    if (Value && !metaObject()->inherits(Value->FItemClass))
        throw EComponentError(QStringLiteral("A %1 cannot be added to a collection of %2")
                                  .arg(ClassName(), QString::fromLatin1(Value->FItemClass->className())));
    if (FCollection)
        FCollection->RemoveItem(this);
    if (Value)
        Value->InsertItem(this);
}

int TCollectionItem::Index() const
{
    return FCollection ? int(FCollection->FItems.indexOf(const_cast<TCollectionItem*>(this))) : -1;
}

void TCollectionItem::SetIndex(int Value)
{
    const int Current = Index();
    if (Current < 0 || Current == Value)
        return;
    if (Value < 0 || Value >= FCollection->Count())
        ListIndexError(Value);
    FCollection->FItems.move(Current, Value);
    Changed(true);
}

QString TCollectionItem::GetDisplayName() const
{
    return ClassName();
}

void TCollectionItem::SetDisplayName(const QString&)
{
    Changed(false);
}

QString TCollectionItem::GetNamePath() const
{
    if (!FCollection)
        return ClassName();
    return QStringLiteral("%1[%2]").arg(FCollection->GetNamePath()).arg(Index());
}

TPersistent* TCollectionItem::GetOwner() const
{
    return FCollection;
}

void TCollectionItem::Changed(bool AllItems)
{
    if (FCollection && FCollection->FUpdateCount == 0)
        FCollection->Update(AllItems ? nullptr : this);
}

// ---------------------------------------------------------------------------------------------
// TCollection

TCollection::TCollection(const QMetaObject* ItemClass, TPersistent* AOwner)
    : TPersistent(nullptr), FItemClass(ItemClass), FOwner(AOwner)
{
    if (!::InheritsFrom(ItemClass, &TCollectionItem::staticMetaObject))
        throw EComponentError(QStringLiteral("%1 is not a collection item class")
                                  .arg(ItemClass ? QString::fromLatin1(ItemClass->className()) : QStringLiteral("nil")));
}

TCollection::~TCollection()
{
    FUpdateCount = 1; // no change reports while the items go
    while (!FItems.isEmpty())
        delete FItems.last();
}

TCollectionItem* TCollection::Items(int Index) const
{
    if (Index < 0 || Index >= FItems.size())
        ListIndexError(Index);
    return FItems.at(Index);
}

TCollectionItem* TCollection::Add()
{
    // The item's constructor joins silently; it is announced below, once fully constructed.
    FCreatingItem = true;
    QObject* Instance = nullptr;
    try {
        Instance = FItemClass->newInstance(Q_ARG(TCollection*, this));
    } catch (...) {
        FCreatingItem = false;
        throw;
    }
    const bool JoinedSilently = !FCreatingItem;
    FCreatingItem = false;
    if (!Instance)
        throw EComponentError(QStringLiteral("%1 has no invokable constructor taking (TCollection*)")
                                  .arg(QString::fromLatin1(FItemClass->className())));
    auto* Item = static_cast<TCollectionItem*>(Instance); // newInstance of a TCollectionItem class
    if (Item->FCollection != this) {
        Item->SetCollection(this);
    } else if (JoinedSilently) {
        Notify(Item, cnAdded);
        ChangedAll();
    }
    return Item;
}

TCollectionItem* TCollection::Insert(int Index)
{
    if (Index < 0 || Index > FItems.size())
        ListIndexError(Index);
    TUpdateGuard Guard(this);
    TCollectionItem* Item = Add();
    Item->SetIndex(Index);
    return Item;
}

void TCollection::Delete(int Index)
{
    TCollectionItem* Item = Items(Index);
    Notify(Item, cnDeleting);
    delete Item;
}

void TCollection::Clear()
{
    if (FItems.isEmpty())
        return;
    TUpdateGuard Guard(this);
    while (!FItems.isEmpty())
        delete FItems.last();
}

TCollectionItem* TCollection::FindItemID(int ID) const
{
    for (TCollectionItem* Item : FItems)
        if (Item->FID == ID)
            return Item;
    return nullptr;
}

void TCollection::BeginUpdate()
{
    ++FUpdateCount;
}

void TCollection::EndUpdate()
{
    Q_ASSERT(FUpdateCount > 0);
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        ChangedAll();
}

void TCollection::Assign(TPersistent* Source)
{
    if (auto* Other = qobject_cast<TCollection*>(Source)) {
        if (Other == this)
            return;
        TUpdateGuard Guard(this);
        Clear();
        for (TCollectionItem* Item : std::as_const(Other->FItems))
            Add()->Assign(Item);
        return;
    }
    TPersistent::Assign(Source);
}

TPersistent* TCollection::GetOwner() const
{
    return FOwner;
}

QString TCollection::GetNamePath() const
{
    if (FOwner) {
        const QString OwnerPath = FOwner->GetNamePath();
        const QString Prop = PropName();
        if (!OwnerPath.isEmpty() && !Prop.isEmpty())
            return OwnerPath + u'.' + Prop;
    }
    return ClassName();
}

QString TCollection::PropName() const
{
    return FOwner ? FindPropertyName(FOwner, this) : QString();
}

void TCollection::Update(TCollectionItem* Item)
{
    if (FUpdateCount == 0)
        emit Changed(Item);
}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::InsertItem(TCollectionItem* Item)
{
    FItems.append(Item);
    Item->FCollection = this;
    Item->FID = FNextID++;
    if (FCreatingItem) {
        FCreatingItem = false; // Add announces it
        return;
    }
    Notify(Item, cnAdded);
    ChangedAll();
}

void TCollection::RemoveItem(TCollectionItem* Item)
{
    Notify(Item, cnExtracting);
    FItems.removeOne(Item);
    Item->FCollection = nullptr;
    ChangedAll();
}

void TCollection::ChangedAll()
{
    if (FUpdateCount == 0)
        Update(nullptr);
}

// ---------------------------------------------------------------------------------------------
// TStrings

TStrings::TStrings(QObject* parent) : TPersistent(parent) {}

QString TStrings::Strings(int Index) const
{
    if (Index < 0 || Index >= FList.size())
        ListIndexError(Index);
    return FList.at(Index);
}

void TStrings::SetStrings(int Index, const QString& S)
{
    if (Index < 0 || Index >= FList.size())
        ListIndexError(Index);
    if (FList.at(Index) == S)
        return;
    FList[Index] = S;
    emit Changed();
}

void TStrings::Add(const QString& S)
{
    FList.append(S);
    emit Changed();
}

void TStrings::Insert(int Index, const QString& S)
{
    if (Index < 0 || Index > FList.size())
        ListIndexError(Index);
    FList.insert(Index, S);
    emit Changed();
}

void TStrings::Delete(int Index)
{
    if (Index < 0 || Index >= FList.size())
        ListIndexError(Index);
    FList.removeAt(Index);
    emit Changed();
}

void TStrings::Clear()
{
    if (FList.isEmpty())
        return;
    FList.clear();
    emit Changed();
}

QString TStrings::Text() const
{
    return FList.join(u'\n');
}

void TStrings::SetText(const QString& Value)
{
    QStringList Lines;
    if (!Value.isEmpty()) {
        QString S = Value;
        S.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        S.replace(u'\r', u'\n');
        Lines = S.split(u'\n');
        if (S.endsWith(u'\n'))
            Lines.removeLast();
    }
    SetList(Lines);
}

void TStrings::SetList(const QStringList& Value)
{
    if (FList == Value)
        return;
    FList = Value;
    emit Changed();
}

void TStrings::Assign(TPersistent* Source)
{
    if (auto* Other = qobject_cast<TStrings*>(Source)) {
        SetList(Other->FList);
        return;
    }
    TPersistent::Assign(Source);
}

void TStrings::DefineProperties(TFiler* Filer)
{
    TPersistent::DefineProperties(Filer);
    Filer->DefineProperty(
        QStringLiteral("Strings"),
        [this](TReader* Reader) {
            QStringList list;
            Reader->ReadListBegin();
            while (!Reader->EndOfList())
                list << Reader->ReadString();
            Reader->ReadListEnd();
            SetList(list);
        },
        [this](TWriter* Writer) {
            Writer->WriteListBegin();
            for (const QString& s : std::as_const(FList))
                Writer->WriteString(s);
            Writer->WriteListEnd();
        },
        !FList.isEmpty());
}

// ---------------------------------------------------------------------------------------------
// Class registry

namespace {

struct TClassRegistry
{
    TClassRegistry()
    {
        for (const QMetaObject* Class : {&TPersistent::staticMetaObject, &TComponent::staticMetaObject})
            Classes.insert(FoldName(QString::fromLatin1(Class->className())), Class);
    }

    QMutex Lock;
    QHash<QString, const QMetaObject*> Classes; // case-folded class name -> class
};

TClassRegistry& Registry()
{
    static TClassRegistry Instance;
    return Instance;
}

} // namespace

void RegisterClass(const QMetaObject* AClass)
{
    if (!AClass)
        return;
    QList<const QMetaObject*> Chain;
    for (const QMetaObject* Class = AClass; Class; Class = Class->superClass()) {
        Chain.append(Class);
        if (Class == &TPersistent::staticMetaObject || !Class->inherits(&TPersistent::staticMetaObject))
            break;
    }
    TClassRegistry& R = Registry();
    QMutexLocker Locker(&R.Lock);
    // All checked first, so that a clash leaves the registry as it was.
    for (const QMetaObject* Class : std::as_const(Chain)) {
        const QMetaObject* Known = R.Classes.value(FoldName(QString::fromLatin1(Class->className())));
        if (Known && Known != Class)
            throw EFilerError(QStringLiteral("A class named %1 already exists").arg(QString::fromLatin1(Class->className())));
    }
    for (const QMetaObject* Class : std::as_const(Chain))
        R.Classes.insert(FoldName(QString::fromLatin1(Class->className())), Class);
}

void RegisterClasses(std::initializer_list<const QMetaObject*> AClasses)
{
    for (const QMetaObject* Class : AClasses)
        RegisterClass(Class);
}

void UnRegisterClass(const QMetaObject* AClass)
{
    if (!AClass)
        return;
    TClassRegistry& R = Registry();
    QMutexLocker Locker(&R.Lock);
    const auto It = R.Classes.constFind(FoldName(QString::fromLatin1(AClass->className())));
    if (It != R.Classes.cend() && It.value() == AClass)
        R.Classes.erase(It);
}

const QMetaObject* GetClass(const QString& AClassName)
{
    TClassRegistry& R = Registry();
    QMutexLocker Locker(&R.Lock);
    return R.Classes.value(FoldName(AClassName));
}

const QMetaObject* FindClass(const QString& AClassName)
{
    const QMetaObject* Class = GetClass(AClassName);
    if (!Class)
        throw EClassNotFound(QStringLiteral("Class %1 not found").arg(AClassName));
    return Class;
}

TComponent* CreateComponent(const QString& AClassName, TComponent* AOwner)
{
    return CreateComponent(FindClass(AClassName), AOwner);
}

namespace {

// The constructor taking the owner, looked up once per class: finding it by its signature costs
// more than making a component.
int OwnerConstructor(const QMetaObject* AClass)
{
    static QMutex Mutex;
    static auto& Cache = *new QHash<const QMetaObject*, int>; // as long as the classes
    QMutexLocker Locker(&Mutex);
    const auto It = Cache.constFind(AClass);
    if (It != Cache.cend())
        return *It;
    QByteArray Signature(AClass->className());
    Signature.remove(0, Signature.lastIndexOf(':') + 1);
    Signature += "(TComponent*)";
    const int Index = AClass->indexOfConstructor(Signature.constData());
    Cache.insert(AClass, Index);
    return Index;
}

} // namespace

TComponent* CreateComponent(const QMetaObject* AClass, TComponent* AOwner)
{
    if (!AClass)
        throw EFilerError(QStringLiteral("Class nil cannot be created"));
    if (!InheritsFrom(AClass, &TComponent::staticMetaObject))
        throw EFilerError(QStringLiteral("%1 is not a component class").arg(QString::fromLatin1(AClass->className())));
    QObject* Instance = nullptr;
    if (const int Constructor = OwnerConstructor(AClass); Constructor >= 0) {
        void* Args[] = {&Instance, &AOwner};
        if (AClass->static_metacall(QMetaObject::CreateInstance, Constructor, Args) >= 0)
            Instance = nullptr;
    }
    if (!Instance)
        throw EFilerError(QStringLiteral("Class %1 cannot be created").arg(QString::fromLatin1(AClass->className())));
    return static_cast<TComponent*>(Instance);
}

bool InheritsFrom(const QMetaObject* AClass, const QMetaObject* ABase)
{
    return AClass && ABase && AClass->inherits(ABase);
}
