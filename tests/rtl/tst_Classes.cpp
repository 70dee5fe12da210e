#include "Classes.h"
#include "SysUtils.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

template <class E, class F>
std::string MessageOf(F&& Action)
{
    try {
        Action();
    } catch (const E& Error) {
        return Error.Message.toStdString();
    }
    return "<no exception>";
}

class TSampleFont : public TPersistent
{
    Q_OBJECT
public:
    using TPersistent::TPersistent;
};

class TSampleColumn : public TCollectionItem
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit TSampleColumn(TCollection* Collection = nullptr) : TCollectionItem(Collection) {}
    void Assign(TPersistent* Source) override
    {
        if (auto* Other = qobject_cast<TSampleColumn*>(Source))
            Width = Other->Width;
        else
            TCollectionItem::Assign(Source);
    }
    int Width = 0;
};

// The constructor is not invokable, so a collection cannot create it.
class TSampleHiddenItem : public TCollectionItem
{
    Q_OBJECT
public:
    explicit TSampleHiddenItem(TCollection* Collection) : TCollectionItem(Collection) {}
};

class TSampleComponent : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(TSampleFont* Font READ Font)
    Q_PROPERTY(TCollection* Columns READ Columns)
public:
    Q_INVOKABLE explicit TSampleComponent(TComponent* AOwner = nullptr)
        : TComponent(AOwner), FFont(new TSampleFont(this)), FColumns(new TCollection(&TSampleColumn::staticMetaObject, this))
    {
    }
    ~TSampleComponent() override
    {
        Log.append(GetName() + (Owner() ? QStringLiteral("(owned)") : QString()));
        delete FColumns;
    }
    TSampleFont* Font() const { return FFont; }
    TCollection* Columns() const { return FColumns; }

    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        if (Operation == TOperation::opRemove && AComponent == Ref)
            Ref = nullptr;
        TComponent::Notification(AComponent, Operation);
    }

    TComponent* Ref = nullptr;
    static QStringList Log;

private:
    TSampleFont* FFont;
    TCollection* FColumns;
};
QStringList TSampleComponent::Log;

class TSampleControl : public TSampleComponent
{
    Q_OBJECT
public:
    using TSampleComponent::TSampleComponent;
    bool HasParent() const override { return true; }
};

class TSampleNoCtor : public TComponent
{
    Q_OBJECT
public:
    explicit TSampleNoCtor(TComponent* AOwner) : TComponent(AOwner) {}
};

TSampleComponent* Make(TComponent* Owner, const QString& Name)
{
    auto* C = new TSampleComponent(Owner);
    C->SetName(Name);
    return C;
}

} // namespace

TEST(Components, OwnerDestroysOwnedLastFirstAfterDetaching)
{
    TSampleComponent::Log.clear();
    auto* Form = Make(nullptr, QStringLiteral("Form"));
    Make(Form, QStringLiteral("A"));
    auto* B = Make(Form, QStringLiteral("B"));
    Make(B, QStringLiteral("B1"));
    Make(Form, QStringLiteral("C"));
    delete Form;
    // Owned components are detached before their destructor runs; B1 goes with B.
    EXPECT_EQ(TSampleComponent::Log, QStringList({"Form", "C", "B", "B1", "A"}));
}

TEST(Components, DeletingAComponentTellsItsOwnerAndSiblings)
{
    TSampleComponent Form;
    auto* A = Make(&Form, QStringLiteral("A"));
    auto* B = Make(&Form, QStringLiteral("B"));
    auto* Deep = Make(A, QStringLiteral("Deep"));
    A->Ref = B;
    Deep->Ref = B;
    Form.Ref = B;
    delete B;
    EXPECT_EQ(A->Ref, nullptr);
    EXPECT_EQ(Deep->Ref, nullptr);
    EXPECT_EQ(Form.Ref, nullptr);
    EXPECT_EQ(Form.ComponentCount(), 1);
    EXPECT_EQ(Form.FindComponent(QStringLiteral("B")), nullptr);
}

TEST(Components, FreeNotificationCrossesOwnersBothWays)
{
    auto* Form1 = Make(nullptr, QStringLiteral("Form1"));
    auto* Form2 = Make(nullptr, QStringLiteral("Form2"));
    auto* A = Make(Form1, QStringLiteral("A"));
    auto* B = Make(Form2, QStringLiteral("B"));
    A->Ref = B;
    B->FreeNotification(A);
    delete Form2;
    EXPECT_EQ(A->Ref, nullptr);

    // The link is gone once either side dies: no call into a deleted component (ASan).
    auto* Form3 = Make(nullptr, QStringLiteral("Form3"));
    auto* C = Make(Form3, QStringLiteral("C"));
    C->FreeNotification(A);
    delete Form1;
    delete Form3;
}

TEST(Components, InsertComponentMovesBetweenOwnersUnlessTheNameClashes)
{
    TComponent Owner1, Owner2;
    auto* A = Make(&Owner1, QStringLiteral("A"));
    auto* Clash = Make(&Owner2, QStringLiteral("a"));
    EXPECT_EQ(MessageOf<EComponentError>([&] { Owner2.InsertComponent(A); }), "A component named A already exists");
    EXPECT_EQ(A->Owner(), &Owner1);
    EXPECT_EQ(Owner2.ComponentCount(), 1);

    delete Clash;
    Owner2.InsertComponent(A);
    EXPECT_EQ(A->Owner(), &Owner2);
    EXPECT_EQ(Owner1.ComponentCount(), 0);
    EXPECT_EQ(Owner1.FindComponent(QStringLiteral("A")), nullptr);
    EXPECT_EQ(Owner2.FindComponent(QStringLiteral("a")), A);
    EXPECT_THROW(A->InsertComponent(&Owner2), EComponentError); // would own its owner
}

TEST(Components, ComponentListIndexAndChildren)
{
    TComponent Form;
    auto* A = Make(&Form, QStringLiteral("A"));
    auto* Control = new TSampleControl(&Form);
    auto* C = Make(&Form, QStringLiteral("C"));
    C->SetComponentIndex(0);
    EXPECT_EQ(Form.Components(0), C);
    EXPECT_EQ(A->ComponentIndex(), 1);
    A->SetComponentIndex(99); // clamped
    EXPECT_EQ(Form.Components(2), A);
    EXPECT_EQ(Control->ComponentIndex(), 1);
    EXPECT_EQ(MessageOf<EListError>([&] { Form.Components(3); }), "List index out of bounds (3)");

    QList<TComponent*> Children;
    Form.GetChildren([&](TComponent* Child) { Children.append(Child); }, &Form);
    EXPECT_EQ(Children, QList<TComponent*>({C, A}));
    Children.clear();
    Form.GetChildren([&](TComponent* Child) { Children.append(Child); }, nullptr);
    EXPECT_TRUE(Children.isEmpty());

    Form.SetDesigning(true);
    EXPECT_TRUE(A->ComponentState() & csDesigning);
    auto* Late = new TComponent(A);
    EXPECT_TRUE(Late->ComponentState() & csDesigning);
    Form.SetDesigning(false);
    EXPECT_FALSE(Late->ComponentState() & csDesigning);
}

TEST(Names, ValidationAndUniquenessPerOwner)
{
    TComponent Form;
    auto* A = Make(&Form, QStringLiteral("Button1"));
    auto* B = new TComponent(&Form);
    for (const char* Bad : {"1abc", "a b", "a\u20acb", "a-b"})
        EXPECT_EQ(MessageOf<EComponentError>([&] { B->SetName(QString::fromUtf8(Bad)); }),
                  "'" + std::string(Bad) + "' is not a valid component name");
    EXPECT_EQ(MessageOf<EComponentError>([&] { B->SetName(QStringLiteral("BUTTON1")); }),
              "A component named BUTTON1 already exists");
    EXPECT_EQ(B->GetName(), QString());

    A->SetName(QStringLiteral("button1")); // a case change of its own name
    EXPECT_EQ(A->objectName(), QStringLiteral("button1"));
    B->SetName(QStringLiteral("_x9"));
    B->SetName(QString());
    B->SetName(QStringLiteral("Other"));

    // Another owner, or no owner, may reuse the name.
    TComponent Form2;
    Make(&Form2, QStringLiteral("Button1"));
    TComponent Free1, Free2;
    Free1.SetName(QStringLiteral("Button1"));
    Free2.SetName(QStringLiteral("Button1"));
}

TEST(Names, FindComponentFollowsRenames)
{
    TComponent Form;
    auto* A = Make(&Form, QStringLiteral("Edit1"));
    EXPECT_EQ(Form.FindComponent(QStringLiteral("EDIT1")), A);
    EXPECT_EQ(Form.FindComponent(QString()), nullptr);
    A->SetName(QStringLiteral("Name"));
    EXPECT_EQ(Form.FindComponent(QStringLiteral("Edit1")), nullptr);
    EXPECT_EQ(Form.FindComponent(QStringLiteral("name")), A);
    // The old name is free again.
    auto* B = Make(&Form, QStringLiteral("Edit1"));
    EXPECT_EQ(Form.FindComponent(QStringLiteral("edit1")), B);
    A->SetName(QString());
    EXPECT_EQ(Form.FindComponent(QStringLiteral("Name")), nullptr);
}

TEST(NamePaths, ComponentsSubObjectsAndCollectionItems)
{
    TSampleComponent Form;
    Form.SetName(QStringLiteral("Form1"));
    auto* Grid = Make(&Form, QStringLiteral("Grid1"));
    for (int I = 0; I < 3; ++I)
        Grid->Columns()->Add();
    EXPECT_EQ(Grid->GetNamePath(), QStringLiteral("Form1.Grid1"));
    EXPECT_EQ(Grid->Font()->GetNamePath(), QStringLiteral("Form1.Grid1.Font"));
    EXPECT_EQ(Grid->Columns()->PropName(), QStringLiteral("Columns"));
    EXPECT_EQ(Grid->Columns()->Items(2)->GetNamePath(), QStringLiteral("Form1.Grid1.Columns[2]"));

    // Sub-objects of an unnamed component fall back to class names.
    TSampleComponent Unnamed;
    EXPECT_EQ(Unnamed.GetNamePath(), QString());
    EXPECT_EQ(Unnamed.Font()->GetNamePath(), QStringLiteral("TSampleFont"));
    Unnamed.Columns()->Add();
    EXPECT_EQ(Unnamed.Columns()->Items(0)->GetNamePath(), QStringLiteral("TCollection[0]"));

    TSampleFont Loose(Form.Font()); // owned, but not held by a property
    EXPECT_EQ(Loose.GetNamePath(), QStringLiteral("Form1.Font.TSampleFont"));
}

TEST(Assign, UnsupportedAssignmentsRaise)
{
    TSampleComponent Form;
    EXPECT_EQ(MessageOf<EConvertError>([&] { Form.Font()->Assign(nullptr); }), "Cannot assign a nil to a TSampleFont");
    Form.SetDesignClassName(QStringLiteral("TForm1"));
    EXPECT_EQ(MessageOf<EConvertError>([&] { Form.Font()->Assign(&Form); }),
              "Cannot assign a TForm1 to a TSampleFont");
    EXPECT_EQ(MessageOf<EConvertError>([&] { Form.Columns()->Assign(Form.Font()); }),
              "Cannot assign a TSampleFont to a TCollection");
}

TEST(Collections, ItemsIndexesAndIDs)
{
    TCollection Columns(&TSampleColumn::staticMetaObject);
    for (int I = 0; I < 3; ++I)
        Columns.Add();
    TCollectionItem* First = Columns.Insert(0);
    EXPECT_EQ(First->ID(), 3);
    EXPECT_EQ(First->Index(), 0);
    EXPECT_TRUE(qobject_cast<TSampleColumn*>(First));
    Columns.Delete(1); // ID 0
    EXPECT_EQ(Columns.FindItemID(0), nullptr);
    EXPECT_EQ(Columns.Add()->ID(), 4); // IDs are not reused
    Columns.Items(3)->SetIndex(0);
    QList<int> IDs;
    for (int I = 0; I < Columns.Count(); ++I)
        IDs.append(Columns.Items(I)->ID());
    EXPECT_EQ(IDs, QList<int>({4, 3, 1, 2}));
    EXPECT_EQ(Columns.FindItemID(2), Columns.Items(3));

    EXPECT_EQ(MessageOf<EListError>([&] { Columns.Items(4); }), "List index out of bounds (4)");
    EXPECT_EQ(MessageOf<EListError>([&] { Columns.Items(0)->SetIndex(4); }), "List index out of bounds (4)");
    EXPECT_THROW(Columns.Insert(5), EListError);
    EXPECT_EQ(Columns.Count(), 4);

    // Items made directly join and leave on their own.
    auto* Direct = new TSampleColumn(&Columns);
    EXPECT_EQ(Direct->Index(), 4);
    delete Direct;
    EXPECT_EQ(Columns.Count(), 4);
    TCollection Other(&TSampleColumn::staticMetaObject);
    Columns.Items(0)->SetCollection(&Other);
    EXPECT_EQ(Columns.Count(), 3);
    EXPECT_EQ(Other.Items(0)->ID(), 0);
}

TEST(Collections, ItemClassMustBeCreatable)
{
    EXPECT_THROW(TCollection{&TComponent::staticMetaObject}, EComponentError);
    TCollection Hidden(&TSampleHiddenItem::staticMetaObject);
    EXPECT_THROW(Hidden.Add(), EComponentError);
    EXPECT_EQ(Hidden.Count(), 0);
    TCollection Plain(&TCollectionItem::staticMetaObject);
    EXPECT_THROW(Plain.Add()->SetCollection(&Hidden), EComponentError);
}

TEST(Collections, UpdatesAreReportedOnceOutsideBeginEndUpdate)
{
    TCollection Columns(&TSampleColumn::staticMetaObject);
    QSignalSpy Spy(&Columns, &TCollection::Changed);
    Columns.Add();
    EXPECT_EQ(Spy.count(), 1);

    Spy.clear();
    Columns.BeginUpdate();
    Columns.BeginUpdate();
    Columns.Add();
    Columns.Insert(0);
    Columns.Items(0)->SetIndex(2);
    Columns.Delete(0);
    Columns.EndUpdate();
    EXPECT_EQ(Spy.count(), 0);
    Columns.EndUpdate();
    ASSERT_EQ(Spy.count(), 1);
    EXPECT_EQ(Spy.at(0).at(0).value<TCollectionItem*>(), nullptr);

    Spy.clear();
    Columns.Items(1)->SetDisplayName(QStringLiteral("x"));
    ASSERT_EQ(Spy.count(), 1);
    EXPECT_EQ(Spy.at(0).at(0).value<TCollectionItem*>(), Columns.Items(1));
    Spy.clear();
    Columns.Clear();
    EXPECT_EQ(Spy.count(), 1);
}

TEST(Collections, AssignCopiesItems)
{
    TCollection Source(&TSampleColumn::staticMetaObject), Dest(&TSampleColumn::staticMetaObject);
    for (int Width : {10, 20})
        static_cast<TSampleColumn*>(Source.Add())->Width = Width;
    for (int I = 0; I < 5; ++I)
        Dest.Add();
    QSignalSpy Spy(&Dest, &TCollection::Changed);
    Dest.Assign(&Source);
    ASSERT_EQ(Dest.Count(), 2);
    EXPECT_EQ(static_cast<TSampleColumn*>(Dest.Items(0))->Width, 10);
    EXPECT_EQ(static_cast<TSampleColumn*>(Dest.Items(1))->Width, 20);
    EXPECT_EQ(Spy.count(), 1);
    EXPECT_EQ(Dest.UpdateCount(), 0);

    // A failing item assignment still ends the update.
    TCollection Plain(&TCollectionItem::staticMetaObject);
    Plain.Add();
    EXPECT_THROW(Dest.Assign(&Plain), EConvertError);
    EXPECT_EQ(Dest.UpdateCount(), 0);
}

TEST(Strings, TextListAndSignals)
{
    TStrings Lines;
    QSignalSpy Spy(&Lines, &TStrings::Changed);
    Lines.SetText(QStringLiteral("a\r\nb\rc\n\nd\n"));
    EXPECT_EQ(Lines.List(), QStringList({"a", "b", "c", "", "d"}));
    EXPECT_EQ(Lines.Text(), QStringLiteral("a\nb\nc\n\nd"));
    Lines.SetText(QStringLiteral("\n"));
    EXPECT_EQ(Lines.List(), QStringList({""}));
    Lines.SetText(QString());
    EXPECT_EQ(Lines.Count(), 0);
    EXPECT_EQ(Spy.count(), 3);

    Lines.Add(QStringLiteral("x"));
    Lines.Insert(0, QStringLiteral("w"));
    Lines.Delete(1);
    EXPECT_EQ(Lines.List(), QStringList({"w"}));
    EXPECT_EQ(MessageOf<EListError>([&] { Lines.Strings(1); }), "List index out of bounds (1)");
    EXPECT_THROW(Lines.Insert(2, QString()), EListError);

    TStrings Copy;
    Copy.Assign(&Lines);
    EXPECT_EQ(Copy.List(), Lines.List());
    EXPECT_THROW(Copy.Assign(nullptr), EConvertError);
}

TEST(Registry, LookupAndCreation)
{
    RegisterClasses({&TSampleComponent::staticMetaObject, &TSampleFont::staticMetaObject,
                     &TSampleNoCtor::staticMetaObject});
    RegisterClass<TSampleComponent>(); // again: no-op
    EXPECT_EQ(GetClass(QStringLiteral("tsamplecomponent")), &TSampleComponent::staticMetaObject);
    EXPECT_EQ(GetClass(QStringLiteral("TComponent")), &TComponent::staticMetaObject);
    EXPECT_EQ(GetClass(QStringLiteral("TSampleMissing")), nullptr);
    EXPECT_EQ(MessageOf<EClassNotFound>([] { FindClass(QStringLiteral("TSampleMissing")); }),
              "Class TSampleMissing not found");

    // Another class of the same name.
    static const QMetaObject Impostor = TSampleComponent::staticMetaObject;
    EXPECT_EQ(MessageOf<EFilerError>([] { RegisterClass(&Impostor); }), "A class named TSampleComponent already exists");
    UnRegisterClass(&Impostor); // not the registered one: ignored
    EXPECT_EQ(GetClass(QStringLiteral("TSampleComponent")), &TSampleComponent::staticMetaObject);

    TComponent Form;
    TComponent* Created = CreateComponent(QStringLiteral("TSAMPLECOMPONENT"), &Form);
    EXPECT_TRUE(qobject_cast<TSampleComponent*>(Created));
    EXPECT_EQ(Created->Owner(), &Form);
    EXPECT_EQ(Form.Components(0), Created);
    EXPECT_EQ(MessageOf<EFilerError>([&] { CreateComponent(QStringLiteral("TSampleFont"), &Form); }),
              "TSampleFont is not a component class");
    EXPECT_EQ(MessageOf<EFilerError>([&] { CreateComponent(QStringLiteral("TSampleNoCtor"), &Form); }),
              "Class TSampleNoCtor cannot be created");
    EXPECT_EQ(Form.ComponentCount(), 1);

    for (const QMetaObject* Class : {&TSampleComponent::staticMetaObject, &TSampleFont::staticMetaObject,
                                     &TSampleNoCtor::staticMetaObject})
        UnRegisterClass(Class);
    EXPECT_EQ(GetClass(QStringLiteral("TSampleComponent")), nullptr);
}

#include "tst_Classes.moc"
