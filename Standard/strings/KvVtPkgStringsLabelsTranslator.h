#pragma once

#include "KvStringsTranslator.h"

#include <memory>

namespace Ui {
class TFrPkgStringsLabelsTranslator;
}

// The labels of the edited package beside those of a translation file.
class TFrPkgStringsLabelsTranslator : public TKvStringsTranslator
{
    Q_OBJECT

public:
    explicit TFrPkgStringsLabelsTranslator(QWidget* Parent = nullptr);
    ~TFrPkgStringsLabelsTranslator() override;

    Ui::TFrPkgStringsLabelsTranslator* ui() const { return FUi.get(); }

protected:
    std::unique_ptr<TKvTranslatorItemDialog> CreateItemDialog() override;

private:
    std::unique_ptr<Ui::TFrPkgStringsLabelsTranslator> FUi;
};
