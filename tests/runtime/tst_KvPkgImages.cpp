#include "KvPkgImages.h"

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>

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
        const TKvImageMarks k = m->Marks();
        out << QStringLiteral("%1 %2 %3x%4 %5 %6 %7%8%9 %10 %11 %12")
                   .arg(m->Id()).arg(QString::fromLatin1(m->Format())).arg(m->Width()).arg(m->Height())
                   .arg(m->Protected()).arg(QString::fromLatin1(m->Data().toBase64()))
                   .arg(m->ViewAdjusts()).arg(m->SyncHor()).arg(m->SyncVer())
                   .arg(QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8").arg(k.Up1).arg(k.Up2).arg(k.Down1).arg(k.Down2)
                            .arg(k.Left1).arg(k.Left2).arg(k.Right1).arg(k.Right2))
                   .arg(m->ExternalBits() ? QString::fromLatin1(m->ExternalBits()->ToBytes().toHex()) : QStringLiteral("-"))
                   .arg(m->InternalBits() ? QString::fromLatin1(m->InternalBits()->ToBytes().toHex()) : QStringLiteral("-"));
    }
    return out;
}

// A 2x1 GIF (Qt reads GIF but does not write it).
const QByteArray Gif = QByteArray::fromHex(
    "47494638396102000100800000ffffff00000021f90401000000002c00000000020001000002024c0a003b");

// An image with both outlines, marks and flags that differ from the defaults.
void Decorate(TKvPkgImagesImage* Image)
{
    Image->SetGraphic(Picture(5, 4));
    Image->CreateExternalMask(QRegion(1, 1, 3, 2));
    Image->CreateInternalMask(QRegion()); // present but empty
    Image->SetMarks({1, 2, 3, 4, 0, 1, 2, 1});
    Image->SetViewAdjusts(true);
    Image->SetSyncHor(false);
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
    Decorate(source.Images()->Add(7));
    source.SetDesignRgn({{10, 20, 300, 200, 2}, 6, false, false});
    const QByteArray good = source.SaveToBytes();

    TKvPkgImages target;
    target.LoadFromBytes(good, QStringLiteral("good"));
    EXPECT_EQ(Dump(target), Dump(source));
    EXPECT_EQ(target.DesignRgn(), source.DesignRgn());
    EXPECT_THROW(source.SetDesignRgn({{}, 5, true, true}), EKvPkgError);

    TKvPkgImages kept;
    kept.Images()->Add(99);
    for (qsizetype n = 0; n < good.size(); n += 7)
        EXPECT_THROW(kept.LoadFromBytes(good.left(n), QStringLiteral("cut")), EKvPkgFileError) << n;
    // A strings package is not an images package.
    EXPECT_THROW(kept.LoadFromBytes(QByteArray("KVPKSTRS") + good.mid(8), QStringLiteral("kind")), EKvPkgFileError);
    EXPECT_EQ(kept.Images()->Count(), 1);
    EXPECT_TRUE(kept.Images()->FindId(99));
}

TEST(PkgImages, OutlinesMarksAndFlags)
{
    TKvPkgImages pkg;
    TKvPkgImagesImage* image = pkg.Images()->Add(1);
    EXPECT_TRUE(image->SyncHor() && image->SyncVer() && !image->ViewAdjusts());
    EXPECT_THROW(image->CreateExternalMask(QRegion(0, 0, 1, 1)), EKvPkgError);
    image->CreateExternalMask(std::nullopt); // none is fine without a picture

    Decorate(image);
    EXPECT_TRUE(image->GetExternalMask());
    EXPECT_TRUE(KvSameRegion(*image->CreateExternalRgn(), QRegion(1, 1, 3, 2)));
    // An empty outline is an outline; none is none.
    EXPECT_TRUE(image->GetInternalMask());
    EXPECT_TRUE(image->CreateInternalRgn()->isEmpty());
    image->CreateInternalMask(std::nullopt);
    EXPECT_FALSE(image->CreateInternalRgn());
    // Clipped to the picture.
    image->CreateInternalMask(QRegion(3, 2, 10, 10));
    EXPECT_EQ(image->InternalBits()->CountSet(), 2 * 2);
    EXPECT_THROW(image->SetMarks({-1}), EKvPkgError);
    EXPECT_EQ(image->Marks().Up2, 2);

    TKvPkgImagesImage* copy = pkg.Images()->Add(2);
    copy->Assign(*image);
    EXPECT_EQ(Dump(pkg)[1].section(u' ', 1), Dump(pkg)[0].section(u' ', 1));

    // A picture of the same size keeps the outlines, another size drops them.
    image->SetGraphic(Picture(5, 4).mirrored());
    EXPECT_TRUE(image->GetExternalMask());
    image->SetGraphic(Picture(6, 4));
    EXPECT_FALSE(image->GetExternalMask() || image->GetInternalMask());
    copy->Clear();
    EXPECT_TRUE(copy->Empty());
    EXPECT_FALSE(copy->GetExternalMask());
    EXPECT_EQ(copy->Marks().Up1, 1);
}

TEST(PkgImages, GraphicFilesKeepTheirBytesAndSingleImageFilesKeepEverything)
{
    QTemporaryDir dir;
    TKvPkgImages pkg;
    TKvPkgImagesImage* image = pkg.Images()->Add(1);
    const QList<std::pair<const char*, QByteArray>> samples = {
        {"bmp", Encoded(Picture(3, 2), "BMP")}, {"png", Encoded(Picture(3, 2), "PNG")},
        {"jpg", Encoded(Picture(8, 8), "JPEG")}, {"gif", Gif}, {"ico", Encoded(Picture(16, 16), "ICO")}};
    for (const auto& [ext, bytes] : samples) {
        const QString in = dir.filePath(QStringLiteral("in.") + QLatin1String(ext));
        QFile f(in);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        image->LoadFromFile(in);
        EXPECT_EQ(image->Data(), bytes) << ext;
        const QString out = dir.filePath(QStringLiteral("out.") + QLatin1String(ext));
        image->SaveToFile(out);
        QFile o(out);
        ASSERT_TRUE(o.open(QIODevice::ReadOnly));
        EXPECT_EQ(o.readAll(), bytes) << ext;
    }
    // The GIF converts to PNG with the same pixels.
    const QImage gifPixels = image->Graphic().convertToFormat(QImage::Format_ARGB32);
    image->SaveToFile(dir.filePath(QStringLiteral("conv.png")));
    image->LoadFromFile(dir.filePath(QStringLiteral("conv.png")));
    EXPECT_EQ(image->Format(), QByteArray("png"));
    EXPECT_EQ(image->Graphic().convertToFormat(QImage::Format_ARGB32), gifPixels);
    EXPECT_THROW(image->SaveToFile(dir.filePath(QStringLiteral("x.gif"))), EKvPkgError);

    Decorate(image);
    image->SetProtected(true);
    const QString single = dir.filePath(QStringLiteral("one.IMKV"));
    image->SaveToFile(single);
    TKvPkgImagesImage* back = pkg.Images()->Add(9);
    back->LoadFromFile(single);
    EXPECT_EQ(back->Id(), 9);
    EXPECT_EQ(Dump(pkg)[1].section(u' ', 1), Dump(pkg)[0].section(u' ', 1));

    // A damaged file leaves the image as it was.
    QFile::resize(single, QFileInfo(single).size() - 3);
    EXPECT_THROW(back->LoadFromFile(single), EKvPkgFileError);
    QFile junk(dir.filePath(QStringLiteral("junk.png")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture");
    junk.close();
    EXPECT_THROW(back->LoadFromFile(junk.fileName()), EKvPkgFileError);
    EXPECT_EQ(Dump(pkg)[1].section(u' ', 1), Dump(pkg)[0].section(u' ', 1));
}

TEST(PkgImages, ClipboardCarriesOurFormatAndAPlainPicture)
{
    TKvPkgImages pkg;
    TKvPkgImagesImage* image = pkg.Images()->Add(1);
    Decorate(image);
    image->SaveToClipBoard();
    EXPECT_TRUE(KvClipboardHasImage());
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasImage());
    TKvPkgImagesImage* pasted = pkg.Images()->Add(2);
    ASSERT_TRUE(pasted->LoadFromClipBoard());
    EXPECT_EQ(Dump(pkg)[1].section(u' ', 1), Dump(pkg)[0].section(u' ', 1));

    // Another program's picture.
    QGuiApplication::clipboard()->setImage(Picture(4, 3));
    ASSERT_TRUE(pasted->LoadFromClipBoard());
    EXPECT_EQ(pasted->Width(), 4);
    EXPECT_FALSE(pasted->GetExternalMask());
    QGuiApplication::clipboard()->setText(QStringLiteral("text"));
    EXPECT_FALSE(KvClipboardHasImage());
    EXPECT_FALSE(pasted->LoadFromClipBoard());
}
