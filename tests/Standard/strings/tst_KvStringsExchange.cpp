#include "strings/KvStringsExchange.h"
#include "strings/KvStringsReport.h"

#include "KvFiles.h"
#include "KvPkgStrings.h"

#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Texts that spreadsheets and naive CSV code get wrong.
const QStringList Awkward = {
    QStringLiteral("plain"),
    QStringLiteral("a, b, c"),
    QStringLiteral("say \"hi\""),
    QStringLiteral("\"quoted whole\""),
    QStringLiteral("two\r\nlines"),
    QStringLiteral("lf\nonly"),
    QStringLiteral("lone\rcr"),
    QStringLiteral("tab\there"),
    QStringLiteral("  leading and trailing  "),
    QStringLiteral("\t"),
    QStringLiteral("中文标签，带逗号"),
    QStringLiteral("emoji 😀👍🏽 and ZWJ 👩‍💻"),
    QStringLiteral("ends with comma,"),
    QStringLiteral(","),
    QStringLiteral("\""),
    QStringLiteral("P"),
};

TKvPkgStrings* FillAwkward(TKvPkgStrings& Pkg)
{
    int Id = 0;
    for (const QString& Text : Awkward) {
        // Every text also as a hint, and the hint without text, so empty fields are in between.
        Pkg.Labels()->Add(Id, Text, Awkward.at((Id + 3) % Awkward.size()))->SetProtected(Id % 2);
        Pkg.Labels()->Add(100 + Id, QString(), Text);
        Pkg.Messages()->Add(Id, Text)->SetProtected(Id % 3 == 0);
        Pkg.Texts()->Add(9000 - Id, Text);
        ++Id;
    }
    Pkg.Labels()->Add(5000); // id alone
    Pkg.Labels()->Add(5001, QString(), QString())->SetProtected(true);
    Pkg.Messages()->Add(2147483647, QStringLiteral("largest id"));
    return &Pkg;
}

std::vector<TKvStringsRecord> Parse(TKvStringsKind Kind, const QByteArray& Data)
{
    return KvStringsParseExchange(Data, Kind == TKvStringsKind::Labels, QStringLiteral("in.txt"));
}

// The error a file raises, as the user reads it.
std::string ErrorOf(TKvStringsKind Kind, const QByteArray& Data)
{
    try {
        Parse(Kind, Data);
    } catch (const EKvExchangeError& E) {
        return E.Message.toStdString();
    }
    return "no error";
}

const std::array<TKvStringsKind, 3> Kinds = {TKvStringsKind::Labels, TKvStringsKind::Messages,
                                             TKvStringsKind::Texts};

} // namespace

TEST(StringsExchange, ExportThenImportGivesBackEveryListExactly)
{
    TKvPkgStrings Source;
    FillAwkward(Source);
    QTemporaryDir Dir;
    for (TKvStringsKind Kind : Kinds) {
        const QString File = Dir.filePath(QStringLiteral("list%1.txt").arg(int(Kind)));
        KvStringsExport(Kind, &Source, File);
        TKvPkgStrings Target;
        Target.Labels()->Add(77, QStringLiteral("replaced"));
        Target.Messages()->Add(77, QStringLiteral("replaced"));
        Target.Texts()->Add(77, QStringLiteral("replaced"));
        Target.SetModified(false);
        KvStringsImport(Kind, &Target, File);
        EXPECT_EQ(KvStringsRecords(Kind, &Target), KvStringsRecords(Kind, &Source)) << int(Kind);
        EXPECT_TRUE(Target.Modified());
        // The same bytes again: nothing drifts on a second trip.
        EXPECT_EQ(KvStringsExportData(Kind, &Target), KvReadFile(File));
    }
}

TEST(StringsExchange, ExportedFileIsWhatSpreadsheetsRead)
{
    TKvPkgStrings Pkg;
    Pkg.Labels()->Add(3, QStringLiteral("a,b"), QStringLiteral("say \"hi\""));
    Pkg.Labels()->Add(1, QStringLiteral("two\nlines"));
    Pkg.Labels()->Add(2, QString(), QStringLiteral("hint only"))->SetProtected(true);
    Pkg.Labels()->Add(4);
    Pkg.Labels()->Add(5, QStringLiteral(" padded"));
    EXPECT_EQ(KvStringsExportData(TKvStringsKind::Labels, &Pkg),
              QByteArray("\xEF\xBB\xBF"
                         "1,\"two\nlines\"\r\n"
                         "2,,hint only,P\r\n"
                         "3,\"a,b\",\"say \"\"hi\"\"\"\r\n"
                         "4\r\n"
                         "5,\" padded\"\r\n"));
    EXPECT_TRUE(KvStringsExportData(TKvStringsKind::Messages, &Pkg).isEmpty());
}

// What spreadsheet programs and editors save: with or without byte-order mark, LF or CR LF,
// quoted fields over several lines, extra columns, UTF-16.
TEST(StringsExchange, SpreadsheetFilesImport)
{
    const QByteArray Lf = "7,\"multi\nline, \"\"quoted\"\"\",the hint\n 8 ,x,,,extra,columns\n9\n";
    const std::vector<TKvStringsRecord> Expected = {
        {7, QStringLiteral("multi\nline, \"quoted\""), QStringLiteral("the hint"), false},
        {8, QStringLiteral("x"), QString(), false},
        {9, QString(), QString(), false},
    };
    EXPECT_EQ(Parse(TKvStringsKind::Labels, Lf), Expected);
    QByteArray Crlf = Lf;
    Crlf.replace("\n", "\r\n");
    auto WithCrlf = Expected;
    WithCrlf[0].Text = QStringLiteral("multi\r\nline, \"quoted\"");
    EXPECT_EQ(Parse(TKvStringsKind::Labels, "\xEF\xBB\xBF" + Crlf), WithCrlf);
    // No line break after the last record.
    EXPECT_EQ(Parse(TKvStringsKind::Labels, Lf.chopped(1)), Expected);

    const QString Chinese = QStringLiteral("12,你好,世界\r\n");
    QStringEncoder Utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const std::vector<TKvStringsRecord> Hello = {{12, QStringLiteral("你好"), QStringLiteral("世界"), false}};
    EXPECT_EQ(Parse(TKvStringsKind::Labels, Utf16.encode(Chinese)), Hello);
    EXPECT_EQ(Parse(TKvStringsKind::Labels, Chinese.toUtf8()), Hello);

    // A message has no hint: its third field is the flag.
    const auto Messages = Parse(TKvStringsKind::Messages, "1,text,P\n2,text,p\n");
    ASSERT_EQ(Messages.size(), 2u);
    EXPECT_TRUE(Messages[0].Protected);
    EXPECT_FALSE(Messages[1].Protected);
    EXPECT_TRUE(Parse(TKvStringsKind::Texts, "").empty());
    EXPECT_TRUE(Parse(TKvStringsKind::Texts, "\xEF\xBB\xBF").empty());
}

TEST(StringsExchange, BadLinesAreNamedWithFileAndLine)
{
    const TKvStringsKind L = TKvStringsKind::Labels;
    EXPECT_EQ(ErrorOf(L, "1,a\n\n3,c\n"), "in.txt:2: the line has no id");
    EXPECT_EQ(ErrorOf(L, "1,a\nabc,b\n"), "in.txt:2: 'abc' is not an id");
    EXPECT_EQ(ErrorOf(L, "1,a\n-4,b\n"), "in.txt:2: '-4' is not an id");
    EXPECT_EQ(ErrorOf(L, "99999999999,a\n"), "in.txt:1: '99999999999' is not an id");
    // The line counts the line breaks inside quoted fields.
    EXPECT_EQ(ErrorOf(L, "1,\"a\r\nb\r\nc\"\r\n1,again\r\n"), "in.txt:4: id 1 is repeated");
    EXPECT_EQ(ErrorOf(L, "1,a\n2,\"never closed\n3,c\n"), "in.txt:2: a quoted field is not closed");
    EXPECT_EQ(ErrorOf(L, "1,\"closed\"then more\n"), "in.txt:1: text after the closing quotation mark");
    EXPECT_EQ(ErrorOf(L, "1,caf\xC3\xA9\n2,caf\xE9\n"), "in.txt:2: the text is not UTF-8 (save it as UTF-8 text)");
    EXPECT_EQ(ErrorOf(L, "1,a\n2,cut \xC3"), "in.txt:2: the text is not UTF-8 (save it as UTF-8 text)");
}

TEST(StringsExchange, RefusedFileLeavesThePackageAsItWas)
{
    TKvPkgStrings Pkg;
    Pkg.Texts()->Add(1, QStringLiteral("kept"));
    Pkg.SetModified(false);
    QTemporaryDir Dir;
    const QString File = Dir.filePath(QStringLiteral("bad.txt"));
    KvWriteFile(File, "5,first\n6,second\nsix,third\n");
    try {
        KvStringsImport(TKvStringsKind::Texts, &Pkg, File);
        FAIL() << "no error";
    } catch (const EKvExchangeError& E) {
        EXPECT_EQ(E.FileName, File);
        EXPECT_EQ(E.Line, 3);
    }
    ASSERT_EQ(Pkg.Texts()->Count(), 1);
    EXPECT_EQ(Pkg.Texts()->FindId(1)->Text(), QStringLiteral("kept"));
    EXPECT_FALSE(Pkg.Modified());
    EXPECT_THROW(KvStringsImport(TKvStringsKind::Texts, &Pkg, Dir.filePath(QStringLiteral("none.txt"))),
                 EInOutError);
    EXPECT_EQ(Pkg.Texts()->Count(), 1);

    // An empty file empties the list; ids out of order are added in file order.
    KvWriteFile(File, "");
    KvStringsImport(TKvStringsKind::Texts, &Pkg, File);
    EXPECT_EQ(Pkg.Texts()->Count(), 0);
    KvWriteFile(File, "30,c\n10,a\n20,b\n");
    KvStringsImport(TKvStringsKind::Texts, &Pkg, File);
    ASSERT_EQ(Pkg.Texts()->Count(), 3);
    EXPECT_EQ(Pkg.Texts()->GetItems(0)->Id(), 30);
    EXPECT_EQ(Pkg.Texts()->GetItems(2)->Id(), 20);
}

// ---------------------------------------------------------------------------------------------

TEST(StringsReport, LinesFollowTheListRows)
{
    TKvPkgStrings Pkg;
    const TKvPkgStringsItem* A = Pkg.Labels()->Add(2, QStringLiteral("Apple"), QStringLiteral("  "));
    const TKvPkgStringsItem* B = Pkg.Labels()->Add(1, QStringLiteral("Banana"), QStringLiteral(" yellow "));
    EXPECT_EQ(KvStringsReportLines(TKvStringsKind::Labels, {A, B}),
              QStringList({QStringLiteral("**** Labels Report ****"), QStringLiteral(" "), QStringLiteral("2 - Apple"),
                           QStringLiteral(" "), QStringLiteral("1 - Banana *Hint =  yellow "), QStringLiteral(" ")}));
    EXPECT_EQ(KvStringsReportLines(TKvStringsKind::Texts, {}).first(), QStringLiteral("**** Texts Report ****"));
}

// The pages a printer gets: every line once, in order, inside the page, a header on each page,
// long and multi-line texts kept within the page width and together.
TEST(StringsReport, LayoutBreaksPagesAndKeepsEveryLine)
{
    QPrinter Printer(QPrinter::HighResolution);
    Printer.setOutputFormat(QPrinter::PdfFormat);
    QStringList Lines = {QStringLiteral("**** Messages Report ****"), QStringLiteral(" ")};
    for (int I = 0; I < 300; ++I)
        Lines << QStringLiteral("%1 - message %1").arg(I) << QStringLiteral(" ");
    Lines << QStringLiteral("999 - ") + QStringLiteral("long words ").repeated(200) << QStringLiteral("1000 - a\nb\nc");
    const int Width = 2000;
    const int Height = 3000;
    const TKvReportLayout Layout = KvLayoutReport(QStringLiteral("Package : Demo"), Lines, &Printer, Width, Height);
    ASSERT_GE(Layout.Pages.size(), 3u);
    const QFontMetrics Metrics(Layout.Font, &Printer);
    QString All;
    for (size_t P = 0; P < Layout.Pages.size(); ++P) {
        const TKvReportPage& Page = Layout.Pages[P];
        EXPECT_EQ(Page.Header, QStringLiteral("Package : Demo"));
        EXPECT_EQ(Page.PageText, QStringLiteral("Page %1 of %2").arg(P + 1).arg(Layout.Pages.size()));
        int LastY = -1;
        for (const TKvReportLine& Line : Page.Lines) {
            EXPECT_GE(Line.Y, Layout.HeaderHeight);
            EXPECT_GT(Line.Y, LastY);
            EXPECT_LE(Line.Y + Layout.LineHeight, Height);
            EXPECT_LE(Metrics.horizontalAdvance(Line.Text.trimmed()), Width);
            LastY = Line.Y;
            All += Line.Text + u'\n';
        }
        EXPECT_FALSE(Page.Lines.empty());
    }
    for (int I = 0; I < 300; ++I)
        EXPECT_EQ(All.count(QStringLiteral("\n%1 - message %1\n").arg(I)), 1) << I;
    EXPECT_EQ(All.count(QStringLiteral("long")), 200);
    EXPECT_TRUE(All.endsWith(QStringLiteral("1000 - a\nb\nc\n")));
    // The three lines of the last row are on one page.
    const auto& Last = Layout.Pages.back().Lines;
    ASSERT_GE(Last.size(), 3u);
    EXPECT_EQ(Last[Last.size() - 3].Text, QStringLiteral("1000 - a"));
}

// Printed to PDF and read back with pdftotext (poppler-utils): the pages carry the text.
TEST(StringsReport, PdfPagesHoldTheReport)
{
    const QString PdfToText = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (PdfToText.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir Dir;
    QPrinter Printer(QPrinter::HighResolution);
    Printer.setOutputFormat(QPrinter::PdfFormat);
    Printer.setOutputFileName(Dir.filePath(QStringLiteral("r.pdf")));
    Printer.setPageSize(QPageSize(QPageSize::A4));
    QStringList Lines = {QStringLiteral("**** Labels Report ****"), QStringLiteral(" ")};
    for (int I = 0; I < 200; ++I)
        Lines << QStringLiteral("%1 - Label %1 中文").arg(I) << QStringLiteral(" ");
    const int Pages = KvPrintStringsReport(Printer, QStringLiteral("Package : Demo"), Lines);
    ASSERT_GE(Pages, 2);
    QProcess Run;
    Run.start(PdfToText, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), Printer.outputFileName(), QStringLiteral("-")});
    ASSERT_TRUE(Run.waitForFinished(30000));
    const QString Text = QString::fromUtf8(Run.readAllStandardOutput());
    const QStringList PageTexts = Text.split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(PageTexts.size(), Pages);
    for (int P = 0; P < Pages; ++P) {
        EXPECT_TRUE(PageTexts[P].contains(QStringLiteral("Package : Demo"))) << P;
        EXPECT_TRUE(PageTexts[P].contains(QStringLiteral("Page %1 of %2").arg(P + 1).arg(Pages))) << P;
    }
    EXPECT_EQ(Text.count(QStringLiteral("**** Labels Report ****")), 1);
    EXPECT_TRUE(PageTexts[0].contains(QStringLiteral("**** Labels Report ****")));
    for (int I = 0; I < 200; ++I)
        EXPECT_EQ(Text.count(QStringLiteral("%1 - Label %1 中文\n").arg(I)), 1) << I;
}
