#pragma once

#include "KvStringsTranslator.h"

#include <memory>

namespace Ui {
class TFrPkgStringsMessagesTranslatorAdd;
}

// Adds or changes one message of the edited package beside the source's, read-only.
class TFrPkgStringsMessagesTranslatorAdd : public TKvTranslatorItemDialog
{
    Q_OBJECT

public:
    explicit TFrPkgStringsMessagesTranslatorAdd(QWidget* Parent = nullptr);
    ~TFrPkgStringsMessagesTranslatorAdd() override;

    QString Text() const override;
    void SetText(const QString& Value) override;
    void SetSource(const QString& Text, const QString& Hint) override;

    Ui::TFrPkgStringsMessagesTranslatorAdd* ui() const { return FUi.get(); }

private:
    std::unique_ptr<Ui::TFrPkgStringsMessagesTranslatorAdd> FUi;
};
