#include "KvVtPkgStringsLabelsTranslator.h"
#include "ui_KvVtPkgStringsLabelsTranslator.h"

#include "KvVtPkgStringsLabelsTranslatorAdd.h"

TFrPkgStringsLabelsTranslator::TFrPkgStringsLabelsTranslator(QWidget* Parent)
    : TKvStringsTranslator(TKvStringsKind::Labels, Parent), FUi(std::make_unique<Ui::TFrPkgStringsLabelsTranslator>())
{
    FUi->setupUi(this);
    TKvTranslatorControls Ctl;
    Ctl.LaPath = FUi->LaPath;
    Ctl.BtPath = FUi->BtPath;
    Ctl.PnTitleIndent = FUi->PnTitleIndent;
    Ctl.LaTitleLeft = FUi->LaTitleLeft;
    Ctl.LaTitleRight = FUi->LaTitleRight;
    Ctl.EdSearch = FUi->EdSearch;
    Ctl.CbUntranslated = FUi->CbUntranslated;
    Ctl.BtNextUntranslated = FUi->BtNextUntranslated;
    Ctl.List = FUi->List;
    Ctl.PnDetailIndent = FUi->PnDetailIndent;
    Ctl.EdDetailLeft = FUi->EdDetailLeft;
    Ctl.EdDetailRight = FUi->EdDetailRight;
    Ctl.LaStatus = FUi->LaStatus;
    Bind(Ctl);
}

TFrPkgStringsLabelsTranslator::~TFrPkgStringsLabelsTranslator() = default;

std::unique_ptr<TKvTranslatorItemDialog> TFrPkgStringsLabelsTranslator::CreateItemDialog()
{
    return std::make_unique<TFrPkgStringsLabelsTranslatorAdd>(this);
}
