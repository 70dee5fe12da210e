#pragma once

#include "common/KvPkgDialogs.h"

#include <memory>

namespace Ui {
class TFrMemoryLabelAddMultiLine;
}

// A label's text, one line per line, edited in a memo; the caller takes the memo's text back
// however the window closes.
class TFrMemoryLabelAddMultiLine : public TKvKeptBoundsDialog
{
    Q_OBJECT

public:
    explicit TFrMemoryLabelAddMultiLine(QWidget* Parent = nullptr);
    ~TFrMemoryLabelAddMultiLine() override;

    // Lines are taken apart at CR LF, LF or CR and joined with CR LF.
    void SetText(const QString& Text);
    QString Text() const;
    int Execute();

    Ui::TFrMemoryLabelAddMultiLine* ui() const { return FUi.get(); }

private:
    std::unique_ptr<Ui::TFrMemoryLabelAddMultiLine> FUi;
};
