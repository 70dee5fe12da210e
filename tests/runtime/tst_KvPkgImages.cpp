#include "KvPkgImages.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

QImage Picture(int W, int H)
{
    QImage image(W, H, QImage::Format_ARGB32);
    image.fill(qRgba(255, 0, 0, 128));
    image.setPixel(0, 0, qRgba(1, 2, 3, 255));
    return image;
}

QByteArray Encoded(const QImage& Image, const char* Format)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    Image.save(&buffer, Format);
    return data;
}

QStringList Dump(const TKvPkgImages& Pkg)
{
    QStringList out;
    for (int i = 0; i < Pkg.Images()->Count(); ++i) {
        const TKvPkgImagesImage* m = Pkg.Images()->GetItems(i);
        out << QStringLiteral("%1 %2 %3x%4 %5 %6")
                   .arg(m->Id()).arg(QString::fromLatin1(m->Format())).arg(m->Width()).arg(m->Height())
                   .arg(m->Protected()).arg(QString::fromLatin1(m->Data().toBase64()));
    }
    return out;
}

} // namespace

TEST(PkgImages, PicturesKeepTheirEncodingAndRefuseWhatDoesNotDecode)
{
    TKvPkgImages pkg;
    TKvPkgImagesImage* png = pkg.Images()->Add(1);
    EXPECT_TRUE(png->Empty());
    png->SetGraphic(Picture(16, 8));
    EXPECT_EQ(png->Format(), QByteArray("png"));
    EXPECT_EQ(png->Width(), 16);
    EXPECT_EQ(png->Height(), 8);
    EXPECT_EQ(png->GetSize(), png->Data().size());
    EXPECT_EQ(png->Graphic().pixel(0, 0), qRgba(1, 2, 3, 255));

    const QByteArray bmp = Encoded(Picture(3, 5), "BMP");
    TKvPkgImagesImage* other = pkg.Images()->Add(2);
    other->SetGraphicData(bmp);
    EXPECT_EQ(other->Format(), QByteArray("bmp"));
    EXPECT_EQ(other->Data(), bmp);
    EXPECT_EQ(other->Width(), 3);

    const QByteArray pngData = png->Data();
    EXPECT_THROW(other->SetGraphicData(QByteArray("not a picture")), EKvPkgError);
    EXPECT_THROW(other->SetGraphicData(pngData.left(pngData.size() / 2)), EKvPkgError);
    EXPECT_THROW(other->SetGraphicData(bmp, "png"), EKvPkgError);
    EXPECT_EQ(other->Data(), bmp);
    EXPECT_EQ(other->Height(), 5);

    // Assign copies all but the id.
    png->SetProtected(true);
    other->Assign(*png);
    EXPECT_EQ(other->Id(), 2);
    EXPECT_EQ(other->Data(), pngData);
    EXPECT_EQ(other->Width(), 16);
    EXPECT_TRUE(other->Protected());
    EXPECT_EQ(pkg.Images()->FindId(2), other);

    other->SetGraphic(QImage());
    EXPECT_TRUE(other->Empty());
    EXPECT_EQ(other->Width(), 0);
}

TEST(PkgImages, RoundTripAndDamagedData)
{
    TKvPkgImages source;
    source.Images()->Add(10)->SetGraphic(Picture(2, 2));
    source.Images()->Add(3)->SetGraphicData(Encoded(Picture(1, 4), "BMP"));
    source.Images()->GetItems(1)->SetProtected(true);
    source.Images()->Add(0);
    const QByteArray good = source.SaveToBytes();

    TKvPkgImages target;
    target.LoadFromBytes(good, QStringLiteral("good"));
    EXPECT_EQ(Dump(target), Dump(source));

    TKvPkgImages kept;
    kept.Images()->Add(99);
    for (qsizetype n = 0; n < good.size(); n += 7)
        EXPECT_THROW(kept.LoadFromBytes(good.left(n), QStringLiteral("cut")), EKvPkgFileError) << n;
    // A strings package is not an images package.
    EXPECT_THROW(kept.LoadFromBytes(QByteArray("KVPKSTRS") + good.mid(8), QStringLiteral("kind")), EKvPkgFileError);
    EXPECT_EQ(kept.Images()->Count(), 1);
    EXPECT_TRUE(kept.Images()->FindId(99));
}
