#pragma once

#include "images/KvDesignRgnModel.h"

#include <QDialog>
#include <QImage>
#include <QWidget>

#include <memory>

class QMenu;
class QAction;
class TKvPkgImagesImage;
class TFrDesignRgn;

namespace Ui {
class TFrDesignRgn;
}

// The region designer's zoomable view of the image: the picture, the outlines hatched over it
// and, in resize mode, the eight resize bars. Clicks scan or pick the base colour; drags move
// the bars.
class TKvDesignRgnView : public QWidget
{
    Q_OBJECT

public:
    TKvDesignRgnView(TKvDesignRgnModel* Model, QWidget* Parent = nullptr);

    // Renders the view's rectangle Clip into an image of Clip's size (what paintEvent shows).
    QImage Render(const QRect& Clip) const;
    // The next click on the image picks the base colour instead of scanning.
    void SetPickBaseColor(bool Value) { FPickBaseColor = Value; }
    bool PickBaseColor() const { return FPickBaseColor; }
    void UpdateCursor();

    // Hatch tiles: 60 x 60, white crossed by diagonal lines every 3 pixels.
    static QImage HatchTile(const QColor& Line);

signals:
    // The pixel under the pointer, (-1, -1) off the image or outside the view.
    void PixelHovered(const QPoint& Pixel);
    // A base colour was picked; the button pops up.
    void BaseColorPicked();

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void leaveEvent(QEvent* Event) override;

private:
    TKvDesignRgnModel* FModel;
    QImage FExternalGrid;
    QImage FInternalGrid;
    QCursor FScanCursor;
    TKvAdjust FMoveAdjust = TKvAdjust::None;
    int FOffSet = 0;
    bool FPickBaseColor = false;
};

// The region designer ("Mask Editor") on one image: its outlines and resize marks.
class TFrDesignRgn : public QDialog
{
    Q_OBJECT

public:
    explicit TFrDesignRgn(QWidget* Parent = nullptr);
    ~TFrDesignRgn() override;

    // Set before Execute.
    TKvPkgImagesImage* Image = nullptr;

    // True when the developer confirmed and something was modified; the image then holds the
    // new outlines, marks and flags. The package keeps the window's bounds and modes either way.
    bool Execute();

    TKvDesignRgnModel* Model() const { return FModel; }
    TKvDesignRgnView* Shape() const { return FShape; }
    QMenu* PopupMenu() const { return FMenu; }
    Ui::TFrDesignRgn* ui() const { return FUi.get(); }
    void UpdateState();

protected:
    bool event(QEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void moveEvent(QMoveEvent* Event) override;

private:
    void ZoomChanged(int OldZoom, int NewZoom);
    void ShowPixel(const QPoint& Pixel);
    void RecordBounds();

    std::unique_ptr<Ui::TFrDesignRgn> FUi;
    TKvDesignRgnModel* FModel;
    TKvDesignRgnView* FShape = nullptr;
    QMenu* FMenu = nullptr;
    QAction* MnUndo = nullptr;
    QAction* MnRedo = nullptr;
    QAction* MnClear = nullptr;
    QRect FBounds;
    bool FMaximized = false;
};

// Opens the region designer on Image; true when it changed the image.
bool KvDesignRgn(TKvPkgImagesImage* Image, QWidget* Parent = nullptr);
