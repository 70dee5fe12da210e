#include "strings/KvVtMemoryLabelAdd.h"
#include "strings/KvVtMemoryLabelAddMultiLine.h"
#include "strings/KvVtMemoryMessageAdd.h"
#include "strings/KvVtMemoryTextAdd.h"

#include "KvForms.h"
#include "KvMessages.h"
#include "KvPkgStrings.h"

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

namespace {

// A control of a window by its name, as the window's form names it.
template <class T>
T* Ctl(QWidget* Window, const char* Name)
{
    T* Control = Window->findChild<T*>(QString::fromLatin1(Name));
    EXPECT_NE(Control, nullptr) << Name;
    return Control;
}

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

class ItemDialogTest : public ::testing::Test
{
protected:
    TKvPkgStrings FPkg;
    void SetUp() override
    {
        FPkg.SetPkgName(QStringLiteral("Sales"));
        FPkg.Labels()->Add(1, QStringLiteral("One"), QStringLiteral("First"))->SetProtected(true);
        FPkg.Labels()->Add(2, QStringLiteral("Two"));
    }
};

TEST_F(ItemDialogTest, RefusedItemKeepsTheDialogOpenAndThePackageAsItWas)
{
    TKvMessageRecorder Messages;
    TFrMemoryLabelAdd Dialog;
    Dialog.FModify = true;
    Dialog.FPkg = &FPkg;
    Dialog.SetId(1);
    Dialog.SetText(QStringLiteral("One"));
    Dialog.SetHint(QStringLiteral("First"));
    OnModal([&](QWidget*) {
        Retype(Ctl<QLineEdit>(&Dialog, "EdLabel"), QStringLiteral("Uno"));
        Retype(Ctl<QLineEdit>(&Dialog, "EdId"), QStringLiteral("2")); // in use
        QTest::mouseClick(Ctl<QPushButton>(&Dialog, "BtOk"), Qt::LeftButton);
        EXPECT_TRUE(Dialog.isVisible());
        ASSERT_EQ(Messages.Count(), 1);
        EXPECT_EQ(Messages.Last().MsgType, KvMsgError);
        EXPECT_EQ(FPkg.Labels()->FindId(1)->Text(), QStringLiteral("One"));
        EXPECT_EQ(KvScreen.UpdateCount(), 0);
        // An empty id is refused the same way.
        Retype(Ctl<QLineEdit>(&Dialog, "EdId"), QString());
        QTest::mouseClick(Ctl<QPushButton>(&Dialog, "BtOk"), Qt::LeftButton);
        EXPECT_TRUE(Dialog.isVisible());
        EXPECT_EQ(Messages.Count(), 2);
        Retype(Ctl<QLineEdit>(&Dialog, "EdId"), QStringLiteral("12"));
        QTest::mouseClick(Ctl<QPushButton>(&Dialog, "BtOk"), Qt::LeftButton);
    });
    EXPECT_EQ(Dialog.Execute(), 1);
    ASSERT_NE(FPkg.Labels()->FindId(12), nullptr);
    EXPECT_EQ(FPkg.Labels()->FindId(12)->Text(), QStringLiteral("Uno"));
    EXPECT_EQ(FPkg.Labels()->FindId(12)->Hint(), QStringLiteral("First"));
    EXPECT_EQ(FPkg.Labels()->FindId(1), nullptr);
    // Outside "System" the flag is hidden and stored cleared.
    EXPECT_FALSE(FPkg.Labels()->FindId(12)->Protected());
    EXPECT_FALSE(Ctl<QCheckBox>(&Dialog, "CbProtected")->isVisibleTo(&Dialog));
}

TEST_F(ItemDialogTest, AddRefusesAnIdInUseAndCancelAddsNothing)
{
    TKvMessageRecorder Messages;
    TFrMemoryMessageAdd Dialog;
    Dialog.FPkg = &FPkg;
    FPkg.Messages()->Add(4, QStringLiteral("Four"));
    Dialog.SetId(4);
    OnModal([&](QWidget* Window) {
        QTest::keyClicks(Window->findChild<QPlainTextEdit*>(QStringLiteral("EdText")), QStringLiteral("Again"));
        qobject_cast<QDialog*>(Window)->accept();
        EXPECT_EQ(Messages.Count(), 1);
        EXPECT_EQ(FPkg.Messages()->Count(), 1);
        QTest::keyClick(Window, Qt::Key_Escape);
    });
    EXPECT_EQ(Dialog.Execute(), 2);
    EXPECT_EQ(FPkg.Messages()->Count(), 1);
    EXPECT_EQ(FPkg.Messages()->FindId(4)->Text(), QStringLiteral("Four"));
}

// Nothing to show asks first; declining keeps the dialog open. A label with only a hint is a
// real one and is stored without a question.
TEST_F(ItemDialogTest, EmptyItemIsStoredOnlyWhenConfirmed)
{
    TKvMessageRecorder Messages({KvBtnCancel, KvBtnAccept});
    TFrMemoryMessageAdd Dialog;
    Dialog.FPkg = &FPkg;
    Dialog.SetId(7);
    OnModal([&](QWidget* Window) {
        QTest::mouseClick(Ctl<QPushButton>(Window, "BtOk"), Qt::LeftButton);
        EXPECT_TRUE(Window->isVisible());
        ASSERT_EQ(Messages.Count(), 1);
        EXPECT_EQ(Messages.Last().MsgType, KvMsgQuestion);
        EXPECT_EQ(Messages.Last().Default, KvBtnCancel);
        EXPECT_EQ(FPkg.Messages()->FindId(7), nullptr);
        QTest::mouseClick(Ctl<QPushButton>(Window, "BtOk"), Qt::LeftButton);
    });
    EXPECT_EQ(Dialog.Execute(), 1);
    ASSERT_NE(FPkg.Messages()->FindId(7), nullptr);

    TFrMemoryLabelAdd Label;
    Label.FPkg = &FPkg;
    Label.SetId(8);
    Label.SetHint(QStringLiteral("Only a hint"));
    OnModal([](QWidget* Window) { QTest::mouseClick(Ctl<QPushButton>(Window, "BtOk"), Qt::LeftButton); });
    EXPECT_EQ(Label.Execute(), 1);
    EXPECT_EQ(Messages.Count(), 2);
    EXPECT_EQ(FPkg.Labels()->FindId(8)->Hint(), QStringLiteral("Only a hint"));
}

TEST_F(ItemDialogTest, SystemItemsAreStoredProtectedUnlessCleared)
{
    TKvPkgStrings System;
    System.SetPkgName(QStringLiteral("sYSTEM"));
    System.Texts()->Add(3, QStringLiteral("Three"));
    System.Texts()->Add(4, QStringLiteral("Four"));
    for (const bool Clear : {false, true}) {
        const int Id = Clear ? 4 : 3;
        TFrMemoryTextAdd Dialog;
        Dialog.FModify = true;
        Dialog.FPkg = &System;
        Dialog.SetId(Id);
        Dialog.SetText(QStringLiteral("Line 1\r\nLine 2"));
        OnModal([&](QWidget*) {
            EXPECT_TRUE(Ctl<QCheckBox>(&Dialog, "CbProtected")->isVisible());
            EXPECT_TRUE(Ctl<QCheckBox>(&Dialog, "CbProtected")->isChecked());
            if (Clear)
                QTest::mouseClick(Ctl<QCheckBox>(&Dialog, "CbProtected"), Qt::LeftButton);
            QTest::mouseClick(Ctl<QPushButton>(&Dialog, "BtOk"), Qt::LeftButton);
        });
        EXPECT_EQ(Dialog.Execute(), 1);
        EXPECT_EQ(System.Texts()->FindId(Id)->Protected(), !Clear);
        EXPECT_EQ(System.Texts()->FindId(Id)->Text(), QStringLiteral("Line 1\r\nLine 2"));
    }
}

TEST_F(ItemDialogTest, MultiLineWindowGivesItsLinesBackHoweverItCloses)
{
    TFrMemoryLabelAdd Dialog;
    Dialog.FPkg = &FPkg;
    Dialog.SetId(FPkg.Labels()->UniqueId());
    Dialog.SetText(QStringLiteral("Top"));
    OnModal([&](QWidget*) {
        EXPECT_EQ(Ctl<QToolButton>(&Dialog, "BtMultiLine")->toolTip(), QStringLiteral("Edición Multilinea"));
        OnModal([](QWidget* Window) {
            auto* Lines = qobject_cast<TFrMemoryLabelAddMultiLine*>(Window);
            ASSERT_NE(Lines, nullptr);
            EXPECT_EQ(Lines->windowTitle(), QStringLiteral("Label MultiLine"));
            QTest::keyClick(Ctl<QPlainTextEdit>(Lines, "EdMemo"), Qt::Key_End);
            QTest::keyClick(Ctl<QPlainTextEdit>(Lines, "EdMemo"), Qt::Key_Return);
            QTest::keyClicks(Ctl<QPlainTextEdit>(Lines, "EdMemo"), QStringLiteral("Bottom"));
            QTest::keyClick(Ctl<QPlainTextEdit>(Lines, "EdMemo"), Qt::Key_Escape);
        });
        QTest::mouseClick(Ctl<QToolButton>(&Dialog, "BtMultiLine"), Qt::LeftButton);
        EXPECT_EQ(Dialog.Text(), QStringLiteral("Top\r\nBottom"));
        QTest::mouseClick(Ctl<QPushButton>(&Dialog, "BtOk"), Qt::LeftButton);
    });
    EXPECT_EQ(Dialog.Execute(), 1);
    EXPECT_EQ(FPkg.Labels()->FindId(3)->Text(), QStringLiteral("Top\r\nBottom"));
}

// Four digits limit what is typed; a larger id the list already holds is kept whole, or
// Modify would write into the item of the cut id.
TEST_F(ItemDialogTest, IdBoxLimitsTypingButKeepsLargerIds)
{
    {
        TFrMemoryLabelAdd Dialog;
        Dialog.show();
        Retype(Ctl<QLineEdit>(&Dialog, "EdId"), QStringLiteral("1a-2 345"));
        EXPECT_EQ(Ctl<QLineEdit>(&Dialog, "EdId")->text(), QStringLiteral("1234"));
    }
    FPkg.Labels()->Add(1234, QStringLiteral("Small"));
    FPkg.Labels()->Add(12345, QStringLiteral("Large"), QStringLiteral("Big"));
    TFrMemoryLabelAdd Dialog;
    Dialog.FPkg = &FPkg;
    Dialog.FModify = true;
    Dialog.SetId(12345);
    Dialog.SetText(QStringLiteral("Large"));
    OnModal([](QWidget* Window) {
        auto* Id = Ctl<QLineEdit>(Window, "EdId");
        EXPECT_EQ(Id->text(), QStringLiteral("12345"));
        Id->setFocus();
        Id->end(false);
        QTest::keyClick(Id, Qt::Key_6); // no more digits can be typed
        EXPECT_EQ(Id->text(), QStringLiteral("12345"));
        Retype(Ctl<QLineEdit>(Window, "EdLabel"), QStringLiteral("Larger"));
        QTest::mouseClick(Ctl<QPushButton>(Window, "BtOk"), Qt::LeftButton);
    });
    EXPECT_EQ(Dialog.Execute(), 1);
    EXPECT_EQ(FPkg.Labels()->FindId(12345)->Text(), QStringLiteral("Larger"));
    EXPECT_EQ(FPkg.Labels()->FindId(1234)->Text(), QStringLiteral("Small"));
}

} // namespace
