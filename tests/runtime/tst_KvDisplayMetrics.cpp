#include "KvApplication.h"

#include "Colors.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage Blank(int W, int H, QRgb Fill)
{
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Fill);
    return image;
}

} // namespace

TEST(KvDisplayMetrics, SettersCheckTheRangeAndMarkThePackage)
{
    TKvPkgDisplay pkg;
    EXPECT_EQ(pkg.CWMetric(cwTitleHeight), KvDefaultCWMetrics[cwTitleHeight]);
    pkg.SetModified(false);
    pkg.SetCWButtonsWidth(KvMaxDisplayMetric);
    EXPECT_TRUE(pkg.Modified());
    EXPECT_EQ(pkg.CWMetric(cwButtonsWidth), KvMaxDisplayMetric);
    EXPECT_THROW(pkg.SetCWButtonsWidth(KvMaxDisplayMetric + 1), EKvPkgError);
    EXPECT_THROW(pkg.SetHiMarginTop(-1), EKvPkgError);
    EXPECT_EQ(pkg.CWMetric(cwButtonsWidth), KvMaxDisplayMetric);
    EXPECT_EQ(pkg.HiMetric(hiMarginTop), KvDefaultHiMetrics[hiMarginTop]);
    // Clearing the sets keeps the metrics.
    pkg.Clear();
    EXPECT_EQ(pkg.CWMetric(cwButtonsWidth), KvMaxDisplayMetric);
}

// Raised frames: light left and top, dark right and bottom; the sides never overlap, so an
// inverting frame flips every pixel of it exactly once.
TEST(KvGridLines, FramesAreThickAndInvertEachPixelOnce)
{
    QImage image = Blank(20, 12, qRgb(255, 255, 255));
    {
        QPainter p(&image);
        KvDrawGridLines(p, QRect(2, 1, 10, 8), Qt::red, Qt::blue, 3, true, true, false, false);
    }
    EXPECT_EQ(image.pixel(2, 1), qRgb(255, 0, 0));   // top left corner: top side
    EXPECT_EQ(image.pixel(11, 3), qRgb(255, 0, 0));  // top side spans the width
    EXPECT_EQ(image.pixel(2, 4), qRgb(255, 0, 0));   // left side
    EXPECT_EQ(image.pixel(11, 4), qRgb(0, 0, 255));  // right side
    EXPECT_EQ(image.pixel(5, 8), qRgb(0, 0, 255));   // bottom side
    EXPECT_EQ(image.pixel(5, 4), qRgb(255, 255, 255)); // inside stays
    EXPECT_EQ(image.pixel(12, 4), qRgb(255, 255, 255)); // outside stays

    QImage inverted = Blank(20, 12, qRgb(10, 20, 30));
    {
        QPainter p(&inverted);
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
        KvDrawGridLines(p, QRect(2, 1, 10, 8), Qt::red, Qt::blue, 3, true, true, false, false);
    }
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool frame = QRect(2, 1, 10, 8).contains(x, y) && !QRect(5, 4, 4, 2).contains(x, y);
            EXPECT_EQ(inverted.pixel(x, y) & 0xFFFFFF, frame ? 0xF5EBE1u : 0x0A141Eu) << x << "," << y;
        }
}

TEST(KvSkins, NinePartSkinsKeepCornersAndStretchTheRest)
{
    // A 6x6 skin with 2-pixel borders: red corners, green edges, blue middle.
    QImage skin = Blank(6, 6, qRgb(0, 0, 255));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool edgeX = x < 2 || x >= 4, edgeY = y < 2 || y >= 4;
            if (edgeX && edgeY)
                skin.setPixel(x, y, qRgb(255, 0, 0));
            else if (edgeX || edgeY)
                skin.setPixel(x, y, qRgb(0, 255, 0));
        }
    QImage target = Blank(30, 20, qRgb(0, 0, 0));
    {
        QPainter p(&target);
        KvDrawSkinImage(p, target.rect(), skin, false, 2, 2);
    }
    EXPECT_EQ(target.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(28, 18), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(2, 1), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(28, 10), qRgb(0, 255, 0));
    EXPECT_EQ(target.pixel(27, 10), qRgb(0, 0, 255));
    EXPECT_EQ(target.pixel(15, 10), qRgb(0, 0, 255));
    EXPECT_EQ(target.pixel(2, 2), qRgb(0, 0, 255));
}

// The skin's background is the display package's set painted as KvDrawGradient paints it; a
// missing set is the button face of the fixed palette.
TEST(KvSkins, PaintSkinPaintsTheBackGroundSetThenTheImage)
{
    TKvPkgDisplay display;
    TKvSetBackGroundItem* set = display.SetsBackGround()->Add(QStringLiteral("Sky"));
    for (int style : {int(bgsVertical), int(bgsRadial), int(bgsHorizontalCenter)}) {
        set->SetStyle(style);
        set->SetStartGraColor(TColor{0x0000FF});
        set->SetEndGraColor(TColor{KvColors::clWindow});
        QImage painted = Blank(40, 30, 0);
        QImage expected = Blank(40, 30, 0);
        {
            QPainter p(&painted);
            KvPaintSkin(p, painted.rect(), &display, nullptr, nullptr, QStringLiteral("sky"), false, 0, 0);
            QPainter e(&expected);
            KvDrawGradient(e, expected.rect(), style, QColor(255, 0, 0), QColor::fromRgb(ColorToRGB(KvColors::clWindow)),
                           QColor(), QImage(), false);
        }
        EXPECT_EQ(painted, expected) << style;
        EXPECT_NE(painted.pixel(0, 0), painted.pixel(20, 15)) << style;
    }
    QImage face = Blank(8, 8, 0);
    {
        QPainter p(&face);
        KvPaintSkin(p, face.rect(), &display, nullptr, nullptr, QStringLiteral("Missing"), false, 0, 0);
    }
    EXPECT_EQ(face.pixel(4, 4), ColorToRGB(KvColors::clBtnFace));
}
