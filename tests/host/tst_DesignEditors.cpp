#include "DesignEditors.h"
#include "DesignRegistry.h"

#include "Classes.h"
#include "Controls.h"
#include "SysUtils.h"

#include <QPoint>

#include <gtest/gtest.h>

class TEdFont : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(QString Name MEMBER FName)
    Q_PROPERTY(int Size MEMBER FSize)
public:
    using TPersistent::TPersistent;
    QString FName = QStringLiteral("Tahoma");
    int FSize = 8;
};

class TEdControl : public TComponent
{
    Q_OBJECT
    Q_CLASSINFO("OnEnter", "TEnterEvent")
public:
    // Declared out of alphabetical order, as the value list must keep it.
    enum TAlign { alNone, alTop, alBottom, alClient };
    Q_ENUM(TAlign)
    enum TAnchorKind { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
    Q_DECLARE_FLAGS(TAnchors, TAnchorKind)
    Q_FLAG(TAnchors)
private:
    Q_PROPERTY(int Width MEMBER FWidth)
    Q_PROPERTY(short Small MEMBER FSmall)
    Q_PROPERTY(qint64 Big MEMBER FBig)
    Q_PROPERTY(int Count READ Count)
    Q_PROPERTY(QString Caption MEMBER FCaption)
    Q_PROPERTY(TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(TAnchors Anchors READ Anchors WRITE SetAnchors)
    Q_PROPERTY(bool Visible MEMBER FVisible)
    Q_PROPERTY(double Ratio MEMBER FRatio)
    Q_PROPERTY(QPoint Origin MEMBER FOrigin)
    Q_PROPERTY(TEdFont* Font READ Font)
    Q_PROPERTY(TEdControl* FocusControl READ FocusControl WRITE SetFocusControl)
    Q_PROPERTY(Variant Value MEMBER FValue)
    Q_PROPERTY(TMethod OnEnter MEMBER FOnEnter)
    Q_PROPERTY(TMethod OnClick MEMBER FOnClick)

public:
    Q_INVOKABLE explicit TEdControl(TComponent* AOwner = nullptr) : TComponent(AOwner), FFont(new TEdFont(this)) {}
    int Count() const { return 0; }
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value) { FAlign = Value; }
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value) { FAnchors = Value; }
    TEdFont* Font() const { return FFont; }
    TEdControl* FocusControl() const { return FFocus; }
    void SetFocusControl(TEdControl* Value) { FFocus = Value; }

    int FWidth = 0;
    short FSmall = 0;
    qint64 FBig = 0;
    QString FCaption;
    TAlign FAlign = alNone;
    TAnchors FAnchors;
    bool FVisible = true;
    double FRatio = 0;
    QPoint FOrigin;
    TEdFont* FFont;
    TEdControl* FFocus = nullptr;
    Variant FValue;
    TMethod FOnEnter;
    TMethod FOnClick;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TEdControl::TAnchors)

class TEdButton : public TEdControl
{
    Q_OBJECT
    Q_PROPERTY(TMethod OnChange MEMBER FOnChange)
public:
    using TEdControl::TEdControl;
    TMethod FOnChange;
};

// Shares Caption and Width with TEdControl, but not their place in the class, and has an Align
// of another type.
class TEdLabel : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(QString Align MEMBER FAlign)
    Q_PROPERTY(QString Caption MEMBER FCaption)
    Q_PROPERTY(int Width MEMBER FWidth)
public:
    using TComponent::TComponent;
    QString FAlign;
    QString FCaption;
    int FWidth = 0;
};

namespace {

class TFakeDesigner : public IDesigner
{
public:
    explicit TFakeDesigner(TComponent* Root) : FRoot(Root) {}

    int ModifiedCount = 0;
    QStringList Created; // "Name: EventType"
    QStringList Shown;
    TDesignerSelectionList Selection;

    void Modified() override { ++ModifiedCount; }
    TMethod CreateMethod(const QString& Name, const QString& EventType) override
    {
        Created << Name + QStringLiteral(": ") + EventType;
        return TMethod{Name};
    }
    QString GetMethodName(const TMethod& Method) const override { return Method.Name; }
    bool MethodExists(const QString&) const override { return false; }
    void ShowMethod(const QString& Name) override { Shown << Name; }
    TDesignerSelectionList GetSelections() const override { return Selection; }
    void SetSelections(const TDesignerSelectionList& List) override { Selection = List; }
    void SelectComponent(TPersistent* Instance) override { Selection = {Instance}; }
    QStringList GetComponentNames(const QMetaObject* Class) const override
    {
        QStringList Names;
        for (int I = 0; I < FRoot->ComponentCount(); ++I)
            if (FRoot->Components(I)->InheritsFrom(Class))
                Names << FRoot->Components(I)->GetName();
        return Names;
    }
    TComponent* GetComponent(const QString& Name) const override { return FRoot->FindComponent(Name); }
    TComponent* CreateComponent(const QMetaObject* Class, TComponent*, int, int, int, int) override
    {
        return ::CreateComponent(Class, FRoot);
    }
    QString UniqueName(const QString& BaseName) const override { return BaseName.mid(1) + QStringLiteral("1"); }
    TComponent* GetRoot() const override { return FRoot; }

private:
    TComponent* FRoot;
};

template <int N>
class TMarker : public TStringProperty
{
};

template <int N>
TPropertyEditorClass Marker()
{
    return PropertyEditorClass<TMarker<N>>();
}

const TPropInfo& Prop(const QMetaObject* Class, const char* Name)
{
    const TPropInfo* Info = GetPropInfo(Class, QString::fromLatin1(Name));
    if (!Info)
        throw EPropertyError(QStringLiteral("no property %1").arg(QString::fromLatin1(Name)));
    return *Info;
}

TPropertyEditorClass Found(const QMetaObject* Class, const char* Name)
{
    return FindPropertyEditorClass(Class, Prop(Class, Name));
}

QStringList Names(const std::vector<std::unique_ptr<TPropertyEditor>>& Editors)
{
    QStringList Result;
    for (const auto& Editor : Editors)
        Result << Editor->GetName();
    return Result;
}

class DesignEditors : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UnregisterAll();
        Root.SetName(QStringLiteral("Form1"));
        Button1->SetName(QStringLiteral("Button1"));
        Edit1->SetName(QStringLiteral("Edit1"));
        Label1->SetName(QStringLiteral("Label1"));
    }
    void TearDown() override { UnregisterAll(); }

    std::unique_ptr<TPropertyEditor> Editor(const QList<TPersistent*>& Selection, const char* Name)
    {
        return CreatePropertyEditor(&Designer, Selection, Prop(Selection.first()->metaObject(), Name));
    }

    TComponent Root;
    TEdButton* Button1 = new TEdButton(&Root);
    TEdControl* Edit1 = new TEdControl(&Root);
    TEdLabel* Label1 = new TEdLabel(&Root);
    TFakeDesigner Designer{&Root};
};

const QMetaObject* const Control = &TEdControl::staticMetaObject;
const QMetaObject* const Button = &TEdButton::staticMetaObject;
const QMetaObject* const Label = &TEdLabel::staticMetaObject;

} // namespace

// ---------------------------------------------------------------------------------------------
// Registration

TEST_F(DesignEditors, ClassRegistrationBeatsAnyClassAndTheNearestClassWins)
{
    RegisterPropertyEditor(QMetaType::fromType<int>(), Control, QString(), Marker<1>());
    RegisterPropertyEditor(QMetaType::fromType<int>(), nullptr, QString(), Marker<2>()); // later, but any class
    EXPECT_EQ(Found(Button, "Width"), Marker<1>());
    EXPECT_EQ(Found(Label, "Width"), Marker<2>());

    RegisterPropertyEditor(QMetaType::fromType<int>(), Button, QString(), Marker<3>());
    EXPECT_EQ(Found(Button, "Width"), Marker<3>());
    EXPECT_EQ(Found(Control, "Width"), Marker<1>());
}

TEST_F(DesignEditors, NamedRegistrationBeatsUnnamedAndLaterWinsATie)
{
    RegisterPropertyEditor(QMetaType::fromType<int>(), nullptr, QStringLiteral("width"), Marker<1>());
    RegisterPropertyEditor(QMetaType::fromType<int>(), nullptr, QString(), Marker<2>());
    EXPECT_EQ(Found(Control, "Width"), Marker<1>());
    EXPECT_EQ(Found(Control, "Tag"), Marker<2>());

    RegisterPropertyEditor(QMetaType::fromType<int>(), nullptr, QStringLiteral("Width"), Marker<3>());
    EXPECT_EQ(Found(Control, "Width"), Marker<3>());
    // A type's registration is for that type only.
    EXPECT_EQ(Found(Control, "Small"), PropertyEditorClass<TIntegerProperty>());
}

TEST_F(DesignEditors, ObjectPropertiesTakeTheNearestRegisteredClass)
{
    RegisterPropertyEditor(&TPersistent::staticMetaObject, nullptr, QString(), Marker<1>());
    EXPECT_EQ(Found(Control, "Font"), Marker<1>());
    EXPECT_EQ(Found(Control, "FocusControl"), Marker<1>());

    RegisterPropertyEditor(QMetaType::fromType<TComponent*>(), nullptr, QString(), Marker<2>());
    RegisterPropertyEditor(&TPersistent::staticMetaObject, nullptr, QString(), Marker<3>());
    EXPECT_EQ(Found(Control, "FocusControl"), Marker<2>());
    EXPECT_EQ(Found(Control, "Font"), Marker<3>());
}

TEST_F(DesignEditors, EnumerationsAreRegisteredByTheirOwnTypeAndEmptyClassesHide)
{
    RegisterPropertyEditor(QMetaType::fromType<TEdControl::TAlign>(), nullptr, QString(), Marker<1>());
    RegisterPropertyEditor(QMetaType::fromType<int>(), Control, QStringLiteral("Width"), TPropertyEditorClass());
    EXPECT_EQ(Found(Control, "Align"), Marker<1>());
    EXPECT_EQ(Found(Label, "Align"), PropertyEditorClass<TStringProperty>());

    const QStringList Shown = Names(GetEditorsForSelection({Edit1}, &Designer));
    EXPECT_TRUE(Shown.contains(QStringLiteral("Align")));
    EXPECT_FALSE(Shown.contains(QStringLiteral("Width")));
    EXPECT_TRUE(Names(GetEditorsForSelection({Label1}, &Designer)).contains(QStringLiteral("Width")));
}

TEST_F(DesignEditors, DefaultEditorFollowsThePropertyKind)
{
    const std::pair<const char*, TPropertyEditorClass> Expected[] = {
        {"Width", PropertyEditorClass<TIntegerProperty>()},   {"Big", PropertyEditorClass<TInt64Property>()},
        {"Ratio", PropertyEditorClass<TFloatProperty>()},     {"Caption", PropertyEditorClass<TStringProperty>()},
        {"Name", PropertyEditorClass<TComponentNameProperty>()}, {"Align", PropertyEditorClass<TEnumProperty>()},
        {"Anchors", PropertyEditorClass<TSetProperty>()},     {"Visible", PropertyEditorClass<TBoolProperty>()},
        {"Font", PropertyEditorClass<TClassProperty>()},      {"FocusControl", PropertyEditorClass<TComponentProperty>()},
        {"Value", PropertyEditorClass<TVariantProperty>()},   {"OnClick", PropertyEditorClass<TMethodProperty>()},
    };
    for (const auto& [Name, EditorClass] : Expected)
        EXPECT_EQ(Found(Control, Name), EditorClass) << Name;
}

TEST_F(DesignEditors, PaletteKeepsPageAndClassOrderAndRegistersForStreaming)
{
    RegisterComponents(QStringLiteral("Standard"), {Control, Label});
    RegisterComponents(QStringLiteral("Additional"), {Button});
    RegisterComponents(QStringLiteral("standard"), {&TEdButton::staticMetaObject, Control});
    EXPECT_EQ(PalettePages(), QStringList({QStringLiteral("Standard"), QStringLiteral("Additional")}));
    EXPECT_EQ(PaletteClasses(QStringLiteral("Standard")), QList<const QMetaObject*>({Control, Label, Button}));
    EXPECT_EQ(GetClass(QStringLiteral("TEdLabel")), Label);
    EXPECT_THROW(RegisterComponents(QStringLiteral("Standard"), {&TEdFont::staticMetaObject}), EComponentError);

    GroupDescendentsWith(Control, Control);
    EXPECT_EQ(ClassGroupOf(Button), Control);
    EXPECT_EQ(ClassGroupOf(Label), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Values

TEST_F(DesignEditors, WritesReachEverySelectedObjectAndModifyOnce)
{
    auto Caption = Editor({Button1, Edit1, Label1}, "Caption");
    Caption->SetValue(QStringLiteral("OK"));
    EXPECT_EQ(Button1->FCaption, QStringLiteral("OK"));
    EXPECT_EQ(Edit1->FCaption, QStringLiteral("OK"));
    EXPECT_EQ(Label1->FCaption, QStringLiteral("OK"));
    EXPECT_EQ(Designer.ModifiedCount, 1);

    auto Width = Editor({Button1, Label1}, "Width");
    Width->SetValue(QStringLiteral("$20"));
    EXPECT_EQ(Button1->FWidth, 32);
    EXPECT_EQ(Label1->FWidth, 32);
    EXPECT_EQ(Designer.ModifiedCount, 2);
}

TEST_F(DesignEditors, IntegerTextIsCheckedBeforeAnythingChanges)
{
    Edit1->FWidth = 7;
    auto Width = Editor({Edit1}, "Width");
    try {
        Width->SetValue(QStringLiteral("12a"));
        FAIL() << "accepted 12a";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message, QStringLiteral("'12a' is not a valid integer value"));
    }
    EXPECT_EQ(Edit1->FWidth, 7);
    EXPECT_EQ(Designer.ModifiedCount, 0);

    auto Small = Editor({Edit1}, "Small");
    EXPECT_THROW(Small->SetValue(QStringLiteral("32768")), EPropertyError);
    Small->SetValue(QStringLiteral("-32768"));
    EXPECT_EQ(Small->GetValue(), QStringLiteral("-32768"));

    auto Ratio = Editor({Edit1}, "Ratio");
    Ratio->SetValue(QStringLiteral("2.5"));
    EXPECT_EQ(Edit1->FRatio, 2.5);
    EXPECT_THROW(Ratio->SetValue(QStringLiteral("2,5")), EConvertError);
}

TEST_F(DesignEditors, NamedIntegersShowAndAcceptTheirNames)
{
    auto* Frame = new TFrame(&Root);
    auto Color = Editor({Frame}, "Color");
    EXPECT_EQ(Color->GetValue(), QStringLiteral("clWindow"));
    QStringList Values;
    Color->GetValues([&](const QString& S) { Values << S; });
    EXPECT_TRUE(Values.contains(QStringLiteral("clBtnFace")));
    Color->SetValue(QStringLiteral("clred"));
    EXPECT_EQ(Frame->FColor.Value, 0x0000FF);
    Color->SetValue(QStringLiteral("$00E0E0E0"));
    EXPECT_EQ(Color->GetValue(), QStringLiteral("14737632"));
    EXPECT_THROW(Color->SetValue(QStringLiteral("clNoSuchColour")), EConvertError);
}

TEST_F(DesignEditors, EnumerationListsNamesInDeclarationOrderAndAcceptsAnyCase)
{
    auto Align = Editor({Edit1}, "Align");
    QStringList Values;
    Align->GetValues([&](const QString& S) { Values << S; });
    EXPECT_EQ(Values, QStringList({"alNone", "alTop", "alBottom", "alClient"}));
    EXPECT_TRUE(Align->GetAttributes() & paValueList);

    Align->SetValue(QStringLiteral("ALCLIENT"));
    EXPECT_EQ(Edit1->FAlign, TEdControl::alClient);
    EXPECT_THROW(Align->SetValue(QStringLiteral("alMiddle")), EPropertyError);
    EXPECT_EQ(Edit1->FAlign, TEdControl::alClient);
    Align->Edit(); // double click moves on, past the end back to the first
    EXPECT_EQ(Align->GetValue(), QStringLiteral("alNone"));
}

TEST_F(DesignEditors, SetShowsMembersAndEachMemberChangesOnlyItsBit)
{
    Button1->FAnchors = TEdControl::akLeft | TEdControl::akBottom;
    Edit1->FAnchors = TEdControl::akRight;
    auto Anchors = Editor({Button1, Edit1}, "Anchors");
    EXPECT_EQ(Anchors->GetValue(), QStringLiteral("[akLeft,akBottom]"));
    EXPECT_FALSE(Anchors->AllEqual());

    std::vector<std::unique_ptr<TPropertyEditor>> Members;
    Anchors->GetProperties([&](std::unique_ptr<TPropertyEditor> E) { Members.push_back(std::move(E)); });
    EXPECT_EQ(Names(Members), QStringList({"akLeft", "akTop", "akRight", "akBottom"}));
    Members[1]->SetValue(QStringLiteral("True"));
    EXPECT_EQ(Button1->FAnchors, TEdControl::akLeft | TEdControl::akTop | TEdControl::akBottom);
    EXPECT_EQ(Edit1->FAnchors, TEdControl::akTop | TEdControl::akRight);
    EXPECT_EQ(Designer.ModifiedCount, 1);

    Anchors->SetValue(QStringLiteral("[akTop, akright]"));
    EXPECT_EQ(Edit1->FAnchors, TEdControl::akTop | TEdControl::akRight);
    EXPECT_THROW(Anchors->SetValue(QStringLiteral("[akUp]")), EPropertyError);
}

TEST_F(DesignEditors, AllEqualComparesEverySelectedValue)
{
    Button1->FWidth = 10;
    Edit1->FWidth = 20;
    auto Width = Editor({Button1, Edit1}, "Width");
    EXPECT_FALSE(Width->AllEqual());
    EXPECT_EQ(Width->GetVisualValue(), QString());
    Edit1->FWidth = 10;
    EXPECT_TRUE(Width->AllEqual());
    EXPECT_EQ(Width->GetVisualValue(), QStringLiteral("10"));
}

TEST_F(DesignEditors, ComponentReferenceGoesThroughTheDesigner)
{
    auto Focus = Editor({Button1}, "FocusControl");
    QStringList Values;
    Focus->GetValues([&](const QString& S) { Values << S; });
    EXPECT_EQ(Values, QStringList({"Button1", "Edit1"})); // controls only
    EXPECT_TRUE(Focus->GetAttributes() & paSortList);

    Focus->SetValue(QStringLiteral("Edit1"));
    EXPECT_EQ(Button1->FFocus, Edit1);
    EXPECT_THROW(Focus->SetValue(QStringLiteral("Edit9")), EPropertyError);
    EXPECT_THROW(Focus->SetValue(QStringLiteral("Label1")), EPropertyError); // not a control
    EXPECT_EQ(Button1->FFocus, Edit1);
    EXPECT_EQ(Focus->GetValue(), QStringLiteral("Edit1"));

    TComponent Form2;
    Form2.SetName(QStringLiteral("Form2"));
    auto* Other = new TEdControl(&Form2);
    Other->SetName(QStringLiteral("Edit9"));
    Button1->FFocus = Other;
    EXPECT_EQ(Focus->GetValue(), QStringLiteral("Form2.Edit9"));
    Focus->SetValue(QString());
    EXPECT_EQ(Button1->FFocus, nullptr);
}

TEST_F(DesignEditors, NameEditorRenamesOneComponentThroughItsChecks)
{
    auto Name = Editor({Edit1}, "Name");
    EXPECT_THROW(Name->SetValue(QStringLiteral("Button1")), EComponentError);
    EXPECT_THROW(Name->SetValue(QStringLiteral("1st")), EComponentError);
    EXPECT_EQ(Edit1->GetName(), QStringLiteral("Edit1"));
    Name->SetValue(QStringLiteral("EdFirst"));
    EXPECT_EQ(Root.FindComponent(QStringLiteral("EdFirst")), Edit1);
}

TEST_F(DesignEditors, SubObjectShowsItsClassAndEditsThroughSubProperties)
{
    auto Font = Editor({Button1, Edit1}, "Font");
    EXPECT_EQ(Font->GetValue(), QStringLiteral("(TEdFont)"));
    std::vector<std::unique_ptr<TPropertyEditor>> Subs;
    Font->GetProperties([&](std::unique_ptr<TPropertyEditor> E) { Subs.push_back(std::move(E)); });
    ASSERT_EQ(Names(Subs), QStringList({"Name", "Size"}));
    Subs[1]->SetValue(QStringLiteral("12"));
    EXPECT_EQ(Button1->FFont->FSize, 12);
    EXPECT_EQ(Edit1->FFont->FSize, 12);
    EXPECT_EQ(Designer.ModifiedCount, 1);
}

TEST_F(DesignEditors, VariantKeepsItsTypeWhenTheTextFits)
{
    auto Value = Editor({Edit1}, "Value");
    Value->SetValue(QStringLiteral("12"));
    EXPECT_EQ(Edit1->FValue, Variant(QStringLiteral("12")));
    Edit1->FValue = Variant(1);
    Value->SetValue(QStringLiteral("12"));
    EXPECT_EQ(Edit1->FValue, Variant(12));
    Value->SetValue(QStringLiteral("(Null)"));
    EXPECT_TRUE(Edit1->FValue.IsNull());
    Value->SetValue(QString());
    EXPECT_TRUE(Edit1->FValue.IsEmpty());
}

TEST_F(DesignEditors, EventEditCreatesTheNamedHandlerOnceAndShowsIt)
{
    auto OnEnter = Editor({Button1}, "OnEnter");
    OnEnter->Edit();
    EXPECT_EQ(Designer.Created, QStringList({"Button1Enter: TEnterEvent"}));
    EXPECT_EQ(Button1->FOnEnter.Name, QStringLiteral("Button1Enter"));
    OnEnter->Edit();
    EXPECT_EQ(Designer.Created.size(), 1);
    EXPECT_EQ(Designer.Shown, QStringList({"Button1Enter", "Button1Enter"}));
    EXPECT_EQ(Designer.ModifiedCount, 1);
    EXPECT_THROW(OnEnter->SetValue(QStringLiteral("Not valid")), EPropertyError);
}

// ---------------------------------------------------------------------------------------------
// Inspector rows

TEST_F(DesignEditors, RowsOfOneObjectLeaveOutUnknownAndReadOnlyValues)
{
    const QStringList Shown = Names(GetEditorsForSelection({Edit1}, &Designer));
    EXPECT_TRUE(Shown.contains(QStringLiteral("Name")));
    EXPECT_TRUE(Shown.contains(QStringLiteral("Font"))); // read-only, but an object
    EXPECT_FALSE(Shown.contains(QStringLiteral("Origin")));
    EXPECT_FALSE(Shown.contains(QStringLiteral("Count")));
}

TEST_F(DesignEditors, RowsOfSeveralObjectsAreTheCommonMultiSelectOnes)
{
    EXPECT_EQ(Names(GetEditorsForSelection({Edit1, Label1}, &Designer)), QStringList({"Tag", "Width", "Caption"}));
    const QStringList Controls = Names(GetEditorsForSelection({Button1, Edit1}, &Designer));
    EXPECT_FALSE(Controls.contains(QStringLiteral("Name")));
    EXPECT_FALSE(Controls.contains(QStringLiteral("OnChange"))); // the button's own
    EXPECT_TRUE(Controls.contains(QStringLiteral("Anchors")));
}

// ---------------------------------------------------------------------------------------------
// Component editors

namespace {

class TEdControlEditor : public TComponentEditor
{
public:
    using TComponentEditor::TComponentEditor;
    int GetVerbCount() const override { return 2; }
    QString GetVerb(int Index) const override { return Index == 0 ? QStringLiteral("Align &Left") : QStringLiteral("Clear"); }
    void ExecuteVerb(int Index) override { Executed << Index; }
    static inline QList<int> Executed;
};

} // namespace

TEST_F(DesignEditors, ComponentEditorOfTheNearestClassAndEditRunsTheFirstVerb)
{
    RegisterComponentEditor(Control, ComponentEditorClass<TEdControlEditor>());
    TEdControlEditor::Executed.clear();
    auto Editor = GetComponentEditor(Button1, &Designer);
    ASSERT_TRUE(dynamic_cast<TEdControlEditor*>(Editor.get()));
    EXPECT_EQ(Editor->Component(), Button1);
    Editor->Edit();
    EXPECT_EQ(TEdControlEditor::Executed, QList<int>({0}));
    EXPECT_TRUE(dynamic_cast<TDefaultEditor*>(GetComponentEditor(Label1, &Designer).get()));
}

TEST_F(DesignEditors, DefaultEditorPrefersOnChangeOverOnClickOverOtherEvents)
{
    GetComponentEditor(Button1, &Designer)->Edit();
    GetComponentEditor(Edit1, &Designer)->Edit();
    EXPECT_EQ(Designer.Created, QStringList({"Button1Change: TNotifyEvent", "Edit1Click: TNotifyEvent"}));
    EXPECT_EQ(Button1->FOnChange.Name, QStringLiteral("Button1Change"));
    EXPECT_EQ(Designer.ModifiedCount, 2);
}

#include "tst_DesignEditors.moc"
