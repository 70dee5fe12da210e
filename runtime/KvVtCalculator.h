#pragma once

#include "KvCalculator.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TFrCalculator;
}

// The library's calculator: keys clicked or typed (Enter is "=", Backspace, Delete clears the
// entry); OK gives the number shown, finishing a pending operation.
class TFrCalculator : public QDialog
{
    Q_OBJECT

public:
    explicit TFrCalculator(QWidget* Parent = nullptr);
    ~TFrCalculator() override;

    // Starts with Value; on OK Value becomes the result and true comes back.
    bool Execute(double& Value);

    const TKvCalculator& Calculator() const { return FCalculator; }
    Ui::TFrCalculator* ui() const { return FUi.get(); }

protected:
    void keyPressEvent(QKeyEvent* Event) override;

private:
    void Press(QChar Key);

    std::unique_ptr<Ui::TFrCalculator> FUi;
    TKvCalculator FCalculator;
};
