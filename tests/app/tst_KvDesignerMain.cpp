#include "Controls.h"
#include "DesignEditors.h"
#include "DesignRegistry.h"
#include "DesignWindows.h"
#include "KvComponentTreeModel.h"
#include "KvDesignerMain.h"
#include "KvFormDesigner.h"
#include "KvFormView.h"
#include "KvHostServices.h"
#include "KvInspectorModel.h"
#include "KvPascalHighlighter.h"
#include "KvMessages.h"
#include "KvPkgStrings.h"
#include "KvReferences.h"

#include "KvApplication.h"
#include "KvPkgDisplay.h"
#include "KvStdCtrls.h"
#include "KvUtils.h"
#include "KvRichText.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMetaProperty>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QUndoStack>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QLabel>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>

#ifndef KV_DEMO_DIR
#error KV_DEMO_DIR must name the folder of the demo project
#endif

namespace {

QString FileText(const QString& Path)
{
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? QString::fromUtf8(F.readAll()) : QString();
}

// The text of `object Name: ...` up to its own end, with its children.
QString ObjectBlock(const QString& FormText, const QString& Name)
{
    const qsizetype Start = FormText.indexOf(QStringLiteral("object %1:").arg(Name));
    if (Start < 0)
        return {};
    const QString Indent = FormText.mid(FormText.lastIndexOf(u'\n', Start) + 1, Start - FormText.lastIndexOf(u'\n', Start) - 1);
    const qsizetype End = FormText.indexOf(QStringLiteral("\n%1end").arg(Indent), Start);
    return FormText.mid(Start, End - Start);
}

// Runs Action on the top modal window once the event loop runs.
void OnModal(std::function<void(QWidget*)> Action)
{
    QTimer::singleShot(0, [Action] {
        QWidget* Window = QApplication::activeModalWidget();
        ASSERT_NE(Window, nullptr);
        Action(Window);
    });
}

template <class T>
T* Ctl(QWidget* Window, const char* Name)
{
    T* Control = Window->findChild<T*>(QString::fromLatin1(Name));
    EXPECT_NE(Control, nullptr) << Name;
    return Control;
}

void Retype(QWidget* Box, const QString& Text)
{
    Box->setFocus();
    QTest::keyClick(Box, Qt::Key_End);
    for (auto* Line = qobject_cast<QLineEdit*>(Box); Line && !Line->text().isEmpty();)
        QTest::keyClick(Box, Qt::Key_Backspace);
    QTest::keyClicks(Box, Text);
}

void Click(QWidget* Window, const char* Button)
{
    QTest::mouseClick(Ctl<QPushButton>(Window, Button), Qt::LeftButton);
}

// Answers the label dialog the next click opens: Text as the label, then OK.
void AnswerLabelDialog(const QString& Text)
{
    OnModal([Text](QWidget* Dialog) {
        Retype(Ctl<QLineEdit>(Dialog, "EdLabel"), Text);
        Click(Dialog, "BtOk");
    });
}

// Counts the designer's Modified calls, as every design window hears them.
class TModifiedCounter : public TDesignWindow
{
public:
    explicit TModifiedCounter(IDesigner* Designer) : Target(Designer) {}
    void ItemsModified(IDesigner* Designer) override { Count += Designer == Target; }
    IDesigner* Target;
    int Count = 0;
};

// The main window on a copy of the demo project; questions are answered by the test.
class KvDesignerMainTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        QDir Source(QStringLiteral(KV_DEMO_DIR));
        for (const QString& File : Source.entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(Source.filePath(File), Dir.filePath(File)));
        Window = std::make_unique<TFrKvDesigner>();
        Window->Prompts.ShowError = [this](QWidget*, const QString& Text) { Errors << Text; };
        Window->Prompts.AskSave = [this](QWidget*, const QStringList& Files) {
            Asked << Files;
            return Answer;
        };
        Window->Prompts.ChooseProject = [](QWidget*, const QString&) { return QString(); };
        Window->show();
        ASSERT_TRUE(Window->OpenProject(Dir.filePath(QStringLiteral("KvDemo.dpr"))));
        ASSERT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
    }

    void TearDown() override
    {
        Answer = TKvAppPrompts::Discard;
        Window.reset();
    }

    TKvFormDesigner* Designer() const { return Window->CurrentDesigner(); }
    TComponent* Find(const char* Name) const { return Designer()->GetComponent(QString::fromLatin1(Name)); }
    QTreeView* Tree() const { return Window->findChild<QTreeView*>(QStringLiteral("TvComponents")); }
    QTreeView* InspectorView() const { return Window->findChild<QTreeView*>(QStringLiteral("TvInspector")); }
    TKvFormView* View() const { return Window->FormView(); }

    void ClickInTree(const TComponent* Component, Qt::KeyboardModifiers Modifiers = {})
    {
        const QModelIndex Index = Window->ComponentTree()->IndexOf(Component);
        ASSERT_TRUE(Index.isValid());
        Tree()->scrollTo(Index);
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, Modifiers, Tree()->visualRect(Index).center());
    }

    // Types Text into the inspector's value of Property and presses Enter.
    void TypeIntoInspector(const char* Property, const QString& Text)
    {
        const QModelIndex Index = Window->Inspector()->FindProperty(QString::fromLatin1(Property));
        ASSERT_TRUE(Index.isValid()) << Property;
        InspectorView()->setCurrentIndex(Index);
        QWidget* Widget = InspectorView()->indexWidget(Index);
        auto* Combo = qobject_cast<QComboBox*>(Widget); // a value list that can also be typed
        auto* Editor = Combo ? Combo->lineEdit() : qobject_cast<QLineEdit*>(Widget);
        ASSERT_TRUE(Editor) << Property;
        Editor->selectAll();
        QTest::keyClicks(Editor, Text);
        QTest::keyClick(Editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the view takes the value once the key is handled
    }

    QTemporaryDir Dir;
    std::unique_ptr<TFrKvDesigner> Window;
    QStringList Errors;
    QList<QStringList> Asked;
    TKvAppPrompts::TSaveAnswer Answer = TKvAppPrompts::Cancel;
};

TEST_F(KvDesignerMainTest, EveryDemoFormOpens)
{
    TKvProject* Project = Window->Host().ActiveProject();
    ASSERT_EQ(Project->GetModuleCount(), 7);
    for (int I = 0; I < Project->GetModuleCount(); ++I) {
        TKvFormEditor* Form = Window->OpenForm(Project->GetModule(I)->FileName());
        ASSERT_TRUE(Form) << Errors.join(u'\n').toStdString();
        EXPECT_EQ(Window->CurrentForm(), Form);
        EXPECT_EQ(Window->ComponentTree()->Root(), Form->GetRootComponent());
        EXPECT_GT(Form->GetRootComponent()->ComponentCount(), 3);
    }
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
}

TEST_F(KvDesignerMainTest, DemoFormsSaveAsTheyAre)
{
    // The demo's forms are written as the designer writes them: saving one unchanged keeps
    // every byte.
    TKvProject* Project = Window->Host().ActiveProject();
    for (int I = 0; I < Project->GetModuleCount(); ++I) {
        TKvFormEditor* Form = Window->OpenForm(Project->GetModule(I)->FileName());
        ASSERT_TRUE(Form) << Errors.join(u'\n').toStdString();
        const QString File = QFileInfo(Form->UnitModule()->FormFileName()).fileName();
        Form->Designer()->SetModifiedOutsideHistory();
        ASSERT_TRUE(Window->Save()) << File.toStdString();
        EXPECT_EQ(FileText(Dir.filePath(File)), FileText(QStringLiteral(KV_DEMO_DIR "/") + File)) << File.toStdString();
    }
}

TEST_F(KvDesignerMainTest, EveryPackageReferenceOfTheDemoIsFound)
{
    // With the project's forms open, each caption, hint, message, text and image the demo
    // refers to is an item of one of its packages (the main form's or the package file's).
    TKvProject* Project = Window->Host().ActiveProject();
    QList<TComponent*> Roots;
    for (int I = 0; I < Project->GetModuleCount(); ++I) {
        TKvFormEditor* Form = Window->OpenForm(Project->GetModule(I)->FileName());
        ASSERT_TRUE(Form) << Errors.join(u'\n').toStdString();
        Roots << Form->GetRootComponent();
    }
    // References are published sub-objects of the components and of their collections' items.
    int Found = 0;
    QStringList Missing;
    std::function<void(const QObject*)> Visit = [&](const QObject* Object) {
        const QMetaObject* Meta = Object->metaObject();
        for (int I = 0; I < Meta->propertyCount(); ++I) {
            const QMetaProperty Property = Meta->property(I);
            if (!(Property.metaType().flags() & QMetaType::PointerToQObject))
                continue;
            const QObject* Value = Property.read(Object).value<QObject*>();
            if (const auto* Collection = qobject_cast<const TCollection*>(Value))
                for (int J = 0; J < Collection->Count(); ++J)
                    Visit(Collection->Items(J));
            const auto* Ref = qobject_cast<const TKvMemoryReference*>(Value);
            if (!Ref || Ref->TargetId() < 0)
                continue;
            bool Ok = false;
            if (const auto* R = qobject_cast<const TKvMemoryLabel*>(Ref))
                Ok = R->Label();
            else if (const auto* R = qobject_cast<const TKvMemoryMessage*>(Ref))
                Ok = R->Message();
            else if (const auto* R = qobject_cast<const TKvMemoryText*>(Ref))
                Ok = R->Item();
            else if (const auto* R = qobject_cast<const TKvMemoryImage*>(Ref))
                Ok = !R->Graphic().isNull();
            if (Ok)
                ++Found;
            else
                Missing << QStringLiteral("%1.%2 -> %3/%4")
                               .arg(Object->objectName(), QString::fromLatin1(Property.name()), Ref->TargetPkgName())
                               .arg(Ref->TargetId());
        }
    };
    for (const TComponent* Root : std::as_const(Roots)) {
        Visit(Root);
        for (int I = 0; I < Root->ComponentCount(); ++I)
            Visit(Root->Components(I));
    }
    EXPECT_TRUE(Missing.isEmpty()) << Missing.join(u'\n').toStdString();
    EXPECT_GT(Found, 50);
}

TEST_F(KvDesignerMainTest, PackageFilesAreReadFromBesideTheProject)
{
    // The customer form's strings are in a package file named relative to the project; the
    // test runs elsewhere, so only the project's folder can provide it.
    TKvFormEditor* Form = Window->OpenForm(Dir.filePath(QStringLiteral("KvDemoCustomer.pas")));
    ASSERT_TRUE(Form) << Errors.join(u'\n').toStdString();
    auto LabelOf = [this](const char* Name) {
        TComponent* C = Find(Name);
        return C ? qobject_cast<TKvMemoryLabel*>(C->property("MemoryLabel").value<QObject*>()) : nullptr;
    };
    // A caption (what the form view shows) and a hint from the file.
    const TKvMemoryLabel* Caption = LabelOf("LaCode");
    ASSERT_TRUE(Caption && Caption->Label()) << "the label of LaCode is not found";
    EXPECT_FALSE(Caption->Text().isEmpty());
    EXPECT_EQ(KvDisplayText(Find("LaCode")), Caption->Text());
    const TKvMemoryLabel* Hint = LabelOf("DbEdCode");
    ASSERT_TRUE(Hint && Hint->Label()) << "the label of DbEdCode is not found";
    EXPECT_FALSE(Hint->Hint().isEmpty());
    TKvPkgStrings* Pkg = KvFindPkgStrings(Caption->PkgName());
    ASSERT_TRUE(Pkg);
    EXPECT_TRUE(Pkg->IsFileBacked());
    EXPECT_EQ(QFileInfo(Pkg->GetFileName(Pkg->FileName())), QFileInfo(Dir.filePath(QStringLiteral("KvDemoCustomer.kvstr"))));
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
}

TEST_F(KvDesignerMainTest, PaletteShowsTheRegisteredPagesInOrder)
{
    auto* Palette = Window->findChild<QTabWidget*>(QStringLiteral("TcPalette"));
    const QStringList Pages = PalettePages();
    ASSERT_EQ(Palette->count(), Pages.size());
    for (int I = 0; I < Pages.size(); ++I) {
        EXPECT_EQ(Palette->tabText(I), Pages.at(I));
        const QList<QToolButton*> Buttons = Palette->widget(I)->findChildren<QToolButton*>();
        ASSERT_EQ(Buttons.size(), PaletteClasses(Pages.at(I)).size());
        EXPECT_EQ(Buttons.first()->toolTip(), QString::fromLatin1(PaletteClasses(Pages.at(I)).first()->className()));
        EXPECT_EQ(Buttons.first()->icon().actualSize({24, 24}), QSize(24, 24));
    }
}

// The Help menu lists the loaded package with its description, its pages and their counts.
TEST_F(KvDesignerMainTest, InstalledPackagesShowsTheDescriptionAndThePalette)
{
    auto* Help = Window->findChild<QMenu*>(QStringLiteral("MnHelp"));
    ASSERT_NE(Help, nullptr);
    QStringList Rows;
    QString Description;
    OnModal([&](QWidget* Dialog) {
        EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Installed packages"));
        auto* Tree = Dialog->findChild<QTreeWidget*>(QStringLiteral("TvPackages"));
        ASSERT_NE(Tree, nullptr);
        QTreeWidgetItem* Package = Tree->topLevelItem(0);
        Rows << Package->text(0) + QLatin1Char('=') + Package->text(1);
        for (int I = 0; I < Package->childCount(); ++I)
            Rows << Package->child(I)->text(0) + QLatin1Char('=') + Package->child(I)->text(1);
        // Selecting a page keeps its package's description in view.
        const QRect Page = Tree->visualItemRect(Package->child(2));
        QTest::mouseClick(Tree->viewport(), Qt::LeftButton, {}, Page.center());
        Description = Dialog->findChild<QLabel*>(QStringLiteral("LaDescription"))->text();
        QTest::mouseClick(Dialog->findChild<QPushButton*>(QStringLiteral("BtClose")), Qt::LeftButton);
    });
    Help->actions().first()->trigger();
    EXPECT_EQ(Rows, QStringList({"dclKvCtrls_22=77", "Kv Standard=25", "Kv Additional=24", "Kv Data Controls=15",
                                 "Kv Editors=13"}));
    EXPECT_EQ(Description, QStringLiteral("dclKvCtrls_22: KvControls Standard Library Suite"));
}

// A whole number in a numeric Value reads as typed, without a tail of zeros.
TEST_F(KvDesignerMainTest, NumericValueShowsWithoutTrailingZeros)
{
    auto* Edit = qobject_cast<TKvEdit*>(Find("EdName"));
    ASSERT_TRUE(Edit);
    Edit->SetDataType(KvTypes::dtInteger);
    ClickInTree(Edit);
    TypeIntoInspector("Value", QStringLiteral("42"));
    EXPECT_EQ(Window->Inspector()->FindProperty(QStringLiteral("Value")).data().toString(), QStringLiteral("42"));
}

// A date Value is typed and shown in the application's date order; text that is no date is
// reported and leaves the value as it was.
TEST_F(KvDesignerMainTest, DateValueFollowsTheApplicationsDateOrderAndBadTextKeepsIt)
{
    auto* Edit = qobject_cast<TKvEdit*>(Find("EdName"));
    TKvCApplication* App = KvCApp();
    ASSERT_TRUE(Edit && App);
    Edit->SetDataType(KvTypes::dtDateTime);
    TKvPkgLanguageLocale Locale = App->PkgLanguage()->Locale();
    Locale.DateFormat = 1; // month-day-year
    Locale.DateSeparator = u'-';
    App->PkgLanguage()->SetLocale(Locale);
    ClickInTree(Edit);
    TypeIntoInspector("Value", QStringLiteral("12-31-2024 23:59:58"));
    ASSERT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
    const double NewYearsEve = KvAStrToDate(QStringLiteral("2024-12-31 23:59:58"));
    EXPECT_EQ(Edit->GetValue().AsDate(), NewYearsEve);
    EXPECT_EQ(Window->Inspector()->FindProperty(QStringLiteral("Value")).data().toString(),
              QStringLiteral("12-31-2024 23:59:58"));

    InspectorView()->setCurrentIndex({}); // the value's editor opens afresh
    TypeIntoInspector("Value", QStringLiteral("31-12-2024"));
    ASSERT_EQ(Errors.size(), 1);
    EXPECT_TRUE(Errors.first().contains(QStringLiteral("'31-12-2024' is not a valid date"))) << Errors.first().toStdString();
    EXPECT_EQ(Edit->GetValue().AsDate(), NewYearsEve);
}

// Names are readable: under a non-visual icon in full, and a control lying on another one
// hides that one's name instead of mixing the two.
TEST_F(KvDesignerMainTest, NonVisualComponentsStandAtTheirPlaceAndMoveWithMouseAndKeys)
{
    TKvProject* Project = Window->Host().ActiveProject();
    ASSERT_TRUE(Window->OpenForm(Project->GetModule(1)->FileName())); // the customer form
    TComponent* Popup = Find("PmCustomer");
    TComponent* Strings = Find("PsCustomer");
    ASSERT_TRUE(Popup && Strings);
    Window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
    // Where the form file puts them: 16,320 and 176,320.
    EXPECT_EQ(View()->BoundsOf(Popup).topLeft() - View()->BoundsOf(Strings).topLeft(), QPoint(160, 0));
    const QPoint At = View()->BoundsOf(Popup).center();
    QTest::mouseClick(View(), Qt::LeftButton, {}, At);
    EXPECT_EQ(Designer()->GetSelections(), TDesignerSelectionList({Popup}));
    EXPECT_EQ(View()->ComponentAt(At), Popup);

    // Dragged, it lands on the grid; Ctrl+arrow moves it a pixel; both are steps.
    QTest::mousePress(View(), Qt::LeftButton, {}, At);
    QTest::mouseMove(View(), At + QPoint(10, 10));
    QTest::mouseMove(View(), At + QPoint(30, 21));
    QTest::mouseRelease(View(), Qt::LeftButton, {}, At + QPoint(30, 21));
    EXPECT_EQ(QPoint(Popup->DesignLeft(), Popup->DesignTop()), QPoint(208, 344));
    View()->setFocus();
    QTest::keyClick(View(), Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(View(), Qt::Key_Down, Qt::ShiftModifier); // it has no size
    EXPECT_EQ(Popup->DesignLeft(), 209);
    EXPECT_EQ(View()->ComponentAt(View()->BoundsOf(Popup).center()), Popup);
    EXPECT_EQ(Window->findChild<QAction*>(QStringLiteral("AcUndo"))->text(), QStringLiteral("&Undo Move PmCustomer"));
    EXPECT_TRUE(ObjectBlock(Designer()->FormText(), QStringLiteral("PmCustomer")).contains(QStringLiteral("Left = 209\n    Top = 344")));

    // A band over both selects both.
    const QPoint Corner = View()->BoundsOf(Strings).topLeft() - QPoint(4, 4);
    QTest::mousePress(View(), Qt::LeftButton, {}, Corner);
    QTest::mouseMove(View(), Corner + QPoint(60, 10));
    QTest::mouseMove(View(), Corner + QPoint(240, 40));
    QTest::mouseRelease(View(), Qt::LeftButton, {}, Corner + QPoint(240, 40));
    EXPECT_TRUE(Designer()->GetSelections().contains(Popup) && Designer()->GetSelections().contains(Strings));

    for (int I = 0; I < 2; ++I)
        QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(QPoint(Find("PmCustomer")->DesignLeft(), Find("PmCustomer")->DesignTop()), QPoint(176, 320));
    EXPECT_FALSE(Window->CurrentForm()->IsModified());

    // A non-visual component chosen on the palette is placed where the form is clicked.
    QToolButton* TimerButton = Window->findChild<QToolButton*>(QStringLiteral("BtTKvTimer"));
    ASSERT_TRUE(TimerButton);
    TimerButton->click();
    const QPoint Origin = View()->BoundsOf(Find("PsCustomer")).topLeft() - QPoint(16, 320);
    QTest::mouseClick(View(), Qt::LeftButton, {}, Origin + QPoint(250, 330));
    TComponent* Timer = Find("KvTimer1");
    ASSERT_TRUE(Timer);
    EXPECT_EQ(QPoint(Timer->DesignLeft(), Timer->DesignTop()), QPoint(248, 328));
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
}

TEST_F(KvDesignerMainTest, NoNameShowsThroughAPicture)
{
    TKvProject* Project = Window->Host().ActiveProject();
    ASSERT_TRUE(Window->OpenForm(Project->GetModule(2)->FileName())); // the about form
    const QRect Logo = View()->BoundsOf(Find("PiLogo"));
    ASSERT_TRUE(Logo.isValid());
    // The logo draws its picture; the frame under it, renamed, must not change a pixel of it.
    const QImage Shot = View()->grab(Logo).toImage();
    Find("ShFrame")->SetName(QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWW"));
    EXPECT_EQ(View()->grab(Logo).toImage(), Shot) << "a name shows through the logo";
}

// Two strings packages of one form may not share a name: only one of them could be found.
TEST_F(KvDesignerMainTest, SecondPackageOfTheSameNameIsRefused)
{
    TComponent* Second = Designer()->CreateComponent(&TKvPkgStrings::staticMetaObject, Designer()->GetRoot(), 0, 0, 0, 0);
    ASSERT_TRUE(Second);
    QTest::mouseClick(View(), Qt::LeftButton, {}, View()->BoundsOf(Second).center());
    ASSERT_EQ(Designer()->GetSelections(), TDesignerSelectionList({Second}));
    TypeIntoInspector("PkgName", QStringLiteral("demo"));
    ASSERT_EQ(Errors.size(), 1);
    EXPECT_TRUE(Errors.first().contains(QStringLiteral("PsDemo"))) << Errors.first().toStdString();
    EXPECT_EQ(qobject_cast<TKvPkgStrings*>(Second)->PkgName(), QString());
}

TEST_F(KvDesignerMainTest, TreeInspectorAndSaveWorkTogether)
{
    auto* Edit = qobject_cast<TControl*>(Find("EdName"));
    ASSERT_TRUE(Edit);
    ClickInTree(Edit);
    EXPECT_EQ(Designer()->GetSelections(), TDesignerSelectionList({Edit}));

    // Reading and changing an integer property through its editor.
    EXPECT_EQ(Window->Inspector()->FindProperty(QStringLiteral("Left")).data().toString(), QStringLiteral("104"));
    TypeIntoInspector("Left", QStringLiteral("123"));
    EXPECT_EQ(Edit->GetLeft(), 123);
    EXPECT_TRUE(Window->CurrentForm()->IsModified());
    EXPECT_TRUE(Window->findChild<QTabBar*>(QStringLiteral("TbForms"))->tabText(0).endsWith(u'*'));

    // A value the editor refuses is reported and the old one comes back.
    TypeIntoInspector("Top", QStringLiteral("high"));
    EXPECT_EQ(Errors.size(), 1);
    EXPECT_EQ(Edit->GetTop(), 64);
    EXPECT_EQ(Window->Inspector()->FindProperty(QStringLiteral("Top")).data().toString(), QStringLiteral("64"));

    ASSERT_TRUE(Window->Save());
    EXPECT_FALSE(Window->CurrentForm()->IsModified());
    // The written form is the demo's (which the designer wrote) with only that value changed.
    QString Expected = FileText(QStringLiteral(KV_DEMO_DIR "/KvDemoMain.dfm"));
    const qsizetype At = Expected.indexOf(QStringLiteral("object EdName:"));
    ASSERT_GE(At, 0);
    Expected.replace(Expected.indexOf(QStringLiteral("Left = 104"), At), 10, QStringLiteral("Left = 123"));
    EXPECT_EQ(FileText(Dir.filePath(QStringLiteral("KvDemoMain.dfm"))), Expected);
}

TEST_F(KvDesignerMainTest, FormViewSelectsMovesAndDeletes)
{
    auto* Name = qobject_cast<TControl*>(Find("EdName"));
    auto* City = qobject_cast<TControl*>(Find("EdCity"));
    ASSERT_TRUE(Name && City);
    const QPoint NameAt = View()->BoundsOf(Name).center();
    QTest::mouseClick(View(), Qt::LeftButton, {}, NameAt);
    EXPECT_EQ(Designer()->GetSelections(), TDesignerSelectionList({Name}));
    EXPECT_EQ(Window->ComponentTree()->ComponentAt(Tree()->currentIndex()), Name);

    QTest::mouseClick(View(), Qt::LeftButton, Qt::ControlModifier, View()->BoundsOf(City).center());
    EXPECT_EQ(Designer()->GetSelections(), TDesignerSelectionList({Name, City}));
    // Two selected: the name is not one of the rows, Left is and both agree.
    EXPECT_FALSE(Window->Inspector()->FindProperty(QStringLiteral("Name")).isValid());
    EXPECT_EQ(Window->Inspector()->FindProperty(QStringLiteral("Left")).data().toString(), QStringLiteral("104"));

    // Dragging one moves both; the one dragged lands on the grid, the other keeps its distance.
    QTest::mousePress(View(), Qt::LeftButton, {}, NameAt);
    QTest::mouseMove(View(), NameAt + QPoint(10, 5));
    QTest::mouseMove(View(), NameAt + QPoint(20, 8));
    QTest::mouseRelease(View(), Qt::LeftButton, {}, NameAt + QPoint(20, 8));
    EXPECT_EQ(Name->GetLeft(), 128);
    EXPECT_EQ(City->GetLeft(), 128);
    EXPECT_EQ(City->GetTop(), 104);
    EXPECT_TRUE(Window->CurrentForm()->IsModified());

    View()->setFocus();
    QTest::keyClick(View(), Qt::Key_Delete);
    EXPECT_FALSE(Find("EdName"));
    EXPECT_FALSE(Find("EdCity"));
    EXPECT_FALSE(Window->ComponentTree()->IndexOf(Name).isValid());
    EXPECT_EQ(Designer()->GetSelections(), TDesignerSelectionList({Designer()->GetRoot()}));
}

TEST_F(KvDesignerMainTest, ResizeKeysRenameAndUndoFromTheKeyboard)
{
    auto* Name = qobject_cast<TControl*>(Find("EdName"));
    ASSERT_TRUE(Name);
    const QRect Start(Name->GetLeft(), Name->GetTop(), Name->GetWidth(), Name->GetHeight());
    QTest::mouseClick(View(), Qt::LeftButton, {}, View()->BoundsOf(Name).center());
    ASSERT_EQ(View()->HandleRects().size(), 8);

    // The bottom-right handle, dragged: the far corner lands on the grid.
    const QPoint Corner = View()->HandleRects().at(4).center();
    QTest::mousePress(View(), Qt::LeftButton, {}, Corner);
    QTest::mouseMove(View(), Corner + QPoint(10, 4));
    QTest::mouseMove(View(), Corner + QPoint(21, 9));
    QTest::mouseRelease(View(), Qt::LeftButton, {}, Corner + QPoint(21, 9));
    EXPECT_EQ(Name->GetLeft(), Start.left());
    EXPECT_EQ((Name->GetLeft() + Name->GetWidth()) % TKvFormView::GridSize, 0);
    EXPECT_EQ((Name->GetTop() + Name->GetHeight()) % TKvFormView::GridSize, 0);
    const QSize Sized(Name->GetWidth(), Name->GetHeight());
    EXPECT_NE(Sized, Start.size());

    View()->setFocus();
    QTest::keyClick(View(), Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(View(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Name->GetLeft(), Start.left() + 1);
    EXPECT_EQ(Name->GetHeight(), Sized.height() + 1);
    auto* Undo = Window->findChild<QAction*>(QStringLiteral("AcUndo"));
    ASSERT_TRUE(Undo);
    EXPECT_EQ(Undo->text(), QStringLiteral("&Undo Size EdName"));

    // An arrow alone selects the neighbour: below the name is the city.
    QTest::keyClick(View(), Qt::Key_Down);
    EXPECT_EQ(Designer()->GetSelections(), TDesignerSelectionList({Find("EdCity")}));

    // Renamed in the inspector: the unit's field follows, and Ctrl+Z takes it back.
    ClickInTree(Name);
    TypeIntoInspector("Name", QStringLiteral("EdFull"));
    const QString UnitFile = Dir.filePath(QStringLiteral("KvDemoMain.pas"));
    TKvSourceEditor* Unit = Window->Host().FindUnitModule(UnitFile)->SourceEditor();
    EXPECT_EQ(Name->GetName(), QStringLiteral("EdFull"));
    EXPECT_TRUE(Unit->Text().contains(QStringLiteral("EdFull: TKvEdit;")));

    View()->setFocus();
    for (int I = 0; I < 4; ++I) // rename, size, move, the handle drag
        QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
    auto* Back = qobject_cast<TControl*>(Find("EdName"));
    ASSERT_TRUE(Back);
    EXPECT_TRUE(Unit->Text().contains(QStringLiteral("EdName: TKvEdit;")));
    EXPECT_EQ(QRect(Back->GetLeft(), Back->GetTop(), Back->GetWidth(), Back->GetHeight()), Start);
    EXPECT_FALSE(Window->CurrentForm()->IsModified());
    EXPECT_FALSE(Window->findChild<QTabBar*>(QStringLiteral("TbForms"))->tabText(0).endsWith(u'*'));

    QTest::keyClick(View(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Back->GetWidth(), Sized.width());
    EXPECT_TRUE(Window->CurrentForm()->IsModified());
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
}

TEST_F(KvDesignerMainTest, PageControlShowsOnePageAndSwitchesByTabOrSelection)
{
    auto* Notes = qobject_cast<TKvTabSheet*>(Find("TsNotes"));
    auto* General = qobject_cast<TKvTabSheet*>(Find("TsGeneral"));
    ASSERT_TRUE(Notes && General);
    // The active page (General) is drawn; what the other holds is not there to click.
    EXPECT_TRUE(View()->BoundsOf(Find("EdPhone")).isValid());
    EXPECT_TRUE(View()->BoundsOf(Find("MeNotes")).isNull());
    ASSERT_TRUE(View()->TabRect(Notes).isValid());

    QTest::mouseClick(View(), Qt::LeftButton, {}, View()->TabRect(Notes).center());
    EXPECT_EQ(Designer()->GetSelections(), TDesignerSelectionList({Find("PcDetails")}));
    EXPECT_TRUE(View()->BoundsOf(Find("EdPhone")).isNull());
    const QRect Memo = View()->BoundsOf(Find("MeNotes"));
    ASSERT_TRUE(Memo.isValid());
    QTest::mouseClick(View(), Qt::LeftButton, {}, Memo.center());
    EXPECT_EQ(Designer()->GetSelections(), TDesignerSelectionList({Find("MeNotes")}));
    EXPECT_FALSE(Window->CurrentForm()->IsModified()); // looking at a page changes nothing

    // Picking a component of the hidden page in the tree brings its page forward.
    ClickInTree(Find("EdPhone"));
    EXPECT_TRUE(View()->BoundsOf(Find("EdPhone")).isValid());
    EXPECT_TRUE(View()->BoundsOf(Find("MeNotes")).isNull());
}

TEST_F(KvDesignerMainTest, PaletteClickCreatesInTheContainerClicked)
{
    TComponent* Panel = Find("PnTop");
    ASSERT_TRUE(Panel);
    const QMetaObject* Class = PaletteClasses(PalettePages().first()).last();
    auto* Button = Window->findChild<QToolButton*>(QStringLiteral("Bt") + QString::fromLatin1(Class->className()));
    ASSERT_TRUE(Button);
    Button->click();
    const QRect PanelRect = View()->BoundsOf(Panel);
    QTest::mouseClick(View(), Qt::LeftButton, {}, PanelRect.topLeft() + QPoint(400, 10));

    ASSERT_EQ(Designer()->GetSelections().size(), 1);
    auto* Created = qobject_cast<TComponent*>(Designer()->GetSelections().first());
    ASSERT_TRUE(Created);
    EXPECT_EQ(Created->metaObject(), Class);
    if (auto* Control = qobject_cast<TControl*>(Created)) {
        EXPECT_EQ(Control->Parent(), Panel);
        EXPECT_EQ(Control->GetLeft(), 400); // on the grid
        EXPECT_EQ(Control->GetTop(), 8);
    }
    EXPECT_TRUE(Window->ComponentTree()->IndexOf(Created).isValid());
    EXPECT_TRUE(Window->findChild<QToolButton*>(QStringLiteral("BtPointer"))->isChecked());
    EXPECT_FALSE(View()->CreateClass());
}

TEST_F(KvDesignerMainTest, ContextMenuOffersTheEditorsVerbsThenTheHostsEntries)
{
    // The first component of the demo whose editor has verbs.
    TComponent* WithVerbs = nullptr;
    TComponent* Root = Designer()->GetRoot();
    for (int I = 0; I < Root->ComponentCount() && !WithVerbs; ++I)
        if (GetComponentEditor(Root->Components(I), Designer())->GetVerbCount() > 0)
            WithVerbs = Root->Components(I);
    ASSERT_TRUE(WithVerbs) << "the demo has a component with verbs";
    auto Editor = GetComponentEditor(WithVerbs, Designer());
    std::unique_ptr<QMenu> Menu(Window->CreateComponentMenu(WithVerbs));
    const QList<QAction*> Actions = Menu->actions();
    ASSERT_GT(Actions.size(), Editor->GetVerbCount());
    for (int I = 0; I < Editor->GetVerbCount(); ++I)
        EXPECT_EQ(Actions.at(I)->text(), Editor->GetVerb(I));
    QStringList Rest;
    for (qsizetype I = Editor->GetVerbCount(); I < Actions.size(); ++I)
        if (!Actions.at(I)->isSeparator())
            Rest << Actions.at(I)->text().remove(u'&');
    EXPECT_EQ(Rest, QStringList({"Cut", "Copy", "Paste", "Delete"}));
}

TEST_F(KvDesignerMainTest, AVerbRunsInTheComponentsEditor)
{
    // The application component's sample message verb asks through the library's messages.
    QStringList Shown;
    const TKvMessageHandler Previous = KvSetMessageHandler([&Shown](const TKvMessageRequest& Request) {
        Shown << Request.Text;
        return Request.Default;
    });
    std::unique_ptr<QMenu> Menu(Window->CreateComponentMenu(Find("KvApp")));
    QAction* Verb = nullptr;
    for (QAction* A : Menu->actions())
        if (A->text().contains(QStringLiteral("Message")))
            Verb = A;
    ASSERT_TRUE(Verb);
    Verb->trigger();
    KvSetMessageHandler(Previous);
    ASSERT_EQ(Shown.size(), 1);
    EXPECT_TRUE(Shown.first().contains(QStringLiteral("Example Message")));
    EXPECT_TRUE(Errors.isEmpty());

    // Every verb of the application's showroom is offered.
    EXPECT_EQ(Menu->actions().first()->text(), QStringLiteral("About KvControls ..."));
    for (int I = 0; I < 12; ++I)
        EXPECT_TRUE(Menu->actions().at(I)->isEnabled()) << Menu->actions().at(I)->text().toStdString();

    // So is a value list that has nothing to list from: without its data source, a data
    // control's field is only typed.
    TKvProject* Project = Window->Host().ActiveProject();
    ASSERT_TRUE(Window->OpenForm(Project->GetModule(1)->FileName())); // the customer form
    TComponent* Code = Find("DbEdCode");
    Code->setProperty("DataSource", QVariant::fromValue<TComponent*>(nullptr));
    ClickInTree(Code);
    const QModelIndex Field = Window->Inspector()->FindProperty(QStringLiteral("DataField"));
    ASSERT_TRUE(Field.isValid());
    EXPECT_FALSE(TPropertyAttributes::fromInt(Field.data(TKvInspectorModel::AttributesRole).toInt()) & paValueList);
    EXPECT_TRUE(Field.data(Qt::ToolTipRole).toString().contains(QStringLiteral("data set")));
    InspectorView()->setCurrentIndex(Field);
    EXPECT_TRUE(qobject_cast<QLineEdit*>(InspectorView()->indexWidget(Field)));
}

TEST_F(KvDesignerMainTest, DoubleClickRunsTheDefaultEditorOnAButton)
{
    TComponent* Cancel = Find("BtCancel");
    QTest::mouseDClick(View(), Qt::LeftButton, {}, View()->BoundsOf(Cancel).center());
    EXPECT_EQ(Cancel->property("OnClick").value<TMethod>().Name, QStringLiteral("BtCancelClick"));
    EXPECT_EQ(Designer()->ShownMethod(), QStringLiteral("BtCancelClick"));
    EXPECT_TRUE(Window->CurrentForm()->UnitModule()->SourceEditor()->Text().contains(
        QStringLiteral("procedure TFrDemoMain.BtCancelClick(Sender: TObject);")));
    EXPECT_TRUE(Window->CurrentForm()->IsModified());
}

TEST_F(KvDesignerMainTest, EventsTabMakesNamesAndShowsHandlersThatFollowRenameAndUndo)
{
    TComponent* Edit = Find("EdName");
    ClickInTree(Edit);
    auto* Tabs = Window->findChild<QTabBar*>(QStringLiteral("TbInspector"));
    QTest::mouseClick(Tabs, Qt::LeftButton, {}, Tabs->tabRect(1).center());
    EXPECT_FALSE(Window->Inspector()->FindProperty(QStringLiteral("Left")).isValid());
    const QModelIndex Click = Window->Inspector()->FindProperty(QStringLiteral("OnClick"));
    ASSERT_TRUE(Click.isValid());
    InspectorView()->setCurrentIndex(Click);
    QWidget* Value = InspectorView()->indexWidget(Click);
    ASSERT_TRUE(Value);
    QTest::mouseDClick(Value, Qt::LeftButton);
    QCoreApplication::processEvents(); // the code is shown once the step is done

    TKvSourceEditor* Unit = Window->CurrentForm()->UnitModule()->SourceEditor();
    EXPECT_EQ(Edit->property("OnClick").value<TMethod>().Name, QStringLiteral("EdNameClick"));
    EXPECT_TRUE(Unit->Text().contains(QStringLiteral("    procedure EdNameClick(Sender: TObject);")));
    auto* Code = Window->findChild<QPlainTextEdit*>(QStringLiteral("EdCode"));
    ASSERT_TRUE(Code->isVisible() && Code->isReadOnly());
    const QTextBlock At = Code->textCursor().block();
    EXPECT_EQ(At.previous().text(), QStringLiteral("begin"));
    EXPECT_EQ(At.previous().previous().text(), QStringLiteral("procedure TFrDemoMain.EdNameClick(Sender: TObject);"));
    EXPECT_EQ(Window->findChild<QAction*>(QStringLiteral("AcUndo"))->text(), QStringLiteral("&Undo Set OnClick"));

    // Named by typing; renamed with the component; the unit on view follows.
    TypeIntoInspector("OnDblClick", QStringLiteral("NameTwice"));
    EXPECT_TRUE(Unit->Text().contains(QStringLiteral("procedure TFrDemoMain.NameTwice(Sender: TObject);")));
    QTest::mouseClick(Tabs, Qt::LeftButton, {}, Tabs->tabRect(0).center());
    TypeIntoInspector("Name", QStringLiteral("EdFull"));
    EXPECT_EQ(Edit->property("OnClick").value<TMethod>().Name, QStringLiteral("EdFullClick"));
    EXPECT_EQ(Edit->property("OnDblClick").value<TMethod>().Name, QStringLiteral("NameTwice"));
    EXPECT_TRUE(Code->toPlainText().contains(QStringLiteral("procedure TFrDemoMain.EdFullClick(Sender: TObject);")));

    Window->findChild<QAction*>(QStringLiteral("AcViewUnit"))->trigger();
    ASSERT_FALSE(Code->isVisible());
    View()->setFocus();
    for (int I = 0; I < 3; ++I)
        QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_TRUE(Find("EdName"));
    EXPECT_TRUE(Find("EdName")->property("OnClick").value<TMethod>().IsEmpty());
    EXPECT_FALSE(Unit->Text().contains(QStringLiteral("EdNameClick")) || Unit->Text().contains(QStringLiteral("NameTwice")));
    EXPECT_FALSE(Window->CurrentForm()->IsModified());
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
}

TEST_F(KvDesignerMainTest, CopyAndPasteMakeARenamedCopy)
{
    ClickInTree(Find("BtOk"));
    std::unique_ptr<QMenu> Menu(Window->CreateComponentMenu(Find("BtOk")));
    Menu->actions().at(Menu->actions().size() - 3)->trigger(); // Copy
    ClickInTree(Designer()->GetRoot());
    Menu.reset(Window->CreateComponentMenu(Designer()->GetRoot()));
    Menu->actions().at(Menu->actions().size() - 2)->trigger(); // Paste
    ASSERT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
    ASSERT_EQ(Designer()->GetSelections().size(), 1);
    auto* Copy = qobject_cast<TComponent*>(Designer()->GetSelections().first());
    EXPECT_NE(Copy, Find("BtOk"));
    EXPECT_EQ(Copy->ClassName(), Find("BtOk")->ClassName());
    EXPECT_TRUE(Window->ComponentTree()->IndexOf(Copy).isValid());
}

TEST_F(KvDesignerMainTest, ClosingAsksAboutUnsavedForms)
{
    ClickInTree(Find("LaName"));
    TypeIntoInspector("Width", QStringLiteral("90"));
    ASSERT_TRUE(Window->CurrentForm()->IsModified());

    Answer = TKvAppPrompts::Cancel;
    EXPECT_FALSE(Window->close());
    ASSERT_EQ(Asked.size(), 1);
    EXPECT_TRUE(Asked.first().first().endsWith(QStringLiteral("KvDemoMain.dfm")));

    Answer = TKvAppPrompts::Save;
    EXPECT_TRUE(Window->close());
    EXPECT_TRUE(ObjectBlock(FileText(Dir.filePath(QStringLiteral("KvDemoMain.dfm"))), QStringLiteral("LaName"))
                    .contains(QStringLiteral("Width = 90")));
}

TEST_F(KvDesignerMainTest, OpeningAProjectIsRemembered)
{
    EXPECT_EQ(Window->RecentProjects().value(0), QDir(Dir.path()).filePath(QStringLiteral("KvDemo.dpr")));
    // A project that does not read keeps the open one.
    EXPECT_FALSE(Window->OpenProject(Dir.filePath(QStringLiteral("Missing.dpr"))));
    EXPECT_EQ(Errors.size(), 1);
    EXPECT_TRUE(Window->CurrentForm());
}

TEST_F(KvDesignerMainTest, StringsPackageOfTheFormIsEditedFromTheFormView)
{
    auto* Pkg = qobject_cast<TKvPkgStrings*>(Find("PsDemo"));
    ASSERT_TRUE(Pkg);
    ASSERT_FALSE(Window->CurrentForm()->IsModified());
    const int Count = Pkg->Labels()->Count();
    const int Deleted = Pkg->Labels()->GetItems(0)->Id();
    int Added = -1;
    OnModal([&](QWidget* Editor) {
        EXPECT_EQ(Editor->windowTitle(), QStringLiteral("Package : Demo"));
        OnModal([&](QWidget* Dialog) {
            EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Add Label"));
            Added = Ctl<QLineEdit>(Dialog, "EdId")->text().toInt();
            Retype(Ctl<QLineEdit>(Dialog, "EdLabel"), QStringLiteral("Zebra"));
            Click(Dialog, "BtOk");
        });
        Click(Editor, "BtAdd");
        EXPECT_TRUE(Window->CurrentForm()->IsModified());

        auto* Search = Ctl<QLineEdit>(Editor, "EdSearchLabels");
        Retype(Ctl<QLineEdit>(Editor, "EdIdLabels"), QString::number(Deleted));
        Retype(Search, QStringLiteral("zeb"));
        EXPECT_EQ(Ctl<QLineEdit>(Editor, "EdIdLabels")->text(), QString::number(Added));
        AnswerLabelDialog(QStringLiteral("Zebra crossing"));
        Click(Editor, "BtModify");
        EXPECT_EQ(Search->text(), QStringLiteral("Zebra crossing"));

        Retype(Ctl<QLineEdit>(Editor, "EdIdLabels"), QString::number(Deleted));
        TKvMessageRecorder Messages({KvBtnAccept});
        Click(Editor, "BtDelete");
        EXPECT_EQ(Messages.Count(), 1);
        QTest::keyClick(Editor, Qt::Key_Escape);
    });
    QTest::mouseDClick(View(), Qt::LeftButton, {}, View()->BoundsOf(Pkg).center());

    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
    ASSERT_GT(Added, 0);
    ASSERT_TRUE(Pkg->Labels()->FindId(Added));
    EXPECT_EQ(Pkg->Labels()->FindId(Added)->Text(), QStringLiteral("Zebra crossing"));
    EXPECT_FALSE(Pkg->Labels()->FindId(Deleted));
    EXPECT_EQ(Pkg->Labels()->Count(), Count);
    EXPECT_TRUE(Window->findChild<QTabBar*>(QStringLiteral("TbForms"))->tabText(0).endsWith(u'*'));

    // The change travels with the form.
    ASSERT_TRUE(Window->Save());
    TKvProject* Project = Window->Host().ActiveProject();
    ASSERT_TRUE(Window->OpenProject(Project->FileName()));
    Pkg = qobject_cast<TKvPkgStrings*>(Find("PsDemo"));
    ASSERT_TRUE(Pkg && Pkg->Labels()->FindId(Added));
    EXPECT_EQ(Pkg->Labels()->FindId(Added)->Text(), QStringLiteral("Zebra crossing"));
    EXPECT_FALSE(Pkg->Labels()->FindId(Deleted));
}

TEST_F(KvDesignerMainTest, StringsPackageInItsOwnFileIsSavedThereNotInTheForm)
{
    ASSERT_TRUE(Window->OpenForm(Dir.filePath(QStringLiteral("KvDemoCustomer.pas"))));
    auto* Pkg = qobject_cast<TKvPkgStrings*>(Find("PsCustomer"));
    ASSERT_TRUE(Pkg);
    const QString File = Dir.filePath(QStringLiteral("KvDemoCustomer.kvstr"));
    auto OpenFromTheTree = [&] {
        const QModelIndex Index = Window->ComponentTree()->IndexOf(Pkg);
        ASSERT_TRUE(Index.isValid());
        ClickInTree(Pkg);
        QTest::mouseDClick(Tree()->viewport(), Qt::LeftButton, {}, Tree()->visualRect(Index).center());
    };
    // The first close stores the editor's bounds, which the designer always hears of.
    bool Opened = false;
    OnModal([&](QWidget* Editor) {
        Opened = true;
        QTest::keyClick(Editor, Qt::Key_Escape);
    });
    OpenFromTheTree();
    ASSERT_TRUE(Opened);
    // The bounds go to the package's file; the form itself did not change.
    EXPECT_FALSE(Window->CurrentForm()->IsModified());
    ASSERT_TRUE(Window->Save());
    TKvPkgStrings Read;
    Read.LoadFromFile(File);
    EXPECT_TRUE(Read.EditorBounds().IsStored());

    // Items of a file-backed package go to its file, not to the form.
    int Added = -1;
    OnModal([&](QWidget* Editor) {
        OnModal([&](QWidget* Dialog) {
            Added = Ctl<QLineEdit>(Dialog, "EdId")->text().toInt();
            Retype(Ctl<QLineEdit>(Dialog, "EdLabel"), QStringLiteral("Loyalty"));
            Click(Dialog, "BtOk");
        });
        Click(Editor, "BtAdd");
        QTest::keyClick(Editor, Qt::Key_Escape);
    });
    OpenFromTheTree();

    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
    ASSERT_GT(Added, 0);
    EXPECT_FALSE(Window->CurrentForm()->IsModified());
    Read.LoadFromFile(File);
    ASSERT_TRUE(Read.Labels()->FindId(Added));
    EXPECT_EQ(Read.Labels()->FindId(Added)->Text(), QStringLiteral("Loyalty"));
    EXPECT_EQ(Read.Labels()->Count(), Pkg->Labels()->Count());
}

TEST_F(KvDesignerMainTest, ButtonCaptionIsPickedFromTheInspector)
{
    auto* Button = Find("BtOk");
    auto* Pkg = qobject_cast<TKvPkgStrings*>(Find("PsDemo"));
    ASSERT_TRUE(Button && Pkg);
    auto* Reference = qobject_cast<TKvMemoryLabel*>(Button->property("MemoryLabel").value<QObject*>());
    ASSERT_TRUE(Reference);
    const TKvPkgStringsLabel* Chosen = nullptr;
    for (int I = 0; I < Pkg->Labels()->Count() && !Chosen; ++I)
        if (Pkg->Labels()->GetItems(I)->Id() != Reference->TargetId() && !Pkg->Labels()->GetItems(I)->Hint().isEmpty())
            Chosen = Pkg->Labels()->GetItems(I);
    ASSERT_TRUE(Chosen);
    ClickInTree(Button);
    const QModelIndex Row = Window->Inspector()->FindProperty(QStringLiteral("MemoryLabel"));
    ASSERT_TRUE(Row.isValid());
    InspectorView()->setCurrentIndex(Row.siblingAtColumn(1));
    QWidget* Value = InspectorView()->indexWidget(Row.siblingAtColumn(1));
    ASSERT_TRUE(Value);
    TModifiedCounter Counter(Designer());
    OnModal([&](QWidget* Picker) {
        EXPECT_EQ(Ctl<QComboBox>(Picker, "EdPackage")->currentText(), QStringLiteral("Demo"));
        Retype(Ctl<QLineEdit>(Picker, "EdId"), QString::number(Chosen->Id()));
        Click(Picker, "BtOk");
    });
    QTest::mouseDClick(Value, Qt::LeftButton);

    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
    EXPECT_EQ(Reference->TargetId(), Chosen->Id());
    EXPECT_EQ(Reference->PkgName(), QStringLiteral("Demo"));
    EXPECT_EQ(Window->Inspector()->FindProperty(QStringLiteral("MemoryLabel")).siblingAtColumn(1).data().toString(),
              QStringLiteral("(%1, Demo) %2 - %3").arg(Chosen->Id()).arg(Chosen->Text(), Chosen->Hint()));
    EXPECT_EQ(KvDisplayText(Button), Chosen->Text());
    EXPECT_TRUE(Window->CurrentForm()->IsModified());
    EXPECT_EQ(Counter.Count, 1);
}

TEST_F(KvDesignerMainTest, StringsPackageIsSavedAndLoadedThroughItsDialog)
{
    auto* Pkg = qobject_cast<TKvPkgStrings*>(Find("PsDemo"));
    ASSERT_TRUE(Pkg);
    const int Deleted = Pkg->Labels()->GetItems(0)->Id();
    const QString Text = Pkg->Labels()->GetItems(0)->Text();
    OnModal([&](QWidget* Editor) {
        OnModal([&](QWidget* Dialog) {
            EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Save PkgStrings"));
            Retype(Ctl<QLineEdit>(Dialog, "EdFileName"), QStringLiteral("Copy"));
            Click(Dialog, "BtOk");
        });
        Click(Editor, "BtSave");
        EXPECT_TRUE(QFileInfo::exists(Dir.filePath(QStringLiteral("Copy.kvstr"))));

        Retype(Ctl<QLineEdit>(Editor, "EdIdLabels"), QString::number(Deleted));
        {
            TKvMessageRecorder Messages({KvBtnAccept});
            Click(Editor, "BtDelete");
        }
        ASSERT_FALSE(Pkg->Labels()->FindId(Deleted));

        TKvMessageRecorder Messages({KvBtnAccept});
        OnModal([&](QWidget* Dialog) {
            EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Load PkgStrings"));
            Retype(Ctl<QLineEdit>(Dialog, "EdFileName"), QStringLiteral("Copy"));
            Click(Dialog, "BtOk");
        });
        Click(Editor, "BtLoad");
        EXPECT_EQ(Messages.Count(), 1); // the form's items are erased: asked first
        Retype(Ctl<QLineEdit>(Editor, "EdIdLabels"), QString::number(Deleted));
        EXPECT_EQ(Ctl<QLineEdit>(Editor, "EdSearchLabels")->text(), Text);
        QTest::keyClick(Editor, Qt::Key_Escape);
    });
    Window->EditComponent(Pkg);

    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
    ASSERT_TRUE(Pkg->Labels()->FindId(Deleted));
    EXPECT_EQ(Pkg->Labels()->FindId(Deleted)->Text(), Text);
    EXPECT_TRUE(Window->CurrentForm()->IsModified());
}

} // namespace

TEST_F(KvDesignerMainTest, MultiLineAndRichTextAreEditedFromTheInspectorAndUndone)
{
    ASSERT_TRUE(Window->OpenForm(Dir.filePath(QStringLiteral("KvDemoAbout.pas"))));
    auto ClickEllipsis = [this](const char* Property) {
        const QModelIndex Row = Window->Inspector()->FindProperty(QString::fromLatin1(Property));
        ASSERT_TRUE(Row.isValid()) << Property;
        const QRect Cell = InspectorView()->visualRect(Row.siblingAtColumn(1));
        QTest::mouseClick(InspectorView()->viewport(), Qt::LeftButton, {}, QPoint(Cell.right() - 10, Cell.center().y()));
    };

    // A label's caption: typed in the memo, taken back by Escape, undone by Ctrl+Z.
    auto* Label = qobject_cast<TKvLabel*>(Find("LaVersion"));
    ASSERT_TRUE(Label);
    ClickInTree(Label);
    OnModal([](QWidget* Memo) {
        EXPECT_EQ(Memo->windowTitle(), QStringLiteral("Property: Caption"));
        auto* Edit = Ctl<QPlainTextEdit>(Memo, "EdMemo");
        QTest::keyClicks(Edit, QStringLiteral("Version 2"));
        QTest::keyClick(Edit, Qt::Key_Return);
        QTest::keyClicks(Edit, QStringLiteral("built today"));
        QTest::keyClick(Edit, Qt::Key_Return);
        QTest::keyClick(Memo, Qt::Key_Escape);
    });
    ClickEllipsis("Caption");
    EXPECT_EQ(Label->Caption().Text(), QStringLiteral("Version 2\r\nbuilt today\r\n"));
    EXPECT_EQ(Designer()->UndoStack()->undoText(), QStringLiteral("Set Caption"));

    // The rich edit's lines: made bold with the mouse, stored as rich text on OK.
    auto* Rich = qobject_cast<TKvRichEdit*>(Find("ReCredits"));
    ASSERT_TRUE(Rich);
    const QStringList Stored = Rich->Lines()->List();
    ClickInTree(Rich);
    EXPECT_EQ(Window->Inspector()->FindProperty(QStringLiteral("Lines")).siblingAtColumn(1).data().toString(),
              QStringLiteral("(TStrings)"));
    OnModal([](QWidget* Editor) {
        auto* Edit = Ctl<QTextEdit>(Editor, "EdRichEdit");
        EXPECT_TRUE(Edit->toPlainText().startsWith(QStringLiteral("KvControls Demo\nMade with the KvControls library:")));
        QTest::keyClick(Edit, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(Edit, Qt::Key_Home, Qt::ShiftModifier);
        QTest::mouseClick(Ctl<QToolButton>(Editor, "SbBold"), Qt::LeftButton);
        QTest::mouseClick(Ctl<QPushButton>(Editor, "BtOk"), Qt::LeftButton);
    });
    ClickEllipsis("Lines");
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
    EXPECT_NE(Rich->Lines()->List(), Stored);
    const std::unique_ptr<QTextDocument> Doc(KvReadRichText(Rich->Lines()->Text()));
    const QTextBlock Last = Doc->lastBlock();
    EXPECT_EQ(Last.text(), QStringLiteral("Caf\u00e9 Dev \u00a9 2026"));
    EXPECT_GE(Last.begin().fragment().charFormat().fontWeight(), QFont::DemiBold);
    EXPECT_EQ(Last.begin().fragment().charFormat().foreground().color(), QColor(192, 0, 0));
    EXPECT_EQ(Designer()->UndoStack()->undoText(), QStringLiteral("Set Lines"));

    // The closed dialogs gave the main window back its keys.
    Window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
    View()->setFocus();
    QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
    Rich = qobject_cast<TKvRichEdit*>(Find("ReCredits"));
    ASSERT_TRUE(Rich);
    EXPECT_EQ(Rich->Lines()->List(), Stored);
    QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(qobject_cast<TKvLabel*>(Find("LaVersion"))->Caption().Text(), QString());
    EXPECT_FALSE(Window->CurrentForm()->IsModified());
}

// Alt+F12 shows the form as text; text that does not read keeps the text view with the cursor at
// the error; text that reads is one step, undone with Ctrl+Z. F12 shows the unit, read-only.
TEST_F(KvDesignerMainTest, FormAsTextIsEditedAndAppliedAsOneStep)
{
    auto* Code = Window->findChild<QPlainTextEdit*>(QStringLiteral("EdCode"));
    ASSERT_TRUE(Code);
    Window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
    View()->setFocus();
    QTest::keyClick(View(), Qt::Key_F12, Qt::AltModifier);
    ASSERT_TRUE(Code->isVisible());
    EXPECT_FALSE(View()->isVisible());
    EXPECT_FALSE(Code->isReadOnly());
    EXPECT_TRUE(Code->toPlainText().startsWith(QStringLiteral("object FrDemoMain: TFrDemoMain\n")));
    // The form's history waits: applying the text would overwrite what it undid. A change made
    // in the inspector shows in the text not yet typed into.
    EXPECT_FALSE(Window->findChild<QAction*>(QStringLiteral("AcUndo"))->isEnabled());
    TypeIntoInspector("Caption", QStringLiteral("Renamed demo"));
    EXPECT_TRUE(Code->toPlainText().contains(QStringLiteral("Caption = 'Renamed demo'")));
    QTest::keyClick(Code, Qt::Key_Z, Qt::ControlModifier); // the text's own undo: nothing typed
    EXPECT_TRUE(Designer()->FormText().contains(QStringLiteral("Caption = 'Renamed demo'")));
    Designer()->UndoStack()->undo();
    EXPECT_FALSE(Code->toPlainText().contains(QStringLiteral("Renamed demo")));

    QTest::keyClick(Code, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(Code, Qt::Key_End);
    QTest::keyClick(Code, Qt::Key_Return);
    QTest::keyClicks(Code, QStringLiteral("  Caption = 'open"));
    QTest::keyClick(Code, Qt::Key_F12, Qt::AltModifier);
    ASSERT_EQ(Errors.size(), 1);
    EXPECT_TRUE(Errors.first().startsWith(QStringLiteral("KvDemoMain.dfm(2,"))) << Errors.first().toStdString();
    EXPECT_TRUE(Code->isVisible());
    EXPECT_EQ(Code->textCursor().blockNumber(), 1);
    EXPECT_FALSE(Window->CurrentForm()->IsModified());

    QTest::keyClick(Code, Qt::Key_End);
    QTest::keyClicks(Code, QStringLiteral(" text'"));
    QTest::keyClick(Code, Qt::Key_F12, Qt::AltModifier);
    EXPECT_FALSE(Code->isVisible());
    EXPECT_TRUE(View()->isVisible());
    EXPECT_TRUE(Designer()->FormText().contains(QStringLiteral("Caption = 'open text'")));
    auto* Undo = Window->findChild<QAction*>(QStringLiteral("AcUndo"));
    EXPECT_EQ(Undo->text(), QStringLiteral("&Undo Edit as Text"));
    QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(Designer()->FormText().contains(QStringLiteral("open text")));
    EXPECT_FALSE(Window->CurrentForm()->IsModified());

    QTest::keyClick(View(), Qt::Key_F12);
    ASSERT_TRUE(Code->isVisible());
    EXPECT_TRUE(Code->isReadOnly());
    EXPECT_TRUE(Code->toPlainText().contains(QStringLiteral("TFrDemoMain = class(TForm)")));
    QTest::keyClick(Code, Qt::Key_F12);
    EXPECT_FALSE(Code->isVisible());
    EXPECT_EQ(Errors.size(), 1);
}

// What the code view colours: reserved words (not after a dot), strings with #nn, numbers, and
// comments of each kind, a brace comment running over lines.
TEST(KvPascalHighlighterTest, ColoursWordsStringsAndComments)
{
    QTextDocument Doc;
    TKvPascalHighlighter H(&Doc);
    Doc.setPlainText(QStringLiteral("begin X := 'it''s end'#13#10; Self.Object := 42; // end\n"
                                    "{ a comment\nend of it } Y (* z *) {$IFDEF W}"));
    H.rehighlight(); // a new highlighter colours the document once the event loop runs
    auto KindAt = [&](int Line, const QString& Needle) {
        const QTextBlock Block = Doc.findBlockByNumber(Line);
        const int Pos = int(Block.text().indexOf(Needle));
        EXPECT_GE(Pos, 0) << Needle.toStdString();
        for (const QTextLayout::FormatRange& R : Block.layout()->formats())
            if (R.start <= Pos && Pos < R.start + R.length)
                for (int K = TKvPascalHighlighter::Keyword; K <= TKvPascalHighlighter::Directive; ++K)
                    if (R.format == H.Format(TKvPascalHighlighter::TKind(K)))
                        return K;
        return int(TKvPascalHighlighter::Plain);
    };
    EXPECT_EQ(KindAt(0, "begin"), TKvPascalHighlighter::Keyword);
    EXPECT_EQ(KindAt(0, "X :="), TKvPascalHighlighter::Plain);
    EXPECT_EQ(KindAt(0, "s end'"), TKvPascalHighlighter::String);
    EXPECT_EQ(KindAt(0, "#10"), TKvPascalHighlighter::String);
    EXPECT_EQ(KindAt(0, "Object"), TKvPascalHighlighter::Plain);
    EXPECT_EQ(KindAt(0, "42"), TKvPascalHighlighter::Number);
    EXPECT_EQ(KindAt(0, "// end"), TKvPascalHighlighter::Comment);
    EXPECT_EQ(KindAt(1, "a comment"), TKvPascalHighlighter::Comment);
    EXPECT_EQ(KindAt(2, "end of"), TKvPascalHighlighter::Comment);
    EXPECT_EQ(KindAt(2, "Y"), TKvPascalHighlighter::Plain);
    EXPECT_EQ(KindAt(2, "z *)"), TKvPascalHighlighter::Comment);
    EXPECT_EQ(KindAt(2, "IFDEF"), TKvPascalHighlighter::Directive);

    // In form text, braces hold binary data over lines.
    Doc.setPlainText(QStringLiteral("  Data = {\n    0A0B}\n  end"));
    H.SetFormText(true);
    EXPECT_EQ(KindAt(1, "0A0B"), TKvPascalHighlighter::Number);
    EXPECT_EQ(KindAt(2, "end"), TKvPascalHighlighter::Keyword);
}

// Edit > Tab Order on a selected edit shows its siblings; moving it up with the mouse is one
// step, undone with Ctrl+Z. Creation order moves the same way; Cancel changes nothing.
TEST_F(KvDesignerMainTest, TabOrderAndCreationOrderWindowsAreOneStepEach)
{
    Window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
    TComponent* Name = Find("EdName");
    QTest::mouseClick(View(), Qt::LeftButton, {}, View()->BoundsOf(Name).center());
    TComponent* Form = Designer()->GetRoot();
    const QStringList Before = Designer()->TabOrderNames(Form);
    const qsizetype At = Before.indexOf(QStringLiteral("EdName"));
    ASSERT_GT(At, 0);

    // Picks Name in the window's list with the mouse, presses Button, then OK.
    auto Answer = [](const QString& Name, const char* Button, QDialogButtonBox::StandardButton Close) {
        OnModal([=](QWidget* Dialog) {
            auto* List = Ctl<QListWidget>(Dialog, "LsItems");
            const QList<QListWidgetItem*> Items = List->findItems(Name + u':', Qt::MatchStartsWith);
            ASSERT_EQ(Items.size(), 1);
            QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, List->visualItemRect(Items.first()).center());
            Click(Dialog, Button);
            QTest::mouseClick(Ctl<QDialogButtonBox>(Dialog, "BbButtons")->button(Close), Qt::LeftButton);
        });
    };
    Answer(QStringLiteral("EdName"), "BtUp", QDialogButtonBox::Ok);
    Window->findChild<QAction*>(QStringLiteral("AcTabOrder"))->trigger();
    QStringList Expected = Before;
    Expected.swapItemsAt(At, At - 1);
    EXPECT_EQ(Designer()->TabOrderNames(Form), Expected);
    EXPECT_EQ(Designer()->UndoStack()->undoText(), QStringLiteral("Tab Order"));
    Window->activateWindow(); // the closed window gave the main window back its keys
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
    View()->setFocus();
    QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Designer()->TabOrderNames(Form), Before);

    const QStringList Created = Designer()->CreationOrderNames();
    Answer(Created.first(), "BtDown", QDialogButtonBox::Cancel);
    Window->findChild<QAction*>(QStringLiteral("AcCreationOrder"))->trigger();
    EXPECT_EQ(Designer()->CreationOrderNames(), Created);
    Answer(Created.first(), "BtDown", QDialogButtonBox::Ok);
    Window->findChild<QAction*>(QStringLiteral("AcCreationOrder"))->trigger();
    QStringList Moved = Created;
    Moved.swapItemsAt(0, 1);
    EXPECT_EQ(Designer()->CreationOrderNames(), Moved);
    EXPECT_EQ(Designer()->UndoStack()->undoText(), QStringLiteral("Creation Order"));
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(u'\n').toStdString();
}

// Controls show their sets as the runtime paints them; a control whose sets the display
// package lacks keeps the designer's plain face.
TEST_F(KvDesignerMainTest, ControlsAreDrawnWithTheirDisplaySets)
{
    TKvCApplication* App = KvCApp();
    ASSERT_NE(App, nullptr);
    TKvPkgDisplay* Display = App->PkgDisplay();
    ASSERT_NE(Display->SetsBackGround()->Find(QStringLiteral("EdBackGround")), nullptr);
    const auto Inside = [&](const char* Name) { return View()->BoundsOf(Find(Name)).adjusted(1, 1, -1, -1); };
    const auto Shot = [&](const char* Name) { return View()->grab(Inside(Name)).toImage(); };

    // The edit left at "<Default>" draws its default background, a gradient, pixel for pixel.
    const QImage Edit = Shot("EdName");
    QImage Expected(Edit.size(), QImage::Format_RGB32);
    {
        QPainter P(&Expected);
        Display->PaintBackGround(P, Expected.rect(), QStringLiteral("EdBackGround"), TColor{KvColors::clBtnFace});
    }
    const QPoint Corner(Edit.width() - 2, Edit.height() - 2);
    EXPECT_EQ(Edit.pixelColor(1, 1), Expected.pixelColor(1, 1));
    EXPECT_EQ(Edit.pixelColor(Corner), Expected.pixelColor(Corner));
    EXPECT_NE(Edit.pixelColor(1, 1), Edit.pixelColor(Corner));

    // A label with no set of the package: the plain face.
    const QColor Plain = Shot("LaCity").pixelColor(1, 1);
    EXPECT_EQ(Plain, QColor(0xf4, 0xf4, 0xf4));

    // A colour set fills it; a font set writes its caption in the set's colour.
    Display->SetsColor()->Add(QStringLiteral("Probe"))->SetColor(TColor{0x0000FF});
    TKvSetFontItem* Font = Display->SetsFont()->Add(QStringLiteral("ProbeFont"));
    Font->SetFontColor(TColor{0xFF0000});
    auto* City = Find("LaCity");
    City->findChild<TKvSetColor*>()->SetName(QStringLiteral("Probe"));
    City->findChild<TKvSetFont*>()->SetName(QStringLiteral("ProbeFont"));
    const QImage Label = Shot("LaCity");
    EXPECT_EQ(Label.pixelColor(1, 1), QColor(Qt::red));
    bool Blue = false;
    for (int Y = 0; Y < Label.height() && !Blue; ++Y)
        for (int X = 0; X < Label.width() && !Blue; ++X)
            Blue = Label.pixelColor(X, Y) == QColor(Qt::blue);
    EXPECT_TRUE(Blue) << "the caption is not in the font set's colour";

    // No background set on the edit: a flat face again.
    Find("EdName")->findChild<TKvSetBackGround*>()->SetName(QString());
    const QImage Flat = Shot("EdName");
    EXPECT_EQ(Flat.pixelColor(1, 1), Flat.pixelColor(Corner));
}
