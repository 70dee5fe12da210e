#pragma once

#include <QDialog>

#include <memory>

class QAbstractScrollArea;
class TKvScrollBarSettings;

namespace Ui {
class TFrScrollBars;
}

// Gives both scroll bars of Area the settings' thickness, tracking and arrow step.
void KvApplyScrollBars(QAbstractScrollArea* Area, const TKvScrollBarSettings& Settings);

// A scroll box of 300 pixels both ways showing the application's scroll-bar settings; Escape
// closes it.
class TFrScrollBars : public QDialog
{
    Q_OBJECT

public:
    static constexpr int Range = 300;

    explicit TFrScrollBars(QWidget* Parent = nullptr);
    ~TFrScrollBars() override;

    // Shows the window with Caption, the active application's settings applied.
    void Execute(const QString& Caption);

    Ui::TFrScrollBars* ui() const { return FUi.get(); }

private:
    std::unique_ptr<Ui::TFrScrollBars> FUi;
};
