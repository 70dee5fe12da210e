#pragma once

#include "KvStringsTranslator.h"

#include <memory>

namespace Ui {
class TFrPkgStringsLabelsTranslatorAdd;
}

// Adds or changes one label of the edited package beside the source's, read-only.
class TFrPkgStringsLabelsTranslatorAdd : public TKvTranslatorItemDialog
{
    Q_OBJECT

public:
    explicit TFrPkgStringsLabelsTranslatorAdd(QWidget* Parent = nullptr);
    ~TFrPkgStringsLabelsTranslatorAdd() override;

    QString Text() const override;
    void SetText(const QString& Value) override;
    QString Hint() const override;
    void SetHint(const QString& Value) override;
    void SetSource(const QString& Text, const QString& Hint) override;

    Ui::TFrPkgStringsLabelsTranslatorAdd* ui() const { return FUi.get(); }

private:
    std::unique_ptr<Ui::TFrPkgStringsLabelsTranslatorAdd> FUi;
};
