#pragma once

#include "DesignWindows.h"
#include "KvStringsList.h"
#include "SysUtils.h"

#include <QPointer>

#include <array>
#include <memory>

class QAction;
class QEventLoop;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QWidget;
class TKvPkgLanguage;
class TKvPkgInfo;
class TKvPkgStrings;

namespace Ui {
class TFrPkgStrings;
}

// What the strings package editor decides without a window.

// The language package holding Pkg, or none.
TKvPkgLanguage* KvPkgStringsLanguage(const TKvPkgStrings* Pkg);
// File-backed: init mode FILE with a file name, the language package's when it holds Pkg.
bool KvPkgStringsIsSavePkg(const TKvPkgStrings* Pkg);
// A "System" package may be changed only with the application's system-editing switch on; any
// other package, and every package when there is no application, may be changed.
bool KvPkgStringsValidPkg(const QString& Name);
// "12 Labels " and, for the "System" strings of a language package, its last update.
QString KvPkgStringsStatusLine(TKvStringsKind Kind, const TKvPkgStrings* Pkg);
// The file dialogs' filter: "Package Strings (*.kvstr)|*.kvstr|All files (*.*)|*.*".
QString KvPkgStringsFileFilter(const TKvPkgStrings* Pkg);
// The row selected after row Removed went, with Count rows left: the same index, the last
// row, or none (-1).
int KvPkgStringsRowAfterDelete(int Removed, int Count);

// The editor of one strings package: its labels, messages and texts on three tabs.
class TFrPkgStrings : public TDesignWindow
{
    Q_OBJECT

public:
    explicit TFrPkgStrings(QWidget* parent = nullptr);
    ~TFrPkgStrings() override;

    // Set by the opener before Execute; Memory by the language editor, whose caller tells the
    // designer itself.
    QPointer<TKvPkgStrings> PkgStrings;
    bool Memory = false;

    // Shows the editor modally and returns when it is closed.
    void Execute();
    void DeleteLabel(TKvPkgStringsItem* Item);
    void DeleteMessage(TKvPkgStringsItem* Item);
    void DeleteText(TKvPkgStringsItem* Item);
    bool IsSavePkg() const;
    void Modified();
    void UpdateFile();
    void LoadStrings();
    bool ValidPkg(const QString& Name) const;

    bool System() const { return FSystem; }
    TKvStringsKind ActiveKind() const;
    TKvStringsModel* Model(TKvStringsKind Kind) const { return FTabs[size_t(Kind)].Model; }
    QMenu* PopupMenu(TKvStringsKind Kind) const { return FTabs[size_t(Kind)].Menu; }
    Ui::TFrPkgStrings* ui() const { return FUi.get(); }

    // The translation file last used by a translator while the editor is open.
    QString FPathTranslator;

protected:
    bool event(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void moveEvent(QMoveEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;

private:
    // The controls and rows of one tab.
    struct TTab
    {
        TKvStringsKind Kind = TKvStringsKind::Labels;
        TKvStringsListView* List = nullptr;
        TKvStringsModel* Model = nullptr;
        QWidget* PnSearch = nullptr;
        QLineEdit* EdSearch = nullptr;
        QLineEdit* EdId = nullptr;
        QWidget* LaSearch = nullptr;
        QWidget* LaId = nullptr;
        QPlainTextEdit* EdDetail = nullptr; // labels: the hint; texts: the text
        QMenu* Menu = nullptr;
        QAction* MnImport = nullptr;
        QAction* MnExport = nullptr;
        QAction* MnUpdateSystem = nullptr;
        QAction* MnProtectAll = nullptr;
        QAction* MnUnprotectAll = nullptr;
        QList<QAction*> SystemSeparators;
    };

    void BindTab(TTab& Tab);
    TTab& Active() { return FTabs[size_t(ActiveKind())]; }
    TTab& TabOf(TKvStringsKind Kind) { return FTabs[size_t(Kind)]; }
    void Prepare();
    void FillList(TTab& Tab);
    void IdChange(TTab& Tab);
    void SearchEdited(TTab& Tab, const QString& Text);
    void RowClicked(TTab& Tab, int Row);
    void SelectRow(TTab& Tab, int Row);
    void ChangeState(TTab& Tab);
    void ChangeState();
    void UpdateInfo();
    void AdjustLayout();
    void CheckItemHeight();
    void ModifiedUnlessSaved();
    void ItemsChanged();

    void AddItem();
    void ModifyItem();
    void DeleteSelected();
    void DeleteRow(TTab& Tab, int Row);
    void DeleteItem(TKvStringsKind Kind, TKvPkgStringsItem* Item);
    void ClearAll();
    void LoadSave(bool Load);
    void LoadFrom();
    void SaveTo();
    void ProtectAll(TKvStringsKind Kind, bool Value);
    void ImportList(TKvStringsKind Kind);
    void ExportList(TKvStringsKind Kind);
    void Report();
    void UpdateSystemStrings();
    void Translator();
    // Selects Id on the tab of Kind and deletes it after the usual confirmation; true when it went.
    bool DeleteId(TKvStringsKind Kind, int Id);
    void StoreBounds();
    void RecordBounds();

    std::unique_ptr<Ui::TFrPkgStrings> FUi;
    std::array<TTab, 3> FTabs;
    bool FSystem = false;
    bool FSelecting = false;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    bool FMaximized = false;
    QEventLoop* FLoop = nullptr;
    QMetaObject::Connection FAfterLoad;
};

// Opens the editor on Pkg (owned by the application, freed when it closes); nothing without one.
void KvEditPkgStrings(TKvPkgStrings* Pkg);
