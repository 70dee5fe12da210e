#include "FormStreams.h"
#include "FormTextPlace.h"

#include "CodePage.h"
#include "FormBinary.h"
#include "SysUtils.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <optional>
#include <string>

using namespace KvFormBinary;

namespace {

// Deeper nesting than this is not a form a designer writes; refusing it keeps recursion bounded.
constexpr int MaxNesting = 200;

// ---------------------------------------------------------------------------------------------
// Identifiers as the text reader scans them; the binary reader checks names against the same rules
// so that every text it writes loads again.

bool IsIdentStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || (unsigned char)c >= 0x80;
}

bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }

// Names beyond ASCII are UTF-8 letters and digits; raw 8-bit bytes of a code page are not names.
bool IsUnicodeIdent(QByteArrayView s)
{
    if (!QUtf8StringView(s).isValidUtf8())
        return false;
    bool first = true;
    for (const char32_t c : Utf8ToString(s).toUcs4()) {
        if (c == '.') {
            first = true;
            continue;
        }
        if (!(c == '_' || QChar::isLetter(c) || (!first && (QChar::isNumber(c) || QChar::isMark(c)))))
            return false;
        first = false;
    }
    return true;
}

// One identifier, or with `dotted` several joined by dots (Font.Style, Form2.Button1).
bool IsIdent(QByteArrayView s, bool dotted)
{
    qsizetype i = 0;
    unsigned char high = 0;
    for (;;) {
        if (i >= s.size() || !IsIdentStart(s[i]))
            return false;
        high |= (unsigned char)s[i];
        while (++i < s.size() && IsIdentChar(s[i]))
            high |= (unsigned char)s[i];
        if (i == s.size())
            return !(high & 0x80) || IsUnicodeIdent(s);
        if (!dotted || s[i] != '.')
            return false;
        ++i;
    }
}

// Case-insensitive comparison with an upper-case ASCII word.
bool SameWord(QByteArrayView s, const char* upper)
{
    qsizetype i = 0;
    for (; i < s.size() && upper[i]; ++i) {
        char c = s[i];
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
        if (c != upper[i])
            return false;
    }
    return i == s.size() && upper[i] == 0;
}

bool IsSetElementText(QByteArrayView element);

bool IsUtf16(TFormTextEncoding e) { return e == TFormTextEncoding::Utf16LE || e == TFormTextEncoding::Utf16BE; }

// ---------------------------------------------------------------------------------------------
// Number formatting shared by the text writer

// The largest values whose rounding to the digits written still reads back as a finite value;
// anything above is written as these.
constexpr long double LargestExtendedText = 1.189731495357231e4932L; // 16 digits
constexpr double LargestDateText = 1.79769313486231e308;            // 15 digits
constexpr long double LargestLegacyText = 1.18973149535723e4932L;    // 15 digits

long double ClampForText(long double value, long double largest)
{
    return std::fabs(value) > largest ? std::copysign(largest, value) : value;
}

// Decimal digits and exponent of a value rounded to `significant` digits ("12345", exponent 0 for
// 1.2345). Trailing zeros are kept.
struct Digits
{
    char D[40];
    int Count = 0;
    int Exponent = 0;
    bool Negative = false;
};

Digits SignificantDigits(long double value, int significant)
{
    Digits r;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, significant - 1);
    const char* p = buf;
    if (*p == '-') {
        r.Negative = true;
        ++p;
    }
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p != '.')
            r.D[r.Count++] = *p;
    if (p < res.ptr && *p == 'e') {
        ++p;
        int e = 0;
        std::from_chars(*p == '+' ? p + 1 : p, res.ptr, e);
        r.Exponent = e;
    }
    return r;
}

// The general format of the classic runtime: up to `precision` significant digits, trailing zeros
// dropped, scientific ("1.5E-7", "1E20") outside the fixed range.
void AppendGeneral(QByteArray& out, long double value, int precision)
{
    if (value == 0) {
        out.append('0');
        return;
    }
    Digits d = SignificantDigits(value, precision);
    while (d.Count > 1 && d.D[d.Count - 1] == '0')
        --d.Count;
    if (d.Negative)
        out.append('-');
    if (d.Exponent >= precision || d.Exponent < -5) {
        out.append(d.D[0]);
        if (d.Count > 1) {
            out.append('.');
            out.append(d.D + 1, d.Count - 1);
        }
        out.append('E');
        out.append(QByteArray::number(d.Exponent));
        return;
    }
    if (d.Exponent < 0) {
        out.append("0.");
        out.append(QByteArray(-d.Exponent - 1, '0'));
        out.append(d.D, d.Count);
        return;
    }
    const int intDigits = d.Exponent + 1;
    for (int i = 0; i < intDigits; ++i)
        out.append(i < d.Count ? d.D[i] : '0');
    if (d.Count > intDigits) {
        out.append('.');
        out.append(d.D + intDigits, d.Count - intDigits);
    }
}

// Extended values: 16 significant digits shown with 18 decimals ("1.500000000000000000").
void AppendExtended(QByteArray& out, long double value)
{
    constexpr int Precision = 16;
    constexpr int Decimals = 18;
    value = ClampForText(value, LargestExtendedText);
    if (value == 0) {
        out.append("0.000000000000000000");
        return;
    }
    Digits d = SignificantDigits(value, Precision);
    const long double magnitude = std::fabs(value);
    if (d.Exponent >= Precision || magnitude < 5e-19L) {
        AppendGeneral(out, value, Precision);
        return;
    }
    const int lastDecimal = Precision - 1 - d.Exponent; // decimal position of the last digit
    if (lastDecimal > Decimals) {
        // Rounding to 16 digits would keep more decimals than shown: round at the 18th instead.
        char buf[128];
        auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, Decimals);
        // A value just under 5E-19 can round to all zeros, which would read back without its sign.
        if (std::find_if(buf, res.ptr, [](char c) { return c >= '1' && c <= '9'; }) != res.ptr)
            out.append(buf, int(res.ptr - buf));
        else
            AppendGeneral(out, value, Precision);
        return;
    }
    if (d.Negative)
        out.append('-');
    if (d.Exponent < 0) {
        out.append("0.");
        int written = 0;
        for (int i = 0; i < -d.Exponent - 1; ++i, ++written)
            out.append('0');
        out.append(d.D, d.Count);
        written += d.Count;
        out.append(QByteArray(Decimals - written, '0'));
        return;
    }
    const int intDigits = d.Exponent + 1;
    out.append(d.D, intDigits);
    out.append('.');
    out.append(d.D + intDigits, d.Count - intDigits);
    out.append(QByteArray(Decimals - (d.Count - intDigits), '0'));
}

// ---------------------------------------------------------------------------------------------
// Binary to text

class BinaryToText
{
public:
    BinaryToText(const QByteArray& data, const TFormTextFormat& format, const TCodePage* codePage)
        : R(data), FLineBreak(format.LineBreak == TLineBreak::CRLF ? "\r\n" : "\n"), Style(format.Style),
          Encoding(format.Encoding), CodePage(codePage)
    {
        // Decoding 8-bit strings: asked for in the current style; needed for Unicode text, whose
        // raw bytes are read as UTF-8.
        if (Encoding != TFormTextEncoding::Ansi) {
            if (!CodePage)
                CodePage = &DefaultCodePage.emplace();
        } else if (Style == TFormTextStyle::Legacy) {
            CodePage = nullptr;
        }
        Out.reserve(data.size() * 2 + 64);
        if (Encoding == TFormTextEncoding::Utf8Bom)
            Out.append("\xEF\xBB\xBF");
    }

    QByteArray Convert()
    {
        R.ReadSignature();
        ConvertObject();
        if (!R.AtEnd())
            R.Fail(QStringLiteral("Unexpected data after the end of the form"));
        if (!IsUtf16(Encoding))
            return std::move(Out);
        const QString text = QString::fromUtf8(Out);
        Out = QByteArray();
        QStringEncoder encoder(Encoding == TFormTextEncoding::Utf16BE ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                               QStringConverter::Flag::WriteBom);
        return encoder.encode(text);
    }

private:
    TBinaryReader R;
    const char* FLineBreak;
    TFormTextStyle Style;
    TFormTextEncoding Encoding;
    const TCodePage* CodePage;
    std::optional<TCodePage> DefaultCodePage;
    QByteArray Out;
    int Nesting = 0;
    int Depth = 0;

    void Enter()
    {
        if (++Depth > MaxNesting)
            R.Fail(QStringLiteral("Nesting too deep"));
    }

    void Indent()
    {
        static const char Spaces[] = "                                                                ";
        for (int n = Nesting * 2; n > 0; n -= 64)
            Out.append(Spaces, n < 64 ? n : 64);
    }

    void NewLine()
    {
        Out.append(FLineBreak);
        Indent();
    }

    void ConvertObject()
    {
        Enter();
        const qint64 at = R.Position();
        TObjectHeader h = R.ReadHeader();
        // The text reader takes a name length of F0 and up for flags, so longer class names cannot be
        // written; names must scan as single identifiers.
        if (h.ClassName.size() >= 0xF0 || !IsIdent(h.ClassName, false))
            R.FailAt(QStringLiteral("Invalid class name"), at);
        if (!h.ObjectName.isEmpty() && !IsIdent(h.ObjectName, false))
            R.FailAt(QStringLiteral("Invalid object name"), at);
        Indent();
        if (h.Flags & ffInherited)
            Out.append("inherited ");
        else if (h.Flags & ffInline)
            Out.append("inline ");
        else
            Out.append("object ");
        if (!h.ObjectName.isEmpty()) {
            Out.append(h.ObjectName);
            Out.append(": ");
        }
        Out.append(h.ClassName);
        if (h.Flags & ffChildPos) {
            Out.append(" [");
            Out.append(QByteArray::number(h.Position));
            Out.append(']');
        }
        Out.append(FLineBreak);
        ++Nesting;
        while (!R.EndOfList())
            ConvertProperty(false);
        R.ReadListEnd();
        while (!R.EndOfList())
            ConvertObject();
        R.ReadListEnd();
        --Nesting;
        Indent();
        Out.append("end");
        Out.append(FLineBreak);
        --Depth;
    }

    // Names that would read as the end of the object or item are refused along with non-identifiers.
    void ConvertProperty(bool inItem)
    {
        const qint64 at = R.Position();
        const QByteArrayView name = R.ReadStr();
        if (!IsIdent(name, true))
            R.FailAt(QStringLiteral("Invalid property name"), at);
        const qsizetype dot = name.indexOf('.');
        const QByteArrayView first = dot < 0 ? name : name.first(dot);
        if (SameWord(first, "END")
            || (!inItem && (SameWord(first, "OBJECT") || SameWord(first, "INHERITED") || SameWord(first, "INLINE"))))
            R.FailAt(QStringLiteral("Invalid property name"), at);
        Indent();
        Out.append(name);
        Out.append(" = ");
        ConvertValue(false);
        Out.append(FLineBreak);
    }

    static bool IsAscii(QByteArrayView s)
    {
        for (const char c : s)
            if ((unsigned char)c >= 0x80)
                return false;
        return true;
    }

    // 8-bit strings keep their bytes above 127 as they are; characters above 127 are written as codes.
    template <class Unit>
    void WriteString(const Unit* s, qsizetype length)
    {
        constexpr qsizetype LineLength = 64;
        constexpr unsigned Plain = sizeof(Unit) == 1 ? 255 : 127;
        if (length == 0) {
            Out.append("''");
            return;
        }
        ++Nesting;
        if (length > LineLength)
            NewLine();
        qsizetype i = 0, k = 0;
        char num[16];
        while (i < length) {
            bool lineBreak = false;
            const unsigned c = unsigned(s[i]);
            if (c >= ' ' && c != '\'' && c <= Plain) {
                const qsizetype j = i;
                do {
                    ++i;
                } while (i < length && unsigned(s[i]) >= ' ' && unsigned(s[i]) != '\'' && unsigned(s[i]) <= Plain
                         && i - k < LineLength);
                if (i - k >= LineLength)
                    lineBreak = true;
                Out.append('\'');
                const qsizetype start = Out.size();
                Out.resize(start + (i - j));
                char* dst = Out.data() + start;
                for (qsizetype n = j; n < i; ++n)
                    *dst++ = char(s[n]);
                Out.append('\'');
            } else {
                Out.append('#');
                auto res = std::to_chars(num, num + sizeof num, c);
                Out.append(num, int(res.ptr - num));
                ++i;
                if (i - k >= LineLength)
                    lineBreak = true;
            }
            if (lineBreak && i < length) {
                Out.append(" +");
                NewLine();
                k = i;
            }
        }
        --Nesting;
    }

    void ConvertBinary()
    {
        constexpr qint32 BytesPerLine = 32;
        static const char Hex[] = "0123456789ABCDEF";
        const QByteArray data = R.ReadBinary();
        Out.append('{');
        ++Nesting;
        const bool multiLine = data.size() >= BytesPerLine;
        const auto* p = reinterpret_cast<const unsigned char*>(data.constData());
        qsizetype count = data.size();
        while (count > 0) {
            if (multiLine)
                NewLine();
            const qsizetype n = count >= BytesPerLine ? BytesPerLine : count;
            const qsizetype start = Out.size();
            Out.resize(start + n * 2);
            char* dst = Out.data() + start;
            for (qsizetype b = 0; b < n; ++b) {
                *dst++ = Hex[p[b] >> 4];
                *dst++ = Hex[p[b] & 15];
            }
            p += n;
            count -= n;
        }
        --Nesting;
        Out.append('}');
    }

    void ConvertValue(bool inList)
    {
        const TValueType type = R.NextValue();
        switch (type) {
        case vaList:
            Enter();
            R.ReadValue();
            Out.append('(');
            ++Nesting;
            while (!R.EndOfList()) {
                NewLine();
                ConvertValue(true);
            }
            R.ReadListEnd();
            --Nesting;
            Out.append(')');
            --Depth;
            break;
        case vaInt8:
        case vaInt16:
        case vaInt32:
        case vaInt64:
            Out.append(QByteArray::number(R.ReadInt64()));
            break;
        case vaExtended:
        case vaDouble: {
            const qint64 at = R.Position();
            const long double v = R.ReadFloat();
            if (!std::isfinite(v))
                throw EReadError(QStringLiteral("Floating point value cannot be written as text"), at);
            if (Style == TFormTextStyle::Legacy)
                AppendGeneral(Out, ClampForText(v, LargestLegacyText), 15);
            else
                AppendExtended(Out, v);
            break;
        }
        case vaSingle: {
            const qint64 at = R.Position();
            const float v = R.ReadSingle();
            if (!std::isfinite(v))
                throw EReadError(QStringLiteral("Floating point value cannot be written as text"), at);
            AppendGeneral(Out, v, 15);
            Out.append('s');
            break;
        }
        case vaCurrency:
            Out.append(QByteArray::number(R.ReadCurrencyRaw()));
            Out.append('c');
            break;
        case vaDate: {
            const qint64 at = R.Position();
            const double v = R.ReadDate();
            if (!std::isfinite(v))
                throw EReadError(QStringLiteral("Floating point value cannot be written as text"), at);
            AppendGeneral(Out, ClampForText(v, LargestDateText), 15);
            Out.append('d');
            break;
        }
        case vaString:
        case vaLString: {
            const QByteArrayView s = R.ReadAnsiString();
            if (CodePage && !IsAscii(s)) {
                const QString decoded = CodePage->Decode(s);
                WriteString(reinterpret_cast<const char16_t*>(decoded.utf16()), decoded.size());
            } else {
                WriteString(reinterpret_cast<const unsigned char*>(s.constData()), s.size());
            }
            break;
        }
        case vaWString:
        case vaUTF8String: {
            const QString s = R.ReadWideString();
            WriteString(reinterpret_cast<const char16_t*>(s.utf16()), s.size());
            break;
        }
        case vaIdent:
        case vaFalse:
        case vaTrue:
        case vaNil:
        case vaNull: {
            const qint64 at = R.Position();
            QByteArrayView ident = R.ReadIdent();
            if (type == vaIdent) {
                if (!IsIdent(ident, true))
                    R.FailAt(QStringLiteral("Invalid identifier"), at);
                // The text reader gives these words their own kinds whatever their case.
                if (SameWord(ident, "FALSE"))
                    ident = "False";
                else if (SameWord(ident, "TRUE"))
                    ident = "True";
                else if (SameWord(ident, "NIL"))
                    ident = "nil";
                else if (SameWord(ident, "NULL"))
                    ident = "Null";
            }
            if (inList && ident == "Null")
                R.FailAt(QStringLiteral("Null cannot be an element of a list"), at);
            Out.append(ident);
            break;
        }
        case vaBinary:
            ConvertBinary();
            break;
        case vaSet: {
            R.ReadValue();
            Out.append('[');
            for (int i = 0;; ++i) {
                const qint64 at = R.Position();
                const QByteArrayView s = R.ReadStr();
                if (s.isEmpty())
                    break;
                if (!IsIdent(s, false) && !IsSetElementText(s))
                    R.FailAt(QStringLiteral("Invalid set element"), at);
                if (i > 0)
                    Out.append(", ");
                Out.append(s);
            }
            Out.append(']');
            break;
        }
        case vaCollection:
            Enter();
            R.ReadValue();
            Out.append('<');
            ++Nesting;
            while (!R.EndOfList()) {
                NewLine();
                Out.append("item");
                const TValueType next = R.NextValue();
                if (next == vaInt8 || next == vaInt16 || next == vaInt32) {
                    Out.append(" [");
                    Out.append(QByteArray::number(R.ReadInt64()));
                    Out.append(']');
                }
                Out.append(FLineBreak);
                R.CheckValue(vaList);
                ++Nesting;
                while (!R.EndOfList())
                    ConvertProperty(true);
                R.ReadListEnd();
                --Nesting;
                Indent();
                Out.append("end");
            }
            R.ReadListEnd();
            --Nesting;
            Out.append('>');
            --Depth;
            break;
        default:
            R.Fail(QStringLiteral("Invalid value type %1").arg(int(type)));
        }
    }
};

// ---------------------------------------------------------------------------------------------
// Text to binary

// UTF-8 in which surrogate codes were encoded like other characters.
std::u16string Wtf8ToUtf16(QByteArrayView s)
{
    std::u16string out;
    const auto* u = reinterpret_cast<const unsigned char*>(s.data());
    for (qsizetype i = 0; i < s.size();) {
        char32_t c = u[i];
        const int n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        if (n > 1)
            c &= 0x7F >> n;
        for (int k = 1; k < n && i + k < s.size(); ++k)
            c = c << 6 | (u[i + k] & 0x3F);
        i += n;
        if (c > 0xFFFF) {
            out.push_back(char16_t(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(char16_t(c));
        }
    }
    return out;
}

enum TToken : unsigned char { toEOF, toSymbol, toString, toInteger, toFloat, toChar };

class TextParser
{
public:
    // Raw non-ASCII bytes in strings are UTF-8 characters in a text with a byte-order mark; else
    // they are 8-bit bytes kept as they are, or decoded with `codePage` when one is given.
    explicit TextParser(const QByteArray& text, const TCodePage* codePage = nullptr)
        : Begin(text.constData()), P(text.constData()), End(text.constData() + text.size()), LineStart(P),
          CodePage(codePage)
    {
        if (End - P >= 3 && memcmp(P, "\xEF\xBB\xBF", 3) == 0) {
            P += 3;
            LineStart = P;
            Unicode = true;
        }
        Next();
    }

    TToken Token = toEOF;
    char Char = 0;           // the character of a toChar token
    const char* TokStart = nullptr;
    const char* TokEnd = nullptr;
    char FloatType = 0;      // suffix of a toFloat token, 0 when none
    bool TokHigh = false;    // a toSymbol token has bytes above 127
    bool RawBytesSeen = false; // raw 8-bit bytes in a string of a text without byte-order mark

    // A string value being read into a byte array: 8-bit bytes, or UTF-8 once Wide.
    struct StringValue
    {
        qsizetype Start = 0;      // where the value's bytes begin in the array
        bool Wide = false;
        bool RawHigh = false;     // holds raw bytes above 127 (only while not Wide)
        bool LoneSurrogate = false; // holds a surrogate code without its pair (encoded like UTF-8)
        qsizetype HighAt = -1;    // a high surrogate just appended, waiting for its pair
    };

    [[noreturn]] void Error(const QString& reason) const { ErrorAt(reason, TokStart); }

    [[noreturn]] void ErrorAt(const QString& reason, const char* at) const
    {
        const TFormTextPlace place = PlaceOf(at);
        throw EParserError(reason, place.Line, place.Column);
    }

    // Counts lines up to `at`: only paid for on failure.
    TFormTextPlace PlaceOf(const char* at) const
    {
        int line = 1;
        const char* lineStart = Begin;
        for (const char* q = Begin; q < at && q < End; ++q) {
            if (*q == '\n' || (*q == '\r' && (q + 1 >= End || q[1] != '\n'))) {
                ++line;
                lineStart = q + 1;
            }
        }
        if (lineStart - Begin == 0 && End - Begin >= 3 && memcmp(Begin, "\xEF\xBB\xBF", 3) == 0)
            lineStart += 3;
        return {line, int(at - lineStart) + 1};
    }

    QByteArray TokenText() const { return QByteArray(TokStart, TokEnd - TokStart); }

    // A string in a set stands for its first character, kept as a character code.
    static QByteArray StringSetElement(const QByteArray& value, const StringValue& v)
    {
        unsigned code = 0;
        if (v.Wide) {
            const std::u16string s = Wtf8ToUtf16(QByteArrayView(value).first(qMin<qsizetype>(4, value.size())));
            code = s.empty() ? 0u : unsigned(s[0]);
        } else if (!value.isEmpty()) {
            code = (unsigned char)value[0];
        }
        return '#' + QByteArray::number(code);
    }
    QByteArrayView TokenView() const { return QByteArrayView(TokStart, TokEnd - TokStart); }
    const char* EndPtr() const { return End; }
    // Continue scanning at `p` (after a part read by the caller, such as binary data).
    void SetPosition(const char* p) { P = p; }

    QString Describe() const
    {
        switch (Token) {
        case toEOF: return QStringLiteral("end of file");
        case toString: return QStringLiteral("string");
        case toChar: return QStringLiteral("'%1'").arg(QChar::fromLatin1(Char));
        default: {
            QByteArray t = TokenText();
            if (t.size() > 40)
                t = t.left(40) + "...";
            return QStringLiteral("'%1'").arg(QString::fromUtf8(t));
        }
        }
    }

    [[noreturn]] void Expected(const QString& what) const
    {
        Error(QStringLiteral("%1 expected but %2 found").arg(what, Describe()));
    }

    void CheckChar(char c) const
    {
        if (Token != toChar || Char != c)
            Expected(QStringLiteral("'%1'").arg(QChar::fromLatin1(c)));
    }

    bool IsChar(char c) const { return Token == toChar && Char == c; }

    bool SymbolIs(const char* upper) const
    {
        if (Token != toSymbol)
            return false;
        const qsizetype n = TokEnd - TokStart;
        for (qsizetype i = 0; i < n; ++i) {
            char c = TokStart[i];
            if (c >= 'a' && c <= 'z')
                c = char(c - 32);
            if (upper[i] != c)
                return false;
        }
        return upper[n] == 0;
    }

    // A component reference such as Form2.Button1: dots directly joined to identifiers.
    void ExtendComponentIdent()
    {
        const char* q = TokEnd;
        while (q < End && *q == '.') {
            ++q;
            if (q >= End || !IsIdentStart(*q))
                ErrorAt(QStringLiteral("Identifier expected"), q);
            while (q < End && IsIdentChar(*q))
                TokHigh |= (unsigned char)*q++ & 0x80;
        }
        TokEnd = P = q;
        CheckSymbol();
    }

    // A symbol with bytes above 127 must be UTF-8 letters and digits.
    void CheckSymbol() const
    {
        if (TokHigh && !IsUnicodeIdent(TokenView()))
            Error(QStringLiteral("Invalid identifier: bytes that are not UTF-8 letters"));
    }

    void Next()
    {
        while (P < End && (unsigned char)*P <= ' ') {
            if (*P == 0)
                ErrorAt(QStringLiteral("Invalid character #0"), P);
            ++P;
        }
        TokStart = P;
        FloatType = 0;
        if (P >= End) {
            Token = toEOF;
            TokEnd = P;
            return;
        }
        const char c = *P;
        if (IsIdentStart(c)) {
            unsigned char high = (unsigned char)c;
            ++P;
            while (P < End && IsIdentChar(*P))
                high |= (unsigned char)*P++;
            Token = toSymbol;
            TokHigh = high & 0x80;
        } else if (c == '\'' || c == '#') {
            // Read by ReadStringValue, straight into where the value goes.
            Token = toString;
            TokEnd = P;
            return;
        } else if (c == '$') {
            ++P;
            while (P < End && isxdigit((unsigned char)*P))
                ++P;
            if (P < End && IsIdentChar(*P))
                ErrorAt(QStringLiteral("Invalid number"), TokStart);
            Token = toInteger;
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            ++P;
            while (P < End && *P >= '0' && *P <= '9')
                ++P;
            Token = toInteger;
            while (P < End && ((*P >= '0' && *P <= '9') || *P == '.' || *P == 'e' || *P == 'E' || *P == '+'
                               || *P == '-')) {
                ++P;
                Token = toFloat;
            }
            if (P < End && *P && strchr("cCdDsSfF", *P)) {
                Token = toFloat;
                FloatType = *P;
                TokEnd = P;
                ++P;
                if (P < End && IsIdentChar(*P))
                    ErrorAt(QStringLiteral("Invalid number"), TokStart);
                return;
            }
            if (P < End && IsIdentChar(*P))
                ErrorAt(QStringLiteral("Invalid number"), TokStart);
        } else {
            Token = toChar;
            Char = c;
            ++P;
        }
        TokEnd = P;
    }

    qint64 TokenInt() const
    {
        const char* s = TokStart;
        if (*s == '$') {
            ++s;
            if (s == TokEnd || TokEnd - s > 16)
                Error(QStringLiteral("Invalid integer value %1").arg(QString::fromLatin1(TokenText())));
            quint64 v = 0;
            std::from_chars(s, TokEnd, v, 16);
            return qint64(v);
        }
        qint64 v = 0;
        auto res = std::from_chars(s, TokEnd, v);
        if (res.ec != std::errc() || res.ptr != TokEnd)
            Error(QStringLiteral("Invalid integer value %1").arg(QString::fromLatin1(TokenText())));
        return v;
    }

    long double TokenFloat() const
    {
        long double v = 0;
        auto res = std::from_chars(TokStart, TokEnd, v);
        if (res.ec == std::errc::result_out_of_range && res.ptr == TokEnd) {
            // from_chars refuses subnormal results, which the binary format holds and writes as text.
            static const locale_t C = newlocale(LC_ALL_MASK, "C", locale_t(0));
            const std::string s(TokStart, TokEnd);
            char* end = nullptr;
            v = strtold_l(s.c_str(), &end, C);
            if (end == s.c_str() + s.size() && std::isfinite(v))
                return v;
        }
        if (res.ec != std::errc() || res.ptr != TokEnd || !std::isfinite(v))
            Error(QStringLiteral("Invalid floating point value %1").arg(QString::fromLatin1(TokenText())));
        return v;
    }

private:
    const char* Begin;
    const char* P;
    const char* End;
    const char* LineStart;

    bool Unicode = false;
    const TCodePage* CodePage;
    std::optional<TCodePage> DefaultCodePage;

    const TCodePage& RawBytesCodePage()
    {
        if (CodePage)
            return *CodePage;
        if (!DefaultCodePage)
            DefaultCodePage.emplace();
        return *DefaultCodePage;
    }

    // Raw 8-bit bytes from `from` on become characters of the code page, in UTF-8.
    void DecodeRaw(QByteArray& out, qsizetype from)
    {
        const QByteArray utf8 = RawBytesCodePage().Decode(QByteArrayView(out).sliced(from)).toUtf8();
        out.resize(from);
        out.append(utf8);
    }

    void GoWide(QByteArray& out, StringValue& v)
    {
        if (v.Wide)
            return;
        if (v.RawHigh)
            DecodeRaw(out, v.Start);
        v.Wide = true;
        v.RawHigh = false;
    }

    static void AppendUtf8(QByteArray& out, char32_t code)
    {
        char b[4];
        int n;
        if (code < 0x80) {
            b[0] = char(code);
            n = 1;
        } else if (code < 0x800) {
            b[0] = char(0xC0 | (code >> 6));
            b[1] = char(0x80 | (code & 0x3F));
            n = 2;
        } else if (code < 0x10000) {
            b[0] = char(0xE0 | (code >> 12));
            b[1] = char(0x80 | ((code >> 6) & 0x3F));
            b[2] = char(0x80 | (code & 0x3F));
            n = 3;
        } else {
            b[0] = char(0xF0 | (code >> 18));
            b[1] = char(0x80 | ((code >> 12) & 0x3F));
            b[2] = char(0x80 | ((code >> 6) & 0x3F));
            b[3] = char(0x80 | (code & 0x3F));
            n = 4;
        }
        out.append(b, n);
    }

    static void EndSurrogate(StringValue& v)
    {
        if (v.HighAt >= 0) {
            v.LoneSurrogate = true;
            v.HighAt = -1;
        }
    }

    // A `#nnn` character. Designers write characters above FFFF as two surrogate codes; they are
    // joined again so that the UTF-8 string holds the character.
    void AppendCode(QByteArray& out, StringValue& v, char32_t code)
    {
        if (code < 0x80) {
            EndSurrogate(v);
            out.append(char(code));
            return;
        }
        GoWide(out, v);
        if (code >= 0xDC00 && code <= 0xDFFF && v.HighAt >= 0 && v.HighAt + 3 == out.size()) {
            const auto* h = reinterpret_cast<const unsigned char*>(out.constData() + v.HighAt);
            const char32_t high = char32_t((h[0] & 0x0F) << 12 | (h[1] & 0x3F) << 6 | (h[2] & 0x3F));
            out.resize(v.HighAt);
            v.HighAt = -1;
            AppendUtf8(out, 0x10000 + ((high - 0xD800) << 10) + (code - 0xDC00));
            return;
        }
        EndSurrogate(v);
        if (code >= 0xD800 && code <= 0xDBFF)
            v.HighAt = out.size();
        else if (code >= 0xDC00 && code <= 0xDFFF)
            v.LoneSurrogate = true;
        AppendUtf8(out, code);
    }

    // Length of the UTF-8 sequence at u, 0 when it is not one.
    static int Utf8Length(const unsigned char* u, qsizetype avail)
    {
        int len;
        char32_t code;
        if (u[0] >= 0xC2 && u[0] <= 0xDF) {
            len = 2;
            code = u[0] & 0x1F;
        } else if (u[0] >= 0xE0 && u[0] <= 0xEF) {
            len = 3;
            code = u[0] & 0x0F;
        } else if (u[0] >= 0xF0 && u[0] <= 0xF4) {
            len = 4;
            code = u[0] & 0x07;
        } else {
            return 0;
        }
        if (avail < len)
            return 0;
        for (int i = 1; i < len; ++i) {
            if ((u[i] & 0xC0) != 0x80)
                return 0;
            code = (code << 6) | (u[i] & 0x3F);
        }
        if ((len == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) || (len == 4 && (code < 0x10000 || code > 0x10FFFF)))
            return 0;
        return len;
    }

    // One quoted part; runs of plain bytes are copied at once.
    void ReadQuoted(const char*& q, QByteArray& out, StringValue& v)
    {
        const char* at = q;
        ++q;
        const qsizetype partStart = out.size();
        unsigned char high = 0;
        for (;;) {
            const char* run = q;
            while (q < End) {
                const unsigned char c = (unsigned char)*q;
                if (c == '\'' || c == '\n' || c == '\r' || c == 0)
                    break;
                high |= c;
                ++q;
            }
            if (q > run) {
                EndSurrogate(v);
                out.append(run, q - run);
            }
            if (q >= End || *q == '\n' || *q == '\r')
                ErrorAt(QStringLiteral("Unterminated string"), at);
            if (*q == 0)
                ErrorAt(QStringLiteral("Invalid character #0"), q);
            ++q; // the quote
            if (q < End && *q == '\'') {
                out.append('\'');
                ++q;
                continue;
            }
            break;
        }
        if (!(high & 0x80))
            return;
        if (Unicode) {
            for (const char* c = at + 1; c < q; ++c) {
                if ((unsigned char)*c < 0x80)
                    continue;
                const int len = Utf8Length(reinterpret_cast<const unsigned char*>(c), q - c);
                if (len == 0)
                    ErrorAt(QStringLiteral("Invalid UTF-8 sequence"), c);
                c += len - 1;
            }
            v.Wide = true; // what came before was ASCII
            return;
        }
        RawBytesSeen = true;
        if (v.Wide || CodePage) {
            GoWide(out, v);
            DecodeRaw(out, partStart);
        } else {
            v.RawHigh = true;
        }
    }

    void ReadParts(QByteArray& out, StringValue& v)
    {
        const char* q = P;
        for (;;) {
            if (q < End && *q == '#') {
                const char* at = q;
                ++q;
                quint64 code = 0;
                const char* digits = q;
                if (q < End && *q == '$') {
                    ++q;
                    digits = q;
                    while (q < End && isxdigit((unsigned char)*q) && code <= 0x10FFFF) {
                        code = code * 16 + quint64(isdigit((unsigned char)*q) ? *q - '0' : (*q | 0x20) - 'a' + 10);
                        ++q;
                    }
                } else {
                    while (q < End && *q >= '0' && *q <= '9' && code <= 0x10FFFF) {
                        code = code * 10 + quint64(*q - '0');
                        ++q;
                    }
                }
                if (q == digits || code > 0x10FFFF)
                    ErrorAt(QStringLiteral("Invalid character code"), at);
                AppendCode(out, v, char32_t(code));
            } else if (q < End && *q == '\'') {
                ReadQuoted(q, out, v);
            } else {
                break;
            }
        }
        P = q;
    }

public:
    // Reads the string at the current token, with parts joined by '+', appending its bytes to
    // `out`; then reads the next token.
    void ReadStringValue(QByteArray& out, StringValue& v)
    {
        v.Start = out.size();
        for (;;) {
            ReadParts(out, v);
            Next();
            if (!IsChar('+'))
                break;
            Next();
            if (Token != toString)
                Expected(QStringLiteral("String"));
        }
        EndSurrogate(v);
    }
};

// Set elements other than identifiers: what the text reader stores for a number or a character
// must scan back to the same thing.
bool IsSetElementText(QByteArrayView element)
{
    const QByteArray text = QByteArray::fromRawData(element.data(), element.size());
    try {
        TextParser p(text);
        if (p.TokStart != text.constData())
            return false;
        if (p.Token == toInteger)
            return p.TokEnd == text.constData() + text.size();
        if (p.Token != toString)
            return false;
        QByteArray value;
        TextParser::StringValue v;
        p.ReadStringValue(value, v);
        return p.Token == toEOF && TextParser::StringSetElement(value, v) == element;
    } catch (const EParserError&) {
        return false;
    }
}

// UTF-16 text (with its byte-order mark) as UTF-8 with a byte-order mark, which the parser reads.
QByteArray Utf16ToUtf8(const QByteArray& text, bool bigEndian)
{
    if (text.size() % 2)
        throw EParserError(QStringLiteral("UTF-16 text form with an odd number of bytes"), 1, 1);
    QStringDecoder decoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QByteArray out = QString(decoder.decode(QByteArrayView(text).sliced(2))).toUtf8();
    out.prepend("\xEF\xBB\xBF");
    return out;
}

TFormTextEncoding EncodingOf(const QByteArray& text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        return TFormTextEncoding::Utf8Bom;
    if (text.startsWith("\xFF\xFE"))
        return TFormTextEncoding::Utf16LE;
    if (text.startsWith("\xFE\xFF"))
        return TFormTextEncoding::Utf16BE;
    return TFormTextEncoding::Ansi;
}

class TextToBinary
{
public:
    TextToBinary(const QByteArray& text, const TCodePage* codePage)
        : Encoding(EncodingOf(text)),
          Text(IsUtf16(Encoding) ? Utf16ToUtf8(text, Encoding == TFormTextEncoding::Utf16BE) : text),
          Parser(Text, codePage)
    {
        W.Reserve(Text.size());
    }

    // When set, each object and property gets its place in the binary form and in the text.
    QList<std::pair<qint64, const char*>>* Marks = nullptr;

    TFormTextPlace PlaceOf(const char* at) const { return Parser.PlaceOf(at); }

    QByteArray Convert(TFormTextFormat* found)
    {
        W.WriteSignature();
        ConvertObject();
        if (Parser.Token != toEOF)
            Parser.Expected(QStringLiteral("End of file"));
        if (found) {
            const qsizetype lf = Text.indexOf('\n');
            found->LineBreak = lf >= 0 && (lf == 0 || Text[lf - 1] != '\r') ? TLineBreak::LF : TLineBreak::CRLF;
            found->Encoding = Encoding;
            // Floats tell best; raw 8-bit strings only older designers wrote.
            found->Style = LegacyFloats > CurrentFloats ? TFormTextStyle::Legacy
                : LegacyFloats < CurrentFloats     ? TFormTextStyle::Current
                : Parser.RawBytesSeen              ? TFormTextStyle::Legacy
                                                   : TFormTextStyle::Current;
        }
        return W.Take();
    }

private:
    TFormTextEncoding Encoding;
    QByteArray Text;
    TextParser Parser;
    TBinaryWriter W;
    int Depth = 0;
    int CurrentFloats = 0;
    int LegacyFloats = 0;

    // Floats with exactly 18 decimals are the current style; others without exponent are legacy.
    void CountFloatStyle()
    {
        const QByteArrayView t = Parser.TokenView();
        const qsizetype dot = t.indexOf('.');
        if (dot < 0 || t.contains('e') || t.contains('E'))
            return;
        if (t.size() - dot - 1 == 18)
            ++CurrentFloats;
        else
            ++LegacyFloats;
    }

    void Enter()
    {
        if (++Depth > MaxNesting)
            Parser.Error(QStringLiteral("Nesting too deep"));
    }

    QByteArray Symbol(const char* what = "Identifier")
    {
        if (Parser.Token != toSymbol)
            Parser.Expected(QString::fromLatin1(what));
        Parser.CheckSymbol();
        return Parser.TokenText();
    }

    void WriteShortStr(const QByteArray& s)
    {
        if (s.size() > 255)
            Parser.Error(QStringLiteral("Identifier longer than 255 characters"));
        W.WriteStr(s);
    }

    void ConvertHeader(int flags)
    {
        QByteArray className = Symbol();
        QByteArray objectName;
        Parser.Next();
        if (Parser.IsChar(':')) {
            Parser.Next();
            objectName = className;
            className = Symbol("Class name");
            Parser.Next();
        }
        if (className.size() >= 0xF0)
            Parser.Error(QStringLiteral("Class name longer than 239 characters"));
        qint64 position = -1;
        if (Parser.IsChar('[')) {
            Parser.Next();
            if (Parser.Token != toInteger)
                Parser.Expected(QStringLiteral("Integer"));
            position = Parser.TokenInt();
            if (position < INT32_MIN || position > INT32_MAX)
                Parser.Error(QStringLiteral("Child position out of range"));
            Parser.Next();
            Parser.CheckChar(']');
            Parser.Next();
            flags |= ffChildPos;
        }
        W.WritePrefix(flags, qint32(position));
        WriteShortStr(className);
        WriteShortStr(objectName);
    }

    bool AtObjectEnd() const
    {
        return Parser.SymbolIs("END") || Parser.SymbolIs("OBJECT") || Parser.SymbolIs("INHERITED")
            || Parser.SymbolIs("INLINE");
    }

    void Mark()
    {
        if (Marks)
            Marks->append({W.Data().size(), Parser.TokStart});
    }

    void ConvertObject()
    {
        Enter();
        Mark();
        int flags = 0;
        if (Parser.SymbolIs("INHERITED"))
            flags = ffInherited;
        else if (Parser.SymbolIs("INLINE"))
            flags = ffInline;
        else if (!Parser.SymbolIs("OBJECT"))
            Parser.Expected(QStringLiteral("'object', 'inherited' or 'inline'"));
        Parser.Next();
        ConvertHeader(flags);
        while (!AtObjectEnd()) {
            if (Parser.Token == toEOF)
                Parser.Expected(QStringLiteral("'end'"));
            ConvertProperty();
        }
        W.WriteListEnd();
        while (!Parser.SymbolIs("END")) {
            if (Parser.Token == toEOF)
                Parser.Expected(QStringLiteral("'end'"));
            ConvertObject();
        }
        W.WriteListEnd();
        Parser.Next();
        --Depth;
    }

    void ConvertProperty()
    {
        Mark();
        QByteArray name = Symbol("Property name");
        Parser.Next();
        while (Parser.IsChar('.')) {
            Parser.Next();
            name += '.';
            name += Symbol();
            Parser.Next();
        }
        WriteShortStr(name);
        Parser.CheckChar('=');
        Parser.Next();
        ConvertValue(false);
    }

    // The value goes straight into the output behind room for the longest header, which is fitted
    // once the value's kind and length are known.
    void ConvertString()
    {
        QByteArray& out = W.Buffer();
        out.append(5, '\0');
        TextParser::StringValue v;
        Parser.ReadStringValue(out, v);
        const qsizetype length = out.size() - v.Start;
        if (length > INT32_MAX)
            Parser.Error(QStringLiteral("String longer than 2 GB"));
        char* header = out.data() + v.Start - 5;
        if (v.LoneSurrogate) {
            // UTF-8 cannot hold a surrogate alone; UTF-16 can.
            const std::u16string wide = Wtf8ToUtf16(QByteArrayView(out).sliced(v.Start));
            out.resize(v.Start - 5);
            W.WriteWideString(wide);
        } else if (v.Wide || length > 255) {
            header[0] = char(v.Wide ? vaUTF8String : vaLString);
            qToLittleEndian(qint32(length), header + 1);
        } else {
            header[0] = char(vaString);
            header[1] = char(length);
            memmove(header + 2, header + 5, size_t(length));
            out.resize(out.size() - 3);
        }
    }


    void ConvertValue(bool inList)
    {
        switch (Parser.Token) {
        case toString:
            ConvertString();
            return;
        case toSymbol:
            Parser.ExtendComponentIdent();
            if (inList && Parser.SymbolIs("NULL"))
                Parser.Error(QStringLiteral("Null cannot be an element of a list"));
            WriteIdent(Parser.TokenText());
            break;
        case toInteger:
            W.WriteInteger(Parser.TokenInt());
            break;
        case toFloat: {
            const long double v = Parser.TokenFloat();
            if (!Parser.FloatType)
                CountFloatStyle();
            switch (Parser.FloatType) {
            case 's':
            case 'S':
                if (!std::isfinite(float(v)))
                    Parser.Error(QStringLiteral("Floating point value out of range"));
                W.WriteSingle(float(v));
                break;
            case 'c':
            case 'C': {
                const long double r = std::roundl(v);
                if (!(r >= -0x1p63L && r < 0x1p63L))
                    Parser.Error(QStringLiteral("Currency value out of range"));
                W.WriteCurrencyRaw(qint64(r));
                break;
            }
            case 'd':
            case 'D':
                if (!std::isfinite(double(v)))
                    Parser.Error(QStringLiteral("Floating point value out of range"));
                W.WriteDate(double(v));
                break;
            default:
                W.WriteExtended(v);
            }
            break;
        }
        case toChar:
            switch (Parser.Char) {
            case '[':
                ConvertSet();
                break;
            case '(':
                Enter();
                Parser.Next();
                W.WriteValue(vaList);
                while (!Parser.IsChar(')')) {
                    if (Parser.Token == toEOF)
                        Parser.Expected(QStringLiteral("')'"));
                    ConvertValue(true);
                }
                W.WriteListEnd();
                --Depth;
                break;
            case '{':
                ConvertBinary();
                break;
            case '<':
                ConvertCollection();
                break;
            default:
                Parser.Expected(QStringLiteral("Property value"));
            }
            break;
        case toEOF:
            Parser.Expected(QStringLiteral("Property value"));
        }
        Parser.Next();
    }

    void WriteIdent(const QByteArray& ident)
    {
        if (Parser.SymbolIs("FALSE"))
            W.WriteValue(vaFalse);
        else if (Parser.SymbolIs("TRUE"))
            W.WriteValue(vaTrue);
        else if (Parser.SymbolIs("NIL"))
            W.WriteValue(vaNil);
        else if (Parser.SymbolIs("NULL"))
            W.WriteValue(vaNull);
        else {
            if (ident.size() > 255)
                Parser.Error(QStringLiteral("Identifier longer than 255 characters"));
            W.WriteValue(vaIdent);
            W.WriteStr(ident);
        }
    }

    void ConvertSet()
    {
        Parser.Next();
        W.WriteValue(vaSet);
        if (!Parser.IsChar(']')) {
            for (;;) {
                QByteArray element;
                if (Parser.Token == toString) {
                    QByteArray value;
                    TextParser::StringValue v;
                    Parser.ReadStringValue(value, v);
                    element = TextParser::StringSetElement(value, v);
                } else {
                    element = Parser.Token == toInteger ? Parser.TokenText() : Symbol("Set element");
                    if (element.size() > 255)
                        Parser.Error(QStringLiteral("Invalid set element"));
                    Parser.Next();
                }
                W.WriteStr(element);
                if (Parser.IsChar(']'))
                    break;
                Parser.CheckChar(',');
                Parser.Next();
            }
        }
        W.WriteStr(QByteArray());
    }

    void ConvertBinary()
    {
        // Hex digits up to '}', with any white space between them, decoded straight into the
        // stream: pictures make up most of many forms.
        static constexpr auto Nibbles = [] {
            std::array<signed char, 256> t{};
            t.fill(-1);
            for (int c = 0; c < 10; ++c)
                t['0' + c] = char(c);
            for (int c = 0; c < 6; ++c)
                t['A' + c] = t['a' + c] = char(10 + c);
            return t;
        }();
        const char* p = Parser.TokEnd;
        const char* const start = p;
        const char* close = static_cast<const char*>(memchr(p, '}', size_t(Parser.EndPtr() - p)));
        if (!close)
            close = Parser.EndPtr(); // an error below, at the first bad character or at the end
        W.WriteValue(vaBinary);
        QByteArray& out = W.Buffer();
        const qsizetype lengthAt = out.size();
        out.resize(lengthAt + 4 + (close - p) / 2);
        auto* const first = reinterpret_cast<unsigned char*>(out.data()) + lengthAt + 4;
        unsigned char* dst = first;
        int nibble = -1;
        for (; p < close; ++p) {
            const unsigned char c = static_cast<unsigned char>(*p);
            if (c <= ' ')
                continue;
            const int v = Nibbles[c];
            if (v < 0)
                Parser.ErrorAt(QStringLiteral("Invalid binary value"), p);
            if (nibble < 0) {
                nibble = v;
            } else {
                *dst++ = static_cast<unsigned char>(nibble << 4 | v);
                nibble = -1;
            }
        }
        if (p >= Parser.EndPtr())
            Parser.ErrorAt(QStringLiteral("'}' expected"), p);
        if (nibble >= 0)
            Parser.ErrorAt(QStringLiteral("Invalid binary value: odd number of hex digits"), p);
        const qsizetype n = dst - first;
        if (n > INT32_MAX)
            Parser.ErrorAt(QStringLiteral("Binary value too large"), start);
        out.resize(lengthAt + 4 + n);
        qToLittleEndian(qint32(n), out.data() + lengthAt);
        Parser.SetPosition(p + 1); // the caller's Next() reads past the '}'
    }

    void ConvertCollection()
    {
        Enter();
        Parser.Next();
        W.WriteValue(vaCollection);
        while (!Parser.IsChar('>')) {
            if (!Parser.SymbolIs("ITEM"))
                Parser.Expected(QStringLiteral("'item'"));
            Parser.Next();
            if (Parser.IsChar('[')) {
                Parser.Next();
                if (Parser.Token != toInteger)
                    Parser.Expected(QStringLiteral("Integer"));
                const qint64 order = Parser.TokenInt();
                if (order < INT32_MIN || order > INT32_MAX)
                    Parser.Error(QStringLiteral("Item order out of range"));
                W.WriteInteger(order);
                Parser.Next();
                Parser.CheckChar(']');
                Parser.Next();
            }
            W.WriteValue(vaList);
            while (!Parser.SymbolIs("END")) {
                if (Parser.Token == toEOF)
                    Parser.Expected(QStringLiteral("'end'"));
                ConvertProperty();
            }
            W.WriteListEnd();
            Parser.Next();
        }
        W.WriteListEnd();
        --Depth;
    }
};

} // namespace

// ---------------------------------------------------------------------------------------------

TStreamOriginalFormat TestStreamFormat(const QByteArray& data)
{
    if (data.isEmpty())
        return TStreamOriginalFormat::sofUnknown;
    const auto* b = reinterpret_cast<const unsigned char*>(data.constData());
    if (data.startsWith("\xEF\xBB\xBF") || data.startsWith("\xFF\xFE") || data.startsWith("\xFE\xFF"))
        return TStreamOriginalFormat::sofText;
    if (b[0] == 0xFF || data.startsWith("TPF0"))
        return TStreamOriginalFormat::sofBinary;
    switch (b[0]) {
    case 'o': case 'O': case 'i': case 'I': case ' ': case '\t': case '\r': case '\n': case '\v':
        return TStreamOriginalFormat::sofText;
    default:
        return TStreamOriginalFormat::sofUnknown;
    }
}

QByteArray ObjectTextToBinary(const QByteArray& text, TFormTextFormat* found, const TCodePage* codePage)
{
    return TextToBinary(text, codePage).Convert(found);
}

TFormTextPlace FormTextPlace(const QByteArray& text, qint64 offset)
{
    QList<std::pair<qint64, const char*>> marks;
    TextToBinary converter(text, nullptr);
    converter.Marks = &marks;
    try {
        converter.Convert(nullptr);
    } catch (const Exception&) {
        return {};
    }
    // The last object or property starting at or before the offset holds it.
    const auto after = std::upper_bound(marks.cbegin(), marks.cend(), offset,
                                        [](qint64 o, const std::pair<qint64, const char*>& m) { return o < m.first; });
    return after == marks.cbegin() ? TFormTextPlace{} : converter.PlaceOf(std::prev(after)->second);
}

QByteArray ObjectBinaryToText(const QByteArray& binary, const TFormTextFormat& format, const TCodePage* codePage)
{
    return BinaryToText(binary, format, codePage).Convert();
}

QByteArray ObjectBinaryToText(const QByteArray& binary, TLineBreak lineBreak, TFormTextStyle style)
{
    return ObjectBinaryToText(binary, TFormTextFormat{lineBreak, style, TFormTextEncoding::Ansi});
}

namespace {

// The TPF0 stream of a resource. Bytes after it are refused; like errors in the stream, the offset
// counts from the stream's start.
QByteArrayView ResourceData(const QByteArray& resource)
{
    if (resource.startsWith("TPF0"))
        return resource;
    TBinaryReader r(resource);
    const TResourceHeader h = r.ReadResourceHeader();
    if (h.DataOffset + h.DataSize < resource.size())
        r.FailAt(QStringLiteral("Unexpected data after the end of the form"), h.DataSize);
    return QByteArrayView(resource).sliced(h.DataOffset, h.DataSize);
}

} // namespace

bool IsFormIdent(QByteArrayView name, bool dotted)
{
    return IsIdent(name, dotted);
}

QByteArray ObjectResourceToBinary(const QByteArray& resource)
{
    const QByteArrayView data = ResourceData(resource);
    return data.size() == resource.size() ? resource : data.toByteArray();
}

QByteArray ObjectResourceToText(const QByteArray& resource, const TFormTextFormat& format, const TCodePage* codePage)
{
    // The resource outlives the conversion: no copy of its data.
    const QByteArrayView data = ResourceData(resource);
    return ObjectBinaryToText(QByteArray::fromRawData(data.data(), data.size()), format, codePage);
}

QByteArray ObjectResourceToText(const QByteArray& resource, TLineBreak lineBreak, TFormTextStyle style)
{
    return ObjectResourceToText(resource, TFormTextFormat{lineBreak, style, TFormTextEncoding::Ansi});
}

QByteArray ObjectTextToResource(const QByteArray& text, const TCodePage* codePage)
{
    const QByteArray binary = ObjectTextToBinary(text, nullptr, codePage);
    TBinaryReader r(binary);
    r.ReadSignature();
    const TObjectHeader h = r.ReadHeader();
    return TBinaryWriter::ResourceHeader(h.ClassName.toUpper(), quint32(binary.size())) + binary;
}

QByteArray ObjectTextToResource(const QByteArray& text, TStreamOriginalFormat& originalFormat)
{
    if (originalFormat == TStreamOriginalFormat::sofText) {
        ObjectTextToBinary(text); // a form that would not load again is never written
        return text;
    }
    originalFormat = TStreamOriginalFormat::sofBinary;
    return ObjectTextToResource(text);
}
