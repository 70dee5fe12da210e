#include "strings/KvVtMemoryLabel.h"
#include "strings/KvVtMemoryLabelAdd.h"
#include "strings/KvVtMemoryMessage.h"
#include "strings/KvVtMemoryText.h"

#include "registration/KvPropEditors.h"

#include "DesignIntf.h"
#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "KvMessages.h"
#include "KvPkgStrings.h"
#include "KvReferences.h"
#include "KvStdCtrls.h"
#include "TypInfo.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A control of a window by its name, as the window's form names it.
template <class T>
T* Ctl(QWidget* Window, const char* Name)
{
    T* Control = Window->findChild<T*>(QString::fromLatin1(Name));
    EXPECT_NE(Control, nullptr) << Name;
    return Control;
}

// Runs Action on the modal window that opens next, once its event loop runs.
void OnModal(std::function<void(QWidget*)> Action)
{
    QTimer::singleShot(0, [Action] {
        QWidget* Window = QApplication::activeModalWidget();
        ASSERT_NE(Window, nullptr);
        Action(Window);
    });
}

void TypeInto(QWidget* Box, const QString& Text, bool Clear = true)
{
    Box->setFocus();
    if (Clear)
        for (int I = 0; I < 8; ++I)
            QTest::keyClick(Box, Qt::Key_Backspace);
    QTest::keyClicks(Box, Text);
}

// Clicks a row as the developer does: on the list's viewport, inside the row's rectangle.
void ClickRow(TKvStringsListView* List, int Row, bool Double = false)
{
    QApplication::processEvents(); // lays the rows out
    const QRect Rect = List->visualRect(List->model()->index(Row, 0));
    ASSERT_TRUE(Rect.isValid());
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, Rect.center());
    if (Double)
        QTest::mouseDClick(List->viewport(), Qt::LeftButton, {}, Rect.center());
}

// Strings packages as a form holds them, and the designer's modified marks.
class PickerTest : public ::testing::Test
{
protected:
    std::unique_ptr<TKvPkgStrings> FSystem;
    std::unique_ptr<TKvPkgStrings> FSales;
    QList<TPersistent*> FModified;

    void SetUp() override
    {
        FSystem = MakePkg(QStringLiteral("System"));
        FSales = MakePkg(QStringLiteral("Sales"));
        for (int I = 1; I <= 3; ++I) {
            FSales->Labels()->Add(I, QStringLiteral("Label %1").arg(QChar(u'D' - I)), QStringLiteral("Hint %1").arg(I));
            FSales->Messages()->Add(I * 10, QStringLiteral("Message %1").arg(I));
            FSales->Texts()->Add(I * 10, QStringLiteral("Text %1").arg(I));
        }
        FSystem->Labels()->Add(5, QStringLiteral("Accept"));
        KvDsgnModified = [this](TPersistent* Object) { FModified << Object; };
    }
    void TearDown() override { KvDsgnModified = nullptr; }

    static std::unique_ptr<TKvPkgStrings> MakePkg(const QString& Name)
    {
        auto Pkg = std::make_unique<TKvPkgStrings>();
        Pkg->SetPkgName(Name);
        return Pkg;
    }
};

// ---------------------------------------------------------------------------------------------
// What the picker writes into the reference

TEST_F(PickerTest, DefaultReferenceOpensOnItsDefaultAndStaysDefault)
{
    TKvMemoryLabel Ref(nullptr, QStringLiteral("System"), 5);
    TFrMemoryLabel Picker;
    Picker.FMemoryLabel = &Ref;
    OnModal([&](QWidget*) {
        EXPECT_EQ(Ctl<QComboBox>(&Picker, "EdPackage")->currentText(), QStringLiteral("System"));
        EXPECT_EQ(Ctl<QLineEdit>(&Picker, "EdId")->text(), QStringLiteral("5"));
        EXPECT_EQ(Ctl<QLineEdit>(&Picker, "EdSearch")->text(), QStringLiteral("Accept"));
        EXPECT_TRUE(Ctl<QPushButton>(&Picker, "BtDefault")->isEnabled());
        QTest::mouseClick(Ctl<QPushButton>(&Picker, "BtOk"), Qt::LeftButton);
    });
    EXPECT_EQ(Picker.Execute(), 1);
    EXPECT_EQ(Ref.Id(), TKvMemoryReference::IdDefault);
}

TEST_F(PickerTest, DefaultPackageAndIdTypedByHandStoreDefault)
{
    TKvMemoryLabel Ref(nullptr, QStringLiteral("System"), 5);
    Ref.PkgId(QStringLiteral("Sales"), 2);
    TFrMemoryLabel Picker;
    Picker.FMemoryLabel = &Ref;
    OnModal([&](QWidget*) {
        Ctl<QComboBox>(&Picker, "EdPackage")->setFocus();
        Ctl<QComboBox>(&Picker, "EdPackage")->lineEdit()->selectAll();
        QTest::keyClicks(Ctl<QComboBox>(&Picker, "EdPackage")->lineEdit(), QStringLiteral("system"));
        TypeInto(Ctl<QLineEdit>(&Picker, "EdId"), QStringLiteral("5"));
        QTest::keyClick(Ctl<QLineEdit>(&Picker, "EdId"), Qt::Key_Return);
    });
    EXPECT_EQ(Picker.Execute(), 1);
    EXPECT_EQ(Ref.Id(), TKvMemoryReference::IdDefault);
}

TEST_F(PickerTest, NullAndEmptyIdAndCancel)
{
    struct Case
    {
        bool HasDefault;
        std::function<void(TFrMemoryMessage&)> Act;
        int Result;
        QString PkgName;
        int Id;
    };
    const QList<Case> Cases = {
        {true, [](TFrMemoryMessage& P) { QTest::mouseClick(Ctl<QPushButton>(&P, "BtNull"), Qt::LeftButton); }, 1, "Sales", -1},
        {true, [](TFrMemoryMessage& P) {
             TypeInto(Ctl<QLineEdit>(&P, "EdId"), QString());
             QTest::mouseClick(Ctl<QPushButton>(&P, "BtOk"), Qt::LeftButton);
         }, 1, "Sales", -2},
        {false, [](TFrMemoryMessage& P) {
             TypeInto(Ctl<QLineEdit>(&P, "EdId"), QString());
             QTest::mouseClick(Ctl<QPushButton>(&P, "BtOk"), Qt::LeftButton);
         }, 1, "Sales", -1},
        {false, [](TFrMemoryMessage& P) {
             TypeInto(Ctl<QLineEdit>(&P, "EdId"), QStringLiteral("30"));
             QTest::keyClick(Ctl<QLineEdit>(&P, "EdId"), Qt::Key_Escape);
         }, 2, "Sales", 20},
        {true, [](TFrMemoryMessage& P) { QTest::mouseClick(Ctl<QPushButton>(&P, "BtDefault"), Qt::LeftButton); }, 1, "Sales", -2},
    };
    for (qsizetype I = 0; I < Cases.size(); ++I) {
        const Case& C = Cases[I];
        auto Ref = C.HasDefault ? std::make_unique<TKvMemoryMessage>(nullptr, QStringLiteral("System"), 7)
                                : std::make_unique<TKvMemoryMessage>();
        Ref->PkgId(QStringLiteral("Sales"), 20);
        TFrMemoryMessage Picker;
        Picker.FMemoryMessage = Ref.get();
        OnModal([&](QWidget*) {
            EXPECT_EQ(Ctl<QPushButton>(&Picker, "BtDefault")->isEnabled(), C.HasDefault);
            C.Act(Picker);
        });
        EXPECT_EQ(Picker.Execute(), C.Result);
        EXPECT_EQ(Ref->PkgName(), C.PkgName);
        EXPECT_EQ(Ref->Id(), C.Id) << "case " << I;
    }
}

TEST_F(PickerTest, UnknownPackageShowsNothingButIsStillWritten)
{
    TKvMemoryText Ref;
    TFrMemoryText Picker;
    Picker.FMemoryText = &Ref;
    OnModal([&](QWidget*) {
        EXPECT_EQ(Ctl<QComboBox>(&Picker, "EdPackage")->currentText(), QStringLiteral("User"));
        EXPECT_EQ(Ctl<QLabel>(&Picker, "LaStatus")->text(), QStringLiteral("Package Unknown"));
        Ctl<QComboBox>(&Picker, "EdPackage")->setEditText(QStringLiteral("Sales"));
        EXPECT_EQ(Ctl<QLabel>(&Picker, "LaStatus")->text(), QStringLiteral("3 Texts"));
        Ctl<QComboBox>(&Picker, "EdPackage")->setEditText(QStringLiteral("Nowhere"));
        EXPECT_EQ(Picker.Model()->rowCount(), 0);
        EXPECT_FALSE(Ctl<QPushButton>(&Picker, "BtAdd")->isEnabled());
        EXPECT_EQ(Ctl<QLabel>(&Picker, "LaStatus")->text(), QStringLiteral("Package Unknown"));
        TypeInto(Ctl<QLineEdit>(&Picker, "EdId"), QStringLiteral("12"));
        QTest::mouseClick(Ctl<QPushButton>(&Picker, "BtOk"), Qt::LeftButton);
    });
    EXPECT_EQ(Picker.Execute(), 1);
    EXPECT_EQ(Ref.PkgName(), QStringLiteral("Nowhere"));
    EXPECT_EQ(Ref.Id(), 12);
}

// A mouse press makes a row current before it selects it; the pick is the row clicked.
TEST_F(PickerTest, MousePickIsWhatOkAndDoubleClickStore)
{
    FSales->Labels()->Add(12345, QStringLiteral("Label Z"));
    FSales->Labels()->Add(1234, QStringLiteral("Label Y"));
    TKvMemoryLabel Ref;
    Ref.PkgId(QStringLiteral("Sales"), 3);
    TFrMemoryLabel Picker;
    Picker.FMemoryLabel = &Ref;
    OnModal([&](QWidget*) {
        auto* List = Ctl<TKvStringsListView>(&Picker, "Labels");
        EXPECT_EQ(List->CurrentRow(), 0); // Label A
        ClickRow(List, 2);
        EXPECT_EQ(Ctl<QLineEdit>(&Picker, "EdId")->text(), QStringLiteral("1"));
        EXPECT_EQ(Ctl<QPlainTextEdit>(&Picker, "EdHint")->toPlainText(), QStringLiteral("Hint 1"));
        QTest::mouseClick(Ctl<QPushButton>(&Picker, "BtOk"), Qt::LeftButton);
    });
    EXPECT_EQ(Picker.Execute(), 1);
    EXPECT_EQ(Ref.Id(), 1);

    // An id above what can be typed is kept whole, from the reference and from a double click.
    Ref.PkgId(QStringLiteral("Sales"), 12345);
    TFrMemoryLabel Again;
    Again.FMemoryLabel = &Ref;
    OnModal([&](QWidget*) {
        EXPECT_EQ(Ctl<QLineEdit>(&Again, "EdId")->text(), QStringLiteral("12345"));
        EXPECT_EQ(Ctl<QLineEdit>(&Again, "EdSearch")->text(), QStringLiteral("Label Z"));
        QTest::mouseClick(Ctl<QPushButton>(&Again, "BtOk"), Qt::LeftButton);
    });
    EXPECT_EQ(Again.Execute(), 1);
    EXPECT_EQ(Ref.Id(), 12345);
    TFrMemoryLabel Third;
    Third.FMemoryLabel = &Ref;
    OnModal([&](QWidget*) { ClickRow(Ctl<TKvStringsListView>(&Third, "Labels"), 3, true); }); // Label Y
    EXPECT_EQ(Third.Execute(), 1);
    EXPECT_EQ(Ref.Id(), 1234);
}

// A modified label whose text equals the search box still takes its sorted place, so later
// inserts land where they belong.
TEST_F(PickerTest, ModifiedLabelKeepsTheListInOrder)
{
    TKvPkgStrings& Pkg = *FSales;
    Pkg.Labels()->Clear();
    Pkg.Labels()->Add(1, QStringLiteral("Beta"));
    Pkg.Labels()->Add(2, QStringLiteral("Zeta"));
    TKvMemoryLabel Ref;
    Ref.PkgId(QStringLiteral("Sales"), 2);
    TFrMemoryLabel Picker;
    Picker.FMemoryLabel = &Ref;
    OnModal([&](QWidget*) {
        TypeInto(Ctl<QLineEdit>(&Picker, "EdSearch"), QStringLiteral("Gamma")); // selects Zeta
        OnModal([](QWidget* Dialog) {
            TypeInto(Ctl<QLineEdit>(Dialog, "EdLabel"), QStringLiteral("Gamma"));
            QTest::mouseClick(Ctl<QPushButton>(Dialog, "BtOk"), Qt::LeftButton);
        });
        QTest::mouseClick(Ctl<QPushButton>(&Picker, "BtModify"), Qt::LeftButton);
        OnModal([](QWidget* Dialog) {
            TypeInto(Ctl<QLineEdit>(Dialog, "EdLabel"), QStringLiteral("Omega"));
            QTest::mouseClick(Ctl<QPushButton>(Dialog, "BtOk"), Qt::LeftButton);
        });
        QTest::mouseClick(Ctl<QPushButton>(&Picker, "BtAdd"), Qt::LeftButton);
        QStringList Rows;
        for (int I = 0; I < Picker.Model()->rowCount(); ++I)
            Rows << Picker.Model()->Item(I)->Text();
        EXPECT_EQ(Rows, QStringList({"Beta", "Gamma", "Omega"}));
        Picker.reject();
    });
    Picker.Execute();
}

// ---------------------------------------------------------------------------------------------
// The "System" package: read-only unless the application's switch is on

TEST_F(PickerTest, SystemPackageProtection)
{
    auto Check = [&](TKvPkgStrings* Pkg, bool Editable, bool MenuEnabled) {
        TKvMemoryLabel Ref;
        Ref.PkgId(Pkg->PkgName(), Pkg->Labels()->GetItems(0)->Id());
        TFrMemoryLabel Picker;
        Picker.FMemoryLabel = &Ref;
        OnModal([&](QWidget*) {
            EXPECT_EQ(Picker.Pkg(), Pkg);
            EXPECT_TRUE(Picker.System());
            EXPECT_EQ(Ctl<QPushButton>(&Picker, "BtAdd")->isEnabled(), Editable);
            EXPECT_EQ(Ctl<QPushButton>(&Picker, "BtModify")->isEnabled(), Editable);
            EXPECT_EQ(Ctl<QPushButton>(&Picker, "BtDelete")->isEnabled(), Editable);
            EXPECT_TRUE(Picker.MnProtectAll()->isVisible());
            EXPECT_EQ(Picker.MnProtectAll()->isEnabled(), MenuEnabled);
            EXPECT_EQ(Picker.MnUnprotectAll()->isEnabled(), MenuEnabled);
            Picker.reject();
        });
        Picker.Execute();
    };
    // No application: unlike the package editor, a picker keeps "System" read-only.
    Check(FSystem.get(), false, false);

    TKvCApplication App;
    App.SetActive();
    TKvPkgStrings* AppSystem = App.PkgLanguage()->PkgSystem();
    AppSystem->Labels()->Add(1, QStringLiteral("Yes"));
    Check(AppSystem, false, false);
    App.SetEditSystem(true);
    Check(AppSystem, true, true);

    // Any other package is editable and has no protect entries.
    TKvMemoryLabel Ref;
    Ref.PkgId(QStringLiteral("Sales"), 1);
    TFrMemoryLabel Picker;
    Picker.FMemoryLabel = &Ref;
    OnModal([&](QWidget*) {
        EXPECT_TRUE(Ctl<QPushButton>(&Picker, "BtAdd")->isEnabled());
        EXPECT_FALSE(Picker.MnProtectAll()->isVisible());
        EXPECT_TRUE(Ctl<QPushButton>(&Picker, "BtManager")->isEnabled());
        Picker.reject();
    });
    Picker.Execute();
}

TEST_F(PickerTest, ProtectAllChangesFlagsAndMarksOnlyWhenSomethingChanged)
{
    TKvCApplication App;
    App.SetActive();
    App.SetEditSystem(true);
    TKvPkgStrings* AppSystem = App.PkgLanguage()->PkgSystem();
    AppSystem->Texts()->Add(1, QStringLiteral("One"));
    AppSystem->Texts()->Add(2, QStringLiteral("Two"));
    TKvMemoryText Ref;
    Ref.PkgId(QStringLiteral("System"), 1);
    TFrMemoryText Picker;
    Picker.FMemoryText = &Ref;
    OnModal([&](QWidget*) {
        Picker.MnProtectAll()->trigger();
        EXPECT_TRUE(AppSystem->Texts()->FindId(1)->Protected());
        EXPECT_TRUE(AppSystem->Texts()->FindId(2)->Protected());
        const qsizetype Marks = FModified.size();
        EXPECT_GT(Marks, 0);
        Picker.MnProtectAll()->trigger();
        EXPECT_EQ(FModified.size(), Marks);
        Picker.MnUnprotectAll()->trigger();
        EXPECT_FALSE(AppSystem->Texts()->FindId(2)->Protected());
        Picker.reject();
    });
    Picker.Execute();
}

// ---------------------------------------------------------------------------------------------
// Searching, deleting and adding in the lists

TEST_F(PickerTest, LabelSearchMovesSelectionMessageSearchFilters)
{
    TKvMemoryLabel Label;
    Label.PkgId(QStringLiteral("Sales"), -1);
    TFrMemoryLabel LabelPicker;
    LabelPicker.FMemoryLabel = &Label;
    OnModal([&](QWidget*) {
        // Text order: Label A (3), Label B (2), Label C (1).
        EXPECT_EQ(LabelPicker.Model()->Item(0)->Id(), 3);
        TypeInto(Ctl<QLineEdit>(&LabelPicker, "EdSearch"), QStringLiteral("label b"));
        EXPECT_EQ(Ctl<TKvStringsListView>(&LabelPicker, "Labels")->CurrentRow(), 1);
        EXPECT_EQ(Ctl<QLineEdit>(&LabelPicker, "EdId")->text(), QStringLiteral("2"));
        EXPECT_EQ(Ctl<QPlainTextEdit>(&LabelPicker, "EdHint")->toPlainText(), QStringLiteral("Hint 2"));
        EXPECT_EQ(LabelPicker.Model()->rowCount(), 3);
        QTest::mouseClick(Ctl<QRadioButton>(&LabelPicker, "OrderId"), Qt::LeftButton);
        EXPECT_EQ(LabelPicker.Model()->Item(0)->Id(), 1);
        QTest::keyClick(Ctl<TKvStringsListView>(&LabelPicker, "Labels"), Qt::Key_Escape);
    });
    EXPECT_EQ(LabelPicker.Execute(), 2);

    TKvMemoryMessage Message;
    Message.PkgId(QStringLiteral("Sales"), 20);
    TFrMemoryMessage MessagePicker;
    MessagePicker.FMemoryMessage = &Message;
    OnModal([&](QWidget*) {
        EXPECT_EQ(Ctl<TKvStringsListView>(&MessagePicker, "Messages")->CurrentRow(), 1);
        TypeInto(Ctl<QLineEdit>(&MessagePicker, "EdSearch"), QStringLiteral("GE 3"));
        EXPECT_EQ(MessagePicker.Model()->rowCount(), 1);
        EXPECT_EQ(MessagePicker.Model()->Item(0)->Id(), 30);
        // The id box's item is filtered out: nothing selected until the developer picks.
        TypeInto(Ctl<QLineEdit>(&MessagePicker, "EdId"), QStringLiteral("30"));
        EXPECT_EQ(Ctl<TKvStringsListView>(&MessagePicker, "Messages")->CurrentRow(), 0);
        MessagePicker.reject();
    });
    MessagePicker.Execute();
}

TEST_F(PickerTest, DeleteAsksNothingAndSelectsTheNextRow)
{
    TKvMessageRecorder Messages;
    TKvMemoryMessage Ref;
    Ref.PkgId(QStringLiteral("Sales"), 30);
    TFrMemoryMessage Picker;
    Picker.FMemoryMessage = &Ref;
    OnModal([&](QWidget*) {
        // The last row: the new last row is selected.
        QTest::mouseClick(Ctl<QPushButton>(&Picker, "BtDelete"), Qt::LeftButton);
        EXPECT_EQ(FSales->Messages()->FindId(30), nullptr);
        EXPECT_EQ(Ctl<QLineEdit>(&Picker, "EdId")->text(), QStringLiteral("20"));
        EXPECT_EQ(Ctl<TKvStringsListView>(&Picker, "Messages")->CurrentRow(), 1);
        EXPECT_EQ(Ctl<QLabel>(&Picker, "LaStatus")->text(), QStringLiteral("2 Messages"));
        // The first row: the row at the same index follows.
        Ctl<TKvStringsListView>(&Picker, "Messages")->SelectRow(0);
        QTest::mouseClick(Ctl<QPushButton>(&Picker, "BtDelete"), Qt::LeftButton);
        EXPECT_EQ(Ctl<QLineEdit>(&Picker, "EdId")->text(), QStringLiteral("20"));
        EXPECT_EQ(Ctl<QLabel>(&Picker, "LaStatus")->text(), QStringLiteral("1 Message"));
        // The manager's way; the only row leaves the id box empty.
        Picker.DeleteItem(FSales->Messages()->FindId(20));
        EXPECT_EQ(Ctl<QLineEdit>(&Picker, "EdId")->text(), QString());
        EXPECT_FALSE(Ctl<QPushButton>(&Picker, "BtDelete")->isEnabled());
        EXPECT_EQ(Ctl<QLabel>(&Picker, "LaStatus")->text(), QStringLiteral("0 Messages"));
        Picker.reject();
    });
    Picker.Execute();
    EXPECT_EQ(Messages.Count(), 0);
    EXPECT_EQ(FSales->Messages()->Count(), 0);
    EXPECT_TRUE(FModified.contains(FSales.get()));
}

TEST_F(PickerTest, AddLabelThroughTheDialogSelectsItAndMarksTheForm)
{
    TKvMemoryLabel Ref;
    Ref.PkgId(QStringLiteral("Sales"), 1);
    TFrMemoryLabel Picker;
    Picker.FMemoryLabel = &Ref;
    OnModal([&](QWidget*) {
        OnModal([&](QWidget* Window) {
            auto* Dialog = qobject_cast<TFrMemoryLabelAdd*>(Window);
            ASSERT_NE(Dialog, nullptr);
            EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Add Label"));
            EXPECT_EQ(Ctl<QLineEdit>(Dialog, "EdId")->text(), QString::number(FSales->Labels()->UniqueId()));
            TypeInto(Ctl<QLineEdit>(Dialog, "EdLabel"), QStringLiteral("Label BB"));
            TypeInto(Ctl<QLineEdit>(Dialog, "EdId"), QStringLiteral("77"));
            QTest::mouseClick(Ctl<QPushButton>(Dialog, "BtOk"), Qt::LeftButton);
        });
        QTest::mouseClick(Ctl<QPushButton>(&Picker, "BtAdd"), Qt::LeftButton);
        EXPECT_EQ(Ctl<QLineEdit>(&Picker, "EdId")->text(), QStringLiteral("77"));
        EXPECT_EQ(Picker.Model()->Item(Ctl<TKvStringsListView>(&Picker, "Labels")->CurrentRow())->Id(), 77);
        EXPECT_EQ(Ctl<TKvStringsListView>(&Picker, "Labels")->CurrentRow(), 2); // between "Label B" and "Label C"
        EXPECT_EQ(Ctl<QLabel>(&Picker, "LaStatus")->text(), QStringLiteral("4 Labels"));
        QTest::mouseClick(Ctl<QPushButton>(&Picker, "BtOk"), Qt::LeftButton);
    });
    EXPECT_EQ(Picker.Execute(), 1);
    EXPECT_EQ(Ref.Id(), 77);
    EXPECT_TRUE(FModified.contains(FSales.get()));
}

TEST_F(PickerTest, ModifiedMessageIdStaysSelected)
{
    TKvMemoryMessage Ref;
    Ref.PkgId(QStringLiteral("Sales"), 10);
    TFrMemoryMessage Picker;
    Picker.FMemoryMessage = &Ref;
    OnModal([&](QWidget*) {
        OnModal([&](QWidget* Window) {
            auto* Dialog = qobject_cast<TKvStringsItemDialog*>(Window);
            ASSERT_NE(Dialog, nullptr);
            EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Modify Message"));
            TypeInto(Window->findChild<QLineEdit*>(QStringLiteral("EdId")), QStringLiteral("99"));
            Dialog->accept();
        });
        QTest::mouseClick(Ctl<QPushButton>(&Picker, "BtModify"), Qt::LeftButton);
        EXPECT_EQ(Ctl<QLineEdit>(&Picker, "EdId")->text(), QStringLiteral("99"));
        EXPECT_EQ(Picker.Model()->Item(Ctl<TKvStringsListView>(&Picker, "Messages")->CurrentRow())->Id(), 99);
        Picker.accept();
    });
    Picker.Execute();
    EXPECT_EQ(Ref.Id(), 99);
}

// ---------------------------------------------------------------------------------------------
// The reference property editors open the pickers

class NullDesigner : public IDesigner
{
public:
    int ModifiedCount = 0;
    void Modified() override { ++ModifiedCount; }
    TMethod CreateMethod(const QString& Name, const QString&) override { return TMethod{Name}; }
    QString GetMethodName(const TMethod& Method) const override { return Method.Name; }
    bool MethodExists(const QString&) const override { return false; }
    void ShowMethod(const QString&) override {}
    TDesignerSelectionList GetSelections() const override { return {}; }
    void SetSelections(const TDesignerSelectionList&) override {}
    void SelectComponent(TPersistent*) override {}
    QStringList GetComponentNames(const QMetaObject*) const override { return {}; }
    TComponent* GetComponent(const QString&) const override { return nullptr; }
    TComponent* CreateComponent(const QMetaObject*, TComponent*, int, int, int, int) override { return nullptr; }
    QString UniqueName(const QString& BaseName) const override { return BaseName; }
    TComponent* GetRoot() const override { return nullptr; }
};

TEST_F(PickerTest, LabelEditorCopiesThePickToEverySelectedComponent)
{
    TKvCForm A, B;
    A.MemoryLabel()->PkgId(QStringLiteral("Sales"), 1);
    B.MemoryLabel()->PkgId(QStringLiteral("Sales"), 3);
    const TPropInfo* Prop = GetPropInfo(&TKvCForm::staticMetaObject, u"MemoryLabel");
    ASSERT_NE(Prop, nullptr);
    NullDesigner Designer;
    TKvMemoryLabelPropertyEditor Editor;
    Editor.Initialize(&Designer, {&A, &B}, *Prop);

    // No application: nothing opens.
    EXPECT_THROW(Editor.Edit(), EKvError);

    TKvCApplication App;
    App.SetActive();
    OnModal([](QWidget* Window) { QTest::keyClick(Window, Qt::Key_Escape); });
    Editor.Edit();
    EXPECT_EQ(B.MemoryLabel()->Id(), 3);
    EXPECT_EQ(Designer.ModifiedCount, 0);

    OnModal([](QWidget* Window) {
        auto* Picker = qobject_cast<TFrMemoryLabel*>(Window);
        ASSERT_NE(Picker, nullptr);
        TypeInto(Ctl<QLineEdit>(Picker, "EdId"), QStringLiteral("2"));
        QTest::mouseClick(Ctl<QPushButton>(Picker, "BtOk"), Qt::LeftButton);
    });
    Editor.Edit();
    EXPECT_EQ(A.MemoryLabel()->Id(), 2);
    EXPECT_EQ(B.MemoryLabel()->Id(), 2);
    EXPECT_EQ(B.MemoryLabel()->PkgName(), QStringLiteral("Sales"));
    EXPECT_EQ(Designer.ModifiedCount, 1);
}

// Confirming what was there, or leaving none as none, is no change to the form.
TEST_F(PickerTest, LabelEditorMarksTheFormOnlyForARealPick)
{
    TKvCApplication App;
    App.SetActive();
    TKvCForm Form;
    const TPropInfo* Prop = GetPropInfo(&TKvCForm::staticMetaObject, u"MemoryLabel");
    ASSERT_NE(Prop, nullptr);
    NullDesigner Designer;
    TKvMemoryLabelPropertyEditor Editor;
    Editor.Initialize(&Designer, {&Form}, *Prop);
    EXPECT_FALSE(Editor.GetAttributes() & paMultiSelect); // the picker edits one reference

    auto PressOk = [] {
        OnModal([](QWidget* Window) { QTest::mouseClick(Ctl<QPushButton>(Window, "BtOk"), Qt::LeftButton); });
    };
    PressOk();
    Editor.Edit(); // none, nothing picked
    EXPECT_EQ(Form.MemoryLabel()->Id(), TKvMemoryReference::IdNone);
    EXPECT_EQ(Designer.ModifiedCount, 0);

    OnModal([](QWidget* Window) {
        auto* Combo = Ctl<QComboBox>(Window, "EdPackage");
        Combo->setEditText(QStringLiteral("Sales"));
        ClickRow(Ctl<TKvStringsListView>(Window, "Labels"), 1); // Label B
        QTest::mouseClick(Ctl<QPushButton>(Window, "BtOk"), Qt::LeftButton);
    });
    Editor.Edit();
    EXPECT_EQ(Form.MemoryLabel()->Id(), 2);
    EXPECT_EQ(Designer.ModifiedCount, 1);

    // The package as the reference spells it, not as the package list does.
    Form.MemoryLabel()->PkgId(QStringLiteral("sales"), 2);
    PressOk();
    Editor.Edit();
    EXPECT_EQ(Form.MemoryLabel()->PkgName(), QStringLiteral("sales"));
    EXPECT_EQ(Designer.ModifiedCount, 1);
}

} // namespace
