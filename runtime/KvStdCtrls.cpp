#include "KvStdCtrls.h"

#include "KvFiles.h"
#include "SysUtils.h"

#include <QBuffer>
#include <QImageReader>

namespace {

// Numbers and dates have an order; other kinds are not brought within bounds.
bool IsOrdered(const Variant& Value)
{
    switch (Value.VarType()) {
    case TVarType::varInteger:
    case TVarType::varDouble:
    case TVarType::varDate:
        return true;
    default:
        return false;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Form and frame controllers

TKvCustomCForm::TKvCustomCForm(TComponent* AOwner)
    : TComponent(AOwner),
      FDataSources(new TKvDataSources(this)),
      FSetColor(new TKvSetColor(this)),
      FSetFont(new TKvSetFont(this)),
      FSetBackGround(new TKvSetBackGround(this)),
      FPrivilege(new TKvPrivilege(this))
{
    KvNameDefaultSets(QStringLiteral("Form"), FSetColor, FSetFont, FSetBackGround);
}

TKvCustomCForm::~TKvCustomCForm()
{
    delete FDataSources;
}

TKvCForm::TKvCForm(TComponent* AOwner) : TKvCustomCForm(AOwner), FMemoryLabel(new TKvMemoryLabel(this)) {}

void TKvCForm::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove) {
        FBtnOk.Removed(AComponent);
        FBtnCancel.Removed(AComponent);
    }
    TKvCustomCForm::Notification(AComponent, Operation);
}

TKvCFrame::TKvCFrame(TComponent* AOwner) : TKvCustomCForm(AOwner) {}

// ---------------------------------------------------------------------------------------------
// Labels and edits

TKvCustomLabel::TKvCustomLabel(TComponent* AOwner) : TKvGraphicControl(AOwner)
{
    NameDefaultSets(QStringLiteral("La"));
    SetBounds(0, 0, 65, 17);
}

QString TKvCustomLabel::DisplayText() const
{
    if (!FValue.IsEmpty())
        return FValue.IsNull() ? QString() : FValue.AsString();
    return KvDisplayCaption(MemoryLabel(), FCaption.Text());
}

TKvLabel::TKvLabel(TComponent* AOwner) : TKvCustomLabel(AOwner) {}

TKvCustomEdit::TKvCustomEdit(TComponent* AOwner) : TKvCustomValueControl(AOwner), FMask(new TKvMask(this))
{
    NameDefaultSets(QStringLiteral("Ed"));
    SetBounds(0, 0, 121, 21);
}

TKvEdit::TKvEdit(TComponent* AOwner) : TKvCustomEdit(AOwner) {}

TKvCustomComboEdit::TKvCustomComboEdit(TComponent* AOwner) : TKvCustomEdit(AOwner)
{
    SetWidth(145);
}

TKvCustomComboBox::TKvCustomComboBox(TComponent* AOwner) : TKvCustomComboEdit(AOwner), FItems(new TKvListItems(this))
{
}

TKvCustomComboBox::~TKvCustomComboBox()
{
    delete FItems;
}

TKvComboBox::TKvComboBox(TComponent* AOwner) : TKvCustomComboBox(AOwner) {}

TKvCustomListBox::TKvCustomListBox(TComponent* AOwner) : TKvCustomValueControl(AOwner)
{
    NameDefaultSets(QStringLiteral("Lb"));
    SetBounds(0, 0, 121, 97);
}

TKvCustomItemListBox::TKvCustomItemListBox(TComponent* AOwner)
    : TKvCustomListBox(AOwner), FItems(new TKvListItems(this))
{
}

TKvCustomItemListBox::~TKvCustomItemListBox()
{
    delete FItems;
}

TKvListBox::TKvListBox(TComponent* AOwner) : TKvCustomItemListBox(AOwner) {}

TKvCustomMemo::TKvCustomMemo(TComponent* AOwner)
    : TKvWinControl(AOwner), FLines(new TStrings(this)), FMemoryText(new TKvMemoryText(this))
{
    NameDefaultSets(QStringLiteral("Me"));
    SetBounds(0, 0, 185, 89);
}

TKvMemo::TKvMemo(TComponent* AOwner) : TKvCustomMemo(AOwner) {}

TKvCustomRichEdit::TKvCustomRichEdit(TComponent* AOwner) : TKvCustomMemo(AOwner) {}

TKvRichEdit::TKvRichEdit(TComponent* AOwner) : TKvCustomRichEdit(AOwner) {}

// ---------------------------------------------------------------------------------------------
// Images

TKvCustomImage::TKvCustomImage(TComponent* AOwner) : TKvGraphicControl(AOwner), FMemoryImage(new TKvMemoryImage(this))
{
    NameDefaultSets(QStringLiteral("Im"));
    SetBounds(0, 0, 105, 105);
}

void TKvCustomImage::LoadPicture(const QString& FileName)
{
    QByteArray Data;
    try {
        Data = KvReadFile(FileName);
    } catch (const EInOutError& e) {
        throw EFilerError(e.Message);
    }
    QBuffer Buffer(&Data);
    Buffer.open(QIODevice::ReadOnly);
    const QByteArray Format = QImageReader::imageFormat(&Buffer);
    if (Format.isEmpty())
        throw EFilerError(QStringLiteral("%1 holds no picture of a known format").arg(FileName));
    FPicture = Data;
    FGraphicClass = QString::fromLatin1(Format).toUpper();
}

TKvImage::TKvImage(TComponent* AOwner) : TKvCustomImage(AOwner) {}

TKvCustomFocusImage::TKvCustomFocusImage(TComponent* AOwner)
    : TKvWinControl(AOwner), FMemoryImage(new TKvMemoryImage(this)), FMemoryImageFocus(new TKvMemoryImage(this))
{
    NameDefaultSets(QStringLiteral("Im"));
    SetBounds(0, 0, 105, 105);
}

TKvFocusImage::TKvFocusImage(TComponent* AOwner) : TKvCustomFocusImage(AOwner) {}

// ---------------------------------------------------------------------------------------------
// Check boxes, radio buttons and groups

TKvCustomCheckBox::TKvCustomCheckBox(TComponent* AOwner)
    : TKvCustomValueControl(AOwner), FValueChecked(true), FValueUnchecked(false)
{
    NameDefaultSets(QStringLiteral("Ck"));
    SetBounds(0, 0, 97, 17);
    SetDataType(KvTypes::dtBoolean);
    SetValue(FValueUnchecked);
}

TKvCheckBox::TKvCheckBox(TComponent* AOwner) : TKvCustomCheckBox(AOwner) {}

TKvRadioButton::TKvRadioButton(TComponent* AOwner) : TKvCustomValueControl(AOwner), FValueChecked(true)
{
    NameDefaultSets(QStringLiteral("Ck"));
    SetBounds(0, 0, 113, 17);
    SetDataType(KvTypes::dtBoolean);
    SetValue(false);
}

TKvGroupBox::TKvGroupBox(TComponent* AOwner) : TKvWinControl(AOwner)
{
    NameDefaultSets(QStringLiteral("Gb"));
    SetBounds(0, 0, 185, 105);
}

TKvCustomRadioGroup::TKvCustomRadioGroup(TComponent* AOwner)
    : TKvCustomValueControl(AOwner), FItems(new TKvListItems(this))
{
    NameDefaultSets(QStringLiteral("Gb"));
    SetBounds(0, 0, 185, 105);
}

TKvCustomRadioGroup::~TKvCustomRadioGroup()
{
    delete FItems;
}

TKvRadioGroup::TKvRadioGroup(TComponent* AOwner) : TKvCustomRadioGroup(AOwner) {}

TKvPanel::TKvPanel(TComponent* AOwner) : TKvWinControl(AOwner)
{
    NameDefaultSets(QStringLiteral("Pn"));
    SetBounds(0, 0, 185, 41);
}

TKvScrollBox::TKvScrollBox(TComponent* AOwner) : TKvWinControl(AOwner)
{
    NameDefaultSets(QStringLiteral("Pn"));
    SetBounds(0, 0, 185, 41);
}

// ---------------------------------------------------------------------------------------------
// Page controls

TKvTabSheet::TKvTabSheet(TComponent* AOwner) : TKvWinControl(AOwner)
{
    NameDefaultSets(QStringLiteral("Pc"));
    // A sheet writes in its page control's font.
    SetFont()->SetDefaultApplies(false);
}

void TKvTabSheet::SetPageId(int Value)
{
    if (Value < 0)
        throw EConvertError(QStringLiteral("%1 is not a valid page id").arg(Value));
    FPageId = Value;
}

TKvCustomPageControl* TKvTabSheet::PageControl() const
{
    return qobject_cast<TKvCustomPageControl*>(Parent());
}

TKvTabControl* TKvTabSheet::GetTab() const
{
    const TKvCustomPageControl* Control = PageControl();
    return Control ? Control->Tabs()->FindPageId(FPageId) : nullptr;
}

TKvCustomPageControl::TKvCustomPageControl(TComponent* AOwner)
    : TKvCustomValueControl(AOwner), FTabs(new TKvTabsControl(this))
{
    NameDefaultSets(QStringLiteral("Pc"));
    SetBounds(0, 0, 289, 193);
}

TKvCustomPageControl::~TKvCustomPageControl()
{
    delete FTabs;
}

QList<TKvTabSheet*> TKvCustomPageControl::TabSheets() const
{
    QList<TKvTabSheet*> Sheets;
    for (int I = 0; I < ControlCount(); ++I)
        if (auto* Sheet = qobject_cast<TKvTabSheet*>(Controls(I)))
            Sheets << Sheet;
    return Sheets;
}

TKvTabSheet* TKvCustomPageControl::FindPageId(int PageId) const
{
    if (PageId <= 0)
        return nullptr;
    for (TKvTabSheet* Sheet : TabSheets())
        if (Sheet->PageId() == PageId)
            return Sheet;
    return nullptr;
}

int TKvCustomPageControl::NewPageId() const
{
    int Max = 0;
    for (const TKvTabSheet* Sheet : TabSheets())
        Max = qMax(Max, Sheet->PageId());
    return Max + 1;
}

TKvTabSheet* TKvCustomPageControl::CreateTabSheet()
{
    TComponent* SheetOwner = Owner() ? Owner() : this;
    auto* Sheet = new TKvTabSheet(SheetOwner);
    try {
        Sheet->SetName(KvUniqueComponentName(SheetOwner, Sheet->ClassName()));
        Sheet->SetPageId(NewPageId());
        Sheet->SetParent(this);
    } catch (...) {
        delete Sheet;
        throw;
    }
    return Sheet;
}

TKvTabControl* TKvCustomPageControl::ActiveTab() const
{
    const Variant Value = GetValue();
    if (Value.IsEmpty())
        return nullptr;
    for (int I = 0; I < FTabs->Count(); ++I)
        if (FTabs->Items(I)->GetValue() == Value)
            return FTabs->Items(I);
    return nullptr;
}

TKvTabSheet* TKvCustomPageControl::ActivePage() const
{
    const TKvTabControl* Tab = ActiveTab();
    return Tab ? FindPageId(Tab->PageId()) : nullptr;
}

void TKvCustomPageControl::Loaded()
{
    TKvCustomValueControl::Loaded();
    for (TKvTabSheet* Sheet : TabSheets())
        if (Sheet->PageId() == 0)
            Sheet->SetPageId(NewPageId());
}

TKvPageControl::TKvPageControl(TComponent* AOwner) : TKvCustomPageControl(AOwner) {}

// ---------------------------------------------------------------------------------------------
// Buttons and images

TKvCustomButton::TKvCustomButton(TComponent* AOwner)
    : TKvWinControl(AOwner), FMemoryImage(new TKvMemoryImage(this)), FMemoryMessage(new TKvMemoryMessage(this))
{
    NameDefaultSets(QStringLiteral("Bt"));
    SetBounds(0, 0, 75, 25);
}

TKvBitBtn::TKvBitBtn(TComponent* AOwner) : TKvCustomButton(AOwner) {}

TKvCustomSpeedButton::TKvCustomSpeedButton(TComponent* AOwner)
    : TKvGraphicControl(AOwner), FMemoryImage(new TKvMemoryImage(this))
{
    NameDefaultSets(QStringLiteral("Bt"));
    SetBounds(0, 0, 23, 22);
}

void TKvCustomSpeedButton::SetDown(bool Value)
{
    // While loading the group's other buttons may not be read yet; the stored states are right.
    const bool Loading = ComponentState() & csLoading;
    if (!Loading && FGroupIndex == 0)
        Value = false;
    if (Value == FDown)
        return;
    FDown = Value;
    if (!FDown || Loading || !Parent())
        return;
    for (int I = 0; I < Parent()->ControlCount(); ++I) {
        auto* Other = qobject_cast<TKvCustomSpeedButton*>(Parent()->Controls(I));
        if (Other && Other != this && Other->FGroupIndex == FGroupIndex)
            Other->FDown = false;
    }
}

TKvSpeedButton::TKvSpeedButton(TComponent* AOwner) : TKvCustomSpeedButton(AOwner) {}

TKvCustomPkgImage::TKvCustomPkgImage(TComponent* AOwner)
    : TKvGraphicControl(AOwner), FMemoryImage(new TKvMemoryImage(this))
{
    NameDefaultSets(QStringLiteral("Im"));
    SetBounds(0, 0, 32, 32);
}

TKvPkgImage::TKvPkgImage(TComponent* AOwner) : TKvCustomPkgImage(AOwner) {}

TKvShape::TKvShape(TComponent* AOwner) : TKvGraphicControl(AOwner), FPen(new TKvPen(this))
{
    NameDefaultSets(QStringLiteral("Sh"));
    SetBounds(0, 0, 65, 65);
}

// ---------------------------------------------------------------------------------------------
// Up-downs

TKvUpDown::TKvUpDown(TComponent* AOwner) : TKvWinControl(AOwner)
{
    NameDefaultSets(QStringLiteral("Ud"));
    SetBounds(0, 0, 17, 21);
}

void TKvUpDown::SetAssociate(TWinControl* Value)
{
    if (Value == this)
        throw EInvalidOperation(QStringLiteral("An up-down cannot be associated with itself"));
    FAssociate.Set(this, Value);
}

void TKvUpDown::SetMin(int Value)
{
    FMin = Value;
    if (!(ComponentState() & csLoading))
        FPosition = qMax(FPosition, FMin);
}

void TKvUpDown::SetMax(int Value)
{
    FMax = Value;
    if (!(ComponentState() & csLoading))
        FPosition = qMin(FPosition, qMax(FMin, FMax));
}

void TKvUpDown::SetPosition(int Value)
{
    FPosition = (ComponentState() & csLoading) ? Value : qBound(FMin, Value, qMax(FMin, FMax));
}

void TKvUpDown::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FAssociate.Removed(AComponent);
    TKvWinControl::Notification(AComponent, Operation);
}

void TKvUpDown::Loaded()
{
    TKvWinControl::Loaded();
    SetPosition(FPosition);
}

TKvUpDownEx::TKvUpDownEx(TComponent* AOwner)
    : TKvWinControl(AOwner), FMin(0), FMax(100), FPosition(0), FIncrement(1)
{
    NameDefaultSets(QStringLiteral("Ud"));
    SetBounds(0, 0, 17, 21);
}

Variant TKvUpDownEx::Bounded(const Variant& Value) const
{
    if (!IsOrdered(Value))
        return Value;
    const double V = Value.AsFloat();
    if (IsOrdered(FMin) && V < FMin.AsFloat())
        return FMin;
    if (IsOrdered(FMax) && V > FMax.AsFloat() && !(IsOrdered(FMin) && FMax.AsFloat() < FMin.AsFloat()))
        return FMax;
    return Value;
}

void TKvUpDownEx::SetPosition(const Variant& Value)
{
    FPosition = (ComponentState() & csLoading) ? Value : Bounded(Value);
}

void TKvUpDownEx::Step(bool Up)
{
    if (!IsOrdered(FPosition) || !IsOrdered(FIncrement))
        return;
    const double Next = FPosition.AsFloat() + (Up ? 1 : -1) * FIncrement.AsFloat();
    Variant Result;
    if (FPosition.VarType() == TVarType::varDate)
        Result = Variant::FromDate(Next);
    else if (FPosition.VarType() == TVarType::varInteger && FIncrement.VarType() == TVarType::varInteger)
        Result = Variant(qint64(Next));
    else
        Result = Variant(Next);
    if (FWrap && IsOrdered(FMin) && IsOrdered(FMax)) {
        if (Next > FMax.AsFloat())
            Result = FMin;
        else if (Next < FMin.AsFloat())
            Result = FMax;
    }
    SetPosition(Result);
}

void TKvUpDownEx::Loaded()
{
    TKvWinControl::Loaded();
    FPosition = Bounded(FPosition);
}

TKvEditBtns::TKvEditBtns(TComponent* AOwner) : TKvGraphicControl(AOwner), FMemoryImage(new TKvMemoryImage(this))
{
    NameDefaultSets(QStringLiteral("Ud"));
    SetBounds(0, 0, 17, 21);
}

void TKvEditBtns::SetButtonWidth(int Value)
{
    FButtonWidth = qMax(1, Value);
    if (!(ComponentState() & csLoading))
        SetWidth(FButtonWidth * FCount);
}

void TKvEditBtns::SetCount(int Value)
{
    if (Value < 1 || Value > 8)
        throw EConvertError(QStringLiteral("An edit has 1 to 8 buttons, not %1").arg(Value));
    FCount = Value;
    if (!(ComponentState() & csLoading))
        SetWidth(FButtonWidth * FCount);
}
