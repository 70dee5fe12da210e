#include "controls/KvVtMask.h"
#include "controls/KvVtMaskExamples.h"

#include "KvMessages.h"
#include "KvStdCtrls.h"
#include "registration/KvPropEditors.h"
#include "TypInfo.h"
#include "KvTypes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

template <class T>
T* Ctl(QWidget* Window, const char* Name)
{
    T* Control = Window->findChild<T*>(QString::fromLatin1(Name));
    EXPECT_NE(Control, nullptr) << Name;
    return Control;
}

void OnModal(std::function<void(QWidget*)> Action)
{
    QTimer::singleShot(0, [Action] {
        QWidget* Window = QApplication::activeModalWidget();
        ASSERT_NE(Window, nullptr);
        Action(Window);
    });
}

void Click(QWidget* Window, const char* Name)
{
    QTest::mouseClick(Ctl<QWidget>(Window, Name), Qt::LeftButton, {}, QPoint(8, 8));
}

QString Options(QWidget* Window)
{
    return Ctl<QLineEdit>(Window, "EdOptions")->text();
}

} // namespace

TEST(KvVtMask, NumericMaskEditedWithMouseAndKeys)
{
    TKvMask Mask(nullptr, KvTypes::dtFloat);
    Mask.SetSize(5);
    TFrMask Dialog;
    Dialog.Mask = &Mask;
    OnModal([&](QWidget* W) {
        EXPECT_EQ(Ctl<QLabel>(W, "LaDefault")->text(), QStringLiteral("<Default Mask>"));
        EXPECT_TRUE(Ctl<QRadioButton>(W, "RbNegative")->isChecked());
        Click(W, "CbThousands"); // off
        EXPECT_EQ(Options(W), QStringLiteral(">-&"));
        EXPECT_EQ(Ctl<QLabel>(W, "LaDefault")->text(), QStringLiteral("<Custom Mask>"));
        Click(W, "RbNegative"); // a chosen radio clicked again means none
        Click(W, "RbScientific2");
        Click(W, "RbScientific4");
        EXPECT_EQ(Options(W), QStringLiteral(">&4"));

        auto* Box = Ctl<QLineEdit>(W, "EdOptions");
        Box->setFocus();
        QTest::keyClicks(Box, QStringLiteral("%+a-z")); // "%", "a" and "-" after "+" refused
        EXPECT_EQ(Options(W), QStringLiteral(">&4+z"));
        EXPECT_TRUE(Ctl<QRadioButton>(W, "RbNegativeSign")->isChecked());
        EXPECT_TRUE(Ctl<QCheckBox>(W, "CbNoZero")->isChecked());

        // A size that is no number keeps the dialog open and the mask as it was.
        TKvMessageRecorder Messages;
        auto* Size = Ctl<QLineEdit>(W, "EdSize");
        Size->clear();
        Click(W, "BtOk");
        EXPECT_TRUE(W->isVisible());
        EXPECT_EQ(Messages.Count(), 1);
        EXPECT_EQ(Mask.Text(), QString());
        QTest::keyClicks(Size, QStringLiteral("12x"));
        Click(W, "BtOk");
    });
    ASSERT_TRUE(Dialog.Execute());
    EXPECT_EQ(Mask.Size(), 12);
    EXPECT_EQ(Mask.Text(), QStringLiteral(">+z&4"));
}

TEST(KvVtMask, DateDurationAndKindsKeepTheirOptions)
{
    TKvMask Mask(nullptr, KvTypes::dtString);
    Mask.SetText(QStringLiteral("<au;##-##"));
    TFrMask Dialog;
    Dialog.Mask = &Mask;
    OnModal([&](QWidget* W) {
        EXPECT_EQ(Ctl<QLineEdit>(W, "EdSpace")->text(), QString());
        auto* DataType = Ctl<QComboBox>(W, "EdDataType");
        DataType->setCurrentIndex(DataType->findData(int(KvTypes::dtDateTime)));
        EXPECT_EQ(Options(W), QStringLiteral("<dmy"));
        Click(W, "RbYear"); // the year group allows none
        EXPECT_EQ(Options(W), QStringLiteral("<dm"));
        Click(W, "CbHour");
        Click(W, "CbTwelveHour");
        EXPECT_EQ(Options(W), QStringLiteral("<dmhao"));
        EXPECT_FALSE(Ctl<QCheckBox>(W, "CbAmPm")->isEnabled());

        auto* Duration = Ctl<QComboBox>(W, "EdDuration");
        EXPECT_EQ(Duration->itemText(0), QStringLiteral("none"));
        Duration->setFocus();
        QTest::keyClick(Duration, Qt::Key_Down);
        QTest::keyClick(Duration, Qt::Key_Down);
        EXPECT_EQ(Options(W), QStringLiteral("<haox"));
        EXPECT_FALSE(Ctl<QCheckBox>(W, "CbDay")->isEnabled());
        QTest::keyClick(Duration, Qt::Key_Home);
        EXPECT_EQ(Options(W), QStringLiteral("<dmhao"));
        EXPECT_TRUE(Ctl<QCheckBox>(W, "CbDay")->isEnabled());

        DataType->setCurrentIndex(DataType->findData(int(KvTypes::dtString)));
        EXPECT_EQ(Options(W), QStringLiteral("<au"));
        Click(W, "BtOk");
    });
    ASSERT_TRUE(Dialog.Execute());
    EXPECT_EQ(Mask.DataType(), KvTypes::dtString);
    EXPECT_EQ(Mask.Text(), QStringLiteral("<au;##-##"));
}

TEST(KvVtMask, ExampleChosenByDoubleClick)
{
    TKvMask Mask(nullptr, KvTypes::dtInteger);
    TFrMask Dialog;
    Dialog.Mask = &Mask;
    OnModal([&](QWidget* W) {
        OnModal([](QWidget* Examples) {
            auto* List = Ctl<QListWidget>(Examples, "LbExamples");
            const QRect Row = List->visualItemRect(List->item(5));
            QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, Row.center());
            QTest::mouseDClick(List->viewport(), Qt::LeftButton, {}, Row.center());
        });
        Click(W, "BtExamples");
        EXPECT_EQ(Options(W), QStringLiteral(">-."));
        Click(W, "BtOk");
    });
    ASSERT_TRUE(Dialog.Execute());
    EXPECT_EQ(Mask.DataType(), KvTypes::dtFloat);
    EXPECT_EQ(Mask.Size(), 19);
    EXPECT_EQ(Mask.Decimals(), 2);
    EXPECT_EQ(Mask.Text(), QStringLiteral(">-."));

    // No mask editor for the second text kind: it refuses to open.
    Mask.SetDataType(KvTypes::dtMemo);
    EXPECT_FALSE(Dialog.Execute());
}

TEST(KvVtMask, PropertyEditorCopiesTheEditedMaskToEverySelectedEdit)
{
    TKvEdit First, Second;
    First.SetDataType(KvTypes::dtInteger);
    Second.Mask()->SetText(QStringLiteral("<U"));
    TKvMaskPropertyEditor Editor;
    Editor.Initialize(nullptr, {&First, &Second}, *GetPropInfo(&TKvEdit::staticMetaObject, u"Mask"));
    EXPECT_FALSE(Editor.AllEqual());
    OnModal([](QWidget* W) {
        Click(W, "RbCenter");
        Click(W, "BtOk");
    });
    Editor.Edit();
    EXPECT_EQ(First.Mask()->Text(), QStringLiteral("%"));
    EXPECT_EQ(Second.Mask()->Text(), QStringLiteral("%"));
    EXPECT_EQ(Second.GetDataType(), KvTypes::dtInteger);

    // Typed text goes to every mask; letter case does not make masks differ.
    Editor.SetValue(QStringLiteral("<u"));
    Second.Mask()->SetText(QStringLiteral("<U"));
    EXPECT_TRUE(Editor.AllEqual());
    EXPECT_EQ(Editor.GetValue(), QStringLiteral("<u"));
}
