#include "KvVtDesignRgn.h"
#include "ui_KvVtDesignRgn.h"

#include "KvForms.h"
#include "KvPkgImages.h"

#include <QAction>
#include <QButtonGroup>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

// The scan cursor: a magic wand whose star is the hot spot.
QCursor MagicCursor()
{
    QPixmap Pixmap(32, 32);
    Pixmap.fill(Qt::transparent);
    QPainter P(&Pixmap);
    P.setRenderHint(QPainter::Antialiasing);
    P.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    P.drawLine(QPointF(26, 26), QPointF(11, 11));
    P.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
    P.drawLine(QPointF(26, 26), QPointF(11, 11));
    P.setPen(QPen(Qt::black, 1));
    for (const QLineF& Ray : {QLineF(2, 6, 10, 6), QLineF(6, 2, 6, 10), QLineF(3, 3, 9, 9), QLineF(3, 9, 9, 3)})
        P.drawLine(Ray);
    P.end();
    return QCursor(Pixmap, 6, 6);
}

// The base colour button's face: a hollow grid without a colour, else the colour.
QIcon BaseColorIcon(const std::optional<QColor>& Color)
{
    QPixmap Pixmap(18, 18);
    Pixmap.fill(Qt::transparent);
    QPainter P(&Pixmap);
    if (Color) {
        P.fillRect(QRect(1, 1, 16, 16), *Color);
        P.setPen(Qt::black);
        P.drawRect(QRect(1, 1, 15, 15));
    } else {
        P.setPen(Qt::gray);
        for (int I = 1; I < 18; I += 4) {
            P.drawLine(I, 1, I, 16);
            P.drawLine(1, I, 16, I);
        }
        P.fillRect(QRect(5, 5, 8, 8), Qt::white);
        P.setPen(Qt::black);
        P.drawRect(QRect(5, 5, 7, 7));
    }
    return QIcon(Pixmap);
}

} // namespace

QImage TKvDesignRgnView::HatchTile(const QColor& Line)
{
    QImage Tile(60, 60, QImage::Format_RGB32);
    Tile.fill(Qt::white);
    for (int Y = 0; Y < 60; ++Y)
        for (int X = 0; X < 60; ++X)
            if ((X + Y) % 3 == 0)
                Tile.setPixel(X, Y, Line.rgb());
    return Tile;
}

TKvDesignRgnView::TKvDesignRgnView(TKvDesignRgnModel* Model, QWidget* Parent)
    : QWidget(Parent), FModel(Model), FExternalGrid(HatchTile(QColor(128, 128, 128))),
      FInternalGrid(HatchTile(QColor(0, 128, 128))), FScanCursor(MagicCursor())
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setContextMenuPolicy(Qt::CustomContextMenu);
    resize(FModel->ViewSize());
    UpdateCursor();
}

void TKvDesignRgnView::UpdateCursor()
{
    if (FModel->Adjusts())
        setCursor(Qt::ArrowCursor);
    else
        setCursor(FScanCursor);
}

QImage TKvDesignRgnView::Render(const QRect& Clip) const
{
    QImage Buffer(Clip.size(), QImage::Format_RGB32);
    Buffer.fill(palette().color(QPalette::Button));
    QPainter P(&Buffer);
    P.translate(-Clip.topLeft());
    const int Z = FModel->Zoom(), M = TKvDesignRgnModel::Margin;
    const QRect Area(M, M, FModel->Width() * Z, FModel->Height() * Z);

    // One pixel of white around the image, framed.
    const QRect Frame = Area.adjusted(-1, -1, 1, 1);
    P.fillRect(Frame, Qt::white);
    P.setPen(palette().color(QPalette::Dark));
    P.drawRect(Frame.adjusted(0, 0, -1, -1));

    // Only the whole pixel squares the clip touches are stretched.
    const QRect Visible = Clip.intersected(Area).translated(-M, -M);
    if (!Visible.isEmpty() && !FModel->Bitmap().isNull()) {
        const QRect Source(QPoint(Visible.left() / Z, Visible.top() / Z),
                           QPoint(Visible.right() / Z, Visible.bottom() / Z));
        const QRect Target(Source.left() * Z + M, Source.top() * Z + M, Source.width() * Z, Source.height() * Z);
        P.drawImage(Target, FModel->Bitmap(), Source);
    }

    // The hatch covers the picture wherever an outline lies, aligned to the view's origin.
    for (const auto& [Region, Tile] : {std::pair{&FModel->ExternalRgn(), &FExternalGrid},
                                       std::pair{&FModel->InternalRgn(), &FInternalGrid}}) {
        if (!*Region)
            continue;
        P.save();
        P.setClipRegion(Region->value().translated(M, M));
        P.fillRect(Clip, QBrush(*Tile));
        P.restore();
    }

    if (FModel->Adjusts()) {
        // Inverting and exclusive-or pens work on raster images only, hence the buffer.
        for (int Mark = 1; Mark <= 8; ++Mark) {
            const QRect Bar = FModel->BarRect(TKvAdjust(Mark));
            P.setCompositionMode(QPainter::RasterOp_NotDestination);
            P.fillRect(Bar, Qt::black);
            P.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            P.setPen(QPen(Qt::black, 1, Qt::DotLine));
            P.drawLine(Bar.topLeft(), Bar.bottomRight());
        }
        P.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    return Buffer;
}

void TKvDesignRgnView::paintEvent(QPaintEvent* Event)
{
    QPainter P(this);
    P.drawImage(Event->rect().topLeft(), Render(Event->rect()));
}

void TKvDesignRgnView::mousePressEvent(QMouseEvent* Event)
{
    // The right button opens the pop-up menu.
    if (Event->buttons() & Qt::RightButton)
        return;
    FOffSet = 0;
    FMoveAdjust = TKvAdjust::None;
    const QPoint At = Event->position().toPoint();
    const QPoint Pixel = FModel->PixelAt(At);
    const bool OnImage = Pixel.x() >= 0;
    if (FPickBaseColor) {
        if (OnImage) {
            FModel->SetBaseColor(FModel->Bitmap().pixelColor(Pixel));
            FPickBaseColor = false;
            emit BaseColorPicked();
        }
    } else if (!FModel->Adjusts()) {
        if (OnImage) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            FModel->ScanRgn(Pixel.x(), Pixel.y());
            QGuiApplication::restoreOverrideCursor();
        }
    } else {
        FMoveAdjust = FModel->AdjustAt(At);
        if (FMoveAdjust != TKvAdjust::None) {
            const bool AlongX = FMoveAdjust <= TKvAdjust::Down2;
            FOffSet = ((AlongX ? At.x() : At.y()) - TKvDesignRgnModel::Margin) - FModel->BarPosition(FMoveAdjust);
        }
    }
}

void TKvDesignRgnView::mouseMoveEvent(QMouseEvent* Event)
{
    const QPoint At = Event->position().toPoint();
    emit PixelHovered(rect().contains(At) ? FModel->PixelAt(At) : QPoint(-1, -1));
    if (FMoveAdjust != TKvAdjust::None) {
        const bool AlongX = FMoveAdjust <= TKvAdjust::Down2;
        FModel->DragTo(FMoveAdjust, (AlongX ? At.x() : At.y()) - FOffSet - TKvDesignRgnModel::Margin);
        return;
    }
    if (FModel->Adjusts()) {
        const TKvAdjust Bar = FModel->AdjustAt(At);
        if (Bar == TKvAdjust::None)
            setCursor(Qt::ArrowCursor);
        else
            setCursor(Bar <= TKvAdjust::Down2 ? Qt::SplitHCursor : Qt::SplitVCursor);
    }
}

void TKvDesignRgnView::mouseReleaseEvent(QMouseEvent*) { FMoveAdjust = TKvAdjust::None; }

void TKvDesignRgnView::leaveEvent(QEvent*) { emit PixelHovered(QPoint(-1, -1)); }

// ---------------------------------------------------------------------------------------------

TFrDesignRgn::TFrDesignRgn(QWidget* Parent)
    : QDialog(Parent), FUi(new Ui::TFrDesignRgn), FModel(new TKvDesignRgnModel(this))
{
    FUi->setupUi(this);
    setMinimumSize(size());
    FUi->ScrollBox->setBackgroundRole(QPalette::Button);

    auto Group = [this](std::initializer_list<QAbstractButton*> Buttons) {
        auto* G = new QButtonGroup(this);
        for (QAbstractButton* B : Buttons)
            G->addButton(B);
        return G;
    };
    const std::pair<QToolButton*, int> Zooms[] = {{FUi->BtZoom1, 1}, {FUi->BtZoom2, 2}, {FUi->BtZoom3, 3},
                                                  {FUi->BtZoom4, 4}, {FUi->BtZoom6, 6}, {FUi->BtZoom8, 8}};
    Group({FUi->BtZoom1, FUi->BtZoom2, FUi->BtZoom3, FUi->BtZoom4, FUi->BtZoom6, FUi->BtZoom8});
    for (const auto& [Button, Zoom] : Zooms)
        connect(Button, &QToolButton::clicked, this, [this, Z = Zoom] { FModel->SetZoom(Z); });
    Group({FUi->BtTransparent, FUi->BtResizing});
    Group({FUi->BtScanSingle, FUi->BtScanFull});
    Group({FUi->BtExternal, FUi->BtInternal});
    connect(FUi->BtTransparent, &QToolButton::clicked, this, [this] { FModel->SetAdjusts(false); FShape->UpdateCursor(); });
    connect(FUi->BtResizing, &QToolButton::clicked, this, [this] { FModel->SetAdjusts(true); FShape->UpdateCursor(); });
    connect(FUi->BtScanSingle, &QToolButton::clicked, this, [this] { FModel->SetDiagonals(false); });
    connect(FUi->BtScanFull, &QToolButton::clicked, this, [this] { FModel->SetDiagonals(true); });
    connect(FUi->BtExternal, &QToolButton::clicked, this, [this] { FModel->SetExternal(true); });
    connect(FUi->BtInternal, &QToolButton::clicked, this, [this] { FModel->SetExternal(false); });
    connect(FUi->BtSyncHor, &QToolButton::clicked, this, [this](bool On) { FModel->SetSyncHor(On); });
    connect(FUi->BtSyncVer, &QToolButton::clicked, this, [this](bool On) { FModel->SetSyncVer(On); });
    connect(FUi->BtUndo, &QToolButton::clicked, FModel, &TKvDesignRgnModel::PopUndo);
    connect(FUi->BtRedo, &QToolButton::clicked, this, [this] { FModel->PushUndo(true); });
    connect(FUi->BtBaseColor, &QToolButton::toggled, this, [this](bool Down) {
        if (Down)
            FModel->SetBaseColor(std::nullopt);
        FShape->SetPickBaseColor(Down);
        FUi->BtBaseColor->setIcon(BaseColorIcon(FModel->BaseColor()));
    });
    FUi->BtBaseColor->setIcon(BaseColorIcon(std::nullopt));
    connect(FUi->BtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->BtCancel, &QPushButton::clicked, this, &QDialog::reject);

    FMenu = new QMenu(this);
    MnUndo = FMenu->addAction(QStringLiteral("Undo"));
    MnRedo = FMenu->addAction(QStringLiteral("Redo"));
    FMenu->addSeparator();
    MnClear = FMenu->addAction(QStringLiteral("Clear"));
    MnUndo->setObjectName(QStringLiteral("MnUndo"));
    MnRedo->setObjectName(QStringLiteral("MnRedo"));
    MnClear->setObjectName(QStringLiteral("MnClear"));
    MnUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    MnRedo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    addAction(MnUndo);
    addAction(MnRedo);
    connect(MnUndo, &QAction::triggered, FModel, &TKvDesignRgnModel::PopUndo);
    connect(MnRedo, &QAction::triggered, this, [this] { FModel->PushUndo(true); });
    connect(MnClear, &QAction::triggered, FModel, &TKvDesignRgnModel::Clear);

    connect(FModel, &TKvDesignRgnModel::StateChanged, this, &TFrDesignRgn::UpdateState);
    connect(FModel, &TKvDesignRgnModel::ZoomChanged, this, &TFrDesignRgn::ZoomChanged);
    connect(FModel, &TKvDesignRgnModel::Changed, this, [this] {
        if (FShape)
            FShape->update();
    });
    UpdateState();
}

TFrDesignRgn::~TFrDesignRgn() = default;

void TFrDesignRgn::UpdateState()
{
    const int Z = FModel->Zoom();
    QToolButton* Zoom = Z == 2 ? FUi->BtZoom2 : Z == 3 ? FUi->BtZoom3 : Z == 4 ? FUi->BtZoom4
                      : Z == 6 ? FUi->BtZoom6 : Z == 8 ? FUi->BtZoom8 : FUi->BtZoom1;
    Zoom->setChecked(true);
    FUi->BtSyncHor->setChecked(FModel->SyncHor());
    FUi->BtSyncVer->setChecked(FModel->SyncVer());
    (FModel->External() ? FUi->BtExternal : FUi->BtInternal)->setChecked(true);
    (FModel->Diagonals() ? FUi->BtScanFull : FUi->BtScanSingle)->setChecked(true);
    (FModel->Adjusts() ? FUi->BtResizing : FUi->BtTransparent)->setChecked(true);
    FUi->BtUndo->setEnabled(FModel->CanUndo());
    MnUndo->setEnabled(FModel->CanUndo());
    FUi->BtRedo->setEnabled(FModel->CanRedo());
    MnRedo->setEnabled(FModel->CanRedo());
    MnClear->setEnabled(FModel->CanClear());
}

void TFrDesignRgn::ZoomChanged(int OldZoom, int NewZoom)
{
    QScrollBar* H = FUi->ScrollBox->horizontalScrollBar();
    QScrollBar* V = FUi->ScrollBox->verticalScrollBar();
    const int X = H->value(), Y = V->value();
    FShape->resize(FModel->ViewSize());
    // Keep the same part of the image in sight.
    H->setValue(X / OldZoom * NewZoom);
    V->setValue(Y / OldZoom * NewZoom);
    UpdateState();
}

void TFrDesignRgn::ShowPixel(const QPoint& Pixel)
{
    QPalette Pal = FUi->Pixel->palette();
    if (!FModel->OnImage(Pixel.x(), Pixel.y())) {
        FUi->LaPosX->setText(QStringLiteral("----"));
        FUi->LaPosY->setText(QStringLiteral("----"));
        FUi->LaRed->setText(QStringLiteral("---"));
        FUi->LaGreen->setText(QStringLiteral("---"));
        FUi->LaBlue->setText(QStringLiteral("---"));
        Pal.setColor(QPalette::Window, Qt::white);
    } else {
        const QColor C = FModel->Bitmap().pixelColor(Pixel);
        FUi->LaPosX->setText(QString::number(Pixel.x()));
        FUi->LaPosY->setText(QString::number(Pixel.y()));
        FUi->LaRed->setText(QString::number(C.red()));
        FUi->LaGreen->setText(QString::number(C.green()));
        FUi->LaBlue->setText(QString::number(C.blue()));
        Pal.setColor(QPalette::Window, C);
    }
    FUi->Pixel->setPalette(Pal);
}

bool TFrDesignRgn::Execute()
{
    auto* Pkg = Image ? qobject_cast<TKvPkgImages*>(Image->List()->Pkg()) : nullptr;
    if (!Image || !Pkg)
        return false;
    const TKvDesignRgnSettings Stored = Pkg->DesignRgn();
    FModel->Open(*Image, Stored);

    if (!Stored.Bounds.IsStored()) {
        KvCenterWindow(this, true);
    } else {
        setGeometry(Stored.Bounds.Left, Stored.Bounds.Top, Stored.Bounds.Width, Stored.Bounds.Height);
        KvAdjustWindow(this);
    }
    FMaximized = Stored.Bounds.IsStored() && Stored.Bounds.WindowState == KvWindowStateMaximized;
    RecordBounds();

    FUi->LaSize->setText(QStringLiteral("Size: %1x%2").arg(FModel->Width()).arg(FModel->Height()));
    FShape = new TKvDesignRgnView(FModel, FUi->ScrollBox);
    FUi->ScrollBox->setWidget(FShape);
    connect(FShape, &TKvDesignRgnView::PixelHovered, this, &TFrDesignRgn::ShowPixel);
    connect(FShape, &TKvDesignRgnView::BaseColorPicked, this, [this] { FUi->BtBaseColor->setChecked(false); });
    connect(FShape, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& At) { FMenu->popup(FShape->mapToGlobal(At)); });
    ShowPixel(QPoint(-1, -1));
    UpdateState();

    const bool Accepted = exec() == QDialog::Accepted;
    const bool Result = Accepted && FModel->Apply(*Image);
    const TKvEditorBounds Bounds{FBounds.x(), FBounds.y(), FBounds.width(), FBounds.height(),
                                 isMaximized() ? KvWindowStateMaximized : 0};
    Pkg->SetDesignRgn(FModel->Settings(Bounds));
    return Result;
}

bool TFrDesignRgn::event(QEvent* Event)
{
    // Stored maximised, it stays maximised for as long as it lives.
    if (Event->type() == QEvent::WindowActivate && FMaximized && !isMaximized())
        showMaximized();
    return QDialog::event(Event);
}

void TFrDesignRgn::RecordBounds() { FBounds = geometry(); }

void TFrDesignRgn::resizeEvent(QResizeEvent* Event)
{
    QDialog::resizeEvent(Event);
    if (isVisible() && !isMaximized() && !isMinimized())
        RecordBounds();
}

void TFrDesignRgn::moveEvent(QMoveEvent* Event)
{
    QDialog::moveEvent(Event);
    if (isVisible() && !isMaximized() && !isMinimized())
        RecordBounds();
}

bool KvDesignRgn(TKvPkgImagesImage* Image, QWidget* Parent)
{
    TFrDesignRgn Dialog(Parent);
    Dialog.Image = Image;
    return Dialog.Execute();
}
