#pragma once

#include <QDateTime>
#include <QMetaType>
#include <QString>

enum class TVarType { varEmpty, varNull, varInteger, varDouble, varString, varBoolean, varDate };

// A property value as the form streams see it. Dates are TDateTime values: days since
// 1899-12-30, the fraction being the time of day.
class Variant
{
public:
    using TVarType = ::TVarType;

    Variant() = default; // unassigned
    Variant(int Value) : FType(TVarType::varInteger), FInteger(Value) {}
    Variant(qint64 Value) : FType(TVarType::varInteger), FInteger(Value) {}
    Variant(double Value) : FType(TVarType::varDouble), FDouble(Value) {}
    Variant(const QString& Value) : FType(TVarType::varString), FString(Value) {}
    Variant(const char* Value) : FType(TVarType::varString), FString(QString::fromUtf8(Value)) {}
    Variant(bool Value) : FType(TVarType::varBoolean), FBoolean(Value) {}

    static Variant Null();
    static Variant FromDate(double TDateTime);
    static Variant FromDateTime(const QDateTime& Value);

    TVarType VarType() const { return FType; }
    bool IsEmpty() const { return FType == TVarType::varEmpty; }
    bool IsNull() const { return FType == TVarType::varNull; }
    QString VarTypeName() const;

    // Unassigned converts to 0, "" or false; Null and unparsable strings raise EConvertError.
    qint64 AsInteger() const;
    double AsFloat() const;
    QString AsString() const;
    bool AsBoolean() const;
    double AsDate() const;
    QDateTime AsDateTime() const;

    // Same type and same value, so 1 and 1.0 differ: this decides whether a value is its default.
    bool operator==(const Variant& Other) const;
    bool operator!=(const Variant& Other) const { return !(*this == Other); }

private:
    [[noreturn]] void ConvertError(TVarType Target) const;

    TVarType FType = TVarType::varEmpty;
    union {
        qint64 FInteger = 0;
        double FDouble; // varDouble and varDate
        bool FBoolean;
    };
    QString FString;
};

Q_DECLARE_METATYPE(Variant)

// TDateTime has no time zone: the wall-clock date and time are converted, and the QDateTime
// made from a TDateTime is in local time, like QDateTime(QDate, QTime).
// Before 1899-12-30 the integral part is the (negative) day and the fraction's absolute value
// the time: -1.25 is 1899-12-29 06:00.
double DateTimeToTDateTime(const QDateTime& Value);
QDateTime TDateTimeToDateTime(double Value);
