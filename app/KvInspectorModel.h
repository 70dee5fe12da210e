#pragma once

#include "DesignEditors.h"

#include <QAbstractItemModel>

#include <functional>
#include <memory>
#include <vector>

// The object inspector's rows: one per property editor the registry gives for the selection
// (GetEditorsForSelection), sub-properties as child rows. Column 0 is the property's name,
// column 1 its value as the editor shows it. Everything goes through the editors; the model
// never reads a property itself.
class TKvInspectorModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum TRole {
        AttributesRole = Qt::UserRole + 1, // int: the editor's TPropertyAttributes
        ValuesRole                         // QStringList: GetValues, sorted for paSortList
    };
    enum TPage { Properties, Events };

    explicit TKvInspectorModel(QObject* parent = nullptr);
    ~TKvInspectorModel() override;

    // Rebuilds the rows. While an editor is at work the new selection waits until it returns,
    // so that an editor is never destroyed under its own feet.
    void SetSelection(IDesigner* Designer, const TDesignerSelectionList& Selection);
    void Clear() { SetSelection(nullptr, {}); }
    TDesignerSelectionList Selection() const { return FSelection; }
    IDesigner* Designer() const { return FDesigner; }
    // Properties without events, or events only.
    void SetPage(TPage Page);
    TPage Page() const { return FPage; }

    // The values may have changed (the designer reported a modification).
    void RefreshValues();
    // A component is going away: rows that edit it must not be read any more.
    void ItemDeleted(TPersistent* Item);

    // The editor's Edit (a dialog, or the next value of a list); false when it raised.
    bool Edit(const QModelIndex& Index);
    TPropertyEditor* EditorAt(const QModelIndex& Index) const;
    // A row by its name path ("Font.Size"), expanding sub-properties on the way; invalid
    // when there is none. Column 1.
    QModelIndex FindProperty(const QString& Path);

    // Where an editor's error goes; the row shows its previous value again afterwards.
    std::function<void(const QString& Message)> OnError;

    QModelIndex index(int Row, int Column, const QModelIndex& Parent = {}) const override;
    QModelIndex parent(const QModelIndex& Child) const override;
    int rowCount(const QModelIndex& Parent = {}) const override;
    int columnCount(const QModelIndex& Parent = {}) const override;
    bool hasChildren(const QModelIndex& Parent = {}) const override;
    bool canFetchMore(const QModelIndex& Parent) const override;
    void fetchMore(const QModelIndex& Parent) override;
    QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& Index, const QVariant& Value, int Role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& Index) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role = Qt::DisplayRole) const override;

private:
    struct TNode
    {
        std::unique_ptr<TPropertyEditor> Editor;
        TNode* Parent = nullptr;
        int Row = 0;
        bool Fetched = false;
        std::vector<std::unique_ptr<TNode>> Children;
    };

    IDesigner* FDesigner = nullptr;
    TDesignerSelectionList FSelection;
    TPage FPage = Properties;
    TNode FRoot;
    int FCallDepth = 0;
    bool FStale = false;           // a selected object died while an editor was at work
    bool FSelectionPending = false;
    IDesigner* FPendingDesigner = nullptr;
    TDesignerSelectionList FPendingSelection;

    TNode* NodeOf(const QModelIndex& Index) const;
    QModelIndex IndexOf(TNode* Node, int Column) const;
    void Rebuild();
    std::vector<std::unique_ptr<TPropertyEditor>> SubEditors(TNode* Node) const;
    void ReloadChildren(const QModelIndex& Index);
    // Runs an editor call; errors go to OnError. False when it raised.
    bool Call(const std::function<void()>& Work);
    void EmitValuesChanged(const QModelIndex& Parent);
};
