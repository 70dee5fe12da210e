#pragma once

#include "common/KvPkgDialogs.h"

#include <QPointer>

#include <memory>

class TKvCApplication;
class TKvPkgSetup;

namespace Ui {
class TFrSetup;
}

// The setup package of an application (its file, keys and database settings) and the hub to
// the application's language, display and variables packages. Every way of closing it is Ok;
// the setup package's own file is written then.
class TFrSetup : public TKvKeptBoundsDialog
{
    Q_OBJECT

public:
    explicit TFrSetup(QWidget* Parent = nullptr);
    ~TFrSetup() override;

    // Set before Execute.
    QPointer<TKvCApplication> CApp;

    void Execute();
    void ChangeState();

    Ui::TFrSetup* ui() const { return FUi.get(); }

    static QString FileFilter();

protected:
    void reject() override { accept(); }
    void done(int Result) override;

private:
    TKvPkgSetup* Pkg() const;
    void Modified();
    void CheckPkg();
    void EditKeys();
    void EditDataBase();
    void LoadSave(bool Load);
    void LoadFrom();

    std::unique_ptr<Ui::TFrSetup> FUi;
};

// Opens the setup editor on App; nothing without an application.
void KvEditSetup(TKvCApplication* App);
