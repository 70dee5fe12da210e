#pragma once

#include <QDialog>

#include <memory>

class TKvCApplication;

namespace Ui {
class TFrUpdateSystemStrings;
}

// Merges a base language file into the application's "System" strings.
class TFrUpdateSystemStrings : public QDialog
{
    Q_OBJECT

public:
    explicit TFrUpdateSystemStrings(QWidget* Parent = nullptr);
    ~TFrUpdateSystemStrings() override;

    TKvCApplication* App = nullptr;

    // True when the developer confirmed and the strings were updated.
    bool Execute();
    Ui::TFrUpdateSystemStrings* ui() const { return FUi.get(); }

    void done(int Result) override;

private:
    void Search();
    std::unique_ptr<Ui::TFrUpdateSystemStrings> FUi;
};
