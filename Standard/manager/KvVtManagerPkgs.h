#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TFrManagerPkgs;
}

// Chooses the packages whose items a count lists; every package but "System" starts checked.
class TFrManagerPkgs : public QDialog
{
    Q_OBJECT

public:
    explicit TFrManagerPkgs(QWidget* Parent = nullptr);
    ~TFrManagerPkgs() override;

    void SetPackages(const QStringList& Names);
    QStringList Checked() const;

    Ui::TFrManagerPkgs* ui() const { return FUi.get(); }

protected:
    void resizeEvent(QResizeEvent* Event) override;

private:
    std::unique_ptr<Ui::TFrManagerPkgs> FUi;
};
