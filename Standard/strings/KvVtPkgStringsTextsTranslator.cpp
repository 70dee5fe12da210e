#include "KvVtPkgStringsTextsTranslator.h"
#include "ui_KvVtPkgStringsTextsTranslator.h"

#include "KvVtPkgStringsTextsTranslatorAdd.h"

TFrPkgStringsTextsTranslator::TFrPkgStringsTextsTranslator(QWidget* Parent)
    : TKvStringsTranslator(TKvStringsKind::Texts, Parent), FUi(std::make_unique<Ui::TFrPkgStringsTextsTranslator>())
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

TFrPkgStringsTextsTranslator::~TFrPkgStringsTextsTranslator() = default;

std::unique_ptr<TKvTranslatorItemDialog> TFrPkgStringsTextsTranslator::CreateItemDialog()
{
    return std::make_unique<TFrPkgStringsTextsTranslatorAdd>(this);
}
