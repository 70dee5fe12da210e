#include "KvApplication.h"
#include "KvCalculator.h"
#include "KvDialogs.h"
#include "KvVtCalculator.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Keys pressed one by one from a fresh calculator; the display afterwards.
QString Pressed(const QString& Keys)
{
    TKvCalculator Calculator;
    for (QChar Key : Keys) {
        if (Key != u' ') {
            EXPECT_TRUE(Calculator.Key(Key)) << Key.toLatin1();
        }
    }
    return Calculator.Display();
}

} // namespace

TEST(KvCalculator, WorksAsADeskCalculator)
{
    const std::pair<const char*, const char*> Cases[] = {
        {"12+30=", "42"},
        {"2+3*4=", "20"},            // left to right
        {"7-*2=", "14"},              // a second operator replaces the first
        {"0.1+0.2=", "0.3"},
        {"1.5.5", "1.55"},            // one point
        {"1/3=", "0.333333333333333"},
        {"200+10%=", "220"},          // a percentage of the first operand
        {"200*10%=", "20"},
        {"9r", "3"},
        {"4i", "0.25"},
        {"5n+2=", "-3"},
        {"123b", "12"},
        {"12+34e56=", "68"},          // clear entry keeps the pending sum
        {"12+34c", "0"},
        {"1234567890123456789", "123456789012345"}, // 15 digits at most
        {"99999999*99999999=", "9.9999998e+15"},
        {"5+=", "5"},
        {"3=*2=", "6"},               // a result is the next first operand
    };
    for (const auto& [Keys, Display] : Cases)
        EXPECT_EQ(Pressed(QString::fromLatin1(Keys)), QString::fromLatin1(Display)) << Keys;
}

TEST(KvCalculator, ErrorsLastUntilANewNumber)
{
    TKvCalculator Calculator;
    for (QChar Key : QStringLiteral("8/0="))
        Calculator.Key(Key);
    EXPECT_TRUE(Calculator.Error());
    EXPECT_EQ(Calculator.Display(), QStringLiteral("Cannot divide by zero"));
    Calculator.Key(u'+');
    EXPECT_TRUE(Calculator.Error()) << "operators do nothing on an error";
    Calculator.Key(u'7');
    EXPECT_FALSE(Calculator.Error());
    EXPECT_EQ(Calculator.Display(), QStringLiteral("7"));

    EXPECT_EQ(Pressed(QStringLiteral("4nr")), QStringLiteral("Invalid input"));
    EXPECT_FALSE(Calculator.Key(u'x'));
    Calculator.SetValue(-2.5);
    EXPECT_EQ(Calculator.Display(), QStringLiteral("-2.5"));
    EXPECT_EQ(TKvCalculator::Format(1e-7), QStringLiteral("1e-07"));
}

TEST(KvCalculator, WindowIsUsedWithTheMouseAndTheKeyboard)
{
    TKvCApplication App;
    int Asked = 0;
    const TKvModalHandler Previous = KvSetModalHandler([&](QDialog& Window) {
        ++Asked;
        auto* Calculator = qobject_cast<TFrCalculator*>(&Window);
        EXPECT_TRUE(Calculator);
        auto Click = [&](const char* Name) {
            auto* Button = Window.findChild<QPushButton*>(QLatin1String(Name));
            EXPECT_TRUE(Button) << Name;
            QTest::mouseClick(Button, Qt::LeftButton);
        };
        Window.show();
        Click("Bt1");
        Click("Bt2");
        Click("BtAdd");
        QTest::keyClicks(&Window, QStringLiteral("30"));
        EXPECT_EQ(Window.findChild<QLineEdit*>(QStringLiteral("EdDisplay"))->text(), QStringLiteral("30"));
        QTest::keyClick(&Window, Qt::Key_Backspace);
        QTest::keyClicks(&Window, QStringLiteral("1*2"));
        // OK finishes the pending product: (12 + 31) * 2.
        Click("BtOk");
        return Window.result();
    });
    double Value = 5;
    EXPECT_TRUE(App.Calculator(nullptr, Value));
    EXPECT_EQ(Value, 86);
    EXPECT_EQ(Asked, 1);

    KvSetModalHandler([](QDialog& Window) {
        QTest::keyClicks(&Window, QStringLiteral("77"));
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(App.Calculator(nullptr, Value));
    EXPECT_EQ(Value, 86) << "a cancelled calculator keeps the value";
    KvSetModalHandler(Previous);
}
