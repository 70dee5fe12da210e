#include "strings/KvVtPkgStrings.h"

#include "manager/KvVtPkgActive.h"
#include "manager/KvVtPkgLoadSave.h"
#include "registration/KvCompEditors.h"
#include "registration/KvPropEditors.h"

#include "KvApplication.h"
#include "KvDialogs.h"
#include "KvDesignHooks.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "KvPkgLanguage.h"
#include "KvPkgStrings.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

template <class T>
T* Ctl(QWidget* Window, const char* Name)
{
    T* Control = Window->findChild<T*>(QString::fromLatin1(Name));
    EXPECT_NE(Control, nullptr) << Name;
    return Control;
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

void Retype(QWidget* Box, const QString& Text)
{
    Box->setFocus();
    for (int I = 0; I < 8; ++I)
        QTest::keyClick(Box, Qt::Key_Backspace);
    QTest::keyClicks(Box, Text);
}

// The editor's controls, found by the names its form gives them.
struct TControls
{
    explicit TControls(QWidget* W) : W(W) {}
    QWidget* W;
#define KV_CONTROL(Type, Name) Type* Name = Ctl<Type>(W, #Name);
    KV_CONTROL(TKvStringsListView, Labels)
    KV_CONTROL(TKvStringsListView, Messages)
    KV_CONTROL(TKvStringsListView, Texts)
    KV_CONTROL(QLineEdit, EdIdLabels)
    KV_CONTROL(QLineEdit, EdIdMessages)
    KV_CONTROL(QLineEdit, EdSearchLabels)
    KV_CONTROL(QLineEdit, EdSearchMessages)
    KV_CONTROL(QLineEdit, EdSearchTexts)
    KV_CONTROL(QPlainTextEdit, EdHint)
    KV_CONTROL(QPlainTextEdit, EdText)
    KV_CONTROL(QPushButton, BtAdd)
    KV_CONTROL(QPushButton, BtModify)
    KV_CONTROL(QPushButton, BtDelete)
    KV_CONTROL(QPushButton, BtClearAll)
    KV_CONTROL(QPushButton, BtLoadFrom)
    KV_CONTROL(QPushButton, BtSaveTo)
    KV_CONTROL(QPushButton, BtTranslator)
    KV_CONTROL(QLabel, LaStatus)
    KV_CONTROL(QLabel, LaFileName)
    KV_CONTROL(QLabel, LaInitMode)
    KV_CONTROL(QTabWidget, PageControl)
    KV_CONTROL(QRadioButton, OrderId)
#undef KV_CONTROL
};

void ClickRow(TKvStringsListView* List, int Row)
{
    QApplication::processEvents(); // lays the rows out
    const QRect Rect = List->visualRect(List->model()->index(Row, 0));
    ASSERT_TRUE(Rect.isValid());
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, Rect.center());
}

int SelectedId(TFrPkgStrings& Editor, TKvStringsKind Kind, TKvStringsListView* List)
{
    TKvPkgStringsItem* Item = Editor.Model(Kind)->Item(List->CurrentRow());
    return Item ? Item->Id() : -1;
}

class PkgStringsEditorTest : public ::testing::Test
{
protected:
    TKvPkgStrings FPkg;
    QList<TPersistent*> FTold;

    void SetUp() override
    {
        FPkg.SetPkgName(QStringLiteral("Sales"));
        FPkg.Labels()->Add(1, QStringLiteral("Banana"), QStringLiteral("Yellow"));
        FPkg.Labels()->Add(2, QStringLiteral("apple"), QStringLiteral("Red"));
        FPkg.Labels()->Add(3, QStringLiteral("Cherry"));
        FPkg.Messages()->Add(10, QStringLiteral("Saved"));
        FPkg.Messages()->Add(11, QStringLiteral("Not saved"));
        FPkg.Messages()->Add(12, QStringLiteral("Deleted"));
        FPkg.Texts()->Add(20, QStringLiteral("First text"));
        FPkg.Texts()->Add(21, QStringLiteral("Second text"));
        KvDsgnModified = [this](TPersistent* Object) { FTold << Object; };
    }
    void TearDown() override { KvDsgnModified = nullptr; }

    // Opens the editor on Pkg, runs Action on it and closes it.
    void Run(TFrPkgStrings& Editor, std::function<void(TControls*)> Action, TKvPkgStrings* Pkg = nullptr)
    {
        Editor.PkgStrings = Pkg ? Pkg : &FPkg;
        QTimer::singleShot(0, [&Editor, Action] {
            TControls Controls(&Editor);
            Action(&Controls);
            Editor.close();
        });
        Editor.Execute();
    }
};

// "system" in any case is the library's package: read-only only when an application with its
// switch off is present; its items show the "P" column and its protect entries only there.
TEST_F(PkgStringsEditorTest, SystemPackageProtectionFollowsTheApplicationSwitch)
{
    auto Check = [this](TKvPkgStrings* Pkg, bool Editable, bool System, bool ProtectEnabled) {
        TFrPkgStrings Editor;
        Run(Editor, [&](TControls* Ui) {
            EXPECT_EQ(Editor.System(), System);
            EXPECT_EQ(Ui->Labels->Delegate()->System(), System);
            Retype(Ui->EdIdLabels, QStringLiteral("1"));
            EXPECT_EQ(SelectedId(Editor, TKvStringsKind::Labels, Ui->Labels), 1);
            for (QPushButton* Button :
                 {Ui->BtAdd, Ui->BtModify, Ui->BtDelete, Ui->BtClearAll, Ui->BtLoadFrom, Ui->BtTranslator})
                EXPECT_EQ(Button->isEnabled(), Editable) << Button->objectName().toStdString();
            EXPECT_TRUE(Ui->BtSaveTo->isEnabled());
            QMenu* Menu = Editor.PopupMenu(TKvStringsKind::Labels);
            auto* Protect = Menu->findChild<QAction*>(QStringLiteral("MnProtectAllLabels"));
            ASSERT_NE(Protect, nullptr);
            EXPECT_EQ(Protect->isVisible(), System);
            EXPECT_EQ(Protect->isEnabled(), ProtectEnabled);
        }, Pkg);
    };
    TKvPkgStrings Lower;
    Lower.SetPkgName(QStringLiteral("sYsTem"));
    Lower.Labels()->Add(1, QStringLiteral("Yes"));
    Check(&Lower, true, true, false); // no application

    TKvCApplication App;
    App.SetActive();
    Check(&Lower, false, true, false);
    Check(&FPkg, true, false, false);
    App.SetEditSystem(true);
    Check(&Lower, true, true, true);
}

TEST_F(PkgStringsEditorTest, ProtectAllMarksTheDesignerOnlyWhenAFlagChanged)
{
    TKvCApplication App;
    App.SetActive();
    App.SetEditSystem(true);
    TKvPkgStrings Sys;
    Sys.SetPkgName(QStringLiteral("System"));
    Sys.Messages()->Add(1, QStringLiteral("A"))->SetProtected(true);
    Sys.Messages()->Add(2, QStringLiteral("B"));
    TFrPkgStrings Editor;
    Run(Editor, [&](TControls*) {
        QMenu* Menu = Editor.PopupMenu(TKvStringsKind::Messages);
        auto* Protect = Menu->findChild<QAction*>(QStringLiteral("MnProtectAllMessages"));
        FTold.clear();
        Protect->trigger();
        EXPECT_TRUE(Sys.Messages()->FindId(2)->Protected());
        EXPECT_EQ(FTold.size(), 1);
        Protect->trigger();
        EXPECT_EQ(FTold.size(), 1);
        EXPECT_EQ(Menu->findChild<QAction*>(QStringLiteral("MnUnprotectAllMessages"))->text(),
                  QStringLiteral("UnProtect All Messages"));
    }, &Sys);
}

TEST_F(PkgStringsEditorTest, StatusLineCountsTheActiveTab)
{
    TKvPkgStrings One;
    One.Labels()->Add(5, QStringLiteral("Only"));
    EXPECT_EQ(KvPkgStringsStatusLine(TKvStringsKind::Labels, &One), QStringLiteral("1 Label "));
    EXPECT_EQ(KvPkgStringsStatusLine(TKvStringsKind::Messages, &One), QStringLiteral("0 Messages "));
    EXPECT_EQ(KvPkgStringsFileFilter(&One), QStringLiteral("Package Strings (*.kvstr)|*.kvstr|All files (*.*)|*.*"));

    TKvPkgLanguage Lang;
    Lang.SetLastUpdateFile(QStringLiteral("Standard.lan"));
    Lang.PkgSystem()->Texts()->Add(1, QStringLiteral("x"));
    const QString Line = KvPkgStringsStatusLine(TKvStringsKind::Texts, Lang.PkgSystem());
    EXPECT_TRUE(Line.startsWith(QStringLiteral("1 Text (LastUpdateFile:Standard.lan) (UpdateDateTime:"))) << Line.toStdString();
    EXPECT_EQ(KvPkgStringsStatusLine(TKvStringsKind::Texts, Lang.PkgUser()), QStringLiteral("0 Texts "));

    TFrPkgStrings Editor;
    Run(Editor, [&](TControls* Ui) {
        EXPECT_EQ(Ui->LaStatus->text(), QStringLiteral("3 Labels "));
        Ui->PageControl->setCurrentIndex(2);
        EXPECT_EQ(Ui->LaStatus->text(), QStringLiteral("2 Texts "));
        EXPECT_EQ(Ui->LaFileName->text(), QStringLiteral("(Memory)"));
        EXPECT_EQ(Ui->LaInitMode->text(), QStringLiteral("DFM"));
    });
}

TEST_F(PkgStringsEditorTest, DeletingAsksAndSelectsTheRowThatTakesThePlace)
{
    TFrPkgStrings Editor;
    Run(Editor, [&](TControls* Ui) {
        Ui->PageControl->setCurrentIndex(1);
        Retype(Ui->EdIdMessages, QStringLiteral("12"));
        {
            TKvMessageRecorder Messages({KvBtnCancel});
            QTest::mouseClick(Ui->BtDelete, Qt::LeftButton);
            ASSERT_EQ(Messages.Count(), 1);
            EXPECT_EQ(Messages.Last().MsgType, KvMsgQuestion);
            EXPECT_EQ(Messages.Last().Default, KvBtnAccept);
            EXPECT_EQ(FPkg.Messages()->Count(), 3);
        }
        TKvMessageRecorder Messages({KvBtnAccept, KvBtnAccept, KvBtnAccept});
        FTold.clear();
        QTest::mouseClick(Ui->BtDelete, Qt::LeftButton); // the last row: the new last one is selected
        EXPECT_EQ(FPkg.Messages()->FindId(12), nullptr);
        EXPECT_EQ(SelectedId(Editor, TKvStringsKind::Messages, Ui->Messages), 11);
        EXPECT_EQ(Ui->EdIdMessages->text(), QStringLiteral("11"));
        EXPECT_EQ(Ui->LaStatus->text(), QStringLiteral("2 Messages "));
        EXPECT_EQ(FTold.size(), 1);
        Retype(Ui->EdIdMessages, QStringLiteral("10"));
        QTest::mouseClick(Ui->BtDelete, Qt::LeftButton); // the first row: the next one moves up
        EXPECT_EQ(SelectedId(Editor, TKvStringsKind::Messages, Ui->Messages), 11);
        QTest::mouseClick(Ui->BtDelete, Qt::LeftButton); // the only row
        EXPECT_EQ(Ui->EdIdMessages->text(), QString());
        EXPECT_EQ(Ui->Messages->CurrentRow(), -1);
        EXPECT_FALSE(Ui->BtDelete->isEnabled());
        EXPECT_EQ(Ui->LaStatus->text(), QStringLiteral("0 Messages "));
    });
}

TEST_F(PkgStringsEditorTest, ClearAllAsksWithCancelAsDefault)
{
    TFrPkgStrings Editor;
    Run(Editor, [&](TControls* Ui) {
        TKvMessageRecorder Messages;
        QTest::mouseClick(Ui->BtClearAll, Qt::LeftButton);
        EXPECT_EQ(Messages.Last().Default, KvBtnCancel);
        EXPECT_EQ(FPkg.Labels()->Count(), 3);
        Messages.Answer(KvBtnAccept);
        QTest::mouseClick(Ui->BtClearAll, Qt::LeftButton);
        EXPECT_EQ(FPkg.Labels()->Count() + FPkg.Messages()->Count() + FPkg.Texts()->Count(), 0);
        EXPECT_EQ(Editor.Model(TKvStringsKind::Texts)->rowCount(), 0);
        EXPECT_EQ(Ui->LaStatus->text(), QStringLiteral("0 Labels "));
    });
}

TEST_F(PkgStringsEditorTest, IdAndSearchBoxesMoveTheLabelSelection)
{
    TFrPkgStrings Editor;
    Run(Editor, [&](TControls* Ui) {
        Retype(Ui->EdIdLabels, QStringLiteral("1"));
        EXPECT_EQ(Ui->EdSearchLabels->text(), QStringLiteral("Banana"));
        EXPECT_EQ(Ui->EdHint->toPlainText(), QStringLiteral("Yellow"));
        Retype(Ui->EdIdLabels, QStringLiteral("12"));
        EXPECT_EQ(Ui->EdSearchLabels->text(), QString());
        EXPECT_EQ(Ui->EdHint->toPlainText(), QString());
        EXPECT_EQ(Ui->Labels->CurrentRow(), -1);
        QTest::keyClicks(Ui->EdIdLabels, QStringLiteral("a9"));
        EXPECT_EQ(Ui->EdIdLabels->text(), QStringLiteral("129")); // digits only, four at most

        // Text order, case-insensitive: "b" lands on "Banana", not after "apple".
        Retype(Ui->EdSearchLabels, QStringLiteral("b"));
        EXPECT_EQ(SelectedId(Editor, TKvStringsKind::Labels, Ui->Labels), 1);
        EXPECT_EQ(Ui->EdIdLabels->text(), QStringLiteral("1"));
        QTest::mouseClick(Ui->OrderId, Qt::LeftButton);
        Retype(Ui->EdSearchLabels, QStringLiteral("CH"));
        EXPECT_EQ(SelectedId(Editor, TKvStringsKind::Labels, Ui->Labels), 3);
        QTest::keyClicks(Ui->EdSearchLabels, QStringLiteral("z")); // no match: nothing changes
        EXPECT_EQ(SelectedId(Editor, TKvStringsKind::Labels, Ui->Labels), 3);
    });
}

// A mouse press makes a row current before it selects it: the boxes, and Modify after them,
// must show the row clicked, or Modify writes one label's hint onto another.
TEST_F(PkgStringsEditorTest, MouseSelectionFeedsTheBoxesAndModify)
{
    FPkg.Labels()->Add(1234, QStringLiteral("Small"), QStringLiteral("Hint 1234"));
    FPkg.Labels()->Add(12345, QStringLiteral("Large"), QStringLiteral("Hint 12345"));
    TFrPkgStrings Editor;
    Run(Editor, [&](TControls* Ui) {
        QTest::mouseClick(Ui->OrderId, Qt::LeftButton);
        ClickRow(Ui->Labels, 0);
        ClickRow(Ui->Labels, 4);
        EXPECT_EQ(Ui->EdIdLabels->text(), QStringLiteral("12345")); // not cut to four digits
        EXPECT_EQ(Ui->EdSearchLabels->text(), QStringLiteral("Large"));
        EXPECT_EQ(Ui->EdHint->toPlainText(), QStringLiteral("Hint 12345"));
        OnModal([](QWidget* Dialog) {
            EXPECT_EQ(Ctl<QLineEdit>(Dialog, "EdId")->text(), QStringLiteral("12345"));
            EXPECT_EQ(Ctl<QPlainTextEdit>(Dialog, "EdHint")->toPlainText(), QStringLiteral("Hint 12345"));
            Retype(Ctl<QLineEdit>(Dialog, "EdLabel"), QStringLiteral("Larger"));
            QTest::mouseClick(Ctl<QPushButton>(Dialog, "BtOk"), Qt::LeftButton);
        });
        QTest::mouseClick(Ui->BtModify, Qt::LeftButton);
        EXPECT_EQ(FPkg.Labels()->FindId(12345)->Text(), QStringLiteral("Larger"));
        EXPECT_EQ(FPkg.Labels()->FindId(1234)->Text(), QStringLiteral("Small"));
        EXPECT_EQ(FPkg.Labels()->FindId(1234)->Hint(), QStringLiteral("Hint 1234"));
        EXPECT_EQ(FPkg.Labels()->Count(), 5);

        Ui->PageControl->setCurrentIndex(1);
        ClickRow(Ui->Messages, 0);
        ClickRow(Ui->Messages, 2);
        EXPECT_EQ(Ui->EdIdMessages->text(), QStringLiteral("12"));
        // Below the last row: the selection, and with it the boxes and Modify, stay.
        const QRect Last = Ui->Messages->visualRect(Editor.Model(TKvStringsKind::Messages)->index(2, 0));
        QTest::mouseClick(Ui->Messages->viewport(), Qt::LeftButton, {}, Last.center() + QPoint(0, 3 * Last.height()));
        EXPECT_EQ(SelectedId(Editor, TKvStringsKind::Messages, Ui->Messages), 12);
        EXPECT_TRUE(Ui->BtModify->isEnabled());
        QTest::keyClick(Ui->Messages, Qt::Key_Up);
        EXPECT_EQ(Ui->EdIdMessages->text(), QStringLiteral("11"));
    });
}

TEST_F(PkgStringsEditorTest, ModifiedLabelTakesItsSortedPlace)
{
    TFrPkgStrings Editor;
    Run(Editor, [&](TControls* Ui) {
        Retype(Ui->EdIdLabels, QStringLiteral("2")); // "apple", the first row
        EXPECT_EQ(Ui->Labels->CurrentRow(), 0);
        OnModal([](QWidget* Dialog) {
            EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Modify Label"));
            Retype(Ctl<QLineEdit>(Dialog, "EdLabel"), QStringLiteral("Zucchini"));
            QTest::mouseClick(Ctl<QPushButton>(Dialog, "BtOk"), Qt::LeftButton);
        });
        QTest::mouseClick(Ui->BtModify, Qt::LeftButton);
        EXPECT_EQ(Ui->Labels->CurrentRow(), 2);
        EXPECT_EQ(SelectedId(Editor, TKvStringsKind::Labels, Ui->Labels), 2);
        EXPECT_EQ(Ui->EdSearchLabels->text(), QStringLiteral("Zucchini"));
        EXPECT_EQ(FTold.size(), 1);
    });
}

TEST_F(PkgStringsEditorTest, MessageWhoseIdChangesStaysSelectedUnderAFilter)
{
    TFrPkgStrings Editor;
    Run(Editor, [&](TControls* Ui) {
        Ui->PageControl->setCurrentIndex(1);
        Retype(Ui->EdSearchMessages, QStringLiteral("SAVED"));
        EXPECT_EQ(Editor.Model(TKvStringsKind::Messages)->rowCount(), 2);
        Retype(Ui->EdIdMessages, QStringLiteral("11"));
        QApplication::processEvents(); // lays the rows out
        const QRect Row = Ui->Messages->visualRect(Ui->Messages->currentIndex());
        ASSERT_TRUE(Row.isValid());
        OnModal([](QWidget* Dialog) {
            EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Modify Message"));
            Retype(Ctl<QLineEdit>(Dialog, "EdId"), QStringLiteral("40"));
            QTest::mouseClick(Ctl<QPushButton>(Dialog, "BtOk"), Qt::LeftButton);
        });
        QTest::mouseClick(Ui->Messages->viewport(), Qt::LeftButton, {}, Row.center());
        QTest::mouseDClick(Ui->Messages->viewport(), Qt::LeftButton, {}, Row.center());
        EXPECT_EQ(Ui->EdIdMessages->text(), QStringLiteral("40"));
        EXPECT_EQ(SelectedId(Editor, TKvStringsKind::Messages, Ui->Messages), 40);
        EXPECT_EQ(Editor.Model(TKvStringsKind::Messages)->rowCount(), 2);
    });
}

TEST_F(PkgStringsEditorTest, AddedTextIsListedWithTheSearchEmptied)
{
    TFrPkgStrings Editor;
    Run(Editor, [&](TControls* Ui) {
        Ui->PageControl->setCurrentIndex(2);
        Retype(Ui->EdSearchTexts, QStringLiteral("second"));
        EXPECT_EQ(Editor.Model(TKvStringsKind::Texts)->rowCount(), 1);
        OnModal([](QWidget* Dialog) {
            EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Add Text"));
            EXPECT_EQ(Ctl<QLineEdit>(Dialog, "EdId")->text(), QStringLiteral("22"));
            Ctl<QPlainTextEdit>(Dialog, "EdText")->setFocus();
            QTest::keyClicks(Ctl<QPlainTextEdit>(Dialog, "EdText"), QStringLiteral("Third"));
            QTest::mouseClick(Ctl<QPushButton>(Dialog, "BtOk"), Qt::LeftButton);
        });
        QTest::mouseClick(Ui->BtAdd, Qt::LeftButton);
        EXPECT_EQ(Ui->EdSearchTexts->text(), QString());
        EXPECT_EQ(Editor.Model(TKvStringsKind::Texts)->rowCount(), 3);
        EXPECT_EQ(SelectedId(Editor, TKvStringsKind::Texts, Ui->Texts), 22);
        EXPECT_EQ(Ui->EdText->toPlainText(), QStringLiteral("Third"));
        EXPECT_EQ(Ui->LaStatus->text(), QStringLiteral("3 Texts "));
        EXPECT_EQ(FTold.size(), 1);
    });
}

TEST_F(PkgStringsEditorTest, FileBackedPackageIsWrittenNotReportedAndKeepsTheBounds)
{
    QTemporaryDir Dir;
    FPkg.SetInitMode(TKvPkgInfo::imFILE);
    FPkg.SetFileName(Dir.filePath(QStringLiteral("Sales.kvstr")));
    FPkg.SaveFile();
    {
        TFrPkgStrings Editor;
        Run(Editor, [&](TControls* Ui) {
            EXPECT_EQ(Ui->LaInitMode->text(), QStringLiteral("FILE"));
            Retype(Ui->EdIdLabels, QStringLiteral("3"));
            TKvMessageRecorder Messages({KvBtnAccept});
            QTest::mouseClick(Ui->BtDelete, Qt::LeftButton);
            EXPECT_TRUE(FTold.isEmpty());
            Editor.setGeometry(40, 30, 700, 520);
            QTest::keyClick(Ui->Labels, Qt::Key_Escape);
        });
    }
    // Closing stored the bounds (which tells the designer) and wrote the file.
    EXPECT_EQ(FTold.size(), 1);
    EXPECT_EQ(FPkg.EditorBounds().Left, 40);
    TKvPkgStrings Read;
    Read.LoadFromFile(FPkg.FileName());
    EXPECT_EQ(Read.Labels()->Count(), 2);
    EXPECT_EQ(Read.EditorBounds().Top, 30);
    EXPECT_EQ(Read.EditorBounds().Width, 700);

    TFrPkgStrings Again;
    Run(Again, [&](TControls*) { EXPECT_EQ(Again.geometry(), QRect(40, 30, 700, 520)); });
    EXPECT_EQ(FTold.size(), 1); // the same bounds again: nothing to tell
}

// The package's file changes only once the developer confirms a save; the open forms hear of
// edits through the designer, not through a broadcast.
TEST_F(PkgStringsEditorTest, CancelledSaveWritesNothing)
{
    QTemporaryDir Dir;
    const QString File = Dir.filePath(QStringLiteral("Sales.kvstr"));
    FPkg.SetInitMode(TKvPkgInfo::imFILE);
    FPkg.SetFileName(File);
    FPkg.SaveFile();
    QFile Read(File);
    ASSERT_TRUE(Read.open(QIODevice::ReadOnly));
    const QByteArray Before = Read.readAll();
    Read.close();
    int Broadcasts = 0;
    const QMetaObject::Connection Heard =
        QObject::connect(KvMasterHub(), &TKvMasterHub::MasterMessage, [&Broadcasts] { ++Broadcasts; });

    TFrPkgStrings Editor;
    Run(Editor, [&](TControls* Ui) {
        OnModal([](QWidget* Dialog) {
            Retype(Ctl<QLineEdit>(Dialog, "EdLabel"), QStringLiteral("Added"));
            QTest::mouseClick(Ctl<QPushButton>(Dialog, "BtOk"), Qt::LeftButton);
        });
        QTest::mouseClick(Ui->BtAdd, Qt::LeftButton);
        EXPECT_EQ(FPkg.Labels()->Count(), 4);
        bool Seen = false;
        OnModal([&Seen](QWidget* Dialog) {
            Seen = FrPkgLoadSave == Dialog;
            QTest::mouseClick(Ctl<QPushButton>(Dialog, "BtCancel"), Qt::LeftButton);
        });
        QTest::mouseClick(Ctl<QPushButton>(Ui->W, "BtSave"), Qt::LeftButton);
        EXPECT_TRUE(Seen); // the dialog is known while it is open
        EXPECT_EQ(FrPkgLoadSave, nullptr);
        ASSERT_TRUE(Read.open(QIODevice::ReadOnly));
        EXPECT_EQ(Read.readAll(), Before);
        Read.close();

        // Save To starts beside the package's file.
        QString StartedIn;
        auto Previous = KvSetFileDialogHandler([&StartedIn](TKvFileDialogRequest& Request) {
            StartedIn = Request.InitialDir;
            return false;
        });
        QTest::mouseClick(Ui->BtSaveTo, Qt::LeftButton);
        KvSetFileDialogHandler(Previous);
        EXPECT_EQ(QFileInfo(StartedIn).canonicalFilePath(), QFileInfo(Dir.path()).canonicalFilePath());
    });
    QObject::disconnect(Heard);
    EXPECT_EQ(Broadcasts, 0);
}

// A package in the form gets its first bounds once; opening and closing again changes nothing.
TEST_F(PkgStringsEditorTest, OpeningAndClosingMarksTheFormOnlyTheFirstTime)
{
    ASSERT_FALSE(FPkg.EditorBounds().IsStored());
    for (int Time = 0; Time < 3; ++Time) {
        TFrPkgStrings Editor;
        Run(Editor, [](TControls* Ui) { QTest::mouseClick(Ctl<QPushButton>(Ui->W, "BtOk"), Qt::LeftButton); });
    }
    EXPECT_EQ(FTold.size(), 1);
    EXPECT_TRUE(FPkg.EditorBounds().IsStored());
}

// The inspector names the init modes as the load/save dialog does, and picking one changes nothing.
TEST_F(PkgStringsEditorTest, InitModeReadsDfmOrFile)
{
    const TPropInfo* Prop = GetPropInfo(&TKvPkgStrings::staticMetaObject, u"InitMode");
    ASSERT_NE(Prop, nullptr);
    TKvPkgInitModeProperty Property;
    Property.Initialize(nullptr, {&FPkg}, *Prop);
    EXPECT_EQ(Property.GetValue(), QStringLiteral("DFM"));
    QStringList Values;
    Property.GetValues([&Values](const QString& Value) { Values << Value; });
    EXPECT_EQ(Values, QStringList({"DFM", "FILE"}));
    FPkg.SetInitMode(TKvPkgInfo::imFILE);
    Property.SetValue(QStringLiteral("DFM"));
    EXPECT_EQ(Property.GetValue(), QStringLiteral("FILE"));
}

TEST_F(PkgStringsEditorTest, ComponentEditorNeedsTheApplicationAndThePropertyDoesNot)
{
    TKvPkgStringsComponentEditor ComponentEditor(&FPkg, nullptr);
    try {
        ComponentEditor.Edit();
        FAIL() << "opened without an application";
    } catch (const EKvError& E) {
        EXPECT_EQ(E.Message, QStringLiteral("Component TKvCApplication not found"));
    }
    for (QWidget* Window : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<TFrPkgStrings*>(Window), nullptr) << "nothing left open";

    QString Title;
    auto CloseEditor = [&Title] {
        OnModal([&Title](QWidget* Window) {
            Title = Window->windowTitle();
            Window->close();
        });
    };
    const TPropInfo* Prop = GetPropInfo(&TKvPkgStrings::staticMetaObject, u"FileName");
    ASSERT_NE(Prop, nullptr);
    TKvPkgStringsFileNameProperty Property;
    Property.Initialize(nullptr, {&FPkg}, *Prop);
    CloseEditor();
    Property.Edit();
    EXPECT_EQ(Title, QStringLiteral("Package : Sales"));

    TKvCApplication App;
    App.SetActive();
    Title.clear();
    CloseEditor();
    ComponentEditor.Edit();
    EXPECT_EQ(Title, QStringLiteral("Package : Sales"));

    // The package list is one window, shown again by the second choice.
    EXPECT_EQ(ComponentEditor.GetVerb(0), QStringLiteral("View &Package List"));
    ComponentEditor.ExecuteVerb(0);
    QPointer<QWidget> List = KvFrPkgActive[ctPkgStrings];
    ASSERT_NE(List, nullptr);
    List->close();
    ComponentEditor.ExecuteVerb(0);
    EXPECT_EQ(KvFrPkgActive[ctPkgStrings], List);
    EXPECT_TRUE(List->isVisible());
    delete List;
}

} // namespace
