#include "setup/KvLocaleSettings.h"
#include "setup/KvSetupSettings.h"

#include "KvPkgLanguage.h"
#include "KvPkgSetup.h"
#include "KvShortCuts.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Written to a file and read into a fresh package.
template <class T>
std::unique_ptr<T> ThroughFile(const T& Pkg)
{
    QTemporaryDir Dir;
    const QString Path = QDir(Dir.path()).filePath(QStringLiteral("pkg"));
    Pkg.SaveToFile(Path);
    auto Copy = std::make_unique<T>();
    Copy->LoadFromFile(Path);
    return Copy;
}

} // namespace

// Every setting the locale editor shows is written through its text and comes back from the file.
TEST(KvLocaleSettings, EverySettingSurvivesThePackageFile)
{
    TKvPkgLanguage Pkg;
    const TKvPkgLanguageLocale Default = Pkg.Locale();
    const QList<QChar> Separators{u'-', u';', u'\'', u'_'};
    int NextSeparator = 0;
    QHash<QString, QString> Expected;
    for (const TKvLocaleSetting& Setting : KvLocaleSettings()) {
        const QString Control = QLatin1String(Setting.Control);
        const QString Before = KvLocaleText(Default, Setting);
        QString Typed;
        switch (Setting.Kind) {
        case TKvLocaleKind::List: {
            const QStringList Items = KvLocaleItems(Setting);
            ASSERT_GE(Items.size(), 3) << Control.toStdString();
            Typed = Items.last() == Before ? Items.first() : Items.last();
            break;
        }
        case TKvLocaleKind::Number:
            Typed = QString::number(Before.toInt() + 7);
            break;
        case TKvLocaleKind::Char:
            Typed = Separators.at(NextSeparator++);
            break;
        case TKvLocaleKind::Text:
            Typed = Before + QStringLiteral("x");
            break;
        case TKvLocaleKind::Names: {
            QStringList Names = KvTextToLines(Before);
            std::reverse(Names.begin(), Names.end());
            // A line break after the last name ends it; it adds no empty name.
            Typed = Names.join(u'\n') + u'\n';
            Expected.insert(Control, Names.join(QStringLiteral("\r\n")));
            break;
        }
        }
        KvSetLocaleText(&Pkg, Setting, Typed);
        Expected.insert(Control, Expected.value(Control, Typed));
        EXPECT_NE(Expected.value(Control), Before) << Control.toStdString();
    }
    Pkg.SetAutoLoad(false);
    const auto Copy = ThroughFile(Pkg);
    EXPECT_FALSE(Copy->Locale().AutoLoad);
    for (const TKvLocaleSetting& Setting : KvLocaleSettings())
        EXPECT_EQ(KvLocaleText(Copy->Locale(), Setting), Expected.value(QLatin1String(Setting.Control)))
            << Setting.Control;
}

TEST(KvLocaleSettings, BadTextsChangeNothing)
{
    TKvPkgLanguage Pkg;
    const TKvPkgLanguageLocale Before = Pkg.Locale();
    const auto Set = [&](const char* Control, const QString& Text) {
        KvSetLocaleText(&Pkg, *KvFindLocaleSetting(QLatin1String(Control)), Text);
    };
    EXPECT_THROW(Set("EdDateCentury", QString()), EConvertError);
    EXPECT_THROW(Set("EdDateCentury", QStringLiteral("19a0")), EConvertError);
    EXPECT_THROW(Set("EdMaskDateYearFix", QStringLiteral("-5")), EConvertError);
    EXPECT_THROW(Set("CBStartOfWeek", QStringLiteral("swSomeday")), EConvertError);
    EXPECT_THROW(Set("SBDayLongNames", QStringLiteral("Sunday\r\nMonday")), EKvPkgError);
    EXPECT_THROW(Set("EdNumericThousandSeparator", QStringLiteral(".")), EKvPkgError);
    EXPECT_THROW(Set("EdDateSeparator", QStringLiteral("a")), EKvPkgError);
    EXPECT_EQ(Pkg.Locale(), Before);

    // An empty separator box means a blank, which the locale takes.
    Set("EdTimeSeparator", QString());
    EXPECT_EQ(Pkg.Locale().TimeSeparator, QChar(u' '));
    EXPECT_EQ(KvCenturyRange(QStringLiteral("2050")), QStringLiteral("1951 and 2050"));
    EXPECT_THROW(KvCenturyRange(QString()), EConvertError);
}

TEST(KvLocaleSettings, AutoLoadTakesTheSystemAndRestoreDefaultsKeepsIt)
{
    TKvPkgLanguage Pkg;
    Pkg.SetAutoLoad(false);
    KvSetLocaleText(&Pkg, *KvFindLocaleSetting(QStringLiteral("EdTimeAMString")), QStringLiteral("vorm."));
    Pkg.SetModified(false);
    Pkg.SetAutoLoad(true);
    EXPECT_EQ(Pkg.Locale(), TKvPkgLanguageLocale::System());
    EXPECT_TRUE(Pkg.Modified());

    KvSetLocaleText(&Pkg, *KvFindLocaleSetting(QStringLiteral("CBMaskDecimals")), QStringLiteral("4"));
    Pkg.SetAutoLoad(false);
    EXPECT_EQ(Pkg.Locale().MaskDecimals, 4); // switching off keeps the settings
    Pkg.RestoreDefaults();
    TKvPkgLanguageLocale Expected = TKvPkgLanguageLocale::Default();
    Expected.AutoLoad = false;
    EXPECT_EQ(Pkg.Locale(), Expected);
}

// Every shortcut the boxes offer, in every one of the sixteen places, comes back from the file.
TEST(KvSetupSettings, EveryShortcutSurvivesThePackageFile)
{
    const QStringList Picks = KvShortCutPickList();
    ASSERT_EQ(Picks.size(), 87);
    EXPECT_EQ(QSet<QString>(Picks.begin(), Picks.end()).size(), 87);
    EXPECT_EQ(Picks.first(), QStringLiteral("Ctrl+A"));
    EXPECT_EQ(Picks.at(81), QStringLiteral("Shift+Alt+BkSp"));
    EXPECT_EQ(Picks.last(), QStringLiteral("Ctrl+PgUp"));
    ASSERT_EQ(KvShortCutBoxes().size(), KvSetupShortCutCount);

    TKvPkgSetup Pkg;
    for (int Round = 0; Round < Picks.size(); Round += KvSetupShortCutCount / 2) {
        for (int I = 0; I < KvSetupShortCutCount; ++I)
            KvSetShortCutText(&Pkg, KvShortCutBoxes().at(I).Key, Picks.at((Round + I) % Picks.size()));
        const auto Copy = ThroughFile(Pkg);
        for (int I = 0; I < KvSetupShortCutCount; ++I)
            EXPECT_EQ(ShortCutToText(Copy->ShortCut(KvShortCutBoxes().at(I).Key)), Picks.at((Round + I) % Picks.size()));
    }
    // Typed in another spelling, a shortcut is stored all the same; a text naming none clears it.
    KvSetShortCutText(&Pkg, skBtnCustom1, QStringLiteral("ctrl+shift+f1"));
    EXPECT_EQ(ShortCutToText(Pkg.ShortCut(skBtnCustom1)), QStringLiteral("Shift+Ctrl+F1"));
    KvSetShortCutText(&Pkg, skBtnCustom1, QStringLiteral("Ctrl+"));
    EXPECT_EQ(Pkg.ShortCut(skBtnCustom1), 0);
}

TEST(KvSetupSettings, EnginesSetTheFormatsAndNoSeparatorIsKept)
{
    TKvPkgSetupDataBase D;
    D.DateSeparator = u'-';
    D.QuotedNumber = true;
    const TKvPkgSetupDataBase Custom = D;
    KvApplyDataBaseEngine(D);
    EXPECT_EQ(D, Custom);

    D.DataBaseEngine = KvSetupTypes::deStandard;
    KvApplyDataBaseEngine(D);
    EXPECT_EQ(QString(D.DateSeparator) + D.TimeSeparator + D.NumericDecimalSeparator, QStringLiteral("/:."));
    EXPECT_FALSE(D.QuotedNumber);
    EXPECT_FALSE(D.SQLSyntax);
    EXPECT_EQ(D.DateFormat, KvSystemDateFormat());

    D.DataBaseEngine = KvSetupTypes::deSystem;
    KvApplyDataBaseEngine(D);
    EXPECT_TRUE(D.QuotedNumber);
    EXPECT_FALSE(D.SQLSyntax);
    EXPECT_EQ(D.NumericDecimalSeparator, TKvPkgLanguageLocale::System().NumericDecimalSeparator);

    // An empty box is no separator at all, and the file keeps it so.
    TKvPkgSetup Pkg;
    TKvPkgSetupDataBase None = Pkg.DataBase();
    None.NumericDecimalSeparator = KvSeparatorOf(QString());
    None.TimeSeparator = KvSeparatorOf(QString());
    Pkg.SetDataBase(None);
    const auto Copy = ThroughFile(Pkg);
    EXPECT_EQ(Copy->DataBase(), None);
    EXPECT_EQ(KvSeparatorText(Copy->DataBase().NumericDecimalSeparator), QString());
    None.DateSeparator = u'x';
    EXPECT_THROW(Pkg.SetDataBase(None), EKvPkgError);
}
