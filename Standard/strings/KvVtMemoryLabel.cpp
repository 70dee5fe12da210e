#include "KvVtMemoryLabel.h"

#include "KvVtMemoryLabelAdd.h"
#include "ui_KvVtMemoryLabel.h"

#include "KvReferences.h"

TFrMemoryLabel::TFrMemoryLabel(QWidget* Parent)
    : TKvStringsPicker(TKvStringsKind::Labels, Parent), FUi(std::make_unique<Ui::TFrMemoryLabel>())
{
    FUi->setupUi(this);
    TKvPickerControls Ctl;
    Ctl.EdPackage = FUi->EdPackage;
    Ctl.EdSearch = FUi->EdSearch;
    Ctl.EdId = FUi->EdId;
    Ctl.List = FUi->Labels;
    Ctl.LaStatus = FUi->LaStatus;
    Ctl.BtAdd = FUi->BtAdd;
    Ctl.BtModify = FUi->BtModify;
    Ctl.BtDelete = FUi->BtDelete;
    Ctl.BtNull = FUi->BtNull;
    Ctl.BtOk = FUi->BtOk;
    Ctl.BtCancel = FUi->BtCancel;
    Ctl.BtDefault = FUi->BtDefault;
    Ctl.BtManager = FUi->BtManager;
    Ctl.OrderLabel = FUi->OrderLabel;
    Ctl.OrderId = FUi->OrderId;
    Ctl.EdDetail = FUi->EdHint;
    Bind(Ctl);
}

TFrMemoryLabel::~TFrMemoryLabel() = default;

TKvMemoryReference* TFrMemoryLabel::Reference() const
{
    return FMemoryLabel;
}

std::unique_ptr<TKvStringsItemDialog> TFrMemoryLabel::CreateItemDialog()
{
    return std::make_unique<TFrMemoryLabelAdd>(this);
}
