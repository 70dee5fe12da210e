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

// Text to binary and back, compared line by line so that a failure shows the first differing line.
void ExpectRoundTrip(const QByteArray& text, TLineBreak lineBreak, const QString& what)
{
    const QByteArray back = ObjectBinaryToText(ObjectTextToBinary(text), lineBreak);
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
        const QByteArray resource = ObjectTextToResource(text);
        EXPECT_EQ(ObjectResourceToText(resource), text) << file.toStdString();
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
                                              + "'\n  W = 'x'#1080\nend\n");
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
    EXPECT_EQ(r.NextValue(), vaWString);
    EXPECT_EQ(r.ReadWideString(), QString::fromUtf16(u"x\u0438"));
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
    EXPECT_EQ(Value("'caf\xC3\xA9'"), "'caf'#233");
    EXPECT_EQ(Value("'\xE9'"), "#233"); // not UTF-8: the byte stands for itself
    EXPECT_EQ(Value("#128512"), "#55357#56832");
    EXPECT_EQ(Value("{ 0a 0B\n   0c }"), "{0A0B0C}");
    EXPECT_EQ(Value("1.5f"), "1.500000000000000000");
    EXPECT_EQ(Value("1e-30"), "1E-30");
    EXPECT_EQ(Value("-0.0"), "0.000000000000000000");
    EXPECT_EQ(Value("0.1s"), "0.100000001490116s");
    EXPECT_EQ(Value("1.23456789012345678e-5"), "0.000012345678901235");
    EXPECT_EQ(Value("[ a , b ]"), "[a, b]");
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
