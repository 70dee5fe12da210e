#include "KvVtMemoryMessage.h"

#include "KvVtMemoryMessageAdd.h"
#include "ui_KvVtMemoryMessage.h"

#include "KvReferences.h"

TFrMemoryMessage::TFrMemoryMessage(QWidget* Parent)
    : TKvStringsPicker(TKvStringsKind::Messages, Parent), FUi(std::make_unique<Ui::TFrMemoryMessage>())
{
    FUi->setupUi(this);
    TKvPickerControls Ctl;
    Ctl.EdPackage = FUi->EdPackage;
    Ctl.EdSearch = FUi->EdSearch;
    Ctl.EdId = FUi->EdId;
    Ctl.List = FUi->Messages;
    Ctl.LaStatus = FUi->LaStatus;
    Ctl.BtAdd = FUi->BtAdd;
    Ctl.BtModify = FUi->BtModify;
    Ctl.BtDelete = FUi->BtDelete;
    Ctl.BtNull = FUi->BtNull;
    Ctl.BtOk = FUi->BtOk;
    Ctl.BtCancel = FUi->BtCancel;
    Ctl.BtDefault = FUi->BtDefault;
    Ctl.BtManager = FUi->BtManager;

    Bind(Ctl);
}

TFrMemoryMessage::~TFrMemoryMessage() = default;

TKvMemoryReference* TFrMemoryMessage::Reference() const
{
    return FMemoryMessage;
}

std::unique_ptr<TKvStringsItemDialog> TFrMemoryMessage::CreateItemDialog()
{
    return std::make_unique<TFrMemoryMessageAdd>(this);
}
