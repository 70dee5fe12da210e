#include "Controls.h"

#include "Colors.h"

#include "SysUtils.h"

#include <QtMath>

namespace {

// Written by name when a value has one; the first name of a value is the one written.
const TIdentMapEntry ColorIdents[] = {
    {0x000000, "clBlack"}, {0x000080, "clMaroon"}, {0x008000, "clGreen"}, {0x008080, "clOlive"},
    {0x800000, "clNavy"}, {0x800080, "clPurple"}, {0x808000, "clTeal"}, {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"}, {0x0000FF, "clRed"}, {0x00FF00, "clLime"}, {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"}, {0xFF00FF, "clFuchsia"}, {0xFFFF00, "clAqua"}, {0xC0C0C0, "clLtGray"},
    {0x808080, "clDkGray"}, {0xFFFFFF, "clWhite"}, {0xC0DCC0, "clMoneyGreen"}, {0xF0CAA6, "clSkyBlue"},
    {0xF0FBFF, "clCream"}, {0xA4A0A0, "clMedGray"}, {KvColors::clNone, "clNone"},
    {KvColors::clDefault, "clDefault"},
    {qint32(0xFF00000A), "clActiveBorder"}, {qint32(0xFF000002), "clActiveCaption"},
    {qint32(0xFF00000C), "clAppWorkSpace"}, {qint32(0xFF000001), "clBackground"},
    {qint32(0xFF00000F), "clBtnFace"}, {qint32(0xFF000014), "clBtnHighlight"},
    {qint32(0xFF000010), "clBtnShadow"}, {qint32(0xFF000012), "clBtnText"},
    {qint32(0xFF000009), "clCaptionText"}, {qint32(0xFF00001B), "clGradientActiveCaption"},
    {qint32(0xFF00001C), "clGradientInactiveCaption"}, {qint32(0xFF000011), "clGrayText"},
    {qint32(0xFF00000D), "clHighlight"}, {qint32(0xFF00000E), "clHighlightText"},
    {qint32(0xFF00001A), "clHotLight"}, {qint32(0xFF00000B), "clInactiveBorder"},
    {qint32(0xFF000003), "clInactiveCaption"}, {qint32(0xFF000013), "clInactiveCaptionText"},
    {qint32(0xFF000018), "clInfoBk"}, {qint32(0xFF000017), "clInfoText"}, {qint32(0xFF000004), "clMenu"},
    {qint32(0xFF00001E), "clMenuBar"}, {qint32(0xFF00001D), "clMenuHighlight"},
    {qint32(0xFF000007), "clMenuText"}, {qint32(0xFF000000), "clScrollBar"},
    {qint32(0xFF000015), "cl3DDkShadow"}, {qint32(0xFF000016), "cl3DLight"}, {qint32(0xFF000005), "clWindow"},
    {qint32(0xFF000006), "clWindowFrame"}, {qint32(0xFF000008), "clWindowText"},
};

const TIdentMapEntry CharsetIdents[] = {
    {0, "ANSI_CHARSET"}, {1, "DEFAULT_CHARSET"}, {2, "SYMBOL_CHARSET"}, {77, "MAC_CHARSET"},
    {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"}, {130, "JOHAB_CHARSET"}, {134, "GB2312_CHARSET"},
    {136, "CHINESEBIG5_CHARSET"}, {161, "GREEK_CHARSET"}, {162, "TURKISH_CHARSET"},
    {163, "VIETNAMESE_CHARSET"}, {177, "HEBREW_CHARSET"}, {178, "ARABIC_CHARSET"}, {186, "BALTIC_CHARSET"},
    {204, "RUSSIAN_CHARSET"}, {222, "THAI_CHARSET"}, {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"},
};

const TIdentMapEntry CursorIdents[] = {
    {0, "crDefault"}, {-1, "crNone"}, {-2, "crArrow"}, {-3, "crCross"}, {-4, "crIBeam"},
    {-22, "crSizeAll"}, {-6, "crSizeNESW"}, {-7, "crSizeNS"}, {-8, "crSizeNWSE"}, {-9, "crSizeWE"},
    {-10, "crUpArrow"}, {-11, "crHourGlass"}, {-12, "crDrag"}, {-13, "crNoDrop"}, {-14, "crHSplit"},
    {-15, "crVSplit"}, {-16, "crMultiDrag"}, {-17, "crSQLWait"}, {-18, "crNo"}, {-19, "crAppStart"},
    {-20, "crHelp"}, {-21, "crHandPoint"}, {-22, "crSize"},
};

template <std::size_t N>
constexpr TIntegerIdents IdentsOf(const TIdentMapEntry (&Map)[N])
{
    return {Map, int(N)};
}

QString DisplayName(const TComponent* Component)
{
    return Component->GetName().isEmpty() ? Component->ClassName() : Component->GetName();
}

// Linking this unit is enough to make its classes readable from form files.
[[maybe_unused]] const bool ControlClassesRegistered = (RegisterControlClasses(), true);

} // namespace

QString ColorToString(qint32 Color)
{
    const QString ident = IntToIdent(IdentsOf(ColorIdents), Color);
    return ident.isEmpty() ? QStringLiteral("$%1").arg(quint32(Color), 8, 16, QLatin1Char('0')).toUpper() : ident;
}

bool IdentToColor(QStringView Ident, qint32& Color)
{
    qint64 v = 0;
    if (!IdentToInt(IdentsOf(ColorIdents), Ident, v))
        return false;
    Color = qint32(v);
    return true;
}

bool TryStringToColor(QStringView Text, qint32& Color)
{
    const QStringView t = Text.trimmed();
    if (t.isEmpty())
        return false;
    if (t.front().isLetter())
        return IdentToColor(t, Color);
    bool ok = false;
    qint64 v = 0;
    if (t.front() == u'$') {
        if (t.size() > 9)
            return false;
        v = t.mid(1).toLongLong(&ok, 16);
        if (t.size() < 2 || t.at(1) == u'-' || t.at(1) == u'+')
            ok = false;
    } else {
        v = t.toLongLong(&ok, 10);
        ok = ok && v >= INT32_MIN && v <= qint64(UINT32_MAX);
    }
    if (!ok)
        return false;
    Color = qint32(quint32(v));
    return true;
}

qint32 StringToColor(QStringView Text)
{
    qint32 c = 0;
    if (!TryStringToColor(Text, c))
        throw EConvertError(QStringLiteral("'%1' is not a valid colour").arg(Text));
    return c;
}

QStringList ColorNames()
{
    QStringList names;
    for (const TIdentMapEntry& e : ColorIdents)
        if (IntToIdent(IdentsOf(ColorIdents), e.Value) == QLatin1String(e.Name))
            names << QLatin1String(e.Name);
    return names;
}

quint32 ColorToRGB(qint32 Color)
{
    // Indexed by system colour number; the classic desktop scheme.
    static constexpr quint32 SystemPalette[] = {
        0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, // 0-7
        0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x3399FF, 0xFFFFFF, 0xF0F0F0, // 8-15
        0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000, // 16-23
        0xFFFFE1, 0xB5B5B5, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0,           // 24-30
    };
    const quint32 c = quint32(Color);
    if ((c & 0xFF000000u) == 0xFF000000u) {
        const quint32 index = c & 0xFFu;
        const bool known = (c & 0x00FFFF00u) == 0 && index < std::size(SystemPalette);
        return 0xFF000000u | (known ? SystemPalette[index] : 0);
    }
    return 0xFF000000u | (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

bool IdentToCharset(QStringView Ident, qint32& Charset)
{
    qint64 v = 0;
    if (!IdentToInt(IdentsOf(CharsetIdents), Ident, v))
        return false;
    Charset = qint32(v);
    return true;
}

bool IdentToCursor(QStringView Ident, qint32& Cursor)
{
    qint64 v = 0;
    if (!IdentToInt(IdentsOf(CursorIdents), Ident, v))
        return false;
    Cursor = qint32(v);
    return true;
}

// ---------------------------------------------------------------------------------------------
// TFont

int TFont::GetSize() const
{
    return FHeight < 0 ? qRound(-FHeight * 72.0 / 96.0) : FHeight;
}

void TFont::SetSize(int Value)
{
    FHeight = -qRound(Value * 96.0 / 72.0);
}

void TFont::Assign(TPersistent* Source)
{
    if (auto* font = qobject_cast<TFont*>(Source)) {
        FCharset = font->FCharset;
        FColor = font->FColor;
        FHeight = font->FHeight;
        FName = font->FName;
        FPitch = font->FPitch;
        FStyle = font->FStyle;
        FOrientation = font->FOrientation;
        FQuality = font->FQuality;
        return;
    }
    TPersistent::Assign(Source);
}

// ---------------------------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner), FFont(new TFont(this)), FConstraints(new TSizeConstraints(this)),
      FMargins(new TMargins(this, 3))
{
}

TControl::~TControl()
{
    SetParent(nullptr);
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
}

namespace {
// A reference to another component, cleared when that component goes.
void SetReference(TComponent* Self, TComponent*& Field, TComponent* Value)
{
    if (Field == Value)
        return;
    if (Field)
        Field->RemoveFreeNotification(Self);
    Field = Value;
    if (Field)
        Field->FreeNotification(Self);
}
} // namespace

void TControl::SetPopupMenu(TComponent* Value)
{
    SetReference(this, FPopupMenu, Value);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
    TComponent::Notification(AComponent, Operation);
}

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent)
        return;
    for (const TControl* P = AParent; P; P = P->FParent)
        if (P == this)
            throw EInvalidOperation(QStringLiteral("%1 cannot be a parent of itself").arg(DisplayName(this)));
    if (FParent) {
        if (auto* self = qobject_cast<TWinControl*>(this))
            FParent->FTabList.removeOne(self);
        FParent->FControls.removeOne(this);
    }
    FParent = AParent;
    if (!FParent)
        return;
    FParent->FControls.append(this);
    if (auto* self = qobject_cast<TWinControl*>(this)) {
        FParent->FTabList.append(self);
        // A tab order read before the parent was known is applied now.
        if (self->FPendingTabOrder >= 0)
            self->SetTabOrder(std::exchange(self->FPendingTabOrder, -1));
    }
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    SetLeft(ALeft);
    SetTop(ATop);
    SetWidth(AWidth);
    SetHeight(AHeight);
}

bool TControl::HasParent() const
{
    return FParent != nullptr;
}

TComponent* TControl::GetParentComponent() const
{
    return FParent;
}

void TControl::SetParentComponent(TComponent* Value)
{
    if (!Value)
        SetParent(nullptr);
    else if (auto* parent = qobject_cast<TWinControl*>(Value))
        SetParent(parent);
}

// ---------------------------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), FPadding(new TMargins(this, 0)) {}

TWinControl::~TWinControl()
{
    // Here, not in ~TControl: there this is no longer a TWinControl, and would stay in the tab list.
    SetParent(nullptr);
    for (TControl* Control : std::as_const(FControls))
        Control->FParent = nullptr;
    FControls.clear();
    FTabList.clear();
}

TControl* TWinControl::Controls(int Index) const
{
    if (Index < 0 || Index >= FControls.size())
        throw EListError(QStringLiteral("Control index out of bounds (%1)").arg(Index));
    return FControls.at(Index);
}

bool TWinControl::ContainsControl(const TControl* Control) const
{
    for (const TControl* C = Control; C; C = C->Parent())
        if (C == this)
            return true;
    return false;
}

int TWinControl::GetTabOrder() const
{
    if (!FParent)
        return FPendingTabOrder;
    return int(FParent->FTabList.indexOf(const_cast<TWinControl*>(this)));
}

void TWinControl::SetTabOrder(int Value)
{
    if (!FParent) {
        FPendingTabOrder = Value < 0 ? -1 : Value;
        return;
    }
    QList<TWinControl*>& list = FParent->FTabList;
    const qsizetype current = list.indexOf(this);
    // Out of range moves to the end, so controls read in any order settle where their values say.
    const qsizetype target = (Value < 0 || Value >= list.size()) ? list.size() - 1 : Value;
    if (current >= 0 && current != target)
        list.move(current, target);
}

void TWinControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) const
{
    if (Root == this)
        TComponent::GetChildren(Proc, Root);
    for (TControl* Control : FControls)
        Proc(Control);
}

// ---------------------------------------------------------------------------------------------
// Forms

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, 320, 240);
    SetVisible(false);
    FColor.Value = KvColors::clBtnFace;
    FParentColor = false;
    FParentFont = false;
}

TCustomForm::~TCustomForm()
{
    if (FActiveControl)
        FActiveControl->RemoveFreeNotification(this);
    if (FMenu)
        FMenu->RemoveFreeNotification(this);
}

void TCustomForm::SetActiveControl(TWinControl* Value)
{
    if (Value == FActiveControl)
        return;
    if (Value && !ContainsControl(Value))
        throw EInvalidOperation(
            QStringLiteral("%1 cannot be the active control of %2: it is not on that form")
                .arg(DisplayName(Value), DisplayName(this)));
    if (FActiveControl)
        FActiveControl->RemoveFreeNotification(this);
    FActiveControl = Value;
    if (FActiveControl)
        FActiveControl->FreeNotification(this);
}

void TCustomForm::SetMenu(TComponent* Value)
{
    SetReference(this, FMenu, Value);
}

void TCustomForm::SetClientHeight(int Value)
{
    SetHeight(Value);
    FClientHeight = qMax(0, Value);
}

void TCustomForm::SetClientWidth(int Value)
{
    SetWidth(Value);
    FClientWidth = qMax(0, Value);
}

bool TCustomForm::IsPropertyStored(QStringView Name) const
{
    return !(FClientWidth > 0 && Name == u"Width") && !(FClientHeight > 0 && Name == u"Height");
}

void TCustomForm::Resize(int AWidth, int AHeight)
{
    // A form sized in the designer keeps its borders: the client size moves with it.
    if (FClientWidth > 0)
        FClientWidth = qMax(0, FClientWidth + AWidth - GetWidth());
    if (FClientHeight > 0)
        FClientHeight = qMax(0, FClientHeight + AHeight - GetHeight());
    TWinControl::Resize(AWidth, AHeight);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent == FActiveControl)
        FActiveControl = nullptr;
    if (Operation == TOperation::opRemove && AComponent == FMenu)
        FMenu = nullptr;
    TWinControl::Notification(AComponent, Operation);
}

TForm::TForm(TComponent* AOwner) : TCustomForm(AOwner) {}

TFrame::TFrame(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, 320, 240);
}

TDataModule::TDataModule(TComponent* AOwner) : TComponent(AOwner) {}

// ---------------------------------------------------------------------------------------------
// Placeholders

TPlaceholderControl::TPlaceholderControl(TComponent* AOwner) : TWinControl(AOwner) {}

TPlaceholderComponent::TPlaceholderComponent(TComponent* AOwner) : TComponent(AOwner) {}

TPlaceholderComponent::~TPlaceholderComponent()
{
    SetParentComponent(nullptr);
    // Its children (menu items, fields) go with it, as they would with the real component.
    for (TPlaceholderComponent* child : std::exchange(FChildren, {})) {
        child->FParent = nullptr;
        delete child;
    }
}

void TPlaceholderComponent::SetParentComponent(TComponent* Value)
{
    auto* parent = qobject_cast<TPlaceholderComponent*>(Value);
    // Read under a known component that does not list it (an unknown field of a data set): the
    // writer leaves it where it was read.
    FUnderKnown = Value && !parent && Value != Owner();
    if (parent == FParent)
        return;
    if (FParent)
        FParent->FChildren.removeOne(this);
    FParent = parent;
    if (FParent)
        FParent->FChildren.append(this);
}

void TPlaceholderComponent::GetChildren(const TGetChildProc& Proc, TComponent* Root) const
{
    if (Root == this)
        TComponent::GetChildren(Proc, Root);
    for (TPlaceholderComponent* child : FChildren)
        Proc(child);
}

bool IsPlaceholder(const TComponent* Component)
{
    return qobject_cast<const TPlaceholderControl*>(Component) || qobject_cast<const TPlaceholderComponent*>(Component);
}

void RegisterControlClasses()
{
    static const bool once = [] {
        RegisterIntegerIdents(QMetaType::fromType<TColor>(), ColorIdents, int(std::size(ColorIdents)));
        RegisterIntegerIdents(QMetaType::fromType<TFontCharset>(), CharsetIdents, int(std::size(CharsetIdents)));
        RegisterIntegerIdents(QMetaType::fromType<TCursor>(), CursorIdents, int(std::size(CursorIdents)));
        return true;
    }();
    Q_UNUSED(once);
    RegisterClasses({&TControl::staticMetaObject, &TWinControl::staticMetaObject, &TCustomForm::staticMetaObject,
                     &TForm::staticMetaObject, &TFrame::staticMetaObject, &TDataModule::staticMetaObject});
}
