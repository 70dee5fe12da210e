#pragma once

#include "KvStringsItemDialog.h"

#include <memory>

namespace Ui {
class TFrMemoryMessageAdd;
}

// Adds a message to FPkg or changes one: text, id and, for "System", the protected flag.
class TFrMemoryMessageAdd : public TKvStringsItemDialog
{
    Q_OBJECT

public:
    explicit TFrMemoryMessageAdd(QWidget* Parent = nullptr);
    ~TFrMemoryMessageAdd() override;

    QString Text() const override;
    void SetText(const QString& Value) override;

    Ui::TFrMemoryMessageAdd* ui() const { return FUi.get(); }

private:
    std::unique_ptr<Ui::TFrMemoryMessageAdd> FUi;
};
