#include "CodePage.h"
#include "FormBinary.h"
#include "FormStreams.h"
#include "SysUtils.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

QStringList CorpusFiles()
{
    QDir dir(QStringLiteral(KV_TEST_DATA "/forms"));
    QStringList files;
    for (const QString& name : dir.entryList({QStringLiteral("*.dfm")}, QDir::Files, QDir::Name))
        files << dir.filePath(name);
    return files;
}

QByteArray Lf(QByteArray text) { return text.replace("\r\n", "\n"); }

// Text to binary and back in the style the text was found in, compared line by line so that a
// failure shows the first differing line.
void ExpectRoundTrip(const QByteArray& text, TLineBreak lineBreak, const QString& what)
{
    TFormTextFormat found;
    const QByteArray binary = ObjectTextToBinary(text, &found);
    EXPECT_EQ(found.LineBreak, lineBreak) << what.toStdString();
    const QByteArray back = ObjectBinaryToText(binary, found);
    if (back == text)
        return;
    const QList<QByteArray> a = text.split('\n'), b = back.split('\n');
    for (qsizetype i = 0; i < qMax(a.size(), b.size()); ++i) {
        const QByteArray la = a.value(i), lb = b.value(i);
        if (la != lb) {
            ADD_FAILURE() << what.toStdString() << " line " << i + 1 << "\n expected: " << la.toStdString()
                          << "\n      got: " << lb.toStdString();
            return;
        }
    }
    ADD_FAILURE() << what.toStdString() << ": texts differ";
}

QByteArray Canonical(const QByteArray& text) { return ObjectBinaryToText(ObjectTextToBinary(text), TLineBreak::LF); }

QByteArray Value(const QByteArray& value)
{
    const QByteArray text = Canonical("object A: TA\n  V = " + value + "\nend\n");
    const qsizetype from = text.indexOf("V = ") + 4;
    return text.mid(from, text.lastIndexOf("\nend") - from);
}

} // namespace

TEST(FormStreams, CorpusRoundTripsByteForByte)
{
    const QStringList files = CorpusFiles();
    ASSERT_GE(files.size(), 3);
    for (const QString& file : files) {
        const QByteArray text = ReadFile(file);
        ASSERT_TRUE(text.contains("\r\n"));
        ExpectRoundTrip(text, TLineBreak::CRLF, file);
        ExpectRoundTrip(Lf(text), TLineBreak::LF, file + QStringLiteral(" (LF)"));
        // The resource wrapping and the binary stream carry the same form.
        TFormTextFormat found;
        ObjectTextToBinary(text, &found);
        const QByteArray resource = ObjectTextToResource(text);
        EXPECT_EQ(ObjectResourceToText(resource, found), text) << file.toStdString();
        EXPECT_EQ(TestStreamFormat(resource), TStreamOriginalFormat::sofBinary);
        EXPECT_EQ(TestStreamFormat(text), TStreamOriginalFormat::sofText);
    }
}

TEST(FormStreams, BinaryLayoutOfHeadersAndIntegers)
{
    const QByteArray bin = ObjectTextToBinary("inherited F: TF [3]\n"
                                              "  A = 127\n  B = 128\n  C = 70000\n  D = 5000000000\n  E = $FF\n"
                                              "  object TX\n  end\nend\n");
    const QByteArray expected = QByteArray("TPF0") + QByteArray::fromHex("F3" "0203" "025446" "0146")
        + QByteArray::fromHex("0141" "027F") + QByteArray::fromHex("0142" "038000")
        + QByteArray::fromHex("0143" "0470110100") + QByteArray::fromHex("0144" "1300F2052A01000000")
        + QByteArray::fromHex("0145" "03FF00") + QByteArray::fromHex("00")
        + QByteArray::fromHex("02545800" "0000") + QByteArray::fromHex("00");
    EXPECT_EQ(bin.toHex(' '), expected.toHex(' '));
}

TEST(FormStreams, StringKindsInBinary)
{
    using namespace KvFormBinary;
    const QByteArray longAscii(300, 'a');
    const QByteArray bin = ObjectTextToBinary("object A: TA\n  S = 'abc'\n  L = '" + longAscii
                                              + "'\n  W = 'x'#1080\n  R = 'caf\xE9'\nend\n");
    TBinaryReader r(bin);
    r.ReadSignature();
    r.ReadHeader();
    EXPECT_EQ(r.ReadStr(), "S");
    EXPECT_EQ(r.NextValue(), vaString);
    EXPECT_EQ(r.ReadAnsiString(), "abc");
    EXPECT_EQ(r.ReadStr(), "L");
    EXPECT_EQ(r.NextValue(), vaLString);
    EXPECT_EQ(r.ReadAnsiString(), longAscii);
    EXPECT_EQ(r.ReadStr(), "W");
    EXPECT_EQ(r.NextValue(), vaUTF8String);
    EXPECT_EQ(r.ReadWideString(), QString::fromUtf16(u"x\u0438"));
    EXPECT_EQ(r.ReadStr(), "R");
    EXPECT_EQ(r.NextValue(), vaString); // raw bytes keep their bytes
    EXPECT_EQ(r.ReadAnsiString(), "caf\xE9");
}

TEST(FormStreams, TextVariantsNormalise)
{
    // What designers accept on input but never write.
    EXPECT_EQ(Value("'it''s'"), "'it'#39's'");
    EXPECT_EQ(Value("'ab' +\n    'cd' + #13#10"), "'abcd'#13#10");
    EXPECT_EQ(Value("$7FFFFFFF"), "2147483647");
    EXPECT_EQ(Value("$FFFFFFFFFFFFFFFF"), "-1");
    EXPECT_EQ(Value("true"), "True");
    EXPECT_EQ(Value("NIL"), "nil");
    EXPECT_EQ(Value("Form2.Button1"), "Form2.Button1");
    EXPECT_EQ(Value("#$41#$0042"), "'AB'");
    EXPECT_EQ(Value("#128512"), "#55357#56832");
    EXPECT_EQ(Value("{ 0a 0B\n   0c }"), "{0A0B0C}");
    EXPECT_EQ(Value("1.5f"), "1.500000000000000000");
    EXPECT_EQ(Value("1e-30"), "1E-30");
    EXPECT_EQ(Value("-0.0"), "0.000000000000000000");
    EXPECT_EQ(Value("0.1s"), "0.100000001490116s");
    EXPECT_EQ(Value("1.23456789012345678e-5"), "0.000012345678901235");
    EXPECT_EQ(Value("[ a , b ]"), "[a, b]");
    EXPECT_EQ(Value("['b', #66666]"), "[#98, #55297]"); // a string stands for its first UTF-16 unit
    EXPECT_EQ(Value("[#98, #55297]"), "[#98, #55297]");
    EXPECT_EQ(Canonical("object A:TA\r\nP . Q=1 end"), "object A: TA\n  P.Q = 1\nend\n");
    EXPECT_EQ(Canonical("\xEF\xBB\xBFobject TA\nend"), "object TA\nend\n");
}

TEST(FormStreams, TextErrorsNameLineAndColumn)
{
    struct Case
    {
        const char* Text;
        int Line;
        int Column;
        const char* Reason;
    };
    const Case cases[] = {
        {"", 1, 1, "'object', 'inherited' or 'inline' expected but end of file found"},
        {"object A: TA\n  Caption 'x'\nend\n", 2, 11, "'=' expected but string found"},
        {"object A: TA\r\n  Caption = 'x\r\nend\r\n", 2, 13, "Unterminated string"},
        {"object A: TA\n  Left = 12abc\nend\n", 2, 10, "Invalid number"},
        {"object A: TA\n  Left = 99999999999999999999\nend\n", 2, 10, "Invalid integer value"},
        {"object A: TA\n  Data = {0A0}\nend\n", 2, 14, "odd number of hex digits"},
        {"object A: TA\n  Data = {0X}\nend\n", 2, 12, "Invalid binary value"},
        {"object A: TA\n  Items = <\n    itm\n  end>\nend\n", 3, 5, "'item' expected"},
        {"object A: TA\n  L = (1 2\nend\n", 4, 1, "')' expected but end of file found"},
        {"object A: TA\n  L = (1 Null)\nend\n", 2, 10, "Null cannot be an element of a list"},
        {"object A: TA\n  S = [a b]\nend\n", 2, 10, "',' expected"},
        {"object A: TA\n  S = 'a' + 1\nend\n", 2, 13, "String expected"},
        {"object A: TA\n  X = #99999999\nend\n", 2, 7, "Invalid character code"},
        {"object A: TA\nend\nobject B: TB\nend\n", 3, 1, "End of file expected"},
        {"object A: TA\n  object B: TB\n", 3, 1, "'end' expected but end of file found"},
        {"object A: TA\n  P = @\nend\n", 2, 7, "Property value expected but '@' found"},
        // Values that fit an extended but not the single or date they are meant for.
        {"object A: TA\n  S = 1e39s\nend\n", 2, 7, "Floating point value out of range"},
        {"object A: TA\n  D = -1e309d\nend\n", 2, 7, "Floating point value out of range"},
    };
    for (const Case& c : cases) {
        try {
            ObjectTextToBinary(c.Text);
            ADD_FAILURE() << "no error for: " << c.Text;
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Line, c.Line) << c.Text;
            EXPECT_EQ(e.Column, c.Column) << c.Text;
            EXPECT_TRUE(e.Reason.contains(QString::fromLatin1(c.Reason))) << c.Text << " -> " << e.what();
        }
    }
    // Deep nesting is refused, not recursed into without limit.
    QByteArray deep = "object A: TA\n  L = " + QByteArray(100000, '(') + "\nend\n";
    EXPECT_THROW(ObjectTextToBinary(deep), EParserError);
}

TEST(FormStreams, CorruptBinaryRaisesWithOffset)
{
    const QByteArray bin = ObjectTextToBinary(ReadFile(QStringLiteral(KV_TEST_DATA "/forms/Main.dfm")));
    // Every truncation fails cleanly.
    for (qsizetype n = 0; n < bin.size(); ++n) {
        try {
            ObjectBinaryToText(bin.left(n));
            ADD_FAILURE() << "truncated at " << n << " was accepted";
        } catch (const EReadError& e) {
            EXPECT_GE(e.Offset, 0);
            EXPECT_LE(e.Offset, n);
        }
    }
    QByteArray bad = ObjectTextToBinary("object A: TA\n  P = 1\nend\n");
    bad[bad.indexOf("\x01P") + 2] = char(77);
    try {
        ObjectBinaryToText(bad);
        ADD_FAILURE();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Offset, bad.indexOf(char(77)));
        EXPECT_TRUE(e.Message.contains(QStringLiteral("Invalid value type 77")));
    }
    // A length that claims more than the stream holds is refused before anything is allocated.
    QByteArray huge = QByteArray("TPF0") + QByteArray::fromHex("02544101410AFFFFFF7F");
    EXPECT_THROW(ObjectBinaryToText(huge), EReadError);
    EXPECT_THROW(ObjectBinaryToText("XXXX"), EReadError);
}

// A form with one property whose value `value` writes.
template <class F>
QByteArray OneProperty(F&& value, QByteArrayView property = "P", QByteArrayView className = "TA",
                       QByteArrayView objectName = "A")
{
    KvFormBinary::TBinaryWriter w;
    w.WriteSignature();
    w.WriteStr(className);
    w.WriteStr(objectName);
    w.WriteStr(property);
    value(w);
    w.WriteListEnd();
    w.WriteListEnd();
    return w.Take();
}

TEST(FormStreams, BinaryValuesAtTheLimitsLoadAgainAsText)
{
    using namespace KvFormBinary;
    const std::function<void(TBinaryWriter&)> values[] = {
        [](TBinaryWriter& w) { w.WriteExtended(1e-4940L); }, // subnormal
        [](TBinaryWriter& w) { w.WriteExtended(-std::numeric_limits<long double>::max()); },
        [](TBinaryWriter& w) { w.WriteExtended(-5e-19L); }, // just under 5E-19: zero at 18 decimals
        [](TBinaryWriter& w) { w.WriteDate(std::numeric_limits<double>::max()); },
        [](TBinaryWriter& w) { w.WriteDate(std::numeric_limits<double>::denorm_min()); },
        [](TBinaryWriter& w) { w.WriteSingle(std::numeric_limits<float>::max()); },
        [](TBinaryWriter& w) { w.WriteCurrencyRaw(std::numeric_limits<qint64>::min()); },
        [](TBinaryWriter& w) { w.WriteCurrencyRaw(std::numeric_limits<qint64>::max()); },
    };
    for (const auto& value : values) {
        const QByteArray text = ObjectBinaryToText(OneProperty(value), TLineBreak::LF);
        try {
            EXPECT_EQ(Canonical(text), text);
        } catch (const Exception& e) {
            ADD_FAILURE() << text.toStdString() << " -> " << e.what();
        }
    }
    EXPECT_EQ(Value("-9223372036854775808c"), "-9223372036854775808c");
    const QByteArray subnormal = Value("1e-4940");
    EXPECT_TRUE(subnormal.startsWith("9.99") && subnormal.endsWith("E-4941")) << subnormal.toStdString();
    EXPECT_EQ(Value(subnormal), subnormal);
    EXPECT_THROW(ObjectTextToBinary("object A: TA\n  M = 9223372036854775808c\nend\n"), EParserError);
}

TEST(FormStreams, BinaryTextCannotHoldIsRefused)
{
    using namespace KvFormBinary;
    const auto ident = [](QByteArrayView s) { return [s](TBinaryWriter& w) { w.WriteValue(vaIdent); w.WriteStr(s); }; };
    const auto set = [](QByteArrayView s) { return [s](TBinaryWriter& w) { w.WriteValue(vaSet); w.WriteStr(s); w.WriteStr({}); }; };
    const auto inList = [](auto element) { return [element](TBinaryWriter& w) { w.WriteListBegin(); element(w); w.WriteListEnd(); }; };
    const auto one = [](TBinaryWriter& w) { w.WriteInteger(1); };
    const QByteArray refused[] = {
        OneProperty(one, "End"), OneProperty(one, "object.Visible"), OneProperty(one, "a b"), OneProperty(one, ""),
        OneProperty(one, "Font..Name"), OneProperty(one, "P", "T A"), OneProperty(one, "P", QByteArray(240, 'T')),
        OneProperty(one, "P", "TA", "A.B"), OneProperty(ident("1x")), OneProperty(ident("Form1.")),
        OneProperty(set("a b")), OneProperty(set("#0065")), OneProperty(set("'a'")), OneProperty(set("1.5")),
        OneProperty(inList(ident("nuLL"))), // vaNull itself would end the list
    };
    for (const QByteArray& bin : refused) {
        try {
            const QByteArray text = ObjectBinaryToText(bin);
            ADD_FAILURE() << "accepted: " << text.toStdString();
        } catch (const EReadError& e) {
            EXPECT_GE(e.Offset, 4) << e.what(); // past the signature
        }
    }
    // Close calls that are fine.
    EXPECT_EQ(ObjectBinaryToText(OneProperty(ident("faLSE")), TLineBreak::LF), "object A: TA\n  P = False\nend\n");
    for (const char* element : {"#65", "-5", "$1F", "_x9"})
        EXPECT_NO_THROW(ObjectBinaryToText(OneProperty(set(element)))) << element;
    EXPECT_EQ(Canonical("object A: TA\n  C = <\n    item\n      Object = 1\n    end>\nend\n"),
              "object A: TA\n  C = <\n    item\n      Object = 1\n    end>\nend\n");
}

TEST(FormStreams, ResourceWrapping)
{
    const QByteArray text = "object FrmMain: TFrmMain\nend\n";
    const QByteArray res = ObjectTextToResource(text);
    const QByteArray bin = ObjectTextToBinary(text);
    const QByteArray header = QByteArray::fromHex("FF0A00") + "TFRMMAIN" + QByteArray::fromHex("003010")
        + QByteArray::fromHex(QByteArray::number(bin.size(), 16).rightJustified(2, '0')) + QByteArray::fromHex("000000");
    EXPECT_EQ(res.toHex(' '), (header + bin).toHex(' '));
    EXPECT_EQ(ObjectResourceToBinary(res), bin);
    EXPECT_THROW(ObjectResourceToText(res.left(res.size() - 1)), EReadError);
    EXPECT_THROW(ObjectResourceToText(QByteArray::fromHex("FF0B00")), EReadError);

    // Writing back keeps the format the form came in; unknown becomes binary.
    TStreamOriginalFormat format = TStreamOriginalFormat::sofText;
    EXPECT_EQ(ObjectTextToResource(text, format), text);
    format = TStreamOriginalFormat::sofUnknown;
    EXPECT_EQ(ObjectTextToResource(text, format), res);
    EXPECT_EQ(format, TStreamOriginalFormat::sofBinary);
    format = TStreamOriginalFormat::sofText;
    EXPECT_THROW(ObjectTextToResource("object A: TA\n", format), EParserError);
}

TEST(FormStreams, FormatDetection)
{
    EXPECT_EQ(TestStreamFormat("TPF0\x00"), TStreamOriginalFormat::sofBinary);
    EXPECT_EQ(TestStreamFormat("\xFF\x0A\x00"), TStreamOriginalFormat::sofBinary);
    EXPECT_EQ(TestStreamFormat("object A: TA"), TStreamOriginalFormat::sofText);
    EXPECT_EQ(TestStreamFormat("Inherited A: TA"), TStreamOriginalFormat::sofText);
    EXPECT_EQ(TestStreamFormat("\r\nobject"), TStreamOriginalFormat::sofText);
    EXPECT_EQ(TestStreamFormat("\xEF\xBB\xBFobject"), TStreamOriginalFormat::sofText);
    EXPECT_EQ(TestStreamFormat(QByteArray("\xFF\xFEo\0", 4)), TStreamOriginalFormat::sofText); // UTF-16, not a resource
    EXPECT_EQ(TestStreamFormat(QByteArray("\xFE\xFF\0o", 4)), TStreamOriginalFormat::sofText);
    EXPECT_EQ(TestStreamFormat("unit Unit1;"), TStreamOriginalFormat::sofUnknown);
    EXPECT_EQ(TestStreamFormat(""), TStreamOriginalFormat::sofUnknown);
}

TEST(FormStreams, ExtendedPrecisionSurvivesBinary)
{
    using namespace KvFormBinary;
    for (long double v : {0.0L, 1.0L, -2.5L, 1e-4940L, 1.18973149535723176502e+4932L, 0.1L, 3.141592653589793238L}) {
        unsigned char buf[10];
        LongDoubleToExtended80(v, buf);
        EXPECT_EQ(Extended80ToLongDouble(buf), v);
    }
    // 1.0 is 3FFF 8000000000000000 as the classic compilers store it.
    unsigned char one[10];
    LongDoubleToExtended80(1.0L, one);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(one), 10).toHex(), "0000000000000080ff3f");
}

namespace {

// The kind and bytes of the first property value of a binary form.
std::pair<KvFormBinary::TValueType, QByteArray> FirstValue(const QByteArray& binary)
{
    KvFormBinary::TBinaryReader r(binary);
    r.ReadSignature();
    r.ReadHeader();
    r.ReadStr();
    const KvFormBinary::TValueType type = r.NextValue();
    const qint64 at = r.Position();
    r.SkipValue();
    return {type, binary.mid(at, r.Position() - at)};
}

QByteArray Form(const QByteArray& value) { return "object A: TA\n  V = " + value + "\nend\n"; }

} // namespace

TEST(FormStreams, StringsKeepTheirBytesOrBecomeUtf8)
{
    using namespace KvFormBinary;
    struct Case
    {
        QByteArray Text;
        TValueType Kind;
        QByteArray Data;  // the value in binary after its tag
        QByteArray Back;  // written back; empty when the same
    };
    const Case cases[] = {
        {"'\xC4\xE3\xBA\xC3'", vaString, QByteArray("\x04\xC4\xE3\xBA\xC3"), {}}, // GBK, never decoded
        {"'Gr\xF6\xDF" "e'#13#10'x'", vaString, QByteArray("\x08Gr\xF6\xDF" "e\r\nx"), {}}, // Windows-1252 with codes
        {"#20320#22909", vaUTF8String, QByteArray("\x06\0\0\0\xE4\xBD\xA0\xE5\xA5\xBD", 10), {}},
        {"'Gr'#246#223'e'", vaUTF8String, QByteArray("\x07\0\0\0Gr\xC3\xB6\xC3\x9F" "e", 11), {}},
        {"#55357#56832", vaUTF8String, QByteArray("\x04\0\0\0\xF0\x9F\x98\x80", 8), {}}, // a pair joined
        {"#65279'x'", vaUTF8String, QByteArray("\x04\0\0\0\xEF\xBB\xBFx", 8), {}},        // not taken for a mark
        {"'x'#55357", vaWString, QByteArray("\x02\0\0\0x\0\x3D\xD8", 8), {}},            // alone: UTF-16 holds it
        // Raw bytes in a string that also has characters are read as Windows-1252.
        {"'\xE9'#8364", vaUTF8String, QByteArray("\x05\0\0\0\xC3\xA9\xE2\x82\xAC", 9), "#233#8364"},
    };
    for (const Case& c : cases) {
        const QByteArray binary = ObjectTextToBinary(Form(c.Text));
        const auto [kind, data] = FirstValue(binary);
        EXPECT_EQ(kind, c.Kind) << c.Text.toStdString();
        EXPECT_EQ(data.mid(1).toHex(' '), c.Data.toHex(' ')) << c.Text.toStdString();
        EXPECT_EQ(ObjectBinaryToText(binary, TLineBreak::LF), Form(c.Back.isEmpty() ? c.Text : c.Back));
    }
}

TEST(FormStreams, CodePageDecodesRawStringsWhenAsked)
{
    using namespace KvFormBinary;
    const TCodePage gbk(QStringLiteral("GBK"));
    const QByteArray raw = Form("'\xC4\xE3\xBA\xC3!'");
    // Text to binary: raw bytes become a UTF-8 string.
    const QByteArray utf8 = ObjectTextToBinary(raw, nullptr, &gbk);
    EXPECT_EQ(FirstValue(utf8).first, vaUTF8String);
    EXPECT_EQ(ObjectBinaryToText(utf8, TLineBreak::LF), Form("#20320#22909'!'"));
    // Binary to text: an 8-bit string is written as characters in the current style only.
    const QByteArray kept = ObjectTextToBinary(raw);
    EXPECT_EQ(ObjectBinaryToText(kept, TFormTextFormat{TLineBreak::LF}, &gbk), Form("#20320#22909'!'"));
    EXPECT_EQ(ObjectBinaryToText(kept, TFormTextFormat{TLineBreak::LF, TFormTextStyle::Legacy}, &gbk), raw);

    EXPECT_EQ(TCodePage().Decode("\x80\xE9"), QString::fromUtf16(u"\u20AC\u00E9"));
    bool lossless = false;
    EXPECT_EQ(gbk.Encode(u"\u4F60\u597D", &lossless), "\xC4\xE3\xBA\xC3");
    EXPECT_TRUE(lossless);
    TCodePage(QStringLiteral("Shift_JIS")).Encode(u"\u4F60\u0E01", &lossless); // Thai is not in it
    EXPECT_FALSE(lossless);
    try {
        TCodePage bad(QStringLiteral("cp-nonsense"));
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_TRUE(e.Message.contains(QStringLiteral("Unknown code page 'cp-nonsense'"))) << e.what();
    }
    EXPECT_TRUE(TCodePage::IsKnown(QStringLiteral("windows-1251")));
}

TEST(FormStreams, WritingStylesAreDetectedAndReproduced)
{
    const QByteArray legacy = "object A: TA\n  X = 105.833333333333\n  Y = 476.25\n  Z = 1.3\n  N = -2.5E-7\nend\n";
    const QByteArray current = "object A: TA\n  X = 105.833333333333000000\n  Y = 476.250000000000000000\n"
                               "  Z = 1.300000000000000000\n  N = -0.000000250000000000\nend\n";
    TFormTextFormat found;
    const QByteArray binary = ObjectTextToBinary(legacy, &found);
    EXPECT_EQ(found.Style, TFormTextStyle::Legacy);
    EXPECT_EQ(found.LineBreak, TLineBreak::LF);
    EXPECT_EQ(ObjectBinaryToText(binary, TLineBreak::LF, TFormTextStyle::Legacy), legacy);
    EXPECT_EQ(ObjectBinaryToText(binary, TLineBreak::LF), current);
    ObjectTextToBinary(QByteArray(current).replace("\n", "\r\n"), &found);
    EXPECT_EQ(found.Style, TFormTextStyle::Current);
    EXPECT_EQ(found.LineBreak, TLineBreak::CRLF);
    // Without floats, raw 8-bit strings tell an older designer.
    ObjectTextToBinary(Form("'caf\xE9'"), &found);
    EXPECT_EQ(found.Style, TFormTextStyle::Legacy);
    ObjectTextToBinary(Form("'caf'#233"), &found);
    EXPECT_EQ(found.Style, TFormTextStyle::Current);
    // The largest extended still reads back after rounding to 15 digits.
    const QByteArray big = ObjectBinaryToText(ObjectTextToBinary(Form("1.18973149535723176e4932")), TLineBreak::LF,
                                              TFormTextStyle::Legacy);
    EXPECT_EQ(big, Form("1.18973149535723E4932"));
    EXPECT_NO_THROW(ObjectTextToBinary(big));
}

TEST(FormStreams, UnicodeTextFormsAreReadAndWrittenBack)
{
    const QByteArray ascii = "object A: TA\r\n  Caption = 'Gr'#246#223'e'\r\nend\r\n";
    const QByteArray binary = ObjectTextToBinary(ascii);
    const QString text = QString::fromLatin1(ascii);
    const QByteArray utf16le = QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QByteArray utf16be = utf16le;
    for (qsizetype i = 0; i < utf16be.size(); i += 2)
        std::swap(utf16be[i], utf16be[i + 1]);
    for (const QByteArray& form : {utf16le, utf16be, "\xEF\xBB\xBF" + ascii}) {
        TFormTextFormat found;
        EXPECT_EQ(ObjectTextToBinary(form, &found), binary);
        EXPECT_EQ(ObjectBinaryToText(binary, found), form); // in the encoding it came in
    }
    // In Unicode text, characters may stand in strings as they are; raw bytes must be UTF-8.
    const QByteArray raw = ObjectTextToBinary("\xEF\xBB\xBFobject A: TA\r\n  Caption = 'Gr\xC3\xB6\xC3\x9F" "e'\r\nend\r\n");
    EXPECT_EQ(raw, binary);
    try {
        ObjectTextToBinary("\xEF\xBB\xBFobject A: TA\n  C = 'ab\xE9'\nend\n");
        ADD_FAILURE();
    } catch (const EParserError& e) {
        EXPECT_EQ(e.Line, 2);
        EXPECT_EQ(e.Column, 10);
    }
    EXPECT_THROW(ObjectTextToBinary(utf16le.left(utf16le.size() - 1)), EParserError);
}

TEST(FormStreams, RawBytesInNamesAndTrailingDataAreRefused)
{
    // A name in UTF-8 letters is a name; Windows-1252 bytes are not.
    const QByteArray unicodeName = "object Gr\xC3\xB6\xC3\x9F" "e: TA\n  \xC3\x84nderung = 1\nend\n";
    EXPECT_EQ(Canonical(unicodeName), unicodeName);
    try {
        ObjectTextToBinary("object A: TA\n  Gr\xF6\xDF" "e = 1\nend\n");
        ADD_FAILURE();
    } catch (const EParserError& e) {
        EXPECT_EQ(e.Line, 2);
        EXPECT_EQ(e.Column, 3);
    }
    const auto one = [](KvFormBinary::TBinaryWriter& w) { w.WriteInteger(1); };
    for (const QByteArray& bin : {OneProperty(one, "P", "TA", "B\xE9"), OneProperty(one, "P\xE9"),
                                  OneProperty(one, "P", "T\xC3")}) {
        try {
            ObjectBinaryToText(bin);
            ADD_FAILURE();
        } catch (const EReadError& e) {
            EXPECT_GE(e.Offset, 4);
        }
    }
    // Junk after the form: refused at its first byte, in a stream and in a resource.
    const QByteArray text = "object A: TA\nend\n";
    for (const QByteArray& form : {ObjectTextToBinary(text), ObjectTextToResource(text)}) {
        try {
            ObjectResourceToText(form + "junk");
            ADD_FAILURE();
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Offset, ObjectTextToBinary(text).size()); // from the start of the stream
        }
    }
}
