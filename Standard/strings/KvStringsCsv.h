#pragma once

#include "SysUtils.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

// The exchange files of strings packages as text: comma-separated records the way spreadsheet
// programs write and read them. Nothing here knows a package.

// A file that cannot be taken in; Message is "FILE:LINE: Reason" (the line is 0 when the fault
// is not on one line).
class EKvExchangeError : public Exception
{
public:
    EKvExchangeError(QString FileName, int Line, QString Reason);
    QString FileName;
    int Line;
    QString Reason;
};

// Comma-separated records. A field holding a comma, a quotation mark, a line break or blanks at
// either end is quoted, with quotation marks doubled; line breaks inside a quoted field stay as
// they are. Records end with CR LF.
void KvCsvAppendRecord(QString& Out, const QStringList& Fields);

// Reads records one by one. Records may end with CR LF, LF or CR; a quoted field may span
// lines. An unclosed quoted field or text after a closing quote raise EKvExchangeError (with
// an empty file name) naming the line the record starts on or where the fault is.
class TKvCsvReader
{
public:
    explicit TKvCsvReader(QStringView Text) : FText(Text) {}
    // False at the end of the text. An empty line gives one empty field.
    bool Next(QStringList& Fields);
    // The line the record last read starts on, 1-based.
    int RecordLine() const { return FRecordLine; }

private:
    QStringView FText;
    qsizetype FPos = 0;
    int FLine = 1;
    int FRecordLine = 0;
};

// Text file bytes as text: a byte-order mark selects UTF-8, UTF-16 or UTF-32; without one the
// bytes must be UTF-8 (no code page is guessed), else the line of the first bad byte is named.
QString KvDecodeTextFile(const QByteArray& Data, const QString& FileName);

// One item as the exchange file holds it.
struct TKvStringsRecord
{
    int Id = 0;
    QString Text;
    QString Hint; // labels only
    bool Protected = false;
    bool operator==(const TKvStringsRecord&) const = default;
};

// The exchange file of a list: UTF-8 with a byte-order mark (so that spreadsheet programs take
// it as UTF-8), one record per item in the order given: the id, the text, the hint (HasHint,
// labels), then "P" for a protected item. Trailing empty fields are left out; no records give
// an empty file.
QByteArray KvStringsFormatExchange(const std::vector<TKvStringsRecord>& Records, bool HasHint);

// The records of an exchange file: the id first (blanks around it allowed), missing fields
// empty, fields beyond the flag ignored. A line whose id is not a number from 0 up, or repeats
// one, raises EKvExchangeError naming FileName and the line.
std::vector<TKvStringsRecord> KvStringsParseExchange(const QByteArray& Data, bool HasHint, const QString& FileName);
