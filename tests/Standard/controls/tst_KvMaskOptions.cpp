#include "controls/KvMaskOptions.h"

#include "KvTypes.h"

#include <gtest/gtest.h>

namespace {

struct TExample
{
    const char* Name;
    int DataType;
    const char* Text;
};

// The editor's ready examples, and what the editor must store for each.
const TExample Examples[] = {
    {"String UpperCase", 3, "<sadwu"}, {"Telephone", 3, "<d;(###)###-####"}, {"Integer", 0, ">"},
    {"Integer Zero", 0, ">0"},         {"Tax", 1, ">-"},                     {"Currency", 1, ">-."},
    {"Date", 4, "<dmy"},               {"Time", 4, "<hns"},                  {"DateTime", 4, "<dmyhns"},
};

QString Q(const char* S)
{
    return QString::fromLatin1(S);
}

} // namespace

TEST(KvMaskOptions, ExamplesRoundTrip)
{
    for (const TExample& E : Examples) {
        SCOPED_TRACE(E.Name);
        const TKvMaskParts Parts = KvSplitMaskText(Q(E.Text));
        const QString Options = TKvMaskOptions::Parse(E.DataType, Parts.Options).Text(E.DataType);
        EXPECT_EQ(Options, Parts.Options);
        const QString Stored = KvJoinMaskText(E.DataType, Options, Parts.Picture, Parts.Space);
        // Default options are stored as the empty text that stands for them.
        if (KvIsDefaultMaskOptions(E.DataType, Options))
            EXPECT_EQ(Stored, QString());
        else
            EXPECT_EQ(Stored, Q(E.Text));
    }
}

TEST(KvMaskOptions, EveryLetterRoundTripsInGeneratedOrder)
{
    const struct
    {
        int DataType;
        const char* Options;
    } Cases[] = {
        {0, "%+*z.&k$0@3"}, {2, ">-4"}, {1, "<+"},
        {4, ">d1M"}, {4, "<D2yhnsaok"}, {4, "%mp"}, {4, "<hz"},
        {3, "<sadwt$mf*r"}, {6, "%l"}, {3, ">u"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Options);
        EXPECT_EQ(TKvMaskOptions::Parse(C.DataType, Q(C.Options)).Text(C.DataType), Q(C.Options));
    }
    // Letters come back in the order the runtime reads them, unknown ones dropped.
    EXPECT_EQ(TKvMaskOptions::Parse(1, Q("@.-#>q")).Text(1), Q(">-.@"));
    EXPECT_EQ(TKvMaskOptions::Parse(4, Q("ymd<")).Text(4), Q("<dmy"));
    // The same letter means different things per kind.
    EXPECT_TRUE(TKvMaskOptions::Parse(4, Q("<k")).AutoAdjust);
    EXPECT_TRUE(TKvMaskOptions::Parse(0, Q("<k")).CheckInteger);
    EXPECT_EQ(TKvMaskOptions::Parse(4, Q("<z")).Duration, 1);
    EXPECT_TRUE(TKvMaskOptions::Parse(1, Q("<z")).NoZero);
    EXPECT_EQ(TKvMaskOptions::Parse(4, Q("<1")).DayName, u'1');
    EXPECT_EQ(TKvMaskOptions::Parse(2, Q("<1")).Scientific, 1);
}

TEST(KvMaskOptions, DefaultsPerDataType)
{
    // Empty options open as the data type's default, which generates a default string.
    for (int DataType : {0, 1, 2, 3, 4, 6}) {
        SCOPED_TRACE(DataType);
        const QString Generated = TKvMaskOptions::Parse(DataType, QString()).Text(DataType);
        EXPECT_TRUE(KvIsDefaultMaskOptions(DataType, Generated)) << Generated.toStdString();
        EXPECT_EQ(KvJoinMaskText(DataType, Generated, QString(), Q("_")), QString());
    }
    EXPECT_EQ(TKvMaskOptions::Parse(0, QString()).Align, u'>');
    // Any order of the default letters is the default; one letter more or less is not.
    EXPECT_TRUE(KvIsDefaultMaskOptions(1, Q("&-.>")));
    EXPECT_FALSE(KvIsDefaultMaskOptions(1, Q(">-.")));
    EXPECT_FALSE(KvIsDefaultMaskOptions(4, Q("<dmyh")));
    EXPECT_FALSE(KvIsDefaultMaskOptions(4, Q("<dMy")));
    // Non-default options start from the cleared state: a decimal ">" has no negatives.
    const TKvMaskOptions Cleared = TKvMaskOptions::Parse(1, Q("%"));
    EXPECT_EQ(Cleared.Negative, QChar());
    EXPECT_FALSE(Cleared.Thousands);
}

TEST(KvMaskOptions, TextWithPictureAndSpace)
{
    TKvMaskParts Parts = KvSplitMaskText(Q("<d"));
    EXPECT_EQ(Parts.Space, Q("_"));
    Parts = KvSplitMaskText(Q("<d;##-##;*"));
    EXPECT_EQ(Parts.Picture, Q("##-##"));
    EXPECT_EQ(Parts.Space, Q("*"));
    // Default options keep their letters when a picture follows them.
    EXPECT_EQ(KvJoinMaskText(3, Q("<sadw"), Q("###"), Q("  ")), Q("<sadw;###"));
    EXPECT_EQ(KvJoinMaskText(3, Q("<sadw"), Q(" "), Q("_")), QString());
    EXPECT_EQ(KvJoinMaskText(6, Q("<d"), Q("##"), Q("*")), Q("<d;##;*"));
    // Only text kinds carry a picture.
    EXPECT_EQ(KvJoinMaskText(0, Q("<"), Q("##"), Q("*")), Q("<"));
}

TEST(KvMaskOptions, TwelveHourAndDuration)
{
    TKvMaskOptions O = TKvMaskOptions::Parse(4, Q("<d1Myh"));
    O.SetTwelveHour(true);
    EXPECT_TRUE(O.AmPm);
    EXPECT_FALSE(O.AmPmEnabled());
    EXPECT_TRUE(O.AutoAdjustEnabled());
    O.AutoAdjust = true;
    O.SetTwelveHour(false);
    EXPECT_FALSE(O.AutoAdjust);
    EXPECT_TRUE(O.AmPmEnabled());

    O.SetDuration(3);
    EXPECT_EQ(O.Text(4), Q("<hac"));
    EXPECT_FALSE(O.CalendarEnabled());
    EXPECT_FALSE(O.AmPmEnabled());
    O.SetDuration(5); // another duration keeps what was remembered first
    O.SetDuration(0);
    EXPECT_EQ(O.Text(4), Q("<d1Myha"));
    EXPECT_TRUE(O.AmPmEnabled());
}

TEST(KvMaskOptions, TypedKeys)
{
    EXPECT_FALSE(KvMaskAcceptsKey(0, Q(">"), u'%'));
    EXPECT_TRUE(KvMaskAcceptsKey(0, Q("-"), u'%'));
    EXPECT_FALSE(KvMaskAcceptsKey(0, Q(">"), u'>'));
    EXPECT_TRUE(KvMaskAcceptsKey(0, Q(">-"), u'\b'));
    EXPECT_FALSE(KvMaskAcceptsKey(1, Q(">-"), u'+'));
    EXPECT_FALSE(KvMaskAcceptsKey(1, Q(">"), u'a'));
    EXPECT_TRUE(KvMaskAcceptsKey(1, Q(">"), u'@'));
    EXPECT_FALSE(KvMaskAcceptsKey(4, Q("<d"), u'1'));
    EXPECT_FALSE(KvMaskAcceptsKey(4, Q("<1"), u'd'));
    EXPECT_FALSE(KvMaskAcceptsKey(4, Q("<M"), u'2'));
    EXPECT_TRUE(KvMaskAcceptsKey(4, Q("<d"), u'M'));
    EXPECT_FALSE(KvMaskAcceptsKey(4, Q("<"), u'z')); // durations come only from the combo
    EXPECT_FALSE(KvMaskAcceptsKey(3, Q("<u"), u'f'));
    EXPECT_TRUE(KvMaskAcceptsKey(6, Q("<u"), u'*'));
    EXPECT_FALSE(KvMaskAcceptsKey(3, Q("<"), u'r'));
}
