#include "KvDialogs.h"
#include "KvMessages.h"
#include "KvPkgStrings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Runs Act on the message box that the next KvMessage shows; fails (closing it) if none comes.
void OnNextMessageBox(std::function<void(QMessageBox*)> Act)
{
    auto* Poll = new QTimer;
    auto* Clock = new QElapsedTimer;
    Clock->start();
    QObject::connect(Poll, &QTimer::timeout, [Poll, Clock, Act] {
        if (auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            Poll->stop();
            Act(Box);
        } else if (Clock->elapsed() > 5000) {
            Poll->stop();
            ADD_FAILURE() << "no message box appeared";
            return;
        } else {
            return;
        }
        Poll->deleteLater();
        delete Clock;
    });
    Poll->start(10);
}

} // namespace

TEST(KvMessages, HandlerSeesTheRequestAndItsAnswerIsReturned)
{
    TKvMessageRecorder Outer({KvBtnNo});
    {
        TKvMessageRecorder Inner({KvBtnCancel});
        EXPECT_EQ(KvMsg(KvMsgQuestion, QStringLiteral("Save changes to a.txt?"), {4, 5, 2}, 4), KvBtnCancel);
        // Script used up: the default answers.
        EXPECT_EQ(KvMsg(KvMsgError, QStringLiteral("Broken"), {1}, 1), KvBtnAccept);
        ASSERT_EQ(Inner.Count(), 2);
        const TKvMessageRequest& First = Inner.Requests().first();
        EXPECT_EQ(First.MsgType, KvMsgQuestion);
        EXPECT_EQ(First.Text, QStringLiteral("Save changes to a.txt?"));
        EXPECT_EQ(First.Buttons, (TKvMsgButtons{4, 5, 2}));
        EXPECT_EQ(First.Default, 4);
    }
    // The outer recorder is back in charge once the inner one is gone.
    EXPECT_EQ(KvMsg(KvMsgQuestion, QStringLiteral("Sure?"), {4, 5}, 4), KvBtnNo);
    EXPECT_EQ(Outer.Count(), 1);
}

TEST(KvMessages, RequestsTheLibraryCannotShowAreRefused)
{
    TKvMessageRecorder Recorder({KvBtnYes});
    EXPECT_THROW(KvMsg(KvMsgQuestion, QStringLiteral("x"), {1, 3}, 1), EInvalidOperation);
    EXPECT_THROW(KvMsg(KvMsgQuestion, QStringLiteral("x"), {1, 2}, 4), EInvalidOperation);
    EXPECT_THROW(KvMsg(7, QStringLiteral("x"), {1}, 1), EInvalidOperation);
    EXPECT_EQ(Recorder.Count(), 0);
    // An answer that is not among the buttons is a broken script, not a result.
    EXPECT_THROW(KvMsg(KvMsgQuestion, QStringLiteral("x"), {1, 2}, 1), EInvalidOperation);
}

TEST(KvMessages, PackageMessagesResolveThroughTheSystemStrings)
{
    TKvMessageRecorder Recorder;
    KvMsgPkg(KvMsgQuestion, QStringLiteral("System"), 26, {1, 2}, 1);
    EXPECT_EQ(Recorder.Last().Text, KvSystemMessageText(26));
    EXPECT_FALSE(Recorder.Last().Text.isEmpty());

    KvMsgPkgArgs(KvMsgNotice, QStringLiteral("system"), 49, {QStringLiteral("/tmp/100% new.kvstr")}, {1}, 1);
    EXPECT_EQ(Recorder.Last().Text, QStringLiteral("File '/tmp/100% new.kvstr' not found."));

    KvMsgPkg(KvMsgQuestion, QStringLiteral("System"), 4321, {1}, 1);
    EXPECT_TRUE(Recorder.Last().Text.contains(QStringLiteral("4321")));
    EXPECT_TRUE(Recorder.Last().Text.contains(QStringLiteral("System")));

    // A live "System" package speaks for itself; other ids still fall back to the library's.
    TKvPkgStrings System;
    System.SetPkgName(QStringLiteral("System"));
    System.Messages()->Add(26, QStringLiteral("¿Borrar el elemento?"));
    KvMsgPkg(KvMsgQuestion, QStringLiteral("System"), 26, {1, 2}, 1);
    EXPECT_EQ(Recorder.Last().Text, QStringLiteral("¿Borrar el elemento?"));
    KvMsgPkg(KvMsgQuestion, QStringLiteral("System"), 58, {1, 2}, 2);
    EXPECT_EQ(Recorder.Last().Text, KvSystemMessageText(58));

    // No built-in texts for the developer's own packages.
    KvMsgPkg(KvMsgNotice, QStringLiteral("Main"), 26, {1}, 1);
    EXPECT_NE(Recorder.Last().Text, KvSystemMessageText(26));
}

TEST(KvMessages, ArgumentsFillPlaceholdersInOrderAndOnlyOnce)
{
    EXPECT_EQ(KvFormatArgs(QStringLiteral("Unable to modified %s lines, %d%%"), {QStringLiteral("%s"), QStringLiteral("5")}),
              QStringLiteral("Unable to modified %s lines, 5%"));
    EXPECT_THROW(KvFormatArgs(QStringLiteral("%s and %s"), {QStringLiteral("one")}), EConvertError);
}

TEST(KvMessages, ExceptAndHelp)
{
    try {
        KvExcept(QStringLiteral("Component TKvCApplication not found"));
        FAIL();
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message, QStringLiteral("Component TKvCApplication not found"));
    }

    TKvMessageRecorder Recorder;
    TKvPkgStrings Pkg;
    Pkg.SetPkgName(QStringLiteral("HelpPkg"));
    Pkg.Texts()->Add(1, QStringLiteral("Mask letters:\n< left"));
    KvHelp(QStringLiteral("HelpPkg"), 1);
    EXPECT_EQ(Recorder.Last().Text, QStringLiteral("Mask letters:\n< left"));
    EXPECT_EQ(Recorder.Last().MsgType, KvMsgNotice);
    KvHelp(QStringLiteral("System"), 4, QStringLiteral("Help Example"));
    EXPECT_EQ(Recorder.Last().Text, QStringLiteral("Help Example"));
}

TEST(KvMessages, WithoutHandlerARealBoxShowsTheKinds)
{
    OnNextMessageBox([](QMessageBox* Box) {
        EXPECT_EQ(Box->icon(), QMessageBox::Question);
        EXPECT_EQ(Box->text(), QStringLiteral("Overwrite?"));
        ASSERT_TRUE(Box->button(QMessageBox::Yes) && Box->button(QMessageBox::No) && Box->button(QMessageBox::Cancel));
        EXPECT_EQ(Box->defaultButton(), Box->button(QMessageBox::No));
        Box->button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(KvMsg(KvMsgQuestion, QStringLiteral("Overwrite?"), {4, 5, 2}, 5), KvBtnYes);

    // Escape gives the cautious answer.
    OnNextMessageBox([](QMessageBox* Box) {
        EXPECT_EQ(Box->icon(), QMessageBox::Critical);
        QTest::keyClick(Box, Qt::Key_Escape);
    });
    EXPECT_EQ(KvMsg(KvMsgError, QStringLiteral("Failed"), {1, 2}, 1), KvBtnCancel);
}

TEST(KvDialogs, SeamsAnswerAndChosenNamesAreCompleted)
{
    auto PreviousFile = KvSetFileDialogHandler([](TKvFileDialogRequest& Request) {
        EXPECT_EQ(KvQtNameFilters(Request.Filter),
                  (QStringList{QStringLiteral("Text Files (*.txt)"), QStringLiteral("Images (*.png *.bmp)")}));
        Request.FileName = QStringLiteral("/tmp/labels");
        return true;
    });
    TKvFileDialogRequest Request;
    Request.Filter = QStringLiteral("Text Files (*.txt)|*.txt|Images|*.png;*.bmp");
    Request.DefaultExt = QStringLiteral("txt");
    ASSERT_TRUE(KvFileDialog(Request));
    EXPECT_EQ(Request.FileName, QStringLiteral("/tmp/labels.txt"));
    KvSetFileDialogHandler(PreviousFile);

    auto PreviousFolder = KvSetFolderDialogHandler([](TKvFolderDialogRequest& Folder) {
        EXPECT_EQ(Folder.Path, QStringLiteral("/old"));
        Folder.Path = QStringLiteral("/work/packages");
        return true;
    });
    QString Path = QStringLiteral("/old");
    ASSERT_TRUE(KvFolderDialog(Path, QStringLiteral("Select:"), true));
    EXPECT_EQ(Path, QStringLiteral("/work/packages/"));
    KvSetFolderDialogHandler([](TKvFolderDialogRequest&) { return false; });
    EXPECT_FALSE(KvFolderDialog(Path, QStringLiteral("Select:"), true));
    EXPECT_EQ(Path, QStringLiteral("/work/packages/"));
    KvSetFolderDialogHandler(PreviousFolder);
}
