#pragma once

#include "manager/KvManagerScan.h"
#include "strings/KvStringsList.h"

#include <QDialog>

#include <memory>

class QStandardItemModel;
class TKvPkgPrivilegesItem;

namespace Ui {
class TFrManager;
}

enum class TKvModeScan { msnNone, msnScan, msnCounter };

// What a privileges window (the editor or the picker) that opens the manager implements: after
// a count, Clear deletes each unused privilege of the application through it, so that the
// window's list follows. The manager never deletes a privilege without such an owner.
class IKvPrivilegesOwner
{
public:
    virtual ~IKvPrivilegesOwner() = default;
    virtual void DeleteItem(TKvPkgPrivilegesItem* Item) = 0;
};

// The package manager: finds the references to one package item in the project's forms (Scan),
// points them at another item (Replace) or removes them (Clear), and counts the uses of every
// item of some packages (Scan Counter), after which Clear deletes the unused ones through the
// window that opened the manager.
class TFrManager : public QDialog
{
    Q_OBJECT

public:
    explicit TFrManager(QWidget* Owner = nullptr);
    ~TFrManager() override;

    void Execute(TKvDlgManager Kind, const QString& PkgName, const QString& Id);
    // Everything Execute does but showing the window.
    void Prepare(TKvDlgManager Kind, const QString& PkgName, const QString& Id);

    void BtScanClick();
    void BtCounterClick();
    void BtReplaceClick();
    void BtClearClick();
    void UpdateInfo();
    void ClearListBox();
    void AdjustComponents();

    TKvModeScan ModeScan() const { return FModeScan; }
    QStandardItemModel* Model() const { return FModel; }
    Ui::TFrManager* ui() const { return FUi.get(); }

protected:
    void resizeEvent(QResizeEvent* Event) override;
    void showEvent(QShowEvent* Event) override;

private:
    void Fill();
    void ItemClicked(int Row);
    void SearchChanged();
    void ReportNotChanged(int Count);
    void ClearLinesCounter();
    QList<TKvTokenRec1> CheckedScans() const;
    QString SearchPkg() const;

    std::unique_ptr<Ui::TFrManager> FUi;
    QStandardItemModel* FModel;
    TKvDlgManager FTypeDlg = TKvDlgManager::dlmLabels;
    TKvModeScan FModeScan = TKvModeScan::msnNone;
    bool FDirectAssign = false;
    QList<TKvTokenRec1> FScans;
    QList<TKvTokenRec2> FCounts;
};

// The manager's kind for a strings list: labels 4, messages 6, texts 5.
TKvDlgManager KvManagerKindOf(TKvStringsKind Kind);

// Opens the manager owned by Owner (the window that deletes unused items) and returns when it
// is closed.
void KvShowManager(QWidget* Owner, TKvDlgManager Kind, const QString& PkgName, const QString& Id);
