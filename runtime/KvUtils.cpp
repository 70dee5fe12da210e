#include "KvUtils.h"

#include "SysUtils.h"

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QMap>
#include <QRegularExpression>
#include <QTime>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr qint64 MSecsPerDay = 86400000;
const QDate TDateTimeEpoch(1899, 12, 30);

void CheckSeparator(QChar Separator)
{
    if (Separator == u'"' || Separator == u'\r' || Separator == u'\n' || Separator == u'r' || Separator == u'n')
        throw EInvalidOperation(QStringLiteral("'%1' cannot separate fields").arg(Separator));
}

bool NeedsQuotes(const QString& Field, QChar Separator)
{
    for (QChar C : Field)
        if (C == Separator || C == u'"' || C == u'\r' || C == u'\n')
            return true;
    return false;
}

// Digits 1,234,567 with "," between groups of three.
QString GroupThousands(const QString& Digits)
{
    QString Result;
    const qsizetype Lead = Digits.size() % 3 == 0 ? 3 : Digits.size() % 3;
    Result += Digits.left(Lead);
    for (qsizetype i = Lead; i < Digits.size(); i += 3)
        Result += u',' + Digits.mid(i, 3);
    return Result;
}

bool AllZeros(const QString& Digits)
{
    return std::all_of(Digits.begin(), Digits.end(), [](QChar C) { return !C.isDigit() || C == u'0'; });
}

[[noreturn]] void InvalidDate(const QString& Text)
{
    throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(Text));
}

QString TwoDigits(int Value) { return QString::number(Value).rightJustified(2, u'0'); }

} // namespace

QString KvAddPointExt(const QString& Ext)
{
    return Ext.isEmpty() || Ext.startsWith(u'.') ? Ext : u'.' + Ext;
}

QString KvAddPathBar(const QString& Path)
{
    if (Path.isEmpty() || Path.endsWith(u'/') || Path.endsWith(u'\\') || Path.endsWith(QDir::separator()))
        return Path;
    return Path + u'/';
}

QString KvTextFromStrings(const QStringList& Fields, QChar Separator)
{
    CheckSeparator(Separator);
    if (Fields.size() == 1 && Fields.first().isEmpty())
        return QStringLiteral("\"\"");
    QString Result;
    for (qsizetype i = 0; i < Fields.size(); ++i) {
        if (i > 0)
            Result += Separator;
        const QString& Field = Fields.at(i);
        if (!NeedsQuotes(Field, Separator)) {
            Result += Field;
            continue;
        }
        Result += u'"';
        for (QChar C : Field) {
            if (C == u'"')
                Result += QLatin1String("\"\"");
            else if (C == u'\r')
                Result += QLatin1String("\"r");
            else if (C == u'\n')
                Result += QLatin1String("\"n");
            else
                Result += C;
        }
        Result += u'"';
    }
    return Result;
}

QStringList KvTextToStrings(const QString& Text, QChar Separator)
{
    CheckSeparator(Separator);
    qsizetype End = Text.size();
    while (End > 0 && (Text.at(End - 1) == u'\r' || Text.at(End - 1) == u'\n'))
        --End;
    QStringList Result;
    if (End == 0)
        return Result;
    qsizetype i = 0;
    for (;;) {
        QString Field;
        if (Text.at(i) == u'"') {
            ++i;
            while (i < End) {
                const QChar C = Text.at(i);
                if (C != u'"') {
                    Field += C;
                    ++i;
                    continue;
                }
                const QChar Next = i + 1 < End ? Text.at(i + 1) : QChar();
                if (Next == u'"')
                    Field += u'"';
                else if (Next == u'r')
                    Field += u'\r';
                else if (Next == u'n')
                    Field += u'\n';
                else {
                    ++i; // the closing quote
                    break;
                }
                i += 2;
            }
        }
        while (i < End && Text.at(i) != Separator)
            Field += Text.at(i++);
        Result << Field;
        if (i >= End)
            break;
        ++i; // a separator at the very end leaves one more, empty field
        if (i == End) {
            Result << QString();
            break;
        }
    }
    return Result;
}

QString KvANumericToStr(double Value, const QString& Mask, int Size, int Decimals)
{
    if (!std::isfinite(Value))
        throw EConvertError(QStringLiteral("Invalid floating point value"));
    Decimals = std::clamp(Decimals, 0, 15);
    const QString Options = Mask.section(u';', 0, 0);
    const bool Thousands = Options.contains(u'.');
    // Without a width (Size 0) Decimals is an upper bound: 42 reads "42", not "42.00000000".
    const bool Trim = Options.contains(u'&') || Size <= 0;
    const bool SignAlways = Options.contains(u'+');
    const bool SignRight = Options.contains(u'*');
    const bool NoZero = Options.contains(u'z');
    const bool FillZeros = Options.contains(u'0');
    int Scientific = 0;
    for (QChar C : Options)
        if (C >= u'1' && C <= u'4')
            Scientific = C.digitValue();

    const double Abs = std::fabs(Value);
    const QString Fixed = QString::number(Abs, 'f', Decimals);
    if (Scientific == 4) // only what the plain form would lose: huge numbers, or tiny ones that round to 0
        Scientific = Abs >= 1e15 || (Abs != 0 && AllZeros(Fixed)) ? 1 : 0;
    const bool Zero = Scientific > 0 ? Abs == 0 : AllZeros(Fixed);
    if (Zero && NoZero)
        return QString();

    QString Body;
    if (Scientific > 0) {
        const QString Sci = QString::number(Abs, 'e', Decimals); // "1.500000e+03"
        const qsizetype E = Sci.indexOf(u'e');
        QString Mantissa = Sci.left(E);
        if (Trim && Mantissa.contains(u'.')) {
            while (Mantissa.endsWith(u'0'))
                Mantissa.chop(1);
            if (Mantissa.endsWith(u'.'))
                Mantissa.chop(1);
        }
        const int Exponent = Sci.mid(E + 1).toInt();
        Body = Mantissa + u'E' + (Exponent < 0 ? u'-' : u'+') +
               QString::number(std::abs(Exponent)).rightJustified(Scientific, u'0');
    } else {
        QString Integral = Fixed.section(u'.', 0, 0);
        QString Fraction = Fixed.section(u'.', 1);
        if (Trim)
            while (Fraction.endsWith(u'0'))
                Fraction.chop(1);
        if (FillZeros && Size > 0)
            Integral = Integral.rightJustified(qMax(Size - Decimals, 1), u'0');
        if (Thousands)
            Integral = GroupThousands(Integral);
        Body = Fraction.isEmpty() ? Integral : Integral + u'.' + Fraction;
    }
    const bool Negative = Value < 0 && !Zero;
    const QString Sign = Negative ? QStringLiteral("-") : SignAlways ? QStringLiteral("+") : QString();
    return SignRight ? Body + Sign : Sign + Body;
}

double KvAStrToNumeric(const QString& Text, int Decimals)
{
    QString S = Text.trimmed();
    if (S.isEmpty())
        return 0;
    bool Negative = false;
    if (S.startsWith(u'-') || S.startsWith(u'+')) {
        Negative = S.startsWith(u'-');
        S.remove(0, 1);
    } else if (S.endsWith(u'-') || S.endsWith(u'+')) {
        Negative = S.endsWith(u'-');
        S.chop(1);
    }
    static const QRegularExpression Number(
        QStringLiteral("^(?=[.]?\\d)(\\d{1,3}(?:,\\d{3})+|\\d*)(?:\\.\\d*)?(?:[eE][+-]?\\d+)?$"));
    if (!Number.match(S).hasMatch())
        throw EConvertError(QStringLiteral("'%1' is not a valid number").arg(Text));
    S.remove(u',');
    double Result = S.toDouble();
    if (!std::isfinite(Result))
        throw EConvertError(QStringLiteral("'%1' is out of the range of numbers").arg(Text));
    Result = QString::number(Result, 'f', std::clamp(Decimals, 0, 15)).toDouble();
    if (Result == 0)
        return 0;
    return Negative ? -Result : Result;
}

QString KvCNumericToStr(double Value, QChar Separator)
{
    if (!std::isfinite(Value))
        throw EConvertError(QStringLiteral("Invalid floating point value"));
    char Buffer[64];
    const auto [End, Error] = std::to_chars(Buffer, Buffer + sizeof Buffer, Value); // shortest exact form
    Q_ASSERT(Error == std::errc());
    QString Text = QString::fromLatin1(Buffer, End - Buffer);
    const qsizetype E = Text.indexOf(u'e');
    if (E >= 0) // "1e-05" -> "1E-5"
        Text = Text.left(E) + u'E' + QString::number(Text.mid(E + 1).toInt());
    if (Separator != u'.')
        Text.replace(u'.', Separator);
    return Text;
}

double KvCStrToNumeric(const QString& Text, QChar Separator)
{
    // Checked here rather than left to the parser, which also takes "inf", "nan" and hex forms.
    QByteArray Plain;
    Plain.reserve(Text.size());
    qsizetype I = 0;
    const auto Digits = [&] {
        const qsizetype From = I;
        for (; I < Text.size() && Text.at(I) >= u'0' && Text.at(I) <= u'9'; ++I)
            Plain += char(Text.at(I).unicode());
        return I - From;
    };
    if (I < Text.size() && (Text.at(I) == u'-' || Text.at(I) == u'+')) {
        if (Text.at(I) == u'-')
            Plain += '-';
        ++I;
    }
    qsizetype Mantissa = Digits();
    if (I < Text.size() && Text.at(I) == Separator) {
        Plain += '.';
        ++I;
        Mantissa += Digits();
    }
    bool Valid = Mantissa > 0;
    if (Valid && I < Text.size() && (Text.at(I) == u'E' || Text.at(I) == u'e')) {
        Plain += 'e';
        ++I;
        if (I < Text.size() && (Text.at(I) == u'-' || Text.at(I) == u'+'))
            Plain += char(Text.at(I++).unicode());
        Valid = Digits() > 0;
    }
    if (!Valid || I != Text.size())
        throw EConvertError(QStringLiteral("'%1' is not a valid number").arg(Text));
    double Result = 0;
    const auto [Ptr, Error] = std::from_chars(Plain.constData(), Plain.constData() + Plain.size(), Result);
    if (Error != std::errc() || Ptr != Plain.constData() + Plain.size())
        throw EConvertError(QStringLiteral("'%1' is out of the range of numbers").arg(Text));
    return Result;
}

namespace {

// The first character of a Qt date or time format that is not a field letter or a quote.
QChar FormatSeparator(const QString& Format, QChar Default)
{
    for (QChar C : Format)
        if (!C.isLetter() && C != u'\'' && !C.isSpace())
            return C;
    return Default;
}

} // namespace

TKvDateOrder KvSystemDateOrder()
{
    const QLocale System = QLocale::system();
    const QString Date = System.dateFormat(QLocale::ShortFormat);
    const qsizetype Day = Date.indexOf(u'd'), Month = Date.indexOf(u'M'), Year = Date.indexOf(u'y');
    TKvDateOrder Result;
    if (Year >= 0 && Year < Day && Year < Month)
        Result.Order = 2;
    else if (Month >= 0 && Month < Day)
        Result.Order = 1;
    Result.DateSeparator = FormatSeparator(Date, u'/');
    Result.TimeSeparator = FormatSeparator(System.timeFormat(QLocale::ShortFormat), u':');
    return Result;
}

QString KvADateTimeToStr(double DateTime, const QString& Format, int YearStyle, const TKvDateOrder& Locale)
{
    const bool Valid = std::isfinite(DateTime) && std::fabs(DateTime) < 3e6;
    qint64 Days = Valid ? qint64(std::trunc(DateTime)) : 0;
    qint64 MSecs = Valid ? std::llround(std::fabs(DateTime - double(Days)) * MSecsPerDay) : 0;
    if (MSecs >= MSecsPerDay) { // rounding reached the next midnight
        MSecs -= MSecsPerDay;
        ++Days;
    }
    const QDate Date = TDateTimeEpoch.addDays(Days);
    if (!Valid || Date.year() < 1 || Date.year() > 9999)
        throw EConvertError(QStringLiteral("Invalid date value %1").arg(DateTime));
    const QTime Time = QTime::fromMSecsSinceStartOfDay(int(MSecs));
    const QLocale C = QLocale::c();

    // Each date part keyed by its place in the locale's order.
    const int Rank[3][3] = {{0, 1, 2}, {1, 0, 2}, {2, 1, 0}}; // [order][day, month, year]
    const int Order = std::clamp(Locale.Order, 0, 2);
    QMap<int, QString> DateParts;
    QString DayName;
    bool MonthName = false;
    bool Hours = false, Minutes = false, Seconds = false, Millis = false, TwelveHours = false;
    for (QChar Letter : Format.isEmpty() ? QStringLiteral("dmyhns") : Format) {
        switch (Letter.unicode()) {
        case 'd': DateParts[Rank[Order][0]] = TwoDigits(Date.day()); break;
        case 'm': DateParts[Rank[Order][1]] = TwoDigits(Date.month()); break;
        case 'M': DateParts[Rank[Order][1]] = C.monthName(Date.month(), QLocale::ShortFormat), MonthName = true; break;
        case '2': DateParts[Rank[Order][1]] = C.monthName(Date.month(), QLocale::LongFormat), MonthName = true; break;
        case 'y':
            DateParts[Rank[Order][2]] = YearStyle == KvDateYearShort
                                            ? TwoDigits(Date.year() % 100)
                                            : QString::number(Date.year()).rightJustified(4, u'0');
            break;
        case 'D': DayName = C.dayName(Date.dayOfWeek(), QLocale::ShortFormat); break;
        case '1': DayName = C.dayName(Date.dayOfWeek(), QLocale::LongFormat); break;
        case 'h': Hours = true; break;
        case 'n': Minutes = true; break;
        case 's': Seconds = true; break;
        case 'z': Millis = true; break;
        case 'a':
        case 'o': TwelveHours = true; break;
        default: break;
        }
    }
    QString Result = QStringList(DateParts.values()).join(MonthName ? QChar(u' ') : Locale.DateSeparator);
    if (!DayName.isEmpty())
        Result = Result.isEmpty() ? DayName : DayName + u' ' + Result;
    QStringList TimeParts;
    if (Hours)
        TimeParts << TwoDigits(TwelveHours ? (Time.hour() + 11) % 12 + 1 : Time.hour());
    if (Minutes)
        TimeParts << TwoDigits(Time.minute());
    if (Seconds)
        TimeParts << TwoDigits(Time.second());
    QString TimeText = TimeParts.join(Locale.TimeSeparator);
    if (Seconds && Millis)
        TimeText += u'.' + QString::number(Time.msec()).rightJustified(3, u'0');
    if (Hours && TwelveHours)
        TimeText += Time.hour() < 12 ? QLatin1String(" AM") : QLatin1String(" PM");
    if (!TimeText.isEmpty())
        Result = Result.isEmpty() ? TimeText : Result + u' ' + TimeText;
    return Result;
}

double KvAStrToDate(const QString& Text, const TKvDateOrder& Locale)
{
    const QString S = Text.trimmed();
    const QString TimeSep = QRegularExpression::escape(QString(Locale.TimeSeparator));
    const QRegularExpression TimeAtEnd(
        QStringLiteral("(\\d{1,2})%1(\\d{1,2})(?:%1(\\d{1,2})(?:[.,](\\d{1,3}))?)?\\s*([AaPp][Mm])?$").arg(TimeSep));
    const QString DateSeps = QRegularExpression::escape(QStringLiteral("/.-") + Locale.DateSeparator);
    const QRegularExpression DateOnly(QStringLiteral("^(\\d{1,4})([%1])(\\d{1,2})\\2(\\d{1,4})$").arg(DateSeps));

    QString DateText = S;
    qint64 MSecs = 0;
    const QRegularExpressionMatch TimeMatch = TimeAtEnd.match(S);
    if (TimeMatch.hasMatch()) {
        DateText = S.left(TimeMatch.capturedStart());
        if (DateText.endsWith(u'T'))
            DateText.chop(1);
        else if (!DateText.isEmpty() && !DateText.back().isSpace())
            InvalidDate(Text);
        DateText = DateText.trimmed();
        int Hour = TimeMatch.captured(1).toInt();
        const int Minute = TimeMatch.captured(2).toInt();
        const int Second = TimeMatch.captured(3).toInt();
        const int Milli = TimeMatch.captured(4).leftJustified(3, u'0').toInt();
        const QString AmPm = TimeMatch.captured(5).toUpper();
        if (!AmPm.isEmpty()) {
            if (Hour < 1 || Hour > 12)
                InvalidDate(Text);
            Hour = Hour % 12 + (AmPm == QLatin1String("PM") ? 12 : 0);
        }
        if (Hour > 23 || Minute > 59 || Second > 59)
            InvalidDate(Text);
        MSecs = ((Hour * 60 + Minute) * 60 + Second) * 1000 + Milli;
    }

    qint64 Days = 0;
    if (!DateText.isEmpty()) {
        const QRegularExpressionMatch DateMatch = DateOnly.match(DateText);
        if (!DateMatch.hasMatch())
            InvalidDate(Text);
        const QString First = DateMatch.captured(1), Middle = DateMatch.captured(3), Last = DateMatch.captured(4);
        QString YearText, DayText;
        int Month = 0;
        if (First.size() == 4 || (Locale.Order == 2 && First.size() <= 2)) { // y-m-d
            YearText = First;
            Month = Middle.toInt();
            DayText = Last;
        } else if (First.size() <= 2) {
            const bool MonthFirst = Locale.Order == 1;
            Month = (MonthFirst ? First : Middle).toInt();
            DayText = MonthFirst ? Middle : First;
            YearText = Last;
        } else {
            InvalidDate(Text);
        }
        if (DayText.size() > 2)
            InvalidDate(Text);
        int Year = YearText.toInt();
        if (YearText.size() <= 2)
            Year += Year < 50 ? 2000 : 1900;
        const QDate Date(Year, Month, DayText.toInt());
        if (Year < 1 || !Date.isValid())
            InvalidDate(Text);
        Days = TDateTimeEpoch.daysTo(Date);
    } else if (!TimeMatch.hasMatch()) {
        InvalidDate(Text);
    }
    const double Fraction = double(MSecs) / MSecsPerDay;
    return Days < 0 ? double(Days) - Fraction : double(Days) + Fraction;
}
