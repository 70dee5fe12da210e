#pragma once

#include <QString>
#include <QStringView>

class QObject;
class QTextDocument;

// The rich text format rich edit controls store in their Lines, read into a QTextDocument and
// written from one. What the editor can produce is kept: paragraphs with their alignment,
// indents and spacing, bullets and numbering, fonts, sizes, bold, italic, underline, strike,
// text and highlight colours, line breaks and tabs. Pictures, objects, tables, styles and
// document information are skipped when read; a text that is only read and never edited should
// be stored back as it was, not rewritten.

// Text starts, after white space, with "{\rtf".
bool KvIsRichText(QStringView Text);

// A new document (owned by Parent) holding Text. Characters above 127 are taken as they are
// (a file's bytes come in one character each); \'hh goes through the code page of the current
// font or of the document. Raises EReadError with the offset (in characters) of the fault:
// text that is not rich text, an unbalanced brace, a bad escape, a number out of range, groups
// nested too deep, data cut short.
QTextDocument* KvReadRichText(QStringView Text, QObject* Parent = nullptr);

// Document as a rich edit control writes it: a header line with the font table, the colour
// table when colours are used, then one line per paragraph ending in \par, and a final "}",
// lines separated by CR LF. Characters outside Windows-1252 are written as \uN?.
QString KvWriteRichText(const QTextDocument& Document);

// The text of a file for a rich text editor: rich text one character a byte (offsets stay
// byte offsets), other text as UTF-8, or in the local 8-bit code page when it is no UTF-8.
// Rich tells which it was.
QString KvDecodeTextFile(const QByteArray& Data, bool& Rich);
