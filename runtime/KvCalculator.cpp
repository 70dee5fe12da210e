#include "KvCalculator.h"

#include <cmath>

namespace {

constexpr int MaxDigits = 15;

int DigitCount(const QString& Text)
{
    int Count = 0;
    for (QChar C : Text)
        Count += C.isDigit();
    return Count;
}

} // namespace

QString TKvCalculator::Format(double Value)
{
    const double Size = std::fabs(Value);
    if (Size == 0)
        return QStringLiteral("0");
    if (Size >= 1e15 || Size < 1e-5)
        return QString::number(Value, 'g', MaxDigits);
    // As many decimals as leave 15 significant digits, trailing zeros dropped.
    const int Decimals = qMax(0, MaxDigits - 1 - int(std::floor(std::log10(Size))));
    QString Text = QString::number(Value, 'f', Decimals);
    if (Text.contains(u'.')) {
        while (Text.endsWith(u'0'))
            Text.chop(1);
        if (Text.endsWith(u'.'))
            Text.chop(1);
    }
    return Text == QLatin1String("-0") ? QStringLiteral("0") : Text;
}

double TKvCalculator::Value() const
{
    return FError ? 0 : FDisplay.toDouble();
}

void TKvCalculator::SetValue(double Value)
{
    FAccumulator = 0;
    FPending = QChar();
    FError = false;
    Show(Value);
    FOperand = true;
}

void TKvCalculator::Show(double Value)
{
    if (!std::isfinite(Value)) {
        FError = true;
        FDisplay = QStringLiteral("Overflow");
    } else {
        FDisplay = Format(Value);
    }
    FNewEntry = true;
}

double TKvCalculator::Apply(double Left, QChar Op, double Right)
{
    switch (Op.unicode()) {
    case u'+': return Left + Right;
    case u'-': return Left - Right;
    case u'*': return Left * Right;
    case u'/':
        if (Right == 0) {
            FError = true;
            FDisplay = QStringLiteral("Cannot divide by zero");
            return 0;
        }
        return Left / Right;
    default: return Right;
    }
}

void TKvCalculator::Digit(QChar D)
{
    FOperand = true;
    if (FNewEntry) {
        FDisplay = D == u'.' ? QStringLiteral("0.") : QString(D);
        FNewEntry = false;
        return;
    }
    if (D == u'.') {
        if (!FDisplay.contains(u'.'))
            FDisplay += u'.';
        return;
    }
    if (DigitCount(FDisplay) >= MaxDigits)
        return;
    if (FDisplay == QLatin1String("0"))
        FDisplay = D;
    else if (FDisplay == QLatin1String("-0"))
        FDisplay = QStringLiteral("-") + D;
    else
        FDisplay += D;
}

void TKvCalculator::Operator(QChar Op)
{
    // A second operator in a row replaces the first.
    if (FOperand) {
        const double Result = FPending.isNull() ? Value() : Apply(FAccumulator, FPending, Value());
        if (FError)
            return;
        Show(Result);
        FAccumulator = Result;
    }
    FPending = Op == u'=' ? QChar() : Op;
    FNewEntry = true;
    FOperand = Op == u'='; // a result can be the next first operand
}

void TKvCalculator::Finish()
{
    if (!FPending.isNull() && !FError)
        Operator(u'=');
}

bool TKvCalculator::Key(QChar K)
{
    if (K == u',')
        K = u'.';
    static const QString Keys = QStringLiteral("0123456789.+-*/=%rinbec");
    if (!Keys.contains(K))
        return false;
    if (FError) {
        // Only starting again leaves the error.
        if (!(K.isDigit() || K == u'.' || K == u'c' || K == u'e'))
            return true;
        SetValue(0);
    }
    if (K.isDigit() || K == u'.') {
        Digit(K);
        return true;
    }
    switch (K.unicode()) {
    case u'+':
    case u'-':
    case u'*':
    case u'/':
    case u'=': Operator(K); break;
    case u'%': {
        const double Right = Value();
        const bool OfFirst = FPending == u'+' || FPending == u'-';
        Show(OfFirst ? FAccumulator * Right / 100 : Right / 100);
        FOperand = true;
        break;
    }
    case u'r':
        if (Value() < 0) {
            FError = true;
            FDisplay = QStringLiteral("Invalid input");
        } else {
            Show(std::sqrt(Value()));
            FOperand = true;
        }
        break;
    case u'i':
        if (Value() == 0) {
            FError = true;
            FDisplay = QStringLiteral("Cannot divide by zero");
        } else {
            Show(1 / Value());
            FOperand = true;
        }
        break;
    case u'n':
        FOperand = true;
        if (FDisplay != QLatin1String("0"))
            FDisplay = FDisplay.startsWith(u'-') ? FDisplay.mid(1) : QStringLiteral("-") + FDisplay;
        break;
    case u'b':
        if (!FNewEntry) {
            FDisplay.chop(1);
            if (FDisplay.isEmpty() || FDisplay == QLatin1String("-"))
                FDisplay = QStringLiteral("0");
        }
        break;
    case u'e':
        Show(0);
        FOperand = true;
        break;
    case u'c': SetValue(0); break;
    }
    return true;
}
