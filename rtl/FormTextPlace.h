// Where in a form text a place of its binary form was written: errors found in the binary form of
// a text form (reading it into live components) name the text's line and column.
#pragma once

#include <QByteArray>

struct TFormTextPlace
{
    int Line = 0; // 1-based; 0 when unknown
    int Column = 0;
};

// The line and column of the object or property of `text` whose binary form holds `offset` (a
// place in ObjectTextToBinary(text)); Line 0 when the text does not convert.
TFormTextPlace FormTextPlace(const QByteArray& text, qint64 offset);
