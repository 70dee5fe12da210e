#include "KvAppPackage.h"

#include "DesignRegistry.h"
#include "registration/KvCtrlsReg.h"
#include "registration/KvReg.h"

#include <QBitmap>
#include <QHash>
#include <QPainter>
#include <QPixmap>

namespace {

QString ClassNameOf(const QMetaObject* Class)
{
    return QString::fromLatin1(Class->className());
}

// Initials of the class name without the library's "TKv" prefix: TKvDbEdit -> DE.
QString Initials(const QString& ClassName)
{
    QString Stem = ClassName;
    for (const char* Prefix : {"TKv", "T"})
        if (Stem.startsWith(QLatin1String(Prefix)) && Stem.size() > int(qstrlen(Prefix))) {
            Stem.remove(0, int(qstrlen(Prefix)));
            break;
        }
    QString Letters;
    for (QChar C : Stem)
        if (C.isUpper() && Letters.size() < 2)
            Letters += C;
    return Letters.isEmpty() ? Stem.left(2) : Letters;
}

QPixmap DrawnIcon(const QString& ClassName)
{
    QPixmap Pixmap(24, 24);
    Pixmap.fill(Qt::transparent);
    QPainter P(&Pixmap);
    P.setRenderHint(QPainter::Antialiasing);
    // A stable colour per class, so that neighbouring stand-ins differ.
    const QColor Fill = QColor::fromHsv(int(qHash(ClassName) % 360), 90, 220);
    P.setPen(Fill.darker(160));
    P.setBrush(Fill);
    P.drawRoundedRect(QRectF(1.5, 1.5, 21, 21), 4, 4);
    QFont Font = P.font();
    Font.setPixelSize(10);
    Font.setBold(true);
    P.setFont(Font);
    P.setPen(Qt::black);
    P.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, Initials(ClassName));
    return Pixmap;
}

// Palette bitmaps have no alpha: the colour of their bottom-left pixel is the background.
QPixmap Transparent(const QImage& Bitmap)
{
    QPixmap Pixmap = QPixmap::fromImage(Bitmap.size() == QSize(24, 24) ? Bitmap : Bitmap.scaled(24, 24));
    const QImage Scaled = Pixmap.toImage();
    Pixmap.setMask(Pixmap.createMaskFromColor(QColor::fromRgb(Scaled.pixel(0, Scaled.height() - 1))));
    return Pixmap;
}

} // namespace

void KvLoadDesignPackage()
{
    static bool Loaded = false;
    if (Loaded)
        return;
    Loaded = true;
    KvCtrlsRegInitialization();
    Register();
}

QList<TKvPalettePageInfo> KvRegisteredPalette()
{
    QList<TKvPalettePageInfo> Pages;
    for (const QString& Page : PalettePages())
        Pages.append({Page, PaletteClasses(Page)});
    return Pages;
}

QList<TKvInstalledPackage> KvInstalledPackages()
{
    return {{QStringLiteral("dclKvCtrls_22"), KvCtrlsReg::PackageDescription(), KvRegisteredPalette()}};
}

QIcon KvPaletteIcon(const QMetaObject* Class)
{
    static QHash<const QMetaObject*, QIcon> Cache;
    if (const auto It = Cache.constFind(Class); It != Cache.cend())
        return *It;
    const QString Name = ClassNameOf(Class);
    const QImage Bitmap = KvPaletteBitmap(Name);
    const QIcon Icon(Bitmap.isNull() ? DrawnIcon(Name) : Transparent(Bitmap));
    Cache.insert(Class, Icon);
    return Icon;
}
