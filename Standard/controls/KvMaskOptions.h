#pragma once

#include <QString>

// The option letters of an edit mask as separate settings, so that the mask editor can show them
// as check boxes and radio groups and write them back in the order the runtime reads them.

// The mask editor's pages: one options string is kept per kind.
enum class TKvMaskKind { Integer, Decimal, Text, Date };
constexpr int KvMaskKindCount = 4;
TKvMaskKind KvMaskKind(int DataType);

// The letters of durations 1 to 6.
inline constexpr char KvMaskDurationLetters[] = "zxcvbp";

struct TKvMaskOptions
{
    QChar Align = u'<'; // '<' left, '%' centre, '>' right

    // Numeric kinds.
    QChar Negative;     // none, '-' accepted, '+' accepted with the sign always shown
    bool SignRight = false;
    bool NoZero = false;
    bool Thousands = false;
    bool TrimDecimals = false;
    bool CheckInteger = false;
    bool FillAll = false; // also the text kinds' "fill all characters"
    bool FillZeros = false;
    bool Currency = false;
    int Scientific = 0; // 0 none, 1 to 4

    // Date kind.
    bool Day = false;
    QChar DayName;      // none, 'D' short, '1' long
    QChar Month;        // none, 'm', 'M', '2'
    bool Year = false;
    bool Hour = false;
    bool Minutes = false;
    bool Seconds = false;
    bool AmPm = false;
    bool TwelveHour = false;
    bool AutoAdjust = false;
    int Duration = 0;   // 0 none, 1 to 6

    // Text kinds.
    bool Symbols = false;
    bool Letters = false;
    bool Digits = false;
    bool Spaces = false;
    bool NoTrim = false;
    bool SaveMask = false;
    QChar Case;         // none, 'u', 'l', 'f'
    bool Password = false;
    bool AlignRight = false;

    // The settings a data type starts from: its default mask, or everything off.
    static TKvMaskOptions Initial(int DataType, bool Default);
    // Empty and default options give the default settings; otherwise every known letter sets its
    // control over the cleared settings and unknown letters are ignored.
    static TKvMaskOptions Parse(int DataType, const QString& Options);
    // The letters in the order the runtime expects them.
    QString Text(int DataType) const;

    // Date kind: 12-hour time needs AM/PM, and only it can be auto-adjusted.
    void SetTwelveHour(bool On);
    // Date kind: a duration has no calendar parts; they come back when it is set to none again.
    void SetDuration(int Value);
    bool CalendarEnabled() const { return Duration == 0; }
    bool AmPmEnabled() const { return Duration == 0 && !TwelveHour; }
    bool AutoAdjustEnabled() const { return TwelveHour; }

    bool operator==(const TKvMaskOptions&) const = default;

private:
    struct TCalendar
    {
        bool Day = false;
        QChar DayName;
        QChar Month;
        bool Year = false;
        bool operator==(const TCalendar&) const = default;
    };
    TCalendar FRemembered;
};

// Default options are stored as an empty mask text: same length as the data type's default
// letters, and every letter one of them.
bool KvIsDefaultMaskOptions(int DataType, const QString& Options);

// Whether Key may be typed into Options of a data type (backspace always may).
bool KvMaskAcceptsKey(int DataType, const QString& Options, QChar Key);

// The three parts of a mask text; a text without a picture shows "_" as its space character.
struct TKvMaskParts
{
    QString Options;
    QString Picture;
    QString Space;
};
TKvMaskParts KvSplitMaskText(const QString& Text);
// The text stored for a mask: default options become empty; text kinds append a picture and a
// space character when given.
QString KvJoinMaskText(int DataType, const QString& Options, const QString& Picture, const QString& Space);
