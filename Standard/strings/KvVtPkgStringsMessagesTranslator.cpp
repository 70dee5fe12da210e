#include "KvVtPkgStringsMessagesTranslator.h"
#include "ui_KvVtPkgStringsMessagesTranslator.h"

#include "KvVtPkgStringsMessagesTranslatorAdd.h"

TFrPkgStringsMessagesTranslator::TFrPkgStringsMessagesTranslator(QWidget* Parent)
    : TKvStringsTranslator(TKvStringsKind::Messages, Parent), FUi(std::make_unique<Ui::TFrPkgStringsMessagesTranslator>())
{
    FUi->setupUi(this);
    Bind(TKvTranslatorControls::Of(*FUi));
}

TFrPkgStringsMessagesTranslator::~TFrPkgStringsMessagesTranslator() = default;

std::unique_ptr<TKvTranslatorItemDialog> TFrPkgStringsMessagesTranslator::CreateItemDialog()
{
    return std::make_unique<TFrPkgStringsMessagesTranslatorAdd>(this);
}
