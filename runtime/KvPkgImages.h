#pragma once

#include "KvPackages.h"

#include <QImage>

// Images packages: images known by id. An image keeps its picture encoded, as it was given
// (PNG, BMP, ...), and knows its size without decoding it again.

class TKvPkgImagesImages;

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
    // Data that does not decode is refused. Empty data empties the image.
    void SetGraphicData(const QByteArray& Data, const QByteArray& Format = QByteArray());
    // Everything but the id.
    void Assign(const TKvPkgImagesImage& Source);

private:
    friend class TKvPkgImagesImages;
    friend class TKvPkgImages;
    TKvPkgImagesImage(TKvPkgItems* List, int Id) : TKvPkgItem(List, Id) {}

    QByteArray FData;
    QByteArray FFormat;
    int FWidth = 0;
    int FHeight = 0;
};

class TKvPkgImagesImages : public TKvPkgItemList<TKvPkgImagesImage>
{
public:
    explicit TKvPkgImagesImages(TKvPkgInfo* Pkg) : TKvPkgItemList(Pkg, QStringLiteral("Image")) {}
    // A new empty image.
    TKvPkgImagesImage* Add(int Id);
};

class TKvPkgImages : public TKvPkgInfo
{
    Q_OBJECT
    Q_PROPERTY(QString PkgName READ PkgName WRITE SetPkgName)

public:
    Q_INVOKABLE explicit TKvPkgImages(TComponent* AOwner = nullptr);
    ~TKvPkgImages() override;

    TKvPkgImagesImages* Images() const { return FImages.get(); }

    QString DefaultExt() const override { return QStringLiteral("kvimg"); }
    void Clear() override;

protected:
    QByteArray FileTag() const override { return QByteArrayLiteral("IMGS"); }
    std::unique_ptr<TContent> ReadContent(TKvPkgReader& Reader, quint16 Version) const override;
    void CommitContent(TContent& Content) override;
    void WriteContent(TKvPkgWriter& Writer) const override;

private:
    std::unique_ptr<TKvPkgImagesImages> FImages;
};

QString KvReadPkgImagesDescription(const QString& FileName);

// The active images package of a name (an empty name means "User"), or none.
TKvPkgImages* KvFindPkgImages(const QString& PkgName);
QStringList KvPkgImagesActives();
QList<TKvPkgImages*> KvPkgImagesAll();
