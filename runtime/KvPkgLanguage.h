#pragma once

#include "KvPkgStrings.h"

#include <QChar>
#include <QDateTime>
#include <QStringList>

// Language packages: the locale settings of a language and its two strings packages, "System"
// (the library's own texts) and "User" (the application's). The strings packages live inside the
// language package: they are stored, loaded and saved with it.

struct TKvPkgLanguageLocale
{
    bool AutoLoad = true;
    // 0 day-month-year, 1 month-day-year, 2 year-month-day.
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
    // 0 Monday to 6 Sunday.
    int StartOfWeek = 0;
    // 0 on January 1st, 1 on the first four-day week, 2 on the first full week.
    int StartWeekYear = 0;
    QChar TimeSeparator = u':';
    QString TimeAMString = QStringLiteral("AM");
    QString TimePMString = QStringLiteral("PM");
    QChar NumericThousandSeparator = u',';
    QChar NumericDecimalSeparator = u'.';
    int MaskDecimals = 2;
    QString NumericCurrencyString = QStringLiteral("$");
    // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
    int NumericCurrencyFormat = 0;

    bool operator==(const TKvPkgLanguageLocale&) const = default;
    // English names; the other values as above.
    static TKvPkgLanguageLocale Default();
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
