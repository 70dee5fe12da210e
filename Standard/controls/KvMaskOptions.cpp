#include "KvMaskOptions.h"

#include "KvTypes.h"
#include "KvUtils.h"

namespace {

const QString DurationLetters = QString::fromLatin1(KvMaskDurationLetters);

bool IsAlign(QChar C)
{
    return C == u'<' || C == u'%' || C == u'>';
}

void Append(QString& Text, bool On, QChar Letter)
{
    if (On)
        Text += Letter;
}

void Append(QString& Text, QChar Letter)
{
    if (!Letter.isNull())
        Text += Letter;
}

} // namespace

TKvMaskKind KvMaskKind(int DataType)
{
    switch (DataType) {
    case KvTypes::dtInteger: return TKvMaskKind::Integer;
    case KvTypes::dtFloat:
    case KvTypes::dtCurrency: return TKvMaskKind::Decimal;
    case KvTypes::dtDateTime: return TKvMaskKind::Date;
    default: return TKvMaskKind::Text;
    }
}

TKvMaskOptions TKvMaskOptions::Initial(int DataType, bool Default)
{
    TKvMaskOptions O;
    switch (KvMaskKind(DataType)) {
    case TKvMaskKind::Integer: O.Align = Default ? u'>' : u'<'; break;
    case TKvMaskKind::Decimal:
        O.Align = Default ? u'>' : u'<';
        O.Negative = Default ? QChar(u'-') : QChar();
        O.Thousands = O.TrimDecimals = Default;
        break;
    case TKvMaskKind::Text: O.Symbols = O.Letters = O.Digits = O.Spaces = Default; break;
    case TKvMaskKind::Date:
        O.Day = O.Year = Default;
        O.Month = Default ? QChar(u'm') : QChar();
        break;
    }
    return O;
}

TKvMaskOptions TKvMaskOptions::Parse(int DataType, const QString& Options)
{
    const bool Default = Options.isEmpty() || KvIsDefaultMaskOptions(DataType, Options);
    TKvMaskOptions O = Initial(DataType, Default);
    if (Default)
        return O;
    const TKvMaskKind Kind = KvMaskKind(DataType);
    for (const QChar C : Options) {
        if (IsAlign(C)) {
            O.Align = C;
            continue;
        }
        const char L = C.toLatin1();
        if (Kind == TKvMaskKind::Date) {
            switch (L) {
            case 'd': O.Day = true; break;
            case 'D':
            case '1': O.DayName = C; break;
            case 'm':
            case 'M':
            case '2': O.Month = C; break;
            case 'y': O.Year = true; break;
            case 'h': O.Hour = true; break;
            case 'n': O.Minutes = true; break;
            case 's': O.Seconds = true; break;
            case 'a': O.AmPm = true; break;
            case 'o': O.TwelveHour = true; break;
            case 'k': O.AutoAdjust = true; break;
            default:
                if (const qsizetype D = DurationLetters.indexOf(C); D >= 0)
                    O.Duration = int(D) + 1;
            }
        } else if (Kind == TKvMaskKind::Text) {
            switch (L) {
            case 's': O.Symbols = true; break;
            case 'a': O.Letters = true; break;
            case 'd': O.Digits = true; break;
            case 'w': O.Spaces = true; break;
            case 't': O.NoTrim = true; break;
            case '$': O.FillAll = true; break;
            case 'm': O.SaveMask = true; break;
            case 'u':
            case 'l':
            case 'f': O.Case = C; break;
            case '*': O.Password = true; break;
            case 'r': O.AlignRight = true; break;
            default: break;
            }
        } else {
            switch (L) {
            case '-':
            case '+': O.Negative = C; break;
            case '*': O.SignRight = true; break;
            case 'z': O.NoZero = true; break;
            case '.': O.Thousands = true; break;
            case '&': O.TrimDecimals = true; break;
            case 'k': O.CheckInteger = true; break;
            case '$': O.FillAll = true; break;
            case '0': O.FillZeros = true; break;
            case '@': O.Currency = true; break;
            case '1':
            case '2':
            case '3':
            case '4': O.Scientific = L - '0'; break;
            default: break;
            }
        }
    }
    return O;
}

QString TKvMaskOptions::Text(int DataType) const
{
    QString T(Align);
    switch (KvMaskKind(DataType)) {
    case TKvMaskKind::Integer:
    case TKvMaskKind::Decimal:
        Append(T, Negative);
        Append(T, SignRight, u'*');
        Append(T, NoZero, u'z');
        Append(T, Thousands, u'.');
        Append(T, TrimDecimals, u'&');
        Append(T, CheckInteger, u'k');
        Append(T, FillAll, u'$');
        Append(T, FillZeros, u'0');
        Append(T, Currency, u'@');
        if (Scientific >= 1 && Scientific <= 4)
            T += QChar(u'0' + Scientific);
        break;
    case TKvMaskKind::Date:
        Append(T, Day, u'd');
        Append(T, DayName);
        Append(T, Month);
        Append(T, Year, u'y');
        Append(T, Hour, u'h');
        Append(T, Minutes, u'n');
        Append(T, Seconds, u's');
        Append(T, AmPm, u'a');
        Append(T, TwelveHour, u'o');
        Append(T, AutoAdjust, u'k');
        if (Duration >= 1 && Duration <= DurationLetters.size())
            T += DurationLetters.at(Duration - 1);
        break;
    case TKvMaskKind::Text:
        Append(T, Symbols, u's');
        Append(T, Letters, u'a');
        Append(T, Digits, u'd');
        Append(T, Spaces, u'w');
        Append(T, NoTrim, u't');
        Append(T, FillAll, u'$');
        Append(T, SaveMask, u'm');
        Append(T, Case);
        Append(T, Password, u'*');
        Append(T, AlignRight, u'r');
        break;
    }
    return T;
}

void TKvMaskOptions::SetTwelveHour(bool On)
{
    TwelveHour = On;
    if (On)
        AmPm = true;
    else
        AutoAdjust = false;
}

void TKvMaskOptions::SetDuration(int Value)
{
    if (Value != 0 && Duration == 0) {
        FRemembered = {Day, DayName, Month, Year};
        Day = Year = false;
        DayName = Month = QChar();
    } else if (Value == 0 && Duration != 0) {
        Day = FRemembered.Day;
        DayName = FRemembered.DayName;
        Month = FRemembered.Month;
        Year = FRemembered.Year;
    }
    Duration = Value;
}

bool KvIsDefaultMaskOptions(int DataType, const QString& Options)
{
    const QString Default = TKvMask::DefaultOptions(TKvDataType(DataType));
    if (Options.size() != Default.size())
        return false;
    for (const QChar C : Options)
        if (!Default.contains(C))
            return false;
    return true;
}

bool KvMaskAcceptsKey(int DataType, const QString& Options, QChar Key)
{
    if (Key == u'\b')
        return true;
    if (Options.contains(Key))
        return false;
    const auto Excludes = [&](const char* Group) {
        const QString G = QString::fromLatin1(Group);
        if (!G.contains(Key))
            return false;
        for (const QChar C : G)
            if (Options.contains(C))
                return true;
        return false;
    };
    if (IsAlign(Key))
        return !Excludes("<%>");
    switch (KvMaskKind(DataType)) {
    case TKvMaskKind::Integer:
    case TKvMaskKind::Decimal:
        return QStringLiteral("$*+-.0@kz").contains(Key) && !Excludes("+-");
    case TKvMaskKind::Text:
        return QStringLiteral("$*adflmstuw").contains(Key) && !Excludes("ulf");
    case TKvMaskKind::Date:
        return QStringLiteral("12DMadhmnosy").contains(Key) && !Excludes("dD1") && !Excludes("mM2");
    }
    return false;
}

TKvMaskParts KvSplitMaskText(const QString& Text)
{
    const QStringList Parts = KvTextToStrings(Text, u';');
    TKvMaskParts Result;
    Result.Options = Parts.value(0);
    Result.Picture = Parts.value(1);
    Result.Space = Parts.size() <= 1 ? QStringLiteral("_") : Parts.value(2);
    return Result;
}

QString KvJoinMaskText(int DataType, const QString& Options, const QString& Picture, const QString& Space)
{
    QString Text = KvIsDefaultMaskOptions(DataType, Options) ? QString() : Options;
    if (KvMaskKind(DataType) == TKvMaskKind::Text && !Picture.trimmed().isEmpty()) {
        Text = Options + u';' + Picture;
        if (!Space.trimmed().isEmpty())
            Text += u';' + Space;
    }
    return Text;
}
