#pragma once

#include "display/KvDisplayMetrics.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QSpinBox>

class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QPushButton;
class TKvPkgDisplay;

// An up-down value box of the metrics editors: digits only; left empty, it shows 0.
class TKvMetricBox : public QSpinBox
{
    Q_OBJECT

public:
    explicit TKvMetricBox(QWidget* Parent = nullptr);
    // An empty box becomes 0.
    void Normalise();

protected:
    void keyPressEvent(QKeyEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
};

// What the common windows and hints editors share: value boxes bound to a TKvMetricsEdit, the
// skin, the live example, and Ok, Cancel and Apply.
class TKvMetricsWindow : public QDialog
{
    Q_OBJECT

public:
    // Set by the caller before Execute.
    QPointer<TKvPkgDisplay> PkgDisplay;
    // Values changed since the last Apply.
    bool Modified = false;

    // 1 for Ok (the changes applied), 2 otherwise (changes since the last Apply dropped).
    int Execute();
    void Apply();
    void ButtonsState();
    void InvalidateExample();

    const TKvMetricsEdit& Edit() const { return FEdit; }
    // The example as painted last.
    const QImage& ExampleImage() const { return FExample; }

protected:
    struct TControls
    {
        QList<TKvMetricBox*> Boxes; // in the order of the model's values
        QCheckBox* CbWinRgn;
        QLineEdit* EdSkin;
        QAbstractButton* BtSkin;
        QWidget* Example;
        QPushButton* BtOk;
        QPushButton* BtCancel;
        QPushButton* BtApply;
    };
    TKvMetricsWindow(TKvMetricsEdit::TKind Kind, QWidget* Parent);
    // Called by the window once its form is set up.
    void Bind(const TControls& Controls);

    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void Changed();
    void ChooseSkin();
    void PaintExample();

    TKvMetricsEdit FEdit;
    TControls C{};
    QImage FExample;
    bool FLoading = false;
};
