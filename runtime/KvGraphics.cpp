#include "KvGraphics.h"

#include <QHash>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>

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

namespace {

// The image with its bottom-left colour made see-through, unless it has an alpha channel.
QImage SeeThrough(const QImage& Image, bool Transparent)
{
    if (!Transparent || Image.hasAlphaChannel())
        return Image;
    const QRgb Key = Image.pixel(0, Image.height() - 1);
    QImage Source = Image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < Source.height(); ++y) {
        QRgb* Line = reinterpret_cast<QRgb*>(Source.scanLine(y));
        for (int x = 0; x < Source.width(); ++x)
            if ((Line[x] & 0xFFFFFF) == (Key & 0xFFFFFF))
                Line[x] = 0;
    }
    return Source;
}

} // namespace

void KvDrawImage(QPainter& Painter, const QRect& Rect, const QImage& Image, bool Transparent, bool Stretch)
{
    const QRect Target = KvImageRect(Image.size(), Rect, Stretch);
    if (Target.isEmpty())
        return;
    const QImage Source = SeeThrough(Image, Transparent);
    Painter.save();
    Painter.setRenderHint(QPainter::SmoothPixmapTransform, Target.size() != Image.size());
    Painter.drawImage(Target, Source);
    Painter.restore();
}

// ---------------------------------------------------------------------------------------------
// Backgrounds

const QStringList& KvBackGroundStyleNames()
{
    static const QStringList Names = {
        "bgsHorizontal", "bgsVertical", "bgsHorizontalCenter", "bgsVerticalCenter", "bgsDiagonalDown",
        "bgsDiagonalUp", "bgsRadial", "bgsRectangle", "bgsSolid", "bgsImage", "bgsImageQuarters",
        "bgsImageTopLeft", "bgsImageLeft", "bgsImageBottomLeft", "bgsImageTop", "bgsImageCenter",
        "bgsImageBottom", "bgsImageTopRight", "bgsImageRight", "bgsImageBottomRight", "bgsImageTile",
    };
    return Names;
}

namespace {

QColor Mix(const QColor& A, const QColor& B, double T)
{
    return QColor::fromRgbF(float(A.redF() + (B.redF() - A.redF()) * T),
                            float(A.greenF() + (B.greenF() - A.greenF()) * T),
                            float(A.blueF() + (B.blueF() - A.blueF()) * T),
                            float(A.alphaF() + (B.alphaF() - A.alphaF()) * T));
}

void FillLinear(QPainter& P, const QRect& R, QPointF From, QPointF To, const QGradientStops& Stops)
{
    QLinearGradient g(From, To);
    g.setStops(Stops);
    P.fillRect(R, g);
}

void DrawImageStyle(QPainter& P, const QRect& R, const QColor& Solid, const QImage& Image, bool Transparent)
{
    P.fillRect(R, Solid);
    if (!Image.isNull())
        KvDrawImage(P, R, Image, Transparent, true);
}

// Half the rect's width for a wide image, half its height for a tall one, proportions kept,
// placed in one of nine positions (0 top left, 1 left middle, ... 8 bottom right).
QRect PlacedImageRect(const QRect& R, const QSize& ImageSize, int Position)
{
    QSize s;
    if (ImageSize.width() >= ImageSize.height())
        s = QSize(R.width() / 2, int(qint64(ImageSize.height()) * (R.width() / 2) / ImageSize.width()));
    else
        s = QSize(int(qint64(ImageSize.width()) * (R.height() / 2) / ImageSize.height()), R.height() / 2);
    const int column = Position / 3, row = Position % 3;
    const int x = R.left() + column * (R.width() - s.width()) / 2;
    const int y = R.top() + row * (R.height() - s.height()) / 2;
    return QRect(QPoint(x, y), s);
}

} // namespace

void KvDrawGradient(QPainter& P, const QRect& R, int Style, const QColor& Start, const QColor& End,
                    const QColor& Solid, const QImage& Image, bool Transparent)
{
    if (R.isEmpty())
        return;
    P.save();
    P.setClipRect(R, Qt::IntersectClip);
    // Gradients run from the first pixel's centre to the last one's, so that both ends show
    // their colours exactly.
    const QRectF c = QRectF(R).adjusted(0.5, 0.5, -0.5, -0.5);
    switch (Style) {
    case bgsHorizontal:
        FillLinear(P, R, c.topLeft(), c.topRight(), {{0, Start}, {1, End}});
        break;
    case bgsVertical:
        FillLinear(P, R, c.topLeft(), c.bottomLeft(), {{0, Start}, {1, End}});
        break;
    case bgsHorizontalCenter:
        FillLinear(P, R, c.topLeft(), c.topRight(), {{0, Start}, {0.5, End}, {1, Start}});
        break;
    case bgsVerticalCenter:
        FillLinear(P, R, c.topLeft(), c.bottomLeft(), {{0, Start}, {0.5, End}, {1, Start}});
        break;
    case bgsDiagonalDown:
        FillLinear(P, R, c.topLeft(), c.bottomRight(), {{0, Start}, {1, End}});
        break;
    case bgsDiagonalUp:
        FillLinear(P, R, c.bottomLeft(), c.topRight(), {{0, Start}, {1, End}});
        break;
    case bgsRadial: {
        const QPointF d = c.bottomRight() - c.center();
        QRadialGradient g(c.center(), std::max(0.5, std::hypot(d.x(), d.y())));
        g.setColorAt(0, Start);
        g.setColorAt(1, End);
        P.fillRect(R, g);
        break;
    }
    case bgsRectangle: {
        const int steps = (std::min(R.width(), R.height()) + 1) / 2;
        for (int i = 0; i < steps; ++i)
            P.fillRect(R.adjusted(i, i, -i, -i), Mix(Start, End, steps > 1 ? double(i) / (steps - 1) : 0));
        break;
    }
    case bgsImage:
        DrawImageStyle(P, R, Solid, Image, Transparent);
        break;
    case bgsImageQuarters: {
        const int w = R.width() / 2, h = R.height() / 2;
        for (const QRect& q : {QRect(R.left(), R.top(), w, h), QRect(R.left() + w, R.top(), R.width() - w, h),
                               QRect(R.left() + w, R.top() + h, R.width() - w, R.height() - h),
                               QRect(R.left(), R.top() + h, w, R.height() - h)})
            DrawImageStyle(P, q, Solid, Image, Transparent);
        break;
    }
    case bgsImageTile:
        P.fillRect(R, Solid);
        if (!Image.isNull()) {
            // One brush, not one drawing per tile: a tiny image may tile a large area.
            P.setBrushOrigin(R.topLeft());
            P.fillRect(R, QBrush(SeeThrough(Image, Transparent)));
        }
        break;
    default:
        if (Style >= bgsImageTopLeft && Style <= bgsImageBottomRight) {
            P.fillRect(R, Solid);
            if (!Image.isNull())
                DrawImageStyle(P, PlacedImageRect(R, Image.size(), Style - bgsImageTopLeft), Solid, Image,
                               Transparent);
        } else {
            P.fillRect(R, Solid);
        }
        break;
    }
    P.restore();
}

void KvDrawGridLines(QPainter& P, const QRect& R, const QColor& Light, const QColor& Dark, int Width, bool LeftLight,
                     bool TopLight, bool RightLight, bool BottomLight)
{
    if (R.isEmpty() || Width <= 0)
        return;
    const int w = std::min(Width, R.width() / 2 + R.width() % 2);
    const int h = std::min(Width, R.height() / 2 + R.height() % 2);
    // Top and bottom take the full width, left and right what lies between them.
    P.fillRect(QRect(R.left(), R.top(), R.width(), h), TopLight ? Light : Dark);
    if (R.height() > h)
        P.fillRect(QRect(R.left(), R.bottom() - h + 1, R.width(), h), BottomLight ? Light : Dark);
    const int between = R.height() - 2 * h;
    if (between <= 0)
        return;
    P.fillRect(QRect(R.left(), R.top() + h, w, between), LeftLight ? Light : Dark);
    if (R.width() > w)
        P.fillRect(QRect(R.right() - w + 1, R.top() + h, w, between), RightLight ? Light : Dark);
}

void KvDrawSkinImage(QPainter& P, const QRect& R, const QImage& Skin, bool Transparent, int BorderWidth,
                     int BorderHeight)
{
    if (R.isEmpty() || Skin.isNull())
        return;
    const QImage Source = SeeThrough(Skin, Transparent);
    // Borders larger than half the image or the target shrink to fit both.
    const int bw = std::clamp(BorderWidth, 0, std::min(Source.width(), R.width()) / 2);
    const int bh = std::clamp(BorderHeight, 0, std::min(Source.height(), R.height()) / 2);
    const int sx[] = {0, bw, Source.width() - bw, Source.width()};
    const int sy[] = {0, bh, Source.height() - bh, Source.height()};
    const int dx[] = {R.left(), R.left() + bw, R.right() + 1 - bw, R.right() + 1};
    const int dy[] = {R.top(), R.top() + bh, R.bottom() + 1 - bh, R.bottom() + 1};
    P.save();
    P.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const QRect From(QPoint(sx[col], sy[row]), QPoint(sx[col + 1] - 1, sy[row + 1] - 1));
            const QRect To(QPoint(dx[col], dy[row]), QPoint(dx[col + 1] - 1, dy[row + 1] - 1));
            if (!From.isEmpty() && !To.isEmpty())
                P.drawImage(To, Source, From);
        }
    P.restore();
}
