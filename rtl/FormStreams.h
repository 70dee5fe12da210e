#pragma once

#include <QByteArray>
#include <QString>

// Conversions between the text form format, the binary form format (signature "TPF0") and its
// resource wrapping (FF 0A 00, upper-case resource name, flags, size, then the TPF0 stream).
// Errors: EParserError (line and column) for text, EReadError (offset) for binary input.

enum class TStreamOriginalFormat { sofUnknown = 0, sofBinary = 1, sofText = 2 };

enum class TLineBreak { CRLF, LF };

// Looks at the first bytes only: binary (TPF0 or resource header), text, or unknown.
TStreamOriginalFormat TestStreamFormat(const QByteArray& data);

QByteArray ObjectTextToBinary(const QByteArray& text);
QByteArray ObjectBinaryToText(const QByteArray& binary, TLineBreak lineBreak = TLineBreak::CRLF);
QByteArray ObjectResourceToText(const QByteArray& resource, TLineBreak lineBreak = TLineBreak::CRLF);
// The resource name is the class name of the root object, upper-cased.
QByteArray ObjectTextToResource(const QByteArray& text);
// Writes text back in the format a form file was found in: text stays text (as given), anything
// else becomes a resource. An unknown format is resolved to binary.
QByteArray ObjectTextToResource(const QByteArray& text, TStreamOriginalFormat& originalFormat);

// Strips a resource header when there is one and returns the TPF0 stream.
QByteArray ObjectResourceToBinary(const QByteArray& resource);
