#include "KvVtMask.h"

#include "DesignIntf.h"
#include "KvForms.h"
#include "KvMessages.h"
#include "KvTypes.h"
#include "KvVtMaskExamples.h"
#include "ui_KvVtMask.h"

#include <QKeyEvent>
#include <QMetaEnum>
#include <QRegularExpressionValidator>

namespace {

using TRadios = std::vector<std::pair<QRadioButton*, QChar>>;

QChar Checked(const TRadios& Radios)
{
    for (const auto& [Radio, Letter] : Radios)
        if (Radio->isChecked())
            return Letter;
    return QChar();
}

void Check(const TRadios& Radios, QChar Letter)
{
    for (const auto& [Radio, L] : Radios)
        Radio->setChecked(!Letter.isNull() && L == Letter);
}

// Pages of the kinds: numeric, text, date.
int PageOf(int DataType)
{
    switch (KvMaskKind(DataType)) {
    case TKvMaskKind::Text: return 1;
    case TKvMaskKind::Date: return 2;
    default: return 0;
    }
}

QChar Digit(int Value)
{
    return Value > 0 ? QChar(u'0' + Value) : QChar();
}

template <class TEnum>
void FillEnumNames(QComboBox* Combo, std::initializer_list<int> Values)
{
    const QMetaEnum Meta = QMetaEnum::fromType<TEnum>();
    for (int Value : Values)
        Combo->addItem(QString::fromLatin1(Meta.valueToKey(Value)), Value);
}

struct TFrMaskControls
{
    std::vector<std::pair<QCheckBox*, bool TKvMaskOptions::*>> Checks;
    TRadios Align, Negative, Scientific, DayName, Month, Year, Case;
};

TFrMaskControls Controls(Ui::TFrMask* U)
{
    using O = TKvMaskOptions;
    TFrMaskControls C;
    C.Checks = {{U->CbSignRight, &O::SignRight},   {U->CbNoZero, &O::NoZero},
                {U->CbThousands, &O::Thousands},   {U->CbTrimDecimals, &O::TrimDecimals},
                {U->CbCheckInteger, &O::CheckInteger}, {U->CbFillAll, &O::FillAll},
                {U->CbFillZeros, &O::FillZeros},   {U->CbCurrency, &O::Currency},
                {U->CbDay, &O::Day},               {U->CbHour, &O::Hour},
                {U->CbMinutes, &O::Minutes},       {U->CbSeconds, &O::Seconds},
                {U->CbAmPm, &O::AmPm},             {U->CbAutoAdjust, &O::AutoAdjust},
                {U->CbSymbols, &O::Symbols},       {U->CbLetters, &O::Letters},
                {U->CbDigits, &O::Digits},         {U->CbSpaces, &O::Spaces},
                {U->CbNoTrim, &O::NoTrim},         {U->CbFillAllText, &O::FillAll},
                {U->CbSaveMask, &O::SaveMask},     {U->CbPassword, &O::Password},
                {U->CbAlignRight, &O::AlignRight}};
    C.Align = {{U->RbLeft, u'<'}, {U->RbCenter, u'%'}, {U->RbRight, u'>'}};
    C.Negative = {{U->RbNegative, u'-'}, {U->RbNegativeSign, u'+'}};
    C.Scientific = {{U->RbScientific1, u'1'}, {U->RbScientific2, u'2'}, {U->RbScientific3, u'3'},
                    {U->RbScientific4, u'4'}};
    C.DayName = {{U->RbDayShort, u'D'}, {U->RbDayLong, u'1'}};
    C.Month = {{U->RbMonthNumeric, u'm'}, {U->RbMonthShort, u'M'}, {U->RbMonthLong, u'2'}};
    C.Year = {{U->RbYear, u'y'}};
    C.Case = {{U->RbUpper, u'u'}, {U->RbLower, u'l'}, {U->RbFirstUpper, u'f'}};
    return C;
}

} // namespace

TFrMask::TFrMask(QWidget* Parent) : QDialog(Parent), FUi(std::make_unique<Ui::TFrMask>())
{
    FUi->setupUi(this);
    FUi->LaDefault->setTextFormat(Qt::PlainText);
    FillEnumNames<KvTypes::TKvDataType>(FUi->EdDataType, {0, 1, 2, 3, 4, 6});
    FillEnumNames<KvTypes::TKvMaskTake>(FUi->EdTake, {0, 1, 2});
    FillEnumNames<KvTypes::TKvDateYear>(FUi->EdYear, {0, 1, 2});
    for (int I = 0; I <= TKvMask::MaxDecimals; ++I)
        FUi->EdDecimals->addItem(QString::number(I));
    FUi->EdDuration->addItem(QStringLiteral("none"));
    for (int I = 0; KvMaskDurationLetters[I]; ++I)
        FUi->EdDuration->addItem(QStringLiteral("%1 (%2)").arg(I + 1).arg(QLatin1Char(KvMaskDurationLetters[I])));
    FUi->EdSize->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,7}")), this));
    FUi->EdOptions->installEventFilter(this);

    const TFrMaskControls C = Controls(FUi.get());
    for (const auto& Check : C.Checks)
        connect(Check.first, &QCheckBox::clicked, this, &TFrMask::ControlChanged);
    connect(FUi->CbTwelveHour, &QCheckBox::clicked, this, &TFrMask::ControlChanged);
    // Alignment always has a value; every other group may have none, so a click on the chosen
    // button clears it.
    for (const auto& [Radio, Letter] : C.Align) {
        Radio->setAutoExclusive(true);
        connect(Radio, &QRadioButton::clicked, this, &TFrMask::ControlChanged);
    }
    for (const TRadios* Group : {&C.Negative, &C.Scientific, &C.DayName, &C.Month, &C.Year, &C.Case})
        for (const auto& [Radio, Letter] : *Group)
            connect(Radio, &QRadioButton::clicked, this, [this, Group = *Group, Radio = Radio](bool On) {
                if (On)
                    for (const auto& Other : Group)
                        if (Other.first != Radio)
                            Other.first->setChecked(false);
                ControlChanged();
            });
    connect(FUi->EdDuration, &QComboBox::currentIndexChanged, this, &TFrMask::ControlChanged);
    connect(FUi->EdOptions, &QLineEdit::textChanged, this, &TFrMask::OptionsEdited);
    connect(FUi->EdDataType, &QComboBox::currentIndexChanged, this, &TFrMask::DataTypeChanged);
    connect(FUi->EdTake, &QComboBox::currentIndexChanged, this, &TFrMask::TakeChanged);
    connect(FUi->BtExamples, &QPushButton::clicked, this, &TFrMask::ShowExamples);
    connect(FUi->BtHelp, &QPushButton::clicked, this, [] { KvHelp(QStringLiteral("System"), 1); });
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrMask::~TFrMask() = default;

bool TFrMask::Execute()
{
    if (!Mask || Mask->DataType() == KvTypes::dtBoolean || Mask->DataType() == KvTypes::dtMemo)
        return false;
    for (QString& Options : FOptions)
        Options.clear();
    FUi->EdDataType->setEnabled(Mask->AllowDataType());
    FDataType = Mask->DataType();
    SetDataTypeCombo(FDataType);
    FUi->PcKinds->setCurrentIndex(PageOf(FDataType));
    FUi->EdTake->setCurrentIndex(FUi->EdTake->findData(int(Mask->Take())));
    FUi->EdSize->setText(QString::number(Mask->Size()));
    FUi->EdDecimals->setCurrentIndex(Mask->Decimals());
    FUi->EdYear->setCurrentIndex(FUi->EdYear->findData(int(Mask->YearStyle())));
    LoadText(Mask->Text());
    TakeChanged();
    return exec() == QDialog::Accepted;
}

void TFrMask::SetDataTypeCombo(int Value)
{
    const QSignalBlocker Block(FUi->EdDataType);
    FUi->EdDataType->setCurrentIndex(FUi->EdDataType->findData(Value));
}

void TFrMask::LoadText(const QString& Text)
{
    const TKvMaskParts Parts = KvSplitMaskText(Text);
    FState = TKvMaskOptions::Parse(FDataType, Parts.Options);
    ShowState();
    WriteOptions();
    FOptions[int(KvMaskKind(FDataType))] = FUi->EdOptions->text();
    FUi->EdMask->setText(Parts.Picture);
    FUi->EdSpace->setText(Parts.Space);
}

void TFrMask::OptionsEdited()
{
    if (FWriting)
        return;
    FState = TKvMaskOptions::Parse(FDataType, FUi->EdOptions->text());
    ShowState();
    UpdateLabel();
}

void TFrMask::ControlChanged()
{
    if (FReading)
        return;
    ReadControls();
    ShowState();
    WriteOptions();
}

void TFrMask::DataTypeChanged()
{
    FOptions[int(KvMaskKind(FDataType))] = FUi->EdOptions->text();
    FDataType = FUi->EdDataType->currentData().toInt();
    FUi->PcKinds->setCurrentIndex(PageOf(FDataType));
    FState = TKvMaskOptions::Parse(FDataType, FOptions[int(KvMaskKind(FDataType))]);
    ShowState();
    WriteOptions();
}

void TFrMask::TakeChanged()
{
    const bool Own = FUi->EdTake->currentIndex() == 0;
    FUi->EdDecimals->setEnabled(Own);
    FUi->EdYear->setEnabled(Own);
}

void TFrMask::ShowExamples()
{
    TFrMaskExamples Examples(this);
    const int Index = Examples.Execute();
    if (Index < 0)
        return;
    const TKvMaskExample& Example = KvMaskExamples[Index];
    // Through the combo, so that the options of the kind left behind are kept.
    if (FUi->EdDataType->isEnabled())
        FUi->EdDataType->setCurrentIndex(FUi->EdDataType->findData(Example.DataType));
    FUi->EdSize->setText(QString::number(Example.Size));
    FUi->EdDecimals->setCurrentIndex(Example.Decimals);
    LoadText(QString::fromLatin1(Example.Text));
}

void TFrMask::ShowState()
{
    FReading = true;
    const TFrMaskControls C = Controls(FUi.get());
    for (const auto& [Box, Field] : C.Checks)
        Box->setChecked(FState.*Field);
    FUi->CbTwelveHour->setChecked(FState.TwelveHour);
    Check(C.Align, FState.Align);
    Check(C.Negative, FState.Negative);
    Check(C.Scientific, Digit(FState.Scientific));
    Check(C.DayName, FState.DayName);
    Check(C.Month, FState.Month);
    Check(C.Year, FState.Year ? QChar(u'y') : QChar());
    Check(C.Case, FState.Case);
    FUi->EdDuration->setCurrentIndex(FState.Duration);
    for (QWidget* Calendar : {static_cast<QWidget*>(FUi->CbDay), static_cast<QWidget*>(FUi->RgDayName),
                              static_cast<QWidget*>(FUi->RgMonth), static_cast<QWidget*>(FUi->RgYear),
                              static_cast<QWidget*>(FUi->CbTwelveHour)})
        Calendar->setEnabled(FState.CalendarEnabled());
    FUi->CbAmPm->setEnabled(FState.AmPmEnabled());
    FUi->CbAutoAdjust->setEnabled(FState.AutoAdjustEnabled());
    FReading = false;
}

void TFrMask::ReadControls()
{
    const TFrMaskControls C = Controls(FUi.get());
    // Both kinds' "fill all" boxes share one setting: the visible page's box decides.
    const bool TextPage = FUi->PcKinds->currentIndex() == 1;
    for (const auto& [Box, Field] : C.Checks)
        if ((Box != FUi->CbFillAll || !TextPage) && (Box != FUi->CbFillAllText || TextPage))
            FState.*Field = Box->isChecked();
    FState.Align = Checked(C.Align);
    if (FState.Align.isNull())
        FState.Align = u'<';
    FState.Negative = Checked(C.Negative);
    const QChar Scientific = Checked(C.Scientific);
    FState.Scientific = Scientific.isNull() ? 0 : Scientific.unicode() - u'0';
    FState.DayName = Checked(C.DayName);
    FState.Month = Checked(C.Month);
    FState.Year = !Checked(C.Year).isNull();
    FState.Case = Checked(C.Case);
    if (FUi->CbTwelveHour->isChecked() != FState.TwelveHour)
        FState.SetTwelveHour(FUi->CbTwelveHour->isChecked());
    if (FUi->EdDuration->currentIndex() != FState.Duration)
        FState.SetDuration(FUi->EdDuration->currentIndex());
}

void TFrMask::WriteOptions()
{
    FWriting = true;
    FUi->EdOptions->setText(FState.Text(FDataType));
    FWriting = false;
    UpdateLabel();
}

void TFrMask::UpdateLabel()
{
    FUi->LaDefault->setText(KvIsDefaultMaskOptions(FDataType, FUi->EdOptions->text())
                                ? QStringLiteral("<Default Mask>")
                                : QStringLiteral("<Custom Mask>"));
}

void TFrMask::StoreInto(TKvMask* Target)
{
    bool Ok = false;
    const int Size = FUi->EdSize->text().toInt(&Ok);
    if (!Ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(FUi->EdSize->text()));
    // Every check comes before the first change, so a refused close leaves the mask as it was.
    TKvMask Result(nullptr, TKvDataType(FDataType));
    Result.SetTake(TKvMaskTake(FUi->EdTake->currentData().toInt()));
    Result.SetSize(Size);
    Result.SetDecimals(FUi->EdDecimals->currentIndex());
    Result.SetYearStyle(TKvDateYear(FUi->EdYear->currentData().toInt()));
    Result.SetText(KvJoinMaskText(FDataType, FState.Text(FDataType), FUi->EdMask->text(), FUi->EdSpace->text()));
    Target->Assign(&Result);
}

void TFrMask::done(int Result)
{
    if (Result == QDialog::Accepted && Mask) {
        try {
            StoreInto(Mask);
        } catch (const Exception& E) {
            KvMessage(KvMsgError, E.Message, {KvBtnAccept}, KvBtnAccept);
            FUi->EdSize->setFocus();
            return;
        }
        if (Designer)
            Designer->Modified();
    }
    QDialog::done(Result);
}

bool TFrMask::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == FUi->EdOptions && Event->type() == QEvent::KeyPress) {
        auto* Key = static_cast<QKeyEvent*>(Event);
        const QString Text = Key->text();
        if (Text.size() == 1 && Text.at(0).isPrint() && !(Key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return !KvMaskAcceptsKey(FDataType, FUi->EdOptions->text(), Text.at(0));
    }
    return QDialog::eventFilter(Watched, Event);
}

void TFrMask::showEvent(QShowEvent* Event)
{
    if (!FRestored) {
        FRestored = true;
        KvRestoreResizeInfoDesigner(this);
    }
    QDialog::showEvent(Event);
}

void TFrMask::hideEvent(QHideEvent* Event)
{
    KvSaveResizeInfoDesigner(this);
    QDialog::hideEvent(Event);
}
