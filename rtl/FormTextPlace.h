// Where in a form text a place of its binary form was written: errors found in the binary form of
// a text form (reading it into live components) name the text's line and column.
#pragma once

#include <QByteArray>

#include <exception>

struct TFormReadOptions;

struct TFormTextPlace
{
    int Line = 0; // 1-based; 0 when unknown
    int Column = 0;
};

// The line and column of the object or property of `text` whose binary form holds `offset` (a
// place in ObjectTextToBinary(text)); Line 0 when the text does not convert.
TFormTextPlace FormTextPlace(const QByteArray& text, qint64 offset);

// An error reading a form on top of its ancestors may be in an ancestor's form: the first of
// Options.Ancestors that fails read alone (on those before it), with its error in Error; -1 when
// every one reads.
qsizetype FailingAncestor(const TFormReadOptions& Options, std::exception_ptr& Error);
