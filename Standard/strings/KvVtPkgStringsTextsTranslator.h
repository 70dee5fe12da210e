#pragma once

#include "KvStringsTranslator.h"

#include <memory>

namespace Ui {
class TFrPkgStringsTextsTranslator;
}

// The texts of the edited package beside those of a translation file.
class TFrPkgStringsTextsTranslator : public TKvStringsTranslator
{
    Q_OBJECT

public:
    explicit TFrPkgStringsTextsTranslator(QWidget* Parent = nullptr);
    ~TFrPkgStringsTextsTranslator() override;

    Ui::TFrPkgStringsTextsTranslator* ui() const { return FUi.get(); }

protected:
    std::unique_ptr<TKvTranslatorItemDialog> CreateItemDialog() override;

private:
    std::unique_ptr<Ui::TFrPkgStringsTextsTranslator> FUi;
};
