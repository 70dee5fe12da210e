#pragma once

#include "KvPackages.h" // KvAppPath, KvSetAppPath

#include <QChar>
#include <QString>
#include <QStringList>

// Small text helpers of the library: paths, field lists and the text forms of numbers and
// dates that the variant editors show and parse.

// "txt" -> ".txt"; an extension that has its point, or none at all, stays as it is.
QString KvAddPointExt(const QString& Ext);
// A folder with its trailing separator, ready for a file name; an empty path stays empty (it
// must not turn into the root folder).
QString KvAddPathBar(const QString& Path);

// A line of fields and back, in a comma-separated style: a field is quoted when it holds the
// separator, a quotation mark or a line break; inside quotes "" is a quotation mark and "r and
// "n are a carriage return and a line feed, so that a line never breaks and a line-by-line
// file keeps every field. Anything else is written as it is (spaces included) and read as it
// is. A lone empty field is written as "" to tell it from no fields.
// Reading is lenient with hand-edited lines: quotes inside an unquoted field are kept, text after
// a closing quote is appended, an unclosed quote runs to the end, and line breaks ending the
// text are dropped. The separator cannot be a quotation mark or a line break.
QStringList KvTextToStrings(const QString& Text, QChar Separator = u',');
QString KvTextFromStrings(const QStringList& Fields, QChar Separator = u',');

// Year styles of dates (the runtime's TKvDateYear): the default and Long give four digits,
// Short two.
constexpr int KvDateYearDefault = 0;
constexpr int KvDateYearShort = 1;
constexpr int KvDateYearLong = 2;

// A number as text. Mask holds the option letters of a numeric mask (the part before the first
// ";"): "." thousands separators, "&" trailing decimal zeros dropped, "+" the sign always shown,
// "*" the sign on the right, "z" zero shown as an empty text, "0" leading zeros up to Size
// digits, "1" to "3" scientific notation with that many exponent digits, "4" scientific only
// where the plain form would not show the number. Alignment and input-only letters are
// ignored. Decimals (0 to 15) are the digits after the point ("."; "," groups thousands); with
// Size 0 they are at most that many, trailing zeros dropped.
// Raises EConvertError for infinity and NaN.
QString KvANumericToStr(double Value, const QString& Mask, int Size, int Decimals);
// The number in Text rounded to Decimals: an optional sign before or after it, thousands
// groups of three, a decimal point and an exponent are accepted; an empty text is 0. Raises
// EConvertError for anything else.
double KvAStrToNumeric(const QString& Text, int Decimals);

// A float as the shortest text that reads back to the very same number: "0.1", "-0", "1.5E-10",
// "1E300"; Separator stands for the decimal point. Raises EConvertError for infinity and NaN.
QString KvCNumericToStr(double Value, QChar Separator = u'.');
// The inverse: an optional sign, digits with at most one Separator, an optional exponent ("E" or
// "e", optional sign, digits), nothing else, not even spaces. Raises EConvertError for any other
// text and for a number beyond the range of a double.
double KvCStrToNumeric(const QString& Text, QChar Separator = u'.');

// How a locale writes numeric dates: the order of the parts (0 day-month-year, 1 month-day-year,
// 2 year-month-day) and the separators between the date's and between the time's parts.
struct TKvDateOrder
{
    int Order = 0;
    QChar DateSeparator = u'/';
    QChar TimeSeparator = u':';
};
// The system locale's short date and time formats as such an order.
TKvDateOrder KvSystemDateOrder();
// As the active application's language package says, else as the system does.
TKvDateOrder KvActiveDateOrder();

// A TDateTime (days since 1899-12-30) as text. Format letters: "d" day, "m" month, "y" year
// (numeric, in the locale's order, joined by its date separator), "M"/"2" short/long month
// name (then the parts are joined by blanks), "D"/"1" short/long day name in front; then "h",
// "n", "s" for hours, minutes and seconds joined by the time separator, "z" milliseconds after
// the seconds (".zzz"), "a" or "o" for a 12-hour clock with AM/PM. An empty format is
// "dmyhns". Raises EConvertError for a value outside the years 1 to 9999.
QString KvADateTimeToStr(double DateTime, const QString& Format, int YearStyle, const TKvDateOrder& Locale = {});
// A date, a date and time, or a time alone (day 0) as a TDateTime: the three date parts in the
// locale's order separated by its date separator, "/", "-" or "." ("y-m-d" with a four-digit
// year first is always taken), then optionally "h:n[:s[.zzz]]" with the locale's time
// separator and AM/PM. Two-digit years below 50 are 20xx, the others 19xx. Raises
// EConvertError for anything else, an empty text included.
double KvAStrToDate(const QString& Text, const TKvDateOrder& Locale = {});
