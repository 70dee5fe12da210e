#pragma once

#include <QDialog>

#include <memory>

class TKvCApplication;

namespace Ui {
class TFrUpdateSystemImages;
}

// Rebuilds the display package's system images from a display file.
class TFrUpdateSystemImages : public QDialog
{
    Q_OBJECT

public:
    explicit TFrUpdateSystemImages(QWidget* Parent = nullptr);
    ~TFrUpdateSystemImages() override;

    TKvCApplication* App = nullptr;

    // True when the images were rebuilt.
    bool Execute();
    Ui::TFrUpdateSystemImages* ui() const { return FUi.get(); }

    void done(int Result) override;

private:
    void Search();
    std::unique_ptr<Ui::TFrUpdateSystemImages> FUi;
};
