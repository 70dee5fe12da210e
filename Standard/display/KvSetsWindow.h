#pragma once

#include "KvSetsList.h"

#include <QDialog>
#include <QPointer>

class QLineEdit;
class QPushButton;
class QStatusBar;
class TKvCApplication;
class TKvDisplaySet;
class TKvPkgDisplay;

// The controls a sets list window has; pickers also have Null, Default and Cancel.
struct TKvSetsControls
{
    QLineEdit* EdDescrip = nullptr;
    TKvSetsListView* List = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QWidget* PnButtons = nullptr;
    QPushButton* BtManager = nullptr;
    QPushButton* BtAdd = nullptr;
    QPushButton* BtModify = nullptr;
    QPushButton* BtDelete = nullptr;
    QPushButton* BtNull = nullptr;
    QPushButton* BtDefault = nullptr;
    QPushButton* BtOk = nullptr;
    QPushButton* BtCancel = nullptr;
};

// What the set pickers and the sets editors share: the sorted list of one kind of sets of the
// application's display package, the search by name, and adding, modifying and deleting sets.
class TKvSetsWindow : public QDialog
{
    Q_OBJECT

public:
    ~TKvSetsWindow() override;

    // The application component whose display package is shown.
    QPointer<TKvCApplication> CApplication;

    TKvSetKind Kind() const { return FKind; }
    TKvPkgDisplay* Pkg() const;
    TKvSetsModel* Model() const { return FModel; }

    void Load();
    // Makes the set of that name current and shows its name; else no set is current and Name
    // is shown as given.
    void Change(const QString& Name);
    void ChangeState();
    void UpdateInfo();
    void CheckItemHeight();
    void AdjustComponents();
    // Removes the row of Set and the set itself, without asking; nothing when no row holds it.
    void DeleteItem(TKvDisplaySet* Set);
    void AddSet();
    void ModifySet();

protected:
    TKvSetsWindow(TKvSetKind Kind, QWidget* Parent);
    void Bind(const TKvSetsControls& Controls);
    // Both windows caption themselves "SetsColor (Application1)".
    void SetCaption();
    // After a change of the package: pickers mark the form of a package kept in it.
    virtual void Modified() {}
    virtual void RowDoubleClicked() = 0;

    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void showEvent(QShowEvent* Event) override;
    void hideEvent(QHideEvent* Event) override;

    TKvSetsControls C;

private:
    void SelectRow(int Row);
    void DeleteRow(int Row);
    void SearchEdited(const QString& Text);

    TKvSetKind FKind;
    TKvSetsModel* FModel;
    bool FSelecting = false;
    bool FRestored = false;
};
