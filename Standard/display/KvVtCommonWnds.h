#pragma once

#include "display/KvMetricsWindow.h"

#include <memory>

namespace Ui {
class TFrCommonWnds;
}

// "Common Windows": the metrics of the library's common windows, with a live example.
class TFrCommonWnds : public TKvMetricsWindow
{
    Q_OBJECT

public:
    explicit TFrCommonWnds(QWidget* Parent = nullptr);
    ~TFrCommonWnds() override;
    Ui::TFrCommonWnds* ui() const { return FUi.get(); }

private:
    std::unique_ptr<Ui::TFrCommonWnds> FUi;
};
