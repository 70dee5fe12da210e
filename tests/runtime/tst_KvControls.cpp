#include "Filer.h"
#include "KvDbCtrls.h"
#include "KvEdCtrls.h"
#include "KvExtCtrls.h"
#include "KvMenus.h"
#include "KvRuntimeClasses.h"
#include "KvStdCtrls.h"
#include "SysUtils.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The palette classes and the classes registered apart, as the designer names them.
const QStringList ComponentNames = {
    // Kv Standard
    "TKvCApplication", "TKvCForm", "TKvMainMenu", "TKvPopupMenu", "TKvLabel", "TKvEdit", "TKvComboBox", "TKvListBox", "TKvMemo",
    "TKvRichEdit", "TKvImage", "TKvFocusImage", "TKvCheckBox", "TKvRadioButton", "TKvGroupBox", "TKvRadioGroup",
    "TKvPanel", "TKvScrollBox", "TKvPageControl", "TKvBitBtn", "TKvSpeedButton", "TKvPkgImage", "TKvShape",
    "TKvUpDown", "TKvUpDownEx",
    // Kv Additional
    "TKvPkgImages", "TKvPkgStrings", "TKvPkgVars", "TKvMemoBar", "TKvRichEditBar", "TKvImageBar", "TKvStatusBar", "TKvSplitter",
    "TKvProgressBar", "TKvTimer", "TKvThreadTimer", "TKvImageForm", "TKvMoveForm", "TKvPanelMenu", "TKvOutLookBar",
    "TKvPkgPrivileges", "TKvLBPrivileges", "TKvSetsGroup", "TKvRuler", "TKvCBuffer", "TKvFontComboBox", "TKvFontListBox",
    "TKvExtScrollBar", "TKvCFrame",
    // Kv Data Controls
    "TKvDbLabel", "TKvDbEdit", "TKvDbComboBox", "TKvDbListBox", "TKvDbMemo", "TKvDbRichEdit", "TKvDbImage",
    "TKvDbFocusImage", "TKvDbCheckBox", "TKvDbRadioGroup", "TKvDbPageControl", "TKvDbNavigator", "TKvDbBitBtn",
    "TKvDbSpeedButton", "TKvDbPkgImage",
    // Kv Editors
    "TKvLBSetsColor", "TKvCBSetsColor", "TKvLBSetsBackGround", "TKvCBSetsBackGround", "TKvLBSetsFont",
    "TKvCBSetsFont", "TKvLBPkgImages", "TKvCBPkgImages", "TKvLBColors", "TKvCBColors", "TKvCBPrinters",
    "TKvPkgImagesAdd", "TKvPkgImagesDesignRgn",
    // Registered apart
    "TKvMenuItem", "TKvTabSheet", "TKvOutLookBarPage", "TKvEditBtns"};

// A form holding one component of every class, each with values that differ from its
// defaults, including sub-object references, collection items and a menu tree.
std::unique_ptr<TForm> BuildForm()
{
    KvRegisterRuntimeClasses();
    auto Form = std::make_unique<TForm>();
    Form->SetName("Form1");
    int N = 0;
    for (const QString& ClassName : ComponentNames) {
        TComponent* C = CreateComponent(ClassName, Form.get());
        C->SetName(ClassName.mid(1) + "1");
        C->SetTag(++N);
        if (auto* Control = qobject_cast<TControl*>(C)) {
            Control->SetLeft(N * 3);
            Control->SetParent(Form.get());
        }
    }
    auto Find = [&](const char* Name) { return Form->FindComponent(QString::fromLatin1(Name)); };

    auto* Label = qobject_cast<TKvLabel*>(Find("KvLabel1"));
    Label->MemoryLabel()->SetPkgName("Main");
    Label->MemoryLabel()->SetId(5);
    Label->SetCaption(TKvMultiLine("First line\r\nsecond 'line'"));
    Label->SetValue(Variant(2.5));

    auto* Edit = qobject_cast<TKvEdit*>(Find("KvEdit1"));
    Edit->SetDataType(KvTypes::dtCurrency);
    Edit->Mask()->SetDecimals(2);
    Edit->Mask()->SetText(">-.");
    Edit->SetValue(Variant(12.75));

    auto* Combo = qobject_cast<TKvComboBox*>(Find("KvComboBox1"));
    auto* Entry = static_cast<TKvListItem*>(Combo->Items()->Add());
    Entry->SetValue(Variant(7));
    Entry->SetCaption("Seven");
    Entry->MemoryLabel()->PkgId("Main", 12);

    auto* StatusBar = qobject_cast<TKvStatusBar*>(Find("KvStatusBar1"));
    auto* Panel = static_cast<TKvStatusBarPanel*>(StatusBar->Panels()->Add());
    Panel->SetDataType(KvTypes::dtDateTime);
    Panel->SetValue(Variant::FromDate(45000.5));
    Panel->SetWidth(120);

    auto* Pages = qobject_cast<TKvPageControl*>(Find("KvPageControl1"));
    auto* Sheet = qobject_cast<TKvTabSheet*>(Find("KvTabSheet1"));
    Sheet->SetParent(Pages);
    Sheet->SetPageId(4);
    auto* Tab = static_cast<TKvTabControl*>(Pages->Tabs()->Add());
    Tab->SetValue(Variant("orders"));
    Tab->SetDescription("Orders");
    Tab->SetPageId(4);
    Pages->SetValue(Variant("orders"));

    auto* Bar = qobject_cast<TKvOutLookBar*>(Find("KvOutLookBar1"));
    auto* Page = qobject_cast<TKvOutLookBarPage*>(Find("KvOutLookBarPage1"));
    Page->SetOutLook(Bar);
    Page->SetCaption("Mail");
    Bar->SetActivePage(Page);

    auto* Menu = qobject_cast<TKvMainMenu*>(Find("KvMainMenu1"));
    auto* File = qobject_cast<TKvMenuItem*>(Find("KvMenuItem1"));
    File->SetCaption("&File");
    Menu->Items()->Add(File);
    const char* SubCaptions[] = {"&Open", "-", "E&xit"};
    for (const char* Caption : SubCaptions) {
        auto* Item = new TKvMenuItem(Form.get());
        Item->SetName(KvUniqueComponentName(Form.get(), "TKvMenuItem"));
        Item->SetCaption(Caption);
        File->Add(Item);
    }
    File->Items(2)->SetDefaultAction(KvTypes::daClose);
    File->Items(0)->MemoryImage()->PkgId("System", 48);
    auto* Window = new TKvMenuItem(Form.get());
    Window->SetName("MnWindow");
    Window->SetCaption("&Window");
    Menu->Items()->Add(Window);
    Menu->SetWindowsList(Window);

    auto* CForm = qobject_cast<TKvCForm*>(Find("KvCForm1"));
    CForm->SetBtnOk(qobject_cast<TControl*>(Find("KvBitBtn1")));
    CForm->SetBtnCancel(qobject_cast<TControl*>(Find("KvSpeedButton1")));
    CForm->SetPkgVars("Vars");
    static_cast<TKvDataSourceItem*>(CForm->DataSources()->Add())->SetDataSource(Find("KvCBuffer1"));

    qobject_cast<TKvBitBtn*>(Find("KvBitBtn1"))->SetModalResult(mrOk);
    qobject_cast<TKvUpDown*>(Find("KvUpDown1"))->SetAssociate(Edit);
    auto* UpDownEx = qobject_cast<TKvUpDownEx*>(Find("KvUpDownEx1"));
    UpDownEx->SetDataType(KvTypes::dtFloat);
    UpDownEx->SetMin(Variant(-1.5));
    UpDownEx->SetMax(Variant(9.25));
    UpDownEx->SetPosition(Variant(0.5));
    UpDownEx->SetIncrement(Variant(0.25));
    qobject_cast<TKvShape*>(Find("KvShape1"))->Pen()->SetWidth(3);
    qobject_cast<TKvImage*>(Find("KvImage1"))->SetGraphicClass("PNG");
    qobject_cast<TKvImageBar*>(Find("KvImageBar1"))->SetImage(Find("KvFocusImage1"));
    qobject_cast<TKvRichEdit*>(Find("KvRichEdit1"))->Lines()->SetText("{\\rtf1 Hello}\nsecond");
    qobject_cast<TKvMemoBar*>(Find("KvMemoBar1"))->SetMemo(qobject_cast<TKvCustomMemo*>(Find("KvMemo1")));
    auto* Sets = qobject_cast<TKvSetsGroup*>(Find("KvSetsGroup1"));
    static_cast<TKvSetsGroupItem*>(Sets->Items()->Add())->SetFont()->SetName("Titles");
    qobject_cast<TKvGraphicControl*>(Find("KvSpeedButton1"))->SetColor()->SetName("Buttons");
    qobject_cast<TKvWinControl*>(Find("KvPanel1"))->Privilege()->SetId(3);
    auto* DbEdit = qobject_cast<TKvDbEdit*>(Find("KvDbEdit1"));
    DbEdit->SetDataField("CUSTOMER");
    DbEdit->SetDataSource(Find("KvCBuffer1"));
    qobject_cast<TKvDbPkgImage*>(Find("KvDbPkgImage1"))->SetPkgName("Photos");
    auto* DbButton = qobject_cast<TKvDbBitBtn*>(Find("KvDbBitBtn1"));
    static_cast<TKvDbCommandItem*>(DbButton->Commands()->Add())->SetAction(KvTypes::dbaPost);
    qobject_cast<TKvCBuffer*>(Find("KvCBuffer1"))->SetData(QByteArray("\x00\x01\xff", 3));
    qobject_cast<TKvTimer*>(Find("KvTimer1"))->SetEnabled(false);
    return Form;
}

} // namespace

TEST(KvRuntimeClasses, EveryClassIsRegisteredAndCreatableByName)
{
    KvRegisterRuntimeClasses();
    TComponent Owner;
    for (const QString& Name : ComponentNames) {
        SCOPED_TRACE(Name.toStdString());
        ASSERT_NE(FindClass(Name), nullptr);
        TComponent* C = CreateComponent(Name, &Owner);
        EXPECT_EQ(C->ClassName(), Name);
        EXPECT_EQ(C->Owner(), &Owner);
    }
    // Collection items and sub-objects are streamable but not components.
    for (const char* Name : {"TKvStatusBarPanel", "TKvPen"}) {
        ASSERT_NE(FindClass(Name), nullptr) << Name;
        EXPECT_THROW(CreateComponent(Name, &Owner), EFilerError);
    }
}

TEST(KvRuntimeClasses, VisualClassesAreControlsAndTheOthersAreNot)
{
    KvRegisterRuntimeClasses();
    for (const char* Name : {"TKvLabel", "TKvEdit", "TKvPanelMenu", "TKvTabSheet", "TKvEditBtns", "TKvDbNavigator"})
        EXPECT_TRUE(InheritsFrom(FindClass(Name), &TControl::staticMetaObject)) << Name;
    for (const char* Name : {"TKvCForm", "TKvMainMenu", "TKvPopupMenu", "TKvMenuItem", "TKvTimer", "TKvCBuffer"})
        EXPECT_FALSE(InheritsFrom(FindClass(Name), &TControl::staticMetaObject)) << Name;
    EXPECT_TRUE(InheritsFrom(FindClass("TKvImage"), FindClass("TKvCustomImage")));
    EXPECT_TRUE(InheritsFrom(FindClass("TKvDbEdit"), FindClass("TKvCustomEdit")));
}

TEST(KvFormStreaming, EveryComponentSurvivesAWriteReadWriteRoundTrip)
{
    const std::unique_ptr<TForm> Form = BuildForm();
    const QByteArray Text = WriteComponentText(Form.get(), TLineBreak::LF);
    for (const QString& Name : ComponentNames)
        EXPECT_TRUE(Text.contains(": " + Name.toLatin1() + "\n")) << Name.toStdString();

    std::unique_ptr<TComponent> Copy(ReadComponentStream(Text));
    EXPECT_EQ(WriteComponentText(Copy.get(), TLineBreak::LF), Text);
}

TEST(KvFormStreaming, ReferencesStreamAsSubPropertiesPackageNameFirst)
{
    const std::unique_ptr<TForm> Form = BuildForm();
    const QString Text = QString::fromUtf8(WriteComponentText(Form.get(), TLineBreak::LF));
    const qsizetype Pkg = Text.indexOf("MemoryLabel.PkgName = 'Main'\n");
    ASSERT_GE(Pkg, 0);
    EXPECT_TRUE(Text.mid(Pkg).section('\n', 1, 1).trimmed() == "MemoryLabel.Id = 5");
    // The edit's data type is stored once, on the edit.
    EXPECT_FALSE(Text.contains("Mask.DataType"));

    std::unique_ptr<TComponent> Copy(ReadComponentStream(Text.toUtf8()));
    auto* Label = qobject_cast<TKvLabel*>(Copy->FindComponent("KvLabel1"));
    EXPECT_EQ(Label->MemoryLabel()->PkgName(), "Main");
    EXPECT_EQ(Label->MemoryLabel()->Id(), 5);
    EXPECT_EQ(Label->Caption().Text(), "First line\r\nsecond 'line'");
    auto* Combo = qobject_cast<TKvComboBox*>(Copy->FindComponent("KvComboBox1"));
    ASSERT_EQ(Combo->Items()->Count(), 1);
    EXPECT_EQ(Combo->Items()->Items(0)->MemoryLabel()->Id(), 12);
    EXPECT_EQ(Combo->Items()->Items(0)->GetValue(), Variant(7));
    auto* Edit = qobject_cast<TKvEdit*>(Copy->FindComponent("KvEdit1"));
    EXPECT_EQ(Edit->GetDataType(), KvTypes::dtCurrency);
    EXPECT_EQ(Edit->Mask()->DataType(), KvTypes::dtCurrency);
}

TEST(KvFormStreaming, MenuTreesAndComponentReferencesAreRebuilt)
{
    const std::unique_ptr<TForm> Form = BuildForm();
    std::unique_ptr<TComponent> Copy(ReadComponentStream(WriteComponentText(Form.get())));

    auto* Menu = qobject_cast<TKvMainMenu*>(Copy->FindComponent("KvMainMenu1"));
    ASSERT_EQ(Menu->Items()->Count(), 2);
    TKvMenuItem* File = Menu->Items()->Items(0);
    EXPECT_EQ(File->GetName(), "KvMenuItem1");
    ASSERT_EQ(File->Count(), 3);
    EXPECT_TRUE(File->Items(1)->IsLine());
    EXPECT_EQ(File->Items(2)->DefaultAction(), KvTypes::daClose);
    EXPECT_EQ(File->Items(0)->MemoryImage()->Id(), 48);
    EXPECT_EQ(File->Items(2)->GetParentMenu(), Menu);
    EXPECT_EQ(Menu->WindowsList(), Copy->FindComponent("MnWindow"));

    auto* CForm = qobject_cast<TKvCForm*>(Copy->FindComponent("KvCForm1"));
    EXPECT_EQ(CForm->BtnOk(), Copy->FindComponent("KvBitBtn1"));
    EXPECT_EQ(CForm->BtnCancel(), Copy->FindComponent("KvSpeedButton1"));
    ASSERT_EQ(CForm->DataSources()->Count(), 1);
    EXPECT_EQ(static_cast<TKvDataSourceItem*>(CForm->DataSources()->Items(0))->DataSource(),
              Copy->FindComponent("KvCBuffer1"));

    auto* Pages = qobject_cast<TKvPageControl*>(Copy->FindComponent("KvPageControl1"));
    EXPECT_EQ(Pages->ActivePage(), Copy->FindComponent("KvTabSheet1"));
    auto* Bar = qobject_cast<TKvOutLookBar*>(Copy->FindComponent("KvOutLookBar1"));
    EXPECT_EQ(Bar->ActivePage(), Copy->FindComponent("KvOutLookBarPage1"));

    auto* UpDownEx = qobject_cast<TKvUpDownEx*>(Copy->FindComponent("KvUpDownEx1"));
    EXPECT_EQ(UpDownEx->GetMin(), Variant(-1.5));
    EXPECT_EQ(UpDownEx->GetPosition(), Variant(0.5));
}

TEST(KvComponentReferences, AreClearedWhenTheReferencedComponentGoes)
{
    KvRegisterRuntimeClasses();
    TForm Form;
    auto* CForm = new TKvCForm(&Form);
    auto* Ok = new TKvBitBtn(&Form);
    CForm->SetBtnOk(Ok);
    CForm->SetBtnCancel(Ok);
    delete Ok;
    EXPECT_EQ(CForm->BtnOk(), nullptr);
    EXPECT_EQ(CForm->BtnCancel(), nullptr);

    // A component of another form tells through its free notification.
    auto Other = std::make_unique<TForm>();
    auto* Edit = new TKvEdit(Other.get());
    auto* UpDown = new TKvUpDown(&Form);
    auto* DbLabel = new TKvDbLabel(&Form);
    UpDown->SetAssociate(Edit);
    DbLabel->SetDataSource(Edit);
    Other.reset();
    EXPECT_EQ(UpDown->Associate(), nullptr);
    EXPECT_EQ(DbLabel->DataSource(), nullptr);
    EXPECT_THROW(UpDown->SetAssociate(UpDown), EInvalidOperation);

    auto* Source = new TKvCBuffer(&Form);
    auto* Item = static_cast<TKvDataSourceItem*>(CForm->DataSources()->Add());
    Item->SetDataSource(Source);
    delete Source;
    EXPECT_EQ(Item->DataSource(), nullptr);

    auto* Bar = new TKvImageBar(&Form);
    EXPECT_THROW(Bar->SetImage(CForm), EInvalidOperation);
    auto* Image = new TKvImage(&Form);
    Bar->SetImage(Image);
    delete Image;
    EXPECT_EQ(Bar->Image(), nullptr);
}

TEST(KvMenus, ItemsNestAndGoWithTheirParent)
{
    TForm Form;
    auto* Menu = new TKvPopupMenu(&Form);
    auto* File = new TKvMenuItem(&Form);
    auto* Open = new TKvMenuItem(&Form);
    auto* Recent = new TKvMenuItem(&Form);
    File->SetName("MnFile");
    Open->SetName("MnOpen");
    Recent->SetName("MnRecent");
    Menu->Items()->Add(File);
    File->Add(Open);
    Open->Add(Recent);

    EXPECT_EQ(Open->GetParentComponent(), File);
    EXPECT_EQ(File->GetParentComponent(), Menu);
    EXPECT_EQ(Recent->GetParentMenu(), Menu);
    EXPECT_THROW(Recent->Add(File), EInvalidOperation);      // a cycle
    EXPECT_THROW(Menu->Items()->Add(Open), EInvalidOperation); // already in the menu
    EXPECT_EQ(File->Count(), 1);

    // Destroying an item destroys its sub-items with it, and the form forgets them.
    const int Before = Form.ComponentCount();
    delete Open;
    EXPECT_EQ(File->Count(), 0);
    EXPECT_EQ(Form.ComponentCount(), Before - 2);
    EXPECT_EQ(Form.FindComponent("MnRecent"), nullptr);
}

TEST(KvMenus, MenuIndexMovesAnItemAmongItsSiblings)
{
    TForm Form;
    auto* Menu = new TKvMainMenu(&Form);
    TKvMenuItem* Items[3];
    for (TKvMenuItem*& Item : Items) {
        Item = new TKvMenuItem(&Form);
        Menu->Items()->Add(Item);
    }
    Items[2]->SetMenuIndex(0);
    EXPECT_EQ(Menu->Items()->Items(0), Items[2]);
    EXPECT_EQ(Items[0]->MenuIndex(), 1);
    Items[2]->SetMenuIndex(99);
    EXPECT_EQ(Items[2]->MenuIndex(), 2);
}

TEST(KvMenus, WindowsListAcceptsOnlyItemsOfItsOwnMenu)
{
    TForm Form;
    auto* Main = new TKvMainMenu(&Form);
    auto* Panel = new TKvPanelMenu(&Form);
    auto* Window = new TKvMenuItem(&Form);
    auto* Foreign = new TKvMenuItem(&Form);
    Main->Items()->Add(Window);
    Panel->Items()->Add(Foreign);

    EXPECT_TRUE(Main->ValidAssignWindowsList(Window));
    EXPECT_FALSE(Main->ValidAssignWindowsList(Foreign));
    EXPECT_FALSE(Main->ValidAssignWindowsList(Main->Items()));
    EXPECT_THROW(Main->SetWindowsList(Foreign), EInvalidOperation);
    Main->SetWindowsList(Window);
    Panel->SetWindowsList(Foreign);
    delete Window;
    delete Foreign;
    EXPECT_EQ(Main->WindowsList(), nullptr);
    EXPECT_EQ(Panel->WindowsList(), nullptr);
}

TEST(KvMenus, AMenuDestroysItsItemsAndItsEditorWindow)
{
    TForm Form;
    auto* Menu = new TKvMainMenu(&Form);
    auto* Item = new TKvMenuItem(&Form);
    Menu->Items()->Add(Item);
    QPointer<QObject> Window = new QObject;
    Menu->SetEditorWindow(Window);
    delete Menu;
    EXPECT_EQ(Form.ComponentCount(), 0);
    EXPECT_TRUE(Window.isNull());
}

TEST(KvUpDownEx, KeepsItsVariantsAndBoundsOrderedPositions)
{
    TKvUpDownEx UpDown;
    EXPECT_EQ(UpDown.GetDataType(), KvTypes::dtInteger);
    UpDown.SetMin(Variant(1));
    UpDown.SetMax(Variant(10));
    UpDown.SetPosition(Variant(25));
    EXPECT_EQ(UpDown.GetPosition(), Variant(10));
    UpDown.SetPosition(Variant::Null());
    EXPECT_TRUE(UpDown.GetPosition().IsNull());
    UpDown.SetPosition(Variant("B"));
    EXPECT_EQ(UpDown.GetPosition(), Variant("B"));

    UpDown.SetDataType(KvTypes::dtDateTime);
    UpDown.SetMin(Variant::FromDate(45000));
    UpDown.SetMax(Variant::FromDate(45010));
    UpDown.SetIncrement(Variant(1));
    UpDown.SetWrap(true);
    UpDown.SetPosition(Variant::FromDate(45010));
    UpDown.Step(true);
    EXPECT_EQ(UpDown.GetPosition(), Variant::FromDate(45000));
    UpDown.Step(true);
    EXPECT_EQ(UpDown.GetPosition(), Variant::FromDate(45001));
}

TEST(KvUpDownEx, APositionReadBeforeItsBoundsIsBoundedOnceLoaded)
{
    KvRegisterRuntimeClasses();
    const QByteArray Text = "object Form1: TForm\n"
                            "  object U: TKvUpDownEx\n"
                            "    Position = 50\n"
                            "    Min = 1\n"
                            "    Max = 20\n"
                            "  end\n"
                            "end\n";
    std::unique_ptr<TComponent> Form(ReadComponentStream(Text));
    auto* UpDown = qobject_cast<TKvUpDownEx*>(Form->FindComponent("U"));
    EXPECT_EQ(UpDown->GetPosition(), Variant(20));
}

TEST(KvMask, RefusesBadValuesAndAssignsAllButItsLock)
{
    TKvDbEdit DbEdit;
    TKvMask* Mask = DbEdit.Mask();
    EXPECT_FALSE(Mask->AllowDataType());
    Mask->SetDecimals(4);
    EXPECT_THROW(Mask->SetDecimals(16), EConvertError);
    EXPECT_THROW(Mask->SetSize(10000000), EConvertError);
    EXPECT_EQ(Mask->Decimals(), 4);

    TKvMask Other(nullptr, KvTypes::dtDateTime);
    Other.SetText("<dmyhns");
    Other.SetYearStyle(KvTypes::dyLong);
    Mask->Assign(&Other);
    EXPECT_EQ(DbEdit.GetDataType(), KvTypes::dtDateTime);
    EXPECT_EQ(Mask->Text(), "<dmyhns");
    EXPECT_EQ(Mask->Decimals(), 0);
    EXPECT_FALSE(Mask->AllowDataType());
}

TEST(KvPageControl, TabSheetsGetUniqueNamesAndPageIds)
{
    TForm Form;
    auto* Pages = new TKvPageControl(&Form);
    Pages->SetName("Pages");
    TKvTabSheet* First = Pages->CreateTabSheet();
    TKvTabSheet* Second = Pages->CreateTabSheet();
    EXPECT_EQ(First->GetName(), "KvTabSheet1");
    EXPECT_EQ(Second->GetName(), "KvTabSheet2");
    EXPECT_NE(First->PageId(), Second->PageId());
    EXPECT_EQ(Pages->FindPageId(Second->PageId()), Second);
    EXPECT_EQ(Second->PageControl(), Pages);

    auto* Tab = static_cast<TKvTabControl*>(Pages->Tabs()->Add());
    EXPECT_EQ(Second->GetTab(), nullptr);
    Tab->SetPageId(Second->PageId());
    EXPECT_EQ(Second->GetTab(), Tab);
    EXPECT_THROW(Tab->SetPageId(-1), EConvertError);

    Tab->SetValue(Variant(3));
    Pages->SetValue(Variant(3));
    EXPECT_EQ(Pages->ActivePage(), Second);
    Pages->SetValue(Variant(4));
    EXPECT_EQ(Pages->ActivePage(), nullptr);
}

TEST(KvOutLookBar, PagesCycleAndOnlyItsOwnPagesCanBeActive)
{
    TForm Form;
    auto* Bar = new TKvOutLookBar(&Form);
    Bar->SelectNextPage(true);
    EXPECT_EQ(Bar->ActivePage(), nullptr);

    auto* A = new TKvOutLookBarPage(&Form);
    auto* B = new TKvOutLookBarPage(&Form);
    A->SetOutLook(Bar);
    B->SetOutLook(Bar);
    Bar->SelectNextPage(true);
    EXPECT_EQ(Bar->ActivePage(), A);
    Bar->SelectNextPage(false);
    EXPECT_EQ(Bar->ActivePage(), B);
    Bar->SelectNextPage(true);
    EXPECT_EQ(Bar->ActivePage(), A);

    auto* Stray = new TKvOutLookBarPage(&Form);
    EXPECT_THROW(Bar->SetActivePage(Stray), EInvalidOperation);
    delete A;
    EXPECT_EQ(Bar->ActivePage(), nullptr);
}

TEST(KvCollections, DisplayTextAndEditorWindowFollowTheCollection)
{
    TForm Form;
    auto* StatusBar = new TKvStatusBar(&Form);
    StatusBar->Panels()->Add();
    StatusBar->Panels()->Add();
    EXPECT_EQ(StatusBar->Panels()->DisplayText(), "Panels: 2");

    QPointer<QObject> Window = new QObject;
    StatusBar->Panels()->SetEditorWindow(Window);
    delete StatusBar;
    EXPECT_TRUE(Window.isNull());
}

TEST(KvCheckBox, IsCheckedWhenItsValueIsTheCheckedValue)
{
    TKvCheckBox Box;
    EXPECT_FALSE(Box.Checked());
    Box.SetValueChecked(Variant("Y"));
    Box.SetValueUnchecked(Variant("N"));
    Box.SetChecked(true);
    EXPECT_EQ(Box.GetValue(), Variant("Y"));
    Box.SetValue(Variant("N"));
    EXPECT_FALSE(Box.Checked());
}

TEST(KvPropertyTypes, ReferenceAndEditorTypesAreDistinctAndFollowable)
{
    KvRegisterRuntimeClasses();
    // The multi-line caption streams as a string but is a type of its own.
    const TPropInfo* Caption = GetPropInfo(&TKvLabel::staticMetaObject, u"Caption");
    ASSERT_NE(Caption, nullptr);
    EXPECT_EQ(Caption->Kind, TTypeKind::tkString);
    EXPECT_NE(Caption->Prop.metaType(), QMetaType::fromType<QString>());
    EXPECT_EQ(GetPropInfo(&TKvEdit::staticMetaObject, u"Mask")->ClassType, &TKvMask::staticMetaObject);

    // A scanner finds a reference's class by following declared types from a class name:
    // Grid-like paths run through a collection's item class.
    const TPropInfo* Items = GetPropInfo(FindClass("TKvComboBox"), u"Items");
    ASSERT_NE(Items, nullptr);
    TKvComboBox Combo;
    auto* Collection = qobject_cast<TCollection*>(GetObjectProp(&Combo, *Items));
    ASSERT_NE(Collection, nullptr);
    const TPropInfo* Label = GetPropInfo(Collection->ItemClass(), u"MemoryLabel");
    ASSERT_NE(Label, nullptr);
    EXPECT_EQ(Label->ClassType, &TKvMemoryLabel::staticMetaObject);
    EXPECT_EQ(GetPropInfo(FindClass("TKvDbPkgImage"), u"MemoryImage")->ClassType, &TKvMemoryImage::staticMetaObject);
    EXPECT_EQ(GetPropInfo(&TKvSetsGroupItem::staticMetaObject, u"SetFont")->ClassType, &TKvSetFont::staticMetaObject);
    EXPECT_TRUE(GetPropInfo(FindClass("TKvCForm"), u"BtnOk")->IsComponentRef());
    EXPECT_FALSE(GetPropInfo(FindClass("TKvMainMenu"), u"Items")->Prop.isWritable());
}

TEST(KvSpeedButton, OnlyOneButtonOfAGroupStaysDown)
{
    TForm Form;
    TKvSpeedButton* Buttons[3];
    for (TKvSpeedButton*& Button : Buttons) {
        Button = new TKvSpeedButton(&Form);
        Button->SetParent(&Form);
        Button->SetGroupIndex(1);
    }
    Buttons[2]->SetGroupIndex(2);
    Buttons[0]->SetDown(true);
    Buttons[2]->SetDown(true);
    Buttons[1]->SetDown(true);
    EXPECT_FALSE(Buttons[0]->Down());
    EXPECT_TRUE(Buttons[1]->Down());
    EXPECT_TRUE(Buttons[2]->Down());

    TKvSpeedButton Alone;
    Alone.SetDown(true);
    EXPECT_FALSE(Alone.Down());
}

// Each kind of control names its own default sets; they belong to the class, so a reference left
// at "<Default>" writes nothing and reads back with the same default.
TEST(KvFormStreaming, DefaultSetsComeFromTheClassAndStayOutOfTheForm)
{
    KvRegisterRuntimeClasses();
    TComponent Form;
    Form.SetName("Form1");
    auto* Plain = new TKvEdit(&Form);
    Plain->SetName("EdPlain");
    auto* Named = new TKvEdit(&Form);
    Named->SetName("EdNamed");
    Named->SetFont()->SetName("EdFont");
    Named->SetBackGround()->SetName("");
    auto* Sheet = new TKvTabSheet(&Form);
    Sheet->SetName("Sheet1");
    auto* Button = new TKvBitBtn(&Form);
    Button->SetName("BtOk");

    EXPECT_EQ(Plain->SetColor()->TargetName(), "EdColor");
    EXPECT_EQ(Plain->SetBackGround()->TargetName(), "EdBackGround");
    EXPECT_EQ(Button->SetFont()->TargetName(), "BtFont");
    EXPECT_EQ(Named->SetFont()->TargetName(), "EdFont");
    EXPECT_EQ(Named->SetBackGround()->TargetName(), "");
    // A sheet's font is its page control's: "<Default>" names no set of its own.
    EXPECT_TRUE(Sheet->SetFont()->IsDefault());
    EXPECT_EQ(Sheet->SetFont()->TargetName(), "");
    EXPECT_EQ(Sheet->SetColor()->TargetName(), "PcColor");
    // Only this spelling is the default; a set cannot be named "<default>" either.
    Plain->SetColor()->SetName("<default>");
    EXPECT_EQ(Plain->SetColor()->TargetName(), "<default>");
    Plain->SetColor()->SetName("<Default>");

    const QByteArray Text = WriteComponentText(&Form, TLineBreak::LF);
    EXPECT_EQ(Text.count("SetColor.Name"), 0) << Text.constData();
    EXPECT_TRUE(Text.contains("SetFont.Name = 'EdFont'\n"));
    EXPECT_TRUE(Text.contains("SetBackGround.Name = ''\n"));
    std::unique_ptr<TComponent> Copy(ReadComponentStream(Text));
    EXPECT_EQ(WriteComponentText(Copy.get(), TLineBreak::LF), Text);
    auto* Read = qobject_cast<TKvEdit*>(Copy->FindComponent("EdPlain"));
    ASSERT_NE(Read, nullptr);
    EXPECT_TRUE(Read->SetFont()->IsDefault());
    EXPECT_EQ(Read->SetFont()->TargetName(), "EdFont");
    // Taking another reference's name keeps the own default.
    Sheet->SetColor()->SetName("Sky");
    Read->SetColor()->Assign(Sheet->SetColor());
    EXPECT_EQ(Read->SetColor()->TargetName(), "Sky");
    Read->SetColor()->SetName("<Default>");
    EXPECT_EQ(Read->SetColor()->TargetName(), "EdColor");
}
