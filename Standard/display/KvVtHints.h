#pragma once

#include "display/KvMetricsWindow.h"

#include <memory>

namespace Ui {
class TFrHints;
}

// "Common Hints": the margins of the library's hints, with a live example.
class TFrHints : public TKvMetricsWindow
{
    Q_OBJECT

public:
    explicit TFrHints(QWidget* Parent = nullptr);
    ~TFrHints() override;
    Ui::TFrHints* ui() const { return FUi.get(); }

private:
    std::unique_ptr<Ui::TFrHints> FUi;
};
