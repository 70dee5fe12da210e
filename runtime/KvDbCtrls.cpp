#include "KvDbCtrls.h"

#include "SysUtils.h"

TKvDbLabel::TKvDbLabel(TComponent* AOwner) : TKvCustomLabel(AOwner) {}

void TKvDbLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FDataSource.Removed(AComponent);
    TKvCustomLabel::Notification(AComponent, Operation);
}

TKvDbEdit::TKvDbEdit(TComponent* AOwner) : TKvCustomEdit(AOwner)
{
    Mask()->SetAllowDataType(false);
}

void TKvDbEdit::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FDataSource.Removed(AComponent);
    TKvCustomEdit::Notification(AComponent, Operation);
}

TKvDbComboBox::TKvDbComboBox(TComponent* AOwner) : TKvCustomComboBox(AOwner) {}

void TKvDbComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FDataSource.Removed(AComponent);
    TKvCustomComboBox::Notification(AComponent, Operation);
}

TKvDbListBox::TKvDbListBox(TComponent* AOwner) : TKvCustomItemListBox(AOwner) {}

void TKvDbListBox::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FDataSource.Removed(AComponent);
    TKvCustomItemListBox::Notification(AComponent, Operation);
}

TKvDbMemo::TKvDbMemo(TComponent* AOwner) : TKvCustomMemo(AOwner) {}

void TKvDbMemo::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FDataSource.Removed(AComponent);
    TKvCustomMemo::Notification(AComponent, Operation);
}

TKvDbRichEdit::TKvDbRichEdit(TComponent* AOwner) : TKvCustomRichEdit(AOwner) {}

void TKvDbRichEdit::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FDataSource.Removed(AComponent);
    TKvCustomRichEdit::Notification(AComponent, Operation);
}

TKvDbImage::TKvDbImage(TComponent* AOwner) : TKvCustomImage(AOwner) {}

void TKvDbImage::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FDataSource.Removed(AComponent);
    TKvCustomImage::Notification(AComponent, Operation);
}

TKvDbFocusImage::TKvDbFocusImage(TComponent* AOwner) : TKvCustomFocusImage(AOwner) {}

void TKvDbFocusImage::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FDataSource.Removed(AComponent);
    TKvCustomFocusImage::Notification(AComponent, Operation);
}

TKvDbCheckBox::TKvDbCheckBox(TComponent* AOwner) : TKvCustomCheckBox(AOwner) {}

void TKvDbCheckBox::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FDataSource.Removed(AComponent);
    TKvCustomCheckBox::Notification(AComponent, Operation);
}

TKvDbRadioGroup::TKvDbRadioGroup(TComponent* AOwner) : TKvCustomRadioGroup(AOwner) {}

void TKvDbRadioGroup::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FDataSource.Removed(AComponent);
    TKvCustomRadioGroup::Notification(AComponent, Operation);
}

TKvDbPageControl::TKvDbPageControl(TComponent* AOwner) : TKvCustomPageControl(AOwner) {}

void TKvDbPageControl::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FDataSource.Removed(AComponent);
    TKvCustomPageControl::Notification(AComponent, Operation);
}

TKvDbNavigator::TKvDbNavigator(TComponent* AOwner) : TKvWinControl(AOwner)
{
    NameDefaultSets(QStringLiteral("Nv"));
    SetBounds(0, 0, 240, 25);
}

void TKvDbNavigator::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FDataSource.Removed(AComponent);
    TKvWinControl::Notification(AComponent, Operation);
}

TKvDbBitBtn::TKvDbBitBtn(TComponent* AOwner) : TKvCustomButton(AOwner) {}

void TKvDbBitBtn::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FDataSource.Removed(AComponent);
    TKvCustomButton::Notification(AComponent, Operation);
}

TKvDbBitBtn::~TKvDbBitBtn()
{
    delete FCommands;
}

TKvDbSpeedButton::TKvDbSpeedButton(TComponent* AOwner) : TKvCustomSpeedButton(AOwner) {}

void TKvDbSpeedButton::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FDataSource.Removed(AComponent);
    TKvCustomSpeedButton::Notification(AComponent, Operation);
}

TKvDbSpeedButton::~TKvDbSpeedButton()
{
    delete FCommands;
}

TKvDbPkgImage::TKvDbPkgImage(TComponent* AOwner) : TKvCustomPkgImage(AOwner) {}

void TKvDbPkgImage::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove)
        FDataSource.Removed(AComponent);
    TKvCustomPkgImage::Notification(AComponent, Operation);
}
