#pragma once

#include "common/KvPkgDialogs.h"

#include <QPointer>

#include <functional>

#include <memory>

class TKvPkgSetup;

namespace Ui {
class TFrKeys;
}

// The shortcut keys of the data controls. Every change is stored at once; Ok only closes.
class TFrKeys : public TKvKeptBoundsDialog
{
    Q_OBJECT

public:
    explicit TFrKeys(QWidget* Parent = nullptr);
    ~TFrKeys() override;

    // The package whose keys are edited; set before Execute.
    QPointer<TKvPkgSetup> PkgSetup;

    void Execute();

    Ui::TFrKeys* ui() const { return FUi.get(); }

private:
    void Store(const std::function<void()>& Change);

    std::unique_ptr<Ui::TFrKeys> FUi;
    bool FFilling = false;
};
