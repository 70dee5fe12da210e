#pragma once

#include <QAbstractListModel>
#include <QCollatorSortKey>
#include <QListView>
#include <QStyledItemDelegate>

#include <optional>
#include <vector>

class QImage;
class QPainter;
class TKvDisplaySet;
class TKvDisplaySets;
class TKvPkgDisplay;
class TKvSetBackGroundItem;

// The three kinds of display sets; the windows of each kind differ only where this is asked.
enum class TKvSetKind { Color, Font, BackGround };

TKvDisplaySets* KvSetList(TKvSetKind Kind, const TKvPkgDisplay* Pkg);
TKvDisplaySet* KvSetAt(TKvSetKind Kind, const TKvPkgDisplay* Pkg, int Index);
// Case-insensitive; none without a package or a set of that name.
TKvDisplaySet* KvFindSet(TKvSetKind Kind, const TKvPkgDisplay* Pkg, const QString& Name);
// A new set of the kind, named Name; raises what the package raises for a bad name.
TKvDisplaySet* KvAddSet(TKvSetKind Kind, TKvPkgDisplay* Pkg, const QString& Name);
// "sc", "sf" or "sb" followed by the lowest positive number no set of the kind is named with.
QString KvUniqueSetName(TKvSetKind Kind, const TKvPkgDisplay* Pkg);
// "Color", "Font" or "BackGround": the tail of captions and nouns.
QString KvSetKindName(TKvSetKind Kind);
// "1 SetColor", "2 SetsColor".
QString KvSetsStatus(TKvSetKind Kind, int Count);
// The first line of a row: the name (or "......") and what the set holds, "(RGB:255,0,0)".
QString KvSetFirstLine(TKvSetKind Kind, const TKvDisplaySet* Set);
// The two lines of a row, the description (or "......") second.
QString KvSetText(TKvSetKind Kind, const TKvDisplaySet* Set);
// The picture of a background set's image; null when it has none or it is not found.
QImage KvSetImage(const TKvSetBackGroundItem* Set);
// Paints the framed sample of a set into Rect: the colour, "Abc" in the font, or the background.
void KvPaintSetSwatch(TKvSetKind Kind, QPainter& Painter, const QRect& Rect, const TKvDisplaySet* Set,
                      const QPalette& Palette);
// The largest pixel size, counting down from Height, at which Text in Font is narrower than
// Width (1 at the least).
int KvFitFontHeight(QFont Font, const QString& Text, int Width, int Height);

// The sets of one kind in name order: locale-aware and case-insensitive, equal names in ordinal
// order. Sort keys are kept so that the incremental search stays logarithmic.
class TKvSetsModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum { SetRole = Qt::UserRole + 1 };

    explicit TKvSetsModel(TKvSetKind Kind, QObject* Parent = nullptr);

    TKvSetKind Kind() const { return FKind; }
    void Fill(const TKvPkgDisplay* Pkg);
    void Clear();

    int rowCount(const QModelIndex& Parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& Index, int Role) const override;

    TKvDisplaySet* Set(int Row) const;
    int RowOf(const TKvDisplaySet* Set) const;
    void Remove(int Row);
    // After the set of Row changed: repaints it.
    void Changed(int Row);
    // The first row whose name is not less than Text; none when every name is less.
    std::optional<int> Search(const QString& Text) const;

private:
    struct TRow
    {
        TKvDisplaySet* Set;
        QCollatorSortKey Key;
    };
    TKvSetKind FKind;
    std::vector<TRow> FRows;
};

// Draws a row: the swatch in the first 45 pixels, then the two lines word-wrapped and centred
// vertically.
class TKvSetsDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    static constexpr int SwatchWidth = 45;

    TKvSetsDelegate(TKvSetKind Kind, QObject* Parent) : QStyledItemDelegate(Parent), FKind(Kind) {}

    int RowHeight() const { return FRowHeight; }
    void SetRowHeight(int Value) { FRowHeight = Value; }

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;

private:
    TKvSetKind FKind;
    int FRowHeight = 32;
};

class TKvSetsListView : public QListView
{
    Q_OBJECT

public:
    explicit TKvSetsListView(QWidget* Parent = nullptr);

    // The kind decides the drawing; called once, before the view is shown.
    void SetKind(TKvSetKind Kind);
    TKvSetsDelegate* Delegate() const { return FDelegate; }
    // Grows the rows to two lines of the list's font when that is taller.
    void CheckItemHeight();
    int CurrentRow() const;
    void SelectRow(int Row);

protected:
    void mousePressEvent(QMouseEvent* Event) override;

private:
    TKvSetsDelegate* FDelegate = nullptr;
};
