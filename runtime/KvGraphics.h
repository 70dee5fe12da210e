#pragma once

#include <QByteArray>
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
