#include "KvGraphics.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QColor Red(255, 0, 0), Blue(0, 0, 255), Green(0, 160, 0), Solid(200, 200, 200);

QImage Paint(int Style, const QImage& Image = QImage(), bool Transparent = false, QSize Size = {200, 100})
{
    QImage out(Size, QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    KvDrawGradient(p, QRect(QPoint(0, 0), Size), Style, Red, Blue, Solid, Image, Transparent);
    return out;
}

// The three channels within a rounding step of the expected colour.
::testing::AssertionResult Near(QRgb Actual, const QColor& Expected, int Slack = 3)
{
    const QColor a(Actual);
    if (std::abs(a.red() - Expected.red()) <= Slack && std::abs(a.green() - Expected.green()) <= Slack &&
        std::abs(a.blue() - Expected.blue()) <= Slack)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << QColor(Actual).name().toStdString() << " is not "
                                         << Expected.name().toStdString();
}

// A 40x20 image, green with a white left column; its bottom-left pixel is white.
QImage WideImage()
{
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(Green);
    for (int y = 0; y < img.height(); ++y)
        img.setPixel(0, y, qRgb(255, 255, 255));
    return img;
}

} // namespace

TEST(KvDrawGradient, GradientsRunFromStartToEndInTheirDirection)
{
    const QColor mid(128, 0, 128);
    QImage h = Paint(bgsHorizontal);
    EXPECT_TRUE(Near(h.pixel(0, 50), Red));
    EXPECT_TRUE(Near(h.pixel(199, 50), Blue));
    EXPECT_TRUE(Near(h.pixel(100, 10), mid, 4));
    EXPECT_EQ(h.pixel(100, 0), h.pixel(100, 99)); // constant down a column

    QImage v = Paint(bgsVertical);
    EXPECT_TRUE(Near(v.pixel(150, 0), Red));
    EXPECT_TRUE(Near(v.pixel(150, 99), Blue));
    EXPECT_EQ(v.pixel(0, 40), v.pixel(199, 40));

    QImage vc = Paint(bgsVerticalCenter);
    EXPECT_TRUE(Near(vc.pixel(10, 0), Red));
    EXPECT_TRUE(Near(vc.pixel(10, 99), Red));
    EXPECT_TRUE(Near(vc.pixel(10, 50), Blue, 8));

    QImage up = Paint(bgsDiagonalUp, {}, false, {100, 100});
    EXPECT_TRUE(Near(up.pixel(0, 99), Red));
    EXPECT_TRUE(Near(up.pixel(99, 0), Blue));
    EXPECT_TRUE(Near(up.pixel(0, 0), up.pixel(99, 99), 2)); // the other diagonal is all one colour

    QImage radial = Paint(bgsRadial);
    EXPECT_TRUE(Near(radial.pixel(100, 50), Red, 8));
    EXPECT_TRUE(Near(radial.pixel(0, 0), Blue, 8));

    QImage rect = Paint(bgsRectangle);
    EXPECT_TRUE(Near(rect.pixel(120, 0), Red));
    EXPECT_TRUE(Near(rect.pixel(199, 60), Red));
    EXPECT_TRUE(Near(rect.pixel(100, 49), Blue));
    EXPECT_EQ(rect.pixel(60, 20), rect.pixel(20, 60)); // same distance from the edge, same colour

    for (int style : {int(bgsSolid), -1, int(bgsImageTile) + 1})
        EXPECT_EQ(Paint(style).pixel(150, 70), Solid.rgb()) << style;
}

TEST(KvDrawGradient, ImageStylesPlaceTheImageOnTheSolidColour)
{
    const QImage img = WideImage();
    // Centred at half the width, proportions kept: 100x50 at (50,25).
    QImage centre = Paint(bgsImageCenter, img);
    EXPECT_TRUE(Near(centre.pixel(49, 50), Solid));
    EXPECT_TRUE(Near(centre.pixel(50, 50), Qt::white));
    EXPECT_TRUE(Near(centre.pixel(120, 26), Green));
    EXPECT_TRUE(Near(centre.pixel(120, 23), Solid));
    EXPECT_TRUE(Near(centre.pixel(151, 50), Solid));

    QImage br = Paint(bgsImageBottomRight, img);
    EXPECT_TRUE(Near(br.pixel(100, 98), Qt::white));
    EXPECT_TRUE(Near(br.pixel(190, 60), Green));
    EXPECT_TRUE(Near(br.pixel(98, 98), Solid));
    EXPECT_TRUE(Near(br.pixel(190, 48), Solid));

    // A tall image takes half the height.
    QImage tall(10, 40, QImage::Format_RGB32);
    tall.fill(Green);
    QImage left = Paint(bgsImageLeft, tall);
    EXPECT_TRUE(Near(left.pixel(5, 50), Green));
    EXPECT_TRUE(Near(left.pixel(5, 20), Solid));
    EXPECT_TRUE(Near(left.pixel(15, 50), Solid));

    // Four quarters, each with the image filling its width.
    QImage quarters = Paint(bgsImageQuarters, img);
    for (QPoint p : {QPoint(0, 25), QPoint(100, 25), QPoint(0, 75), QPoint(100, 75)})
        EXPECT_TRUE(Near(quarters.pixel(p), Qt::white)) << p.x() << "," << p.y();
    EXPECT_TRUE(Near(quarters.pixel(50, 25), Green));

    QImage tile = Paint(bgsImageTile, img);
    EXPECT_TRUE(Near(tile.pixel(40, 30), Qt::white));
    EXPECT_TRUE(Near(tile.pixel(199, 99), Green));
    QImage tileSeeThrough = Paint(bgsImageTile, img, true);
    EXPECT_TRUE(Near(tileSeeThrough.pixel(40, 30), Solid));
    EXPECT_TRUE(Near(tileSeeThrough.pixel(41, 30), Green));

    // Transparent: the white of the bottom-left corner lets the solid colour through.
    EXPECT_TRUE(Near(Paint(bgsImageCenter, img, true).pixel(50, 50), Solid));
    // No image: the solid colour only.
    EXPECT_TRUE(Near(Paint(bgsImageCenter).pixel(100, 50), Solid));
}

TEST(KvDrawGradient, PaintsOnlyInsideItsRectangle)
{
    QImage out(60, 60, QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    for (int style = 0; style <= bgsImageTile; ++style)
        KvDrawGradient(p, QRect(10, 10, 40, 40), style, Red, Blue, Solid, WideImage(), false);
    p.end();
    for (int i = 0; i < 60; ++i)
        for (QPoint q : {QPoint(i, 9), QPoint(i, 50), QPoint(9, i), QPoint(50, i)})
            ASSERT_EQ(out.pixel(q), qRgb(0, 0, 0)) << q.x() << "," << q.y();
    EXPECT_EQ(KvBackGroundStyleNames().size(), bgsImageTile + 1);
    EXPECT_EQ(KvBackGroundStyleNames().at(bgsImageCenter), "bgsImageCenter");
}
