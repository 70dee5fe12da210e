#include "KvPkgVarsModel.h"

#include "KvApplication.h"
#include "KvPkgLanguage.h"
#include "KvUtils.h"

#include <algorithm>

QChar KvPkgVarsSeparator()
{
    const TKvCApplication* App = KvCApp();
    const TKvPkgLanguage* Language = App ? App->PkgLanguage() : nullptr;
    return Language ? Language->Locale().NumericDecimalSeparator : QChar(u'.');
}

QString KvPkgVarsTypeName(TKvPkgVarsItemType Type)
{
    static const char* const Names[] = {"Boolean", "Integer", "Float", "String", "Folder"};
    return QString::fromLatin1(Names[std::clamp(int(Type), 0, 4)]);
}

QString KvPkgVarsNewName(const TKvPkgVarsItem* Folder, const QString& Base)
{
    for (int N = 1;; ++N) {
        const QString Name = Base + QString::number(N);
        if (!Folder || !Folder->FindChild(Name))
            return Name;
    }
}

QString KvPkgVarsStatusLine(const TKvPkgVars* Pkg, const TKvPkgVarsItem* Folder)
{
    const QString Name = Pkg ? Pkg->PkgName() : QString();
    if (!Folder || !Folder->Parent())
        return Name;
    return Name + QLatin1Char('\\') + Folder->Path();
}

QString KvPkgVarsFileFilter(const TKvPkgVars* Pkg)
{
    const QString P = QLatin1Char('*') + KvAddPointExt(Pkg ? Pkg->DefaultExt() : QStringLiteral("kvvar"));
    return QStringLiteral("Package Vars (") + P + QStringLiteral(")|") + P + QStringLiteral("|All files (*.*)|*.*");
}

TPersistent* KvPkgVarsModifiedTarget(TKvPkgVars* Pkg)
{
    if (!Pkg)
        return nullptr;
    if (auto* App = qobject_cast<TKvCApplication*>(Pkg->Owner()))
        return App;
    return Pkg;
}

// ---------------------------------------------------------------------------------------------

namespace {

bool IdentLess(const QString& A, const QString& B)
{
    return A.compare(B, Qt::CaseInsensitive) < 0;
}

} // namespace

TKvVarsTreeModel::TKvVarsTreeModel(QObject* Parent) : QAbstractItemModel(Parent), FRoot(std::make_unique<TNode>()) {}

TKvVarsTreeModel::~TKvVarsTreeModel() = default;

void TKvVarsTreeModel::SetPkg(TKvPkgVars* Pkg)
{
    beginResetModel();
    FPkg = Pkg;
    FRoot = std::make_unique<TNode>();
    FNodes.clear();
    if (Pkg) {
        FRoot->Item = Pkg->Root();
        FNodes.insert(FRoot->Item, FRoot.get());
        Build(FRoot.get());
    }
    endResetModel();
}

void TKvVarsTreeModel::Build(TNode* Node)
{
    const TKvPkgVarsItem* Folder = Node->Item;
    for (int I = 0, N = Folder->Count(); I < N; ++I) {
        TKvPkgVarsItem* Child = Folder->Items(I);
        if (!Child->IsFolder())
            continue;
        auto ChildNode = std::make_unique<TNode>();
        ChildNode->Item = Child;
        ChildNode->Parent = Node;
        FNodes.insert(Child, ChildNode.get());
        Build(ChildNode.get());
        Node->Children.push_back(std::move(ChildNode));
    }
    std::sort(Node->Children.begin(), Node->Children.end(),
              [](const auto& A, const auto& B) { return IdentLess(A->Item->Ident(), B->Item->Ident()); });
}

TKvVarsTreeModel::TNode* TKvVarsTreeModel::NodeOf(const QModelIndex& Index) const
{
    return Index.isValid() ? static_cast<TNode*>(Index.internalPointer()) : nullptr;
}

int TKvVarsTreeModel::RowOf(const TNode* Node) const
{
    if (!Node->Parent)
        return 0;
    const auto& Siblings = Node->Parent->Children;
    const auto It = std::find_if(Siblings.begin(), Siblings.end(), [Node](const auto& P) { return P.get() == Node; });
    return int(It - Siblings.begin());
}

QModelIndex TKvVarsTreeModel::IndexOfNode(const TNode* Node) const
{
    return Node ? createIndex(RowOf(Node), 0, const_cast<TNode*>(Node)) : QModelIndex();
}

QModelIndex TKvVarsTreeModel::RootIndex() const
{
    return FPkg ? IndexOfNode(FRoot.get()) : QModelIndex();
}

TKvPkgVarsItem* TKvVarsTreeModel::Folder(const QModelIndex& Index) const
{
    const TNode* Node = NodeOf(Index);
    return Node ? Node->Item : nullptr;
}

QModelIndex TKvVarsTreeModel::IndexOf(const TKvPkgVarsItem* Folder) const
{
    return IndexOfNode(FNodes.value(Folder));
}

// The place among Parent's children, Except left out, where Ident keeps them sorted.
int TKvVarsTreeModel::SortedRow(const TNode* Parent, const QString& Ident, const TNode* Except) const
{
    int Row = 0;
    for (const auto& Child : Parent->Children)
        if (Child.get() != Except && IdentLess(Child->Item->Ident(), Ident))
            ++Row;
    return Row;
}

QModelIndex TKvVarsTreeModel::AddFolder(const QModelIndex& Parent, TKvPkgVarsItem* Folder)
{
    TNode* ParentNode = NodeOf(Parent);
    if (!ParentNode || !Folder)
        return {};
    const int Row = SortedRow(ParentNode, Folder->Ident(), nullptr);
    beginInsertRows(Parent, Row, Row);
    auto Node = std::make_unique<TNode>();
    Node->Item = Folder;
    Node->Parent = ParentNode;
    FNodes.insert(Folder, Node.get());
    Build(Node.get());
    ParentNode->Children.insert(ParentNode->Children.begin() + Row, std::move(Node));
    endInsertRows();
    return index(Row, 0, Parent);
}

void TKvVarsTreeModel::Forget(TNode* Node)
{
    FNodes.remove(Node->Item);
    for (const auto& Child : Node->Children)
        Forget(Child.get());
}

void TKvVarsTreeModel::DeleteFolder(const QModelIndex& Index)
{
    TNode* Node = NodeOf(Index);
    if (!Node || !Node->Parent)
        return;
    TKvPkgVarsItem* Item = Node->Item;
    const int Row = Index.row();
    beginRemoveRows(Index.parent(), Row, Row);
    Forget(Node);
    auto& Siblings = Node->Parent->Children;
    Siblings.erase(Siblings.begin() + Row);
    endRemoveRows();
    delete Item;
}

void TKvVarsTreeModel::ClearFolders()
{
    beginResetModel();
    FNodes.clear();
    FRoot->Children.clear();
    if (FRoot->Item)
        FNodes.insert(FRoot->Item, FRoot.get());
    endResetModel();
}

QModelIndex TKvVarsTreeModel::NextInOrder(const QModelIndex& Index) const
{
    const TNode* Node = NodeOf(Index);
    if (!Node)
        return {};
    if (!Node->Children.empty())
        return IndexOfNode(Node->Children.front().get());
    for (; Node->Parent; Node = Node->Parent) {
        const auto& Siblings = Node->Parent->Children;
        const int Row = RowOf(Node);
        if (Row + 1 < int(Siblings.size()))
            return IndexOfNode(Siblings[size_t(Row) + 1].get());
    }
    return {};
}

QModelIndex TKvVarsTreeModel::PrevInOrder(const QModelIndex& Index) const
{
    const TNode* Node = NodeOf(Index);
    if (!Node || !Node->Parent)
        return {};
    const int Row = RowOf(Node);
    if (Row == 0)
        return IndexOfNode(Node->Parent);
    const TNode* Prev = Node->Parent->Children[size_t(Row) - 1].get();
    while (!Prev->Children.empty())
        Prev = Prev->Children.back().get();
    return IndexOfNode(Prev);
}

QModelIndex TKvVarsTreeModel::index(int Row, int Column, const QModelIndex& Parent) const
{
    if (Column != 0 || Row < 0 || !FPkg)
        return {};
    if (!Parent.isValid())
        return Row == 0 ? createIndex(0, 0, FRoot.get()) : QModelIndex();
    const TNode* Node = NodeOf(Parent);
    if (Row >= int(Node->Children.size()))
        return {};
    return createIndex(Row, 0, Node->Children[size_t(Row)].get());
}

QModelIndex TKvVarsTreeModel::parent(const QModelIndex& Child) const
{
    const TNode* Node = NodeOf(Child);
    return Node && Node->Parent ? IndexOfNode(Node->Parent) : QModelIndex();
}

int TKvVarsTreeModel::rowCount(const QModelIndex& Parent) const
{
    if (!FPkg)
        return 0;
    if (!Parent.isValid())
        return 1;
    return int(NodeOf(Parent)->Children.size());
}

int TKvVarsTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant TKvVarsTreeModel::data(const QModelIndex& Index, int Role) const
{
    const TNode* Node = NodeOf(Index);
    if (!Node || (Role != Qt::DisplayRole && Role != Qt::EditRole))
        return {};
    if (Node->Parent)
        return Node->Item->Ident();
    return FPkg->PkgName().isEmpty() ? QStringLiteral("Unknown") : FPkg->PkgName();
}

bool TKvVarsTreeModel::setData(const QModelIndex& Index, const QVariant& Value, int Role)
{
    TNode* Node = NodeOf(Index);
    if (!Node || !Node->Parent || Role != Qt::EditRole)
        return false;
    const QString Ident = Value.toString();
    try {
        Node->Item->SetIdent(Ident);
    } catch (const Exception& E) {
        emit Error(E.Message);
        return false;
    }
    // Back to its sorted place among its siblings.
    const int Row = Index.row();
    const int Wanted = SortedRow(Node->Parent, Ident, Node);
    if (Wanted != Row) {
        const QModelIndex ParentIndex = Index.parent();
        beginMoveRows(ParentIndex, Row, Row, ParentIndex, Wanted > Row ? Wanted + 1 : Wanted);
        auto& Siblings = Node->Parent->Children;
        if (Wanted > Row)
            std::rotate(Siblings.begin() + Row, Siblings.begin() + Row + 1, Siblings.begin() + Wanted + 1);
        else
            std::rotate(Siblings.begin() + Wanted, Siblings.begin() + Row, Siblings.begin() + Row + 1);
        endMoveRows();
    }
    const QModelIndex Moved = IndexOfNode(Node);
    emit dataChanged(Moved, Moved);
    emit Renamed(Moved);
    return true;
}

Qt::ItemFlags TKvVarsTreeModel::flags(const QModelIndex& Index) const
{
    const TNode* Node = NodeOf(Index);
    if (!Node)
        return Qt::NoItemFlags;
    Qt::ItemFlags Flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (Node->Parent)
        Flags |= Qt::ItemIsEditable;
    return Flags;
}

// ---------------------------------------------------------------------------------------------

void TKvVarsListModel::SetFolder(TKvPkgVarsItem* Folder, QChar Separator)
{
    beginResetModel();
    FFolder = Folder;
    FSeparator = Separator;
    FRows.clear();
    if (Folder) {
        for (int I = 0, N = Folder->Count(); I < N; ++I) {
            TKvPkgVarsItem* Item = Folder->Items(I);
            if (!Item->IsFolder())
                FRows.push_back(Item);
        }
    }
    endResetModel();
}

TKvPkgVarsItem* TKvVarsListModel::Item(int Row) const
{
    return Row >= 0 && Row < int(FRows.size()) ? FRows[size_t(Row)] : nullptr;
}

int TKvVarsListModel::RowOf(const TKvPkgVarsItem* Item) const
{
    const auto It = std::find(FRows.begin(), FRows.end(), Item);
    return It == FRows.end() ? -1 : int(It - FRows.begin());
}

int TKvVarsListModel::Append(TKvPkgVarsItem* Item)
{
    const int Row = int(FRows.size());
    beginInsertRows({}, Row, Row);
    FRows.push_back(Item);
    endInsertRows();
    return Row;
}

void TKvVarsListModel::DeleteRow(int Row)
{
    TKvPkgVarsItem* Gone = Item(Row);
    if (!Gone)
        return;
    beginRemoveRows({}, Row, Row);
    FRows.erase(FRows.begin() + Row);
    endRemoveRows();
    delete Gone;
}

void TKvVarsListModel::DeleteAll()
{
    beginResetModel();
    for (TKvPkgVarsItem* Gone : std::exchange(FRows, {}))
        delete Gone;
    endResetModel();
}

void TKvVarsListModel::Clear()
{
    SetFolder(nullptr, FSeparator);
}

void TKvVarsListModel::RowChanged(int Row)
{
    if (Item(Row))
        emit dataChanged(index(Row, 0), index(Row, 1));
}

int TKvVarsListModel::rowCount(const QModelIndex& Parent) const
{
    return Parent.isValid() ? 0 : int(FRows.size());
}

int TKvVarsListModel::columnCount(const QModelIndex& Parent) const
{
    return Parent.isValid() ? 0 : 2;
}

QVariant TKvVarsListModel::data(const QModelIndex& Index, int Role) const
{
    const TKvPkgVarsItem* Var = Item(Index.row());
    if (!Var || (Role != Qt::DisplayRole && Role != Qt::EditRole))
        return {};
    if (Index.column() == 0)
        return Var->Ident();
    return QLatin1Char('"') + Var->ValueText(FSeparator) + QLatin1Char('"');
}

QVariant TKvVarsListModel::headerData(int Section, Qt::Orientation Orientation, int Role) const
{
    if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole)
        return {};
    return Section == 0 ? QStringLiteral("Variable") : QStringLiteral("Value");
}

bool TKvVarsListModel::setData(const QModelIndex& Index, const QVariant& Value, int Role)
{
    TKvPkgVarsItem* Var = Item(Index.row());
    if (!Var || Index.column() != 0 || Role != Qt::EditRole)
        return false;
    try {
        Var->SetIdent(Value.toString());
    } catch (const Exception& E) {
        emit Error(E.Message);
        return false;
    }
    emit dataChanged(Index, Index);
    emit Renamed(Index.row());
    return true;
}

Qt::ItemFlags TKvVarsListModel::flags(const QModelIndex& Index) const
{
    if (!Item(Index.row()))
        return Qt::NoItemFlags;
    Qt::ItemFlags Flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (Index.column() == 0)
        Flags |= Qt::ItemIsEditable;
    return Flags;
}

// ---------------------------------------------------------------------------------------------

namespace {

class TMatcher
{
public:
    TMatcher(const TKvVarsFindOptions& Options, QChar Separator)
        : FText(Options.Text), FCase(Options.MatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive),
          FWhole(Options.WholeWord), FSeparator(Separator)
    {
    }
    bool Matches(const QString& Candidate) const
    {
        return FWhole ? Candidate.compare(FText, FCase) == 0 : Candidate.contains(FText, FCase);
    }
    bool MatchesVar(const TKvPkgVarsItem* Item) const
    {
        return Matches(Item->Ident()) || Matches(Item->ValueText(FSeparator));
    }

private:
    QString FText;
    Qt::CaseSensitivity FCase;
    bool FWhole;
    QChar FSeparator;
};

std::vector<const TKvPkgVarsItem*> VariablesOf(const TKvPkgVarsItem* Folder)
{
    std::vector<const TKvPkgVarsItem*> Vars;
    for (int I = 0, N = Folder->Count(); I < N; ++I)
        if (!Folder->Items(I)->IsFolder())
            Vars.push_back(Folder->Items(I));
    return Vars;
}

} // namespace

std::optional<TKvVarsPlace> KvPkgVarsFind(const TKvVarsTreeModel& Tree, const TKvVarsPlace& From, bool Restart,
                                          const TKvVarsFindOptions& Options, QChar Separator)
{
    const QModelIndex Root = Tree.RootIndex();
    if (!Root.isValid() || Options.Text.isEmpty())
        return std::nullopt;
    const TMatcher Match(Options, Separator);
    const bool Fresh = Restart || !From.Folder.isValid();

    if (!Options.Backward) {
        QModelIndex Folder = Fresh ? Root : From.Folder;
        int Row = Fresh ? 0 : std::max(From.Row + 1, 0);
        while (Folder.isValid()) {
            const std::vector<const TKvPkgVarsItem*> Vars = VariablesOf(Tree.Folder(Folder));
            for (; Row < int(Vars.size()); ++Row)
                if (Match.MatchesVar(Vars[size_t(Row)]))
                    return TKvVarsPlace{Folder, Row};
            Folder = Tree.NextInOrder(Folder);
            if (Folder.isValid() && Match.Matches(Tree.Folder(Folder)->Ident()))
                return TKvVarsPlace{Folder, -1};
            Row = 0;
        }
        return std::nullopt;
    }

    // Backwards a folder's variables come last to first, then its own ident.
    QModelIndex Folder;
    int Row = -1;
    if (Fresh) {
        // The last folder in tree order: the deepest last one.
        Folder = Root;
        for (int Count = Tree.rowCount(Folder); Count > 0; Count = Tree.rowCount(Folder))
            Folder = Tree.index(Count - 1, 0, Folder);
        Row = int(VariablesOf(Tree.Folder(Folder)).size());
    } else if (From.Row >= 0) {
        Folder = From.Folder;
        Row = From.Row;
    } else {
        Folder = Tree.PrevInOrder(From.Folder);
        Row = Folder.isValid() ? int(VariablesOf(Tree.Folder(Folder)).size()) : -1;
    }
    while (Folder.isValid()) {
        const std::vector<const TKvPkgVarsItem*> Vars = VariablesOf(Tree.Folder(Folder));
        for (--Row; Row >= 0; --Row)
            if (Match.MatchesVar(Vars[size_t(Row)]))
                return TKvVarsPlace{Folder, Row};
        if (Folder != Root && Match.Matches(Tree.Folder(Folder)->Ident()))
            return TKvVarsPlace{Folder, -1};
        Folder = Tree.PrevInOrder(Folder);
        if (Folder.isValid())
            Row = int(VariablesOf(Tree.Folder(Folder)).size());
    }
    return std::nullopt;
}
