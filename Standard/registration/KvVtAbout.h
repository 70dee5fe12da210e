#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>
#include <memory>

namespace Ui {
class TFrAbout;
}

// The library's About box: its version, the folders it and its packages are installed in, and
// links to its maker.
class TFrAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TFrAbout(QWidget* Parent = nullptr);
    ~TFrAbout() override;

    int Execute();

private:
    std::unique_ptr<Ui::TFrAbout> Ui;
};

// Opens a link as the desktop does; tests replace it so that no browser starts.
extern std::function<void(const QUrl&)> KvShellOpen;

// The About box open right now, if any.
extern TFrAbout* FrAbout;

// Shows the About box modally.
void KvShowAbout(QWidget* Parent);
