#include "strings/KvStringsExchange.h"
#include "strings/KvVtPkgStrings.h"
#include "strings/KvVtUpdateSystemStrings.h"

#include "KvApplication.h"
#include "KvDesignHooks.h"
#include "KvDialogs.h"
#include "KvFiles.h"
#include "KvMessages.h"
#include "KvPkgLanguage.h"
#include "KvPkgStrings.h"
#include "KvUtils.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Answers every file dialog with Next, counting the requests.
class TFileAnswer
{
public:
    TFileAnswer() : FPrevious(KvSetFileDialogHandler([this](TKvFileDialogRequest& Request) {
        Requests << Request;
        if (Next.isEmpty())
            return false;
        Request.FileName = Next;
        return true;
    }))
    {
    }
    ~TFileAnswer() { KvSetFileDialogHandler(FPrevious); }
    QString Next;
    QList<TKvFileDialogRequest> Requests;

private:
    TKvFileDialogHandler FPrevious;
};

QAction* Entry(TFrPkgStrings& Editor, TKvStringsKind Kind, const char* Name)
{
    auto* Action = Editor.PopupMenu(Kind)->findChild<QAction*>(QString::fromLatin1(Name));
    EXPECT_NE(Action, nullptr) << Name;
    return Action;
}

void OnModal(std::function<void(QWidget*)> Action)
{
    QTimer::singleShot(0, [Action] {
        QWidget* Window = QApplication::activeModalWidget();
        ASSERT_NE(Window, nullptr);
        Action(Window);
    });
}

class PkgStringsExchangeTest : public ::testing::Test
{
protected:
    TKvPkgStrings FPkg;
    QList<TPersistent*> FTold;
    QTemporaryDir FDir;

    void SetUp() override
    {
        FPkg.SetPkgName(QStringLiteral("Sales"));
        FPkg.Labels()->Add(1, QStringLiteral("Banana"), QStringLiteral("Yellow, ripe"));
        FPkg.Labels()->Add(2, QStringLiteral("apple"));
        FPkg.Messages()->Add(10, QStringLiteral("Saved"));
        FPkg.Messages()->Add(11, QStringLiteral("Not saved"));
        FPkg.Messages()->Add(12, QStringLiteral("Deleted"));
        KvDsgnModified = [this](TPersistent* Object) { FTold << Object; };
    }
    void TearDown() override { KvDsgnModified = nullptr; }

    void Run(TFrPkgStrings& Editor, std::function<void()> Action, TKvPkgStrings* Pkg = nullptr)
    {
        Editor.PkgStrings = Pkg ? Pkg : &FPkg;
        QTimer::singleShot(0, [&Editor, Action] {
            Action();
            Editor.close();
        });
        Editor.Execute();
    }
    QString Path(const char* Name) const { return FDir.filePath(QString::fromLatin1(Name)); }
};

} // namespace

// Export from the list's menu as a user picks it, then import a changed file: the rows, the
// status line and the designer follow; a bad file changes nothing and names its line.
TEST_F(PkgStringsExchangeTest, ExportAndImportFromTheListMenus)
{
    TFileAnswer Files;
    TFrPkgStrings Editor;
    Run(Editor, [&] {
        auto* Viewport = Editor.findChild<QAbstractScrollArea*>(QStringLiteral("Labels"))->viewport();
        Files.Next = Path("labels.txt");
        QMenu* Menu = Editor.PopupMenu(TKvStringsKind::Labels);
        QContextMenuEvent Click(QContextMenuEvent::Mouse, QPoint(10, 5), Viewport->mapToGlobal(QPoint(10, 5)));
        QApplication::sendEvent(Viewport, &Click);
        ASSERT_TRUE(Menu->isVisible());
        QAction* Export = Entry(Editor, TKvStringsKind::Labels, "MnExportLabels");
        QTest::mouseClick(Menu, Qt::LeftButton, {}, Menu->actionGeometry(Export).center());
        ASSERT_EQ(Files.Requests.size(), 1);
        EXPECT_EQ(Files.Requests[0].Filter, QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"));
        EXPECT_EQ(Files.Requests[0].DefaultExt, QStringLiteral("txt"));
        EXPECT_EQ(KvReadFile(Path("labels.txt")), KvStringsExportData(TKvStringsKind::Labels, &FPkg));
        EXPECT_TRUE(FTold.isEmpty()) << "an export changes nothing";

        KvWriteFile(Path("labels.txt"), "5,\"Cherry, red\"\r\n7,Date,\"sweet\nand brown\"\r\n");
        Entry(Editor, TKvStringsKind::Labels, "MnImportLabels")->trigger();
        EXPECT_TRUE(Files.Requests.last().FileMustExist);
        EXPECT_EQ(Editor.Model(TKvStringsKind::Labels)->rowCount(), 2);
        EXPECT_EQ(FPkg.Labels()->FindId(7)->Hint(), QStringLiteral("sweet\nand brown"));
        EXPECT_EQ(Editor.findChild<QLabel*>(QStringLiteral("LaStatus"))->text(), QStringLiteral("2 Labels "));
        EXPECT_EQ(FTold.size(), 1);

        KvWriteFile(Path("labels.txt"), "8,fine\r\nnine,bad\r\n");
        TKvMessageRecorder Messages;
        Entry(Editor, TKvStringsKind::Labels, "MnImportLabels")->trigger();
        ASSERT_EQ(Messages.Count(), 1);
        EXPECT_EQ(Messages.Last().Text, Path("labels.txt") + QStringLiteral(":2: 'nine' is not an id"));
        EXPECT_EQ(Editor.Model(TKvStringsKind::Labels)->rowCount(), 2);
        EXPECT_NE(FPkg.Labels()->FindId(5), nullptr);
        EXPECT_EQ(FTold.size(), 1);

        // Cancelling the file dialog does nothing.
        Files.Next.clear();
        Entry(Editor, TKvStringsKind::Labels, "MnImportLabels")->trigger();
        EXPECT_EQ(FPkg.Labels()->Count(), 2);
    });
}

// A read-only "System" package may be exported but not imported into.
TEST_F(PkgStringsExchangeTest, ImportNeedsAPackageThatMayChange)
{
    TKvCApplication App;
    App.SetActive();
    TKvPkgStrings System;
    System.SetPkgName(QStringLiteral("System"));
    System.Texts()->Add(1, QStringLiteral("T"));
    TFileAnswer Files;
    Files.Next = Path("texts.txt");
    TFrPkgStrings Editor;
    Run(Editor, [&] {
        QAction* Import = Entry(Editor, TKvStringsKind::Texts, "MnImportTexts");
        EXPECT_FALSE(Import->isEnabled());
        Import->trigger();
        EXPECT_TRUE(Files.Requests.isEmpty());
        QAction* Export = Entry(Editor, TKvStringsKind::Texts, "MnExportTexts");
        EXPECT_TRUE(Export->isEnabled());
        Export->trigger();
        EXPECT_EQ(KvReadFile(Path("texts.txt")), QByteArray("\xEF\xBB\xBF" "1,T\r\n"));
    }, &System);
}

// The report prints the rows the list shows: with a filter in the messages search box, only
// those.
TEST_F(PkgStringsExchangeTest, ReportPrintsTheFilteredRows)
{
    const QString Pdf = Path("report.pdf");
    int Previews = 0;
    auto Previous = KvSetPrintPreviewHandler([&](QPrinter& Printer, const TKvPrintPaint& Paint) {
        ++Previews;
        Printer.setOutputFormat(QPrinter::PdfFormat);
        Printer.setOutputFileName(Pdf);
        Paint(Printer);
        return true;
    });
    TFrPkgStrings Editor;
    Run(Editor, [&] {
        Editor.findChild<QTabWidget*>(QStringLiteral("PageControl"))->setCurrentIndex(1);
        auto* Search = Editor.findChild<QLineEdit*>(QStringLiteral("EdSearchMessages"));
        Search->setFocus();
        QTest::keyClicks(Search, QStringLiteral("saved"));
        ASSERT_EQ(Editor.Model(TKvStringsKind::Messages)->rowCount(), 2);
        QTest::mouseClick(Editor.findChild<QPushButton*>(QStringLiteral("BtReport")), Qt::LeftButton);
    });
    KvSetPrintPreviewHandler(Previous);
    ASSERT_EQ(Previews, 1);
    ASSERT_TRUE(QFileInfo(Pdf).size() > 0);
    const QString PdfToText = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (PdfToText.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QProcess Read;
    Read.start(PdfToText, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), Pdf, QStringLiteral("-")});
    ASSERT_TRUE(Read.waitForFinished(30000));
    const QString Text = QString::fromUtf8(Read.readAllStandardOutput());
    EXPECT_TRUE(Text.contains(QStringLiteral("**** Messages Report ****")));
    EXPECT_TRUE(Text.contains(QStringLiteral("Package : Sales")));
    EXPECT_TRUE(Text.contains(QStringLiteral("10 - Saved")));
    EXPECT_TRUE(Text.contains(QStringLiteral("11 - Not saved")));
    EXPECT_FALSE(Text.contains(QStringLiteral("Deleted")));
}

TEST_F(PkgStringsExchangeTest, SystemStringsAreUpdatedFromABaseLanguageFile)
{
    TKvCApplication App;
    App.SetActive();
    App.SetEditSystem(true);
    TKvPkgStrings* System = App.PkgLanguage()->PkgSystem();
    System->SetPkgName(QStringLiteral("System"));
    System->Clear();
    TKvMessageRecorder Messages;
    TFileAnswer Files;
    Files.Next = KvAddPathBar(KvGetInstallPackagesExists()) + QStringLiteral("Standard.lan");
    TFrPkgStrings Editor;
    Editor.Memory = true; // as the language editor opens it
    Run(Editor, [&] {
        QAction* Update = Entry(Editor, TKvStringsKind::Messages, "MnUpdateSystemMessages");
        ASSERT_TRUE(Update->isVisible() && Update->isEnabled());
        OnModal([&](QWidget* Window) {
            EXPECT_EQ(Window->windowTitle(), QStringLiteral("Update System Strings"));
            auto* Name = Window->findChild<QLineEdit*>(QStringLiteral("EdFileName"));
            auto* Ok = Window->findChild<QPushButton*>(QStringLiteral("BtOk"));
            Name->setText(QStringLiteral("no such file.lan"));
            QTest::mouseClick(Ok, Qt::LeftButton);
            EXPECT_TRUE(Window->isVisible());
            EXPECT_EQ(Messages.Last().Text, QStringLiteral("Invalidate FileName"));
            // A file of the installed packages folder is kept by its bare name.
            QTest::mouseClick(Window->findChild<QToolButton*>(QStringLiteral("BtSearch")), Qt::LeftButton);
            EXPECT_EQ(Name->text(), QStringLiteral("Standard.lan"));
            QTest::mouseClick(Ok, Qt::LeftButton);
        });
        Update->trigger();
        EXPECT_GT(System->Messages()->Count(), 0);
        EXPECT_EQ(Editor.Model(TKvStringsKind::Labels)->rowCount(), System->Labels()->Count());
        EXPECT_EQ(App.PkgLanguage()->LastUpdateFile(), QStringLiteral("Standard.lan"));
        EXPECT_TRUE(Editor.findChild<QLabel*>(QStringLiteral("LaStatus"))->text().contains(QStringLiteral("(LastUpdateFile:Standard.lan)")));
    }, System);
    EXPECT_EQ(Messages.Count(), 1);
}
