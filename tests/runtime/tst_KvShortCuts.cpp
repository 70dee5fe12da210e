#include "KvShortCuts.h"

#include <QKeySequence>
#include <QSet>

#include <gtest/gtest.h>

TEST(KvShortCuts, TextsAsDesignersWriteThem)
{
    struct TCase
    {
        const char* Text;
        int Value;
        const char* Written; // nullptr: written as read
    };
    const TCase Cases[] = {
        {"Ctrl+Shift+F1", 0x6070, "Shift+Ctrl+F1"},
        {"Shift+Ctrl+F12", 0x607B, nullptr},
        {"Alt+BkSp", 0x8008, nullptr},
        {"Shift+Alt+BkSp", 0xA008, nullptr},
        {"Ctrl+A", 16449, nullptr},
        {"Ctrl+P", 16464, nullptr}, // as the form files in tests/data store them
        {"Alt+F4", 32883, nullptr},
        {"Shift+Ins", 0x202D, nullptr},
        {"Del", 0x2E, nullptr},
        {"Esc", 0x1B, nullptr},
        {"Enter", 0x0D, nullptr},
        {"Tab", 0x09, nullptr},
        {"Space", 0x20, nullptr},
        {"Ctrl+PgUp", 0x4021, nullptr},
        {"Ctrl+PgDn", 0x4022, nullptr},
        {"End", 0x23, nullptr},
        {"Home", 0x24, nullptr},
        {"Left", 0x25, nullptr},
        {"Up", 0x26, nullptr},
        {"Right", 0x27, nullptr},
        {"Down", 0x28, nullptr},
        {"F24", 0x87, nullptr},
        {"Num +", 0x6B, nullptr},
        {"Ctrl+Num 7", 0x4067, nullptr},
        {"Alt+Shift+Ctrl+9", 0xE039, "Shift+Ctrl+Alt+9"},
        {"  ctrl+shift+z ", 0x605A, "Shift+Ctrl+Z"},
        {"Ctrl+Delete", 0x402E, "Ctrl+Del"},
        {"Ctrl+PgDown", 0x4022, "Ctrl+PgDn"},
        {"Ctrl+-", 0x40BD, nullptr},
    };
    for (const TCase& c : Cases) {
        const QString text = QString::fromLatin1(c.Text);
        EXPECT_EQ(TextToShortCut(text), c.Value) << c.Text;
        EXPECT_EQ(ShortCutToText(c.Value), QString::fromLatin1(c.Written ? c.Written : c.Text)) << c.Text;
    }
}

TEST(KvShortCuts, TextsThatNameNoShortCut)
{
    for (const char* text : {"", " ", "Ctrl+", "Ctrl++", "Ctrl+Foo", "Hyper+A", "A+Ctrl", "Ctrl+Shift", "F25",
                             "Ctrl A", "Num", "+"})
        EXPECT_EQ(TextToShortCut(QString::fromLatin1(text)), scNone) << text;
    for (int value : {0, 0x07, 0x1000 | 0x41, 0x10000 | 0x41, -1, 0x4000})
        EXPECT_EQ(ShortCutToText(value), QString()) << value;
}

// Every value with a text reads back to itself, and texts differ from value to value.
TEST(KvShortCuts, TextAndValueAreExactInverses)
{
    QSet<QString> texts;
    int named = 0;
    for (int value = 0; value <= 0xFFFF; ++value) {
        const QString text = ShortCutToText(value);
        if (text.isEmpty())
            continue;
        ++named;
        EXPECT_EQ(TextToShortCut(text), value) << text.toStdString();
        EXPECT_EQ(TextToShortCut(text.toLower()), value) << text.toStdString();
        texts.insert(text);
        // The window system's key stands for the same shortcut.
        const QKeyCombination key = KvShortCutToKey(value);
        EXPECT_NE(key, QKeyCombination()) << text.toStdString();
        EXPECT_EQ(KvKeyToShortCut(key), value) << text.toStdString();
    }
    EXPECT_EQ(texts.size(), named);
    EXPECT_EQ(named % 8, 0); // each key with every combination of the three modifiers
    EXPECT_GE(named / 8, 101);
}

TEST(KvShortCuts, WindowSystemKeys)
{
    EXPECT_EQ(QKeySequence(KvShortCutToKey(TextToShortCut(QStringLiteral("Shift+Ctrl+F1")))).toString(),
              QStringLiteral("Ctrl+Shift+F1"));
    EXPECT_EQ(KvKeyToShortCut(QKeyCombination(Qt::ControlModifier, Qt::Key_Enter)), scCtrl | 0x0D);
    EXPECT_EQ(KvKeyToShortCut(QKeyCombination(Qt::KeypadModifier, Qt::Key_Plus)), 0x6B);
    EXPECT_EQ(KvKeyToShortCut(QKeyCombination(Qt::KeypadModifier, Qt::Key_Home)), 0x24);
    EXPECT_EQ(KvKeyToShortCut(QKeyCombination(Qt::MetaModifier, Qt::Key_A)), scNone);
    EXPECT_EQ(KvKeyToShortCut(QKeyCombination(Qt::Key_Eject)), scNone);
    EXPECT_EQ(KvShortCutToKey(0x07), QKeyCombination());
}

TEST(KvShortCuts, StandardList)
{
    const QList<int> list = KvStandardShortCuts();
    ASSERT_EQ(list.size(), 87);
    QSet<int> distinct(list.begin(), list.end());
    EXPECT_EQ(distinct.size(), 87);
    for (int value : list)
        EXPECT_EQ(TextToShortCut(ShortCutToText(value)), value) << value; // each one named
    const std::pair<int, const char*> At[] = {{0, "Ctrl+A"},          {25, "Ctrl+Z"},     {26, "F1"},
                                              {38, "Ctrl+F1"},        {50, "Shift+F1"},   {62, "Shift+Ctrl+F1"},
                                              {74, "Ins"},            {79, "Ctrl+Del"},   {81, "Shift+Alt+BkSp"},
                                              {82, "Ctrl+Enter"},     {86, "Ctrl+PgUp"}};
    for (const auto& [index, text] : At)
        EXPECT_EQ(ShortCutToText(list.at(index)), QString::fromLatin1(text)) << index;
}
