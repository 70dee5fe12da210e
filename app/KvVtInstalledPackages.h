#pragma once

#include "KvAppPackage.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TFrInstalledPackages;
}

// The design packages the host has loaded: each with its description, its palette pages and
// how many components each page holds.
class TFrInstalledPackages : public QDialog
{
    Q_OBJECT

public:
    explicit TFrInstalledPackages(QWidget* Parent = nullptr);
    ~TFrInstalledPackages() override;

    void SetPackages(const QList<TKvInstalledPackage>& Packages);

private:
    void ShowDescription();

    std::unique_ptr<Ui::TFrInstalledPackages> ui;
};
