#include "registration/KvPropEditors.h"

#include "KvApplication.h"
#include "KvCollections.h"
#include "KvExtCtrls.h"
#include "KvStdCtrls.h"
#include "KvUtils.h"
#include "SysUtils.h"
#include "ToolsAPI.h"
#include "TypInfo.h"
#include "Variants.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace {

const double Numbers[] = {0,           1,      -1,          0.1,     1.0 / 3,   -2.5e-10, 123456.78901234,
                          9007199254740993.0, 1e300,  -DBL_MAX, DBL_MIN, 0.00000001, 99999999.99999999};

// Moments on every kind of limit: the epoch, before it, the first and last days, a fraction of a second.
const char* const Dates[] = {"1899-12-30",          "1899-12-29 06:00",        "12:00",
                             "0001-01-01",          "9999-12-31 23:59:59.999", "2023-03-15 06:00",
                             "2023-03-15 03:25:45.678", "1898-01-30 18:00"};

TKvPkgLanguageLocale LocaleOf(int Order, QChar DateSeparator, QChar TimeSeparator)
{
    TKvPkgLanguageLocale Locale = TKvPkgLanguageLocale::Default();
    Locale.DateFormat = Order;
    Locale.DateSeparator = DateSeparator;
    Locale.TimeSeparator = TimeSeparator;
    return Locale;
}

TEST(VariantText, EveryNumericTypeReadsBackTheValueItShows)
{
    for (int Type = 0; Type <= 2; ++Type)
        for (double Value : Numbers) {
            const QString Text = VariantToString(Type, Variant(Value));
            ASSERT_NO_THROW(StringToVariant(Type, Text)) << Text.toStdString();
            EXPECT_EQ(StringToVariant(Type, Text).AsFloat(), Value) << Type << ' ' << Text.toStdString();
            EXPECT_EQ(VariantToString(Type, StringToVariant(Type, Text)), Text);
        }
    // Short values keep the mask's plain form; grouped or signed-after text is read as well.
    EXPECT_EQ(VariantToString(1, Variant(2500.0)), QStringLiteral("2500"));
    EXPECT_EQ(StringToVariant(1, QStringLiteral("1,234.5-")).AsFloat(), -1234.5);
}

TEST(VariantText, DatesReadBackInTheLanguageLocaleOrTheSystemOne)
{
    const auto RoundTrips = [](const char* Where) {
        for (const char* Moment : Dates) {
            const double Value = KvAStrToDate(QString::fromLatin1(Moment));
            const QString Text = VariantToString(4, Variant::FromDate(Value));
            ASSERT_NO_THROW(StringToVariant(4, Text)) << Where << ' ' << Text.toStdString();
            EXPECT_EQ(StringToVariant(4, Text).AsDate(), Value) << Where << ' ' << Text.toStdString();
        }
    };
    RoundTrips("system");

    TKvCApplication App;
    App.SetActive();
    const struct {
        TKvPkgLanguageLocale Locale;
        const char* NewYearsEve;
    } Locales[] = {
        {LocaleOf(0, u'/', u':'), "31/12/2024 23:59:58"},
        {LocaleOf(1, u'-', u':'), "12-31-2024 23:59:58"},
        {LocaleOf(2, u'.', u'.'), "2024.12.31 23.59.58"},
    };
    const double NewYearsEve = KvAStrToDate(QStringLiteral("2024-12-31 23:59:58"));
    for (const auto& L : Locales) {
        App.PkgLanguage()->SetLocale(L.Locale);
        RoundTrips(L.NewYearsEve);
        EXPECT_EQ(VariantToString(4, Variant::FromDate(NewYearsEve)), QString::fromLatin1(L.NewYearsEve));
        EXPECT_EQ(StringToVariant(4, QString::fromLatin1(L.NewYearsEve)).AsDate(), NewYearsEve);
    }
    // A moment with milliseconds shows them rather than lose them.
    App.PkgLanguage()->SetLocale(LocaleOf(0, u'/', u':'));
    EXPECT_EQ(VariantToString(4, Variant::FromDate(NewYearsEve + 0.25 / 86400)),
              QStringLiteral("31/12/2024 23:59:58.250"));
}

TEST(VariantText, NullTextAndTypesWithoutAConversion)
{
    for (int Type = 0; Type <= 6; ++Type) {
        EXPECT_EQ(VariantToString(Type, Variant::Null()), QStringLiteral("{NULL}"));
        for (const char* Null : {"{NULL}", "{null}", "{NuLl}"})
            EXPECT_TRUE(StringToVariant(Type, QString::fromLatin1(Null)).IsNull()) << Type << Null;
    }
    for (const char* Text : {"", " 12 ", "31/12/2024", "{NULL} "}) {
        const Variant Stored = StringToVariant(3, QString::fromLatin1(Text));
        EXPECT_EQ(Stored.AsString(), QString::fromLatin1(Text));
        EXPECT_EQ(VariantToString(3, Stored), QString::fromLatin1(Text));
    }
    for (int Type : {5, 6, 200}) {
        EXPECT_EQ(VariantToString(Type, Variant(42.0)), QString());
        EXPECT_TRUE(StringToVariant(Type, QStringLiteral("42")).IsEmpty());
    }
}

TEST(VariantText, TextThatDoesNotParseRaises)
{
    for (const char* Bad : {"12abc", "1.2.3", "--1", "1e400", "1,23", "NaN", "inf", "0x10"})
        for (int Type = 0; Type <= 2; ++Type)
            EXPECT_THROW(StringToVariant(Type, QString::fromLatin1(Bad)), EConvertError) << Bad;
    for (const char* Bad : {"", "abc", "31/02/2024", "00/01/2024", "01/13/2024", "01/01/2024 24:00", "01/01/10000",
                            "2024-01-01 12:60", "01/01/2024x12:00", "12345/01/01"})
        EXPECT_THROW(StringToVariant(4, QString::fromLatin1(Bad)), EConvertError) << Bad;
}

// ---------------------------------------------------------------------------------------------
// The editors on real controls

class SelectionDesigner : public IDesigner
{
public:
    TDesignerSelectionList Selection;
    int ModifiedCount = 0;
    void Modified() override { ++ModifiedCount; }
    TMethod CreateMethod(const QString& Name, const QString&) override { return TMethod{Name}; }
    QString GetMethodName(const TMethod& Method) const override { return Method.Name; }
    bool MethodExists(const QString&) const override { return false; }
    void ShowMethod(const QString&) override {}
    TDesignerSelectionList GetSelections() const override { return Selection; }
    void SetSelections(const TDesignerSelectionList& List) override { Selection = List; }
    void SelectComponent(TPersistent* Instance) override { Selection = {Instance}; }
    QStringList GetComponentNames(const QMetaObject*) const override { return {}; }
    TComponent* GetComponent(const QString&) const override { return nullptr; }
    TComponent* CreateComponent(const QMetaObject*, TComponent*, int, int, int, int) override { return nullptr; }
    QString UniqueName(const QString& BaseName) const override { return BaseName; }
    TComponent* GetRoot() const override { return nullptr; }
};

template <class Editor>
void Open(Editor& E, IDesigner* Designer, const QList<TPersistent*>& Objects, const char16_t* Name)
{
    const TPropInfo* Info = GetPropInfo(Objects.first()->metaObject(), QStringView(Name));
    ASSERT_NE(Info, nullptr);
    E.Initialize(Designer, Objects, *Info);
}

TEST(VariantEditors, BadTextLeavesTheValueAndTheDataTypeDecides)
{
    SelectionDesigner Designer;
    TKvUpDownEx UpDown;
    UpDown.SetDataType(TKvDataType::dtFloat);
    UpDown.SetPosition(Variant(2.5));
    TKvUpDownExPositionVariantPropertyEditor Position;
    Open(Position, &Designer, {&UpDown}, u"Position");
    EXPECT_EQ(Position.GetValue(), QStringLiteral("2.5"));
    EXPECT_THROW(Position.SetValue(QStringLiteral("two")), EConvertError);
    EXPECT_EQ(UpDown.GetPosition().AsFloat(), 2.5);
    Position.SetValue(QStringLiteral("{null}"));
    EXPECT_TRUE(UpDown.GetPosition().IsNull());
    EXPECT_EQ(Position.GetValue(), QStringLiteral("{NULL}"));

    TKvCApplication App; // day-month-year
    App.SetActive();
    TKvCheckBox Check;
    Check.SetDataType(TKvDataType::dtDateTime);
    TKvCheckBoxVariantPropertyEditor Value;
    Open(Value, &Designer, {&Check}, u"Value");
    Value.SetValue(QStringLiteral("29/02/2024 08:30:00"));
    EXPECT_EQ(Check.GetValue().AsDate(), KvAStrToDate(QStringLiteral("2024-02-29 08:30")));
}

TEST(VariantEditors, StatusBarPanelOnlyWithOnePanelSelected)
{
    SelectionDesigner Designer;
    TKvStatusBar Bar;
    auto* First = qobject_cast<TKvStatusBarPanel*>(Bar.Panels()->Add());
    auto* Second = qobject_cast<TKvStatusBarPanel*>(Bar.Panels()->Add());
    ASSERT_TRUE(First && Second);
    First->SetDataType(TKvDataType::dtInteger);
    First->SetValue(Variant(7.0));
    TKvStatusBarVariantPropertyEditor Editor;
    Open(Editor, &Designer, {First}, u"Value");

    Designer.Selection = {First};
    EXPECT_EQ(Editor.GetValue(), QStringLiteral("7"));
    Editor.SetValue(QStringLiteral("8"));
    EXPECT_EQ(First->GetValue().AsFloat(), 8.0);

    Designer.Selection = {First, Second};
    EXPECT_EQ(Editor.GetValue(), QString());
    Editor.SetValue(QStringLiteral("9"));
    EXPECT_EQ(First->GetValue().AsFloat(), 8.0);
    EXPECT_TRUE(Second->GetValue().IsEmpty());
}

TEST(VariantEditors, PageControlOffersTheTabsAndKeepsThePartBeforeTheDash)
{
    SelectionDesigner Designer;
    TKvPageControl Pages;
    Pages.SetDataType(TKvDataType::dtInteger);
    auto* Orders = qobject_cast<TKvTabControl*>(Pages.Tabs()->Add());
    ASSERT_NE(Orders, nullptr);
    Orders->SetValue(Variant(3.0));
    Orders->SetDescription(QStringLiteral("Orders"));
    qobject_cast<TKvValueItem*>(Pages.Tabs()->Add())->SetValue(Variant(4.0));
    TKvPageControlVariantPropertyEditor Editor;
    Open(Editor, &Designer, {&Pages}, u"Value");

    QStringList Values;
    Editor.GetValues([&Values](const QString& S) { Values << S; });
    EXPECT_EQ(Values, (QStringList{QStringLiteral("3 - Orders"), QStringLiteral("4")}));
    Editor.SetValue(Values.first());
    EXPECT_EQ(Pages.GetValue().AsFloat(), 3.0);
    Editor.SetValue(QStringLiteral("-5"));
    EXPECT_EQ(Pages.GetValue().AsFloat(), 0.0);

    // A stored value its data type cannot show is shown as nothing.
    Pages.SetDataType(TKvDataType::dtDateTime);
    Pages.SetValue(Variant(1e9));
    EXPECT_EQ(Editor.GetValue(), QString());
}

} // namespace
