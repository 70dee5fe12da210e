#include "KvRegions.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

TKvBits RandomMask(int W, int H, quint32 Seed, int Percent)
{
    QRandomGenerator rng(Seed);
    TKvBits bits(qsizetype(W) * H);
    for (qsizetype i = 0; i < bits.Size(); ++i)
        bits.Set(i, int(rng.bounded(100)) < Percent);
    return bits;
}

// The reference: one rectangle per set pixel, united.
QRegion PixelRegion(const TKvBits& Mask, int W, int H, int Zoom)
{
    QRegion r;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (Mask.Get(qsizetype(y) * W + x))
                r += QRect(x * Zoom, y * Zoom, Zoom, Zoom);
    return r;
}

} // namespace

TEST(Regions, BitsPackAndRefuseBadBytes)
{
    const TKvBits bits = RandomMask(13, 7, 1, 50);
    const QByteArray bytes = bits.ToBytes();
    EXPECT_EQ(bytes.size(), (13 * 7 + 7) / 8);
    EXPECT_EQ(TKvBits::FromBytes(bytes, 91), bits);
    EXPECT_FALSE(TKvBits::FromBytes(bytes.left(bytes.size() - 1), 91));
    QByteArray stray = bytes;
    stray[stray.size() - 1] = char(0x80); // bit 95, past the 91 pixels
    EXPECT_FALSE(TKvBits::FromBytes(stray, 91));

    TKvBits full(70);
    full.Fill(true);
    EXPECT_EQ(full.CountSet(), 70);
}

TEST(Regions, MaskAndRegionConvertBothWaysAtEveryZoom)
{
    for (int percent : {0, 3, 50, 97, 100}) {
        const int W = 37, H = 23;
        const TKvBits mask = RandomMask(W, H, quint32(percent + 7), percent);
        for (int zoom : {1, 2, 3, 4, 6, 8}) {
            const std::optional<QRegion> region = KvMaskToRegion(mask, W, H, zoom);
            ASSERT_EQ(region.has_value(), mask.Any()) << percent;
            if (!region)
                continue;
            EXPECT_TRUE(KvSameRegion(*region, PixelRegion(mask, W, H, zoom))) << percent << " x" << zoom;
            if (zoom == 1)
                EXPECT_EQ(KvRegionToMask(*region, W, H), mask) << percent;
        }
    }
    // Rows with the same runs merge into one band.
    TKvBits block(10 * 10);
    for (int y = 2; y < 8; ++y)
        for (int x = 3; x < 6; ++x)
            block.Set(y * 10 + x, true);
    EXPECT_EQ(KvMaskToRegion(block, 10, 10)->rectCount(), 1);
}

TEST(Regions, RectanglesOutsideTheImageAreClampedAndEqualityIsByPixels)
{
    const QRegion partly = QRegion(-5, -5, 8, 8) + QRegion(9, 1, 10, 1);
    const TKvBits mask = KvRegionToMask(partly, 10, 4);
    EXPECT_EQ(mask.CountSet(), 3 * 3 + 1);
    EXPECT_TRUE(mask.Get(0) && mask.Get(2 * 10 + 2) && mask.Get(1 * 10 + 9));

    const QRegion cut = QRegion(0, 0, 2, 1) + QRegion(2, 0, 2, 1);
    EXPECT_TRUE(KvSameRegion(cut, QRegion(0, 0, 4, 1)));
    EXPECT_FALSE(KvSameRegion(cut, QRegion(0, 0, 5, 1)));
    EXPECT_FALSE(KvSameRegion(std::optional<QRegion>(QRegion()), std::optional<QRegion>()));
    EXPECT_TRUE(KvSameRegion(std::optional<QRegion>(), std::optional<QRegion>()));
}
