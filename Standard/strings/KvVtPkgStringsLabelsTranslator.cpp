#include "KvVtPkgStringsLabelsTranslator.h"
#include "ui_KvVtPkgStringsLabelsTranslator.h"

#include "KvVtPkgStringsLabelsTranslatorAdd.h"

TFrPkgStringsLabelsTranslator::TFrPkgStringsLabelsTranslator(QWidget* Parent)
    : TKvStringsTranslator(TKvStringsKind::Labels, Parent), FUi(std::make_unique<Ui::TFrPkgStringsLabelsTranslator>())
{
    FUi->setupUi(this);
    Bind(TKvTranslatorControls::Of(*FUi));
}

TFrPkgStringsLabelsTranslator::~TFrPkgStringsLabelsTranslator() = default;

std::unique_ptr<TKvTranslatorItemDialog> TFrPkgStringsLabelsTranslator::CreateItemDialog()
{
    return std::make_unique<TFrPkgStringsLabelsTranslatorAdd>(this);
}
