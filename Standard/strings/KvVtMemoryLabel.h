#pragma once

#include "KvStringsPicker.h"

#include <memory>

class TKvMemoryLabel;

namespace Ui {
class TFrMemoryLabel;
}

// Chooses the package and label of a TKvMemoryLabel reference.
class TFrMemoryLabel : public TKvStringsPicker
{
    Q_OBJECT

public:
    explicit TFrMemoryLabel(QWidget* Parent = nullptr);
    ~TFrMemoryLabel() override;

    // The reference edited; set before Execute.
    TKvMemoryLabel* FMemoryLabel = nullptr;

    Ui::TFrMemoryLabel* ui() const { return FUi.get(); }

protected:
    TKvMemoryReference* Reference() const override;
    std::unique_ptr<TKvStringsItemDialog> CreateItemDialog() override;

private:
    std::unique_ptr<Ui::TFrMemoryLabel> FUi;
};
