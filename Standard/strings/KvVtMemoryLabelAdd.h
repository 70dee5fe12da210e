#pragma once

#include "KvStringsItemDialog.h"

#include <memory>

namespace Ui {
class TFrMemoryLabelAdd;
}

// Adds a label to FPkg or changes one: text, id, hint and, for "System", the protected flag.
class TFrMemoryLabelAdd : public TKvStringsItemDialog
{
    Q_OBJECT

public:
    explicit TFrMemoryLabelAdd(QWidget* Parent = nullptr);
    ~TFrMemoryLabelAdd() override;

    QString Text() const override;
    void SetText(const QString& Value) override;
    QString Hint() const override;
    void SetHint(const QString& Value) override;

    Ui::TFrMemoryLabelAdd* ui() const { return FUi.get(); }

protected:
    void Prepare() override;

private:
    void EditMultiLine();

    std::unique_ptr<Ui::TFrMemoryLabelAdd> FUi;
};
