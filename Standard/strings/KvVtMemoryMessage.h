#pragma once

#include "KvStringsPicker.h"

#include <memory>

class TKvMemoryMessage;

namespace Ui {
class TFrMemoryMessage;
}

// Chooses the package and message of a TKvMemoryMessage reference.
class TFrMemoryMessage : public TKvStringsPicker
{
    Q_OBJECT

public:
    explicit TFrMemoryMessage(QWidget* Parent = nullptr);
    ~TFrMemoryMessage() override;

    // The reference edited; set before Execute.
    TKvMemoryMessage* FMemoryMessage = nullptr;

    Ui::TFrMemoryMessage* ui() const { return FUi.get(); }

protected:
    TKvMemoryReference* Reference() const override;
    std::unique_ptr<TKvStringsItemDialog> CreateItemDialog() override;

private:
    std::unique_ptr<Ui::TFrMemoryMessage> FUi;
};
