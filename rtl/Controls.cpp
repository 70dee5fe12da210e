#include "Controls.h"

#include "SysUtils.h"

namespace {

QString DisplayName(const TComponent* Component)
{
    return Component->GetName().isEmpty() ? Component->ClassName() : Component->GetName();
}

// Linking this unit is enough to make its classes readable from form files.
[[maybe_unused]] const bool ControlClassesRegistered = (RegisterControlClasses(), true);

} // namespace

// ---------------------------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {}

TControl::~TControl()
{
    SetParent(nullptr);
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

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

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
}

TCustomForm::~TCustomForm()
{
    if (FActiveControl)
        FActiveControl->RemoveFreeNotification(this);
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

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent == FActiveControl)
        FActiveControl = nullptr;
    TWinControl::Notification(AComponent, Operation);
}

TForm::TForm(TComponent* AOwner) : TCustomForm(AOwner) {}

TFrame::TFrame(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, 320, 240);
}

TDataModule::TDataModule(TComponent* AOwner) : TComponent(AOwner) {}

void RegisterControlClasses()
{
    RegisterClasses({&TControl::staticMetaObject, &TWinControl::staticMetaObject, &TCustomForm::staticMetaObject,
                     &TForm::staticMetaObject, &TFrame::staticMetaObject, &TDataModule::staticMetaObject});
}
