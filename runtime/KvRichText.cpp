#include "KvRichText.h"

#include "CodePage.h"
#include "SysUtils.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QMap>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QStringDecoder>
#include <QTextList>

#include <limits>
#include <memory>
#include <optional>

namespace {

bool IsAsciiLetter(char16_t C)
{
    return (C >= u'a' && C <= u'z') || (C >= u'A' && C <= u'Z');
}

bool IsAsciiDigit(char16_t C)
{
    return C >= u'0' && C <= u'9';
}

bool IsAsciiHexDigit(char16_t C)
{
    return IsAsciiDigit(C) || (C >= u'a' && C <= u'f') || (C >= u'A' && C <= u'F');
}

// Windows-1252 at 0x80-0x9F; the five unassigned bytes stand for themselves, both ways.
constexpr char16_t Cp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                     0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QChar Cp1252Char(uchar Byte)
{
    return Byte >= 0x80 && Byte < 0xA0 ? QChar(Cp1252High[Byte - 0x80]) : QChar(Byte);
}

// The byte of Ch in Windows-1252, or -1.
int Cp1252Byte(char16_t Ch)
{
    if (Ch < 0x80 || (Ch >= 0xA0 && Ch <= 0xFF))
        return Ch;
    for (int I = 0; I < 32; ++I)
        if (Cp1252High[I] == Ch)
            return 0x80 + I;
    return -1;
}

enum TListKind { lkNone, lkBullet, lkNumber };

constexpr int MaxDepth = 1000;
constexpr int MaxTwips = 31680; // 22 inches, the largest page rich edit controls lay out
constexpr int MaxHalfPoints = 3276;
constexpr int DefaultHalfPoints = 24;
constexpr qreal TwipsPerPixel = 15.0; // 1440 twips an inch, 96 pixels an inch
constexpr int ListIndentTwips = 360;

struct TCharState
{
    int Font = -1; // font table number; -1 the document's default font
    int HalfPoints = DefaultHalfPoints;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strike = false;
    int Color = 0; // colour table entries; 0 is automatic
    int Back = 0;
    bool operator==(const TCharState&) const = default;
};

struct TParaState
{
    int Align = 0; // 0 left, 1 centre, 2 right, 3 justified
    int Left = 0;  // twips
    int Right = 0;
    int First = 0;
    int Before = 0;
    int After = 0;
    int List = lkNone;
    bool operator==(const TParaState&) const = default;
};

enum class TDest { Text, FontTable, ColorTable, ListPn, Skip };

struct TGroup
{
    TCharState Char;
    TParaState Para;
    TDest Dest = TDest::Text;
    int Uc = 1;
    int PnKind = lkNone;
};

struct TFontEntry
{
    QString Name;
    int Charset = 0;
    bool Named = false; // its ";" was seen
};

enum TWord {
    wNone, wRtf, wAnsi, wMac, wPc, wPca, wAnsicpg, wDeff, wUc, wU, wBin, wFonttbl, wF, wFcharset, wColortbl,
    wRed, wGreen, wBlue, wPar, wLine, wTab, wCell, wPage, wPard, wPlain, wQl, wQc, wQr, wQj, wLi, wRi, wFi,
    wSb, wSa, wFs, wB, wI, wUl, wUlnone, wStrike, wCf, wHighlight, wPn, wPnlvlblt, wPnNumber, wLs, wField,
    wFldrslt, wSkip, wChar
};

struct TWordInfo
{
    TWord Word;
    char16_t Char = 0; // for wChar
};

const QHash<QString, TWordInfo>& Words()
{
    static const QHash<QString, TWordInfo> Table = [] {
        QHash<QString, TWordInfo> T;
        const std::pair<const char*, TWord> Plain[] = {
            {"rtf", wRtf},         {"ansi", wAnsi},       {"mac", wMac},           {"pc", wPc},
            {"pca", wPca},         {"ansicpg", wAnsicpg}, {"deff", wDeff},         {"uc", wUc},
            {"u", wU},             {"bin", wBin},         {"fonttbl", wFonttbl},   {"f", wF},
            {"fcharset", wFcharset}, {"colortbl", wColortbl}, {"red", wRed},      {"green", wGreen},
            {"blue", wBlue},       {"par", wPar},         {"line", wLine},         {"tab", wTab},
            {"cell", wCell},       {"page", wPage},       {"sect", wPage},         {"row", wPage},
            {"pard", wPard},       {"plain", wPlain},     {"ql", wQl},             {"qc", wQc},
            {"qr", wQr},           {"qj", wQj},           {"li", wLi},             {"ri", wRi},
            {"fi", wFi},           {"sb", wSb},           {"sa", wSa},             {"fs", wFs},
            {"b", wB},             {"i", wI},             {"ul", wUl},             {"uld", wUl},
            {"uldb", wUl},         {"ulw", wUl},          {"ulth", wUl},           {"uldash", wUl},
            {"ulwave", wUl},       {"ulnone", wUlnone},   {"strike", wStrike},     {"striked", wStrike},
            {"cf", wCf},           {"highlight", wHighlight}, {"cb", wHighlight},  {"pn", wPn},
            {"pnlvlblt", wPnlvlblt}, {"pnlvlbody", wPnNumber}, {"pndec", wPnNumber}, {"pnucltr", wPnNumber},
            {"pnlcltr", wPnNumber}, {"pnucrm", wPnNumber}, {"pnlcrm", wPnNumber},   {"ls", wLs},
            {"field", wField},     {"fldrslt", wFldrslt}};
        for (const auto& [Name, Word] : Plain)
            T.insert(QString::fromLatin1(Name), {Word});
        // Destinations whose content is not text of the document.
        for (const char* Name :
             {"stylesheet", "info", "pict", "object", "header", "headerl", "headerr", "headerf", "footer", "footerl",
              "footerr", "footerf", "footnote", "annotation", "fldinst", "listtable", "listoverridetable", "revtbl",
              "rsidtbl", "listtext", "pntext", "pntxta", "pntxtb", "xe", "tc", "txe", "rxe", "bkmkstart", "bkmkend",
              "themedata", "colorschememapping", "latentstyles", "datastore", "xmlnstbl", "generator", "filetbl",
              "nonshppict", "shp", "shpinst", "fchars", "lchars", "userprops", "docvar", "template", "author",
              "operator", "title", "subject", "keywords", "comment", "doccomm", "company", "mmathPr", "atnid",
              "atnauthor", "objdata", "result", "falt", "panose", "leveltext", "levelnumbers"})
            T.insert(QString::fromLatin1(Name), {wSkip});
        const std::pair<const char*, char16_t> Chars[] = {
            {"emdash", 0x2014},  {"endash", 0x2013}, {"bullet", 0x2022},    {"lquote", 0x2018},
            {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
            {"enspace", 0x2002}, {"qmspace", 0x2005}};
        for (const auto& [Name, Ch] : Chars)
            T.insert(QString::fromLatin1(Name), {wChar, Ch});
        return T;
    }();
    return Table;
}

// Destinations a reader that does not know them may skip ("{\*\name ...}") but that we read.
bool KnownDestination(TWord Word)
{
    return Word == wPn || Word == wFonttbl || Word == wColortbl || Word == wFldrslt || Word == wField;
}

int CodePageOfCharset(int Charset, int AnsiCodePage)
{
    switch (Charset) {
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return AnsiCodePage; // ANSI, default and symbol fonts
    }
}

class TRtfReader
{
public:
    TRtfReader(QStringView Text, QTextDocument* Document) : S(Text), Cursor(Document) {}

    void Read();

private:
    QStringView S;
    qsizetype P = 0;
    QTextCursor Cursor;
    QList<TGroup> Stack;
    TGroup Cur;
    bool Star = false;
    int SkipFallback = 0;

    QMap<int, TFontEntry> Fonts;
    int FontEntry = -1;
    QList<QColor> Colors;
    int Red = 0, Green = 0, Blue = 0;
    bool ColorGiven = false;
    int DefFont = 0;
    int AnsiCodePage = 1252;
    QHash<int, std::optional<TCodePage>> CodePages;

    QString Run;
    TCharState RunState;
    QByteArray Bytes;
    bool ParaEnded = false;
    QTextList* LastList = nullptr;
    int LastListKind = lkNone;
    int LastListIndent = 0;
    TCharState FormatState;
    QTextCharFormat FormatCache;
    bool FormatCached = false;

    [[noreturn]] void Fail(const QString& Reason, qsizetype Offset) const
    {
        throw EReadError(QStringLiteral("Rich text: %1").arg(Reason), Offset);
    }
    void OpenGroup();
    void CloseGroup();
    void Control();
    void Word(const TWordInfo& Info, bool HasParam, int Param);
    void Char(QChar Ch);
    void Byte(uchar Value);
    void FontNameChar(QChar Ch);
    void FlushBytes();
    QString Decode(const QByteArray& Data, int CodePage);
    int FontCodePage(int Font) const;
    void AppendText(const QString& Text);
    void FlushRun();
    void StartParagraph();
    void EndParagraph();
    void ApplyParagraph();
    QTextCharFormat Format(const TCharState& State);
};

void TRtfReader::Read()
{
    while (P < S.size() && S[P].isSpace())
        ++P;
    if (!S.mid(P).startsWith(u"{\\rtf"))
        Fail(QStringLiteral("the text does not start with {\\rtf"), P);
    while (P < S.size()) {
        const QChar C = S[P];
        if (!(C == u'\\' && P + 1 < S.size() && S[P + 1] == u'\'') && C != u'\r' && C != u'\n')
            FlushBytes();
        switch (C.unicode()) {
        case u'{':
            OpenGroup();
            ++P;
            break;
        case u'}':
            CloseGroup();
            ++P;
            if (Stack.isEmpty()) {
                // A rich edit control's file may end in white space or a zero byte.
                for (qsizetype I = P; I < S.size(); ++I)
                    if (!S[I].isSpace() && S[I] != QChar(0))
                        Fail(QStringLiteral("text after the end of the document"), I);
                P = S.size();
            }
            break;
        case u'\\': Control(); break;
        case u'\r':
        case u'\n':
        case 0: ++P; break;
        default:
            Char(C);
            ++P;
        }
    }
    if (!Stack.isEmpty())
        Fail(QStringLiteral("the text ends inside %1 open group(s)").arg(Stack.size()), S.size());
    if (!ParaEnded)
        ApplyParagraph();
}

void TRtfReader::OpenGroup()
{
    if (Stack.size() >= MaxDepth)
        Fail(QStringLiteral("groups nested deeper than %1").arg(MaxDepth), P);
    Stack.append(Cur);
    Cur.PnKind = lkNone;
    SkipFallback = 0;
    Star = false;
}

void TRtfReader::CloseGroup()
{
    const TGroup Closed = Cur;
    Cur = Stack.takeLast();
    SkipFallback = 0;
    Star = false;
    if (Closed.Dest == TDest::ListPn && Cur.Dest == TDest::Text)
        Cur.Para.List = Closed.PnKind;
}

void TRtfReader::Control()
{
    const qsizetype Start = P++;
    if (P >= S.size())
        Fail(QStringLiteral("the text ends after a \"\\\""), Start);
    const QChar C = S[P];
    if (!IsAsciiLetter(C.unicode())) {
        ++P;
        switch (C.unicode()) {
        case u'\'': {
            if (P + 2 > S.size() || !IsAsciiHexDigit(S[P].unicode()) || !IsAsciiHexDigit(S[P + 1].unicode()))
                Fail(QStringLiteral("\\' needs two hexadecimal digits"), Start);
            const uint Value = S.mid(P, 2).toUInt(nullptr, 16);
            P += 2;
            Byte(uchar(Value));
            return;
        }
        case u'\\':
        case u'{':
        case u'}': Char(C); return;
        case u'~': Char(QChar(0x00A0)); return;
        case u'_': Char(QChar(0x2011)); return;
        case u'*': Star = true; return;
        case u'\r':
        case u'\n': Word({wPar}, false, 0); return;
        default:
            if (SkipFallback > 0)
                --SkipFallback;
            return; // optional hyphen, index and other marks
        }
    }
    const qsizetype NameStart = P;
    while (P < S.size() && IsAsciiLetter(S[P].unicode()))
        if (++P - NameStart > 32)
            Fail(QStringLiteral("a control word longer than 32 letters"), Start);
    const QString Name = S.mid(NameStart, P - NameStart).toString();
    bool HasParam = false;
    qint64 Param = 0;
    if (P < S.size() && (S[P] == u'-' || IsAsciiDigit(S[P].unicode()))) {
        const bool Negative = S[P] == u'-';
        if (Negative)
            ++P;
        const qsizetype DigitStart = P;
        while (P < S.size() && IsAsciiDigit(S[P].unicode())) {
            if (P - DigitStart >= 10)
                Fail(QStringLiteral("the number of \\%1 has more than 10 digits").arg(Name), Start);
            Param = Param * 10 + (S[P].unicode() - u'0');
            ++P;
        }
        if (P == DigitStart)
            Fail(QStringLiteral("\\%1 has a \"-\" without digits").arg(Name), Start);
        if (Negative)
            Param = -Param;
        if (Param > std::numeric_limits<int>::max() || Param < std::numeric_limits<int>::min())
            Fail(QStringLiteral("the number of \\%1 is out of range").arg(Name), Start);
        HasParam = true;
    }
    if (P < S.size() && S[P] == u' ')
        ++P;
    const TWordInfo Info = Words().value(Name, TWordInfo{wNone});
    if (Info.Word == wBin) {
        // Binary data: skipped whatever the destination.
        if (Param < 0 || Param > S.size() - P)
            Fail(QStringLiteral("\\bin%1 runs past the end of the text").arg(Param), Start);
        P += Param;
        return;
    }
    if (Info.Word == wU) {
        if (Param < -32768 || Param > 65535)
            Fail(QStringLiteral("\\u%1 is not a 16-bit character").arg(Param), Start);
        if (SkipFallback > 0)
            --SkipFallback;
        else
            Char(QChar(char16_t(Param < 0 ? Param + 65536 : Param)));
        SkipFallback = Cur.Uc;
        return;
    }
    if (Star) {
        Star = false;
        if (!KnownDestination(Info.Word)) {
            Cur.Dest = TDest::Skip;
            return;
        }
    }
    if (SkipFallback > 0) {
        --SkipFallback;
        return;
    }
    if (Cur.Dest != TDest::Skip)
        Word(Info, HasParam, int(Param));
}

void TRtfReader::Word(const TWordInfo& Info, bool HasParam, int Param)
{
    const bool On = !HasParam || Param != 0;
    auto Twips = [&] { return qBound(-MaxTwips, Param, MaxTwips); };
    switch (Info.Word) {
    // Document settings, wherever they are.
    case wAnsi: AnsiCodePage = 1252; return;
    case wMac: AnsiCodePage = 10000; return;
    case wPc: AnsiCodePage = 437; return;
    case wPca: AnsiCodePage = 850; return;
    case wAnsicpg:
        if (Param > 0)
            AnsiCodePage = Param;
        return;
    case wDeff: DefFont = Param; return;
    case wUc: Cur.Uc = qBound(0, Param, 16); return;
    case wFonttbl: Cur.Dest = TDest::FontTable; return;
    case wColortbl: Cur.Dest = TDest::ColorTable; return;
    case wSkip: Cur.Dest = TDest::Skip; return;
    default: break;
    }
    switch (Cur.Dest) {
    case TDest::FontTable:
        if (Info.Word == wF) {
            FontEntry = Param;
            Fonts[Param] = TFontEntry();
        } else if (Info.Word == wFcharset && Fonts.contains(FontEntry)) {
            Fonts[FontEntry].Charset = Param;
        }
        return;
    case TDest::ColorTable:
        if (Info.Word == wRed || Info.Word == wGreen || Info.Word == wBlue) {
            const int Value = qBound(0, Param, 255);
            (Info.Word == wRed ? Red : Info.Word == wGreen ? Green : Blue) = Value;
            ColorGiven = true;
        }
        return;
    case TDest::ListPn:
        if (Info.Word == wPnlvlblt)
            Cur.PnKind = lkBullet;
        else if (Info.Word == wPnNumber && Cur.PnKind != lkBullet)
            Cur.PnKind = lkNumber;
        return;
    case TDest::Skip: return;
    case TDest::Text: break;
    }
    TCharState& C = Cur.Char;
    TParaState& A = Cur.Para;
    switch (Info.Word) {
    case wPar:
    case wPage: EndParagraph(); break;
    case wLine: Char(QChar::LineSeparator); break;
    case wTab:
    case wCell: Char(u'\t'); break;
    case wChar: Char(QChar(Info.Char)); break;
    case wPard: A = TParaState(); break;
    case wPlain: C = TCharState(); break;
    case wQl: A.Align = 0; break;
    case wQc: A.Align = 1; break;
    case wQr: A.Align = 2; break;
    case wQj: A.Align = 3; break;
    case wLi: A.Left = Twips(); break;
    case wRi: A.Right = Twips(); break;
    case wFi: A.First = Twips(); break;
    case wSb: A.Before = qMax(0, Twips()); break;
    case wSa: A.After = qMax(0, Twips()); break;
    case wLs:
        if (Param > 0 && A.List == lkNone)
            A.List = lkBullet;
        break;
    case wPn: Cur.Dest = TDest::ListPn; break;
    case wF: C.Font = Param; break;
    case wFs: C.HalfPoints = Param <= 0 ? DefaultHalfPoints : qMin(Param, MaxHalfPoints); break;
    case wB: C.Bold = On; break;
    case wI: C.Italic = On; break;
    case wUl: C.Underline = On; break;
    case wUlnone: C.Underline = false; break;
    case wStrike: C.Strike = On; break;
    case wCf: C.Color = qMax(0, Param); break;
    case wHighlight: C.Back = qMax(0, Param); break;
    default: break;
    }
}

void TRtfReader::Char(QChar Ch)
{
    if (SkipFallback > 0) {
        --SkipFallback;
        return;
    }
    switch (Cur.Dest) {
    case TDest::Text: AppendText(QString(Ch)); break;
    case TDest::FontTable: FontNameChar(Ch); break;
    case TDest::ColorTable:
        if (Ch == u';') {
            Colors.append(ColorGiven ? QColor(Red, Green, Blue) : QColor());
            Red = Green = Blue = 0;
            ColorGiven = false;
        }
        break;
    default: break;
    }
}

void TRtfReader::FontNameChar(QChar Ch)
{
    if (!Fonts.contains(FontEntry) || Fonts[FontEntry].Named)
        return;
    if (Ch == u';')
        Fonts[FontEntry].Named = true;
    else
        Fonts[FontEntry].Name += Ch;
}

void TRtfReader::Byte(uchar Value)
{
    if (SkipFallback > 0) {
        --SkipFallback;
        return;
    }
    if (Cur.Dest == TDest::Text || Cur.Dest == TDest::FontTable)
        Bytes.append(char(Value)); // several bytes may make one character
}

void TRtfReader::FlushBytes()
{
    if (Bytes.isEmpty())
        return;
    const QByteArray Data = std::exchange(Bytes, QByteArray());
    if (Cur.Dest == TDest::Text) {
        AppendText(Decode(Data, FontCodePage(Cur.Char.Font)));
    } else if (Cur.Dest == TDest::FontTable && Fonts.contains(FontEntry)) {
        const QString Name = Decode(Data, CodePageOfCharset(Fonts[FontEntry].Charset, AnsiCodePage));
        for (QChar Ch : Name)
            FontNameChar(Ch);
    }
}

int TRtfReader::FontCodePage(int Font) const
{
    const auto It = Fonts.constFind(Font < 0 ? DefFont : Font);
    return CodePageOfCharset(It == Fonts.constEnd() ? 0 : It->Charset, AnsiCodePage);
}

QString TRtfReader::Decode(const QByteArray& Data, int CodePage)
{
    if (CodePage != 1252) {
        auto It = CodePages.find(CodePage);
        if (It == CodePages.end()) {
            std::optional<TCodePage> Page;
            const QString N = QString::number(CodePage);
            QStringList Names{QStringLiteral("windows-") + N, QStringLiteral("cp") + N, QStringLiteral("IBM") + N};
            if (CodePage == 932)
                Names.prepend(QStringLiteral("Shift_JIS"));
            else if (CodePage == 936)
                Names.prepend(QStringLiteral("GBK"));
            else if (CodePage == 950)
                Names.prepend(QStringLiteral("Big5"));
            else if (CodePage == 10000)
                Names.prepend(QStringLiteral("macintosh"));
            for (const QString& Name : std::as_const(Names))
                if (TCodePage::IsKnown(Name)) {
                    Page.emplace(Name);
                    break;
                }
            It = CodePages.insert(CodePage, Page);
        }
        if (It->has_value())
            return (*It)->Decode(Data);
    }
    // Windows-1252, also for code pages this system cannot convert.
    QString Out(Data.size(), Qt::Uninitialized);
    for (qsizetype I = 0; I < Data.size(); ++I)
        Out[I] = Cp1252Char(uchar(Data[I]));
    return Out;
}

void TRtfReader::AppendText(const QString& Text)
{
    QString Clean;
    Clean.reserve(Text.size());
    for (QChar Ch : Text)
        if (Ch == u'\t' || (Ch.unicode() >= 0x20 && Ch != QChar::ParagraphSeparator))
            Clean += Ch; // control characters and paragraph marks do not come as text
    if (Clean.isEmpty())
        return;
    if (ParaEnded)
        StartParagraph();
    if (!(RunState == Cur.Char)) {
        FlushRun();
        RunState = Cur.Char;
    }
    Run += Clean;
}

QTextCharFormat TRtfReader::Format(const TCharState& State)
{
    if (FormatCached && FormatState == State)
        return FormatCache;
    QTextCharFormat F;
    const auto Font = Fonts.constFind(State.Font < 0 ? DefFont : State.Font);
    if (Font != Fonts.constEnd() && !Font->Name.trimmed().isEmpty())
        F.setFontFamilies(QStringList(Font->Name.trimmed()));
    F.setFontPointSize(State.HalfPoints / 2.0);
    F.setFontWeight(State.Bold ? QFont::Bold : QFont::Normal);
    F.setFontItalic(State.Italic);
    F.setFontUnderline(State.Underline);
    F.setFontStrikeOut(State.Strike);
    if (State.Color > 0 && State.Color < Colors.size() && Colors[State.Color].isValid())
        F.setForeground(Colors[State.Color]);
    if (State.Back > 0 && State.Back < Colors.size() && Colors[State.Back].isValid())
        F.setBackground(Colors[State.Back]);
    FormatState = State;
    FormatCache = F;
    FormatCached = true;
    return F;
}

void TRtfReader::FlushRun()
{
    if (Run.isEmpty())
        return;
    Cursor.insertText(Run, Format(RunState));
    Run.clear();
}

void TRtfReader::StartParagraph()
{
    Cursor.insertBlock(QTextBlockFormat(), Format(Cur.Char));
    ParaEnded = false;
}

void TRtfReader::EndParagraph()
{
    if (ParaEnded)
        StartParagraph(); // an empty paragraph
    ApplyParagraph();
    ParaEnded = true;
}

void TRtfReader::ApplyParagraph()
{
    FlushRun();
    const TParaState& A = Cur.Para;
    QTextBlockFormat F;
    static constexpr Qt::Alignment Aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify};
    F.setAlignment(Aligns[A.Align]);
    F.setRightMargin(A.Right / TwipsPerPixel);
    F.setTopMargin(A.Before / TwipsPerPixel);
    F.setBottomMargin(A.After / TwipsPerPixel);
    if (A.List == lkNone) {
        // The list's own indent places a list paragraph.
        F.setLeftMargin(A.Left / TwipsPerPixel);
        F.setTextIndent(A.First / TwipsPerPixel);
    }
    Cursor.setBlockFormat(F);
    Cursor.setBlockCharFormat(Format(Cur.Char));
    if (A.List == lkNone) {
        LastList = nullptr;
        return;
    }
    const int Indent = qBound(1, qRound(A.Left / double(ListIndentTwips)), 8);
    if (LastList && LastListKind == A.List && LastListIndent == Indent) {
        LastList->add(Cursor.block());
    } else {
        QTextListFormat L;
        L.setStyle(A.List == lkBullet ? QTextListFormat::ListDisc : QTextListFormat::ListDecimal);
        L.setIndent(Indent);
        LastList = Cursor.createList(L);
        LastListKind = A.List;
        LastListIndent = Indent;
    }
}

// Writing.

// A name as the font table can hold it: ";" ends a name and cannot be escaped, and tabs, line
// breaks and objects are no characters of a name.
QString CleanFontName(const QString& Name)
{
    QString Out;
    for (QChar Ch : Name)
        if (Ch != u';' && Ch.unicode() >= 0x20 && Ch != QChar::LineSeparator && Ch != QChar::ParagraphSeparator
            && Ch != QChar::ObjectReplacementCharacter)
            Out += Ch;
    return Out.trimmed();
}

class TRtfWriter
{
public:
    explicit TRtfWriter(const QTextDocument& Document) : Doc(Document) {}
    QString Write();

private:
    const QTextDocument& Doc;
    QStringList Fonts;
    QList<QRgb> Colors;
    QString Body;
    bool Pending = false; // a control word waits for its delimiter
    TCharState State;

    int FontIndex(const QString& Family);
    int ColorIndex(const QBrush& Brush);
    QString FamilyOf(const QTextCharFormat& F) const;
    TCharState StateOf(const QTextCharFormat& F);
    void ControlWord(const QString& Word);
    void ControlWord(const char* Word, int Param) { ControlWord(QLatin1String(Word) + QString::number(Param)); }
    void Symbol(const QString& Text);
    void Text(QStringView Text, QString& Out, bool& Pend) const;
    void SetState(const TCharState& New);
    void Paragraph(const QTextBlock& Block, const TParaState& Para, bool NewPara);
};

int TRtfWriter::FontIndex(const QString& Family)
{
    QString Name = CleanFontName(Family);
    if (Name.isEmpty())
        Name = CleanFontName(Doc.defaultFont().family());
    if (Name.isEmpty())
        Name = QStringLiteral("Times New Roman");
    const qsizetype I = Fonts.indexOf(Name);
    if (I >= 0)
        return int(I);
    Fonts.append(Name);
    return int(Fonts.size() - 1);
}

int TRtfWriter::ColorIndex(const QBrush& Brush)
{
    if (Brush.style() == Qt::NoBrush)
        return 0;
    const QRgb Rgb = Brush.color().rgb();
    qsizetype I = Colors.indexOf(Rgb);
    if (I < 0) {
        Colors.append(Rgb);
        I = Colors.size() - 1;
    }
    return int(I + 1);
}

QString TRtfWriter::FamilyOf(const QTextCharFormat& F) const
{
    const QStringList Families = F.fontFamilies().toStringList();
    return Families.isEmpty() ? Doc.defaultFont().family() : Families.first();
}

TCharState TRtfWriter::StateOf(const QTextCharFormat& F)
{
    TCharState S;
    S.Font = FontIndex(FamilyOf(F));
    qreal Size = F.fontPointSize();
    if (Size <= 0)
        Size = Doc.defaultFont().pointSizeF();
    S.HalfPoints = Size > 0 ? qBound(1, qRound(Size * 2), MaxHalfPoints) : DefaultHalfPoints;
    S.Bold = F.fontWeight() >= QFont::DemiBold;
    S.Italic = F.fontItalic();
    S.Underline = F.fontUnderline();
    S.Strike = F.fontStrikeOut();
    S.Color = F.hasProperty(QTextFormat::ForegroundBrush) ? ColorIndex(F.foreground()) : 0;
    S.Back = F.hasProperty(QTextFormat::BackgroundBrush) ? ColorIndex(F.background()) : 0;
    return S;
}

void TRtfWriter::ControlWord(const QString& Word)
{
    Body += u'\\';
    Body += Word;
    Pending = true;
}

void TRtfWriter::Symbol(const QString& Text)
{
    Body += Text;
    Pending = false;
}

void TRtfWriter::Text(QStringView T, QString& Out, bool& Pend) const
{
    auto Word = [&](const char* W) {
        Out += QLatin1String(W);
        Pend = true;
    };
    for (QChar Ch : T) {
        const char16_t U = Ch.unicode();
        if (U == u'\t') {
            Word("\\tab");
        } else if (U == QChar::LineSeparator) {
            Word("\\line");
        } else if (U < 0x20 || U == QChar::ObjectReplacementCharacter || U == QChar::ParagraphSeparator) {
            continue; // pictures and objects are not kept
        } else if (U == u'\\' || U == u'{' || U == u'}') {
            Out += u'\\';
            Out += Ch;
            Pend = false;
        } else if (U < 0x7F) {
            if (Pend)
                Out += u' ';
            Out += Ch;
            Pend = false;
        } else if (const int B = Cp1252Byte(U); B >= 0 && U != 0x7F) {
            Out += QStringLiteral("\\'%1").arg(B, 2, 16, QLatin1Char('0'));
            Pend = false;
        } else {
            Out += QStringLiteral("\\u%1?").arg(int(qint16(U)));
            Pend = false;
        }
    }
}

void TRtfWriter::SetState(const TCharState& N)
{
    if (N.Font != State.Font)
        ControlWord("f", N.Font);
    if (N.HalfPoints != State.HalfPoints)
        ControlWord("fs", N.HalfPoints);
    if (N.Color != State.Color)
        ControlWord("cf", N.Color);
    if (N.Back != State.Back)
        ControlWord("highlight", N.Back);
    auto Toggle = [&](bool Old, bool New, const char* On, const char* Off) {
        if (Old != New)
            ControlWord(QLatin1String(New ? On : Off));
    };
    Toggle(State.Bold, N.Bold, "b", "b0");
    Toggle(State.Italic, N.Italic, "i", "i0");
    Toggle(State.Underline, N.Underline, "ul", "ulnone");
    Toggle(State.Strike, N.Strike, "strike", "strike0");
    State = N;
}

void TRtfWriter::Paragraph(const QTextBlock& Block, const TParaState& A, bool NewPara)
{
    if (NewPara) {
        ControlWord(QStringLiteral("pard"));
        if (A.List == lkBullet)
            Symbol(QStringLiteral("{\\*\\pn\\pnlvlblt\\pnf%1\\pnindent0{\\pntxtb\\'B7}}")
                       .arg(FontIndex(QStringLiteral("Symbol"))));
        else if (A.List == lkNumber)
            Symbol(QStringLiteral("{\\*\\pn\\pnlvlbody\\pnf%1\\pnindent0\\pnstart1\\pndec{\\pntxta.}}")
                       .arg(State.Font < 0 ? 0 : State.Font));
        if (A.First)
            ControlWord("fi", A.First);
        if (A.Left)
            ControlWord("li", A.Left);
        if (A.Right)
            ControlWord("ri", A.Right);
        if (A.Before)
            ControlWord("sb", A.Before);
        if (A.After)
            ControlWord("sa", A.After);
        static const char* const Aligns[] = {nullptr, "qc", "qr", "qj"};
        if (A.Align)
            ControlWord(QLatin1String(Aligns[A.Align]));
    }
    if (A.List == lkBullet)
        Symbol(QStringLiteral("{\\pntext\\f%1\\'B7\\tab}").arg(FontIndex(QStringLiteral("Symbol"))));
    else if (A.List == lkNumber)
        Symbol(QStringLiteral("{\\pntext %1.\\tab}").arg(Block.textList()->itemNumber(Block) + 1));

    bool Empty = true;
    for (auto It = Block.begin(); !It.atEnd(); ++It) {
        const QTextFragment Fragment = It.fragment();
        if (!Fragment.isValid() || Fragment.text().isEmpty())
            continue;
        Empty = false;
        SetState(StateOf(Fragment.charFormat()));
        Text(Fragment.text(), Body, Pending);
    }
    if (Empty)
        SetState(StateOf(Block.charFormat()));
    ControlWord(QStringLiteral("par"));
    Body += QLatin1String("\r\n");
    Pending = false;
}

QString TRtfWriter::Write()
{
    // The first font used becomes font 0, the document's default.
    const QTextBlock First = Doc.firstBlock();
    const auto FirstIt = First.begin();
    FontIndex(FamilyOf(!FirstIt.atEnd() ? FirstIt.fragment().charFormat() : First.charFormat()));
    State.Font = -1; // the first paragraph names its font and size
    State.HalfPoints = -1;

    TParaState Previous;
    bool HavePrevious = false;
    for (QTextBlock Block = First; Block.isValid(); Block = Block.next()) {
        const QTextBlockFormat F = Block.blockFormat();
        TParaState A;
        const Qt::Alignment H = F.alignment() & Qt::AlignHorizontal_Mask;
        A.Align = H.testFlag(Qt::AlignHCenter) ? 1
                  : H.testFlag(Qt::AlignRight)  ? 2
                  : H.testFlag(Qt::AlignJustify) ? 3
                                                 : 0;
        auto Twips = [](qreal Pixels) { return qBound(-MaxTwips, qRound(Pixels * TwipsPerPixel), MaxTwips); };
        A.Right = Twips(F.rightMargin());
        A.Before = qMax(0, Twips(F.topMargin()));
        A.After = qMax(0, Twips(F.bottomMargin()));
        if (const QTextList* List = Block.textList()) {
            const QTextListFormat::Style Style = List->format().style();
            A.List = Style == QTextListFormat::ListDisc || Style == QTextListFormat::ListCircle
                             || Style == QTextListFormat::ListSquare
                         ? lkBullet
                         : lkNumber;
            A.Left = ListIndentTwips * qBound(1, List->format().indent(), 8);
            A.First = -ListIndentTwips;
        } else {
            A.Left = Twips(F.leftMargin());
            A.First = Twips(F.textIndent());
        }
        Paragraph(Block, A, !HavePrevious || !(A == Previous));
        Previous = A;
        HavePrevious = true;
    }

    QString Out = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl");
    for (qsizetype I = 0; I < Fonts.size(); ++I) {
        const bool IsSymbol = Fonts[I].compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
        Out += QStringLiteral("{\\f%1\\fnil\\fcharset%2").arg(I).arg(IsSymbol ? 2 : 0);
        bool Pend = true;
        Text(Fonts[I], Out, Pend);
        Out += QLatin1String(";}");
    }
    Out += QLatin1String("}\r\n");
    if (!Colors.isEmpty()) {
        Out += QLatin1String("{\\colortbl ;");
        for (QRgb C : std::as_const(Colors))
            Out += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(qRed(C)).arg(qGreen(C)).arg(qBlue(C));
        Out += QLatin1String("}\r\n");
    }
    Out += QLatin1String("\\viewkind4\\uc1");
    Out += Body;
    Out += QLatin1String("}\r\n");
    return Out;
}

} // namespace

bool KvIsRichText(QStringView Text)
{
    qsizetype I = 0;
    while (I < Text.size() && Text[I].isSpace())
        ++I;
    return Text.mid(I).startsWith(u"{\\rtf");
}

QTextDocument* KvReadRichText(QStringView Text, QObject* Parent)
{
    auto Document = std::make_unique<QTextDocument>();
    // Reading is no step to undo, and the layout follows once at the end.
    Document->setUndoRedoEnabled(false);
    TRtfReader Reader(Text, Document.get());
    QTextCursor Edit(Document.get());
    Edit.beginEditBlock();
    Reader.Read();
    Edit.endEditBlock();
    Document->setUndoRedoEnabled(true);
    Document->setModified(false);
    Document->setParent(Parent);
    return Document.release();
}

QString KvWriteRichText(const QTextDocument& Document)
{
    return TRtfWriter(Document).Write();
}

QString KvDecodeTextFile(const QByteArray& Data, bool& Rich)
{
    // Rich text is 7-bit with escapes.
    Rich = KvIsRichText(QString::fromLatin1(Data.left(64)));
    if (Rich)
        return QString::fromLatin1(Data);
    QStringDecoder Utf8(QStringDecoder::Utf8);
    const QString Text = Utf8.decode(Data);
    return Utf8.hasError() ? QString::fromLocal8Bit(Data) : Text;
}
