#include "KvPkgListView.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

void KvDrawListRule(QPainter& Painter, const QPalette& Palette, int X, int Height)
{
    Painter.fillRect(QRect(X, 0, 1, Height), Palette.color(QPalette::Button));
    Painter.fillRect(QRect(X + 1, 0, 1, Height), Palette.color(QPalette::Dark));
}

int KvListRowHeight(const QFont& Font)
{
    const QFontMetrics Fm(Font);
    return std::max(Fm.boundingRect(QLatin1Char('A')).height(), Fm.height());
}

int KvListViewCurrentRow(const QAbstractItemView* View)
{
    const QModelIndexList Rows = View->selectionModel() ? View->selectionModel()->selectedRows() : QModelIndexList();
    return Rows.isEmpty() ? -1 : Rows.first().row();
}

void KvListViewSelectRow(QAbstractItemView* View, int Row)
{
    if (!View->model() || !View->selectionModel())
        return;
    if (Row < 0 || Row >= View->model()->rowCount()) {
        View->selectionModel()->clearSelection();
        View->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    const QModelIndex Index = View->model()->index(Row, 0);
    View->selectionModel()->setCurrentIndex(Index, QItemSelectionModel::ClearAndSelect);
    View->scrollTo(Index);
}

QSize TKvRowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(1, FRowHeight);
}

TKvPkgListView::TKvPkgListView(QWidget* Parent) : QListView(Parent)
{
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

int TKvPkgListView::CurrentRow() const
{
    return KvListViewCurrentRow(this);
}

void TKvPkgListView::SelectRow(int Row)
{
    KvListViewSelectRow(this, Row);
}

void TKvPkgListView::mousePressEvent(QMouseEvent* Event)
{
    if (!indexAt(Event->position().toPoint()).isValid()) {
        Event->accept();
        return;
    }
    QListView::mousePressEvent(Event);
}

void TKvRowListView::SetRowDelegate(TKvRowDelegate* Delegate)
{
    FRowDelegate = Delegate;
    setItemDelegate(Delegate);
}

void TKvRowListView::CheckItemHeight()
{
    const int Wanted = KvListRowHeight(font());
    if (Wanted > FRowDelegate->RowHeight()) {
        FRowDelegate->SetRowHeight(Wanted);
        // Uniform sizes are cached by the view; a new layout measures them again.
        doItemsLayout();
    }
}
