#include "KvPascalHighlighter.h"

#include <QSet>

#include <utility>

namespace {

// Block states: what a line ends inside of.
enum TState { InCode = 0, InBrace = 1, InParenStar = 2 };

bool IsReserved(const QString& Word)
{
    static const QSet<QString> Words = [] {
        QSet<QString> W;
        for (const char* Each :
             {"and", "array", "as", "asm", "begin", "case", "class", "const", "constructor", "destructor",
              "div", "do", "downto", "else", "end", "except", "exports", "file", "finalization", "finally",
              "for", "function", "goto", "if", "implementation", "in", "inherited", "initialization", "inline",
              "interface", "is", "label", "library", "mod", "nil", "not", "object", "of", "or", "out", "packed",
              "procedure", "program", "property", "raise", "record", "repeat", "resourcestring", "set", "shl",
              "shr", "string", "then", "threadvar", "to", "try", "type", "unit", "until", "uses", "var",
              "while", "with", "xor", "private", "protected", "public", "published", "override", "virtual",
              "item"})
            W.insert(QString::fromLatin1(Each));
        return W;
    }();
    return Words.contains(Word.toLower());
}

bool IsIdentStart(QChar C)
{
    return C.isLetter() || C == u'_';
}

} // namespace

TKvPascalHighlighter::TKvPascalHighlighter(QTextDocument* Document) : QSyntaxHighlighter(Document)
{
    FFormats[Keyword].setFontWeight(QFont::Bold);
    FFormats[Keyword].setForeground(QColor(0x00, 0x00, 0x80));
    FFormats[String].setForeground(QColor(0x00, 0x00, 0xFF));
    FFormats[Number].setForeground(QColor(0x80, 0x00, 0x80));
    FFormats[Comment].setForeground(QColor(0x00, 0x80, 0x00));
    FFormats[Comment].setFontItalic(true);
    FFormats[Directive].setForeground(QColor(0x00, 0x80, 0x80));
}

void TKvPascalHighlighter::SetFormText(bool Value)
{
    if (std::exchange(FFormText, Value) != Value)
        rehighlight();
}

void TKvPascalHighlighter::highlightBlock(const QString& Text)
{
    const qsizetype N = Text.size();
    qsizetype I = 0;
    int State = previousBlockState() < 0 ? InCode : previousBlockState();

    // Runs a comment from Start to its closer (or the line's end, carrying the state on).
    auto comment = [&](qsizetype Start, qsizetype From, int Kind, TKind Format) {
        const QString Closer = Kind == InBrace ? QStringLiteral("}") : QStringLiteral("*)");
        const qsizetype End = Text.indexOf(Closer, From);
        if (End < 0) {
            setFormat(int(Start), int(N - Start), FFormats[Format]);
            State = Kind;
            I = N;
        } else {
            I = End + Closer.size();
            setFormat(int(Start), int(I - Start), FFormats[Format]);
            State = InCode;
        }
    };

    const TKind BraceKind = FFormText ? Number : Comment;
    if (State != InCode)
        comment(0, 0, State, State == InBrace ? BraceKind : Comment);
    while (I < N) {
        const QChar C = Text.at(I);
        if (C == u'{') {
            comment(I, I + 1, InBrace, !FFormText && I + 1 < N && Text.at(I + 1) == u'$' ? Directive : BraceKind);
        } else if (C == u'(' && I + 1 < N && Text.at(I + 1) == u'*') {
            comment(I, I + 2, InParenStar, Comment);
        } else if (C == u'/' && I + 1 < N && Text.at(I + 1) == u'/') {
            setFormat(int(I), int(N - I), FFormats[Comment]);
            I = N;
        } else if (C == u'\'' || C == u'#') {
            // 'it''s' #13#10 'next' is one string.
            const qsizetype Start = I;
            while (I < N && (Text.at(I) == u'\'' || Text.at(I) == u'#')) {
                if (Text.at(I) == u'#') {
                    ++I;
                    while (I < N && (Text.at(I).isLetterOrNumber() || Text.at(I) == u'$'))
                        ++I;
                } else {
                    ++I;
                    while (I < N) {
                        if (Text.at(I) == u'\'') {
                            if (I + 1 < N && Text.at(I + 1) == u'\'') {
                                I += 2;
                                continue;
                            }
                            ++I;
                            break;
                        }
                        ++I;
                    }
                }
            }
            setFormat(int(Start), int(I - Start), FFormats[String]);
        } else if (C.isDigit() || (C == u'$' && I + 1 < N && Text.at(I + 1).isLetterOrNumber())) {
            const qsizetype Start = I++;
            while (I < N && (Text.at(I).isLetterOrNumber() || Text.at(I) == u'.'))
                ++I;
            setFormat(int(Start), int(I - Start), FFormats[Number]);
        } else if (IsIdentStart(C)) {
            const qsizetype Start = I;
            while (I < N && (Text.at(I).isLetterOrNumber() || Text.at(I) == u'_'))
                ++I;
            // A name after a dot is a member, never a reserved word (Self.Object).
            const bool Member = Start > 0 && Text.at(Start - 1) == u'.';
            if (!Member && IsReserved(Text.mid(Start, I - Start)))
                setFormat(int(Start), int(I - Start), FFormats[Keyword]);
        } else {
            ++I;
        }
    }
    setCurrentBlockState(State);
}
