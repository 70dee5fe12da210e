#include "controls/KvMenuTreeModel.h"

#include "DesignWindows.h"
#include "KvMenus.h"
#include "KvReferences.h"

#include <QApplication>
#include <QDataStream>
#include <QIODevice>
#include <QIcon>
#include <QMimeData>
#include <QSet>
#include <QStyle>

#include <functional>

namespace {

// Live models, so that a drop can tell whether the model a drag names still exists.
QSet<const TKvMenuTreeModel*>& LiveModels()
{
    static QSet<const TKvMenuTreeModel*> Models;
    return Models;
}

const QString Placeholder = QStringLiteral("<Eof>");

enum TImage { imMenuBar, imPopupMenu, imItem, imItemWithImage, imPlaceholder };

QIcon Image(TImage Kind)
{
    static const QList<QIcon> Icons = [] {
        const QStyle* S = QApplication::style();
        return QList<QIcon>{S->standardIcon(QStyle::SP_FileDialogListView),
                            S->standardIcon(QStyle::SP_FileDialogInfoView), S->standardIcon(QStyle::SP_FileIcon),
                            S->standardIcon(QStyle::SP_FileDialogContentsView),
                            S->standardIcon(QStyle::SP_ArrowRight)};
    }();
    return Icons.at(Kind);
}

} // namespace

struct TKvMenuTreeModel::TNode
{
    QPointer<TKvMenuItem> Item; // the menu's item list for the root; none for a placeholder
    TNode* Parent = nullptr;
    int Row = 0;
    std::vector<std::unique_ptr<TNode>> Children;

    bool IsPlaceholder() const { return Parent && !Item; }
    TNode* Add(TKvMenuItem* AItem)
    {
        auto Node = std::make_unique<TNode>();
        Node->Item = AItem;
        Node->Parent = this;
        Node->Row = int(Children.size());
        Children.push_back(std::move(Node));
        return Children.back().get();
    }
};

TKvMenuTreeModel::TKvMenuTreeModel(QObject* Parent) : QAbstractItemModel(Parent)
{
    LiveModels().insert(this);
}

TKvMenuTreeModel::~TKvMenuTreeModel()
{
    LiveModels().remove(this);
}

void TKvMenuTreeModel::SetMenu(TComponent* Menu)
{
    beginResetModel();
    FMenu = KvMenuItemsOf(Menu) ? Menu : nullptr;
    Build();
    endResetModel();
}

void TKvMenuTreeModel::Build()
{
    FRoot.reset();
    FNodeCount = 0;
    if (!FMenu)
        return;
    FRoot = std::make_unique<TNode>();
    FRoot->Item = KvMenuItemsOf(FMenu);
    FNodeCount = 1;
    const std::function<void(TNode*)> Fill = [&](TNode* Node) {
        const TKvMenuItem* Item = Node->Item;
        for (int I = 0; I < Item->Count(); ++I)
            Fill(Node->Add(Item->Items(I)));
        if (Item->Count() > 0)
            Node->Add(nullptr);
        FNodeCount += int(Node->Children.size());
    };
    Fill(FRoot.get());
}

bool TKvMenuTreeModel::SameShape(const TNode* Node, const TKvMenuItem* Item) const
{
    if (!Item || Node->Item != Item)
        return false;
    const size_t Expected = Item->Count() > 0 ? size_t(Item->Count()) + 1 : 0;
    if (Node->Children.size() != Expected)
        return false;
    for (int I = 0; I < Item->Count(); ++I)
        if (!SameShape(Node->Children[size_t(I)].get(), Item->Items(I)))
            return false;
    return true;
}

void TKvMenuTreeModel::RefreshTexts(const TNode* Node)
{
    if (Node->Children.empty())
        return;
    emit dataChanged(IndexOfNode(Node->Children.front().get()), IndexOfNode(Node->Children.back().get()));
    for (const auto& Child : Node->Children)
        RefreshTexts(Child.get());
}

void TKvMenuTreeModel::Sync()
{
    TKvMenuItem* Items = FMenu ? KvMenuItemsOf(FMenu) : nullptr;
    if (FRoot && SameShape(FRoot.get(), Items)) {
        emit dataChanged(RootIndex(), RootIndex());
        RefreshTexts(FRoot.get());
        return;
    }
    beginResetModel();
    Build();
    endResetModel();
}

// ---------------------------------------------------------------------------------------------
// Nodes

TKvMenuTreeModel::TNode* TKvMenuTreeModel::NodeAt(const QModelIndex& Index) const
{
    return Index.isValid() ? static_cast<TNode*>(Index.internalPointer()) : nullptr;
}

QModelIndex TKvMenuTreeModel::IndexOfNode(const TNode* Node) const
{
    return Node ? createIndex(Node->Row, 0, const_cast<TNode*>(Node)) : QModelIndex();
}

QModelIndex TKvMenuTreeModel::RootIndex() const
{
    return IndexOfNode(FRoot.get());
}

QModelIndex TKvMenuTreeModel::IndexOf(const TComponent* ItemOrMenu) const
{
    if (!FRoot || !ItemOrMenu)
        return {};
    if (ItemOrMenu == FMenu)
        return RootIndex();
    const auto* Item = qobject_cast<const TKvMenuItem*>(ItemOrMenu);
    if (!Item || !FRoot->Item || !FRoot->Item->Contains(Item))
        return {};
    QList<int> Path; // rows from the root down
    for (const TKvMenuItem* I = Item; I && I != FRoot->Item; I = I->Parent())
        Path.prepend(I->MenuIndex());
    const TNode* Node = FRoot.get();
    for (int Row : std::as_const(Path)) {
        if (Row < 0 || size_t(Row) >= Node->Children.size())
            return {};
        Node = Node->Children[size_t(Row)].get();
    }
    return Node->Item == Item ? IndexOfNode(Node) : QModelIndex();
}

TKvMenuItem* TKvMenuTreeModel::ItemAt(const QModelIndex& Index) const
{
    const TNode* Node = NodeAt(Index);
    return Node && Node->Parent ? Node->Item.data() : nullptr;
}

bool TKvMenuTreeModel::IsRoot(const QModelIndex& Index) const
{
    const TNode* Node = NodeAt(Index);
    return Node && !Node->Parent;
}

bool TKvMenuTreeModel::IsPlaceholder(const QModelIndex& Index) const
{
    const TNode* Node = NodeAt(Index);
    return Node && Node->IsPlaceholder();
}

QString TKvMenuTreeModel::PathOf(const QModelIndex& Index) const
{
    QStringList Parts;
    for (QModelIndex I = Index; I.isValid(); I = I.parent())
        Parts.prepend(I.data().toString());
    return Parts.join(u'/');
}

QModelIndex TKvMenuTreeModel::index(int Row, int Column, const QModelIndex& Parent) const
{
    if (Column != 0 || Row < 0)
        return {};
    if (!Parent.isValid())
        return Row == 0 ? RootIndex() : QModelIndex();
    const TNode* Node = NodeAt(Parent);
    return size_t(Row) < Node->Children.size() ? IndexOfNode(Node->Children[size_t(Row)].get()) : QModelIndex();
}

QModelIndex TKvMenuTreeModel::parent(const QModelIndex& Index) const
{
    const TNode* Node = NodeAt(Index);
    return Node ? IndexOfNode(Node->Parent) : QModelIndex();
}

int TKvMenuTreeModel::rowCount(const QModelIndex& Parent) const
{
    if (!Parent.isValid())
        return FRoot ? 1 : 0;
    if (Parent.column() != 0)
        return 0;
    return int(NodeAt(Parent)->Children.size());
}

int TKvMenuTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant TKvMenuTreeModel::data(const QModelIndex& Index, int Role) const
{
    const TNode* Node = NodeAt(Index);
    if (!Node)
        return {};
    if (!Node->Parent) {
        switch (Role) {
        case Qt::DisplayRole:
            return FMenu ? FMenu->GetName() : QString();
        case Qt::DecorationRole:
            return Image(qobject_cast<TKvPopupMenu*>(FMenu) ? imPopupMenu : imMenuBar);
        default:
            return {};
        }
    }
    if (Node->IsPlaceholder())
        return Role == Qt::DisplayRole ? QVariant(Placeholder)
                                       : Role == Qt::DecorationRole ? QVariant(Image(imPlaceholder)) : QVariant();
    const TKvMenuItem* Item = Node->Item;
    switch (Role) {
    case Qt::DisplayRole: {
        // Items that take their text from a strings package have no caption of their own.
        const QString Text = Item ? Item->DisplayCaption() : QString();
        return Text.isEmpty() && Item ? Item->GetName() : Text;
    }
    case Qt::EditRole:
        return Item ? Item->Caption() : QString();
    case Qt::DecorationRole:
        return Image(Item && Item->MemoryImage()->Id() != TKvMemoryReference::IdNone ? imItemWithImage : imItem);
    case Qt::ToolTipRole:
        return Item ? Item->GetName() : QString();
    default:
        return {};
    }
}

bool TKvMenuTreeModel::setData(const QModelIndex& Index, const QVariant& Value, int Role)
{
    TKvMenuItem* Item = ItemAt(Index);
    if (Role != Qt::EditRole || !Value.isValid() || !Item || !FDesigner)
        return false;
    const QString Caption = Value.toString();
    if (Caption == Item->Caption())
        return false;
    FDesigner->SetProperties(QStringLiteral("Set %1.Caption").arg(Item->GetName()),
                             {{Item, QStringLiteral("Caption"), Caption}});
    emit dataChanged(Index, Index);
    return true;
}

Qt::ItemFlags TKvMenuTreeModel::flags(const QModelIndex& Index) const
{
    if (!Index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags Flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
    if (ItemAt(Index))
        Flags |= Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
    return Flags;
}

// ---------------------------------------------------------------------------------------------
// Commands

bool TKvMenuTreeModel::PlaceAt(const QModelIndex& Selected, TKvMenuItem*& Parent, int& Index) const
{
    const TNode* Node = NodeAt(Selected);
    if (!Node || !FRoot || !FRoot->Item)
        return false;
    if (!Node->Parent) { // the root: before its first child
        Parent = FRoot->Item;
        Index = 0;
    } else {
        Parent = Node->Parent->Item;
        Index = Node->Row;
    }
    return Parent != nullptr;
}

TKvMenuItem* TKvMenuTreeModel::NewItem(TKvMenuItem* Parent, int Index)
{
    auto* Item = qobject_cast<TKvMenuItem*>(
        FDesigner->CreateComponent(&TKvMenuItem::staticMetaObject, FMenu, -1, -1, -1, -1));
    if (!Item)
        return nullptr;
    if (Item->Parent())
        Item->Parent()->Remove(Item);
    Parent->Insert(qBound(0, Index, Parent->Count()), Item);
    return Item;
}

QModelIndex TKvMenuTreeModel::InsertItem(const QModelIndex& Selected)
{
    TKvMenuItem* Parent = nullptr;
    int Index = 0;
    if (!FDesigner || !PlaceAt(Selected, Parent, Index))
        return {};
    TKvMenuItem* Item = nullptr;
    {
        const TDesignerChange Change(FDesigner, QStringLiteral("Insert Menu Item"));
        Item = NewItem(Parent, Index);
        if (Item)
            Item->SetCaption(Item->GetName());
        FDesigner->Modified();
    }
    Sync();
    return IndexOf(Item);
}

QModelIndex TKvMenuTreeModel::AddItem(const QModelIndex& Selected)
{
    const TNode* Node = NodeAt(Selected);
    if (!Node || !FRoot)
        return {};
    if (FRoot->Children.empty())
        return InsertItem(RootIndex());
    const TNode* Parent = Node->Parent ? Node->Parent : FRoot.get();
    return InsertItem(IndexOfNode(Parent->Children.back().get())); // its placeholder: the end
}

QModelIndex TKvMenuTreeModel::AddSubItem(const QModelIndex& Selected)
{
    const TNode* Node = NodeAt(Selected);
    if (!Node || !Node->Item || !FDesigner)
        return {};
    if (!Node->Children.empty())
        return IndexOfNode(Node->Children.front().get());
    if (!Node->Parent)
        return InsertItem(Selected);
    TKvMenuItem* Item = nullptr;
    {
        const TDesignerChange Change(FDesigner, QStringLiteral("New Sub Menu Item"));
        Item = NewItem(Node->Item, 0);
        if (Item)
            Item->SetCaption(Item->GetName());
        FDesigner->Modified();
    }
    Sync();
    return IndexOf(Item);
}

QModelIndex TKvMenuTreeModel::DeleteItem(const QModelIndex& Selected)
{
    TKvMenuItem* Item = ItemAt(Selected);
    if (!Item || !FDesigner)
        return {};
    // The next sibling takes the selection; past the last one the previous, in an emptied
    // sub-menu the item above it.
    TKvMenuItem* Parent = Item->Parent();
    const int Row = Item->MenuIndex();
    const QPointer<TKvMenuItem> Next = Row + 1 < Parent->Count() ? Parent->Items(Row + 1) : nullptr;
    const QPointer<TKvMenuItem> Previous = Row > 0 ? Parent->Items(Row - 1) : nullptr;
    const QPointer<TKvMenuItem> Above = Parent;
    FDesigner->DeleteComponents({Item});
    Sync();
    if (Next)
        return IndexOf(Next);
    if (Previous)
        return IndexOf(Previous);
    if (Above && Above->RootOf())
        return RootIndex();
    return Above ? IndexOf(Above) : RootIndex();
}

void TKvMenuTreeModel::ClearAll()
{
    TKvMenuItem* Items = FMenu ? KvMenuItemsOf(FMenu) : nullptr;
    if (!Items || !FDesigner || Items->Count() == 0)
        return;
    QList<TComponent*> All;
    for (int I = 0; I < Items->Count(); ++I)
        All << Items->Items(I);
    {
        const TDesignerChange Change(FDesigner, QStringLiteral("Clear %1").arg(FMenu->GetName()));
        FDesigner->DeleteComponents(All);
    }
    Sync();
}

void TKvMenuTreeModel::CopyItem(const QModelIndex& Selected) const
{
    if (TKvMenuItem* Item = ItemAt(Selected); Item && FMenu)
        CopyComponents(FMenu->Owner(), {Item});
}

QModelIndex TKvMenuTreeModel::CutItem(const QModelIndex& Selected)
{
    TKvMenuItem* Item = ItemAt(Selected);
    if (!Item || !FDesigner)
        return {};
    const TDesignerChange Change(FDesigner, QStringLiteral("Cut %1").arg(Item->GetName()));
    CopyItem(Selected);
    return DeleteItem(Selected);
}

QString TKvMenuTreeModel::UniqueItemName(const TComponent* Form, const TComponent* Item)
{
    const QString Class = Item->ClassName();
    const QString Base = Class.startsWith(u'T') ? Class.mid(1) : Class;
    for (int N = 1;; ++N) {
        const QString Name = Base + QString::number(N);
        const TComponent* Holder = Form ? Form->FindComponent(Name) : nullptr;
        const bool IsForm = Form && Form->GetName().compare(Name, Qt::CaseInsensitive) == 0;
        if ((!Holder || Holder == Item) && !IsForm)
            return Name;
    }
}

QModelIndex TKvMenuTreeModel::Paste(const QModelIndex& Selected)
{
    if (!FDesigner || !FRoot)
        return {};
    TKvMenuItem* Parent = nullptr;
    int Index = 0;
    if (!PlaceAt(Selected.isValid() ? Selected : RootIndex(), Parent, Index))
        return {};
    QPointer<TKvMenuItem> First;
    {
        const TDesignerChange Change(FDesigner, QStringLiteral("Paste"));
        const TDesignerSelectionList Pasted = FDesigner->Paste(Parent);
        TComponent* Form = FDesigner->GetRoot();
        const std::function<void(TKvMenuItem*)> Rename = [&](TKvMenuItem* Item) {
            const QString Name = UniqueItemName(Form, Item);
            if (Name != Item->GetName())
                FDesigner->RenameComponent(Item, Name);
            for (int I = 0; I < Item->Count(); ++I)
                Rename(Item->Items(I));
        };
        for (TPersistent* P : Pasted) {
            auto* Item = qobject_cast<TKvMenuItem*>(P);
            if (!Item || Item->Parent() != Parent)
                continue;
            Item->SetMenuIndex(Index++);
            Rename(Item);
            if (!First)
                First = Item;
        }
        FDesigner->Modified();
    }
    Sync();
    return IndexOf(First);
}

bool TKvMenuTreeModel::CanDropAt(const QModelIndex& Target) const
{
    const TNode* Node = NodeAt(Target);
    if (!Node || !FRoot)
        return false;
    const bool TopLevel = Node->Parent == FRoot.get();
    return !(TopLevel && FRoot->Children.size() >= size_t(MaxTopLevel));
}

QModelIndex TKvMenuTreeModel::MoveItem(TKvMenuItem* Item, const QModelIndex& Target)
{
    const TNode* Node = NodeAt(Target);
    if (!Item || !Node || !FDesigner || !FRoot || !FRoot->Item || !FRoot->Item->Contains(Item))
        return {};
    if (!Node->Parent) {
        if (Node->Children.empty())
            return {};
        Node = Node->Children.front().get();
    }
    TKvMenuItem* NewParent = Node->Parent->Item;
    const TKvMenuItem* Before = Node->Item;
    if (Before == Item || NewParent == Item || Item->Contains(NewParent))
        return {};
    {
        const TDesignerChange Change(FDesigner, QStringLiteral("Move %1").arg(Item->GetName()));
        Item->Parent()->Remove(Item);
        NewParent->Insert(Before ? NewParent->IndexOf(Before) : NewParent->Count(), Item);
        FDesigner->Modified();
    }
    Sync();
    return IndexOf(Item);
}

TKvMenuItem* TKvMenuTreeModel::CopyTree(const TKvMenuItem* Source, TKvMenuItem* Parent, int Index)
{
    TKvMenuItem* Item = NewItem(Parent, Index);
    if (!Item)
        return nullptr;
    Item->SetCaption(Source->Caption());
    const TComponent* Form = FDesigner->GetRoot();
    if (!Source->GetName().isEmpty() && Source->GetName() != Item->GetName() && !Form->FindComponent(Source->GetName())
        && Form->GetName().compare(Source->GetName(), Qt::CaseInsensitive) != 0)
        FDesigner->RenameComponent(Item, Source->GetName());
    for (int I = 0; I < Source->Count(); ++I)
        CopyTree(Source->Items(I), Item, I);
    return Item;
}

QModelIndex TKvMenuTreeModel::CopyItemFrom(const TKvMenuItem* Source, const QModelIndex& Target)
{
    const TNode* Node = NodeAt(Target);
    if (!Source || !Node || !FDesigner || !FRoot || !FRoot->Item)
        return {};
    TKvMenuItem* Parent = FRoot->Item;
    int Index = 0;
    if (Node->Parent) {
        Parent = Node->Parent->Item;
        Index = Node->Row;
    }
    TKvMenuItem* Item = nullptr;
    {
        const TDesignerChange Change(FDesigner, QStringLiteral("Copy %1").arg(Source->GetName()));
        Item = CopyTree(Source, Parent, Index);
        FDesigner->Modified();
    }
    Sync();
    return IndexOf(Item);
}

// ---------------------------------------------------------------------------------------------
// Drag and drop

QStringList TKvMenuTreeModel::mimeTypes() const
{
    return {QString::fromLatin1(MimeType)};
}

QMimeData* TKvMenuTreeModel::mimeData(const QModelIndexList& Indexes) const
{
    const QModelIndex Index = Indexes.value(0);
    if (!ItemAt(Index))
        return nullptr;
    QList<int> Path;
    for (QModelIndex I = Index; I.isValid() && !IsRoot(I); I = I.parent())
        Path.prepend(I.row());
    QByteArray Bytes;
    QDataStream Out(&Bytes, QIODevice::WriteOnly);
    Out << quint64(QCoreApplication::applicationPid()) << quint64(quintptr(this)) << Path;
    auto* Data = new QMimeData;
    Data->setData(QString::fromLatin1(MimeType), Bytes);
    return Data;
}

const TKvMenuItem* TKvMenuTreeModel::DraggedItem(const QMimeData* Data, const TKvMenuTreeModel** Source) const
{
    if (!Data || !Data->hasFormat(QString::fromLatin1(MimeType)))
        return nullptr;
    QDataStream In(Data->data(QString::fromLatin1(MimeType)));
    quint64 Pid = 0;
    quint64 Address = 0;
    QList<int> Path;
    In >> Pid >> Address >> Path;
    if (In.status() != QDataStream::Ok || Pid != quint64(QCoreApplication::applicationPid()))
        return nullptr;
    const auto* Model = reinterpret_cast<const TKvMenuTreeModel*>(quintptr(Address));
    if (!LiveModels().contains(Model) || !Model->FRoot || Path.isEmpty())
        return nullptr;
    const TNode* Node = Model->FRoot.get();
    for (int Row : std::as_const(Path)) {
        if (Row < 0 || size_t(Row) >= Node->Children.size())
            return nullptr;
        Node = Node->Children[size_t(Row)].get();
    }
    *Source = Model;
    return Node->Item;
}

bool TKvMenuTreeModel::canDropMimeData(const QMimeData* Data, Qt::DropAction, int Row, int,
                                       const QModelIndex& Parent) const
{
    const TKvMenuTreeModel* Source = nullptr;
    if (!DraggedItem(Data, &Source))
        return false;
    const QModelIndex Target = Row >= 0 ? index(Row, 0, Parent) : Parent;
    return Target.isValid() && CanDropAt(Target);
}

bool TKvMenuTreeModel::dropMimeData(const QMimeData* Data, Qt::DropAction Action, int Row, int Column,
                                    const QModelIndex& Parent)
{
    if (!canDropMimeData(Data, Action, Row, Column, Parent))
        return false;
    const TKvMenuTreeModel* Source = nullptr;
    const TKvMenuItem* Item = DraggedItem(Data, &Source);
    const QModelIndex Target = Row >= 0 ? index(Row, 0, Parent) : Parent;
    const QModelIndex Placed = Source == this ? MoveItem(const_cast<TKvMenuItem*>(Item), Target)
                                              : CopyItemFrom(Item, Target);
    emit DropDone(Placed);
    // The view must not remove the dragged row itself: the model already moved it.
    return false;
}

Qt::DropActions TKvMenuTreeModel::supportedDropActions() const
{
    return Qt::MoveAction | Qt::CopyAction;
}

Qt::DropActions TKvMenuTreeModel::supportedDragActions() const
{
    return Qt::MoveAction | Qt::CopyAction;
}
