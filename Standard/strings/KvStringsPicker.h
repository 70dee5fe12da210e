#pragma once

#include "KvStringsList.h"
#include "common/KvPkgDialogs.h"

#include "KvPkgStrings.h"

#include <QPointer>

#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class TKvMemoryReference;
class TKvStringsItemDialog;

// Whether a picker may change the package of that name: "System" only with the application's
// system-editing switch on. Without an application a picker treats "System" as read-only.
bool KvPickerValidPkg(const QString& Name);

// The package and id a picker opens on: the default ones for a reference at its default,
// else its own; an empty package name reads "User".
struct TKvPickerTarget
{
    QString PkgName;
    int Id = -1;
};
TKvPickerTarget KvPickerInitialTarget(const TKvMemoryReference* Reference);

// The id a picker writes from its id box: text that is no number means the default when the
// reference has one, else none; a confirmed choice of exactly the default package (any case) and
// id becomes the default.
int KvPickerResultId(const TKvMemoryReference* Reference, const QString& PkgName, const QString& IdText,
                     bool Confirmed);

// The controls every picker has; the windows hand theirs over after setupUi.
struct TKvPickerControls
{
    QComboBox* EdPackage = nullptr;
    QLineEdit* EdSearch = nullptr;
    QLineEdit* EdId = nullptr;
    TKvStringsListView* List = nullptr;
    QLabel* LaStatus = nullptr;
    QPushButton* BtAdd = nullptr;
    QPushButton* BtModify = nullptr;
    QPushButton* BtDelete = nullptr;
    QPushButton* BtNull = nullptr;
    QPushButton* BtOk = nullptr;
    QPushButton* BtCancel = nullptr;
    QPushButton* BtDefault = nullptr;
    QPushButton* BtManager = nullptr;
    QRadioButton* OrderLabel = nullptr; // labels only
    QRadioButton* OrderId = nullptr;
    QPlainTextEdit* EdDetail = nullptr; // labels: the hint; texts: the text; messages: none
};

// A modal picker of one item of a strings package, for a label, message or text reference. It
// also adds, modifies and deletes items of the package shown.
class TKvStringsPicker : public TKvKeptBoundsDialog
{
    Q_OBJECT

public:
    ~TKvStringsPicker() override;

    // 1 when the developer confirmed (the reference then holds the choice), 2 otherwise.
    int Execute();
    // Removes the row of Item and the item itself, without asking; nothing when no row holds it.
    void DeleteItem(TKvPkgStringsItem* Item);

    TKvPkgStrings* Pkg() const { return FPkg; }
    bool System() const { return FSystem; }
    TKvStringsModel* Model() const { return FModel; }
    QAction* MnProtectAll() const { return FMnProtectAll; }
    QAction* MnUnprotectAll() const { return FMnUnprotectAll; }
    QMenu* PopupMenu() const { return FMenu; }

    void done(int Result) override;

protected:
    TKvStringsPicker(TKvStringsKind Kind, QWidget* Parent);
    void Bind(const TKvPickerControls& Controls);
    virtual TKvMemoryReference* Reference() const = 0;
    virtual std::unique_ptr<TKvStringsItemDialog> CreateItemDialog() = 0;

private:
    void PackageChange();
    void LoadList();
    void IdChange();
    void ChangeState();
    void UpdateInfo();
    void Modified();
    void SaveShown();
    void RowClicked(int Row);
    void SearchEdited(const QString& Text);
    void AddItem();
    void ModifyItem();
    void DeleteRow(int Row);
    void ProtectAll(bool Value);
    void Changed();
    void SelectRow(int Row);

    TKvStringsKind FKind;
    TKvPickerControls C;
    TKvStringsModel* FModel;
    QPointer<TKvPkgStrings> FPkg;
    bool FSystem = false;
    bool FSelecting = false;
    QMenu* FMenu;
    QAction* FMnProtectAll;
    QAction* FMnUnprotectAll;
};
