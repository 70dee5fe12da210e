#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class TCodePage;

// Conversions between the text form format, the binary form format (signature "TPF0") and its
// resource wrapping (FF 0A 00, upper-case resource name, flags, size, then the TPF0 stream).
// Errors: EParserError (line and column) for text, EReadError (offset) for binary input.
//
// Strings: raw 8-bit bytes in a text form stay the same bytes in binary (8-bit strings) and are
// written back raw; `#nnn` above 127 makes a UTF-8 string in binary and is written back as `#nnn`.
// No code page is guessed; one is used only where asked for (see the `codePage` parameters).

enum class TStreamOriginalFormat { sofUnknown = 0, sofBinary = 1, sofText = 2 };

enum class TLineBreak { CRLF, LF };

// How floats are written: Current with 18 decimals ("476.250000000000000000"), Legacy with up to
// 15 significant digits and no trailing zeros ("476.25"), as older designers wrote them.
enum class TFormTextStyle { Current, Legacy };

// The encoding of a text form file: 8-bit without a byte-order mark, or UTF-8 / UTF-16 with one.
enum class TFormTextEncoding { Ansi, Utf8Bom, Utf16LE, Utf16BE };

// What the text reader found out about a form, and what the writer is to produce.
struct TFormTextFormat
{
    TLineBreak LineBreak = TLineBreak::CRLF;
    TFormTextStyle Style = TFormTextStyle::Current;
    TFormTextEncoding Encoding = TFormTextEncoding::Ansi;
};

// Looks at the first bytes only: binary (TPF0 or resource header), text, or unknown.
TStreamOriginalFormat TestStreamFormat(const QByteArray& data);

// `found`, when given, receives the line break, style and encoding of the text. With `codePage`,
// raw 8-bit strings are decoded with it and stored as UTF-8 strings (a form moved to Unicode);
// without it they keep their bytes. Text with a UTF-8 or UTF-16 byte-order mark is Unicode
// throughout: its non-ASCII characters make UTF-8 strings.
QByteArray ObjectTextToBinary(const QByteArray& text, TFormTextFormat* found = nullptr,
                              const TCodePage* codePage = nullptr);

// 8-bit strings are written raw, except with `codePage` in the current style, where they are
// decoded and written as `#nnn` (and become UTF-8 strings when read back), and in a Unicode
// encoding, where they are decoded with `codePage` or Windows-1252.
QByteArray ObjectBinaryToText(const QByteArray& binary, const TFormTextFormat& format,
                              const TCodePage* codePage = nullptr);
QByteArray ObjectBinaryToText(const QByteArray& binary, TLineBreak lineBreak = TLineBreak::CRLF,
                              TFormTextStyle style = TFormTextStyle::Current);
QByteArray ObjectResourceToText(const QByteArray& resource, const TFormTextFormat& format,
                                const TCodePage* codePage = nullptr);
QByteArray ObjectResourceToText(const QByteArray& resource, TLineBreak lineBreak = TLineBreak::CRLF,
                                TFormTextStyle style = TFormTextStyle::Current);
// The resource name is the class name of the root object, upper-cased.
QByteArray ObjectTextToResource(const QByteArray& text, const TCodePage* codePage = nullptr);
// Writes text back in the format a form file was found in: text stays text (as given), anything
// else becomes a resource. An unknown format is resolved to binary.
QByteArray ObjectTextToResource(const QByteArray& text, TStreamOriginalFormat& originalFormat);

// Whether a name read from a binary form is one the text format can hold: an identifier (letters
// beyond ASCII in UTF-8 included), or with `dotted` several joined by dots (Font.Style).
bool IsFormIdent(QByteArrayView name, bool dotted);

// Strips a resource header when there is one and returns the TPF0 stream. Bytes after the
// resource data are refused.
QByteArray ObjectResourceToBinary(const QByteArray& resource);
