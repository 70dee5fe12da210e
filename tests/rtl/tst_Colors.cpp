#include "Colors.h"
#include "Controls.h"
#include "SysUtils.h"

#include <gtest/gtest.h>

TEST(Colors, EveryNameAndNumberReadsBackToTheSameValue)
{
    const QStringList names = ColorNames();
    // Aliases (clLtGray, clDkGray) read but are not listed twice.
    EXPECT_TRUE(names.contains("clSilver") && !names.contains("clLtGray"));
    EXPECT_TRUE(names.contains("clMoneyGreen") && names.contains("clMenuBar") && names.contains("clDefault"));
    for (const QString& name : names)
        EXPECT_EQ(ColorToString(StringToColor(name)), name);
    EXPECT_EQ(StringToColor(u"cllTgRAY"), 0xC0C0C0);

    EXPECT_EQ(ColorToString(qint32(0xFF00000F)), "clBtnFace");
    EXPECT_EQ(ColorToString(0x030201), "$00030201");
    // A system colour nobody named is written as its number, and read back.
    EXPECT_EQ(ColorToString(qint32(0xFF000040)), "$FF000040");
    for (qint32 c : {0x030201, qint32(0xFF000040), qint32(0x80FFFFFF), 0})
        EXPECT_EQ(StringToColor(ColorToString(c)), c);
    // Form files spell unnamed colours in decimal, system ones negative.
    EXPECT_EQ(StringToColor(u"-16777201"), qint32(0xFF00000F));
    EXPECT_EQ(StringToColor(u"15790320"), 0xF0F0F0);
    EXPECT_EQ(StringToColor(u" $ff00001e "), qint32(0xFF00001E));
}

TEST(Colors, BadTextIsRefusedWithTheTextInTheMessage)
{
    for (const char16_t* bad : {u"", u"$", u"$-1", u"$123456789", u"clNoSuchColour", u"12abc", u"4294967296",
                                u"-2147483649", u"#FF0000"}) {
        qint32 c = 7;
        EXPECT_FALSE(TryStringToColor(bad, c)) << QString::fromUtf16(bad).toStdString();
        EXPECT_EQ(c, 7);
    }
    try {
        StringToColor(u"clPink");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_TRUE(e.Message.contains("clPink"));
    }
}

TEST(Colors, SystemColoursResolveThroughTheFixedPalette)
{
    EXPECT_EQ(ColorToRGB(StringToColor(u"clBtnFace")), 0xFFF0F0F0u);
    EXPECT_EQ(ColorToRGB(StringToColor(u"clInfoBk")), 0xFFFFFFE1u);
    EXPECT_EQ(ColorToRGB(StringToColor(u"clHighlight")), 0xFF3399FFu);
    EXPECT_EQ(ColorToRGB(StringToColor(u"clMenuBar")), 0xFFF0F0F0u);
    EXPECT_EQ(ColorToRGB(StringToColor(u"clScrollBar")), 0xFFC8C8C8u);
    // Plain colours are stored blue-green-red.
    EXPECT_EQ(ColorToRGB(StringToColor(u"clNavy")), 0xFF000080u);
    EXPECT_EQ(ColorToRGB(StringToColor(u"clMoneyGreen")), 0xFFC0DCC0u);
    EXPECT_EQ(ColorToRGB(0x030201), 0xFF010203u);
    // Out of the palette: black, never a read past its end.
    EXPECT_EQ(ColorToRGB(qint32(0xFF000040)), 0xFF000000u);
    EXPECT_EQ(ColorToRGB(qint32(0xFF01000F)), 0xFF000000u);
}
