#include "registration/KvCompEditors.h"
#include "registration/KvCtrlsReg.h"
#include "registration/KvPropEditors.h"
#include "registration/KvReg.h"

#include "Controls.h"
#include "DesignRegistry.h"
#include "KvApplication.h"
#include "registration/KvRegClasses.h"
#include "KvCollections.h"
#include "KvDbCtrls.h"
#include "DB.h"
#include "KvDesignHooks.h"
#include "KvGraphics.h"
#include "KvMenus.h"
#include "KvMessages.h"
#include "KvStdCtrls.h"
#include "ToolsAPI.h"
#include "TypInfo.h"

#include <QFile>
#include <QtEndian>
#include <QSet>
#include <gtest/gtest.h>

#include <memory>

namespace {

// ---------------------------------------------------------------------------------------------
// A host with one open form whose designer records what it is asked.

class RecordingDesigner : public IDesigner
{
public:
    TComponent* Root = nullptr;
    int ModifiedCount = 0;
    QStringList CreatedMethods;
    QString CreatedEventType;
    QString Shown;
    TPersistent* Selected = nullptr;
    QList<int> CreateBounds;
    TComponent* CreateParent = nullptr;

    void Modified() override { ++ModifiedCount; }
    TMethod CreateMethod(const QString& Name, const QString& EventType) override
    {
        CreatedMethods << Name;
        CreatedEventType = EventType;
        return TMethod{Name};
    }
    QString GetMethodName(const TMethod& Method) const override { return Method.Name; }
    bool MethodExists(const QString& Name) const override { return CreatedMethods.contains(Name); }
    void ShowMethod(const QString& Name) override { Shown = Name; }
    TDesignerSelectionList GetSelections() const override { return {Selected}; }
    void SetSelections(const TDesignerSelectionList& List) override { Selected = List.value(0); }
    void SelectComponent(TPersistent* Instance) override { Selected = Instance; }
    QStringList GetComponentNames(const QMetaObject*) const override { return {}; }
    TComponent* GetComponent(const QString& Name) const override { return Root->FindComponent(Name); }
    TComponent* CreateComponent(const QMetaObject* AClass, TComponent* Parent, int Left, int Top, int Width,
                                int Height) override
    {
        CreateParent = Parent;
        CreateBounds = {Left, Top, Width, Height};
        return ::CreateComponent(AClass, Root);
    }
    QString UniqueName(const QString& BaseName) const override { return BaseName.mid(1) + QStringLiteral("1"); }
    TComponent* GetRoot() const override { return Root; }
};

class FormEditor : public IOTAFormEditor
{
public:
    TComponent* Root = nullptr;
    RecordingDesigner Designer;
    QString FileName() const override { return QStringLiteral("/work/demo/Main.dfm"); }
    IOTAModule* Module() const override { return nullptr; }
    TComponent* GetRootComponent() const override { return Root; }
    IDesigner* GetDesigner() const override { return const_cast<RecordingDesigner*>(&Designer); }
    bool IsModified() const override { return false; }
    QByteArray GetFormStream() override { return {}; }
};

class UnitModule : public IOTAModule
{
public:
    FormEditor Form;
    QString FileName() const override { return QStringLiteral("/work/demo/Main.pas"); }
    int GetModuleFileCount() const override { return 1; }
    IOTAEditor* GetModuleFileEditor(int) const override { return const_cast<FormEditor*>(&Form); }
    bool CloseModule(bool) override { return false; }
};

class Project : public IOTAProject
{
public:
    QString FileName() const override { return QStringLiteral("/work/demo/Demo.dpr"); }
    int GetModuleFileCount() const override { return 0; }
    IOTAEditor* GetModuleFileEditor(int) const override { return nullptr; }
    bool CloseModule(bool) override { return false; }
    int GetModuleCount() const override { return 0; }
    IOTAModuleInfo* GetModule(int) const override { return nullptr; }
};

class ProjectGroup : public IOTAProjectGroup
{
public:
    Project Active;
    QString FileName() const override { return QString(); }
    int GetModuleFileCount() const override { return 0; }
    IOTAEditor* GetModuleFileEditor(int) const override { return nullptr; }
    bool CloseModule(bool) override { return false; }
    IOTAProject* ActiveProject() const override { return const_cast<Project*>(&Active); }
};

class Host : public IBorlandIDEServices, public IOTAModuleServices
{
public:
    ProjectGroup Group;
    UnitModule Unit;
    IOTAModuleServices* ModuleServices() const override { return const_cast<Host*>(this); }
    int ModuleCount() const override { return 2; }
    IOTAModule* Modules(int Index) const override
    {
        return Index == 0 ? static_cast<IOTAModule*>(const_cast<ProjectGroup*>(&Group))
                          : const_cast<UnitModule*>(&Unit);
    }
    IOTAModule* FindModule(const QString&) const override { return nullptr; }
};

// The package loaded and registered once per test program, as the host does.
void LoadPackage()
{
    static const bool Loaded = [] {
        KvCtrlsRegInitialization();
        UnregisterAll();
        Register();
        return true;
    }();
    Q_UNUSED(Loaded);
}

class KvRegHooks : public ::testing::Test
{
protected:
    Host FHost;
    std::unique_ptr<TForm> FForm;
    RecordingDesigner& Designer() { return FHost.Unit.Form.Designer; }

    void SetUp() override
    {
        LoadPackage();
        FForm = std::make_unique<TForm>();
        FForm->SetName(QStringLiteral("Form1"));
        FForm->SetDesigning(true);
        FHost.Unit.Form.Root = FForm.get();
        Designer().Root = FForm.get();
        BorlandIDEServices = &FHost;
    }
    void TearDown() override
    {
        BorlandIDEServices = nullptr;
        FForm.reset();
    }

    template <class T>
    T* Add(TComponent* Owner, const QString& Name = QString())
    {
        auto* C = new T(Owner);
        if (!Name.isEmpty())
            C->SetName(Name);
        C->SetDesigning(true);
        return C;
    }
};

// A component the package does not know, publishing every type the "any component" rows serve.
class TProbe : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(TKvMultiLine Lines MEMBER FLines)
    Q_PROPERTY(TKvMask* Mask MEMBER FMask)
    Q_PROPERTY(TKvMemoryImage* Image MEMBER FImage)
    Q_PROPERTY(TKvMemoryLabel* Label MEMBER FLabel)
    Q_PROPERTY(TKvMemoryMessage* Message MEMBER FMessage)
    Q_PROPERTY(TKvMemoryText* Text MEMBER FText)
    Q_PROPERTY(TKvSetFont* SetFont MEMBER FSetFont)
    Q_PROPERTY(TKvSetBackGround* SetBackGround MEMBER FSetBackGround)
    Q_PROPERTY(TKvSetColor* SetColor MEMBER FSetColor)
    Q_PROPERTY(TKvPrivilege* Privilege MEMBER FPrivilege)

    TKvMultiLine FLines;
    TKvMask* FMask = nullptr;
    TKvMemoryImage* FImage = nullptr;
    TKvMemoryLabel* FLabel = nullptr;
    TKvMemoryMessage* FMessage = nullptr;
    TKvMemoryText* FText = nullptr;
    TKvSetFont* FSetFont = nullptr;
    TKvSetBackGround* FSetBackGround = nullptr;
    TKvSetColor* FSetColor = nullptr;
    TKvPrivilege* FPrivilege = nullptr;
};

const TPropInfo* FindProperty(const QMetaObject* Class, const TKvPropertyEditorRow& Row)
{
    if (!Row.PropertyName.isEmpty())
        return GetPropInfo(Class, Row.PropertyName);
    for (const TPropInfo& P : GetPropList(Class)) {
        const bool Fits = Row.TypeClass ? (P.ClassType && InheritsFrom(P.ClassType, Row.TypeClass))
                                        : P.Prop.metaType() == Row.Type;
        if (Fits)
            return &P;
    }
    return nullptr;
}

QList<const QMetaObject*> AllPaletteClasses()
{
    QList<const QMetaObject*> All;
    for (const QString& Page : PalettePages())
        All << PaletteClasses(Page);
    return All;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The registry after Register

TEST(KvReg, PalettePagesAndTheirClassesInOrder)
{
    LoadPackage();
    ASSERT_EQ(PalettePages(), QStringList({"Kv Standard", "Kv Additional", "Kv Data Controls", "Kv Editors"}));
    auto Names = [](const QString& Page) {
        QStringList N;
        for (const QMetaObject* C : PaletteClasses(Page))
            N << QString::fromLatin1(C->className());
        return N;
    };
    EXPECT_EQ(Names("Kv Standard"),
              QStringList({"TKvCApplication", "TKvCForm",        "TKvMainMenu",   "TKvPopupMenu",     "TKvLabel",
                           "TKvEdit",         "TKvComboBox",     "TKvListBox",    "TKvMemo",          "TKvRichEdit",
                           "TKvImage",        "TKvFocusImage",   "TKvCheckBox",   "TKvRadioButton",   "TKvGroupBox",
                           "TKvRadioGroup",   "TKvPanel",        "TKvScrollBox",  "TKvPageControl",   "TKvBitBtn",
                           "TKvSpeedButton",  "TKvPkgImage",     "TKvShape",      "TKvUpDown",        "TKvUpDownEx"}));
    EXPECT_EQ(Names("Kv Additional"),
              QStringList({"TKvPkgImages",     "TKvPkgStrings",   "TKvPkgVars",      "TKvMemoBar",     "TKvRichEditBar",
                           "TKvImageBar",      "TKvStatusBar",    "TKvSplitter",     "TKvProgressBar", "TKvTimer",
                           "TKvThreadTimer",   "TKvImageForm",    "TKvMoveForm",     "TKvPanelMenu",   "TKvOutLookBar",
                           "TKvPkgPrivileges", "TKvLBPrivileges", "TKvSetsGroup",    "TKvRuler",       "TKvCBuffer",
                           "TKvFontComboBox",  "TKvFontListBox",  "TKvExtScrollBar", "TKvCFrame"}));
    EXPECT_EQ(Names("Kv Data Controls"),
              QStringList({"TKvDbLabel", "TKvDbEdit", "TKvDbComboBox", "TKvDbListBox", "TKvDbMemo", "TKvDbRichEdit",
                           "TKvDbImage", "TKvDbFocusImage", "TKvDbCheckBox", "TKvDbRadioGroup", "TKvDbPageControl",
                           "TKvDbNavigator", "TKvDbBitBtn", "TKvDbSpeedButton", "TKvDbPkgImage"}));
    EXPECT_EQ(Names("Kv Editors"),
              QStringList({"TKvLBSetsColor", "TKvCBSetsColor", "TKvLBSetsBackGround", "TKvCBSetsBackGround",
                           "TKvLBSetsFont", "TKvCBSetsFont", "TKvLBPkgImages", "TKvCBPkgImages", "TKvLBColors",
                           "TKvCBColors", "TKvCBPrinters", "TKvPkgImagesAdd", "TKvPkgImagesDesignRgn"}));
}

// Every row must reach its editor through the host's own lookup, on a real property of the
// class: a wrong property type, a missing property or a later row shadowing it fails here.
TEST(KvReg, EveryPropertyEditorRowResolvesToItsEditor)
{
    LoadPackage();
    const QList<TKvPropertyEditorRow>& Rows = KvPropertyEditorRows();
    ASSERT_EQ(Rows.size(), 82);
    const QList<const QMetaObject*> Palette = AllPaletteClasses();
    for (int N = 1; N <= Rows.size(); ++N) {
        const TKvPropertyEditorRow& Row = Rows.at(N - 1);
        SCOPED_TRACE(QStringLiteral("row %1 %2").arg(N).arg(Row.EditorName).toStdString());
        EXPECT_NE(QByteArray(Row.EditorClass.Type.name()).indexOf(Row.EditorName.toLatin1()), -1);
        QList<const QMetaObject*> Classes;
        if (Row.ComponentClass)
            Classes << Row.ComponentClass;
        else {
            Classes << &TProbe::staticMetaObject;
            for (const QMetaObject* C : Palette)
                if (FindProperty(C, Row))
                    Classes << C;
        }
        for (const QMetaObject* C : Classes) {
            const TPropInfo* Prop = FindProperty(C, Row);
            ASSERT_TRUE(Prop) << C->className() << " has no such property";
            EXPECT_TRUE(FindPropertyEditorClass(C, *Prop) == Row.EditorClass) << C->className();
        }
    }
}

TEST(KvReg, PageControlCollectionsOpenTheirOwnEditorButDataPageControlsTheGeneralOne)
{
    LoadPackage();
    TKvPropertyEditorRow Collections{};
    Collections.TypeClass = &TKvCollection::staticMetaObject;
    const TPropInfo* Tabs = FindProperty(&TKvPageControl::staticMetaObject, Collections);
    const TPropInfo* DbTabs = FindProperty(&TKvDbPageControl::staticMetaObject, Collections);
    ASSERT_TRUE(Tabs && DbTabs);
    EXPECT_TRUE(FindPropertyEditorClass(&TKvPageControl::staticMetaObject, *Tabs) ==
                PropertyEditorClass<TKvCollPageControlPropertyEditor>());
    EXPECT_TRUE(FindPropertyEditorClass(&TKvDbPageControl::staticMetaObject, *DbTabs) ==
                PropertyEditorClass<TKvCollectionPropertyEditor>());
}

TEST(KvReg, ComponentEditors)
{
    LoadPackage();
    const std::pair<const char*, std::type_index> Expected[] = {
        {"TKvCApplication", typeid(TKvCApplicationComponentEditor)},
        {"TKvMainMenu", typeid(TKvMainMenuComponentEditor)},
        {"TKvPopupMenu", typeid(TKvPopupMenuComponentEditor)},
        {"TKvPanelMenu", typeid(TKvPanelMenuComponentEditor)},
        {"TKvPkgImages", typeid(TKvPkgImagesComponentEditor)},
        {"TKvPkgStrings", typeid(TKvPkgStringsComponentEditor)},
        {"TKvPkgVars", typeid(TKvPkgVarsComponentEditor)},
        {"TKvPageControl", typeid(TKvPageControlComponentEditor)},
        {"TKvOutLookBar", typeid(TKvOutLookBarComponentEditor)},
        {"TKvOutLookBarPage", typeid(TKvOutLookBarPageComponentEditor)},
        {"TKvLabel", typeid(TDefaultEditor)},
    };
    for (const auto& [ClassName, Editor] : Expected) {
        std::unique_ptr<TComponent> C(CreateComponent(QString::fromLatin1(ClassName), nullptr));
        ASSERT_TRUE(C) << ClassName;
        const std::unique_ptr<TComponentEditor> E = GetComponentEditor(C.get(), nullptr);
        EXPECT_EQ(std::type_index(typeid(*E)), Editor) << ClassName;
    }
}

TEST(KvReg, ClassesRegisteredApartFromThePalette)
{
    LoadPackage();
    const QList<const QMetaObject*> Palette = AllPaletteClasses();
    EXPECT_EQ(Palette.size(), 77);
    EXPECT_FALSE(Palette.contains(&TKvMenuItem::staticMetaObject));
    for (const char* Name : {"TKvMenuItem", "TKvTabSheet", "TKvOutLookBarPage"})
        EXPECT_TRUE(GetClass(QString::fromLatin1(Name))) << Name;
    EXPECT_EQ(ClassGroupOf(&TKvMenuItem::staticMetaObject), &TControl::staticMetaObject);
    EXPECT_EQ(ClassGroupOf(&TKvEditBtns::staticMetaObject), &TControl::staticMetaObject);
    EXPECT_EQ(ClassGroupOf(&TKvLabel::staticMetaObject), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Design hooks

TEST_F(KvRegHooks, MenuItemWithAHandlerKeepsItAndIsShown)
{
    auto* Item = Add<TKvMenuItem>(FForm.get(), QStringLiteral("MnOpen"));
    Item->SetOnClick(TMethod{QStringLiteral("OpenAnything")});
    KvDsgnCreateMethodMenuClick(Item);
    EXPECT_TRUE(Designer().CreatedMethods.isEmpty());
    EXPECT_EQ(Item->OnClick().Name, QStringLiteral("OpenAnything"));
    EXPECT_EQ(Designer().Selected, Item);
    EXPECT_EQ(Designer().Shown, QStringLiteral("OpenAnything"));
    EXPECT_EQ(Designer().ModifiedCount, 1);
}

TEST_F(KvRegHooks, MenuItemWithoutAHandlerGetsOneNamedAfterIt)
{
    auto* Item = Add<TKvMenuItem>(FForm.get(), QStringLiteral("MnFile"));
    KvDsgnCreateMethodMenuClick(Item);
    EXPECT_EQ(Designer().CreatedMethods, QStringList{QStringLiteral("MnFileClick")});
    EXPECT_EQ(Designer().CreatedEventType, QStringLiteral("TNotifyEvent"));
    EXPECT_EQ(Item->OnClick().Name, QStringLiteral("MnFileClick"));
    EXPECT_EQ(Designer().Shown, QStringLiteral("MnFileClick"));
    EXPECT_EQ(Designer().ModifiedCount, 1);
}

TEST_F(KvRegHooks, MenuItemOutsideADesignedFormIsLeftAlone)
{
    TDataModule Module;
    Module.SetDesigning(true);
    auto* Item = Add<TKvMenuItem>(&Module, QStringLiteral("MnFile"));
    KvDsgnCreateMethodMenuClick(Item);
    EXPECT_TRUE(Item->OnClick().IsEmpty());

    BorlandIDEServices = nullptr; // the form has no designer now
    auto* Other = Add<TKvMenuItem>(FForm.get(), QStringLiteral("MnEdit"));
    KvDsgnCreateMethodMenuClick(Other);
    EXPECT_TRUE(Other->OnClick().IsEmpty());
    EXPECT_EQ(Designer().ModifiedCount, 0);
}

TEST_F(KvRegHooks, UniqueNameOnlyUnderAWindowedOwner)
{
    auto* Label = Add<TKvLabel>(FForm.get());
    KvAssignDgnCreateUniqueName(Label);
    EXPECT_EQ(Label->GetName(), QStringLiteral("KvLabel1"));

    TDataModule Module;
    Module.SetDesigning(true);
    auto* Item = Add<TKvMenuItem>(&Module, QStringLiteral("MnKeep"));
    KvAssignDgnCreateUniqueName(Item);
    EXPECT_EQ(Item->GetName(), QStringLiteral("MnKeep"));
}

TEST_F(KvRegHooks, DesignerFoundThroughOwnersAndCollections)
{
    auto* Status = Add<TKvStatusBar>(FForm.get(), QStringLiteral("StatusBar1"));
    TKvPropertyEditorRow Collections{};
    Collections.TypeClass = &TKvCollection::staticMetaObject;
    const TPropInfo* Panels = FindProperty(&TKvStatusBar::staticMetaObject, Collections);
    ASSERT_TRUE(Panels);
    auto* Collection = qobject_cast<TCollection*>(GetObjectProp(Status, *Panels));
    ASSERT_TRUE(Collection);
    TCollectionItem* Panel = Collection->Add();

    EXPECT_EQ(KvFindDesigner(Panel), &Designer());
    EXPECT_EQ(KvFindDesigner(Collection), &Designer());
    EXPECT_EQ(KvFindDesigner(FForm.get()), &Designer());
    EXPECT_EQ(KvFindDesigner(nullptr), nullptr);

    Status->SetDesigning(false, false);
    EXPECT_EQ(KvFindDesigner(Panel), nullptr);
    TForm Closed; // designed, but not open in the host
    Closed.SetDesigning(true);
    EXPECT_EQ(KvFindDesigner(&Closed), nullptr);
}

TEST_F(KvRegHooks, SelectCreateModifiedAndProjectFolderGoThroughTheDesigner)
{
    auto* Panel = Add<TKvPanel>(FForm.get(), QStringLiteral("Panel1"));
    KvDsgnSelectComponent(Panel, FForm.get());
    EXPECT_EQ(Designer().Selected, FForm.get());

    TComponent* Created = KvDsgnCreateComponent(Panel, &TKvLabel::staticMetaObject, Panel);
    ASSERT_TRUE(qobject_cast<TKvLabel*>(Created));
    EXPECT_EQ(Designer().CreateParent, Panel);
    EXPECT_EQ(Designer().CreateBounds, QList<int>({-1, -1, -1, -1}));

    KvDsgnModified(Panel);
    EXPECT_EQ(Designer().ModifiedCount, 1);
    TKvPanel Loose; // not in design state: no designer, nothing happens
    KvDsgnModified(&Loose);
    EXPECT_EQ(KvDsgnCreateComponent(&Loose, &TKvLabel::staticMetaObject, nullptr), nullptr);
    EXPECT_EQ(Designer().ModifiedCount, 1);

    EXPECT_TRUE(KvDesignMode);
    EXPECT_EQ(KvDsgnGetProyectName(), QStringLiteral("/work/demo/"));
}

TEST_F(KvRegHooks, SystemMenuAndOutlookPagesAreBuiltThroughTheDesigner)
{
    auto* Popup = Add<TKvPopupMenu>(FForm.get(), QStringLiteral("PmMain"));
    for (int Action = KvTypes::daRestore; Action <= KvTypes::daMaximize; ++Action) {
        auto* Item = Add<TKvMenuItem>(FForm.get());
        Item->SetDefaultAction(TKvMenuItemDefaultAction(Action));
        Popup->Items()->Add(Item);
    }
    auto Actions = [Popup] {
        QList<int> List; // -1 for a line
        for (int I = 0; I < Popup->Items()->Count(); ++I)
            List << (Popup->Items()->Items(I)->IsLine() ? -1 : int(Popup->Items()->Items(I)->DefaultAction()));
        return List;
    };
    TKvPopupMenuComponentEditor Menu(Popup, &Designer());
    for (int Run = 0; Run < 2; ++Run) { // the second run finds every action there
        Menu.ExecuteVerb(1);
        EXPECT_EQ(Actions(), QList<int>({1, 2, 3, 4, 5, -1, 6}));
    }
    EXPECT_TRUE(Popup->ImagesVisible());
    EXPECT_EQ(Designer().Selected, Popup);

    Designer().Selected = nullptr;
    auto* Bar = Add<TKvOutLookBar>(FForm.get(), QStringLiteral("ObMain"));
    Bar->SetAnimationSteps(5);
    TKvOutLookBarComponentEditor BarEditor(Bar, &Designer());
    BarEditor.ExecuteVerb(1);
    EXPECT_EQ(Designer().Selected, nullptr) << "no page to go to";
    BarEditor.ExecuteVerb(0);
    BarEditor.ExecuteVerb(0);
    const QList<TKvOutLookBarPage*> Pages = Bar->Pages();
    ASSERT_EQ(Pages.size(), 2);
    EXPECT_EQ(Designer().CreateParent, Bar);
    EXPECT_EQ(Bar->ActivePage(), Pages.last());
    EXPECT_EQ(Bar->AnimationSteps(), 5);
    TKvOutLookBarPageComponentEditor PageEditor(Pages.first(), &Designer());
    PageEditor.ExecuteVerb(2); // on the page's bar, from the last page back
    EXPECT_EQ(Bar->ActivePage(), Pages.first());
    EXPECT_EQ(Designer().Selected, Pages.first());

    // A double click makes the bar's click handler and shows it.
    BarEditor.Edit();
    EXPECT_EQ(Designer().CreatedMethods, QStringList({QStringLiteral("ObMainClick")}));
    EXPECT_EQ(Designer().Shown, QStringLiteral("ObMainClick"));
    EXPECT_EQ(Bar->property("OnClick").value<TMethod>().Name, QStringLiteral("ObMainClick"));
    EXPECT_EQ(Designer().Selected, Bar);
    EXPECT_EQ(Pages.size(), Bar->Pages().size()) << "no page made by the double click";
}

TEST_F(KvRegHooks, ValueListsOfferWhatFits)
{
    auto* Main = Add<TKvMainMenu>(FForm.get(), QStringLiteral("MmMain"));
    auto* File = Add<TKvMenuItem>(FForm.get(), QStringLiteral("MiFile"));
    Main->Items()->Add(File);
    auto* Windows = Add<TKvMenuItem>(FForm.get(), QStringLiteral("MiWindows"));
    File->Add(Windows);
    auto* Other = Add<TKvPopupMenu>(FForm.get(), QStringLiteral("PmOther"));
    Other->Items()->Add(Add<TKvMenuItem>(FForm.get(), QStringLiteral("MiOther")));
    auto* Image = Add<TKvImage>(FForm.get(), QStringLiteral("ImLogo"));

    auto Values = [this](TComponent* Component, const QString& Property) {
        QStringList List;
        for (const auto& Editor : GetEditorsForSelection({Component}, &Designer()))
            if (Editor->GetName() == Property)
                Editor->GetValues([&List](const QString& S) { List << S; });
        return List;
    };
    // Only items of the menu's own tree list its windows.
    EXPECT_EQ(Values(Main, QStringLiteral("WindowsList")), QStringList({QStringLiteral("MiFile"), QStringLiteral("MiWindows")}));
    EXPECT_EQ(Values(Image, QStringLiteral("GraphicClass")), KvGraphicFormats());
    EXPECT_TRUE(KvGraphicFormats().contains(QStringLiteral("png")));
}

TEST_F(KvRegHooks, DataFieldOffersTheFieldDefinitionsThenTheFieldObjects)
{
    auto* Edit = Add<TKvDbEdit>(FForm.get(), QStringLiteral("EdCity"));
    auto Offered = [&] {
        QStringList List;
        for (const auto& Editor : GetEditorsForSelection({Edit}, &Designer()))
            if (Editor->GetName() == QLatin1String("DataField")) {
                EXPECT_TRUE(Editor->GetAttributes() & paSortList);
                Editor->GetValues([&List](const QString& S) { List << S; });
                // Nothing to offer says why.
                EXPECT_EQ(Editor->Unavailable().isEmpty(), !List.isEmpty());
            }
        return List;
    };
    EXPECT_TRUE(Offered().isEmpty()) << "no data source";
    auto* Source = Add<TDataSource>(FForm.get(), QStringLiteral("DsCustomers"));
    Edit->SetDataSource(Source);
    EXPECT_TRUE(Offered().isEmpty()) << "a data source without a data set";

    auto* Customers = Add<TClientDataSet>(FForm.get(), QStringLiteral("CdsCustomers"));
    Source->SetDataSet(Customers);
    Customers->FieldDefs()->AddFieldDef(QStringLiteral("CustNo"), DB::ftInteger);
    Customers->FieldDefs()->AddFieldDef(QStringLiteral("City"), DB::ftString, 15);
    EXPECT_EQ(Offered(), QStringList({"CustNo", "City"}));
    for (const char* Name : {"City", "Balance"}) {
        auto* Field = Add<TStringField>(FForm.get(), QStringLiteral("CdsCustomers") + QLatin1String(Name));
        Field->SetFieldName(QLatin1String(Name));
        Field->SetDataSet(Customers);
    }
    EXPECT_EQ(Offered(), QStringList({"CustNo", "City", "City", "Balance"}));

    // A component whose data source property holds another kind of component offers nothing.
    Edit->SetDataSource(Customers);
    EXPECT_TRUE(Offered().isEmpty());
}

TEST_F(KvRegHooks, OutlookPageVerbsKeepTheBarConsistent)
{
    auto* Bar = Add<TKvOutLookBar>(FForm.get(), QStringLiteral("ObMain"));
    Bar->SetAnimationSteps(0);
    TKvOutLookBarComponentEditor BarEditor(Bar, &Designer());
    BarEditor.ExecuteVerb(0);
    ASSERT_EQ(Bar->Pages().size(), 1);
    TKvOutLookBarPage* Page = Bar->Pages().first();
    EXPECT_EQ(Page->Owner(), FForm.get()) << "pages belong to the form";
    EXPECT_EQ(Designer().CreateBounds, QList<int>({0, 0, Bar->GetWidth(), Bar->GetHeight()})) << "and fill the bar";
    EXPECT_EQ(Page->OutLook(), Bar);
    EXPECT_EQ(Bar->AnimationSteps(), 0) << "a setting of 0 stays 0";

    // A page's double click makes the page's own handler, not the bar's, and no page.
    TKvOutLookBarPageComponentEditor PageEditor(Page, &Designer());
    PageEditor.Edit();
    EXPECT_EQ(Designer().Shown, Page->GetName() + QStringLiteral("Click"));
    EXPECT_EQ(Bar->Pages().size(), 1);
    // A handler already bound is shown, not made again.
    Designer().CreatedMethods.clear();
    PageEditor.Edit();
    EXPECT_TRUE(Designer().CreatedMethods.isEmpty());

    // A page whose bar is gone: the page verbs do nothing.
    Page->SetOutLook(nullptr);
    Designer().Selected = nullptr;
    PageEditor.ExecuteVerb(1);
    PageEditor.ExecuteVerb(0);
    EXPECT_EQ(Designer().Selected, nullptr);
    EXPECT_TRUE(Bar->Pages().isEmpty());
}

TEST_F(KvRegHooks, ShowPrivilegeWithoutAnApplicationRaises)
{
    ASSERT_EQ(KvCApp(), nullptr);
    TKvPrivilege Privilege;
    try {
        ShowPrivilege(nullptr, &Privilege);
        FAIL() << "no error raised";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message, QStringLiteral("Component TKvCApplication not found"));
    }
}

TEST(KvCtrlsReg, InitialisationRunsOnceAndFinalisationPairsWithIt)
{
    LoadPackage();
    bool Replaced = false;
    ShowPrivileges = [&](TKvPkgPrivileges*) { Replaced = true; };
    KvCtrlsRegInitialization(); // asked again: must not reinstall the defaults
    ShowPrivileges(nullptr);
    EXPECT_TRUE(Replaced);
    KvCtrlsRegFinalization();
    EXPECT_TRUE(KvCtrlsRegInitialized());
    DefShowPrivileges();
}

// ---------------------------------------------------------------------------------------------
// Resources

namespace {

struct BmpHeader
{
    int Width = 0, Height = 0, Bits = 0;
    QByteArray Pixels;
};

BmpHeader ReadBmp(const QString& Path)
{
    QFile F(Path);
    if (!F.open(QIODevice::ReadOnly))
        return {};
    const QByteArray D = F.readAll();
    if (D.size() < 54 || !D.startsWith("BM"))
        return {};
    auto U32 = [&](int At) { return qFromLittleEndian<quint32>(D.constData() + At); };
    auto U16 = [&](int At) { return qFromLittleEndian<quint16>(D.constData() + At); };
    return {int(U32(18)), int(U32(22)), int(U16(28)), D.mid(int(U32(10)))};
}

} // namespace

TEST(KvCtrlsReg, PaletteBitmapsNamesSizesAndDepths)
{
    LoadPackage();
    const QStringList Unregistered = {
        "TKVANIMATE",       "TKVCHART",          "TKVCHECKLISTBOX",  "TKVCOMPILER",      "TKVDBBUTTONCOMMIT",
        "TKVDBBUTTONROLLBACK", "TKVDBCURSOR",    "TKVDBDATABASE",    "TKVDBDATASOURCE",  "TKVDBLABELSTATUS",
        "TKVDBNVEDITION",   "TKVDBNVFILTER",     "TKVDBNVUPDOWN",    "TKVDBSQL",         "TKVDBSTOREDPROC",
        "TKVDBTRANSACTION", "TKVDBVMEM",         "TKVDBVQUERY",      "TKVDBVTABLE",      "TKVINC",
        "TKVLABEL3D",       "TKVLABELINSERTMODE", "TKVLED",          "TKVLISTMENU",      "TKVMEMOSTATUSLINES",
        "TKVPROCESS",       "TKVSEQPAGES",       "TKVVISUALMENU"};
    QStringList Classes = Unregistered;
    for (const QMetaObject* C : AllPaletteClasses())
        Classes << QString::fromLatin1(C->className()).toUpper();
    ASSERT_EQ(Classes.size(), 105);

    QStringList Expected;
    for (const QString& C : Classes)
        Expected << C << C + "16" << C + "32";
    Expected.sort();
    ASSERT_EQ(KvPaletteBitmapNames(), Expected);

    int SmallAt24 = 0, SmallAt16Colours = 0;
    QSet<QByteArray> Pictures;
    for (const QString& C : Classes) {
        SCOPED_TRACE(C.toStdString());
        const BmpHeader Button = ReadBmp(KvPaletteBitmapPath(C));
        EXPECT_EQ(std::tuple(Button.Width, Button.Height, Button.Bits), std::tuple(24, 24, 4));
        const BmpHeader Large = ReadBmp(KvPaletteBitmapPath(C, "32"));
        EXPECT_EQ(std::tuple(Large.Width, Large.Height, Large.Bits), std::tuple(32, 32, 4));
        const BmpHeader Small = ReadBmp(KvPaletteBitmapPath(C, "16"));
        if (Small.Width == 24 && Small.Bits == 4)
            ++SmallAt24;
        else if (Small.Width == 16 && Small.Bits == 4)
            ++SmallAt16Colours;
        else
            EXPECT_EQ(std::tuple(Small.Width, Small.Height, Small.Bits), std::tuple(16, 16, 8));
        Pictures.insert(Button.Pixels);
        EXPECT_FALSE(KvPaletteBitmap(C.toLower(), "16").isNull()); // the host reads them by any case
    }
    EXPECT_EQ(SmallAt24, 22);
    EXPECT_EQ(SmallAt16Colours, 1);
    EXPECT_EQ(Pictures.size(), 105); // each class has a picture of its own
    EXPECT_EQ(KvCtrlsReg::PackageDescription(), QStringLiteral("KvControls Standard Library Suite"));
}

#include "tst_KvReg.moc"

// The skins' images are image references like any other: same editor, same text.
TEST_F(KvRegHooks, SkinImagesShowAsImageReferences)
{
    auto* App = Add<TKvCApplication>(FForm.get(), QStringLiteral("KvApp"));
    App->HiSkin()->Image()->PkgId(QStringLiteral("Icons"), 5);
    QStringList Rows;
    for (const auto& Editor : GetEditorsForSelection({App}, &Designer()))
        if (Editor->GetName().endsWith(QStringLiteral("Skin")))
            Editor->GetProperties([&](std::unique_ptr<TPropertyEditor> Sub) {
                if (dynamic_cast<TKvMemoryImagePropertyEditor*>(Sub.get()))
                    Rows << Editor->GetName() + u'.' + Sub->GetName() + QStringLiteral(" = ") + Sub->GetValue();
            });
    EXPECT_EQ(Rows, QStringList({QStringLiteral("CWSkin.Image = (None)"), QStringLiteral("HiSkin.Image = (5, Icons)")}));
}
