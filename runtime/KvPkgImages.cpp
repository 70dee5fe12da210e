#include "KvPkgImages.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

// Content of the images format (version 1): a u32 count, then per image i32 id, u8 flags
// (bit 0 protected), the format name and the encoded picture (each u32 length and bytes).

namespace {

constexpr quint8 FlagProtected = 0x01;
constexpr int MinImageSize = 4 + 1 + 4 + 4;

struct TImagesContent : TKvPkgInfo::TContent
{
    TKvPkgImagesImages Images{nullptr};
};

// The picture's format and size. Decode reads the whole picture, not only its header, so
// that damaged data is found.
bool Probe(const QByteArray& Data, const QByteArray& Format, bool Decode, QByteArray& OutFormat, QSize& OutSize)
{
    QBuffer buffer;
    buffer.setData(Data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, Format);
    reader.setDecideFormatFromContent(Format.isEmpty());
    if (!reader.canRead())
        return false;
    OutFormat = reader.format().toLower();
    QSize size = reader.size();
    if (Decode || !size.isValid()) {
        const QImage image = reader.read();
        if (image.isNull())
            return false;
        size = image.size();
    }
    OutSize = size;
    return true;
}

} // namespace

QImage TKvPkgImagesImage::Graphic() const
{
    if (FData.isEmpty())
        return QImage();
    return QImage::fromData(FData, FFormat.constData());
}

void TKvPkgImagesImage::SetGraphic(const QImage& Image)
{
    if (Image.isNull()) {
        SetGraphicData(QByteArray());
        return;
    }
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(Image))
        throw EKvPkgError(QStringLiteral("Image %1 cannot be stored: %2").arg(Id()).arg(writer.errorString()));
    FData = data;
    FFormat = "png";
    FWidth = Image.width();
    FHeight = Image.height();
    Changed();
}

void TKvPkgImagesImage::SetGraphicData(const QByteArray& Data, const QByteArray& Format)
{
    if (Data.isEmpty() && FData.isEmpty())
        return;
    QByteArray format;
    QSize size(0, 0);
    if (!Data.isEmpty() && !Probe(Data, Format.toLower(), true, format, size))
        throw EKvPkgError(QStringLiteral("Image %1: the data is not a picture in a known format").arg(Id()));
    FData = Data;
    FFormat = format;
    FWidth = size.width();
    FHeight = size.height();
    Changed();
}

void TKvPkgImagesImage::Assign(const TKvPkgImagesImage& Source)
{
    if (&Source == this)
        return;
    FData = Source.FData;
    FFormat = Source.FFormat;
    FWidth = Source.FWidth;
    FHeight = Source.FHeight;
    SetProtected(Source.Protected());
    Changed();
}

TKvPkgImagesImage* TKvPkgImagesImages::Add(int Id)
{
    CheckId(Id, nullptr);
    auto* item = new TKvPkgImagesImage(this, Id);
    Append(item);
    return item;
}

// ---------------------------------------------------------------------------------------------

TKvPkgImages::TKvPkgImages(TComponent* AOwner)
    : TKvPkgInfo(AOwner), FImages(std::make_unique<TKvPkgImagesImages>(this))
{
}

TKvPkgImages::~TKvPkgImages() = default;

void TKvPkgImages::Clear() { FImages->Clear(); }

std::unique_ptr<TKvPkgInfo::TContent> TKvPkgImages::ReadContent(TKvPkgReader& R, quint16) const
{
    auto content = std::make_unique<TImagesContent>();
    TKvPkgImagesImages& images = content->Images;
    const int count = R.ReadCount(MinImageSize);
    images.Reserve(count);
    for (int i = 0; i < count; ++i) {
        const qint64 at = R.Position();
        const qint32 id = R.ReadI32();
        if (id < 0)
            R.FailAt(QStringLiteral("image id %1 is negative").arg(id), at);
        if (images.FindId(id))
            R.FailAt(QStringLiteral("image id %1 is used twice").arg(id), at);
        const quint8 flags = R.ReadU8();
        if (flags & ~FlagProtected)
            R.FailAt(QStringLiteral("unknown image flags %1").arg(flags), at + 4);
        const QByteArray format = R.ReadBytes();
        const qint64 dataAt = R.Position();
        const QByteArray data = R.ReadBytes();
        TKvPkgImagesImage* image = images.Add(id);
        image->SetProtected(flags & FlagProtected);
        if (!data.isEmpty()) {
            // The checksum already vouches for the bytes: the header is enough here.
            QSize size;
            if (!Probe(data, format, false, image->FFormat, size))
                R.FailAt(QStringLiteral("image %1 is not a picture in a known format").arg(id), dataAt);
            image->FData = data;
            image->FWidth = size.width();
            image->FHeight = size.height();
        } else if (!format.isEmpty()) {
            R.FailAt(QStringLiteral("image %1 has a format but no picture").arg(id), dataAt);
        }
    }
    return content;
}

void TKvPkgImages::CommitContent(TContent& Content) { FImages->Swap(static_cast<TImagesContent&>(Content).Images); }

void TKvPkgImages::WriteContent(TKvPkgWriter& W) const
{
    W.WriteU32(quint32(FImages->Count()));
    for (int i = 0; i < FImages->Count(); ++i) {
        const TKvPkgImagesImage* image = FImages->GetItems(i);
        W.WriteI32(image->Id());
        W.WriteU8(image->Protected() ? FlagProtected : 0);
        W.WriteBytes(image->Format());
        W.WriteBytes(image->Data());
    }
}

// ---------------------------------------------------------------------------------------------

QString KvReadPkgImagesDescription(const QString& FileName)
{
    return KvReadPkgDescription(FileName, QByteArrayLiteral("IMGS"));
}

TKvPkgImages* KvFindPkgImages(const QString& PkgName)
{
    return static_cast<TKvPkgImages*>(KvFindPackage(&TKvPkgImages::staticMetaObject, PkgName));
}

QStringList KvPkgImagesActives() { return KvPackagesActives(&TKvPkgImages::staticMetaObject); }

QList<TKvPkgImages*> KvPkgImagesAll()
{
    QList<TKvPkgImages*> result;
    for (TKvPkgInfo* pkg : KvPackagesAll(&TKvPkgImages::staticMetaObject))
        result << static_cast<TKvPkgImages*>(pkg);
    return result;
}
