#include "KvInspectorDelegate.h"

#include "KvInspectorModel.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QLineEdit>
#include <QPointer>

namespace {

const char IndexProperty[] = "KvInspectorIndex";

QString EditorText(QWidget* Editor)
{
    if (auto* Combo = qobject_cast<QComboBox*>(Editor))
        return Combo->currentText();
    if (auto* Line = qobject_cast<QLineEdit*>(Editor))
        return Line->text();
    return {};
}

} // namespace

TKvInspectorDelegate::TKvInspectorDelegate(TKvInspectorModel* Model, QObject* parent)
    : QStyledItemDelegate(parent), FModel(Model)
{
}

QWidget* TKvInspectorDelegate::createEditor(QWidget* Parent, const QStyleOptionViewItem&, const QModelIndex& Index) const
{
    if (Index.column() != 1)
        return nullptr;
    const auto A = TPropertyAttributes::fromInt(Index.data(TKvInspectorModel::AttributesRole).toInt());
    QWidget* Editor = nullptr;
    QLineEdit* Line = nullptr;
    if (A & paValueList) {
        auto* Combo = new QComboBox(Parent);
        Combo->setObjectName(QStringLiteral("CbValue"));
        Combo->setEditable(!(A & paReadOnly));
        Combo->addItems(Index.data(TKvInspectorModel::ValuesRole).toStringList());
        Combo->setInsertPolicy(QComboBox::NoInsert);
        // Picking from the list takes the value at once.
        connect(Combo, &QComboBox::activated, this, [this, Combo] {
            emit const_cast<TKvInspectorDelegate*>(this)->commitData(Combo);
        });
        Line = Combo->lineEdit();
        Editor = Combo;
    } else {
        Line = new QLineEdit(Parent);
        Line->setObjectName(QStringLiteral("EdValue"));
        Line->setReadOnly(A.testFlag(paReadOnly));
        Line->setFrame(false);
        Editor = Line;
    }
    if (Line && (A & paAutoUpdate) && !(A & paReadOnly))
        connect(Line, &QLineEdit::textEdited, this, [this, Editor] {
            emit const_cast<TKvInspectorDelegate*>(this)->commitData(Editor);
        });
    const QPersistentModelIndex Row(Index);
    if ((A & paDialog) && Line) {
        auto* Ellipsis = new QAction(QStringLiteral("..."), Line);
        Ellipsis->setObjectName(QStringLiteral("AcEllipsis"));
        Ellipsis->setToolTip(QStringLiteral("Edit %1").arg(Index.siblingAtColumn(0).data().toString()));
        Line->addAction(Ellipsis, QLineEdit::TrailingPosition);
        connect(Ellipsis, &QAction::triggered, this, [this, Row, Editor] { RunEdit(Row, Editor); });
    }
    Editor->setProperty(IndexProperty, QVariant::fromValue(Row));
    if (Line && Line != Editor) {
        Line->setProperty(IndexProperty, QVariant::fromValue(Row));
        Line->installEventFilter(const_cast<TKvInspectorDelegate*>(this));
    }
    return Editor;
}

void TKvInspectorDelegate::setEditorData(QWidget* Editor, const QModelIndex& Index) const
{
    const QString Value = Index.data(Qt::EditRole).toString();
    // Rewriting the text the user is typing would move the cursor.
    if (EditorText(Editor) == Value)
        return;
    if (auto* Combo = qobject_cast<QComboBox*>(Editor)) {
        const int At = Combo->findText(Value, Qt::MatchFixedString);
        if (Combo->isEditable())
            Combo->setEditText(Value);
        else if (At >= 0)
            Combo->setCurrentIndex(At);
    } else if (auto* Line = qobject_cast<QLineEdit*>(Editor)) {
        Line->setText(Value);
    }
}

void TKvInspectorDelegate::setModelData(QWidget* Editor, QAbstractItemModel* Model, const QModelIndex& Index) const
{
    if (FCommitting)
        return;
    if (auto* Line = qobject_cast<QLineEdit*>(Editor); Line && Line->isReadOnly())
        return;
    FCommitting = true;
    const QPointer<QWidget> Alive(Editor);
    Model->setData(Index, EditorText(Editor), Qt::EditRole);
    FCommitting = false;
    // After an error the editor shows the value that came back.
    if (Alive)
        setEditorData(Editor, Index);
}

QSize TKvInspectorDelegate::sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const
{
    QSize Size = QStyledItemDelegate::sizeHint(Option, Index);
    Size.setHeight(qMax(Size.height(), 22));
    return Size;
}

bool TKvInspectorDelegate::eventFilter(QObject* Object, QEvent* Event)
{
    auto* Widget = qobject_cast<QWidget*>(Object);
    // The line edit inside a drop-down is watched for double clicks only; the view watches
    // the drop-down itself.
    const bool Inner = Widget && qobject_cast<QComboBox*>(Widget->parentWidget());
    if (Event->type() == QEvent::MouseButtonDblClick) {
        QWidget* Editor = Inner ? Widget->parentWidget() : Widget;
        const auto Row = Object->property(IndexProperty).value<QPersistentModelIndex>();
        if (Editor && Row.isValid()) {
            RunEdit(Row, Editor);
            return true;
        }
    }
    return Inner ? false : QStyledItemDelegate::eventFilter(Object, Event);
}

void TKvInspectorDelegate::RunEdit(const QPersistentModelIndex& Index, QWidget* Editor) const
{
    const QPointer<QWidget> Alive(Editor);
    FModel->Edit(Index);
    if (Alive && Index.isValid()) {
        if (auto* Combo = qobject_cast<QComboBox*>(Editor)) {
            Combo->clear();
            Combo->addItems(Index.data(TKvInspectorModel::ValuesRole).toStringList());
        }
        setEditorData(Editor, Index);
    }
}

namespace {

bool HasDialog(const QModelIndex& Index)
{
    return Index.column() == 1
        && (TPropertyAttributes::fromInt(Index.data(TKvInspectorModel::AttributesRole).toInt()) & paDialog);
}

} // namespace

QRect TKvInspectorDelegate::EllipsisRect(const QRect& Cell)
{
    return QRect(Cell.right() - 20, Cell.top() + 1, 20, Cell.height() - 2);
}

void TKvInspectorDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const
{
    if (!HasDialog(Index)) {
        QStyledItemDelegate::paint(Painter, Option, Index);
        return;
    }
    QStyleOptionViewItem Value = Option;
    Value.rect.setRight(Value.rect.right() - 21);
    QStyledItemDelegate::paint(Painter, Value, Index);
    QStyleOptionButton Button;
    Button.rect = EllipsisRect(Option.rect);
    Button.text = QStringLiteral("...");
    Button.state = QStyle::State_Enabled | QStyle::State_Raised;
    const QWidget* View = Option.widget;
    (View ? View->style() : QApplication::style())->drawControl(QStyle::CE_PushButton, &Button, Painter, View);
}

bool TKvInspectorDelegate::editorEvent(QEvent* Event, QAbstractItemModel* Model, const QStyleOptionViewItem& Option,
                                       const QModelIndex& Index)
{
    if (Event->type() == QEvent::MouseButtonPress && HasDialog(Index)) {
        auto* Mouse = static_cast<QMouseEvent*>(Event);
        if (Mouse->button() == Qt::LeftButton && EllipsisRect(Option.rect).contains(Mouse->position().toPoint())) {
            RunEdit(QPersistentModelIndex(Index), nullptr);
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(Event, Model, Option, Index);
}

// A drop-down without a line edit has no "..." of its own: it leaves the painted one uncovered.
void TKvInspectorDelegate::updateEditorGeometry(QWidget* Editor, const QStyleOptionViewItem& Option,
                                                const QModelIndex& Index) const
{
    QStyledItemDelegate::updateEditorGeometry(Editor, Option, Index);
    auto* Combo = qobject_cast<QComboBox*>(Editor);
    if (Combo && !Combo->isEditable() && HasDialog(Index))
        Editor->setGeometry(Editor->geometry().adjusted(0, 0, -21, 0));
}
