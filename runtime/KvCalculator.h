#pragma once

#include <QString>

// The arithmetic of the library's calculator, as a desk calculator works it: numbers are typed
// digit by digit, operators apply from left to right ("2 + 3 * 4 =" gives 20), "%" takes a
// percentage of the first operand for + and -, and of one for * and /. A division by zero
// shows an error until the next key clears it.
class TKvCalculator
{
public:
    // The number shown.
    QString Display() const { return FDisplay; }
    bool Error() const { return FError; }
    double Value() const;
    // Starts anew with Value shown, as if it had been typed.
    void SetValue(double Value);

    // A key of the calculator: '0'-'9', '.' (',' too), '+', '-', '*', '/', '=', '%', 'r' (square
    // root), 'i' (reciprocal), 'n' (change sign), 'b' (backspace), 'e' (clear entry), 'c' (clear).
    // False for a character that is no key.
    bool Key(QChar Key);
    // A pending operation is completed, as '=' does.
    void Finish();

    // Up to 15 significant digits, without an exponent below 1e15.
    static QString Format(double Value);

private:
    void Digit(QChar Digit);
    void Operator(QChar Op);
    void Show(double Value);
    double Apply(double Left, QChar Op, double Right);

    QString FDisplay = QStringLiteral("0");
    double FAccumulator = 0;
    QChar FPending;         // operator waiting for its right operand
    bool FNewEntry = true;  // the next digit starts a new number
    bool FOperand = true;   // the number shown was entered since the last operator
    bool FError = false;
};
