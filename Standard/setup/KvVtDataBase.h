#pragma once

#include "KvPkgSetup.h"
#include "common/KvPkgDialogs.h"

#include <QPointer>

#include <memory>

namespace Ui {
class TFrDataBase;
}

// The database engine and formats of a setup package, written only on Ok.
class TFrDataBase : public TKvKeptBoundsDialog
{
    Q_OBJECT

public:
    explicit TFrDataBase(QWidget* Parent = nullptr);
    ~TFrDataBase() override;

    // The package whose settings are edited; set before Execute.
    QPointer<TKvPkgSetup> PkgSetup;

    // 1 for Ok, 2 for Cancel.
    int Execute();
    // The engine's rule on the controls; the format controls are enabled for the custom engine only.
    void LoadEngine();

    Ui::TFrDataBase* ui() const { return FUi.get(); }

protected:
    void done(int Result) override;

private:
    TKvPkgSetupDataBase Shown() const;
    void Show(const TKvPkgSetupDataBase& DataBase);

    std::unique_ptr<Ui::TFrDataBase> FUi;
};
