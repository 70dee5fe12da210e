#include "SysUtils.h"
#include "Variants.h"

#include <QVariant>
#include <gtest/gtest.h>

namespace {

template <class F>
std::string ConvertErrorOf(F&& Action)
{
    try {
        Action();
    } catch (const EConvertError& Error) {
        return Error.Message.toStdString();
    }
    return "<no exception>";
}

QDateTime At(int Y, int M, int D, int H = 0, int Min = 0, int S = 0, int Ms = 0)
{
    return QDateTime(QDate(Y, M, D), QTime(H, Min, S, Ms));
}

} // namespace

static void PrintTo(const Variant& V, std::ostream* Out)
{
    *Out << V.VarTypeName().toStdString();
    if (!V.IsNull())
        *Out << "(" << V.AsString().toStdString() << ")";
}

TEST(Variants, StringsConvertLikeDelphi)
{
    EXPECT_EQ(Variant("12").AsInteger(), 12);
    EXPECT_EQ(Variant(" -7 ").AsInteger(), -7);
    EXPECT_EQ(Variant("$1F").AsInteger(), 31);
    EXPECT_EQ(Variant("2.5").AsInteger(), 2);
    EXPECT_DOUBLE_EQ(Variant("1.5e3").AsFloat(), 1500.0);
    EXPECT_TRUE(Variant("TRUE").AsBoolean());
    EXPECT_FALSE(Variant("false").AsBoolean());
    EXPECT_TRUE(Variant("2").AsBoolean());
    EXPECT_EQ(ConvertErrorOf([] { Variant("abc").AsInteger(); }),
              "Could not convert variant of type (String) into type (Int64)");
    EXPECT_EQ(ConvertErrorOf([] { Variant("abc").AsFloat(); }),
              "Could not convert variant of type (String) into type (Double)");
    EXPECT_EQ(ConvertErrorOf([] { Variant("yes").AsBoolean(); }),
              "Could not convert variant of type (String) into type (Boolean)");
    EXPECT_EQ(ConvertErrorOf([] { Variant("2000-13-01").AsDate(); }),
              "Could not convert variant of type (String) into type (Date)");
}

TEST(Variants, NumbersAndBooleans)
{
    // Half to even, as Delphi rounds.
    EXPECT_EQ(Variant(2.5).AsInteger(), 2);
    EXPECT_EQ(Variant(3.5).AsInteger(), 4);
    EXPECT_EQ(Variant(-2.5).AsInteger(), -2);
    EXPECT_EQ(Variant(-2.6).AsInteger(), -3);
    EXPECT_EQ(ConvertErrorOf([] { Variant(1e19).AsInteger(); }),
              "Could not convert variant of type (Double) into type (Int64)");
    EXPECT_EQ(Variant(qint64(1) << 40).AsInteger(), qint64(1) << 40);
    EXPECT_EQ(Variant(true).AsInteger(), 1);
    EXPECT_EQ(Variant(0.0).AsBoolean(), false);

    EXPECT_EQ(Variant(0.1).AsString(), QStringLiteral("0.1"));
    EXPECT_EQ(Variant(1e20).AsString(), QStringLiteral("1E20"));
    EXPECT_EQ(Variant(-1.5e-7).AsString(), QStringLiteral("-1.5E-7"));
    EXPECT_EQ(Variant(123456789012345.0).AsString(), QStringLiteral("123456789012345"));
    EXPECT_EQ(Variant(false).AsString(), QStringLiteral("False"));
    EXPECT_EQ(Variant(-42).AsString(), QStringLiteral("-42"));
}

TEST(Variants, UnassignedAndNull)
{
    const Variant Empty;
    EXPECT_TRUE(Empty.IsEmpty());
    EXPECT_EQ(Empty.AsInteger(), 0);
    EXPECT_EQ(Empty.AsString(), QString());
    EXPECT_FALSE(Empty.AsBoolean());
    EXPECT_EQ(Empty.AsFloat(), 0.0);

    const Variant Null = Variant::Null();
    EXPECT_TRUE(Null.IsNull());
    EXPECT_EQ(ConvertErrorOf([&] { Null.AsInteger(); }), "Could not convert variant of type (Null) into type (Int64)");
    EXPECT_EQ(ConvertErrorOf([&] { Null.AsString(); }), "Could not convert variant of type (Null) into type (String)");
    EXPECT_EQ(ConvertErrorOf([&] { Null.AsBoolean(); }), "Could not convert variant of type (Null) into type (Boolean)");
    EXPECT_EQ(ConvertErrorOf([&] { Null.AsDateTime(); }), "Could not convert variant of type (Null) into type (Date)");
}

TEST(Variants, EqualityNeedsSameTypeAndValue)
{
    EXPECT_EQ(Variant(1), Variant(qint64(1)));
    EXPECT_NE(Variant(1), Variant(1.0));
    EXPECT_NE(Variant(1), Variant(true));
    EXPECT_NE(Variant(1.0), Variant::FromDate(1.0));
    EXPECT_NE(Variant("a"), Variant("A"));
    EXPECT_NE(Variant(), Variant::Null());
    EXPECT_NE(Variant(), Variant(0));
    EXPECT_EQ(Variant::Null(), Variant::Null());
    EXPECT_NE(Variant(false), Variant(true));

    Variant Copy = Variant("text");
    Copy = Variant(2.25);
    EXPECT_EQ(Copy, Variant(2.25));
    EXPECT_EQ(QVariant::fromValue(Copy).value<Variant>(), Variant(2.25));
}

TEST(Variants, TDateTimeConversions)
{
    EXPECT_DOUBLE_EQ(DateTimeToTDateTime(At(1899, 12, 30)), 0.0);
    EXPECT_DOUBLE_EQ(DateTimeToTDateTime(At(2000, 1, 1, 12)), 36526.5);
    EXPECT_DOUBLE_EQ(DateTimeToTDateTime(At(1899, 12, 29, 6)), -1.25);
    EXPECT_DOUBLE_EQ(DateTimeToTDateTime(At(1800, 1, 1, 18)), -36522.75);

    EXPECT_EQ(TDateTimeToDateTime(36526.5), At(2000, 1, 1, 12));
    EXPECT_EQ(TDateTimeToDateTime(-1.25), At(1899, 12, 29, 6));
    EXPECT_EQ(TDateTimeToDateTime(-36522.75), At(1800, 1, 1, 18));
    EXPECT_EQ(TDateTimeToDateTime(-0.5), At(1899, 12, 30, 12)); // day 0, its time taken as positive
    EXPECT_EQ(TDateTimeToDateTime(1.9999999999), At(1900, 1, 1)); // rounds into the next day
    EXPECT_FALSE(TDateTimeToDateTime(std::nan("")).isValid());

    const QDateTime Stamp = At(2024, 2, 29, 23, 59, 58, 125);
    EXPECT_EQ(TDateTimeToDateTime(DateTimeToTDateTime(Stamp)), Stamp);
    EXPECT_EQ(Variant::FromDateTime(Stamp).AsDateTime(), Stamp);
}

TEST(Variants, DatesAsStrings)
{
    EXPECT_EQ(Variant::FromDate(36526.5).AsString(), QStringLiteral("2000-01-01 12:00:00"));
    EXPECT_EQ(Variant::FromDate(36526).AsString(), QStringLiteral("2000-01-01"));
    EXPECT_EQ(Variant::FromDate(-1.25).AsString(), QStringLiteral("1899-12-29 06:00:00"));
    EXPECT_DOUBLE_EQ(Variant("1899-12-29 06:00:00").AsDate(), -1.25);
    EXPECT_DOUBLE_EQ(Variant("2000-01-01T12:00").AsDate(), 36526.5);
    const Variant Precise = Variant::FromDateTime(At(2010, 5, 6, 7, 8, 9, 10));
    EXPECT_EQ(Precise.AsString(), QStringLiteral("2010-05-06 07:08:09.010"));
    EXPECT_DOUBLE_EQ(Variant(Precise.AsString()).AsDate(), Precise.AsDate());
}
