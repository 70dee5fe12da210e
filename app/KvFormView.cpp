#include "KvFormView.h"

#include "Colors.h"
#include "Controls.h"
#include "Filer.h"
#include "KvAppPackage.h"
#include "KvControls.h"
#include "KvExtCtrls.h"
#include "DesignIntf.h"
#include "KvApplication.h"
#include "KvMenus.h"
#include "KvPkgDisplay.h"
#include "KvReferences.h"
#include "KvStdCtrls.h"
#include "SysUtils.h"
#include "TypInfo.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QHash>
#include <QPainter>
#include <QTimer>

#include <functional>
#include <span>

namespace {

constexpr int Margin = 16;
constexpr int CaptionHeight = 24;
constexpr int MenuBarHeight = 20;
constexpr int IconBox = 28;     // a non-visual component
constexpr int IconCaption = 16; // its name under it

// Where a component stands in the form file: a control's bounds, a non-visual component's place.
QRect StoredBounds(const TComponent* Component)
{
    if (const auto* C = qobject_cast<const TControl*>(Component))
        return QRect(C->GetLeft(), C->GetTop(), C->GetWidth(), C->GetHeight());
    return QRect(Component->DesignLeft(), Component->DesignTop(), IconBox, IconBox);
}

// A component the form shows as a box of its own: not a control, and not drawn inside another.
bool IsBoxed(const TComponent* Component)
{
    return !qobject_cast<const TControl*>(Component) && !Component->HasParent();
}

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

// The page a page control shows: the one chosen in the view, else the control's active page.
TKvTabSheet* ShownSheet(const TKvCustomPageControl* Pages, const QHash<const TComponent*, QPointer<TKvTabSheet>>& Chosen)
{
    const QList<TKvTabSheet*> Sheets = Pages->TabSheets();
    if (TKvTabSheet* Sheet = Chosen.value(Pages); Sheet && Sheets.contains(Sheet))
        return Sheet;
    if (TKvTabSheet* Active = Pages->ActivePage())
        return Active;
    return Sheets.value(0);
}

// Controls in drawing order with their place; Visit returns false to skip a control's children.
// Pages a page control or an outlook bar does not show are left out with what they hold.
void ForEachControl(const TWinControl* Parent, const QPoint& Origin, const QRect& Clip,
                    const std::function<bool(TControl*, const QRect&, const QRect&)>& Visit,
                    const QHash<const TComponent*, QPointer<TKvTabSheet>>& Chosen)
{
    const auto* Pages = qobject_cast<const TKvCustomPageControl*>(Parent);
    const TKvTabSheet* Shown = Pages ? ShownSheet(Pages, Chosen) : nullptr;
    // An outlook bar shows its active page.
    const auto* Bar = qobject_cast<const TKvOutLookBar*>(Parent);
    const TKvOutLookBarPage* BarPage = Bar ? Bar->ActivePage() : nullptr;
    for (int I = 0; I < Parent->ControlCount(); ++I) {
        TControl* C = Parent->Controls(I);
        if (Pages && qobject_cast<TKvTabSheet*>(C) && C != Shown)
            continue;
        if (BarPage && qobject_cast<TKvOutLookBarPage*>(C) && C != BarPage)
            continue;
        const QRect R(Origin + QPoint(C->GetLeft(), C->GetTop()), QSize(C->GetWidth(), C->GetHeight()));
        if (!Visit(C, R, Clip))
            continue;
        if (auto* W = qobject_cast<TWinControl*>(C))
            ForEachControl(W, R.topLeft(), Clip.intersected(R), Visit, Chosen);
    }
}

// A caption as shown: '&' marks the access key, "&&" stands for an ampersand.
QString WithoutAccessKey(const QString& Caption)
{
    QString Shown;
    for (qsizetype I = 0; I < Caption.size(); ++I)
        if (Caption.at(I) != u'&' || (++I < Caption.size()))
            Shown += Caption.at(I);
    return Shown;
}

} // namespace

QString KvDisplayText(const TComponent* Component)
{
    if (IsPlaceholder(Component)) {
        // A component nobody here knows: what it says, or what it is.
        if (const QString Caption = KeptString(Component, QStringLiteral("Caption")); !Caption.isEmpty())
            return WithoutAccessKey(Caption);
        if (const QString Text = KeptString(Component, QStringLiteral("Text")); !Text.isEmpty())
            return Text;
        return QStringLiteral("%1: %2").arg(Component->GetName(), Component->ClassName());
    }
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

void TKvFormView::SetDesigner(IDesigner* Designer)
{
    FDesigner = Designer;
    FDragged.clear();
    FDragging = false;
    FDrag = TDrag::None;
    Changed();
}

TComponent* TKvFormView::Root() const
{
    return FDesigner ? FDesigner->GetRoot() : nullptr;
}

void TKvFormView::Changed()
{
    update();
    // Measuring walks every component: once for a run of changes.
    if (std::exchange(FSizeStale, true))
        return;
    QTimer::singleShot(0, this, [this] {
        FSizeStale = false;
        setMinimumSize(sizeHint());
        updateGeometry();
    });
}

QRect TKvFormView::FormRect() const
{
    const TComponent* R = Root();
    if (!R)
        return {};
    QRect Rect(Margin, Margin, qMax(IntProperty(R, "Width", 400), 80), qMax(IntProperty(R, "Height", 300), 40));
    // A form that stores its client size has its caption and menu bars on top of that.
    if (const auto* Form = qobject_cast<const TCustomForm*>(R); Form && Form->GetClientHeight() > 0)
        Rect.setHeight(Form->GetClientHeight() + CaptionHeight + (MainMenu() ? MenuBarHeight : 0));
    return Rect;
}

QPoint TKvFormView::ClientOrigin() const
{
    const bool HasCaption = qobject_cast<const TCustomForm*>(Root()) != nullptr;
    return FormRect().topLeft() + QPoint(0, HasCaption ? CaptionHeight + (MainMenu() ? MenuBarHeight : 0) : 0);
}

// A form shows its main menu as a bar above its controls: the menu it names (whatever its class),
// else the library's.
TComponent* TKvFormView::MainMenu() const
{
    if (const auto* Form = qobject_cast<const TCustomForm*>(Root()); Form && Form->Menu())
        return Form->Menu();
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

bool TKvFormView::IsNonVisual(const TComponent* Component) const
{
    const TComponent* R = Root();
    return Component && Component != R && Component->Owner() == R && !qobject_cast<const TControl*>(Component)
        && !Component->HasParent();
}

QRect TKvFormView::NonVisualRect(const TComponent* Component) const
{
    return StoredBounds(Component).translated(ClientOrigin());
}

QRect TKvFormView::NonVisualCaptionRect(const TComponent* Component) const
{
    const QRect Box = NonVisualRect(Component);
    int Width = fontMetrics().horizontalAdvance(Component->GetName()) + 4;
    // Names are centred under their boxes: with the box beside at a distance D between the
    // centres, each name may take D less a pixel to keep them apart.
    for (const TComponent* Other : NonVisualComponents()) {
        const QRect Beside = NonVisualRect(Other);
        if (Other != Component && std::abs(Beside.top() - Box.top()) < IconCaption)
            Width = std::min(Width, std::max(Box.width(), std::abs(Beside.center().x() - Box.center().x()) - 1));
    }
    return QRect(Box.center().x() - Width / 2, Box.bottom() + 1, Width, IconCaption);
}

QPoint KvPasteOffset(const TComponent* Root, const QList<TComponent*>& Pasted, const QFontMetrics& Names)
{
    QList<const TComponent*> Others;
    for (int I = 0; I < Root->ComponentCount(); ++I)
        if (!Pasted.contains(Root->Components(I)))
            Others << Root->Components(I);
    // A box and its whole name centred under it.
    auto Footprint = [&Names](const TComponent* C) {
        const QRect Box = StoredBounds(C);
        const int Wide = std::max(0, Names.horizontalAdvance(C->GetName()) + 4 - Box.width()) / 2 + 1;
        return Box.adjusted(-Wide, 0, Wide, IconCaption);
    };
    auto Hides = [&](const QPoint& Offset) {
        for (const TComponent* P : Pasted) {
            const QRect Moved = StoredBounds(P).translated(Offset);
            const auto* Control = qobject_cast<const TControl*>(P);
            for (const TComponent* O : Others) {
                const auto* Under = qobject_cast<const TControl*>(O);
                if (Control && Under && Under->Parent() == Control->Parent() &&
                    StoredBounds(O).topLeft() == Moved.topLeft())
                    return true;
                if (!Control && IsBoxed(P) && IsBoxed(O) && Footprint(O).intersects(Footprint(P).translated(Offset)))
                    return true;
            }
        }
        return false;
    };
    // Far enough for any crowd of boxes a form holds; beyond it the copies stay where they are.
    for (int Step = 0; Step < 256; ++Step) {
        const QPoint Offset(Step * TKvFormView::GridSize, Step * TKvFormView::GridSize);
        if (!Hides(Offset))
            return Offset;
    }
    return {};
}

void KvMoveComponents(const QList<TComponent*>& Components, const QPoint& Offset)
{
    if (Offset.isNull())
        return;
    for (TComponent* C : Components) {
        if (auto* Control = qobject_cast<TControl*>(C)) {
            Control->SetLeft(Control->GetLeft() + Offset.x());
            Control->SetTop(Control->GetTop() + Offset.y());
        } else if (IsBoxed(C)) {
            C->SetDesignPos(C->DesignLeft() + Offset.x(), C->DesignTop() + Offset.y());
        }
    }
}

QSize TKvFormView::sizeHint() const
{
    const QRect Form = FormRect();
    if (Form.isEmpty())
        return {200, 150};
    // What lies outside the form still has to be reached, to be moved back.
    QRect All = Form;
    for (const TComponent* C : NonVisualComponents())
        All = All.united(NonVisualRect(C).adjusted(0, 0, 0, IconCaption));
    return {All.right() + Margin, All.bottom() + Margin};
}

QRect TKvFormView::BoundsOf(const TComponent* Component) const
{
    TComponent* R = Root();
    if (!R || !Component)
        return {};
    if (Component == R)
        return FormRect();
    if (IsNonVisual(Component))
        return NonVisualRect(Component);
    QRect Found;
    if (auto* Form = qobject_cast<TWinControl*>(R))
        ForEachControl(
            Form, ClientOrigin(), FormRect(),
            [&](TControl* C, const QRect& Rect, const QRect&) {
                if (C == Component)
                    Found = Rect;
                return Found.isNull();
            },
            FShownPages);
    return Found;
}

TComponent* TKvFormView::ComponentAt(const QPoint& Pos) const
{
    TComponent* R = Root();
    if (!R)
        return nullptr;
    // Non-visual components lie on top, the last drawn uppermost.
    const QList<TComponent*> NonVisual = NonVisualComponents();
    for (qsizetype I = NonVisual.size() - 1; I >= 0; --I)
        if (NonVisualRect(NonVisual.at(I)).contains(Pos))
            return NonVisual.at(I);
    if (!FormRect().contains(Pos))
        return nullptr;
    TComponent* Hit = R;
    if (auto* Form = qobject_cast<TWinControl*>(R))
        ForEachControl(
            Form, ClientOrigin(), FormRect(),
            [&](TControl* C, const QRect& Rect, const QRect& Clip) {
                const bool Inside = Clip.contains(Pos) && Rect.contains(Pos);
                if (Inside)
                    Hit = C; // later controls lie on top, children on their parents
                return Inside;
            },
            FShownPages);
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
                const QString Text = IsPlaceholder(Item) ? KvDisplayText(Item) : KvDisplayText(Item).remove(u'&');
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
        ForEachControl(
            FormControl, Client, ClientRect,
            [&](TControl* C, const QRect& Rect, const QRect& Clip) {
                if (!Clip.intersects(Rect))
                    return false;
                P.save();
                P.setClipRect(Clip);
                DrawControl(P, C, Rect);
                P.restore();
                if (Selection.contains(C))
                    Marked.append({Rect, Clip});
                return true;
            },
            FShownPages);

    // Non-visual components, above the controls, their names under them.
    for (TComponent* C : NonVisualComponents()) {
        const QRect Box = NonVisualRect(C);
        const bool Selected = Selection.contains(C);
        P.setPen(QColor(0x9a, 0xa2, 0xab));
        P.setBrush(QColor(0xfa, 0xfa, 0xfa));
        P.drawRect(Box.adjusted(0, 0, -1, -1));
        KvPaletteIcon(C->metaObject()).paint(&P, Box.adjusted(2, 2, -2, -2));
        const QRect Caption = NonVisualCaptionRect(C);
        P.setPen(QColor(0x20, 0x20, 0x20));
        P.drawText(Caption, Qt::AlignHCenter | Qt::AlignTop,
                   P.fontMetrics().elidedText(C->GetName(), Qt::ElideRight, Caption.width()));
        if (Selected)
            Marked.append({Box, Box});
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

    // What a drag would do, drawn until the mouse is released.
    if (FDragging) {
        P.setBrush(Qt::NoBrush);
        P.setPen(QPen(QColor(0x20, 0x20, 0x20), 1, Qt::DotLine));
        if (FDrag == TDrag::Band) {
            P.drawRect(QRect(FPressPos, FDragPos).normalized());
        } else {
            const bool Snap = !QApplication::keyboardModifiers().testFlag(Qt::ControlModifier);
            for (const TDragged& D : std::as_const(FDragged))
                if (D.Component) {
                    const QRect R = DraggedBounds(D, FDragPos, Snap);
                    const QPoint Shift = BoundsOf(D.Component).topLeft() - StoredBounds(D.Component).topLeft();
                    P.drawRect(R.translated(Shift).adjusted(0, 0, -1, -1));
                }
        }
    }
}

// A control as the runtime would show it: its frame, its picture from its images package and
// its caption or text; a page control with its tabs.
void TKvFormView::DrawControl(QPainter& P, TControl* C, const QRect& Rect) const
{
    const bool Container = qobject_cast<TWinControl*>(C) != nullptr;
    // Filled by its background or colour set where the application's display package has it,
    // as the runtime would; names resolve as the runtime's ("<Default>" to the default set).
    const TKvPkgDisplay* Display = nullptr;
    if (const TKvCApplication* App = KvCApp())
        Display = App->PkgDisplay();
    const auto Target = [&](auto* Ref) { return Display && Ref ? Ref->TargetName() : QString(); };
    const QString Back = Target(C->findChild<TKvSetBackGround*>(QString(), Qt::FindDirectChildrenOnly));
    const TKvSetColorItem* Colour
        = Display ? Display->SetsColor()->Find(Target(C->findChild<TKvSetColor*>(QString(), Qt::FindDirectChildrenOnly)))
                  : nullptr;
    const TKvSetFontItem* Font
        = Display ? Display->SetsFont()->Find(Target(C->findChild<TKvSetFont*>(QString(), Qt::FindDirectChildrenOnly)))
                  : nullptr;
    const QRect Inside = Rect.adjusted(1, 1, -1, -1);
    // Opaque, under the dashed frame and a transparent set too, so that a control lying on
    // another hides that one's name.
    P.fillRect(Rect, Container ? QColor(0xe4, 0xe7, 0xeb) : QColor(0xf4, 0xf4, 0xf4));
    if (!Back.isEmpty() && Display->SetsBackGround()->Find(Back))
        Display->PaintBackGround(P, Inside, Back, TColor{KvColors::clBtnFace});
    else if (Colour)
        P.fillRect(Inside, QColor::fromRgb(ColorToRGB(Colour->Color().Value)));
    P.setBrush(Qt::NoBrush);
    P.setPen(QPen(QColor(0x8a, 0x93, 0x9e), 1, Container ? Qt::SolidLine : Qt::DashLine));
    P.drawRect(Rect.adjusted(0, 0, -1, -1));
    QRect TextRect = Rect.adjusted(4, 2, -4, -2);
    const auto* Image = qobject_cast<TKvMemoryImage*>(C->property("MemoryImage").value<QObject*>());
    const QImage Picture = Image ? Image->Graphic() : QImage();
    const QString Text = KvDisplayText(C);
    const bool HasCaption = Text != C->GetName();
    if (!Picture.isNull()) {
        if (!HasCaption) { // an image component: the picture fills it, keeping its shape
            const QSize Size = Picture.size().scaled(Rect.size() - QSize(2, 2), Qt::KeepAspectRatio);
            P.drawImage(QRect(Rect.center() - QPoint(Size.width() / 2, Size.height() / 2), Size), Picture);
            return;
        }
        const int Side = qMin(Picture.height(), Rect.height() - 4);
        const QSize Glyph = Picture.size().scaled(QSize(Side, Side), Qt::KeepAspectRatio);
        P.drawImage(QRect(QPoint(TextRect.left(), Rect.center().y() - Glyph.height() / 2), Glyph), Picture);
        TextRect.setLeft(TextRect.left() + Glyph.width() + 4);
    }
    if (auto* Pages = qobject_cast<TKvCustomPageControl*>(C)) {
        const TKvTabSheet* Shown = ShownSheet(Pages, FShownPages);
        for (const auto& [Tab, Sheet] : TabRects(Pages, Rect)) {
            const bool Active = Sheet && Sheet == Shown;
            P.setPen(QColor(0x8a, 0x93, 0x9e));
            P.setBrush(Active ? QColor(0xfb, 0xfb, 0xfb) : QColor(0xd8, 0xdc, 0xe1));
            P.drawRect(Tab.adjusted(0, Active ? -2 : 0, -1, Active ? 0 : -1));
            P.setPen(QColor(0x20, 0x20, 0x20));
            P.drawText(Tab, Qt::AlignCenter, TabCaption(Pages, Sheet));
        }
        return;
    }
    if (Font) {
        P.setFont(Font->Font());
        P.setPen(C->GetEnabled() ? QColor::fromRgb(ColorToRGB(Font->FontColor().Value)) : QColor(0x90, 0x90, 0x90));
    } else {
        P.setPen(C->GetEnabled() ? QColor(0x20, 0x20, 0x20) : QColor(0x90, 0x90, 0x90));
    }
    // A tall control names itself in its corner, where what lies on it least often covers it.
    const Qt::Alignment Align = Rect.height() > 40 ? Qt::AlignTop | Qt::AlignLeft : Qt::AlignVCenter | Qt::AlignLeft;
    P.drawText(TextRect, Align, P.fontMetrics().elidedText(Text, Qt::ElideRight, TextRect.width()));
}

QString TKvFormView::TabCaption(const TKvCustomPageControl* Pages, const TKvTabSheet* Sheet) const
{
    const TKvTabControl* Tab = Sheet ? Pages->Tabs()->FindPageId(Sheet->PageId()) : nullptr;
    if (!Tab)
        return Sheet ? KvDisplayText(Sheet) : QString();
    const auto* Label = qobject_cast<TKvMemoryLabel*>(Tab->property("MemoryLabel").value<QObject*>());
    return KvDisplayCaption(Label, Tab->GetValue().AsString());
}

// The tabs along the top of a page control, one per visible tab that shows a page.
QList<QPair<QRect, TKvTabSheet*>> TKvFormView::TabRects(const TKvCustomPageControl* Pages, const QRect& Rect) const
{
    QList<QPair<QRect, TKvTabSheet*>> Tabs;
    const QFontMetrics Metrics = fontMetrics();
    QList<TKvTabSheet*> Sheets = Pages->TabSheets();
    int Height = Pages->TabHeight() > 0 ? Pages->TabHeight() : 22;
    for (const TKvTabSheet* Sheet : Sheets)
        Height = qMin(Height, qMax(12, Sheet->GetTop() - 2));
    int X = Rect.left() + 2;
    QList<TKvTabSheet*> Ordered;
    for (int I = 0; I < Pages->Tabs()->Count(); ++I) // in the order of the tabs
        if (TKvTabControl* Tab = Pages->Tabs()->Items(I); Tab->Visible())
            if (TKvTabSheet* Sheet = Pages->FindPageId(Tab->PageId()); Sheet && !Ordered.contains(Sheet))
                Ordered << Sheet;
    for (TKvTabSheet* Sheet : Sheets)
        if (!Ordered.contains(Sheet) && !Pages->Tabs()->FindPageId(Sheet->PageId()))
            Ordered << Sheet;
    for (TKvTabSheet* Sheet : Ordered) {
        const int Width = Metrics.horizontalAdvance(TabCaption(Pages, Sheet)) + 18;
        Tabs.append({QRect(X, Rect.top() + 2, Width, Height), Sheet});
        X += Width;
    }
    return Tabs;
}

QRect TKvFormView::TabRect(const TKvTabSheet* Sheet) const
{
    auto* Pages = Sheet ? Sheet->PageControl() : nullptr;
    if (!Pages)
        return {};
    for (const auto& [Tab, S] : TabRects(Pages, BoundsOf(Pages)))
        if (S == Sheet)
            return Tab;
    return {};
}

void TKvFormView::ShowPagesOf(const TDesignerSelectionList& Selection)
{
    bool Switched = false;
    for (TPersistent* Item : Selection)
        for (auto* C = qobject_cast<TControl*>(Item); C; C = C->Parent())
            if (auto* Sheet = qobject_cast<TKvTabSheet*>(C); Sheet && Sheet->PageControl()) {
                Switched = Switched || FShownPages.value(Sheet->PageControl()) != Sheet;
                FShownPages.insert(Sheet->PageControl(), Sheet);
            }
    if (Switched)
        update();
}

// A click on a tab shows its page.
bool TKvFormView::ClickTab(const QPoint& Pos)
{
    TComponent* R = Root();
    auto* Form = qobject_cast<TWinControl*>(R);
    if (!Form)
        return false;
    TKvTabSheet* Hit = nullptr;
    ForEachControl(
        Form, ClientOrigin(), FormRect(),
        [&](TControl* C, const QRect& Rect, const QRect& Clip) {
            if (auto* Pages = qobject_cast<TKvCustomPageControl*>(C))
                for (const auto& [Tab, Sheet] : TabRects(Pages, Rect))
                    if (Clip.contains(Pos) && Tab.contains(Pos))
                        Hit = Sheet;
            return true;
        },
        FShownPages);
    if (!Hit)
        return false;
    FShownPages.insert(Hit->PageControl(), Hit);
    FDesigner->SelectComponent(Hit->PageControl());
    update();
    return true;
}

QList<QRect> TKvFormView::HandleRects() const
{
    if (!FDesigner)
        return {};
    const TDesignerSelectionList Selection = FDesigner->GetSelections();
    auto* C = Selection.size() == 1 ? qobject_cast<TControl*>(Selection.first()) : nullptr;
    if (!C || C == Root())
        return {};
    const QRect Box = BoundsOf(C).adjusted(0, 0, -1, -1);
    if (Box.isEmpty())
        return {};
    const QPoint Points[] = {Box.topLeft(), QPoint(Box.center().x(), Box.top()), Box.topRight(),
                             QPoint(Box.right(), Box.center().y()), Box.bottomRight(),
                             QPoint(Box.center().x(), Box.bottom()), Box.bottomLeft(),
                             QPoint(Box.left(), Box.center().y())};
    QList<QRect> Rects;
    for (const QPoint& Pt : Points)
        Rects << QRect(Pt - QPoint(3, 3), QSize(7, 7));
    return Rects;
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
    const bool Visual = InheritsFrom(Class, &TControl::staticMetaObject);
    // A non-visual component's place is on the form, whatever lies under the click.
    const QPoint Origin = !Visual || !Container || Container == Root() ? ClientOrigin() : BoundsOf(Container).topLeft();
    auto Snap = [](int V) { return V / GridSize * GridSize; };
    try {
        TComponent* Created = FDesigner->CreateComponent(Class, Visual ? Parent : nullptr, Snap(Pos.x() - Origin.x()),
                                                         Snap(Pos.y() - Origin.y()), -1, -1);
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
    const QPoint Pos = Event->position().toPoint();
    FPressPos = FDragPos = Pos;
    FDragged.clear();
    FDragging = false;
    FDrag = TDrag::None;
    TComponent* Hit = ComponentAt(Pos);
    if (FCreateClass) {
        if (Hit || FormRect().contains(Pos))
            CreateAt(Hit, Pos);
        return;
    }
    if (ClickTab(Pos))
        return;
    const QList<QRect> Handles = HandleRects();
    for (int I = 0; I < Handles.size(); ++I)
        if (Handles.at(I).contains(Pos)) {
            auto* C = qobject_cast<TControl*>(FDesigner->GetSelections().first());
            FDragged.append({C, StoredBounds(C)});
            FDrag = TDrag::Resize;
            FHandle = I;
            return;
        }
    if (!Hit) {
        FDesigner->SelectComponent(Root());
        return;
    }
    const bool Ctrl = Event->modifiers().testFlag(Qt::ControlModifier);
    if (Hit == Root() && !Ctrl) {
        FDesigner->SelectComponent(Root());
        FDrag = TDrag::Band;
        return;
    }
    Select(Hit, Ctrl);
    if (Ctrl)
        return;
    for (TPersistent* P : FDesigner->GetSelections())
        if (auto* C = qobject_cast<TComponent*>(P); C && (IsNonVisual(C) || (qobject_cast<TControl*>(C) && C != Root())))
            FDragged.append({C, StoredBounds(C)});
    if (!FDragged.isEmpty())
        FDrag = TDrag::Move;
}

QRect TKvFormView::DraggedBounds(const TDragged& Dragged, const QPoint& Pos, bool Snap) const
{
    const QPoint Delta = Pos - FPressPos;
    auto Grid = [Snap](int V) { return Snap ? qRound(double(V) / GridSize) * GridSize : V; };
    QRect R = Dragged.Start;
    if (FDrag == TDrag::Move) {
        // The first control lands on the grid; the others keep their distance to it.
        const QRect Lead = FDragged.first().Start;
        const QPoint Moved(Grid(Lead.left() + Delta.x()) - Lead.left(), Grid(Lead.top() + Delta.y()) - Lead.top());
        return R.translated(Moved);
    }
    // Handles clockwise from the top-left: which edges each one drags.
    static constexpr bool Left[] = {true, false, false, false, false, false, true, true};
    static constexpr bool Top[] = {true, true, true, false, false, false, false, false};
    static constexpr bool Right[] = {false, false, true, true, true, false, false, false};
    static constexpr bool Bottom[] = {false, false, false, false, true, true, true, false};
    if (Left[FHandle])
        R.setLeft(qMin(Grid(R.left() + Delta.x()), R.right()));
    if (Top[FHandle])
        R.setTop(qMin(Grid(R.top() + Delta.y()), R.bottom()));
    if (Right[FHandle])
        R.setRight(qMax(Grid(R.right() + 1 + Delta.x()) - 1, R.left()));
    if (Bottom[FHandle])
        R.setBottom(qMax(Grid(R.bottom() + 1 + Delta.y()) - 1, R.top()));
    return R;
}

void TKvFormView::mouseMoveEvent(QMouseEvent* Event)
{
    if (FDrag == TDrag::None || !(Event->buttons() & Qt::LeftButton)) {
        // The cursor tells which handle resizes which way.
        static const Qt::CursorShape Shapes[] = {Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor,
                                                 Qt::SizeHorCursor,   Qt::SizeFDiagCursor, Qt::SizeVerCursor,
                                                 Qt::SizeBDiagCursor, Qt::SizeHorCursor};
        const QList<QRect> Handles = HandleRects();
        Qt::CursorShape Shape = Qt::ArrowCursor;
        for (int I = 0; I < Handles.size(); ++I)
            if (Handles.at(I).contains(Event->position().toPoint()))
                Shape = Shapes[I];
        setCursor(Shape);
        return;
    }
    FDragPos = Event->position().toPoint();
    if (!FDragging && (FDragPos - FPressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    FDragging = true;
    update();
}

void TKvFormView::FinishDrag(const QPoint& Pos, bool Snap)
{
    if (FDrag == TDrag::Band) {
        const QRect Band = QRect(FPressPos, Pos).normalized();
        TDesignerSelectionList Selection;
        if (auto* Form = qobject_cast<TWinControl*>(Root()))
            for (int I = 0; I < Form->ControlCount(); ++I)
                if (BoundsOf(Form->Controls(I)).intersects(Band))
                    Selection << Form->Controls(I);
        for (TComponent* C : NonVisualComponents())
            if (NonVisualRect(C).intersects(Band))
                Selection << C;
        FDesigner->SetSelections(Selection.isEmpty() ? TDesignerSelectionList{Root()} : Selection);
        return;
    }
    QList<TPropertyChange> Changes;
    QString Name;
    for (const TDragged& D : std::as_const(FDragged)) {
        if (!D.Component)
            continue;
        const QRect R = DraggedBounds(D, Pos, Snap);
        const std::pair<const char*, int> Values[] = {
            {"Left", R.left()}, {"Top", R.top()}, {"Width", R.width()}, {"Height", R.height()}};
        // A non-visual component has only a place.
        for (const auto& [Prop, Value] : std::span(Values, IsNonVisual(D.Component) ? 2 : 4))
            Changes.append({D.Component, QString::fromLatin1(Prop), Value});
        Name = D.Component->GetName();
    }
    const QString Verb = FDrag == TDrag::Move ? QStringLiteral("Move") : QStringLiteral("Size");
    const QString Text = FDragged.size() == 1 ? QStringLiteral("%1 %2").arg(Verb, Name)
                                              : QStringLiteral("%1 %2 components").arg(Verb).arg(FDragged.size());
    try {
        FDesigner->SetProperties(Text, Changes);
    } catch (const Exception& E) {
        emit ErrorRaised(E.Message);
    }
}

void TKvFormView::mouseReleaseEvent(QMouseEvent* Event)
{
    const bool Dragged = FDragging;
    FDragging = false;
    if (Dragged && FDesigner && FDrag != TDrag::None)
        FinishDrag(Event->position().toPoint(), !Event->modifiers().testFlag(Qt::ControlModifier));
    FDragged.clear();
    FDrag = TDrag::None;
    update();
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

void TKvFormView::ChangeSelection(const QPoint& Move, const QSize& Grow)
{
    QList<TPropertyChange> Changes;
    QStringList Names;
    for (TPersistent* P : FDesigner->GetSelections()) {
        auto* C = qobject_cast<TComponent*>(P);
        const bool Sized = qobject_cast<TControl*>(C) && C != Root();
        if (!Sized && !(IsNonVisual(C) && !Move.isNull()))
            continue;
        const QRect Stored = StoredBounds(C);
        if (!Move.isNull()) {
            Changes.append({C, QStringLiteral("Left"), Stored.left() + Move.x()});
            Changes.append({C, QStringLiteral("Top"), Stored.top() + Move.y()});
        } else {
            Changes.append({C, QStringLiteral("Width"), qMax(1, Stored.width() + Grow.width())});
            Changes.append({C, QStringLiteral("Height"), qMax(1, Stored.height() + Grow.height())});
        }
        Names << C->GetName();
    }
    if (Changes.isEmpty())
        return;
    const QString Verb = Move.isNull() ? QStringLiteral("Size") : QStringLiteral("Move");
    const QString Text = Names.size() == 1 ? QStringLiteral("%1 %2").arg(Verb, Names.first())
                                           : QStringLiteral("%1 %2 components").arg(Verb).arg(Names.size());
    try {
        FDesigner->SetProperties(Text, Changes);
    } catch (const Exception& E) {
        emit ErrorRaised(E.Message);
    }
}

// The nearest sibling whose centre lies that way; the form's controls when the form is selected.
void TKvFormView::SelectNeighbour(int Dx, int Dy)
{
    const TDesignerSelectionList Selection = FDesigner->GetSelections();
    auto* Current = Selection.isEmpty() ? nullptr : qobject_cast<TControl*>(Selection.first());
    const TWinControl* Parent = Current && Current != Root() ? Current->Parent() : qobject_cast<TWinControl*>(Root());
    if (!Parent || Parent->ControlCount() == 0)
        return;
    if (!Current || Current == Root()) {
        FDesigner->SelectComponent(Parent->Controls(0));
        return;
    }
    const QPoint From = BoundsOf(Current).center();
    TControl* Best = nullptr;
    long long BestScore = 0;
    for (int I = 0; I < Parent->ControlCount(); ++I) {
        TControl* C = Parent->Controls(I);
        const QPoint D = BoundsOf(C).center() - From;
        const int Along = D.x() * Dx + D.y() * Dy;
        if (C == Current || Along <= 0)
            continue;
        const int Across = qAbs(D.x() * Dy) + qAbs(D.y() * Dx);
        const long long Score = (long long)Along + 2LL * Across; // straight ahead beats off to the side
        if (!Best || Score < BestScore) {
            Best = C;
            BestScore = Score;
        }
    }
    if (Best)
        FDesigner->SelectComponent(Best);
}

void TKvFormView::keyPressEvent(QKeyEvent* Event)
{
    if (!FDesigner) {
        QWidget::keyPressEvent(Event);
        return;
    }
    int Dx = 0, Dy = 0;
    switch (Event->key()) {
    case Qt::Key_Delete:
        emit DeleteRequested();
        return;
    case Qt::Key_Escape:
        FCreateClass = nullptr;
        emit CreateClassCleared();
        return;
    case Qt::Key_Left: Dx = -1; break;
    case Qt::Key_Right: Dx = 1; break;
    case Qt::Key_Up: Dy = -1; break;
    case Qt::Key_Down: Dy = 1; break;
    default:
        QWidget::keyPressEvent(Event);
        return;
    }
    const Qt::KeyboardModifiers M = Event->modifiers() & ~Qt::KeypadModifier;
    if (M == Qt::ControlModifier)
        ChangeSelection({Dx, Dy}, {});
    else if (M == (Qt::ControlModifier | Qt::ShiftModifier))
        ChangeSelection({Dx * GridSize, Dy * GridSize}, {});
    else if (M == Qt::ShiftModifier)
        ChangeSelection({}, {Dx, Dy});
    else if (M == Qt::NoModifier)
        SelectNeighbour(Dx, Dy);
}
