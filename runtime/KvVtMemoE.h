#pragma once

#include <QDialog>

#include <memory>

class TKvCustomMemo;

namespace Ui {
class TFrMemoE;
}

// The library's memo editor: a memo's lines as plain text, loaded from and saved to text
// files; OK gives them back to the memo.
class TFrMemoE : public QDialog
{
    Q_OBJECT

public:
    explicit TFrMemoE(QWidget* Parent = nullptr);
    ~TFrMemoE() override;

    // Edits Memo's lines (an empty text without a memo); true when confirmed with OK.
    bool Execute(const QString& Caption, TKvCustomMemo* Memo);

    Ui::TFrMemoE* ui() const { return FUi.get(); }

private:
    void Load();
    void Save();
    void ShowState();

    std::unique_ptr<Ui::TFrMemoE> FUi;
};
