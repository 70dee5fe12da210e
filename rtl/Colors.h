#pragma once

#include <QString>
#include <QStringList>

// Colour values as text and as RGB; the names are those of ColorToString (Controls.h).

// Reads what ColorToString writes and what form files hold: a name (any case), "$" and up to
// eight hex digits, or a decimal number (system colours are negative there). Raises
// EConvertError for anything else.
qint32 StringToColor(QStringView Text);
bool TryStringToColor(QStringView Text, qint32& Color);
// The colour names in table order, each value once (what a colour box lists).
QStringList ColorNames();
// The RGB a colour shows as: system colours come from a fixed palette so that drawings are the
// same on every machine; others are their low 24 bits read as $00BBGGRR. The result is opaque
// 0xFFRRGGBB, a QRgb.
quint32 ColorToRGB(qint32 Color);
