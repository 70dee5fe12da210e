#include "KvPkgVars.h"
#include "KvUtils.h"
#include "SysUtils.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <random>

namespace {

bool SameBits(double A, double B) { return std::memcmp(&A, &B, sizeof A) == 0; }

} // namespace

// Text and back gives the very same double, at the limits and on random bit patterns.
TEST(KvVarValues, FloatTextReadsBackExactly)
{
    std::vector<double> values = {0.0,     -0.0,     1.0,      -1.0,     0.1,      1.0 / 3,  M_PI,
                                  DBL_MAX, -DBL_MAX, DBL_MIN,  -DBL_MIN, DBL_EPSILON, 1e15,  1e16,
                                  1e-5,    1e-4,     9007199254740993.0, 123456789.125, std::nextafter(1.0, 2.0),
                                  std::numeric_limits<double>::denorm_min()};
    std::mt19937_64 random(15);
    while (values.size() < 20000) {
        const quint64 bits = random();
        double v = 0;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v))
            values.push_back(v);
    }
    for (double v : values)
        for (QChar separator : {u'.', u','}) {
            const QString text = KvCNumericToStr(v, separator);
            double back = 0;
            ASSERT_NO_THROW(back = KvCStrToNumeric(text, separator)) << text.toStdString();
            ASSERT_TRUE(SameBits(back, v)) << text.toStdString();
        }
}

TEST(KvVarValues, FloatTexts)
{
    const std::pair<double, const char*> Written[] = {{0.1, "0.1"},  {-2.5, "-2.5"},   {1e-5, "1E-5"},
                                                      {1e300, "1E300"}, {-0.0, "-0"}, {123456.0, "123456"},
                                                      {1.5e-10, "1.5E-10"}};
    for (const auto& [value, text] : Written)
        EXPECT_EQ(KvCNumericToStr(value), QString::fromLatin1(text)) << text;
    EXPECT_EQ(KvCNumericToStr(0.25, u','), QStringLiteral("0,25"));
    EXPECT_THROW(KvCNumericToStr(NAN), EConvertError);
    EXPECT_THROW(KvCNumericToStr(-INFINITY), EConvertError);

    const std::pair<const char*, double> Read[] = {{"+1.5", 1.5}, {".5", 0.5},       {"5.", 5.0},
                                                   {"1e3", 1000}, {"1E+03", 1000}, {"-7E-1", -0.7}};
    for (const auto& [text, value] : Read)
        EXPECT_EQ(KvCStrToNumeric(QString::fromLatin1(text)), value) << text;
    EXPECT_TRUE(std::signbit(KvCStrToNumeric(QStringLiteral("-0"))));
    EXPECT_EQ(KvCStrToNumeric(QStringLiteral("-1,25"), u','), -1.25);

    for (const char* text : {"", " 1", "1 ", "1.2.3", "1,5", "inf", "nan", "NaN", "0x10", "1e", "e5", ".", "-",
                             "+", "1e+", "1e999", "-1e999", "--1", "1,000.5", "$10", "1.5x"})
        EXPECT_THROW(KvCStrToNumeric(QString::fromLatin1(text)), EConvertError) << text;
    EXPECT_THROW(KvCStrToNumeric(QStringLiteral("1.5"), u','), EConvertError);
}

// Every type of variable takes back the text it gives, and refuses other text with its value kept.
TEST(KvVarValues, EveryTypeTakesItsOwnText)
{
    TKvPkgVars pkg;
    TKvPkgVarsItem* b = pkg.Add(QStringLiteral("A\\Bool"), vtBoolean);
    TKvPkgVarsItem* i = pkg.Add(QStringLiteral("A\\Int"), vtInteger);
    TKvPkgVarsItem* f = pkg.Add(QStringLiteral("A\\Float"), vtFloat);
    TKvPkgVarsItem* s = pkg.Add(QStringLiteral("A\\String"), vtString);

    EXPECT_EQ(b->ValueText(), QStringLiteral("False"));
    b->SetValueText(QStringLiteral("tRUE"));
    EXPECT_TRUE(b->GetVBoolean());
    EXPECT_EQ(b->ValueText(), QStringLiteral("True"));
    b->SetValueText(b->ValueText());
    EXPECT_TRUE(b->GetVBoolean());

    for (qint32 v : {INT_MIN, INT_MIN + 1, -1, 0, 1, INT_MAX}) {
        i->SetValueText(QString::number(v));
        EXPECT_EQ(i->GetVInteger(), v);
        EXPECT_EQ(i->ValueText(), QString::number(v));
    }
    i->SetValueText(QStringLiteral("+42"));
    EXPECT_EQ(i->GetVInteger(), 42);

    for (double v : {0.0, -DBL_MAX, 0.1, std::numeric_limits<double>::denorm_min()})
        for (QChar separator : {u'.', u','}) {
            f->SetValueText(KvCNumericToStr(v, separator), separator);
            EXPECT_TRUE(SameBits(f->GetVFloat(), v));
            EXPECT_EQ(f->ValueText(separator), KvCNumericToStr(v, separator));
        }

    for (const QString& v : {QString(), QStringLiteral(" spaced \"quoted\" "), QStringLiteral("ñ\\€\n2")}) {
        s->SetValueText(v);
        EXPECT_EQ(s->GetVString(), v);
        EXPECT_EQ(s->ValueText(), v);
    }

    f->SetVFloat(2.5);
    pkg.SetModified(false);
    const std::pair<TKvPkgVarsItem*, const char*> Refused[] = {
        {b, "yes"},         {b, "1"},           {b, " true"},     {b, ""},    {i, "1.5"},  {i, "$10"},
        {i, "0x10"},        {i, " 1"},          {i, ""},          {i, "-"},   {i, "2147483648"},
        {i, "-2147483649"}, {i, "99999999999999999999"},         {i, "1e3"}, {f, "1,5"}, {f, "abc"},
        {f, ""}};
    for (const auto& [item, text] : Refused) {
        const QString before = item->ValueText();
        EXPECT_THROW(item->SetValueText(QString::fromLatin1(text)), EConvertError) << text;
        EXPECT_EQ(item->ValueText(), before) << text;
    }
    EXPECT_FALSE(pkg.Modified());
    EXPECT_EQ(pkg.Find(QStringLiteral("A"))->ValueText(), QString());
    EXPECT_THROW(pkg.Find(QStringLiteral("A"))->SetValueText(QStringLiteral("1")), EConvertError);
}

// Lookups and sibling walks stay right while items are renamed, deleted and read back.
TEST(KvVarValues, TreeLookupsFollowRenamesAndDeletions)
{
    TKvPkgVars pkg;
    for (int i = 0; i < 300; ++i)
        pkg.Add(QStringLiteral("Big\\V%1").arg(i), vtInteger)->SetVInteger(i);
    TKvPkgVarsItem* big = pkg.Find(QStringLiteral("big"));
    ASSERT_TRUE(big);
    TKvPkgVarsItem* v5 = pkg.Find(QStringLiteral("BIG\\v5"));
    ASSERT_TRUE(v5);
    EXPECT_EQ(v5->Next(), big->Items(6));

    v5->SetIdent(QStringLiteral("Renamed"));
    EXPECT_FALSE(pkg.Find(QStringLiteral("Big\\V5")));
    EXPECT_EQ(pkg.Find(QStringLiteral("Big\\RENAMED")), v5);
    EXPECT_THROW(v5->SetIdent(QStringLiteral("v6")), EKvPkgError);
    EXPECT_EQ(pkg.Find(QStringLiteral("Big\\Renamed")), v5);
    EXPECT_THROW(pkg.Add(QStringLiteral("Big\\renamed"), vtString), EKvPkgError);

    delete big->Items(0);
    delete pkg.Find(QStringLiteral("Big\\V150"));
    EXPECT_FALSE(pkg.Find(QStringLiteral("Big\\V0")));
    pkg.Add(QStringLiteral("Big\\V0"), vtBoolean); // the name is free again, at the end
    int walked = 0;
    for (TKvPkgVarsItem* item = big->FirstChild(); item; item = item->Next(), ++walked)
        ASSERT_EQ(item, big->Items(walked));
    EXPECT_EQ(walked, 299);
    EXPECT_EQ(big->Items(298)->GetItemType(), vtBoolean);

    TKvPkgVars back;
    back.LoadFromBytes(pkg.SaveToBytes(), QStringLiteral("memory"));
    EXPECT_EQ(back.Find(QStringLiteral("big\\renamed"))->GetVInteger(), 5);
    EXPECT_EQ(back.Find(QStringLiteral("Big\\V299"))->Next(), back.Find(QStringLiteral("Big\\V0")));
    back.Clear();
    EXPECT_FALSE(back.Find(QStringLiteral("Big")));
    back.Add(QStringLiteral("Big\\V1"), vtFloat);
    EXPECT_TRUE(back.Find(QStringLiteral("BIG\\V1")));
}
