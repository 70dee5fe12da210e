#include "KvVtPkgStringsMessagesTranslator.h"
#include "ui_KvVtPkgStringsMessagesTranslator.h"

#include "KvVtPkgStringsMessagesTranslatorAdd.h"

TFrPkgStringsMessagesTranslator::TFrPkgStringsMessagesTranslator(QWidget* Parent)
    : TKvStringsTranslator(TKvStringsKind::Messages, Parent), FUi(std::make_unique<Ui::TFrPkgStringsMessagesTranslator>())
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

TFrPkgStringsMessagesTranslator::~TFrPkgStringsMessagesTranslator() = default;

std::unique_ptr<TKvTranslatorItemDialog> TFrPkgStringsMessagesTranslator::CreateItemDialog()
{
    return std::make_unique<TFrPkgStringsMessagesTranslatorAdd>(this);
}
