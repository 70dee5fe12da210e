#include "KvComponentTreeModel.h"

#include "Classes.h"
#include "Filer.h"
#include "KvAppPackage.h"

#include <functional>

TKvComponentTreeModel::TKvComponentTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

TKvComponentTreeModel::~TKvComponentTreeModel() = default;

void TKvComponentTreeModel::SetRoot(TComponent* Root)
{
    beginResetModel();
    FRoot = Root;
    FDoomed.clear();
    FTop = Build();
    Index(FTop.get());
    endResetModel();
}

std::unique_ptr<TKvComponentTreeModel::TNode> TKvComponentTreeModel::Build() const
{
    auto Top = std::make_unique<TNode>();
    if (!FRoot || FDoomed.contains(FRoot))
        return Top;
    QSet<const TComponent*> Seen;
    std::function<void(TNode*, int)> Fill = [&](TNode* Node, int Depth) {
        if (Depth > 64)
            return;
        auto Add = [&](TComponent* Child) {
            if (!Child || FDoomed.contains(Child) || Seen.contains(Child))
                return;
            Seen.insert(Child);
            auto ChildNode = std::make_unique<TNode>();
            ChildNode->Component = Child;
            ChildNode->Parent = Node;
            ChildNode->Row = int(Node->Children.size());
            Node->Children.push_back(std::move(ChildNode));
        };
        // A frame placed inline holds its own non-visual components, as its form does.
        TComponent* Holder = Node->Component;
        Holder->GetChildren(Add, Holder != FRoot && (Holder->ComponentState() & csInline) ? Holder : FRoot);
        // What was read under a component that no parent claims (a field of a data set nobody
        // here knows) stays under it, where the form file has it.
        if (const TStreamRecord* Rec = Node->Component->StreamRecord())
            for (const QPointer<TComponent>& Child : Rec->Children)
                if (Child && Child->HasParent() && !Child->GetParentComponent())
                    Add(Child.data());
        for (auto& Child : Node->Children)
            Fill(Child.get(), Depth + 1);
    };
    auto RootNode = std::make_unique<TNode>();
    RootNode->Component = FRoot;
    RootNode->Parent = Top.get();
    Seen.insert(FRoot);
    Fill(RootNode.get(), 0);
    Top->Children.push_back(std::move(RootNode));
    return Top;
}

void TKvComponentTreeModel::Index(TNode* Node)
{
    if (Node == FTop.get())
        FNodes.clear();
    for (auto& Child : Node->Children) {
        FNodes.insert(Child->Component, Child.get());
        Index(Child.get());
    }
}

void TKvComponentTreeModel::Refresh()
{
    // Whatever was being deleted is gone by now; a component made since (undo makes them anew)
    // may live at a doomed one's address and must not be hidden.
    FDoomed.clear();
    std::unique_ptr<TNode> Fresh = Build();
    if (FTop && SameShape(FTop->Children, Fresh->Children)) {
        if (!FTop->Children.empty())
            emit dataChanged(index(0, 0), index(0, 0)); // the root row
        // Every row: names may have changed anywhere.
        std::function<void(const QModelIndex&)> Touch = [&](const QModelIndex& Parent) {
            const int Rows = rowCount(Parent);
            if (Rows == 0)
                return;
            emit dataChanged(index(0, 0, Parent), index(Rows - 1, 0, Parent));
            for (int Row = 0; Row < Rows; ++Row)
                Touch(index(Row, 0, Parent));
        };
        Touch({});
        return;
    }
    beginResetModel();
    FTop = std::move(Fresh);
    Index(FTop.get());
    endResetModel();
}

void TKvComponentTreeModel::ItemDeleted(TPersistent* Item)
{
    if (!FNodes.contains(static_cast<const TComponent*>(Item)))
        return;
    FDoomed.insert(Item);
    beginResetModel();
    FTop = Build();
    Index(FTop.get());
    endResetModel();
}

QModelIndex TKvComponentTreeModel::IndexOf(const TComponent* Component) const
{
    TNode* Node = FNodes.value(Component);
    return Node ? createIndex(Node->Row, 0, Node) : QModelIndex();
}

TComponent* TKvComponentTreeModel::ComponentAt(const QModelIndex& Index) const
{
    TNode* Node = NodeOf(Index);
    return Node ? Node->Component : nullptr;
}

TKvComponentTreeModel::TNode* TKvComponentTreeModel::NodeOf(const QModelIndex& Index) const
{
    return Index.isValid() ? static_cast<TNode*>(Index.internalPointer()) : nullptr;
}

QModelIndex TKvComponentTreeModel::index(int Row, int Column, const QModelIndex& Parent) const
{
    const TNode* Node = Parent.isValid() ? NodeOf(Parent) : FTop.get();
    if (!Node || Column != 0 || Row < 0 || Row >= int(Node->Children.size()))
        return {};
    return createIndex(Row, 0, Node->Children[size_t(Row)].get());
}

QModelIndex TKvComponentTreeModel::parent(const QModelIndex& Child) const
{
    const TNode* Node = NodeOf(Child);
    if (!Node || Node->Parent == FTop.get())
        return {};
    return createIndex(Node->Parent->Row, 0, Node->Parent);
}

int TKvComponentTreeModel::rowCount(const QModelIndex& Parent) const
{
    const TNode* Node = Parent.isValid() ? NodeOf(Parent) : FTop.get();
    return Node ? int(Node->Children.size()) : 0;
}

int TKvComponentTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant TKvComponentTreeModel::data(const QModelIndex& Index, int Role) const
{
    const TNode* Node = NodeOf(Index);
    if (!Node)
        return {};
    const TComponent* C = Node->Component;
    switch (Role) {
    case Qt::DisplayRole: {
        const QString Name = C->GetName().isEmpty() ? QStringLiteral("(unnamed)") : C->GetName();
        return QStringLiteral("%1: %2").arg(Name, C->ClassName());
    }
    case Qt::DecorationRole:
        return KvPaletteIcon(C->metaObject());
    case Qt::ToolTipRole:
        return C->ClassName();
    default:
        return {};
    }
}

bool TKvComponentTreeModel::SameShape(const std::vector<std::unique_ptr<TNode>>& A,
                                      const std::vector<std::unique_ptr<TNode>>& B)
{
    if (A.size() != B.size())
        return false;
    for (size_t I = 0; I < A.size(); ++I)
        if (A[I]->Component != B[I]->Component || !SameShape(A[I]->Children, B[I]->Children))
            return false;
    return true;
}
