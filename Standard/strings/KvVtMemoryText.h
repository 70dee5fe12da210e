#pragma once

#include "KvStringsPicker.h"

#include <memory>

class TKvMemoryText;

namespace Ui {
class TFrMemoryText;
}

// Chooses the package and text of a TKvMemoryText reference.
class TFrMemoryText : public TKvStringsPicker
{
    Q_OBJECT

public:
    explicit TFrMemoryText(QWidget* Parent = nullptr);
    ~TFrMemoryText() override;

    // The reference edited; set before Execute.
    TKvMemoryText* FMemoryText = nullptr;

    Ui::TFrMemoryText* ui() const { return FUi.get(); }

protected:
    TKvMemoryReference* Reference() const override;
    std::unique_ptr<TKvStringsItemDialog> CreateItemDialog() override;

private:
    std::unique_ptr<Ui::TFrMemoryText> FUi;
};
