#include "KvDesignHooks.h"
#include "KvDialogs.h"
#include "KvForms.h"
#include "KvGraphics.h"
#include "KvUtils.h"

#include <QDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>

TEST(KvTextToStrings, HostileFieldsSurviveOnOneLine)
{
    const QString Long = QString(100000, u'x') + QStringLiteral(",\"\r\n");
    const QList<QStringList> Lines{
        {},
        {QString()},
        {QString(), QString()},
        {QStringLiteral("1"), QString()},
        {QStringLiteral("a,b"), QStringLiteral("say \"hi\""), QStringLiteral("\"")},
        {QStringLiteral("two\r\nlines"), QStringLiteral("\n"), QStringLiteral("\r")},
        {QStringLiteral("   "), QStringLiteral(" padded "), QStringLiteral("\t")},
        // Sequences that look like the escapes inside quotes.
        {QStringLiteral("\"r"), QStringLiteral("\"n\""), QStringLiteral("r"), QStringLiteral("\"\"")},
        {QStringLiteral("\"quoted at start"), QStringLiteral("end\"")},
        {QStringLiteral("日本語, ü"), Long},
    };
    for (QChar Separator : {u',', u';', u'\t'}) {
        for (const QStringList& Fields : Lines) {
            const QString Text = KvTextFromStrings(Fields, Separator);
            EXPECT_FALSE(Text.contains(u'\n') || Text.contains(u'\r')) << Text.left(80).toStdString();
            EXPECT_EQ(KvTextToStrings(Text, Separator), Fields) << Text.left(80).toStdString();
            // A line read back from a CRLF file keeps its fields.
            EXPECT_EQ(KvTextToStrings(Text + QStringLiteral("\r\n"), Separator), Fields);
        }
    }
}

TEST(KvTextToStrings, ReadsPlainAndHandWrittenLines)
{
    EXPECT_EQ(KvTextToStrings(QStringLiteral("12,\"Hello, world\",\"He said \"\"hi\"\"\"")),
              (QStringList{QStringLiteral("12"), QStringLiteral("Hello, world"), QStringLiteral("He said \"hi\"")}));
    EXPECT_EQ(KvTextToStrings(QStringLiteral("5,O\"Neil, Jr")),
              (QStringList{QStringLiteral("5"), QStringLiteral("O\"Neil"), QStringLiteral(" Jr")}));
    EXPECT_EQ(KvTextToStrings(QStringLiteral("<d;(###)###-####"), u';'),
              (QStringList{QStringLiteral("<d"), QStringLiteral("(###)###-####")}));
    EXPECT_EQ(KvTextToStrings(QStringLiteral("1,\"unclosed, text")),
              (QStringList{QStringLiteral("1"), QStringLiteral("unclosed, text")}));
    EXPECT_THROW(KvTextToStrings(QStringLiteral("a"), u'"'), EInvalidOperation);
    EXPECT_THROW(KvTextFromStrings({QStringLiteral("a")}, u'\n'), EInvalidOperation);
}

TEST(KvNumeric, FormatsByMaskOptions)
{
    struct Case { double Value; const char* Mask; int Size; int Decimals; const char* Expected; };
    const Case Cases[] = {
        {1.5, ">", 0, 8, "1.5"},
        {42, ">", 0, 8, "42"},
        {1.5, ">", 4, 3, "1.500"},
        {-1234567.125, ">.-", 0, 2, "-1,234,567.13"},
        {-0.0000000001, ">", 0, 8, "0"}, // no "-0"
        {1.25, ">&", 0, 8, "1.25"},
        {3, ">&", 0, 2, "3"},
        {0, ">z", 0, 2, ""},
        {7, ">+", 0, 0, "+7"},
        {-7, ">*", 0, 0, "7-"},
        {42, ">0", 6, 2, "0042.00"},
        {1500, ">2", 0, 1, "1.5E+03"},
        {1e20, ">4&", 0, 2, "1E+20"},
        {123.456, ">4", 0, 2, "123.46"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(KvANumericToStr(C.Value, QString::fromLatin1(C.Mask), C.Size, C.Decimals), QString::fromLatin1(C.Expected))
            << C.Mask << " " << C.Value;
    EXPECT_THROW(KvANumericToStr(NAN, QStringLiteral(">"), 0, 8), EConvertError);
    EXPECT_THROW(KvANumericToStr(INFINITY, QStringLiteral(">"), 0, 8), EConvertError);
}

TEST(KvNumeric, ParsesWhatItFormatsAndRefusesTheRest)
{
    for (double Value : {0.0, -0.5, 1.0 / 3.0, 123456789.12345678, -98765.4321, 1e15, 1e-9, 1.7e308}) {
        const double Rounded = QString::number(Value, 'f', 8).toDouble();
        for (const char* Mask : {">", ">.", ">*&", ">+"})
            EXPECT_DOUBLE_EQ(KvAStrToNumeric(KvANumericToStr(Value, QString::fromLatin1(Mask), 0, 8), 8), Rounded)
                << Mask << " " << Value;
    }
    EXPECT_EQ(KvAStrToNumeric(QStringLiteral("  "), 8), 0.0);
    EXPECT_EQ(KvAStrToNumeric(QStringLiteral("2.5e3"), 8), 2500.0);
    EXPECT_EQ(KvAStrToNumeric(QStringLiteral(".5"), 8), 0.5);
    EXPECT_EQ(KvAStrToNumeric(QStringLiteral("2.345"), 2), 2.35);
    EXPECT_FALSE(std::signbit(KvAStrToNumeric(QStringLiteral("-0.000000001"), 8)));
    for (const char* Bad : {"abc", "1,5", "12,34,567", "--5", "-5-", "1.2.3", "1e999", ".", "5 kg", "-"})
        EXPECT_THROW(KvAStrToNumeric(QString::fromLatin1(Bad), 8), EConvertError) << Bad;
}

TEST(KvDates, FormatAndParseBothWays)
{
    const double NewYearsEve = KvAStrToDate(QStringLiteral("31/12/2024 23:59:59"));
    EXPECT_EQ(KvADateTimeToStr(NewYearsEve, QStringLiteral("dmyhns"), KvDateYearLong), QStringLiteral("31/12/2024 23:59:59"));
    EXPECT_EQ(KvADateTimeToStr(NewYearsEve, QStringLiteral("<dmy"), KvDateYearShort), QStringLiteral("31/12/24"));
    EXPECT_EQ(KvADateTimeToStr(NewYearsEve, QStringLiteral("1dMyhoa"), KvDateYearLong),
              QStringLiteral("Tuesday 31 Dec 2024 11 PM"));
    EXPECT_DOUBLE_EQ(KvAStrToDate(QStringLiteral("30/12/1899")), 0.0);
    EXPECT_DOUBLE_EQ(KvAStrToDate(QStringLiteral("29/12/1899 06:00")), -1.25); // before the epoch
    EXPECT_DOUBLE_EQ(KvAStrToDate(QStringLiteral("12:00")), 0.5);
    EXPECT_DOUBLE_EQ(KvAStrToDate(QStringLiteral("12:00 AM")), 0.0);
    EXPECT_DOUBLE_EQ(KvAStrToDate(QStringLiteral("2024-12-31T23:59:59")), NewYearsEve);
    EXPECT_DOUBLE_EQ(KvAStrToDate(QStringLiteral("31.12.24 23:59:59")), NewYearsEve);
    EXPECT_EQ(KvADateTimeToStr(KvAStrToDate(QStringLiteral("1/1/50")), QStringLiteral("dmy"), 2), QStringLiteral("01/01/1950"));

    for (const char* Text : {"01/01/0001 00:00:00", "29/02/2000 12:30:01", "31/12/9999 23:59:59", "15/06/1700 08:00:00"}) {
        const QString S = QString::fromLatin1(Text);
        EXPECT_EQ(KvADateTimeToStr(KvAStrToDate(S), QStringLiteral("dmyhns"), KvDateYearLong), S);
    }
    for (const char* Bad : {"", "abc", "31/02/2024", "29/02/2023", "1/13/2024", "24:00", "10:60", "13:00 PM",
                            "2024-12-3110:00", "1/1/2024 x"})
        EXPECT_THROW(KvAStrToDate(QString::fromLatin1(Bad)), EConvertError) << Bad;
    EXPECT_THROW(KvADateTimeToStr(1e12, QString(), 2), EConvertError);
}

TEST(KvPaths, ExtensionsAndSeparators)
{
    EXPECT_EQ(KvAddPointExt(QStringLiteral("kvstr")), QStringLiteral(".kvstr"));
    EXPECT_EQ(KvAddPointExt(QStringLiteral(".lan")), QStringLiteral(".lan"));
    EXPECT_EQ(KvAddPointExt(QString()), QString());
    EXPECT_EQ(KvAddPathBar(QStringLiteral("/usr/share")), QStringLiteral("/usr/share/"));
    EXPECT_EQ(KvAddPathBar(QStringLiteral("/usr/share/")), QStringLiteral("/usr/share/"));
    EXPECT_EQ(KvAddPathBar(QString()), QString()); // not the root folder
}

TEST(KvForms, ResizeInfoIsKeptPerWindowClass)
{
    {
        QDialog Dialog;
        Dialog.setGeometry(40, 50, 300, 200);
        KvSaveResizeInfoDesigner(&Dialog);
        QWidget Window;
        Window.setGeometry(10, 20, 400, 300);
        Window.setWindowState(Qt::WindowMaximized);
        KvSaveResizeInfoDesigner(&Window);
    }
    QDialog Dialog;
    ASSERT_TRUE(KvRestoreResizeInfoDesigner(&Dialog));
    EXPECT_EQ(Dialog.geometry(), QRect(40, 50, 300, 200));
    EXPECT_FALSE(Dialog.isMaximized());
    QWidget Window;
    ASSERT_TRUE(KvRestoreResizeInfoDesigner(&Window));
    EXPECT_TRUE(Window.isMaximized());
    QFrame Other; // a class without a record stays where it is
    Other.setGeometry(1, 2, 30, 40);
    EXPECT_FALSE(KvRestoreResizeInfoDesigner(&Other));
    EXPECT_EQ(Other.geometry(), QRect(1, 2, 30, 40));

    // Bounds from a screen that is gone come back on one.
    QDialog Far;
    Far.setGeometry(20000, 20000, 300, 200);
    KvSaveResizeInfoDesigner(&Far);
    QDialog Back;
    KvRestoreResizeInfoDesigner(&Back);
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(Back.geometry()));
    EXPECT_EQ(Back.size(), QSize(300, 200));
}

TEST(KvForms, KeepInsideMovesThenShrinks)
{
    const QRect Area(0, 0, 800, 600);
    EXPECT_EQ(KvKeepInside(QRect(700, 550, 200, 100), Area), QRect(600, 500, 200, 100));
    EXPECT_EQ(KvKeepInside(QRect(-50, -10, 200, 100), Area), QRect(0, 0, 200, 100));
    EXPECT_EQ(KvKeepInside(QRect(100, 100, 1000, 700), Area), QRect(0, 0, 800, 600));
    EXPECT_EQ(KvKeepInside(QRect(10, 10, 20, 20), Area), QRect(10, 10, 20, 20));
}

TEST(KvForms, ScreenUpdatesNestAndShowTheWaitCursor)
{
    EXPECT_FALSE(QGuiApplication::overrideCursor());
    KvScreen.EndUpdate(); // unmatched: harmless
    {
        TKvScreenUpdate Outer;
        KvScreen.BeginUpdate();
        ASSERT_TRUE(QGuiApplication::overrideCursor());
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        KvScreen.EndUpdate();
        EXPECT_TRUE(KvScreen.Updating());
    }
    EXPECT_FALSE(KvScreen.Updating());
    EXPECT_FALSE(QGuiApplication::overrideCursor());
}

TEST(KvForms, MasterMessagesAndDesignerNotifications)
{
    QSignalSpy Spy(KvMasterHub(), &TKvMasterHub::MasterMessage);
    QObject Package;
    KvFormsPerform(KvMmPkgStrings, &Package);
    ASSERT_EQ(Spy.count(), 1);
    EXPECT_EQ(Spy.at(0).at(0).toInt(), KvMmPkgStrings);
    EXPECT_EQ(Spy.at(0).at(1).value<QObject*>(), &Package);

    TComponent Form;
    KvDesignerModified(&Form); // no designer hooked in: nothing happens
    QList<TPersistent*> Told;
    KvDsgnModified = [&Told](TPersistent* Object) { Told << Object; };
    KvDesignerModified(&Form);
    KvDesignerModified(nullptr);
    KvDsgnModified = nullptr;
    EXPECT_EQ(Told, QList<TPersistent*>{&Form});
}

TEST(KvGraphics, FormatsDescriptionsAndPlacement)
{
    const QStringList Formats = KvGraphicFormats();
    EXPECT_TRUE(Formats.contains(QStringLiteral("png")));
    EXPECT_FALSE(Formats.contains(QStringLiteral("jpeg")) && Formats.contains(QStringLiteral("jpg")));
    EXPECT_EQ(KvFindGraphicDescription(QStringLiteral("JPG")), KvFindGraphicDescription(QStringLiteral("jpeg")));
    EXPECT_EQ(KvFindGraphicDescription(QString()), QString());
    // Every format has its own entry in the open filter, after "All graphics".
    EXPECT_EQ(KvQtNameFilters(KvFormatGraphics()).size(), Formats.size() + 1);

    const QRect Cell(0, 0, 100, 50);
    EXPECT_EQ(KvImageRect(QSize(20, 10), Cell, false), QRect(40, 20, 20, 10));
    EXPECT_EQ(KvImageRect(QSize(20, 10), Cell, true), QRect(0, 0, 100, 50));
    EXPECT_EQ(KvImageRect(QSize(400, 100), Cell, false), QRect(0, 12, 100, 25));

    QImage Picture(4, 4, QImage::Format_RGB32);
    Picture.fill(Qt::red);
    Picture.setPixel(1, 1, qRgb(0, 0, 255));
    QImage Canvas(4, 4, QImage::Format_RGB32);
    Canvas.fill(Qt::white);
    {
        QPainter Painter(&Canvas);
        KvDrawImage(Painter, Canvas.rect(), Picture, true, false);
    }
    EXPECT_EQ(Canvas.pixel(0, 0), qRgb(255, 255, 255)); // the bottom-left colour is see-through
    EXPECT_EQ(Canvas.pixel(1, 1), qRgb(0, 0, 255));
}
