#pragma once

#include "KvStringsTranslator.h"

#include <memory>

namespace Ui {
class TFrPkgStringsMessagesTranslator;
}

// The messages of the edited package beside those of a translation file.
class TFrPkgStringsMessagesTranslator : public TKvStringsTranslator
{
    Q_OBJECT

public:
    explicit TFrPkgStringsMessagesTranslator(QWidget* Parent = nullptr);
    ~TFrPkgStringsMessagesTranslator() override;

    Ui::TFrPkgStringsMessagesTranslator* ui() const { return FUi.get(); }

protected:
    std::unique_ptr<TKvTranslatorItemDialog> CreateItemDialog() override;

private:
    std::unique_ptr<Ui::TFrPkgStringsMessagesTranslator> FUi;
};
