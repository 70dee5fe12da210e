#include "KvVtPkgStringsTextsTranslator.h"
#include "ui_KvVtPkgStringsTextsTranslator.h"

#include "KvVtPkgStringsTextsTranslatorAdd.h"

TFrPkgStringsTextsTranslator::TFrPkgStringsTextsTranslator(QWidget* Parent)
    : TKvStringsTranslator(TKvStringsKind::Texts, Parent), FUi(std::make_unique<Ui::TFrPkgStringsTextsTranslator>())
{
    FUi->setupUi(this);
    Bind(TKvTranslatorControls::Of(*FUi));
}

TFrPkgStringsTextsTranslator::~TFrPkgStringsTextsTranslator() = default;

std::unique_ptr<TKvTranslatorItemDialog> TFrPkgStringsTextsTranslator::CreateItemDialog()
{
    return std::make_unique<TFrPkgStringsTextsTranslatorAdd>(this);
}
