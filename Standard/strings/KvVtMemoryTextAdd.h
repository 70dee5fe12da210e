#pragma once

#include "KvStringsItemDialog.h"

#include <memory>

namespace Ui {
class TFrMemoryTextAdd;
}

// Adds a text to FPkg or changes one: text, id and, for "System", the protected flag.
class TFrMemoryTextAdd : public TKvStringsItemDialog
{
    Q_OBJECT

public:
    explicit TFrMemoryTextAdd(QWidget* Parent = nullptr);
    ~TFrMemoryTextAdd() override;

    QString Text() const override;
    void SetText(const QString& Value) override;

    Ui::TFrMemoryTextAdd* ui() const { return FUi.get(); }

private:
    std::unique_ptr<Ui::TFrMemoryTextAdd> FUi;
};
