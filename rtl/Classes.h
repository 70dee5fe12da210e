#pragma once

#include <QFlags>
#include <QHash>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <memory>

class TComponent;
class TFiler;
class TReader;
class TWriter;
struct TStreamRecord;

enum TComponentStateFlag {
    csLoading = 0x1,
    csReading = 0x2,
    csWriting = 0x4,
    csDestroying = 0x8,
    csDesigning = 0x10,
    csAncestor = 0x20,
    csUpdating = 0x40,
    csFixups = 0x80,
    csInline = 0x100,
    csDesignInstance = 0x200
};
Q_DECLARE_FLAGS(TComponentState, TComponentStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TComponentState)

enum class TOperation { opInsert, opRemove };

// An object that can be copied with Assign and named in the designer by its path.
class TPersistent : public QObject
{
    Q_OBJECT

public:
    // Sub-objects such as a font take their component as QObject parent, which is also their
    // owner for name paths.
    explicit TPersistent(QObject* parent = nullptr);

    // Source->AssignTo(this); raises EConvertError when neither side knows the other.
    virtual void Assign(TPersistent* Source);
    virtual TPersistent* GetOwner() const;
    // "Form1.Button1.Font": the owner's path and the owner's published property holding this.
    virtual QString GetNamePath() const;
    // Lets a class store data that is not a published property (the filer calls it).
    virtual void DefineProperties(TFiler* Filer);
    // Whether a published property is written at all as things stand (a form with a client size
    // does not write its outer size).
    virtual bool IsPropertyStored(QStringView Name) const;
    virtual QString ClassName() const;
    bool InheritsFrom(const QMetaObject* AClass) const;

    // How this object was written in the form it was read from (property order, values kept
    // as written), so that writing it again changes only what was edited. Null when not read
    // that way.
    TStreamRecord* StreamRecord() const { return FStreamRecord.get(); }
    void SetStreamRecord(std::shared_ptr<TStreamRecord> Value) { FStreamRecord = std::move(Value); }

protected:
    virtual void AssignTo(TPersistent* Dest) const;
    [[noreturn]] void AssignError(const TPersistent* Source) const;
    // The name of Owner's published object property whose value is Value, or "".
    static QString FindPropertyName(const QObject* Owner, const QObject* Value);

private:
    std::shared_ptr<TStreamRecord> FStreamRecord;
};

using TGetChildProc = std::function<void(TComponent*)>;

// A component owns the components created with it as owner and destroys them with itself.
// Ownership is explicit and separate from QObject parenthood (which stays null), so that the
// order of destruction and of notifications is under our control.
class TComponent : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ GetName WRITE SetName)
    Q_PROPERTY(int Tag READ GetTag WRITE SetTag)

    friend class TFiler;
    friend class TReader;
    friend class TWriter;

public:
    Q_INVOKABLE explicit TComponent(TComponent* AOwner = nullptr);
    // Notifications about a dying component are sent from here, when its derived parts are
    // gone: receivers may compare the pointer or read its Name, but not cast it. An owner
    // detaches each owned component before deleting it, so a dying owner (itself reduced to
    // a TComponent) is never called back by its owned components.
    ~TComponent() override;

    // Marks this component and everything it owns as csDestroying. The destructor calls it;
    // a derived destructor whose clean-up the owned components could observe calls it first.
    void Destroying();
    void DestroyComponents();

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return int(FComponents.size()); }
    TComponent* Components(int Index) const;
    int ComponentIndex() const;
    void SetComponentIndex(int Value);

    // Insertion takes the component from its previous owner; a name clash raises before
    // anything changes.
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Case-insensitive; names are unique per owner.
    TComponent* FindComponent(const QString& AName) const;

    QString GetName() const { return FName; }
    void SetName(const QString& NewName);
    int GetTag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    static bool IsValidIdent(const QString& Ident);

    TComponentState ComponentState() const { return FComponentState; }
    void SetComponentState(TComponentState Value) { FComponentState = Value; }
    void IncludeState(TComponentState Value) { FComponentState |= Value; }
    void ExcludeState(TComponentState Value) { FComponentState &= ~Value; }
    void SetDesigning(bool Value, bool SetChildren = true);
    void SetInline(bool Value);

    // Two-way link: each is told with Notification(opRemove) when the other is destroyed.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);
    // Overrides clear their references to a removed component and call the inherited one,
    // which passes the notification down to the owned components. An inserted component may
    // still be under construction.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void Loaded();

    // Visual containment, separate from ownership; used by the form reader and writer.
    virtual bool HasParent() const;
    virtual TComponent* GetParentComponent() const;
    virtual void SetParentComponent(TComponent* Value);
    // The components written as children of this one: for the root, the owned components
    // that have no parent, in owned order.
    virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root) const;
    virtual TComponent* GetChildOwner() const;
    virtual TComponent* GetChildParent() const;

    // A form of a class that is not registered (TForm1) is read into its registered ancestor
    // and remembers the class name to write.
    QString ClassName() const override;
    void SetDesignClassName(const QString& Value) { FDesignClassName = Value; }
    QString DesignClassName() const { return FDesignClassName; }

    // "Form1.Button1"; an unnamed component has no path.
    QString GetNamePath() const override;
    TPersistent* GetOwner() const override;

    // Where the designer shows a non-visual component; stored as Left and Top.
    int DesignLeft() const { return FDesignLeft; }
    int DesignTop() const { return FDesignTop; }
    void SetDesignPos(int Left, int Top)
    {
        FDesignLeft = Left;
        FDesignTop = Top;
    }
    void DefineProperties(TFiler* Filer) override;

protected:
    // Called on the owner before a rename (and on insertion); raises to veto. The default
    // rejects a name already used by another component of this owner; while designing, the
    // owner's owner is asked as well.
    virtual void ValidateRename(TComponent* AComponent, const QString& CurName, const QString& NewName);

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void ChangeName(const QString& NewName);
    void RemoveFreeNotifications();

    TComponent* FOwner = nullptr;
    QList<TComponent*> FComponents;
    QHash<QString, TComponent*> FNameIndex; // case-folded name -> owned component
    QList<TComponent*> FFreeNotifies;
    QString FName;
    int FTag = 0;
    int FDesignLeft = 0;
    int FDesignTop = 0;
    TComponentState FComponentState;
    QString FDesignClassName;
};

class TCollection;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent
{
    Q_OBJECT
    friend class TCollection;

public:
    // Joins Collection (appended). Every item class has such an invokable constructor, which
    // TCollection::Add uses.
    Q_INVOKABLE explicit TCollectionItem(TCollection* Collection = nullptr);
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    void SetCollection(TCollection* Value);
    int Index() const;
    void SetIndex(int Value);
    // Unique within the collection and never reused, so it survives moves and deletions.
    int ID() const { return FID; }

    virtual QString GetDisplayName() const;
    virtual void SetDisplayName(const QString& Value);

    // "Form1.Grid1.Columns[2]"
    QString GetNamePath() const override;
    TPersistent* GetOwner() const override;

protected:
    void Changed(bool AllItems);

private:
    TCollection* FCollection = nullptr;
    int FID = 0;
};

// Items are owned by the collection. The collection's owner (for name paths) is not its
// QObject parent: the owning component deletes its collections in its own destructor, while
// it is still whole, so that the collection's notifications never reach a dying owner.
class TCollection : public TPersistent
{
    Q_OBJECT
    friend class TCollectionItem;

public:
    explicit TCollection(const QMetaObject* ItemClass, TPersistent* AOwner = nullptr);
    ~TCollection() override;

    const QMetaObject* ItemClass() const { return FItemClass; }
    int Count() const { return int(FItems.size()); }
    TCollectionItem* Items(int Index) const;
    TCollectionItem* Add();
    TCollectionItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    TCollectionItem* FindItemID(int ID) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // From another collection: the items are recreated and assigned one by one.
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override;
    QString GetNamePath() const override;
    QString PropName() const;

signals:
    // Item is null when any or all items changed.
    void Changed(TCollectionItem* Item);

protected:
    virtual void Update(TCollectionItem* Item);
    virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);

private:
    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);
    void ChangedAll();

    const QMetaObject* FItemClass;
    TPersistent* FOwner;
    QList<TCollectionItem*> FItems;
    int FNextID = 0;
    int FUpdateCount = 0;
    bool FCreatingItem = false;
};

// A list of strings as a sub-object (a memo's Lines).
class TStrings : public TPersistent
{
    Q_OBJECT

public:
    explicit TStrings(QObject* parent = nullptr);

    int Count() const { return int(FList.size()); }
    QString Strings(int Index) const;
    void SetStrings(int Index, const QString& S);
    void Add(const QString& S);
    void Insert(int Index, const QString& S);
    void Delete(int Index);
    void Clear();
    // Lines joined with "\n", without a final line break.
    QString Text() const;
    // Splits at "\r\n", "\n" and "\r"; a final line break does not start another line.
    void SetText(const QString& Value);
    const QStringList& List() const { return FList; }
    void SetList(const QStringList& Value);

    void Assign(TPersistent* Source) override;
    // Streamed as "Strings", a list of strings.
    void DefineProperties(TFiler* Filer) override;

signals:
    void Changed();

private:
    QStringList FList;
};

// Class registry: names are looked up case-insensitively. Registering a class registers its
// ancestors up to TPersistent, so a form of an unregistered class can be read into one of them.
void RegisterClass(const QMetaObject* AClass);
template <class T>
void RegisterClass()
{
    RegisterClass(&T::staticMetaObject);
}
void RegisterClasses(std::initializer_list<const QMetaObject*> AClasses);
void UnRegisterClass(const QMetaObject* AClass);
const QMetaObject* GetClass(const QString& AClassName);
const QMetaObject* FindClass(const QString& AClassName);
// The class needs a Q_INVOKABLE constructor taking exactly (TComponent*).
TComponent* CreateComponent(const QString& AClassName, TComponent* AOwner);
TComponent* CreateComponent(const QMetaObject* AClass, TComponent* AOwner);
bool InheritsFrom(const QMetaObject* AClass, const QMetaObject* ABase);
