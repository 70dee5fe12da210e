#include "KvVtMemoryText.h"

#include "KvVtMemoryTextAdd.h"
#include "ui_KvVtMemoryText.h"

#include "KvReferences.h"

TFrMemoryText::TFrMemoryText(QWidget* Parent)
    : TKvStringsPicker(TKvStringsKind::Texts, Parent), FUi(std::make_unique<Ui::TFrMemoryText>())
{
    FUi->setupUi(this);
    TKvPickerControls Ctl;
    Ctl.EdPackage = FUi->EdPackage;
    Ctl.EdSearch = FUi->EdSearch;
    Ctl.EdId = FUi->EdId;
    Ctl.List = FUi->Texts;
    Ctl.LaStatus = FUi->LaStatus;
    Ctl.BtAdd = FUi->BtAdd;
    Ctl.BtModify = FUi->BtModify;
    Ctl.BtDelete = FUi->BtDelete;
    Ctl.BtNull = FUi->BtNull;
    Ctl.BtOk = FUi->BtOk;
    Ctl.BtCancel = FUi->BtCancel;
    Ctl.BtDefault = FUi->BtDefault;
    Ctl.BtManager = FUi->BtManager;
    Ctl.EdDetail = FUi->EdText;
    Bind(Ctl);
}

TFrMemoryText::~TFrMemoryText() = default;

TKvMemoryReference* TFrMemoryText::Reference() const
{
    return FMemoryText;
}

std::unique_ptr<TKvStringsItemDialog> TFrMemoryText::CreateItemDialog()
{
    return std::make_unique<TFrMemoryTextAdd>(this);
}
