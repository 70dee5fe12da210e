#include "KvRichText.h"
#include "controls/KvVtFindDialog.h"
#include "controls/KvVtMultiLine.h"
#include "controls/KvVtRichEdit.h"

#include "DesignIntf.h"
#include "KvDialogs.h"
#include "KvMessages.h"
#include "KvStdCtrls.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

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

void Click(QWidget* Window, const char* Name)
{
    QTest::mouseClick(Ctl<QWidget>(Window, Name), Qt::LeftButton);
}

class TCountingDesigner : public IDesigner
{
public:
    int Modifications = 0;
    void Modified() override { ++Modifications; }
    TMethod CreateMethod(const QString&, const QString&) override { return {}; }
    QString GetMethodName(const TMethod&) const override { return {}; }
    bool MethodExists(const QString&) const override { return false; }
    void ShowMethod(const QString&) override {}
    TDesignerSelectionList GetSelections() const override { return {}; }
    void SetSelections(const TDesignerSelectionList&) override {}
    void SelectComponent(TPersistent*) override {}
    QStringList GetComponentNames(const QMetaObject*) const override { return {}; }
    TComponent* GetComponent(const QString&) const override { return nullptr; }
    TComponent* CreateComponent(const QMetaObject*, TComponent*, int, int, int, int) override { return nullptr; }
    QString UniqueName(const QString&) const override { return {}; }
    TComponent* GetRoot() const override { return nullptr; }
};

// As a rich edit control stores it, with words this editor does not know.
const QStringList StoredLines = {
    QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}}"),
    QStringLiteral("{\\*\\generator Riched20 10.0.19041;}\\viewkind4\\uc1\\pard\\sl240\\slmult1\\f0\\fs16\\lang9 "
                   "Dear customer,\\par"),
    QStringLiteral("\\pard\\widctlpar thank you.\\par"),
    QStringLiteral("}")};

class KvVtRichEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Rich.SetName(QStringLiteral("ReLetter"));
        Rich.Lines()->SetList(StoredLines);
        Window.RichEdit = &Rich;
        Window.Designer = &Designer;
    }

    TKvRichEdit Rich;
    TCountingDesigner Designer;
    TFrRichEdit Window;
};

} // namespace

TEST(KvVtMultiLine, EscapeGivesTheEditedLinesWithTheirEmptyEnd)
{
    TFrMultiLine Dialog;
    OnModal([](QWidget* W) {
        EXPECT_EQ(W->windowTitle(), QStringLiteral("Property: Caption"));
        auto* Memo = Ctl<QPlainTextEdit>(W, "EdMemo");
        EXPECT_EQ(Memo->toPlainText(), QStringLiteral("one\ntwo\n"));
        QTest::keyClick(Memo, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(Memo, QStringLiteral("three"));
        QTest::keyClick(Memo, Qt::Key_Return);
        QTest::keyClick(Memo, Qt::Key_Return);
        QTest::keyClick(W, Qt::Key_Escape);
    });
    EXPECT_EQ(Dialog.Execute(QStringLiteral("Property: Caption"), QStringLiteral("one\ntwo\r\n")),
              QStringLiteral("one\r\ntwo\r\nthree\r\n\r\n"));

    // Looked at only, the text keeps its own line breaks; a read-only memo takes no keys.
    Dialog.ReadOnly = true;
    OnModal([](QWidget* W) {
        QTest::keyClicks(Ctl<QPlainTextEdit>(W, "EdMemo"), QStringLiteral("x"));
        Click(W, "BtOk");
    });
    EXPECT_EQ(Dialog.Execute(QStringLiteral("MonthShortNames"), QStringLiteral("a\nb\n\n")), QStringLiteral("a\nb\n\n"));
}

TEST(KvVtFindDialog, SearchNextHandsOverWhatToFind)
{
    TFrFindDialog Dialog;
    Dialog.show();
    QStringList Found;
    Click(&Dialog, "BtFindNext"); // nobody listens yet: nothing happens
    Dialog.FOnFind = [&](TFrFindDialog* Sender) {
        Found << QStringLiteral("%1 %2 %3 %4")
                     .arg(Sender->FindText())
                     .arg(Sender->WholeWords())
                     .arg(Sender->CaseSensitive())
                     .arg(Sender->Backward());
    };
    QTest::keyClicks(Ctl<QLineEdit>(&Dialog, "EdFind"), QStringLiteral("Kv"));
    QTest::keyClick(Ctl<QLineEdit>(&Dialog, "EdFind"), Qt::Key_Return);
    Click(&Dialog, "CBCase");
    QTest::mouseClick(Ctl<QWidget>(&Dialog, "RbBackward"), Qt::LeftButton, {}, QPoint(6, 6));
    Click(&Dialog, "BtFindNext");
    EXPECT_EQ(Found, QStringList({QStringLiteral("Kv 0 0 0"), QStringLiteral("Kv 0 1 1")}));
    Click(&Dialog, "BtCancel");
    EXPECT_FALSE(Dialog.isVisible());
}

TEST_F(KvVtRichEditTest, LookedAtOnlyKeepsTheStoredTextAndAsksNothing)
{
    TKvMessageRecorder Messages;
    OnModal([](QWidget* W) {
        EXPECT_EQ(W->windowTitle(), QStringLiteral("RichEdit - Untitled"));
        auto* Edit = Ctl<QTextEdit>(W, "EdRichEdit");
        EXPECT_EQ(Edit->toPlainText(), QStringLiteral("Dear customer,\nthank you."));
        QTest::keyClick(Edit, Qt::Key_Down); // moving around changes nothing
        EXPECT_EQ(Ctl<QLabel>(W, "LaLocation")->text(), QStringLiteral("Line: 2   Col: 1"));
        EXPECT_EQ(Ctl<QLabel>(W, "LaUpdate")->text(), QString());
        QTest::keyClick(W, Qt::Key_Escape);
    });
    Window.Execute();
    EXPECT_EQ(Messages.Count(), 0);

    OnModal([](QWidget* W) { Click(W, "BtOk"); });
    Window.Execute();
    EXPECT_EQ(Rich.Lines()->List(), StoredLines);
    EXPECT_EQ(Designer.Modifications, 0);
}

TEST_F(KvVtRichEditTest, FormattingWithMouseAndKeysIsStoredOnOk)
{
    OnModal([](QWidget* W) {
        auto* Edit = Ctl<QTextEdit>(W, "EdRichEdit");
        QTest::keyClick(Edit, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(Edit, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier); // "Dear "
        Click(W, "SbBold");
        Click(W, "SbCenter");
        EXPECT_TRUE(Ctl<QToolButton>(W, "SbCenter")->isChecked());
        EXPECT_FALSE(Ctl<QToolButton>(W, "SbLeft")->isChecked());
        auto* Size = Ctl<QComboBox>(W, "EdFontSize");
        Size->lineEdit()->selectAll();
        QTest::keyClicks(Size->lineEdit(), QStringLiteral("14"));
        QTest::keyClick(Size->lineEdit(), Qt::Key_Return);
        QTest::keyClick(Edit, Qt::Key_End, Qt::ControlModifier);
        Click(W, "SbBullet");
        QTest::keyClicks(Edit, QStringLiteral(" Bye!"));
        EXPECT_EQ(Ctl<QLabel>(W, "LaModified")->text(), QStringLiteral("Modified"));
        EXPECT_EQ(Ctl<QLabel>(W, "LaUpdate")->text(), QStringLiteral("Update Component"));
        Click(W, "BtOk");
    });
    Window.Execute();
    EXPECT_EQ(Designer.Modifications, 1);
    const QStringList Lines = Rich.Lines()->List();
    ASSERT_GE(Lines.size(), 4);
    EXPECT_TRUE(Lines.first().startsWith(QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0"))) << Lines.first().toStdString();
    EXPECT_EQ(Lines.last(), QStringLiteral("}"));

    const std::unique_ptr<QTextDocument> Doc(KvReadRichText(Rich.Lines()->Text()));
    const QTextBlock First = Doc->firstBlock();
    EXPECT_EQ(First.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const QTextCharFormat Dear = First.begin().fragment().charFormat();
    EXPECT_EQ(First.begin().fragment().text(), QStringLiteral("Dear "));
    EXPECT_GE(Dear.fontWeight(), QFont::DemiBold);
    EXPECT_EQ(Dear.fontPointSize(), 14.0);
    EXPECT_EQ(First.next().text(), QStringLiteral("thank you. Bye!"));
    EXPECT_NE(First.next().textList(), nullptr);
}

TEST_F(KvVtRichEditTest, CancellingChangesIsConfirmedAndEmptyTextClears)
{
    TKvMessageRecorder Messages({KvBtnNo, KvBtnYes});
    OnModal([](QWidget* W) {
        auto* Edit = Ctl<QTextEdit>(W, "EdRichEdit");
        QTest::keyClicks(Edit, QStringLiteral("x"));
        Click(W, "BtCancel"); // answered "no": the window stays
        EXPECT_TRUE(W->isVisible());
        QTest::keyClick(W, Qt::Key_Escape); // answered "yes"
    });
    Window.Execute();
    ASSERT_EQ(Messages.Count(), 2);
    EXPECT_EQ(Messages.Last().Text, QStringLiteral("Do you wish to cancel the changes?"));
    EXPECT_EQ(Messages.Last().Default, KvBtnNo);
    EXPECT_EQ(Rich.Lines()->List(), StoredLines);

    OnModal([](QWidget* W) {
        auto* Edit = Ctl<QTextEdit>(W, "EdRichEdit");
        QTest::keyClick(Edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(Edit, Qt::Key_Delete);
        Click(W, "BtOk");
    });
    Window.Execute();
    EXPECT_EQ(Rich.Lines()->Count(), 0);
    EXPECT_EQ(Designer.Modifications, 1);
}

TEST_F(KvVtRichEditTest, SavingUntitledAsksForANameAndNewAsksToSave)
{
    QTemporaryDir Dir;
    const QString File = Dir.filePath(QStringLiteral("letter.rtf"));
    QList<TKvFileDialogRequest> Asked;
    const auto Previous = KvSetFileDialogHandler([&](TKvFileDialogRequest& R) {
        Asked << R;
        R.FileName = File;
        return true;
    });
    TKvMessageRecorder Messages({KvBtnCancel, KvBtnNo});
    OnModal([&](QWidget* W) {
        QTest::keyClicks(Ctl<QTextEdit>(W, "EdRichEdit"), QStringLiteral("P.S. "));
        Click(W, "BtSave");
        ASSERT_EQ(Asked.size(), 1);
        EXPECT_TRUE(Asked[0].Save);
        EXPECT_EQ(Asked[0].Filter, QStringLiteral("Rich Files (*.rtf)|*.rtf|All Files (*.*)|*.*"));
        EXPECT_EQ(W->windowTitle(), QStringLiteral("RichEdit - letter.rtf"));
        EXPECT_EQ(Ctl<QLabel>(W, "LaModified")->text(), QString());

        QTest::keyClicks(Ctl<QTextEdit>(W, "EdRichEdit"), QStringLiteral("!"));
        Click(W, "BtNew"); // cancelled: the text stays
        EXPECT_EQ(Messages.Last().Text, QStringLiteral("Save changes to %1?").arg(File));
        EXPECT_FALSE(Ctl<QTextEdit>(W, "EdRichEdit")->document()->isEmpty());
        Click(W, "BtNew"); // not saved: a new text
        EXPECT_TRUE(Ctl<QTextEdit>(W, "EdRichEdit")->document()->isEmpty());
        EXPECT_EQ(W->windowTitle(), QStringLiteral("RichEdit - Untitled"));
        Click(W, "BtLoad");
        EXPECT_EQ(Ctl<QTextEdit>(W, "EdRichEdit")->toPlainText(), QStringLiteral("P.S. Dear customer,\nthank you."));
        Click(W, "BtOk");
    });
    Window.Execute();
    KvSetFileDialogHandler(Previous);
    QFile Saved(File);
    ASSERT_TRUE(Saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(Saved.readAll().startsWith("{\\rtf1\\ansi"));
    EXPECT_EQ(Messages.Count(), 2);
}

TEST_F(KvVtRichEditTest, UnreadableLinesNameTheComponentAndTheOffset)
{
    Rich.Lines()->SetList({QStringLiteral("{\\rtf1 \\'zz}")});
    try {
        Window.Execute();
        ADD_FAILURE() << "opened";
    } catch (const EReadError& E) {
        EXPECT_EQ(E.Message, QStringLiteral("ReLetter.Lines: Rich text: \\' needs two hexadecimal digits (at offset 7)"));
    }
    EXPECT_EQ(Rich.Lines()->Count(), 1);
}

TEST_F(KvVtRichEditTest, PlainTextLinesStayPlain)
{
    Rich.SetPlainText(true);
    Rich.Lines()->SetList({QStringLiteral("{\\rtf1 shown as typed}"), QStringLiteral("second")});
    OnModal([](QWidget* W) {
        auto* Edit = Ctl<QTextEdit>(W, "EdRichEdit");
        EXPECT_EQ(Edit->toPlainText(), QStringLiteral("{\\rtf1 shown as typed}\nsecond"));
        QTest::keyClick(Edit, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(Edit, QStringLiteral(" line"));
        Click(W, "BtOk");
    });
    Window.Execute();
    EXPECT_EQ(Rich.Lines()->List(), QStringList({QStringLiteral("{\\rtf1 shown as typed}"), QStringLiteral("second line")}));
}
