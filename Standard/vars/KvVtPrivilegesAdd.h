#pragma once

#include <QDialog>
#include <QPointer>

#include "KvPkgPrivileges.h"

#include <memory>

class TKvMemoryLabel;

namespace Ui {
class TFrPrivilegesAdd;
}

// Adds a privilege to PkgPrivileges or changes one: id, description typed or taken from a label,
// access and visibility. Ok stores it and stays open when the package refuses it.
class TFrPrivilegesAdd : public QDialog
{
    Q_OBJECT

public:
    explicit TFrPrivilegesAdd(QWidget* Parent = nullptr);
    ~TFrPrivilegesAdd() override;

    // Set by the caller before Execute.
    QPointer<TKvPkgPrivileges> PkgPrivileges;
    bool FModify = false;

    void SetValues(int Id, const QString& Description, int Access, bool Visible);
    // The describing label the dialog starts with (id -1: none).
    void SetLabel(const QString& PkgName, int Id);
    QString IdText() const;
    TKvMemoryLabel* MemoryLabel() const { return FMemoryLabel.get(); }

    // 1 when the privilege was stored, 2 otherwise.
    int Execute();
    void done(int Result) override;
    // Shows the describing label; a typed description applies only without one.
    void UpdateReference();

    Ui::TFrPrivilegesAdd* ui() const { return FUi.get(); }

private:
    void PickLabel();

    std::unique_ptr<Ui::TFrPrivilegesAdd> FUi;
    std::unique_ptr<TKvMemoryLabel> FMemoryLabel;
    QString FIdOld;
};
