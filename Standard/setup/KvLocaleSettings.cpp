#include "KvLocaleSettings.h"

#include "KvTypes.h"

#include <QMetaEnum>
#include <QRegularExpression>

namespace {

using L = TKvPkgLanguageLocale;
using K = TKvLocaleKind;

QStringList EnumKeys(const QMetaEnum& Enum)
{
    QStringList keys;
    for (int i = 0; i < Enum.keyCount(); ++i)
        keys << QString::fromLatin1(Enum.key(i));
    return keys;
}

int StrictNumber(const QString& Text)
{
    static const QRegularExpression Digits(QStringLiteral("^[0-9]{1,9}$"));
    if (!Digits.match(Text).hasMatch())
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(Text));
    return Text.toInt();
}

} // namespace

const QList<TKvLocaleSetting>& KvLocaleSettings()
{
    static const QList<TKvLocaleSetting> Settings{
        {"CBDateFormat", K::List, &L::DateFormat},
        {"EdDateSeparator", K::Char, &L::DateSeparator},
        {"SBMonthShortNames", K::Names, &L::MonthShortNames, "MonthShortNames"},
        {"SBMonthLongNames", K::Names, &L::MonthLongNames, "MonthLongNames"},
        {"SBDayShortNames", K::Names, &L::DayShortNames, "DayShortNames"},
        {"SBDayLongNames", K::Names, &L::DayLongNames, "DayLongNames"},
        {"EdDateCentury", K::Number, &L::DateCentury},
        {"CBMaskDateYear", K::List, &L::MaskDateYear},
        {"EdMaskDateYearFix", K::Number, &L::MaskDateYearFix},
        {"CBStartOfWeek", K::List, &L::StartOfWeek},
        {"CBStartWeekYear", K::List, &L::StartWeekYear},
        {"EdTimeSeparator", K::Char, &L::TimeSeparator},
        {"EdTimeAMString", K::Text, &L::TimeAMString},
        {"EdTimePMString", K::Text, &L::TimePMString},
        {"EdNumericThousandSeparator", K::Char, &L::NumericThousandSeparator},
        {"EdNumericDecimalSeparator", K::Char, &L::NumericDecimalSeparator},
        {"CBMaskDecimals", K::List, &L::MaskDecimals},
        {"EdNumericCurrencyString", K::Text, &L::NumericCurrencyString},
        {"EdNumericCurrencyFormat", K::List, &L::NumericCurrencyFormat},
    };
    return Settings;
}

const TKvLocaleSetting* KvFindLocaleSetting(const QString& Control)
{
    for (const TKvLocaleSetting& s : KvLocaleSettings())
        if (Control == QLatin1String(s.Control))
            return &s;
    return nullptr;
}

QStringList KvLocaleItems(const TKvLocaleSetting& Setting)
{
    const auto* field = std::get_if<int L::*>(&Setting.Field);
    if (Setting.Kind != K::List || !field)
        return {};
    if (*field == &L::DateFormat)
        return EnumKeys(QMetaEnum::fromType<KvLocaleTypes::TKvDateFormat>());
    if (*field == &L::MaskDateYear)
        return EnumKeys(QMetaEnum::fromType<KvTypes::TKvDateYear>());
    if (*field == &L::StartOfWeek)
        return EnumKeys(QMetaEnum::fromType<KvLocaleTypes::TKvStartOfWeek>());
    if (*field == &L::StartWeekYear)
        return EnumKeys(QMetaEnum::fromType<KvLocaleTypes::TKvStartWeekYear>());
    if (*field == &L::NumericCurrencyFormat)
        return {QStringLiteral("$1"), QStringLiteral("1$"), QStringLiteral("$ 1"), QStringLiteral("1 $")};
    QStringList digits;
    for (int i = 0; i <= 9; ++i)
        digits << QString::number(i);
    return digits;
}

QString KvLocaleText(const TKvPkgLanguageLocale& Locale, const TKvLocaleSetting& Setting)
{
    switch (Setting.Kind) {
    case K::List:
        return KvLocaleItems(Setting).value(Locale.*std::get<int L::*>(Setting.Field));
    case K::Number:
        return QString::number(Locale.*std::get<int L::*>(Setting.Field));
    case K::Char:
        return QString(Locale.*std::get<QChar L::*>(Setting.Field));
    case K::Text:
        return Locale.*std::get<QString L::*>(Setting.Field);
    case K::Names:
        return (Locale.*std::get<QStringList L::*>(Setting.Field)).join(QStringLiteral("\r\n"));
    }
    return QString();
}

void KvSetLocaleText(TKvPkgLanguage* Pkg, const TKvLocaleSetting& Setting, const QString& Text)
{
    TKvPkgLanguageLocale l = Pkg->Locale();
    switch (Setting.Kind) {
    case K::List: {
        const int index = int(KvLocaleItems(Setting).indexOf(Text));
        if (index < 0)
            throw EConvertError(QStringLiteral("'%1' is not a value of %2").arg(Text, QLatin1String(Setting.Control)));
        l.*std::get<int L::*>(Setting.Field) = index;
        break;
    }
    case K::Number:
        l.*std::get<int L::*>(Setting.Field) = StrictNumber(Text);
        break;
    case K::Char:
        l.*std::get<QChar L::*>(Setting.Field) = Text.isEmpty() ? QChar(u' ') : Text.at(0);
        break;
    case K::Text:
        l.*std::get<QString L::*>(Setting.Field) = Text;
        break;
    case K::Names:
        l.*std::get<QStringList L::*>(Setting.Field) = KvTextToLines(Text);
        break;
    }
    Pkg->SetLocale(l);
}

QStringList KvTextToLines(const QString& Text)
{
    static const QRegularExpression LineBreak(QStringLiteral("\r\n|\n|\r"));
    if (Text.isEmpty())
        return {};
    QStringList lines = Text.split(LineBreak);
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString KvCenturyRange(const QString& CenturyText)
{
    const int century = StrictNumber(CenturyText);
    return QStringLiteral("%1 and %2").arg(century - 99).arg(century);
}
