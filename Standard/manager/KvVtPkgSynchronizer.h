#pragma once

#include "manager/KvPkgSynchronize.h"

#include <QDialog>

#include <memory>

class TKvPkgInfo;
class QListWidget;

namespace Ui {
class TFrPkgSynchronizer;
}

// Synchronizes the package being edited (the master) with package files of its kind: "from"
// one chosen file into the master, or "to" any number of files of the application folder.
class TFrPkgSynchronizer : public QDialog
{
    Q_OBJECT

public:
    explicit TFrPkgSynchronizer(QWidget* Parent = nullptr);
    ~TFrPkgSynchronizer() override;

    // Set by the caller before Execute.
    TKvPkgInfo* Pkg = nullptr;
    QString sExt;
    QString sFilter;

    // True when closed with Ok.
    bool Execute();
    // Everything Execute does but showing the window.
    void Prepare();
    // Runs the current mode once; false when anything failed (then told with message 66).
    bool Synchronize();
    void ChangeState();

    Ui::TFrPkgSynchronizer* ui() const { return FUi.get(); }

protected:
    void done(int Result) override;
    void showEvent(QShowEvent* Event) override;

private:
    TKvSyncOptions Options() const;
    void Move(QListWidget* From, QListWidget* To, bool All);
    void Search();

    std::unique_ptr<Ui::TFrPkgSynchronizer> FUi;
};

// Opens the synchronizer on Pkg; true when it was closed with Ok.
bool KvShowSynchronizer(QWidget* Parent, TKvPkgInfo* Pkg);
