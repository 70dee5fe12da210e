#include "KvGraphics.h"

#include <QHash>
#include <QImageReader>
#include <QPainter>

namespace {

struct TFormatInfo
{
    const char* Name;
    const char* Description;
    const char* Aliases; // further extensions, ";" separated
};

const TFormatInfo KnownFormats[] = {
    {"bmp", "Bitmaps", ""},
    {"cur", "Cursors", ""},
    {"gif", "GIF Images", ""},
    {"icns", "Apple Icon Images", ""},
    {"ico", "Icons", ""},
    {"jpeg", "JPEG Images", "jpg"},
    {"pbm", "Portable Bitmaps", ""},
    {"pgm", "Portable Graymaps", ""},
    {"png", "Portable Network Graphics", ""},
    {"ppm", "Portable Pixmaps", ""},
    {"svg", "Scalable Vector Graphics", "svgz"},
    {"tga", "Truevision Targa Images", ""},
    {"tiff", "TIFF Images", "tif"},
    {"wbmp", "Wireless Bitmaps", ""},
    {"webp", "WebP Images", ""},
    {"xbm", "X11 Bitmaps", ""},
    {"xpm", "X11 Pixmaps", ""},
};

const TFormatInfo* FindKnown(const QString& Format)
{
    const QString Lower = Format.toLower();
    for (const TFormatInfo& Info : KnownFormats)
        if (Lower == QLatin1String(Info.Name) ||
            QString::fromLatin1(Info.Aliases).split(u';', Qt::SkipEmptyParts).contains(Lower))
            return &Info;
    return nullptr;
}

QStringList Extensions(const QString& Format)
{
    QStringList Result{Format.toLower()};
    if (const TFormatInfo* Info = FindKnown(Format)) {
        Result = QStringList{QString::fromLatin1(Info->Name)};
        Result += QString::fromLatin1(Info->Aliases).split(u';', Qt::SkipEmptyParts);
    }
    return Result;
}

QString Patterns(const QStringList& Exts)
{
    QStringList Result;
    for (const QString& Ext : Exts)
        Result << QStringLiteral("*.") + Ext;
    return Result.join(u';');
}

} // namespace

QStringList KvGraphicFormats()
{
    QStringList Result;
    for (const QByteArray& Name : QImageReader::supportedImageFormats()) {
        const TFormatInfo* Info = FindKnown(QString::fromLatin1(Name));
        const QString Main = Info ? QString::fromLatin1(Info->Name) : QString::fromLatin1(Name).toLower();
        if (!Result.contains(Main))
            Result << Main;
    }
    Result.sort();
    return Result;
}

void KvFormatGraphics(QStringList& Formats) { Formats = KvGraphicFormats(); }

QString KvGraphicFilter(const QString& Format)
{
    const QString Pattern = Patterns(Extensions(Format));
    return QStringLiteral("%1 (%2)|%2").arg(KvFindGraphicDescription(Format), Pattern);
}

QString KvFormatGraphics()
{
    const QStringList Formats = KvGraphicFormats();
    QStringList All;
    QStringList Pairs;
    for (const QString& Format : Formats) {
        All += Extensions(Format);
        Pairs << KvGraphicFilter(Format);
    }
    const QString AllPattern = Patterns(All);
    return QStringLiteral("All graphics (%1)|%1|").arg(AllPattern) + Pairs.join(u'|');
}

QString KvFindGraphicDescription(const QString& Format)
{
    if (Format.isEmpty())
        return QString();
    if (const TFormatInfo* Info = FindKnown(Format))
        return QString::fromLatin1(Info->Description);
    return Format.toUpper() + QStringLiteral(" Images");
}

QRect KvImageRect(const QSize& ImageSize, const QRect& Rect, bool Stretch)
{
    if (ImageSize.isEmpty() || Rect.isEmpty())
        return QRect();
    QSize Size = ImageSize;
    if (Stretch || Size.width() > Rect.width() || Size.height() > Rect.height())
        Size.scale(Rect.size(), Qt::KeepAspectRatio);
    QRect Result(QPoint(0, 0), Size.expandedTo(QSize(1, 1)));
    Result.moveCenter(Rect.center());
    return Result;
}

void KvDrawImage(QPainter& Painter, const QRect& Rect, const QImage& Image, bool Transparent, bool Stretch)
{
    const QRect Target = KvImageRect(Image.size(), Rect, Stretch);
    if (Target.isEmpty())
        return;
    QImage Source = Image;
    if (Transparent && !Image.hasAlphaChannel()) {
        const QRgb Key = Image.pixel(0, Image.height() - 1);
        Source = Image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < Source.height(); ++y) {
            QRgb* Line = reinterpret_cast<QRgb*>(Source.scanLine(y));
            for (int x = 0; x < Source.width(); ++x)
                if ((Line[x] & 0xFFFFFF) == (Key & 0xFFFFFF))
                    Line[x] = 0;
        }
    }
    Painter.save();
    Painter.setRenderHint(QPainter::SmoothPixmapTransform, Target.size() != Image.size());
    Painter.drawImage(Target, Source);
    Painter.restore();
}
