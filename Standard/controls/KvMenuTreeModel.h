#pragma once

#include "DesignIntf.h"

#include <QAbstractItemModel>
#include <QPointer>

#include <memory>

class TKvMenuItem;

// The item tree of a main, popup or panel menu as the menu editor shows it: one root node for the
// menu, under it and under every item with sub-items one node per item followed by a placeholder
// ("<Eof>") that marks the place after the last one. The tree is always what the menu holds:
// every command changes the menu through the designer, as one step the user can undo, and then
// the tree follows the menu again.
class TKvMenuTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    // The drag format: the source editor's model and the dragged item's row path.
    static constexpr char MimeType[] = "application/x-kv-menu-item";
    // A menu bar takes at most this many top-level nodes, the placeholder counted.
    static constexpr int MaxTopLevel = 31;

    explicit TKvMenuTreeModel(QObject* Parent = nullptr);
    ~TKvMenuTreeModel() override;

    void SetMenu(TComponent* Menu);
    TComponent* Menu() const { return FMenu; }
    void SetDesigner(IDesigner* Designer) { FDesigner = Designer; }
    IDesigner* Designer() const { return FDesigner; }

    // Follows the menu: rebuilds when its tree changed, else refreshes the texts.
    void Sync();

    QModelIndex RootIndex() const;
    QModelIndex IndexOf(const TComponent* ItemOrMenu) const;
    // The item of a node; none for the root and the placeholders.
    TKvMenuItem* ItemAt(const QModelIndex& Index) const;
    bool IsRoot(const QModelIndex& Index) const;
    bool IsPlaceholder(const QModelIndex& Index) const;
    // Menu name and captions from the root down, joined by "/".
    QString PathOf(const QModelIndex& Index) const;
    int NodeCount() const { return FNodeCount; }

    // The commands; each gives the node to select afterwards (invalid: nothing happened).
    QModelIndex InsertItem(const QModelIndex& Selected);
    QModelIndex AddItem(const QModelIndex& Selected);
    QModelIndex AddSubItem(const QModelIndex& Selected);
    QModelIndex DeleteItem(const QModelIndex& Selected);
    void ClearAll();
    void CopyItem(const QModelIndex& Selected) const;
    QModelIndex CutItem(const QModelIndex& Selected);
    QModelIndex Paste(const QModelIndex& Selected);
    // Moves an item of this menu before the target node.
    QModelIndex MoveItem(TKvMenuItem* Item, const QModelIndex& Target);
    // Copies an item of another menu, with its sub-items, before the target node.
    QModelIndex CopyItemFrom(const TKvMenuItem* Source, const QModelIndex& Target);
    bool CanDropAt(const QModelIndex& Target) const;

    // The first "KvMenuItem<n>" (after the class name) no other component of the form carries.
    static QString UniqueItemName(const TComponent* Form, const TComponent* Item);

    QModelIndex index(int Row, int Column, const QModelIndex& Parent = {}) const override;
    QModelIndex parent(const QModelIndex& Index) const override;
    int rowCount(const QModelIndex& Parent = {}) const override;
    int columnCount(const QModelIndex& Parent = {}) const override;
    QVariant data(const QModelIndex& Index, int Role) const override;
    bool setData(const QModelIndex& Index, const QVariant& Value, int Role) override;
    Qt::ItemFlags flags(const QModelIndex& Index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& Indexes) const override;
    bool canDropMimeData(const QMimeData* Data, Qt::DropAction Action, int Row, int Column,
                         const QModelIndex& Parent) const override;
    bool dropMimeData(const QMimeData* Data, Qt::DropAction Action, int Row, int Column,
                      const QModelIndex& Parent) override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;

signals:
    // A drop placed an item at this node.
    void DropDone(const QModelIndex& Placed);

private:
    struct TNode;

    QPointer<TComponent> FMenu;
    IDesigner* FDesigner = nullptr;
    std::unique_ptr<TNode> FRoot;
    int FNodeCount = 0;

    TNode* NodeAt(const QModelIndex& Index) const;
    QModelIndex IndexOfNode(const TNode* Node) const;
    void Build();
    bool SameShape(const TNode* Node, const TKvMenuItem* Item) const;
    void RefreshTexts(const TNode* Node);
    // The item list and position a new item takes when placed at Selected.
    bool PlaceAt(const QModelIndex& Selected, TKvMenuItem*& Parent, int& Index) const;
    TKvMenuItem* NewItem(TKvMenuItem* Parent, int Index);
    TKvMenuItem* CopyTree(const TKvMenuItem* Source, TKvMenuItem* Parent, int Index);
    // The dragged item a drop carries, and the model it comes from.
    const TKvMenuItem* DraggedItem(const QMimeData* Data, const TKvMenuTreeModel** Source) const;
};
