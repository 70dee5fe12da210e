#pragma once

#include "KvPackages.h"
#include "KvRegions.h"

#include <QImage>

#include <optional>

// Images packages: images known by id. An image keeps its picture encoded, as it was given
// (PNG, BMP, GIF, ...), so that saving it gives back the same bytes, and knows its size without
// decoding it again. Besides its picture an image carries two outlines (the external one, the
// visible shape cut out of the picture's rectangle, and an internal area), eight resize marks
// and the region designer's view flags.

class TKvPkgImagesImages;

// Positions of the eight resize marks in image pixels: Up1/Up2 on the top edge from the left
// and right corners, Down1/Down2 on the bottom edge, Left1/Left2 on the left edge from the top
// and bottom corners, Right1/Right2 on the right edge.
struct TKvImageMarks
{
    int Up1 = 0, Up2 = 0, Down1 = 0, Down2 = 0, Left1 = 0, Left2 = 0, Right1 = 0, Right2 = 0;
    bool operator==(const TKvImageMarks&) const = default;
};

// The MIME type of an image on the clipboard in our own format (a one-image package).
inline constexpr const char* KvImageMimeType = "application/x-kvcontrols-image";
// Single-image files, extension without the point.
inline constexpr const char* KvImageFileExt = "imkv";
// Picture and single-image files larger than this are refused rather than read.
constexpr qint64 KvMaxImageFileSize = qint64(256) << 20;

class TKvPkgImagesImage : public TKvPkgItem
{
public:
    // No picture.
    bool Empty() const { return FData.isEmpty(); }
    // The encoded picture and its format ("png"), both empty when Empty.
    const QByteArray& Data() const { return FData; }
    const QByteArray& Format() const { return FFormat; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Bytes of the stored picture.
    qint64 GetSize() const { return FData.size(); }

    // Decoded; a null image when Empty.
    QImage Graphic() const;
    // Stored as PNG; a null image empties the image.
    void SetGraphic(const QImage& Image);
    // Encoded data in a format Qt reads; Format may be left empty to have it recognised.
    // Data that does not decode is refused. Empty data empties the image. Outlines stay only
    // while the size stays.
    void SetGraphicData(const QByteArray& Data, const QByteArray& Format = QByteArray());
    // No picture and no outlines; the marks and flags stay.
    void Clear();
    // Everything but the id: picture, protection, outlines, marks and flags.
    void Assign(const TKvPkgImagesImage& Source);

    // Outlines. Get...Mask: the image has that outline. Create...Rgn: the outline as a region in
    // image pixels (possibly empty), none without one. Create...Mask: sets the outline from a
    // region, clipped to the picture, or removes it with none; an empty image takes none only.
    bool GetExternalMask() const { return FExternal.has_value(); }
    bool GetInternalMask() const { return FInternal.has_value(); }
    std::optional<QRegion> CreateExternalRgn() const { return ToRegion(FExternal); }
    std::optional<QRegion> CreateInternalRgn() const { return ToRegion(FInternal); }
    void CreateExternalMask(const std::optional<QRegion>& Region) { SetOutline(FExternal, Region); }
    void CreateInternalMask(const std::optional<QRegion>& Region) { SetOutline(FInternal, Region); }
    const std::optional<TKvBits>& ExternalBits() const { return FExternal; }
    const std::optional<TKvBits>& InternalBits() const { return FInternal; }

    // Resize marks; negative positions are refused.
    TKvImageMarks Marks() const { return FMarks; }
    void SetMarks(const TKvImageMarks& Value);
    // The region designer's view mode (true: resize marks) and whether it mirrors the marks.
    bool ViewAdjusts() const { return FViewAdjusts; }
    void SetViewAdjusts(bool Value);
    bool SyncHor() const { return FSyncHor; }
    void SetSyncHor(bool Value);
    bool SyncVer() const { return FSyncVer; }
    void SetSyncVer(bool Value);

    // A picture file (any format Qt reads, recognised by content) or a single-image file; a
    // single-image file brings outlines, marks and flags too. The id stays.
    void LoadFromFile(const QString& FileName);
    // By extension: ".imkv" writes a single-image file; the picture's own format writes its
    // stored bytes unchanged; another format Qt writes converts the picture.
    void SaveToFile(const QString& FileName) const;
    // The image as a single-image file and back.
    QByteArray SaveToBytes() const;
    void LoadFromBytes(const QByteArray& Data, const QString& Source);
    // Our own format plus a plain picture for other programs.
    void SaveToClipBoard() const;
    // Our own format when present, else a plain picture (stored as PNG); false when the
    // clipboard holds neither.
    bool LoadFromClipBoard();

private:
    friend class TKvPkgImagesImages;
    friend class TKvPkgImages;
    TKvPkgImagesImage(TKvPkgItems* List, int Id) : TKvPkgItem(List, Id) {}
    std::optional<QRegion> ToRegion(const std::optional<TKvBits>& Bits) const;
    void SetOutline(std::optional<TKvBits>& Outline, const std::optional<QRegion>& Region);
    void SetFlag(bool& Flag, bool Value);

    QByteArray FData;
    QByteArray FFormat;
    int FWidth = 0;
    int FHeight = 0;
    std::optional<TKvBits> FExternal;
    std::optional<TKvBits> FInternal;
    TKvImageMarks FMarks;
    bool FViewAdjusts = false;
    bool FSyncHor = true;
    bool FSyncVer = true;
};

class TKvPkgImagesImages : public TKvPkgItemList<TKvPkgImagesImage>
{
public:
    explicit TKvPkgImagesImages(TKvPkgInfo* Pkg) : TKvPkgItemList(Pkg, QStringLiteral("Image")) {}
    // A new empty image.
    TKvPkgImagesImage* Add(int Id);
};

// What the region designer keeps of its last session in the package of the image it edits.
struct TKvDesignRgnSettings
{
    TKvEditorBounds Bounds;
    int Zoom = 1;          // 1, 2, 3, 4, 6 or 8
    bool External = true;  // editing the external outline
    bool Diagonals = true; // the scan takes eight neighbours
    bool operator==(const TKvDesignRgnSettings&) const = default;
};
bool KvValidZoom(int Zoom);

class TKvPkgImages : public TKvPkgInfo
{
    Q_OBJECT
    Q_PROPERTY(QString PkgName READ PkgName WRITE SetPkgName)

public:
    Q_INVOKABLE explicit TKvPkgImages(TComponent* AOwner = nullptr);
    ~TKvPkgImages() override;

    TKvPkgImagesImages* Images() const { return FImages.get(); }

    TKvDesignRgnSettings DesignRgn() const { return FDesignRgn; }
    // Refuses a zoom other than 1, 2, 3, 4, 6, 8.
    void SetDesignRgn(const TKvDesignRgnSettings& Value);

    QString DefaultExt() const override { return QStringLiteral("kvimg"); }
    void Clear() override;

protected:
    QByteArray FileTag() const override { return QByteArrayLiteral("IMGS"); }
    quint16 FileVersion() const override { return 2; }
    std::unique_ptr<TContent> ReadContent(TKvPkgReader& Reader, quint16 Version) const override;
    void CommitContent(TContent& Content) override;
    void WriteContent(TKvPkgWriter& Writer) const override;

private:
    std::unique_ptr<TKvPkgImagesImages> FImages;
    TKvDesignRgnSettings FDesignRgn;
};

QString KvReadPkgImagesDescription(const QString& FileName);

// The clipboard holds an image the add dialog can paste: ours or a plain picture.
bool KvClipboardHasImage();

// The active images package of a name (an empty name means "User"), or none.
TKvPkgImages* KvFindPkgImages(const QString& PkgName);
QStringList KvPkgImagesActives();
QList<TKvPkgImages*> KvPkgImagesAll();
