#pragma once

#include <QList>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include "DesignIntf.h"

#include <QHash>

class QFontMetrics;
class QPainter;
class TComponent;
class TControl;
class TKvCustomPageControl;
class TKvTabSheet;

// How far pasted components move, in whole grid steps right and down, so that none hides one
// already there: a control standing at the very place of another in the same parent, or a
// non-visual box or its name (written in Names) lying over another's. None when nothing would be
// hidden.
QPoint KvPasteOffset(const TComponent* Root, const QList<TComponent*>& Pasted, const QFontMetrics& Names);
// Moves components by Offset: controls in their parent, non-visual components on the form.
void KvMoveComponents(const QList<TComponent*>& Components, const QPoint& Offset);

// The design surface of one form: its controls at their bounds, nested in their parents, and
// its non-visual components as boxes with their palette picture at the place stored for them.
// Clicks select (Ctrl adds or removes), dragging moves, the eight handles of a selected control resize it, dragging on the
// form's background selects what the band touches, Delete removes, and with a palette class
// chosen a click creates a component of it in the container clicked. Keys: arrows select the
// neighbour, Ctrl+arrows move by one pixel, Shift+arrows resize by one pixel. Mouse moves and
// sizes snap to the grid unless Ctrl is held. All changes go through the designer.
class TKvFormView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int GridSize = 8;

    explicit TKvFormView(QWidget* parent = nullptr);

    void SetDesigner(IDesigner* Designer);
    IDesigner* Designer() const { return FDesigner; }
    // The class the next click creates; none for selecting.
    void SetCreateClass(const QMetaObject* Class) { FCreateClass = Class; }
    const QMetaObject* CreateClass() const { return FCreateClass; }

    // Where a component is drawn, in this widget's coordinates; empty when it is not drawn.
    QRect BoundsOf(const TComponent* Component) const;
    // The topmost component drawn at Pos (the root when only the form is there); none outside.
    TComponent* ComponentAt(const QPoint& Pos) const;
    // The resize handles of the one selected control, clockwise from the top-left corner.
    QList<QRect> HandleRects() const;
    // The tab of a page control's page; empty when it has none.
    QRect TabRect(const TKvTabSheet* Sheet) const;
    // Where a non-visual component's name is written under its box: no wider than leaves room
    // for the names of the boxes beside it.
    QRect NonVisualCaptionRect(const TComponent* Component) const;
    // Page controls show the pages that hold the selected components.
    void ShowPagesOf(const TDesignerSelectionList& Selection);
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
    enum class TDrag { None, Move, Resize, Band };
    struct TDragged
    {
        QPointer<TComponent> Component;
        QRect Start; // Left, Top, Width, Height when the drag began
    };

    IDesigner* FDesigner = nullptr;
    const QMetaObject* FCreateClass = nullptr;
    QPoint FPressPos;
    QPoint FDragPos;
    QList<TDragged> FDragged;
    TDrag FDrag = TDrag::None;
    bool FDragging = false;
    int FHandle = -1; // which handle resizes
    // The page each page control shows here; choosing one is not a change of the form.
    QHash<const TComponent*, QPointer<TKvTabSheet>> FShownPages;
    bool FSizeStale = false;

    TComponent* Root() const;
    QRect FormRect() const;
    // Where the root's controls are placed from (below the caption bar of a form).
    QPoint ClientOrigin() const;
    QList<TComponent*> NonVisualComponents() const;
    bool IsNonVisual(const TComponent* Component) const;
    // A non-visual component's box.
    QRect NonVisualRect(const TComponent* Component) const;
    TComponent* MainMenu() const;
    void Select(TComponent* Component, bool Toggle);
    void CreateAt(TComponent* Target, const QPoint& Pos);
    // The bounds a dragged control gets for the mouse at Pos.
    QRect DraggedBounds(const TDragged& Dragged, const QPoint& Pos, bool Snap) const;
    void FinishDrag(const QPoint& Pos, bool Snap);
    void ChangeSelection(const QPoint& Move, const QSize& Grow);
    void SelectNeighbour(int Dx, int Dy);
    void DrawControl(QPainter& P, TControl* C, const QRect& Rect) const;
    QList<QPair<QRect, TKvTabSheet*>> TabRects(const TKvCustomPageControl* Pages, const QRect& Rect) const;
    QString TabCaption(const TKvCustomPageControl* Pages, const TKvTabSheet* Sheet) const;
    bool ClickTab(const QPoint& Pos);
};

// The text a designer shows on a component: its caption when it has one, else its name.
QString KvDisplayText(const TComponent* Component);
