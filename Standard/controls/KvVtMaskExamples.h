#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFrMaskExamples;
}

// A ready mask the mask editor offers.
struct TKvMaskExample
{
    const char* Name;
    int DataType;
    int Size;
    int Decimals;
    const char* Text;
};
constexpr int KvMaskExampleCount = 9;
extern const TKvMaskExample KvMaskExamples[KvMaskExampleCount];

class TFrMaskExamples : public QDialog
{
    Q_OBJECT

public:
    explicit TFrMaskExamples(QWidget* Parent = nullptr);
    ~TFrMaskExamples() override;

    // The chosen example's index; -1 when cancelled or nothing is chosen.
    int Execute();

    Ui::TFrMaskExamples* ui() const { return FUi.get(); }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

private:
    void PlaceButtons();

    std::unique_ptr<Ui::TFrMaskExamples> FUi;
    bool FRestored = false;
};
