#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

class QPainter;

// Graphic formats are named as Qt's image plug-ins name them ("png", "jpeg"); aliases of one
// format ("jpg", "jpeg") count as one, under its main name.

// The formats Qt can read here, sorted.
QStringList KvGraphicFormats();
// An open-dialog filter of every readable format: "All graphics (...)|...|<one pair per format>".
QString KvFormatGraphics();
// Fills Formats with the names of KvGraphicFormats (the value list of GraphicClass).
void KvFormatGraphics(QStringList& Formats);
// The filter pair of one format, "Portable Network Graphics (*.png)|*.png".
QString KvGraphicFilter(const QString& Format);
// A readable name of the format; an unknown one is described by its name, an empty one by "".
QString KvFindGraphicDescription(const QString& Format);

// Where KvDrawImage puts an image of ImageSize in Rect: centred; scaled to fill the rect with its
// proportions kept when Stretch, otherwise at its own size unless it is larger than the rect.
QRect KvImageRect(const QSize& ImageSize, const QRect& Rect, bool Stretch);
// Draws Image into Rect. Transparent makes the image's bottom-left colour see-through (images
// with an alpha channel are drawn with it either way).
void KvDrawImage(QPainter& Painter, const QRect& Rect, const QImage& Image, bool Transparent, bool Stretch);

// How a background is painted. The gradients run from the start colour to the end colour; the
// image styles paint the solid colour and put the image on it.
enum TKvBackGroundStyle {
    bgsHorizontal,         // left to right
    bgsVertical,           // top to bottom
    bgsHorizontalCenter,   // both sides to the vertical middle line
    bgsVerticalCenter,     // top and bottom to the horizontal middle line
    bgsDiagonalDown,       // top left to bottom right
    bgsDiagonalUp,         // bottom left to top right
    bgsRadial,             // the centre out to the corners
    bgsRectangle,          // the edges in to the centre, in nested rectangles
    bgsSolid,
    bgsImage,              // the image as large as fits, centred, proportions kept
    bgsImageQuarters,      // each quarter painted as bgsImage
    bgsImageTopLeft,       // 11 to 19: the image at half the size, in one of nine places
    bgsImageLeft,
    bgsImageBottomLeft,
    bgsImageTop,
    bgsImageCenter,
    bgsImageBottom,
    bgsImageTopRight,
    bgsImageRight,
    bgsImageBottomRight,
    bgsImageTile,
};
constexpr int KvBackGroundStyleCount = bgsImageTile + 1;
// The enumeration names, "bgsHorizontal" to "bgsImageTile", by value.
const QStringList& KvBackGroundStyleNames();

// Paints a background into Rect. Transparent makes the image's bottom-left colour see-through,
// as KvDrawImage does; a style out of range paints the solid colour.
void KvDrawGradient(QPainter& Painter, const QRect& Rect, int Style, const QColor& StartColor,
                    const QColor& EndColor, const QColor& SolidColor, const QImage& Image, bool Transparent);

// A frame Width pixels thick just inside Rect, each side in Light when its flag is set and in
// Dark otherwise: light left and top over dark right and bottom is a raised button. The sides
// do not overlap, so that a frame drawn in an inverting mode inverts every pixel once.
void KvDrawGridLines(QPainter& Painter, const QRect& Rect, const QColor& Light, const QColor& Dark, int Width,
                     bool LeftLight, bool TopLight, bool RightLight, bool BottomLight);

// Paints Skin over Rect in nine parts: corners of BorderWidth x BorderHeight at their own size,
// edges stretched along, the middle stretched both ways (a border of 0 stretches the whole
// image that way). Transparent makes the image's bottom-left colour see-through.
void KvDrawSkinImage(QPainter& Painter, const QRect& Rect, const QImage& Skin, bool Transparent, int BorderWidth,
                     int BorderHeight);
