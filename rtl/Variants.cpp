#include "Variants.h"

#include "SysUtils.h"

#include <QDate>
#include <QTime>
#include <cmath>

namespace {

constexpr qint64 MSecsPerDay = 86400000;
const QDate TDateTimeEpoch(1899, 12, 30);

QString TypeName(TVarType Type)
{
    switch (Type) {
    case TVarType::varEmpty: return QStringLiteral("Empty");
    case TVarType::varNull: return QStringLiteral("Null");
    case TVarType::varInteger: return QStringLiteral("Int64");
    case TVarType::varDouble: return QStringLiteral("Double");
    case TVarType::varString: return QStringLiteral("String");
    case TVarType::varBoolean: return QStringLiteral("Boolean");
    case TVarType::varDate: return QStringLiteral("Date");
    }
    return QString();
}

// Round half to even, as Delphi's Round does; false when the result does not fit.
bool RoundToInt64(double Value, qint64& Result)
{
    if (!(Value >= -9223372036854775808.0 && Value < 9223372036854775808.0))
        return false;
    double R = std::floor(Value);
    const double Diff = Value - R;
    if (Diff > 0.5 || (Diff == 0.5 && std::fmod(R, 2.0) != 0.0))
        R += 1.0;
    if (R >= 9223372036854775808.0)
        return false;
    Result = static_cast<qint64>(R);
    return true;
}

bool StrToInt64(const QString& Text, qint64& Result)
{
    const QString S = Text.trimmed();
    bool Ok = false;
    if (S.startsWith(u'$'))
        Result = S.mid(1).toLongLong(&Ok, 16);
    else if (S.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        Result = S.mid(2).toLongLong(&Ok, 16);
    else
        Result = S.toLongLong(&Ok, 10);
    return Ok;
}

bool StrToDouble(const QString& Text, double& Result)
{
    bool Ok = false;
    Result = Text.trimmed().toDouble(&Ok); // always '.', whatever the locale
    return Ok;
}

double EncodeTDateTime(QDate Date, int MSecs)
{
    const qint64 Days = TDateTimeEpoch.daysTo(Date);
    const double Time = double(MSecs) / MSecsPerDay;
    return Days < 0 ? double(Days) - Time : double(Days) + Time;
}

bool DecodeTDateTime(double Value, QDate& Date, int& MSecs)
{
    if (!std::isfinite(Value) || std::abs(Value) > 1e9)
        return false;
    qint64 Days = static_cast<qint64>(std::trunc(Value));
    qint64 Ms = std::llround(std::abs(Value - double(Days)) * MSecsPerDay);
    if (Ms >= MSecsPerDay) { // rounding reached midnight of the next day
        Ms -= MSecsPerDay;
        ++Days;
    }
    Date = TDateTimeEpoch.addDays(Days);
    MSecs = int(Ms);
    return Date.isValid();
}

// Locale-independent, so that AsString and AsDate round-trip: "yyyy-MM-dd[ hh:mm:ss[.zzz]]".
QString FormatTDateTime(double Value)
{
    QDate Date;
    int MSecs = 0;
    if (!DecodeTDateTime(Value, Date, MSecs))
        return QString();
    QString Result = Date.toString(Qt::ISODate);
    if (MSecs != 0) {
        const QTime Time = QTime::fromMSecsSinceStartOfDay(MSecs);
        Result += u' ' + Time.toString(MSecs % 1000 ? QStringLiteral("hh:mm:ss.zzz") : QStringLiteral("hh:mm:ss"));
    }
    return Result;
}

bool ParseTDateTime(const QString& Text, double& Result)
{
    const QString S = Text.trimmed();
    const QDate Date = QDate::fromString(S.left(10), Qt::ISODate);
    if (!Date.isValid())
        return false;
    int MSecs = 0;
    if (S.size() > 10) {
        if (S.at(10) != u' ' && S.at(10) != u'T')
            return false;
        const QTime Time = QTime::fromString(S.mid(11), Qt::ISODateWithMs);
        if (!Time.isValid())
            return false;
        MSecs = Time.msecsSinceStartOfDay();
    }
    Result = EncodeTDateTime(Date, MSecs);
    return true;
}

// Delphi's FloatToStr: 15 significant digits, exponent as in "1E20" and "1E-5".
QString FloatToStr(double Value)
{
    if (std::isnan(Value))
        return QStringLiteral("NAN");
    if (std::isinf(Value))
        return Value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    QString S = QString::number(Value, 'g', 15);
    const qsizetype E = S.indexOf(u'e');
    if (E < 0)
        return S;
    QString Exponent = S.mid(E + 1);
    const bool Negative = Exponent.startsWith(u'-');
    Exponent.remove(0, 1); // the sign
    while (Exponent.size() > 1 && Exponent.startsWith(u'0'))
        Exponent.remove(0, 1);
    return S.left(E) + (Negative ? QStringLiteral("E-") : QStringLiteral("E")) + Exponent;
}

} // namespace

Variant Variant::Null()
{
    Variant V;
    V.FType = TVarType::varNull;
    return V;
}

Variant Variant::FromDate(double TDateTime)
{
    Variant V(TDateTime);
    V.FType = TVarType::varDate;
    return V;
}

Variant Variant::FromDateTime(const QDateTime& Value)
{
    return FromDate(DateTimeToTDateTime(Value));
}

QString Variant::VarTypeName() const
{
    return TypeName(FType);
}

void Variant::ConvertError(TVarType Target) const
{
    throw EConvertError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                            .arg(TypeName(FType), TypeName(Target)));
}

qint64 Variant::AsInteger() const
{
    qint64 Result = 0;
    double D = 0;
    switch (FType) {
    case TVarType::varEmpty: return 0;
    case TVarType::varInteger: return FInteger;
    // True is 1 rather than Delphi's -1: values meet C++ bool properties, not WordBool.
    case TVarType::varBoolean: return FBoolean ? 1 : 0;
    case TVarType::varDouble:
    case TVarType::varDate:
        if (RoundToInt64(FDouble, Result))
            return Result;
        break;
    case TVarType::varString:
        if (StrToInt64(FString, Result))
            return Result;
        if (StrToDouble(FString, D) && RoundToInt64(D, Result))
            return Result;
        break;
    case TVarType::varNull: break;
    }
    ConvertError(TVarType::varInteger);
}

double Variant::AsFloat() const
{
    double Result = 0;
    switch (FType) {
    case TVarType::varEmpty: return 0;
    case TVarType::varInteger: return double(FInteger);
    case TVarType::varBoolean: return FBoolean ? 1 : 0;
    case TVarType::varDouble:
    case TVarType::varDate: return FDouble;
    case TVarType::varString:
        if (StrToDouble(FString, Result))
            return Result;
        break;
    case TVarType::varNull: break;
    }
    ConvertError(TVarType::varDouble);
}

QString Variant::AsString() const
{
    switch (FType) {
    case TVarType::varEmpty: return QString();
    case TVarType::varInteger: return QString::number(FInteger);
    case TVarType::varDouble: return FloatToStr(FDouble);
    case TVarType::varString: return FString;
    case TVarType::varBoolean: return FBoolean ? QStringLiteral("True") : QStringLiteral("False");
    case TVarType::varDate: {
        const QString S = FormatTDateTime(FDouble);
        if (!S.isEmpty())
            return S;
        break;
    }
    case TVarType::varNull: break;
    }
    ConvertError(TVarType::varString);
}

bool Variant::AsBoolean() const
{
    double D = 0;
    switch (FType) {
    case TVarType::varEmpty: return false;
    case TVarType::varInteger: return FInteger != 0;
    case TVarType::varBoolean: return FBoolean;
    case TVarType::varDouble:
    case TVarType::varDate: return FDouble != 0;
    case TVarType::varString:
        if (FString.trimmed().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (FString.trimmed().compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        if (StrToDouble(FString, D))
            return D != 0;
        break;
    case TVarType::varNull: break;
    }
    ConvertError(TVarType::varBoolean);
}

double Variant::AsDate() const
{
    double Result = 0;
    switch (FType) {
    case TVarType::varEmpty: return 0;
    case TVarType::varInteger: return double(FInteger);
    case TVarType::varBoolean: return FBoolean ? 1 : 0;
    case TVarType::varDouble:
    case TVarType::varDate: return FDouble;
    case TVarType::varString:
        if (ParseTDateTime(FString, Result))
            return Result;
        break;
    case TVarType::varNull: break;
    }
    ConvertError(TVarType::varDate);
}

QDateTime Variant::AsDateTime() const
{
    const QDateTime Result = TDateTimeToDateTime(AsDate());
    if (!Result.isValid())
        ConvertError(TVarType::varDate);
    return Result;
}

bool Variant::operator==(const Variant& Other) const
{
    if (FType != Other.FType)
        return false;
    switch (FType) {
    case TVarType::varEmpty:
    case TVarType::varNull: return true;
    case TVarType::varInteger: return FInteger == Other.FInteger;
    case TVarType::varDouble:
    case TVarType::varDate: return FDouble == Other.FDouble;
    case TVarType::varString: return FString == Other.FString;
    case TVarType::varBoolean: return FBoolean == Other.FBoolean;
    }
    return false;
}

double DateTimeToTDateTime(const QDateTime& Value)
{
    if (!Value.isValid())
        return 0;
    return EncodeTDateTime(Value.date(), Value.time().msecsSinceStartOfDay());
}

QDateTime TDateTimeToDateTime(double Value)
{
    QDate Date;
    int MSecs = 0;
    if (!DecodeTDateTime(Value, Date, MSecs))
        return QDateTime();
    return QDateTime(Date, QTime::fromMSecsSinceStartOfDay(MSecs));
}
