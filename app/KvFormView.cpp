#include "KvFormView.h"

#include "Controls.h"
#include "KvAppPackage.h"
#include "KvControls.h"
#include "KvFormDesigner.h"
#include "KvMenus.h"
#include "SysUtils.h"
#include "TypInfo.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <functional>

namespace {

constexpr int Margin = 16;
constexpr int CaptionHeight = 24;
constexpr int MenuBarHeight = 20;
constexpr int TrayGap = 14;
constexpr int TrayCell = 76; // an icon and its name
constexpr int TrayIcon = 28;
constexpr int TrayRowHeight = TrayIcon + 22;

int IntProperty(const QObject* Object, const char* Name, int Default)
{
    const QVariant V = Object->property(Name);
    return V.isValid() && V.canConvert<int>() ? V.toInt() : Default;
}

QString TextProperty(const QObject* Object, const char* Name)
{
    const QVariant V = Object->property(Name);
    if (!V.isValid())
        return {};
    if (V.metaType() == QMetaType::fromType<QString>())
        return V.toString();
    QVariant Copy = V;
    return Copy.convert(QMetaType::fromType<QString>()) ? Copy.toString() : QString();
}

// Controls in drawing order with their place; Visit returns false to skip a control's children.
void ForEachControl(const TWinControl* Parent, const QPoint& Origin, const QRect& Clip,
                    const std::function<bool(TControl*, const QRect&, const QRect&)>& Visit)
{
    for (int I = 0; I < Parent->ControlCount(); ++I) {
        TControl* C = Parent->Controls(I);
        const QRect R(Origin + QPoint(C->GetLeft(), C->GetTop()), QSize(C->GetWidth(), C->GetHeight()));
        if (!Visit(C, R, Clip))
            continue;
        if (auto* W = qobject_cast<TWinControl*>(C))
            ForEachControl(W, R.topLeft(), Clip.intersected(R), Visit);
    }
}

} // namespace

QString KvDisplayText(const TComponent* Component)
{
    QString Caption = TextProperty(Component, "Caption");
    if (const auto* Label = qobject_cast<TKvMemoryLabel*>(Component->property("MemoryLabel").value<QObject*>()))
        Caption = KvDisplayCaption(Label, Caption);
    return Caption.isEmpty() ? Component->GetName() : Caption;
}

TKvFormView::TKvFormView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette P = palette();
    P.setColor(QPalette::Window, QColor(0xe9, 0xec, 0xf0));
    setPalette(P);
}

void TKvFormView::SetDesigner(TKvFormDesigner* Designer)
{
    FDesigner = Designer;
    FDragged.clear();
    FDragging = false;
    Changed();
}

TComponent* TKvFormView::Root() const
{
    return FDesigner ? FDesigner->GetRoot() : nullptr;
}

void TKvFormView::Changed()
{
    setMinimumSize(sizeHint());
    updateGeometry();
    update();
}

QRect TKvFormView::FormRect() const
{
    const TComponent* R = Root();
    if (!R)
        return {};
    return QRect(Margin, Margin, qMax(IntProperty(R, "Width", 400), 80), qMax(IntProperty(R, "Height", 300), 40));
}

QPoint TKvFormView::ClientOrigin() const
{
    const bool HasCaption = qobject_cast<const TCustomForm*>(Root()) != nullptr;
    return FormRect().topLeft() + QPoint(0, HasCaption ? CaptionHeight + (MainMenu() ? MenuBarHeight : 0) : 0);
}

// A form shows its main menu as a bar above its controls.
TComponent* TKvFormView::MainMenu() const
{
    for (TComponent* C : NonVisualComponents())
        if (qobject_cast<TKvMainMenu*>(C))
            return C;
    return nullptr;
}

QList<TComponent*> TKvFormView::NonVisualComponents() const
{
    QList<TComponent*> List;
    if (TComponent* R = Root())
        R->GetChildren(
            [&List](TComponent* C) {
                if (!qobject_cast<TControl*>(C))
                    List << C;
            },
            R);
    return List;
}

QRect TKvFormView::TrayRect(int Index) const
{
    const QRect Form = FormRect();
    // Every cell as wide as the longest name, so that no name is cut.
    int Cell = TrayCell;
    for (const TComponent* C : NonVisualComponents())
        Cell = qMax(Cell, fontMetrics().horizontalAdvance(C->GetName()) + 8);
    const int PerRow = qMax(1, Form.width() / Cell);
    // A data module has no controls: its components sit on the surface itself.
    const bool OnSurface = !qobject_cast<const TWinControl*>(Root());
    const QPoint Start = OnSurface ? Form.topLeft() + QPoint(8, 8) : QPoint(Form.left(), Form.bottom() + 1 + TrayGap + 18);
    return QRect(Start + QPoint((Index % PerRow) * Cell, (Index / PerRow) * TrayRowHeight),
                 QSize(Cell - 4, TrayRowHeight - 4));
}

QSize TKvFormView::sizeHint() const
{
    const QRect Form = FormRect();
    if (Form.isEmpty())
        return {200, 150};
    QRect All = Form;
    const QList<TComponent*> Tray = NonVisualComponents();
    if (!Tray.isEmpty())
        All = All.united(TrayRect(int(Tray.size()) - 1));
    return {All.right() + Margin, All.bottom() + Margin};
}

QRect TKvFormView::BoundsOf(const TComponent* Component) const
{
    TComponent* R = Root();
    if (!R || !Component)
        return {};
    if (Component == R)
        return FormRect();
    const QList<TComponent*> Tray = NonVisualComponents();
    if (const qsizetype At = Tray.indexOf(const_cast<TComponent*>(Component)); At >= 0)
        return TrayRect(int(At));
    QRect Found;
    if (auto* Form = qobject_cast<TWinControl*>(R))
        ForEachControl(Form, ClientOrigin(), FormRect(), [&](TControl* C, const QRect& Rect, const QRect&) {
            if (C == Component)
                Found = Rect;
            return Found.isNull();
        });
    return Found;
}

TComponent* TKvFormView::ComponentAt(const QPoint& Pos) const
{
    TComponent* R = Root();
    if (!R)
        return nullptr;
    const QList<TComponent*> Tray = NonVisualComponents();
    for (int I = 0; I < Tray.size(); ++I)
        if (TrayRect(I).contains(Pos))
            return Tray.at(I);
    if (!FormRect().contains(Pos))
        return nullptr;
    TComponent* Hit = R;
    if (auto* Form = qobject_cast<TWinControl*>(R))
        ForEachControl(Form, ClientOrigin(), FormRect(), [&](TControl* C, const QRect& Rect, const QRect& Clip) {
            const bool Inside = Clip.contains(Pos) && Rect.contains(Pos);
            if (Inside)
                Hit = C; // later controls lie on top, children on their parents
            return Inside;
        });
    return Hit;
}

void TKvFormView::paintEvent(QPaintEvent*)
{
    QPainter P(this);
    TComponent* R = Root();
    if (!R) {
        P.setPen(palette().color(QPalette::PlaceholderText));
        P.drawText(rect(), Qt::AlignCenter, QStringLiteral("Double-click a form in the project to design it"));
        return;
    }
    const TDesignerSelectionList Selection = FDesigner->GetSelections();
    const QRect Form = FormRect();

    // The form: a window with its caption bar and a dotted grid.
    P.setPen(QColor(0x7a, 0x84, 0x90));
    P.setBrush(QColor(0xf4, 0xf4, 0xf4));
    P.drawRect(Form.adjusted(0, 0, -1, -1));
    const QPoint Client = ClientOrigin();
    if (Client.y() > Form.top()) {
        const QRect Bar(Form.left() + 1, Form.top() + 1, Form.width() - 2, CaptionHeight - 1);
        P.fillRect(Bar, Selection.contains(R) ? QColor(0x2d, 0x5f, 0xa8) : QColor(0x5b, 0x7d, 0xb1));
        P.setPen(Qt::white);
        P.drawText(Bar.adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   P.fontMetrics().elidedText(KvDisplayText(R), Qt::ElideRight, Bar.width() - 16));
    }
    if (TComponent* Menu = MainMenu(); Menu && Client.y() > Form.top()) {
        const QRect Bar(Form.left() + 1, Client.y() - MenuBarHeight, Form.width() - 2, MenuBarHeight);
        P.fillRect(Bar, QColor(0xfb, 0xfb, 0xfb));
        P.setPen(QColor(0xd0, 0xd0, 0xd0));
        P.drawLine(Bar.bottomLeft(), Bar.bottomRight());
        P.setPen(QColor(0x20, 0x20, 0x20));
        int X = Bar.left() + 8;
        Menu->GetChildren(
            [&](TComponent* Item) {
                const QString Text = KvDisplayText(Item).remove(u'&');
                P.drawText(QRect(X, Bar.top(), Bar.right() - X, Bar.height()), Qt::AlignVCenter | Qt::AlignLeft, Text);
                X += P.fontMetrics().horizontalAdvance(Text) + 16;
            },
            R);
    }
    const QRect ClientRect(Client, Form.bottomRight() - QPoint(1, 1));
    P.setPen(QColor(0xc8, 0xc8, 0xc8));
    for (int X = ClientRect.left() + 8; X < ClientRect.right(); X += 8)
        for (int Y = ClientRect.top() + 8; Y < ClientRect.bottom(); Y += 8)
            P.drawPoint(X, Y);

    QList<QPair<QRect, QRect>> Marked; // selected controls and their clip
    if (auto* FormControl = qobject_cast<TWinControl*>(R))
        ForEachControl(FormControl, Client, ClientRect, [&](TControl* C, const QRect& Rect, const QRect& Clip) {
            if (!Clip.intersects(Rect))
                return false;
            P.save();
            P.setClipRect(Clip);
            const bool Container = qobject_cast<TWinControl*>(C) != nullptr;
            // Opaque, so that a control lying on another hides that one's name.
            P.setBrush(Container ? QColor(0xe4, 0xe7, 0xeb) : QColor(0xf4, 0xf4, 0xf4));
            P.setPen(QPen(QColor(0x8a, 0x93, 0x9e), 1, Container ? Qt::SolidLine : Qt::DashLine));
            P.drawRect(Rect.adjusted(0, 0, -1, -1));
            P.setPen(C->GetEnabled() ? QColor(0x20, 0x20, 0x20) : QColor(0x90, 0x90, 0x90));
            const QRect TextRect = Rect.adjusted(4, 2, -4, -2);
            // A tall control names itself in its corner, where what lies on it least often covers it.
            const Qt::Alignment Align =
                Rect.height() > 40 ? Qt::AlignTop | Qt::AlignLeft : Qt::AlignVCenter | Qt::AlignLeft;
            P.drawText(TextRect, Align, P.fontMetrics().elidedText(KvDisplayText(C), Qt::ElideRight, TextRect.width()));
            P.restore();
            if (Selection.contains(C))
                Marked.append({Rect, Clip});
            return true;
        });

    // Non-visual components.
    const QList<TComponent*> Tray = NonVisualComponents();
    if (!Tray.isEmpty() && qobject_cast<TWinControl*>(R)) {
        P.setPen(QColor(0x60, 0x68, 0x70));
        P.drawText(QPoint(Form.left(), Form.bottom() + TrayGap + 10), QStringLiteral("Non-visual components"));
    }
    for (int I = 0; I < Tray.size(); ++I) {
        TComponent* C = Tray.at(I);
        const QRect Cell = TrayRect(I);
        const QRect Icon(Cell.left() + (Cell.width() - TrayIcon) / 2, Cell.top(), TrayIcon, TrayIcon);
        const bool Selected = Selection.contains(C);
        P.setPen(Selected ? QColor(0x2d, 0x5f, 0xa8) : QColor(0x9a, 0xa2, 0xab));
        P.setBrush(Selected ? QColor(0xd6, 0xe4, 0xf7) : QColor(0xfa, 0xfa, 0xfa));
        P.drawRect(Icon.adjusted(0, 0, -1, -1));
        KvPaletteIcon(C->metaObject()).paint(&P, Icon.adjusted(2, 2, -2, -2));
        P.setPen(QColor(0x20, 0x20, 0x20));
        P.drawText(QRect(Cell.left() - 2, Icon.bottom() + 2, Cell.width() + 4, 16), Qt::AlignHCenter | Qt::AlignTop,
                   P.fontMetrics().elidedText(C->GetName(), Qt::ElideRight, Cell.width() + 4));
    }

    // Grab handles of the selected controls: black for one, grey for several.
    const QColor Handle = Selection.size() > 1 ? QColor(0x80, 0x80, 0x80) : QColor(0x10, 0x10, 0x10);
    for (const auto& [Rect, Clip] : std::as_const(Marked)) {
        const QRect Box = Rect.adjusted(0, 0, -1, -1);
        const QPoint Points[] = {Box.topLeft(), QPoint(Box.center().x(), Box.top()), Box.topRight(),
                                 QPoint(Box.right(), Box.center().y()), Box.bottomRight(),
                                 QPoint(Box.center().x(), Box.bottom()), Box.bottomLeft(),
                                 QPoint(Box.left(), Box.center().y())};
        for (const QPoint& Pt : Points)
            P.fillRect(QRect(Pt - QPoint(2, 2), QSize(5, 5)), Handle);
    }
}

void TKvFormView::Select(TComponent* Component, bool Toggle)
{
    TDesignerSelectionList Selection = FDesigner->GetSelections();
    if (Toggle) {
        if (Selection.contains(Component))
            Selection.removeAll(Component);
        else
            Selection.append(Component);
        // Adding a control to the selection drops the form, which cannot move with it.
        if (Selection.size() > 1)
            Selection.removeAll(Root());
    } else if (!Selection.contains(Component)) {
        Selection = {Component};
    } else {
        return;
    }
    FDesigner->SetSelections(Selection);
}

void TKvFormView::CreateAt(TComponent* Target, const QPoint& Pos)
{
    const QMetaObject* Class = FCreateClass;
    FCreateClass = nullptr;
    // Controls go into the container clicked, at the point clicked; the designer passes a click
    // on a simple control on to that control's container.
    TComponent* Parent = Target && qobject_cast<TControl*>(Target) ? Target : Root();
    const TControl* Container = qobject_cast<TControl*>(Parent);
    while (Container && !qobject_cast<const TWinControl*>(Container))
        Container = Container->Parent();
    const QPoint Origin = !Container || Container == Root() ? ClientOrigin() : BoundsOf(Container).topLeft();
    const bool Visual = InheritsFrom(Class, &TControl::staticMetaObject);
    try {
        TComponent* Created = Visual ? FDesigner->CreateComponent(Class, Parent, Pos.x() - Origin.x(), Pos.y() - Origin.y(), -1, -1)
                                     : FDesigner->CreateComponent(Class, nullptr, -1, -1, -1, -1);
        Changed();
        emit CreateClassCleared();
        emit ComponentCreated(Created);
    } catch (const Exception& E) {
        emit CreateClassCleared();
        emit ErrorRaised(E.Message);
    }
}

void TKvFormView::mousePressEvent(QMouseEvent* Event)
{
    setFocus(Qt::MouseFocusReason);
    if (!FDesigner || Event->button() != Qt::LeftButton)
        return;
    TComponent* Hit = ComponentAt(Event->position().toPoint());
    if (FCreateClass) {
        if (Hit || FormRect().contains(Event->position().toPoint()))
            CreateAt(Hit, Event->position().toPoint());
        return;
    }
    if (!Hit) {
        FDesigner->SelectComponent(Root());
        return;
    }
    Select(Hit, Event->modifiers().testFlag(Qt::ControlModifier));
    FPressPos = Event->position().toPoint();
    FDragged.clear();
    FDragging = false;
    if (Event->modifiers().testFlag(Qt::ControlModifier))
        return;
    for (TPersistent* P : FDesigner->GetSelections())
        if (auto* C = qobject_cast<TControl*>(P); C && C != Root())
            FDragged.append({C, QPoint(C->GetLeft(), C->GetTop())});
}

void TKvFormView::mouseMoveEvent(QMouseEvent* Event)
{
    if (FDragged.isEmpty() || !(Event->buttons() & Qt::LeftButton))
        return;
    const QPoint Delta = Event->position().toPoint() - FPressPos;
    if (!FDragging && Delta.manhattanLength() < QApplication::startDragDistance())
        return;
    FDragging = true;
    for (const TDragged& D : std::as_const(FDragged))
        if (D.Control) {
            D.Control->SetLeft(D.Start.x() + Delta.x());
            D.Control->SetTop(D.Start.y() + Delta.y());
        }
    update();
}

void TKvFormView::mouseReleaseEvent(QMouseEvent*)
{
    const bool Moved = FDragging;
    FDragging = false;
    FDragged.clear();
    if (Moved && FDesigner)
        FDesigner->Modified();
}

void TKvFormView::mouseDoubleClickEvent(QMouseEvent* Event)
{
    if (!FDesigner || FCreateClass)
        return;
    if (TComponent* Hit = ComponentAt(Event->position().toPoint()))
        emit ComponentDoubleClicked(Hit);
}

void TKvFormView::contextMenuEvent(QContextMenuEvent* Event)
{
    if (!FDesigner)
        return;
    TComponent* Hit = ComponentAt(Event->pos());
    if (!Hit)
        return;
    Select(Hit, false);
    emit ContextMenuRequested(Hit, Event->globalPos());
}

void TKvFormView::MoveSelection(const QPoint& Delta)
{
    bool Moved = false;
    for (TPersistent* P : FDesigner->GetSelections())
        if (auto* C = qobject_cast<TControl*>(P); C && C != Root()) {
            C->SetLeft(C->GetLeft() + Delta.x());
            C->SetTop(C->GetTop() + Delta.y());
            Moved = true;
        }
    if (Moved)
        FDesigner->Modified();
}

void TKvFormView::keyPressEvent(QKeyEvent* Event)
{
    if (!FDesigner) {
        QWidget::keyPressEvent(Event);
        return;
    }
    switch (Event->key()) {
    case Qt::Key_Delete:
        emit DeleteRequested();
        return;
    case Qt::Key_Left: MoveSelection({-1, 0}); return;
    case Qt::Key_Right: MoveSelection({1, 0}); return;
    case Qt::Key_Up: MoveSelection({0, -1}); return;
    case Qt::Key_Down: MoveSelection({0, 1}); return;
    case Qt::Key_Escape:
        FCreateClass = nullptr;
        emit CreateClassCleared();
        return;
    default:
        QWidget::keyPressEvent(Event);
    }
}
