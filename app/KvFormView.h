#pragma once

#include <QList>
#include <QPointer>
#include <QRect>
#include <QWidget>

class TComponent;
class TControl;
class TKvFormDesigner;

// The design surface of one form: its controls at their bounds, nested in their parents, and
// its non-visual components as icons in a tray under the form. Clicks select (Ctrl adds or
// removes), dragging moves, Delete removes, and with a palette class chosen a click creates a
// component of it in the container clicked. All changes go through the designer.
class TKvFormView : public QWidget
{
    Q_OBJECT

public:
    explicit TKvFormView(QWidget* parent = nullptr);

    void SetDesigner(TKvFormDesigner* Designer);
    TKvFormDesigner* Designer() const { return FDesigner; }
    // The class the next click creates; none for selecting.
    void SetCreateClass(const QMetaObject* Class) { FCreateClass = Class; }
    const QMetaObject* CreateClass() const { return FCreateClass; }

    // Where a component is drawn, in this widget's coordinates; empty when it is not drawn.
    QRect BoundsOf(const TComponent* Component) const;
    // The topmost component drawn at Pos (the root when only the form is there); none outside.
    TComponent* ComponentAt(const QPoint& Pos) const;
    // The form changed size or content.
    void Changed();

    QSize sizeHint() const override;

signals:
    void ComponentCreated(TComponent* Component);
    // The next click selects again (a component was created, or Escape was pressed).
    void CreateClassCleared();
    void ContextMenuRequested(TComponent* Component, const QPoint& GlobalPos);
    void ComponentDoubleClicked(TComponent* Component);
    void DeleteRequested();
    void ErrorRaised(const QString& Message);

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;

private:
    struct TDragged
    {
        QPointer<TControl> Control;
        QPoint Start; // Left, Top when the drag began
    };

    TKvFormDesigner* FDesigner = nullptr;
    const QMetaObject* FCreateClass = nullptr;
    QPoint FPressPos;
    QList<TDragged> FDragged;
    bool FDragging = false;

    TComponent* Root() const;
    QRect FormRect() const;
    // Where the root's controls are placed from (below the caption bar of a form).
    QPoint ClientOrigin() const;
    QList<TComponent*> NonVisualComponents() const;
    TComponent* MainMenu() const;
    QRect TrayRect(int Index) const;
    void Select(TComponent* Component, bool Toggle);
    void CreateAt(TComponent* Target, const QPoint& Pos);
    void MoveSelection(const QPoint& Delta);
};

// The text a designer shows on a component: its caption when it has one, else its name.
QString KvDisplayText(const TComponent* Component);
