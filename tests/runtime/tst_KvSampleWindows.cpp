#include "KvApplication.h"
#include "KvDialogs.h"
#include "KvMessages.h"
#include "KvRichText.h"
#include "KvStdCtrls.h"
#include "KvVtCalendar.h"
#include "KvVtImageE.h"
#include "KvVtMemoE.h"
#include "KvVtRichEditE.h"
#include "KvVtScrollBars.h"

#include <QBuffer>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Answers the library's modal windows with Drive, restoring the real ones afterwards.
class ModalDriver
{
public:
    explicit ModalDriver(std::function<int(QDialog&)> Drive) : FPrevious(KvSetModalHandler(std::move(Drive))) {}
    ~ModalDriver() { KvSetModalHandler(std::move(FPrevious)); }

private:
    TKvModalHandler FPrevious;
};

template <class T>
T* Child(QWidget& Window, const char* Name)
{
    auto* Found = Window.findChild<T*>(QLatin1String(Name));
    EXPECT_TRUE(Found) << Name;
    return Found;
}

// Near the left edge, where a check box has its box.
void Click(QWidget& Window, const char* Name)
{
    QAbstractButton* Button = Child<QAbstractButton>(Window, Name);
    QTest::mouseClick(Button, Qt::LeftButton, {}, QPoint(6, Button->height() / 2));
}

QByteArray Png(const QSize& Size, Qt::GlobalColor Color)
{
    QImage Image(Size, QImage::Format_RGB32);
    Image.fill(Color);
    QByteArray Data;
    QBuffer Buffer(&Data);
    Buffer.open(QIODevice::WriteOnly);
    Image.save(&Buffer, "PNG");
    return Data;
}

} // namespace

TEST(KvSampleWindows, CalendarChoosesTheDayClicked)
{
    TKvCApplication App;
    ModalDriver Driver([](QDialog& Window) {
        EXPECT_TRUE(qobject_cast<TFrCalendar*>(&Window));
        Window.show();
        EXPECT_EQ(Child<QLabel>(Window, "LaDate")->text(), QLocale().toString(QDate(2026, 3, 14), QLocale::LongFormat));
        // The cell of the 20th in the month's table (the days of the months around it are
        // at most a week).
        auto* View = Child<QCalendarWidget>(Window, "CaDate")->findChild<QTableView*>();
        const QAbstractItemModel* Model = View->model();
        QModelIndex Twentieth;
        for (int Column = 0; Column < Model->columnCount() && !Twentieth.isValid(); ++Column)
            Twentieth = Model->match(Model->index(0, Column), Qt::DisplayRole, QStringLiteral("20"), 1, Qt::MatchFixedString)
                            .value(0);
        EXPECT_TRUE(Twentieth.isValid());
        QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, View->visualRect(Twentieth).center());
        Click(Window, "BtOk");
        return Window.result();
    });
    QDateTime Value(QDate(2026, 3, 14), QTime(10, 30, 5));
    EXPECT_TRUE(App.Calendar(Value));
    EXPECT_EQ(Value, QDateTime(QDate(2026, 3, 20), QTime(10, 30, 5)));
}

TEST(KvSampleWindows, MemoEditorGivesTheLinesBackOnlyOnOk)
{
    QTemporaryDir Dir;
    const QString File = Dir.filePath(QStringLiteral("notes.txt"));
    TKvMemo Memo;
    Memo.Lines()->SetText(QStringLiteral("first\nsecond"));
    int Answer = QDialog::Accepted;
    ModalDriver Driver([&](QDialog& Window) {
        Window.show();
        EXPECT_EQ(Window.windowTitle(), QStringLiteral("Memo"));
        auto* Edit = Child<QPlainTextEdit>(Window, "EdMemo");
        Edit->moveCursor(QTextCursor::End);
        QTest::keyClick(Edit, Qt::Key_Return);
        QTest::keyClicks(Edit, QStringLiteral("third"));
        EXPECT_EQ(Child<QLabel>(Window, "LaPosition")->text(), QStringLiteral("Line 3, Column 6"));
        EXPECT_EQ(Child<QLabel>(Window, "LaModified")->text(), QStringLiteral("Modified"));
        // Saved through the file dialog, with CR LF line ends.
        const TKvFileDialogHandler Files = KvSetFileDialogHandler([&](TKvFileDialogRequest& Request) {
            Request.FileName = File;
            return true;
        });
        Click(Window, "BtSave");
        KvSetFileDialogHandler(Files);
        return Answer;
    });
    TFrMemoE Cancelled;
    Answer = QDialog::Rejected;
    EXPECT_FALSE(Cancelled.Execute(QStringLiteral("Memo"), &Memo));
    EXPECT_EQ(Memo.Lines()->Text(), QStringLiteral("first\nsecond"));
    TFrMemoE Confirmed;
    Answer = QDialog::Accepted;
    EXPECT_TRUE(Confirmed.Execute(QStringLiteral("Memo"), &Memo));
    EXPECT_EQ(Memo.Lines()->List(), QStringList({"first", "second", "third"}));
    QFile Saved(File);
    ASSERT_TRUE(Saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(Saved.readAll(), QByteArray("first\r\nsecond\r\nthird"));
}

TEST(KvSampleWindows, ImageEditorLoadsClearsAndGivesThePictureBack)
{
    QTemporaryDir Dir;
    const QString File = Dir.filePath(QStringLiteral("red.png"));
    {
        QFile Out(File);
        ASSERT_TRUE(Out.open(QIODevice::WriteOnly));
        Out.write(Png(QSize(40, 30), Qt::red));
    }
    const QString Broken = Dir.filePath(QStringLiteral("broken.png"));
    {
        QFile Out(Broken);
        ASSERT_TRUE(Out.open(QIODevice::WriteOnly));
        Out.write("not a picture");
    }
    TKvImage Image;
    Image.SetPicture(Png(QSize(10, 10), Qt::blue));
    Image.SetGraphicClass(QStringLiteral("PNG"));
    TKvMessageRecorder Messages;
    ModalDriver Driver([&](QDialog& Window) {
        Window.show();
        EXPECT_EQ(Child<QLabel>(Window, "LaSize")->text(), QStringLiteral("10 x 10 PNG"));
        QString Chosen = Broken;
        const TKvFileDialogHandler Files = KvSetFileDialogHandler([&](TKvFileDialogRequest& Request) {
            Request.FileName = Chosen;
            return true;
        });
        Click(Window, "BtLoad");
        EXPECT_EQ(Messages.Count(), 1) << "a file that holds no picture is reported";
        EXPECT_EQ(Child<QLabel>(Window, "LaSize")->text(), QStringLiteral("10 x 10 PNG")) << "and changes nothing";
        Chosen = File;
        Click(Window, "BtLoad");
        KvSetFileDialogHandler(Files);
        EXPECT_EQ(Child<QLabel>(Window, "LaSize")->text(), QStringLiteral("40 x 30 PNG"));
        Click(Window, "CBStretch");
        Click(Window, "BtOk");
        return Window.result();
    });
    TFrImageE Window;
    EXPECT_TRUE(Window.Execute(QStringLiteral("Image"), &Image));
    EXPECT_EQ(QImage::fromData(Image.Picture()).size(), QSize(40, 30));
    EXPECT_TRUE(Image.Stretch());

    ModalDriver Clearing([](QDialog& Window) {
        Click(Window, "BtClear");
        EXPECT_FALSE(Child<QPushButton>(Window, "BtSave")->isEnabled());
        return int(QDialog::Rejected);
    });
    TFrImageE Again;
    EXPECT_FALSE(Again.Execute(QStringLiteral("Image"), &Image));
    EXPECT_FALSE(Image.Picture().isEmpty()) << "cancelled: the picture stays";
}

TEST(KvSampleWindows, RichEditorFormatsTheSelectionAndWritesRichText)
{
    TKvRichEdit Rich;
    Rich.Lines()->SetText(QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Hello world\\par}"));
    ModalDriver Driver([](QDialog& Window) {
        Window.show();
        auto* Edit = Child<QTextEdit>(Window, "EdRich");
        EXPECT_EQ(Edit->toPlainText(), QStringLiteral("Hello world"));
        Edit->moveCursor(QTextCursor::Start);
        Edit->moveCursor(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
        Click(Window, "SBBold");
        Click(Window, "SBCenter");
        Edit->moveCursor(QTextCursor::End);
        EXPECT_FALSE(Child<QToolButton>(Window, "SBBold")->isChecked()) << "the buttons follow the caret";
        Edit->moveCursor(QTextCursor::Start);
        Edit->moveCursor(QTextCursor::Right);
        EXPECT_TRUE(Child<QToolButton>(Window, "SBBold")->isChecked());
        EXPECT_TRUE(Child<QToolButton>(Window, "SBCenter")->isChecked());
        Click(Window, "BtOk");
        return Window.result();
    });
    TFrRichEditE Window;
    EXPECT_TRUE(Window.Execute(QStringLiteral("Rich"), &Rich, false));
    const QString Written = Rich.Lines()->Text();
    ASSERT_TRUE(KvIsRichText(Written));
    EXPECT_TRUE(Written.contains(QStringLiteral("\\b ")) || Written.contains(QStringLiteral("\\b\\"))) << Written.toStdString();
    EXPECT_TRUE(Written.contains(QStringLiteral("\\qc"))) << Written.toStdString();

    // Read only: nothing can change it, nothing is written.
    ModalDriver Reading([](QDialog& Window) {
        EXPECT_FALSE(Child<QToolButton>(Window, "SBBold")->isEnabled());
        EXPECT_TRUE(Child<QTextEdit>(Window, "EdRich")->isReadOnly());
        return int(QDialog::Accepted);
    });
    TFrRichEditE Viewer;
    EXPECT_TRUE(Viewer.Execute(QStringLiteral("Rich"), &Rich, true));
    EXPECT_EQ(Rich.Lines()->Text(), Written);
}

TEST(KvSampleWindows, ScrollBarsFollowTheApplicationAndEscapeCloses)
{
    TKvCApplication App;
    App.SetActive();
    App.ScrollBars()->SetSize(30);
    App.ScrollBars()->SetTracking(false);
    App.ScrollBars()->SetIncrement(25);
    EXPECT_THROW(App.ScrollBars()->SetSize(65), Exception);
    bool Escaped = false;
    ModalDriver Driver([&](QDialog& Window) {
        Window.show();
        auto* Box = Child<QScrollArea>(Window, "ScrollBox");
        QScrollBar* Bar = Box->verticalScrollBar();
        EXPECT_EQ(Bar->sizeHint().width(), 30);
        EXPECT_FALSE(Bar->hasTracking());
        EXPECT_EQ(Bar->singleStep(), 25);
        EXPECT_EQ(Box->widget()->size(), QSize(TFrScrollBars::Range, TFrScrollBars::Range));
        EXPECT_TRUE(Bar->isVisible()) << "the box is smaller than its range";
        QTest::keyClick(&Window, Qt::Key_Escape);
        Escaped = !Window.isVisible();
        return Window.result();
    });
    TFrScrollBars Window;
    Window.Execute(QStringLiteral("ScrollBars Example"));
    EXPECT_EQ(Window.windowTitle(), QStringLiteral("ScrollBars Example"));
    EXPECT_TRUE(Escaped);
}
