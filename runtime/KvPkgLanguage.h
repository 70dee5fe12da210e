#pragma once

#include "KvPkgStrings.h"

#include <QChar>
#include <QDateTime>
#include <QStringList>

// Language packages: the locale settings of a language and its two strings packages, "System"
// (the library's own texts) and "User" (the application's). The strings packages live inside the
// language package: they are stored, loaded and saved with it.

// The enumerated locale settings; the locale stores their values as integers.
namespace KvLocaleTypes {
Q_NAMESPACE
enum TKvDateFormat { dfDayMonthYear, dfMonthDayYear, dfYearMonthDay };
Q_ENUM_NS(TKvDateFormat)
enum TKvStartOfWeek { swMonday, swTuesday, swWednesday, swThursday, swFriday, swSaturday, swSunday };
Q_ENUM_NS(TKvStartOfWeek)
// Where week 1 of a year starts: at January 1st, in the first week of four days, or at the
// first full week.
enum TKvStartWeekYear { wyJanuaryFirst, wyFirstFourDays, wyFirstFullWeek };
Q_ENUM_NS(TKvStartWeekYear)
enum TKvCurrencyFormat { cfBefore, cfAfter, cfBeforeSpace, cfAfterSpace };
Q_ENUM_NS(TKvCurrencyFormat)
} // namespace KvLocaleTypes

struct TKvPkgLanguageLocale
{
    // On: the settings follow the system's regional settings, read again whenever it is
    // switched on, and the application reads them at start.
    bool AutoLoad = true;
    // TKvDateFormat.
    int DateFormat = 0;
    QChar DateSeparator = u'/';
    QStringList MonthShortNames;
    QStringList MonthLongNames;
    QStringList DayShortNames;
    QStringList DayLongNames;
    // Two-digit years below it belong to the next century.
    int DateCentury = 1950;
    // As the runtime's TKvDateYear: 0 default, 1 short, 2 long.
    int MaskDateYear = 0;
    int MaskDateYearFix = 0;
    // TKvStartOfWeek.
    int StartOfWeek = 0;
    // TKvStartWeekYear.
    int StartWeekYear = 0;
    QChar TimeSeparator = u':';
    QString TimeAMString = QStringLiteral("AM");
    QString TimePMString = QStringLiteral("PM");
    QChar NumericThousandSeparator = u',';
    QChar NumericDecimalSeparator = u'.';
    int MaskDecimals = 2;
    QString NumericCurrencyString = QStringLiteral("$");
    // TKvCurrencyFormat: "$1", "1$", "$ 1", "1 $".
    int NumericCurrencyFormat = 0;

    bool operator==(const TKvPkgLanguageLocale&) const = default;
    // English names; the other values as above.
    static TKvPkgLanguageLocale Default();
    // The system's regional settings, AutoLoad on; a value the locale cannot hold (a separator
    // of several characters, names missing) keeps its default.
    static TKvPkgLanguageLocale System();
    // Raises EKvPkgError naming the first value out of range.
    void Check() const;
};

class TKvPkgLanguage : public TKvPkgInfo
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvPkgLanguage(TComponent* AOwner = nullptr);
    ~TKvPkgLanguage() override;

    const TKvPkgLanguageLocale& Locale() const { return FLocale; }
    // Checks first; nothing changes when it raises.
    void SetLocale(const TKvPkgLanguageLocale& Value);
    // Switching AutoLoad on takes the system's settings; off keeps the settings as they are.
    void SetAutoLoad(bool Value);
    // The library's default settings; AutoLoad stays as it is.
    void RestoreDefaults();
    TKvPkgStrings* PkgSystem() const { return FSystem; }
    TKvPkgStrings* PkgUser() const { return FUser; }

    // The base language file the "System" strings were last updated from, and when.
    QString LastUpdateFile() const { return FLastUpdateFile; }
    void SetLastUpdateFile(const QString& Value);
    QDateTime UpdateDateTime() const { return FUpdateDateTime; }
    void SetUpdateDateTime(const QDateTime& Value);

    QString DefaultExt() const override { return QStringLiteral("lan"); }
    // Empties both strings packages; the locale stays.
    void Clear() override;

protected:
    QByteArray FileTag() const override { return QByteArrayLiteral("LANG"); }
    std::unique_ptr<TContent> ReadContent(TKvPkgReader& Reader, quint16 Version) const override;
    void CommitContent(TContent& Content) override;
    void WriteContent(TKvPkgWriter& Writer) const override;

private:
    TKvPkgLanguageLocale FLocale;
    TKvPkgStrings* FSystem;
    TKvPkgStrings* FUser;
    QString FLastUpdateFile;
    QDateTime FUpdateDateTime;
};

QString KvReadPkgLanguageDescription(const QString& FileName);
