#pragma once

#include <QAbstractItemModel>
#include <QSet>

#include <memory>
#include <vector>

class TComponent;
class TPersistent;

// The components of a form as the form file nests them: the root, then what it holds
// (non-visual components, controls inside their parents, menu items under their menus).
class TKvComponentTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit TKvComponentTreeModel(QObject* parent = nullptr);
    ~TKvComponentTreeModel() override;

    void SetRoot(TComponent* Root);
    TComponent* Root() const { return FRoot; }
    // Reads the form again. When nothing moved, was added or removed, the rows stay (and so do
    // the view's selection and expanded rows); only their text is refreshed.
    void Refresh();
    // Item is going away: its row (and the rows under it) go at once.
    void ItemDeleted(TPersistent* Item);

    QModelIndex IndexOf(const TComponent* Component) const;
    TComponent* ComponentAt(const QModelIndex& Index) const;

    QModelIndex index(int Row, int Column, const QModelIndex& Parent = {}) const override;
    QModelIndex parent(const QModelIndex& Child) const override;
    int rowCount(const QModelIndex& Parent = {}) const override;
    int columnCount(const QModelIndex& Parent = {}) const override;
    QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;

private:
    struct TNode
    {
        TComponent* Component = nullptr;
        TNode* Parent = nullptr;
        int Row = 0;
        std::vector<std::unique_ptr<TNode>> Children;
    };

    TComponent* FRoot = nullptr;
    std::unique_ptr<TNode> FTop; // holds the root's node
    QHash<const TComponent*, TNode*> FNodes;
    QSet<const TPersistent*> FDoomed;

    std::unique_ptr<TNode> Build() const;
    static bool SameShape(const std::vector<std::unique_ptr<TNode>>& A, const std::vector<std::unique_ptr<TNode>>& B);
    void Index(TNode* Node);
    TNode* NodeOf(const QModelIndex& Index) const;
};
