#pragma once

#include "KvStringsTranslator.h"

#include <memory>

namespace Ui {
class TFrPkgStringsTextsTranslatorAdd;
}

// Adds or changes one text of the edited package beside the source's, read-only.
class TFrPkgStringsTextsTranslatorAdd : public TKvTranslatorItemDialog
{
    Q_OBJECT

public:
    explicit TFrPkgStringsTextsTranslatorAdd(QWidget* Parent = nullptr);
    ~TFrPkgStringsTextsTranslatorAdd() override;

    QString Text() const override;
    void SetText(const QString& Value) override;
    void SetSource(const QString& Text, const QString& Hint) override;

    Ui::TFrPkgStringsTextsTranslatorAdd* ui() const { return FUi.get(); }

private:
    std::unique_ptr<Ui::TFrPkgStringsTextsTranslatorAdd> FUi;
};
