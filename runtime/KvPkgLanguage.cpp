#include "KvPkgLanguage.h"

#include "KvPkgFormat.h"

#include <QLocale>

// Content of the language format (version 1): the locale settings, the last update file and
// time, then the "System" and the "User" strings packages, each as its whole strings file image
// (u32 length, bytes).

namespace {

struct TLanguageContent : TKvPkgInfo::TContent
{
    TKvPkgLanguageLocale Locale;
    QString LastUpdateFile;
    QDateTime UpdateDateTime;
    TKvPkgInfo::TParsed System;
    TKvPkgInfo::TParsed User;
};

void CheckRange(int Value, int Min, int Max, const char* What)
{
    if (Value < Min || Value > Max)
        throw EKvPkgError(
            QStringLiteral("%1 %2 is out of range (%3 to %4)").arg(QLatin1String(What)).arg(Value).arg(Min).arg(Max));
}

void CheckSeparator(QChar Value, const char* What)
{
    if (Value.isNull() || Value.isLetterOrNumber())
        throw EKvPkgError(QStringLiteral("'%1' cannot be the %2").arg(Value).arg(QLatin1String(What)));
}

void CheckNames(const QStringList& Names, int Count, const char* What)
{
    if (Names.size() != Count)
        throw EKvPkgError(QStringLiteral("%1 needs %2 names, not %3").arg(QLatin1String(What)).arg(Count).arg(Names.size()));
}

void WriteNames(TKvPkgWriter& W, const QStringList& Names)
{
    W.WriteU32(quint32(Names.size()));
    for (const QString& n : Names)
        W.WriteString(n);
}

QStringList ReadNames(TKvPkgReader& R)
{
    const int count = R.ReadCount(4);
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << R.ReadString();
    return names;
}

} // namespace

TKvPkgLanguageLocale TKvPkgLanguageLocale::Default()
{
    TKvPkgLanguageLocale l;
    l.MonthShortNames = QStringList{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    l.MonthLongNames = QStringList{"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
    l.DayShortNames = QStringList{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    l.DayLongNames = QStringList{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    return l;
}

namespace {

// The one character a system setting gives, when the locale can hold it.
QChar SystemSeparator(const QString& Value, QChar Default)
{
    return Value.size() == 1 && !Value.at(0).isLetterOrNumber() ? Value.at(0) : Default;
}

// The first character of a date or time format that is no letter.
QString FormatSeparator(const QString& Format)
{
    for (QChar c : Format)
        if (!c.isLetter() && c != u'\'')
            return QString(c);
    return QString();
}

} // namespace

TKvPkgLanguageLocale TKvPkgLanguageLocale::System()
{
    const QLocale sys = QLocale::system();
    TKvPkgLanguageLocale l = Default();
    const QString date = sys.dateFormat(QLocale::ShortFormat);
    const qsizetype d = date.indexOf(u'd'), m = date.indexOf(u'M'), y = date.indexOf(u'y');
    if (d >= 0 && m >= 0 && y >= 0)
        l.DateFormat = y < m ? KvLocaleTypes::dfYearMonthDay
                             : (m < d ? KvLocaleTypes::dfMonthDayYear : KvLocaleTypes::dfDayMonthYear);
    l.DateSeparator = SystemSeparator(FormatSeparator(date), l.DateSeparator);
    l.TimeSeparator = SystemSeparator(FormatSeparator(sys.timeFormat(QLocale::ShortFormat)), l.TimeSeparator);
    for (int i = 0; i < 12; ++i) {
        l.MonthShortNames[i] = sys.monthName(i + 1, QLocale::ShortFormat);
        l.MonthLongNames[i] = sys.monthName(i + 1, QLocale::LongFormat);
    }
    // The names start on Sunday, Qt's days on Monday.
    for (int i = 0; i < 7; ++i) {
        l.DayShortNames[i] = sys.dayName(i == 0 ? 7 : i, QLocale::ShortFormat);
        l.DayLongNames[i] = sys.dayName(i == 0 ? 7 : i, QLocale::LongFormat);
    }
    l.StartOfWeek = int(sys.firstDayOfWeek()) - 1;
    l.TimeAMString = sys.amText();
    l.TimePMString = sys.pmText();
    l.NumericThousandSeparator = SystemSeparator(sys.groupSeparator(), l.NumericThousandSeparator);
    l.NumericDecimalSeparator = SystemSeparator(sys.decimalPoint(), l.NumericDecimalSeparator);
    const QString symbol = sys.currencySymbol();
    if (!symbol.isEmpty()) {
        l.NumericCurrencyString = symbol;
        const QString sample = sys.toCurrencyString(1);
        const bool after = sample.indexOf(symbol) > sample.indexOf(u'1');
        const bool space = sample.contains(u' ') || sample.contains(QChar(0xA0));
        l.NumericCurrencyFormat = (after ? 1 : 0) + (space ? 2 : 0);
    }
    l.AutoLoad = true;
    try {
        l.Check();
    } catch (const EKvPkgError&) {
        l = Default();
    }
    return l;
}

void TKvPkgLanguageLocale::Check() const
{
    CheckRange(DateFormat, 0, 2, "Date format");
    CheckSeparator(DateSeparator, "date separator");
    CheckNames(MonthShortNames, 12, "Month short names");
    CheckNames(MonthLongNames, 12, "Month long names");
    CheckNames(DayShortNames, 7, "Day short names");
    CheckNames(DayLongNames, 7, "Day long names");
    CheckRange(DateCentury, 1, 9999, "Date century");
    CheckRange(MaskDateYear, 0, 2, "Date year style");
    CheckRange(MaskDateYearFix, 0, 9999, "Fixed date year");
    CheckRange(StartOfWeek, 0, 6, "Start of week");
    CheckRange(StartWeekYear, 0, 2, "Start of the week year");
    CheckSeparator(TimeSeparator, "time separator");
    CheckSeparator(NumericThousandSeparator, "thousand separator");
    CheckSeparator(NumericDecimalSeparator, "decimal separator");
    if (NumericThousandSeparator == NumericDecimalSeparator)
        throw EKvPkgError(QStringLiteral("The thousand and the decimal separators must differ"));
    CheckRange(MaskDecimals, 0, 9, "Decimals");
    CheckRange(NumericCurrencyFormat, 0, 3, "Currency format");
}

// ---------------------------------------------------------------------------------------------

TKvPkgLanguage::TKvPkgLanguage(TComponent* AOwner)
    : TKvPkgInfo(AOwner), FLocale(TKvPkgLanguageLocale::Default()), FSystem(new TKvPkgStrings(this)),
      FUser(new TKvPkgStrings(this))
{
    FSystem->SetName(QStringLiteral("PkgSystem"));
    FSystem->SetPkgName(QStringLiteral("System"));
    FSystem->SetContainer(this);
    FUser->SetName(QStringLiteral("PkgUser"));
    FUser->SetPkgName(QStringLiteral("User"));
    FUser->SetContainer(this);
}

TKvPkgLanguage::~TKvPkgLanguage() = default;

void TKvPkgLanguage::SetLocale(const TKvPkgLanguageLocale& Value)
{
    Value.Check();
    if (Value == FLocale)
        return;
    FLocale = Value;
    SetModified(true);
}

void TKvPkgLanguage::SetAutoLoad(bool Value)
{
    TKvPkgLanguageLocale l = Value ? TKvPkgLanguageLocale::System() : FLocale;
    l.AutoLoad = Value;
    SetLocale(l);
}

void TKvPkgLanguage::RestoreDefaults()
{
    TKvPkgLanguageLocale l = TKvPkgLanguageLocale::Default();
    l.AutoLoad = FLocale.AutoLoad;
    SetLocale(l);
}

void TKvPkgLanguage::SetLastUpdateFile(const QString& Value)
{
    if (Value == FLastUpdateFile)
        return;
    FLastUpdateFile = Value;
    SetModified(true);
}

void TKvPkgLanguage::SetUpdateDateTime(const QDateTime& Value)
{
    if (Value == FUpdateDateTime)
        return;
    FUpdateDateTime = Value;
    SetModified(true);
}

void TKvPkgLanguage::Clear()
{
    FSystem->Clear();
    FUser->Clear();
}

std::unique_ptr<TKvPkgInfo::TContent> TKvPkgLanguage::ReadContent(TKvPkgReader& R, quint16) const
{
    auto c = std::make_unique<TLanguageContent>();
    TKvPkgLanguageLocale& l = c->Locale;
    const qint64 at = R.Position();
    l.AutoLoad = KvReadBool(R);
    l.DateFormat = R.ReadI32();
    l.DateSeparator = QChar(R.ReadU16());
    l.MonthShortNames = ReadNames(R);
    l.MonthLongNames = ReadNames(R);
    l.DayShortNames = ReadNames(R);
    l.DayLongNames = ReadNames(R);
    l.DateCentury = R.ReadI32();
    l.MaskDateYear = R.ReadI32();
    l.MaskDateYearFix = R.ReadI32();
    l.StartOfWeek = R.ReadI32();
    l.StartWeekYear = R.ReadI32();
    l.TimeSeparator = QChar(R.ReadU16());
    l.TimeAMString = R.ReadString();
    l.TimePMString = R.ReadString();
    l.NumericThousandSeparator = QChar(R.ReadU16());
    l.NumericDecimalSeparator = QChar(R.ReadU16());
    l.MaskDecimals = R.ReadI32();
    l.NumericCurrencyString = R.ReadString();
    l.NumericCurrencyFormat = R.ReadI32();
    try {
        l.Check();
    } catch (const EKvPkgError& e) {
        R.FailAt(e.Message, at);
    }
    c->LastUpdateFile = R.ReadString();
    c->UpdateDateTime = KvReadDateTime(R);
    c->System = KvReadContained(R, *FSystem, QStringLiteral("System strings"));
    c->User = KvReadContained(R, *FUser, QStringLiteral("User strings"));
    return c;
}

void TKvPkgLanguage::CommitContent(TContent& Content)
{
    auto& c = static_cast<TLanguageContent&>(Content);
    FLocale = c.Locale;
    FLastUpdateFile = c.LastUpdateFile;
    FUpdateDateTime = c.UpdateDateTime;
    FSystem->CommitParsed(c.System);
    FUser->CommitParsed(c.User);
}

void TKvPkgLanguage::WriteContent(TKvPkgWriter& W) const
{
    const TKvPkgLanguageLocale& l = FLocale;
    KvWriteBool(W, l.AutoLoad);
    W.WriteI32(l.DateFormat);
    W.WriteU16(l.DateSeparator.unicode());
    WriteNames(W, l.MonthShortNames);
    WriteNames(W, l.MonthLongNames);
    WriteNames(W, l.DayShortNames);
    WriteNames(W, l.DayLongNames);
    W.WriteI32(l.DateCentury);
    W.WriteI32(l.MaskDateYear);
    W.WriteI32(l.MaskDateYearFix);
    W.WriteI32(l.StartOfWeek);
    W.WriteI32(l.StartWeekYear);
    W.WriteU16(l.TimeSeparator.unicode());
    W.WriteString(l.TimeAMString);
    W.WriteString(l.TimePMString);
    W.WriteU16(l.NumericThousandSeparator.unicode());
    W.WriteU16(l.NumericDecimalSeparator.unicode());
    W.WriteI32(l.MaskDecimals);
    W.WriteString(l.NumericCurrencyString);
    W.WriteI32(l.NumericCurrencyFormat);
    W.WriteString(FLastUpdateFile);
    KvWriteDateTime(W, FUpdateDateTime);
    W.WriteBytes(FSystem->SaveToBytes());
    W.WriteBytes(FUser->SaveToBytes());
}

QString KvReadPkgLanguageDescription(const QString& FileName)
{
    return KvReadPkgDescription(FileName, QByteArrayLiteral("LANG"));
}
