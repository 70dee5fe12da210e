#pragma once

#include "common/KvPkgListView.h"

#include <QAbstractListModel>
#include <QCollatorSortKey>

#include <optional>
#include <vector>

class TKvPkgStrings;
class TKvPkgStringsItem;
class TKvPkgStringsLabel;

// Which list of a strings package a window shows.
enum class TKvStringsKind { Labels, Messages, Texts };

// "Label"/"Labels" and so on, singular for exactly one.
QString KvStringsNoun(TKvStringsKind Kind, int Count);
// "12 Labels"; "Package Unknown" without a package.
QString KvStringsStatus(TKvStringsKind Kind, const TKvPkgStrings* Pkg);
int KvStringsCount(TKvStringsKind Kind, const TKvPkgStrings* Pkg);
TKvPkgStringsItem* KvStringsFindId(TKvStringsKind Kind, const TKvPkgStrings* Pkg, int Id);
bool KvIsSystemPkgName(const QString& Name);
// Sets or clears the protected flag of every item of the kind; the number of flags changed.
int KvStringsProtectAll(TKvStringsKind Kind, TKvPkgStrings* Pkg, bool Value);

// The rows of one list: item pointers in display order. Labels are ordered by text
// (case-insensitive, locale-aware) or by id; messages and texts by id, optionally filtered.
// Sort keys are kept for the text order so that inserting and searching stay logarithmic.
class TKvStringsModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum { ItemRole = Qt::UserRole + 1 };

    explicit TKvStringsModel(TKvStringsKind Kind, QObject* Parent = nullptr);

    TKvStringsKind Kind() const { return FKind; }
    bool ByText() const { return FByText; }

    // Labels: every label, by text or by id. Messages and texts: those whose text contains
    // Filter (case-insensitive), unless Filter is blank; ascending id.
    void Fill(const TKvPkgStrings* Pkg, bool ByText, const QString& Filter = QString());
    void Clear();

    int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& Index, int Role) const override;

    TKvPkgStringsItem* Item(int Row) const;
    int RowOf(const TKvPkgStringsItem* Item) const;
    // A label in its sorted place (text order) or at the end; gives its row.
    int Insert(TKvPkgStringsItem* Item);
    void Remove(int Row);
    // After its item changed: in text order the row moves to its sorted place, with a new
    // sort key; otherwise it is repainted. Gives the row it ends on.
    int Update(int Row);
    // Labels search: in text order the first row whose text is not less than Text, in id order
    // the first row whose text begins with it; none when no row matches.
    std::optional<int> SearchLabel(const QString& Text) const;

private:
    QCollatorSortKey KeyOf(const QString& Text) const;

    TKvStringsKind FKind;
    bool FByText = true;
    std::vector<TKvPkgStringsItem*> FRows;
    std::vector<QCollatorSortKey> FKeys; // parallel to FRows in text order
};

// Draws a row as the package editor does: the id, the "P" column for the "System" package,
// then the text, clipped to the row.
class TKvStringsDelegate : public TKvRowDelegate
{
    Q_OBJECT

public:
    using TKvRowDelegate::TKvRowDelegate;

    bool System() const { return FSystem; }
    void SetSystem(bool Value) { FSystem = Value; }

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;

private:
    bool FSystem = false;
};

// A list of fixed-height rows with the vertical 3-D rules between the id, "P" and text columns.
class TKvStringsListView : public TKvRowListView
{
    Q_OBJECT

public:
    explicit TKvStringsListView(QWidget* Parent = nullptr);

    TKvStringsDelegate* Delegate() const { return FDelegate; }
    void SetSystem(bool Value);

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    TKvStringsDelegate* FDelegate;
};
