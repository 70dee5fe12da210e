#include "KvInspectorModel.h"

#include "Filer.h"
#include "KvFormDesigner.h"
#include "SysUtils.h"

#include <QColor>

#include <algorithm>

namespace {

// A property kept as written because nobody here publishes it: shown, not edited.
class TKeptPropertyEditor : public TPropertyEditor
{
public:
    TKeptPropertyEditor(QString Name, QString Value) : FName(std::move(Name)), FValue(std::move(Value)) {}
    TPropertyAttributes GetAttributes() const override { return paReadOnly; }
    bool AllEqual() const override { return true; }
    QString GetValue() const override { return FValue.simplified(); }
    QString GetName() const override { return FName; }
    bool IsEvent() const { return FName.startsWith(QLatin1String("On")) && FValue.front().isLetter(); }

private:
    QString FName;
    QString FValue;
};

bool IsEvent(const TPropertyEditor& Editor)
{
    if (const auto* Kept = dynamic_cast<const TKeptPropertyEditor*>(&Editor))
        return Kept->IsEvent();
    return Editor.PropInfo().Kind == TTypeKind::tkMethod;
}

// An editor whose window is not there yet offers neither "..." nor a drop-down.
TPropertyAttributes ShownAttributes(const TPropertyEditor& Editor)
{
    const TPropertyAttributes A = Editor.GetAttributes();
    return Editor.Unavailable().isEmpty() ? A : A & ~TPropertyAttributes(paDialog | paValueList);
}

// An event offers the form's handlers that it can call.
const TMethodProperty* HandlerRow(const IDesigner* Designer, const TPropertyEditor& Editor)
{
    return dynamic_cast<const TKvFormDesigner*>(Designer) && Editor.Unavailable().isEmpty()
        ? dynamic_cast<const TMethodProperty*>(&Editor)
        : nullptr;
}

} // namespace

TKvInspectorModel::TKvInspectorModel(QObject* parent) : QAbstractItemModel(parent) {}

TKvInspectorModel::~TKvInspectorModel() = default;

void TKvInspectorModel::SetSelection(IDesigner* Designer, const TDesignerSelectionList& Selection)
{
    if (FCallDepth > 0) {
        FSelectionPending = true;
        FPendingDesigner = Designer;
        FPendingSelection = Selection;
        return;
    }
    FDesigner = Designer;
    FSelection = Selection;
    Rebuild();
}

void TKvInspectorModel::SetPage(TPage Page)
{
    if (Page == FPage)
        return;
    FPage = Page;
    if (FCallDepth > 0)
        SetSelection(FDesigner, FSelection);
    else
        Rebuild();
}

void TKvInspectorModel::Rebuild()
{
    beginResetModel();
    FRoot.Children.clear();
    FStale = false;
    if (!FSelection.isEmpty()) {
        std::vector<std::unique_ptr<TPropertyEditor>> Editors;
        try {
            Editors = GetEditorsForSelection(FSelection, FDesigner);
        } catch (const std::exception&) {
            Editors.clear();
        }
        if (FSelection.size() == 1)
            for (const auto& [Name, Value] : KeptProperties(FSelection.first()))
                if (!Value.isEmpty())
                    Editors.push_back(std::make_unique<TKeptPropertyEditor>(Name, Value));
        // Sorted by name, as inspectors list properties.
        std::stable_sort(Editors.begin(), Editors.end(), [](const auto& A, const auto& B) {
            return A->GetName().compare(B->GetName(), Qt::CaseInsensitive) < 0;
        });
        for (auto& Editor : Editors) {
            if (IsEvent(*Editor) != (FPage == Events))
                continue;
            auto Node = std::make_unique<TNode>();
            Node->Editor = std::move(Editor);
            Node->Parent = &FRoot;
            Node->Row = int(FRoot.Children.size());
            FRoot.Children.push_back(std::move(Node));
        }
    }
    endResetModel();
}

void TKvInspectorModel::RefreshValues()
{
    if (FStale)
        return;
    EmitValuesChanged({});
}

void TKvInspectorModel::EmitValuesChanged(const QModelIndex& Parent)
{
    TNode* Node = Parent.isValid() ? NodeOf(Parent) : &FRoot;
    if (Node->Children.empty())
        return;
    emit dataChanged(index(0, 0, Parent), index(int(Node->Children.size()) - 1, 1, Parent));
    for (int Row = 0; Row < int(Node->Children.size()); ++Row)
        if (Node->Children[size_t(Row)]->Fetched)
            EmitValuesChanged(index(Row, 0, Parent));
}

void TKvInspectorModel::ItemDeleted(TPersistent* Item)
{
    if (!FSelection.contains(Item))
        return;
    TDesignerSelectionList Rest = FSelection;
    Rest.removeAll(Item);
    if (FCallDepth > 0) {
        FStale = true;
        SetSelection(FDesigner, Rest);
        return;
    }
    FSelection = Rest;
    Rebuild();
}

bool TKvInspectorModel::Call(const std::function<void()>& Work)
{
    QString Error;
    ++FCallDepth;
    try {
        Work();
    } catch (const Exception& E) {
        Error = E.Message;
    } catch (const std::exception& E) {
        Error = QString::fromLocal8Bit(E.what());
    }
    --FCallDepth;
    if (FCallDepth == 0 && FSelectionPending) {
        FSelectionPending = false;
        FDesigner = FPendingDesigner;
        FSelection = FPendingSelection;
        Rebuild();
    }
    if (!Error.isEmpty() && OnError)
        OnError(Error);
    return Error.isEmpty();
}

bool TKvInspectorModel::Edit(const QModelIndex& Index)
{
    TPropertyEditor* Editor = EditorAt(Index);
    if (!Editor)
        return false;
    if (!Editor->Unavailable().isEmpty())
        return false;
    const QPersistentModelIndex Row(Index.siblingAtColumn(0));
    const bool Ok = Call([this, Editor] {
        // What the editor's dialog changes is one undoable step.
        TDesignerChange Change(FDesigner, QStringLiteral("Set %1").arg(Editor->GetName()));
        Editor->Edit();
    });
    if (Row.isValid()) {
        ReloadChildren(Row);
        RefreshValues();
    }
    return Ok;
}

TPropertyEditor* TKvInspectorModel::EditorAt(const QModelIndex& Index) const
{
    TNode* Node = NodeOf(Index);
    return Node && !FStale ? Node->Editor.get() : nullptr;
}

QModelIndex TKvInspectorModel::FindProperty(const QString& Path)
{
    QModelIndex Parent;
    const QStringList Parts = Path.split(u'.');
    for (const QString& Part : Parts) {
        TNode* Node = Parent.isValid() ? NodeOf(Parent) : &FRoot;
        if (Parent.isValid() && !Node->Fetched)
            fetchMore(Parent);
        QModelIndex Found;
        for (const auto& Child : Node->Children)
            if (Child->Editor->GetName().compare(Part, Qt::CaseInsensitive) == 0) {
                Found = IndexOf(Child.get(), 0);
                break;
            }
        if (!Found.isValid())
            return {};
        Parent = Found;
    }
    return Parent.siblingAtColumn(1);
}

std::vector<std::unique_ptr<TPropertyEditor>> TKvInspectorModel::SubEditors(TNode* Node) const
{
    std::vector<std::unique_ptr<TPropertyEditor>> Subs;
    try {
        if (Node->Editor->GetAttributes() & paSubProperties)
            Node->Editor->GetProperties([&Subs](std::unique_ptr<TPropertyEditor> E) { Subs.push_back(std::move(E)); });
    } catch (const std::exception&) {
        Subs.clear();
    }
    return Subs;
}

// A new value may bring other sub-properties (another object, other set members).
void TKvInspectorModel::ReloadChildren(const QModelIndex& Index)
{
    TNode* Node = NodeOf(Index);
    if (!Node || !Node->Fetched || FStale)
        return;
    const QModelIndex Row = Index.siblingAtColumn(0);
    if (!Node->Children.empty()) {
        beginRemoveRows(Row, 0, int(Node->Children.size()) - 1);
        Node->Children.clear();
        endRemoveRows();
    }
    Node->Fetched = false;
    fetchMore(Row);
}

TKvInspectorModel::TNode* TKvInspectorModel::NodeOf(const QModelIndex& Index) const
{
    return Index.isValid() ? static_cast<TNode*>(Index.internalPointer()) : nullptr;
}

QModelIndex TKvInspectorModel::IndexOf(TNode* Node, int Column) const
{
    return Node && Node != &FRoot ? createIndex(Node->Row, Column, Node) : QModelIndex();
}

QModelIndex TKvInspectorModel::index(int Row, int Column, const QModelIndex& Parent) const
{
    const TNode* Node = Parent.isValid() ? NodeOf(Parent) : &FRoot;
    if (Row < 0 || Column < 0 || Column > 1 || Row >= int(Node->Children.size()))
        return {};
    return createIndex(Row, Column, Node->Children[size_t(Row)].get());
}

QModelIndex TKvInspectorModel::parent(const QModelIndex& Child) const
{
    TNode* Node = NodeOf(Child);
    return Node ? IndexOf(Node->Parent, 0) : QModelIndex();
}

int TKvInspectorModel::rowCount(const QModelIndex& Parent) const
{
    if (Parent.column() > 0)
        return 0;
    const TNode* Node = Parent.isValid() ? NodeOf(Parent) : &FRoot;
    return int(Node->Children.size());
}

int TKvInspectorModel::columnCount(const QModelIndex&) const
{
    return 2;
}

bool TKvInspectorModel::hasChildren(const QModelIndex& Parent) const
{
    if (!Parent.isValid())
        return !FRoot.Children.empty();
    if (Parent.column() > 0 || FStale)
        return false;
    const TNode* Node = NodeOf(Parent);
    if (Node->Fetched)
        return !Node->Children.empty();
    try {
        return bool(Node->Editor->GetAttributes() & paSubProperties);
    } catch (const std::exception&) {
        return false;
    }
}

bool TKvInspectorModel::canFetchMore(const QModelIndex& Parent) const
{
    const TNode* Node = NodeOf(Parent);
    return Node && !Node->Fetched && !FStale;
}

void TKvInspectorModel::fetchMore(const QModelIndex& Parent)
{
    TNode* Node = NodeOf(Parent);
    if (!Node || Node->Fetched || FStale)
        return;
    Node->Fetched = true;
    std::vector<std::unique_ptr<TPropertyEditor>> Subs = SubEditors(Node);
    if (Subs.empty())
        return;
    beginInsertRows(Parent.siblingAtColumn(0), 0, int(Subs.size()) - 1);
    for (auto& Editor : Subs) {
        auto Child = std::make_unique<TNode>();
        Child->Editor = std::move(Editor);
        Child->Parent = Node;
        Child->Row = int(Node->Children.size());
        Node->Children.push_back(std::move(Child));
    }
    endInsertRows();
}

QVariant TKvInspectorModel::data(const QModelIndex& Index, int Role) const
{
    const TNode* Node = NodeOf(Index);
    if (!Node || FStale)
        return {};
    TPropertyEditor* Editor = Node->Editor.get();
    try {
        switch (Role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return Index.column() == 0 ? Editor->GetName() : Editor->GetVisualValue();
        case Qt::ToolTipRole:
            if (const QString Why = Editor->Unavailable(); !Why.isEmpty() && Index.column() == 1)
                return Why;
            return Index.column() == 0 ? Editor->GetName() : Editor->GetVisualValue();
        case AttributesRole:
            return int(ShownAttributes(*Editor) | (HandlerRow(FDesigner, *Editor) ? TPropertyAttributes(paValueList)
                                                                                    : TPropertyAttributes()));
        case ValuesRole: {
            if (const TMethodProperty* Event = HandlerRow(FDesigner, *Editor)) {
                QStringList Handlers =
                    static_cast<const TKvFormDesigner*>(FDesigner)->GetMethods(Event->GetEventTypeName());
                Handlers.sort(Qt::CaseInsensitive);
                return Handlers;
            }
            QStringList Values;
            Editor->GetValues([&Values](const QString& S) { Values << S; });
            if (Editor->GetAttributes() & paSortList)
                Values.sort(Qt::CaseInsensitive);
            return Values;
        }
        case Qt::ForegroundRole:
            // Read-only values without a dialog are greyed, as there is nothing to do with them.
            if (Index.column() == 1) {
                const TPropertyAttributes A = ShownAttributes(*Editor);
                if ((A & paReadOnly) && !(A & paDialog) && !(A & paSubProperties))
                    return QColor(Qt::gray);
            }
            return {};
        default:
            return {};
        }
    } catch (const std::exception&) {
        return {};
    }
}

bool TKvInspectorModel::setData(const QModelIndex& Index, const QVariant& Value, int Role)
{
    if (Role != Qt::EditRole || Index.column() != 1)
        return false;
    TPropertyEditor* Editor = EditorAt(Index);
    if (!Editor)
        return false;
    const QString Text = Value.toString();
    const QPersistentModelIndex Row(Index);
    bool Ok = true;
    bool Unchanged = false;
    Ok = Call([&] {
        // Leaving a row without typing must not mark the form modified.
        Unchanged = Editor->AllEqual() && Editor->GetValue() == Text;
        if (!Unchanged) {
            TDesignerChange Change(FDesigner, QStringLiteral("Set %1").arg(Editor->GetName()));
            Editor->SetValue(Text);
        }
    });
    if (Row.isValid()) {
        if (Ok && !Unchanged)
            ReloadChildren(Row);
        emit dataChanged(Row, Row); // also the old value back after an error
    }
    RefreshValues();
    return Ok;
}

Qt::ItemFlags TKvInspectorModel::flags(const QModelIndex& Index) const
{
    TPropertyEditor* Editor = EditorAt(Index);
    if (!Editor)
        return Qt::NoItemFlags;
    Qt::ItemFlags Flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (Index.column() == 1) {
        try {
            const TPropertyAttributes A = ShownAttributes(*Editor);
            if (!(A & paReadOnly) || (A & (paDialog | paValueList)))
                Flags |= Qt::ItemIsEditable;
        } catch (const std::exception&) {
        }
    }
    return Flags;
}

QVariant TKvInspectorModel::headerData(int Section, Qt::Orientation Orientation, int Role) const
{
    if (Orientation != Qt::Horizontal || Role != Qt::DisplayRole)
        return {};
    return Section == 0 ? QStringLiteral("Property") : QStringLiteral("Value");
}
