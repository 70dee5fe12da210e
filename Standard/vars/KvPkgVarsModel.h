#pragma once

#include "KvPkgVars.h"

#include <QAbstractItemModel>
#include <QAbstractTableModel>
#include <QHash>
#include <QPersistentModelIndex>

#include <memory>
#include <optional>
#include <vector>

class TPersistent;

// What the variables package editor decides without a window.

// The decimal separator floats are typed and shown with: the application's language settings,
// a point without an application.
QChar KvPkgVarsSeparator();
// "Boolean", "Integer", "Float", "String", "Folder".
QString KvPkgVarsTypeName(TKvPkgVarsItemType Type);
// The smallest "Base" + n (n from 1) that is not yet an item of Folder.
QString KvPkgVarsNewName(const TKvPkgVarsItem* Folder, const QString& Base);
// PkgName alone for the top level, else PkgName + "\" + the folder's path.
QString KvPkgVarsStatusLine(const TKvPkgVars* Pkg, const TKvPkgVarsItem* Folder);
// "Package Vars (*.kvvar)|*.kvvar|All files (*.*)|*.*".
QString KvPkgVarsFileFilter(const TKvPkgVars* Pkg);
// The object the designer is told about: the application when it owns the package.
TPersistent* KvPkgVarsModifiedTarget(TKvPkgVars* Pkg);

// The folder tree: the package as the root, each folder's sub-folders sorted by ident without
// regard to case. Renames through setData; an ident the package refuses is reported with
// Error and the old one stays.
class TKvVarsTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit TKvVarsTreeModel(QObject* Parent = nullptr);
    ~TKvVarsTreeModel() override;

    // Rebuilds the tree from the package's folders.
    void SetPkg(TKvPkgVars* Pkg);
    TKvPkgVars* Pkg() const { return FPkg; }
    QModelIndex RootIndex() const;
    // The folder item of a node; the package's top-level folder for the root.
    TKvPkgVarsItem* Folder(const QModelIndex& Index) const;
    QModelIndex IndexOf(const TKvPkgVarsItem* Folder) const;
    // A node for a folder just added inside the folder of Parent, in its sorted place.
    QModelIndex AddFolder(const QModelIndex& Parent, TKvPkgVarsItem* Folder);
    // Takes the node and destroys its folder, with everything inside.
    void DeleteFolder(const QModelIndex& Index);
    // Every node but the root goes; the package is the caller's.
    void ClearFolders();
    int FolderCount() const { return int(FNodes.size()) - 1; }

    // Nodes in tree order (a folder, then its sub-folders in sorted order), and back.
    QModelIndex NextInOrder(const QModelIndex& Index) const;
    QModelIndex PrevInOrder(const QModelIndex& Index) const;

    QModelIndex index(int Row, int Column, const QModelIndex& Parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& Child) const override;
    int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& Parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& Index, int Role) const override;
    bool setData(const QModelIndex& Index, const QVariant& Value, int Role) override;
    Qt::ItemFlags flags(const QModelIndex& Index) const override;

signals:
    void Error(const QString& Message);
    void Renamed(const QModelIndex& Index);

private:
    struct TNode
    {
        TKvPkgVarsItem* Item = nullptr;
        TNode* Parent = nullptr;
        std::vector<std::unique_ptr<TNode>> Children;
    };
    TNode* NodeOf(const QModelIndex& Index) const;
    QModelIndex IndexOfNode(const TNode* Node) const;
    int RowOf(const TNode* Node) const;
    int SortedRow(const TNode* Parent, const QString& Ident, const TNode* Except) const;
    void Build(TNode* Node);
    void Forget(TNode* Node);

    TKvPkgVars* FPkg = nullptr;
    std::unique_ptr<TNode> FRoot;
    QHash<const TKvPkgVarsItem*, TNode*> FNodes;
};

// The variables (not the folders) of one folder, in package order: "Variable" and "Value", the
// value between double quotation marks. Renames through setData as the tree does.
class TKvVarsListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetFolder(TKvPkgVarsItem* Folder, QChar Separator);
    TKvPkgVarsItem* Folder() const { return FFolder; }
    TKvPkgVarsItem* Item(int Row) const;
    int RowOf(const TKvPkgVarsItem* Item) const;
    int Append(TKvPkgVarsItem* Item);
    // Takes the row and destroys its item.
    void DeleteRow(int Row);
    // Destroys every variable of the folder.
    void DeleteAll();
    void Clear();
    void RowChanged(int Row);

    int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& Parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& Index, int Role) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override;
    bool setData(const QModelIndex& Index, const QVariant& Value, int Role) override;
    Qt::ItemFlags flags(const QModelIndex& Index) const override;

signals:
    void Error(const QString& Message);
    void Renamed(int Row);

private:
    TKvPkgVarsItem* FFolder = nullptr;
    QChar FSeparator = u'.';
    std::vector<TKvPkgVarsItem*> FRows;
};

struct TKvVarsFindOptions
{
    QString Text;
    bool MatchCase = false;
    bool WholeWord = false;
    bool Backward = false;
};

// A place of the search: a folder node and a row of its variables, -1 for the folder itself.
struct TKvVarsPlace
{
    QModelIndex Folder;
    int Row = -1;
};

// The next match after From in tree order (before it when searching backwards): a folder by its
// ident, a variable by its ident or its value text. Without From (or with Restart) a forward
// search starts at the root, a backward one at the last folder directly under the root.
std::optional<TKvVarsPlace> KvPkgVarsFind(const TKvVarsTreeModel& Tree, const TKvVarsPlace& From, bool Restart,
                                          const TKvVarsFindOptions& Options, QChar Separator);
