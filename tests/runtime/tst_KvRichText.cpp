#include "KvRichText.h"

#include "SysUtils.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<QTextDocument> Read(const QString& Text)
{
    return std::unique_ptr<QTextDocument>(KvReadRichText(Text));
}

QStringList Paragraphs(const QTextDocument& Doc)
{
    QStringList Out;
    for (QTextBlock B = Doc.firstBlock(); B.isValid(); B = B.next())
        Out << B.text();
    return Out;
}

// The format of the character at Pos of paragraph Block.
QTextCharFormat CharAt(const QTextDocument& Doc, int Block, int Pos)
{
    QTextCursor C(Doc.findBlockByNumber(Block));
    C.setPosition(C.block().position() + Pos + 1);
    return C.charFormat();
}

QString Family(const QTextCharFormat& F)
{
    return F.fontFamilies().toStringList().value(0);
}

} // namespace

// What a rich edit control of the version most programs embed writes for a formatted text.
TEST(KvRichText, ReadsWhatRichEditControlsWrite)
{
    const QString Text = QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}"
        "{\\f1\\fswiss\\fcharset0 Arial;}{\\f2\\fnil\\fcharset2 Symbol;}}\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs16 Plain \\b bold\\b0  \\i italic\\i0  \\ul under\\ulnone  \\strike gone\\strike0\\par\n"
        "\\pard\\qc\\cf1\\f1\\fs28 Centred red\\cf0\\f0\\fs16\\par\n"
        "\\pard\\qr Right \\'e9t\\'e9 \\u8364?uro \\{x\\}\\\\\\tab y\\line z\\par\n"
        "\\pard{\\pntext\\f2\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'B7}}\\fi-720\\li720 first\\par\n"
        "{\\pntext\\f2\\'B7\\tab}second\\par\n"
        "\\pard\\li360\\fi-180\\sb120{\\*\\unknownthing 1}{\\*\\generator Riched20 5.50.99.2050;}\\highlight2 marked\\par\n"
        "}\n\0");
    const auto Doc = Read(Text);
    EXPECT_EQ(Paragraphs(*Doc), QStringList({QStringLiteral("Plain bold italic under gone"),
                                             QStringLiteral("Centred red"),
                                             QStringLiteral("Right \u00e9t\u00e9 \u20acuro {x}\\\ty\u2028z"),
                                             QStringLiteral("first"), QStringLiteral("second"),
                                             QStringLiteral("marked")}));
    QTextCharFormat F = CharAt(*Doc, 0, 0);
    EXPECT_EQ(Family(F), QStringLiteral("Tahoma"));
    EXPECT_EQ(F.fontPointSize(), 8.0);
    EXPECT_LT(F.fontWeight(), QFont::DemiBold);
    EXPECT_GE(CharAt(*Doc, 0, 6).fontWeight(), QFont::DemiBold);
    EXPECT_TRUE(CharAt(*Doc, 0, 11).fontItalic());
    EXPECT_TRUE(CharAt(*Doc, 0, 18).fontUnderline());
    EXPECT_FALSE(CharAt(*Doc, 0, 17).fontUnderline());
    EXPECT_TRUE(CharAt(*Doc, 0, 24).fontStrikeOut());

    const QTextBlock Centred = Doc->findBlockByNumber(1);
    EXPECT_EQ(Centred.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    F = CharAt(*Doc, 1, 0);
    EXPECT_EQ(Family(F), QStringLiteral("Arial"));
    EXPECT_EQ(F.fontPointSize(), 14.0);
    EXPECT_EQ(F.foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(Doc->findBlockByNumber(2).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);

    const QTextList* List = Doc->findBlockByNumber(3).textList();
    ASSERT_NE(List, nullptr);
    EXPECT_EQ(List->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(List->format().indent(), 2);
    EXPECT_EQ(Doc->findBlockByNumber(4).textList(), List);
    const QTextBlock Marked = Doc->findBlockByNumber(5);
    EXPECT_EQ(Marked.textList(), nullptr);
    EXPECT_EQ(Marked.blockFormat().leftMargin(), 24.0);
    EXPECT_EQ(Marked.blockFormat().textIndent(), -12.0);
    EXPECT_EQ(Marked.blockFormat().topMargin(), 8.0);
    EXPECT_EQ(CharAt(*Doc, 5, 0).background().color(), QColor(0, 0, 128));
}

// Word pad's newer control, with a Cyrillic code page, and a Chinese font whose name and text are
// double-byte characters; numbering as both write it.
TEST(KvRichText, ReadsCodePagesOfFontsAndNumbering)
{
    const auto Doc = Read(QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset204{\\*\\fname Arial;}"
        "Arial CYR;}{\\f1\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}\r\n"
        "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\\pard\\sa200\\sl276\\slmult1\\lang1049\\f0\\fs22"
        "\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 \\f1\\'c4\\'e3\r\n\\'ba\\'c3\\par\r\n"
        "{\\pntext\\f0 1.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pndec{\\pntxta.}}\r\n"
        "\\fi-360\\li720\\sa200 one\\par{\\pntext\\f0 2.\\tab}two\\par\r\n}\r\n"));
    EXPECT_EQ(Paragraphs(*Doc), QStringList({QStringLiteral("\u041f\u0440\u0438\u0432\u0435\u0442 \u4f60\u597d"),
                                             QStringLiteral("one"), QStringLiteral("two")}));
    EXPECT_EQ(Family(CharAt(*Doc, 0, 0)), QStringLiteral("Arial CYR"));
    EXPECT_EQ(Family(CharAt(*Doc, 0, 7)), QStringLiteral("\u5b8b\u4f53"));
    const QTextList* List = Doc->findBlockByNumber(1).textList();
    ASSERT_NE(List, nullptr);
    EXPECT_EQ(List->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(List->count(), 2);
}

TEST(KvRichText, WritesWhatItReadsBack)
{
    QTextDocument Doc;
    Doc.setDefaultFont(QFont(QStringLiteral("Tahoma"), 8));
    QTextCursor C(&Doc);
    QTextCharFormat Plain;
    Plain.setFontFamilies({QStringLiteral("Tahoma")});
    Plain.setFontPointSize(8);
    QTextCharFormat Bold = Plain;
    Bold.setFontWeight(QFont::Bold);
    Bold.setForeground(QColor(0, 128, 0));
    QTextCharFormat Big = Plain;
    Big.setFontFamilies({QStringLiteral("Courier New")});
    Big.setFontPointSize(20);
    Big.setFontItalic(true);
    Big.setFontUnderline(true);
    Big.setFontStrikeOut(true);
    Big.setBackground(QColor(255, 255, 0));
    C.insertText(QStringLiteral("Caf\u00e9 {\\} "), Plain);
    C.insertText(QStringLiteral("bold"), Bold);
    C.insertText(QStringLiteral(" \u0416\u20ac\U0001F600\tend\u2028next"), Plain);
    QTextBlockFormat Centre;
    Centre.setAlignment(Qt::AlignHCenter);
    C.insertBlock(Centre, Plain);
    C.insertText(QStringLiteral("big"), Big);
    QTextBlockFormat Indented;
    Indented.setAlignment(Qt::AlignJustify);
    Indented.setLeftMargin(48);
    Indented.setTextIndent(-24);
    Indented.setBottomMargin(10);
    C.insertBlock(Indented, Plain);
    C.insertText(QStringLiteral("indented"), Plain);
    C.insertBlock(QTextBlockFormat(), Plain);
    C.createList(QTextListFormat::ListDisc);
    C.insertText(QStringLiteral("dot"), Plain);
    C.insertBlock();
    C.insertText(QStringLiteral("dot 2"), Plain);
    C.insertBlock(QTextBlockFormat(), Plain);
    C.createList(QTextListFormat::ListDecimal);
    C.insertText(QStringLiteral("number"), Plain);
    C.insertBlock(QTextBlockFormat(), Big); // an empty last line keeps its size

    const QString Text = KvWriteRichText(Doc);
    const QStringList Lines = Text.split(QStringLiteral("\r\n"));
    EXPECT_EQ(Lines.first().toStdString(), QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl"
                                            "{\\f0\\fnil\\fcharset0 Tahoma;}{\\f1\\fnil\\fcharset0 Courier New;}"
                                            "{\\f2\\fnil\\fcharset2 Symbol;}}").toStdString());
    EXPECT_EQ(Lines.at(1), QStringLiteral("{\\colortbl ;\\red0\\green128\\blue0;\\red255\\green255\\blue0;}"));
    EXPECT_EQ(Lines.at(2).toStdString(), QStringLiteral("\\viewkind4\\uc1\\pard\\f0\\fs16 Caf\\'e9 \\{\\\\\\} \\cf1\\b bold\\cf0\\b0  "
                                          "\\u1046?\\'80\\u-10179?\\u-8704?\\tab end\\line next\\par").toStdString());
    EXPECT_EQ(Lines.at(3).toStdString(), QStringLiteral("\\pard\\qc\\f1\\fs40\\highlight2\\i\\ul\\strike big\\par").toStdString());
    EXPECT_EQ(Lines.at(5).toStdString(), QStringLiteral("\\pard{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'B7}}\\fi-360\\li360"
                                          "{\\pntext\\f2\\'B7\\tab}dot\\par").toStdString());
    EXPECT_EQ(Lines.at(6).toStdString(), QStringLiteral("{\\pntext\\f2\\'B7\\tab}dot 2\\par").toStdString());
    EXPECT_EQ(Lines.at(Lines.size() - 2), QStringLiteral("}"));
    EXPECT_EQ(Lines.last(), QString());

    const auto Back = Read(Text);
    EXPECT_EQ(Paragraphs(*Back), Paragraphs(Doc));
    EXPECT_EQ(KvWriteRichText(*Back), Text);
    EXPECT_EQ(Back->findBlockByNumber(2).blockFormat().leftMargin(), 48.0);
    EXPECT_EQ(Back->findBlockByNumber(2).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    EXPECT_EQ(Back->findBlockByNumber(5).textList()->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(Back->lastBlock().charFormat().fontPointSize(), 20.0);
}

TEST(KvRichText, BadTextIsRefusedWithItsOffset)
{
    const struct
    {
        QString Text;
        qint64 Offset;
        const char* Reason;
    } Cases[] = {
        {QStringLiteral("Hello"), 0, "does not start with"},
        {QStringLiteral("  {\\rtf1 abc"), 12, "ends inside 1 open group"},
        {QStringLiteral("{\\rtf1 a}}"), 9, "after the end"},
        {QStringLiteral("{\\rtf1 a} \0b"), 11, "after the end"},
        {QStringLiteral("{\\rtf1 \\'4g}"), 7, "two hexadecimal digits"},
        {QStringLiteral("{\\rtf1 x\\"), 8, "ends after"},
        {QStringLiteral("{\\rtf1 \\bin99 ab}"), 7, "past the end"},
        {QStringLiteral("{\\rtf1 \\fs12345678901}"), 7, "more than 10 digits"},
        {QStringLiteral("{\\rtf1 \\fs9999999999}"), 7, "out of range"},
        {QStringLiteral("{\\rtf1 \\u70000?}"), 7, "16-bit"},
        {QStringLiteral("{\\rtf1 \\li-x}"), 7, "without digits"},
        {QStringLiteral("{\\rtf1 \\") + QString(40, u'a') + u'}', 7, "longer than 32"},
        {QString(1001, u'{').replace(0, 1, QStringLiteral("{\\rtf1")), 1005, "deeper than 1000"},
    };
    for (const auto& Case : Cases) {
        try {
            Read(Case.Text);
            ADD_FAILURE() << "accepted: " << Case.Text.left(40).toStdString();
        } catch (const EReadError& E) {
            EXPECT_EQ(E.Offset, Case.Offset) << E.what();
            EXPECT_TRUE(E.Message.contains(QLatin1String(Case.Reason))) << E.what();
            EXPECT_TRUE(E.Message.contains(QStringLiteral("offset %1").arg(Case.Offset))) << E.what();
        }
    }
    EXPECT_TRUE(KvIsRichText(u" \r\n{\\rtf1}"));
    EXPECT_FALSE(KvIsRichText(u"{rtf1}"));
}
