#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFrMultiLine;
}

// A text property edited as lines in a memo. The text comes back however the window closes
// (Escape included), its lines joined with CR LF; empty lines at its end stay.
class TFrMultiLine : public QDialog
{
    Q_OBJECT

public:
    explicit TFrMultiLine(QWidget* Parent = nullptr);
    ~TFrMultiLine() override;

    // The language editor shows names it loads itself without letting them be changed.
    bool ReadOnly = false;

    // Text as it came when the memo was not edited.
    QString Execute(const QString& Caption, const QString& Text);

    Ui::TFrMultiLine* ui() const { return FUi.get(); }

protected:
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

private:
    std::unique_ptr<Ui::TFrMultiLine> FUi;
    bool FRestored = false;
};
