#pragma once

#include "DesignWindows.h"

#include <QPointer>

#include <memory>

namespace Ui {
class TFrMenus;
}
class QMenu;
class TKvMenuTreeModel;

// The menu editor: the item tree of one main, popup or panel menu, beside the form designer and
// in step with its selection. One window per menu, kept in the menu.
class TFrMenus : public TDesignWindow
{
    Q_OBJECT

public:
    explicit TFrMenus(QWidget* Parent = nullptr);
    ~TFrMenus() override;

    TComponent* Menu = nullptr;

    // Builds the tree on first use and shows the window (not modally).
    void Execute();

    void ItemsModified(IDesigner* ADesigner) override;
    void SelectionChanged(IDesigner* ADesigner, const TDesignerSelectionList& ASelection) override;
    void ItemDeleted(IDesigner* ADesigner, TPersistent* Item) override;
    void EditAction(TEditAction Action) override;
    TEditState GetEditState() const override;

    TKvMenuTreeModel* Model() const { return FModel; }
    // The tree's node selected now.
    QModelIndex Selected() const;

    void InsertItem();
    void AddItem();
    void AddSubItem();
    void DeleteItem();
    void ClearAll();
    void CutItem();
    void CopyItem();
    void PasteItem();
    void ModifyItem();

protected:
    void changeEvent(QEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    std::unique_ptr<Ui::TFrMenus> ui;
    TKvMenuTreeModel* FModel;
    QMenu* FPopup;
    TDesignerSelectionList FSelectionList;
    bool FInternalCreate = false; // the window's own change is under way
    bool FFollowing = false;      // the tree follows the designer: no echo back
    QString FMenuName;            // to find the menu again when undo made it anew
    QStringList FExpanded;        // names of the expanded items across a rebuild
    QString FSelectedName;
    bool FRemembered = false;

    void Attach(TComponent* AMenu);
    // Notes the expanded and selected items by name before the tree is built anew.
    void RememberTree();
    void Select(const QModelIndex& Index, bool Edit = false);
    void TreeSelectionChanged();
    void SelectInDesigner(TPersistent* Instance);
    void UpdateCommands();
    template <class F>
    void Run(F Command);
};

// Opens the menu editor of a main, popup or panel menu, creating it on first use.
TFrMenus* KvEditMenu(TComponent* Menu, IDesigner* Designer);
