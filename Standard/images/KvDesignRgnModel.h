#pragma once

#include "KvPkgImages.h"
#include "KvRegions.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QRegion>

#include <optional>
#include <vector>

// The region designer without its window: the two outline masks of one image, the magic-wand
// scan, the masks as regions at the view's zoom, the undo history, the resize marks and the
// modes. The window shows it and forwards clicks and drags to it.

// The resize marks in the order their bars are numbered; None is no mark.
enum class TKvAdjust { None = 0, Up1, Up2, Down1, Down2, Left1, Left2, Right1, Right2 };

class TKvDesignRgnModel : public QObject
{
    Q_OBJECT

public:
    // The view's margin around the image, holding the resize bars.
    static constexpr int Margin = 10;

    explicit TKvDesignRgnModel(QObject* Parent = nullptr);

    // Takes the image's picture, outlines, marks and flags and the package's stored modes; the
    // history starts empty and nothing counts as modified.
    void Open(const TKvPkgImagesImage& Image, const TKvDesignRgnSettings& Settings);
    // Writes outlines, marks and flags back when something was modified; true when it did.
    bool Apply(TKvPkgImagesImage& Image);
    // The modes the package keeps (zoom, edit and scan mode) with the window bounds given.
    TKvDesignRgnSettings Settings(const TKvEditorBounds& Bounds) const;

    const QImage& Bitmap() const { return FBitmap; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool OnImage(int X, int Y) const { return X >= 0 && Y >= 0 && X < FWidth && Y < FHeight; }

    bool GetExternalMask(int X, int Y) const { return FExternalBits.Get(Index(X, Y)); }
    bool GetInternalMask(int X, int Y) const { return FInternalBits.Get(Index(X, Y)); }
    void SetExternalMask(int X, int Y, bool Value) { FExternalBits.Set(Index(X, Y), Value); }
    void SetInternalMask(int X, int Y, bool Value) { FInternalBits.Set(Index(X, Y), Value); }
    const TKvBits& ExternalBits() const { return FExternalBits; }
    const TKvBits& InternalBits() const { return FInternalBits; }

    // Magic wand from pixel (X, Y) into the current mask; false when it did nothing (the pixel
    // is off the image or already in a mask).
    bool ScanRgn(int X, int Y);
    // None: the scan takes exactly the clicked colour. Otherwise each of red, green and blue
    // must lie between the base colour's and the clicked pixel's.
    std::optional<QColor> BaseColor() const { return FBaseColor; }
    void SetBaseColor(std::optional<QColor> Value) { FBaseColor = Value; }

    // The masks as regions at the zoom, in image-area coordinates; none without a set bit.
    const std::optional<QRegion>& ExternalRgn() const { return FExternalRgn; }
    const std::optional<QRegion>& InternalRgn() const { return FInternalRgn; }
    void ExternalMaskToRgn(int Zoom);
    void InternalMaskToRgn(int Zoom);
    void ExternalRgnToMask();
    void InternalRgnToMask();
    // Adopts an unscaled region and rebuilds the mask from it; an equal region changes nothing.
    void SetExternalRgn(const std::optional<QRegion>& Rgn);
    void SetInternalRgn(const std::optional<QRegion>& Rgn);

    // Undo history: PushUndo(false) records the current mask, PushUndo(true) redoes, PopUndo
    // undoes.
    void PushUndo(bool Redo);
    void PopUndo();
    bool CanUndo() const { return FUndoIndex >= 0; }
    bool CanRedo() const { return FUndoIndex + 1 < int(FUndoList.size()); }
    int UndoCount() const { return int(FUndoList.size()); }
    // Empties both masks as one step of the history; only while a region exists.
    void Clear();
    bool CanClear() const { return FExternalRgn || FInternalRgn; }

    int Zoom() const { return FZoom; }
    void SetZoom(int Value);
    bool External() const { return FExternal; }
    void SetExternal(bool Value);
    bool Diagonals() const { return FDiagonals; }
    void SetDiagonals(bool Value);
    bool Adjusts() const { return FAdjusts; }
    void SetAdjusts(bool Value);
    bool SyncHor() const { return FSyncHor; }
    void SetSyncHor(bool Value);
    bool SyncVer() const { return FSyncVer; }
    void SetSyncVer(bool Value);
    int Adjust(TKvAdjust Mark) const;
    // Stores the mark and mirrors it onto its partner when that sync is on.
    void SetAdjust(TKvAdjust Mark, int Value);
    TKvImageMarks Marks() const { return FMarks; }
    bool Modified() const { return FModified; }
    void SetModified(bool Value);
    bool Loading() const { return FLoading; }

    // View geometry. The view is the image at the zoom with a margin on every side.
    QSize ViewSize() const { return {FWidth * FZoom + 2 * Margin, FHeight * FZoom + 2 * Margin}; }
    // The pixel under a view point, or (-1, -1) off the image.
    QPoint PixelAt(const QPoint& ViewPoint) const;
    // A mark's bar, one pixel wide, in view coordinates.
    QRect BarRect(TKvAdjust Mark) const;
    // The first bar whose rectangle grown by a pixel holds the point.
    TKvAdjust AdjustAt(const QPoint& ViewPoint) const;
    // Where a bar lies along its direction of travel, in image-area pixels (x for Up and Down
    // marks, y for Left and Right marks).
    int BarPosition(TKvAdjust Mark) const;
    // Moves a mark so that its bar follows a pointer at P along its travel (image-area pixels),
    // kept clear of the opposite mark.
    void DragTo(TKvAdjust Mark, int P);

signals:
    // Something shown changed: redraw.
    void Changed();
    // Undo, redo, clear or the modified flag changed: refresh the controls.
    void StateChanged();
    void ZoomChanged(int OldZoom, int NewZoom);

private:
    // One step of the history: the masks it set (one, or both for a clear).
    struct TSnapshot
    {
        std::optional<TKvBits> External;
        std::optional<TKvBits> Internal;
    };

    qsizetype Index(int X, int Y) const { return qsizetype(Y) * FWidth + X; }
    int& Field(TKvAdjust Mark);
    void Record(TSnapshot Snapshot);

    QImage FBitmap; // ARGB32
    int FWidth = 0;
    int FHeight = 0;
    TKvBits FExternalBits;
    TKvBits FInternalBits;
    TKvBits FInitExternalBits;
    TKvBits FInitInternalBits;
    std::optional<QRegion> FExternalRgn;
    std::optional<QRegion> FInternalRgn;
    int FZoom = 1;
    bool FExternal = true;
    bool FDiagonals = true;
    bool FAdjusts = false;
    bool FSyncHor = true;
    bool FSyncVer = true;
    TKvImageMarks FMarks;
    std::optional<QColor> FBaseColor;
    std::vector<TSnapshot> FUndoList;
    int FUndoIndex = -1;
    bool FModified = false;
    bool FLoading = true;
};
