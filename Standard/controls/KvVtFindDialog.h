#pragma once

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class TFrFindDialog;
}

// A small search window that stays on top of the window it belongs to; the code that shows it
// does the searching in FOnFind.
class TFrFindDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TFrFindDialog(QWidget* Parent = nullptr);
    ~TFrFindDialog() override;

    // "Search Next" calls it, when assigned, with what to find and how.
    std::function<void(TFrFindDialog* Sender)> FOnFind;

    QString FindText() const;
    bool WholeWords() const;
    bool CaseSensitive() const;
    bool Backward() const;

    Ui::TFrFindDialog* ui() const { return FUi.get(); }

private:
    std::unique_ptr<Ui::TFrFindDialog> FUi;
};

// The search window offered to other code; none of this package's editors opens it.
extern TFrFindDialog* FrFindDialog;
