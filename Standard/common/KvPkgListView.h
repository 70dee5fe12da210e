#pragma once

#include <QListView>
#include <QStyledItemDelegate>

class QPainter;
class QPalette;

// What the package editors' owner-drawn lists share.

// The vertical 3-D rule between two columns of an owner-drawn list, two pixels wide from X:
// button face on the left, shadow on the right.
void KvDrawListRule(QPainter& Painter, const QPalette& Palette, int X, int Height);
// The height of a one-line row in Font: that of "A" or of a line, whichever is larger.
int KvListRowHeight(const QFont& Font);

// Row selection shared by the package lists: -1 or a row out of range clears the selection.
int KvListViewCurrentRow(const QAbstractItemView* View);
void KvListViewSelectRow(QAbstractItemView* View, int Row);

// Rows of one height, 13 pixels until the list grows it to its font.
class TKvRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    int RowHeight() const { return FRowHeight; }
    void SetRowHeight(int Value) { FRowHeight = Value; }

    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;

private:
    int FRowHeight = 13;
};

// A single-selection list of owner-drawn rows that are never edited in place, with a pop-up menu
// of its window's. A click beside the items keeps the selection, so that the boxes naming the
// selected item and Modify go on naming it.
class TKvPkgListView : public QListView
{
    Q_OBJECT

public:
    explicit TKvPkgListView(QWidget* Parent = nullptr);

    int CurrentRow() const;
    void SelectRow(int Row);

protected:
    void mousePressEvent(QMouseEvent* Event) override;
};

// A package list whose rows share one height, drawn by a TKvRowDelegate.
class TKvRowListView : public TKvPkgListView
{
    Q_OBJECT

public:
    using TKvPkgListView::TKvPkgListView;

    // Grows the row height to the list's font when that needs more.
    void CheckItemHeight();

protected:
    // Called once by the constructor of a derived list.
    void SetRowDelegate(TKvRowDelegate* Delegate);

private:
    TKvRowDelegate* FRowDelegate = nullptr;
};
