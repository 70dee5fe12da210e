#include "KvPkgImages.h"

#include "KvFiles.h"
#include "KvPkgFormat.h"

#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QMimeData>

// Content of the images format, version 2: the region designer's settings (zoom, edit mode,
// scan mode, bounds), a u32 count, then per image: i32 id, u8 flags, the format name and the
// encoded picture (each u32 length and bytes), the eight marks (i32), and the mask bytes of
// each outline the flags announce. Version 1 had no settings and per image only id, flags
// (protected), format and picture.

namespace {

enum : quint8 {
    FlagProtected = 0x01,
    FlagViewAdjusts = 0x02,
    FlagSyncHor = 0x04,
    FlagSyncVer = 0x08,
    FlagExternal = 0x10,
    FlagInternal = 0x20,
    FlagsV1 = FlagProtected,
    FlagsV2 = 0x3F,
};
constexpr int MinImageSizeV1 = 4 + 1 + 4 + 4;
constexpr int MinImageSizeV2 = MinImageSizeV1 + 8 * 4;

struct TImagesContent : TKvPkgInfo::TContent
{
    TKvPkgImagesImages Images{nullptr};
    TKvDesignRgnSettings DesignRgn;
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

// Qt's main name of the format of an extension ("jpg" -> "jpeg").
QByteArray FormatOfSuffix(const QString& Suffix)
{
    const QByteArray s = Suffix.toLower().toLatin1();
    if (s == "jpg")
        return "jpeg";
    if (s == "tif")
        return "tiff";
    return s;
}

QByteArray ReadCapped(const QString& Path)
{
    try {
        return KvReadFile(Path, KvMaxImageFileSize);
    } catch (const EInOutError& e) {
        throw EKvPkgFileError(Path, e.Reason);
    }
}

void WriteWhole(const QString& Path, const QByteArray& Data)
{
    try {
        KvWriteFile(Path, Data);
    } catch (const EInOutError& e) {
        throw EWriteError(QStringLiteral("Cannot write image file %1: %2").arg(Path, e.Reason));
    }
}

void WriteImage(TKvPkgWriter& W, const TKvPkgImagesImage& Image, int Id)
{
    quint8 flags = 0;
    if (Image.Protected())
        flags |= FlagProtected;
    if (Image.ViewAdjusts())
        flags |= FlagViewAdjusts;
    if (Image.SyncHor())
        flags |= FlagSyncHor;
    if (Image.SyncVer())
        flags |= FlagSyncVer;
    if (Image.GetExternalMask())
        flags |= FlagExternal;
    if (Image.GetInternalMask())
        flags |= FlagInternal;
    W.WriteI32(Id);
    W.WriteU8(flags);
    W.WriteBytes(Image.Format());
    W.WriteBytes(Image.Data());
    const TKvImageMarks m = Image.Marks();
    for (int v : {m.Up1, m.Up2, m.Down1, m.Down2, m.Left1, m.Left2, m.Right1, m.Right2})
        W.WriteI32(v);
    if (Image.ExternalBits())
        W.WriteBytes(Image.ExternalBits()->ToBytes());
    if (Image.InternalBits())
        W.WriteBytes(Image.InternalBits()->ToBytes());
}

} // namespace

bool KvValidZoom(int Zoom)
{
    return Zoom == 1 || Zoom == 2 || Zoom == 3 || Zoom == 4 || Zoom == 6 || Zoom == 8;
}

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
    SetGraphicData(data, "png");
}

void TKvPkgImagesImage::SetGraphicData(const QByteArray& Data, const QByteArray& Format)
{
    if (Data.isEmpty() && FData.isEmpty())
        return;
    QByteArray format;
    QSize size(0, 0);
    if (!Data.isEmpty() && !Probe(Data, Format.toLower(), true, format, size))
        throw EKvPkgError(QStringLiteral("Image %1: the data is not a picture in a known format").arg(Id()));
    if (size != QSize(FWidth, FHeight)) {
        FExternal.reset();
        FInternal.reset();
    }
    FData = Data;
    FFormat = format;
    FWidth = size.width();
    FHeight = size.height();
    Changed();
}

void TKvPkgImagesImage::Clear()
{
    if (Empty() && !FExternal && !FInternal)
        return;
    FData.clear();
    FFormat.clear();
    FWidth = FHeight = 0;
    FExternal.reset();
    FInternal.reset();
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
    FExternal = Source.FExternal;
    FInternal = Source.FInternal;
    FMarks = Source.FMarks;
    FViewAdjusts = Source.FViewAdjusts;
    FSyncHor = Source.FSyncHor;
    FSyncVer = Source.FSyncVer;
    SetProtected(Source.Protected());
    Changed();
}

std::optional<QRegion> TKvPkgImagesImage::ToRegion(const std::optional<TKvBits>& Bits) const
{
    if (!Bits)
        return std::nullopt;
    return KvMaskToRegion(*Bits, FWidth, FHeight).value_or(QRegion());
}

void TKvPkgImagesImage::SetOutline(std::optional<TKvBits>& Outline, const std::optional<QRegion>& Region)
{
    if (Region && Empty())
        throw EKvPkgError(QStringLiteral("Image %1 has no picture to take an outline").arg(Id()));
    std::optional<TKvBits> value;
    if (Region)
        value = KvRegionToMask(*Region, FWidth, FHeight);
    if (value == Outline)
        return;
    Outline = std::move(value);
    Changed();
}

void TKvPkgImagesImage::SetMarks(const TKvImageMarks& Value)
{
    for (int v : {Value.Up1, Value.Up2, Value.Down1, Value.Down2, Value.Left1, Value.Left2, Value.Right1, Value.Right2})
        if (v < 0)
            throw EKvPkgError(QStringLiteral("Image %1: a resize mark cannot be negative (%2)").arg(Id()).arg(v));
    if (Value == FMarks)
        return;
    FMarks = Value;
    Changed();
}

void TKvPkgImagesImage::SetFlag(bool& Flag, bool Value)
{
    if (Flag == Value)
        return;
    Flag = Value;
    Changed();
}

void TKvPkgImagesImage::SetViewAdjusts(bool Value) { SetFlag(FViewAdjusts, Value); }
void TKvPkgImagesImage::SetSyncHor(bool Value) { SetFlag(FSyncHor, Value); }
void TKvPkgImagesImage::SetSyncVer(bool Value) { SetFlag(FSyncVer, Value); }

QByteArray TKvPkgImagesImage::SaveToBytes() const
{
    TKvPkgImages holder;
    holder.Images()->Add(0)->Assign(*this);
    return holder.SaveToBytes();
}

void TKvPkgImagesImage::LoadFromBytes(const QByteArray& Data, const QString& Source)
{
    TKvPkgImages holder;
    holder.LoadFromBytes(Data, Source);
    if (holder.Images()->Count() != 1)
        throw EKvPkgFileError(Source, QStringLiteral("a single-image file holds %1 images").arg(holder.Images()->Count()));
    Assign(*holder.Images()->GetItems(0));
}

void TKvPkgImagesImage::LoadFromFile(const QString& FileName)
{
    const QByteArray data = ReadCapped(FileName);
    if (data.startsWith("KVPK")) {
        LoadFromBytes(data, FileName);
        return;
    }
    try {
        SetGraphicData(data);
    } catch (const EKvPkgError&) {
        throw EKvPkgFileError(FileName, QStringLiteral("not a picture in a known format"));
    }
}

void TKvPkgImagesImage::SaveToFile(const QString& FileName) const
{
    const QString suffix = QFileInfo(FileName).suffix();
    if (suffix.compare(QLatin1String(KvImageFileExt), Qt::CaseInsensitive) == 0) {
        WriteWhole(FileName, SaveToBytes());
        return;
    }
    if (Empty())
        throw EKvPkgError(QStringLiteral("Image %1 has no picture to save").arg(Id()));
    const QByteArray format = suffix.isEmpty() ? FFormat : FormatOfSuffix(suffix);
    if (format == FFormat) {
        WriteWhole(FileName, FData);
        return;
    }
    if (!QImageWriter::supportedImageFormats().contains(format))
        throw EKvPkgError(QStringLiteral("Pictures cannot be written as '%1' (%2)").arg(suffix, FileName));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(Graphic()))
        throw EKvPkgError(QStringLiteral("Image %1 cannot be written as %2: %3")
                              .arg(Id()).arg(QString::fromLatin1(format), writer.errorString()));
    WriteWhole(FileName, data);
}

void TKvPkgImagesImage::SaveToClipBoard() const
{
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(KvImageMimeType), SaveToBytes());
    if (!Empty())
        mime->setImageData(Graphic());
    QGuiApplication::clipboard()->setMimeData(mime);
}

bool TKvPkgImagesImage::LoadFromClipBoard()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime)
        return false;
    const QString ours = QString::fromLatin1(KvImageMimeType);
    if (mime->hasFormat(ours)) {
        LoadFromBytes(mime->data(ours), QStringLiteral("the clipboard"));
        return true;
    }
    if (mime->hasImage()) {
        const QImage image = qvariant_cast<QImage>(mime->imageData());
        if (!image.isNull()) {
            SetGraphic(image);
            return true;
        }
    }
    return false;
}

bool KvClipboardHasImage()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime && (mime->hasFormat(QString::fromLatin1(KvImageMimeType)) || mime->hasImage());
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

void TKvPkgImages::SetDesignRgn(const TKvDesignRgnSettings& Value)
{
    if (!KvValidZoom(Value.Zoom))
        throw EKvPkgError(QStringLiteral("Zoom %1 is not one of 1, 2, 3, 4, 6, 8").arg(Value.Zoom));
    if (Value == FDesignRgn)
        return;
    FDesignRgn = Value;
    SetModified(true);
}

std::unique_ptr<TKvPkgInfo::TContent> TKvPkgImages::ReadContent(TKvPkgReader& R, quint16 Version) const
{
    auto content = std::make_unique<TImagesContent>();
    if (Version >= 2) {
        TKvDesignRgnSettings& s = content->DesignRgn;
        const qint64 zoomAt = R.Position();
        s.Zoom = R.ReadI32();
        if (!KvValidZoom(s.Zoom))
            R.FailAt(QStringLiteral("zoom %1 is not one of 1, 2, 3, 4, 6, 8").arg(s.Zoom), zoomAt);
        s.External = KvReadBool(R);
        s.Diagonals = KvReadBool(R);
        s.Bounds.Left = R.ReadI32();
        s.Bounds.Top = R.ReadI32();
        s.Bounds.Width = R.ReadI32();
        s.Bounds.Height = R.ReadI32();
        s.Bounds.WindowState = R.ReadI32();
    }
    TKvPkgImagesImages& images = content->Images;
    const int count = R.ReadCount(Version >= 2 ? MinImageSizeV2 : MinImageSizeV1);
    images.Reserve(count);
    for (int i = 0; i < count; ++i) {
        const qint64 at = R.Position();
        const qint32 id = R.ReadI32();
        if (id < 0)
            R.FailAt(QStringLiteral("image id %1 is negative").arg(id), at);
        if (images.FindId(id))
            R.FailAt(QStringLiteral("image id %1 is used twice").arg(id), at);
        const quint8 flags = R.ReadU8();
        if (flags & ~(Version >= 2 ? FlagsV2 : FlagsV1))
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
        if (Version < 2)
            continue;
        image->FViewAdjusts = flags & FlagViewAdjusts;
        image->FSyncHor = flags & FlagSyncHor;
        image->FSyncVer = flags & FlagSyncVer;
        TKvImageMarks& m = image->FMarks;
        for (int* v : {&m.Up1, &m.Up2, &m.Down1, &m.Down2, &m.Left1, &m.Left2, &m.Right1, &m.Right2})
            *v = KvReadRange(R, 0, INT_MAX, "resize mark");
        const qsizetype pixels = qsizetype(image->FWidth) * image->FHeight;
        for (auto [flag, outline] : {std::pair{FlagExternal, &image->FExternal}, std::pair{FlagInternal, &image->FInternal}}) {
            if (!(flags & flag))
                continue;
            const qint64 maskAt = R.Position();
            if (data.isEmpty())
                R.FailAt(QStringLiteral("image %1 has an outline but no picture").arg(id), maskAt);
            *outline = TKvBits::FromBytes(R.ReadBytes(), pixels);
            if (!*outline)
                R.FailAt(QStringLiteral("an outline of image %1 does not fit its %2x%3 picture")
                             .arg(id).arg(image->FWidth).arg(image->FHeight),
                         maskAt);
        }
    }
    return content;
}

void TKvPkgImages::CommitContent(TContent& Content)
{
    auto& c = static_cast<TImagesContent&>(Content);
    FImages->Swap(c.Images);
    FDesignRgn = c.DesignRgn;
}

void TKvPkgImages::WriteContent(TKvPkgWriter& W) const
{
    W.WriteI32(FDesignRgn.Zoom);
    KvWriteBool(W, FDesignRgn.External);
    KvWriteBool(W, FDesignRgn.Diagonals);
    W.WriteI32(FDesignRgn.Bounds.Left);
    W.WriteI32(FDesignRgn.Bounds.Top);
    W.WriteI32(FDesignRgn.Bounds.Width);
    W.WriteI32(FDesignRgn.Bounds.Height);
    W.WriteI32(FDesignRgn.Bounds.WindowState);
    W.WriteU32(quint32(FImages->Count()));
    for (int i = 0; i < FImages->Count(); ++i) {
        const TKvPkgImagesImage* image = FImages->GetItems(i);
        WriteImage(W, *image, image->Id());
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
