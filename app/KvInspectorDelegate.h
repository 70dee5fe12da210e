#pragma once

#include <QStyledItemDelegate>

class TKvInspectorModel;

// The inspector's value editors, chosen by the editor's attributes: a drop-down for a value
// list, a line edit otherwise (read-only when the editor says so), an ellipsis button for a
// dialog. Auto-update editors take every keystroke; the others take the value on Enter or when
// the row is left. A double click in a value runs the editor's Edit.
class TKvInspectorDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit TKvInspectorDelegate(TKvInspectorModel* Model, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* Parent, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
    void setEditorData(QWidget* Editor, const QModelIndex& Index) const override;
    void setModelData(QWidget* Editor, QAbstractItemModel* Model, const QModelIndex& Index) const override;
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
    // Rows whose editor has a dialog show a "..." button whether or not they are being edited.
    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;
    bool editorEvent(QEvent* Event, QAbstractItemModel* Model, const QStyleOptionViewItem& Option,
                     const QModelIndex& Index) override;
    void updateEditorGeometry(QWidget* Editor, const QStyleOptionViewItem& Option,
                              const QModelIndex& Index) const override;
    // Where a row's "..." button is, in the view's coordinates.
    static QRect EllipsisRect(const QRect& Cell);

protected:
    bool eventFilter(QObject* Object, QEvent* Event) override;

private:
    TKvInspectorModel* FModel;
    // An error box shown while a value is taken moves the focus away, which would take the
    // value again.
    mutable bool FCommitting = false;

    void RunEdit(const QPersistentModelIndex& Index, QWidget* Editor) const;
};
