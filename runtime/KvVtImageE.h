#pragma once

#include <QDialog>

#include <memory>

class TKvCustomImage;
class TKvImage;

namespace Ui {
class TFrImageE;
}

// The library's image editor: an image control's picture loaded from a file or pasted, saved,
// copied or cleared, shown at its size or stretched; OK gives it back to the control.
class TFrImageE : public QDialog
{
    Q_OBJECT

public:
    explicit TFrImageE(QWidget* Parent = nullptr);
    ~TFrImageE() override;

    // Edits Image's picture (none to start with without an image); true when confirmed with OK.
    bool Execute(const QString& Caption, TKvCustomImage* Image);

    // The picture being edited: its file bytes and format.
    const TKvImage& Picture() const { return *FWork; }
    Ui::TFrImageE* ui() const { return FUi.get(); }

protected:
    void resizeEvent(QResizeEvent* Event) override;

private:
    void Load();
    void Save();
    void Copy();
    void Paste();
    void Clear();
    void ShowPicture();

    std::unique_ptr<Ui::TFrImageE> FUi;
    std::unique_ptr<TKvImage> FWork;
};
