#include "KvControls.h"

TKvGraphicControl::TKvGraphicControl(TComponent* AOwner)
    : TControl(AOwner),
      FMemoryLabel(new TKvMemoryLabel(this)),
      FSetColor(new TKvSetColor(this)),
      FSetFont(new TKvSetFont(this)),
      FPrivilege(new TKvPrivilege(this))
{
}

TKvWinControl::TKvWinControl(TComponent* AOwner)
    : TWinControl(AOwner),
      FMemoryLabel(new TKvMemoryLabel(this)),
      FSetColor(new TKvSetColor(this)),
      FSetFont(new TKvSetFont(this)),
      FSetBackGround(new TKvSetBackGround(this)),
      FPrivilege(new TKvPrivilege(this))
{
}

TKvCustomValueControl::TKvCustomValueControl(TComponent* AOwner) : TKvWinControl(AOwner) {}

void TKvCustomValueControl::SetValue(const Variant& Value)
{
    if (Value == FValue)
        return;
    FValue = Value;
    emit ValueChanged();
}

QString KvDisplayCaption(const TKvMemoryLabel* Reference, const QString& Caption)
{
    if (Reference && Reference->Label())
        return Reference->Text();
    return Caption;
}
