#pragma once

#include "KvGraphics.h"
#include "KvPkgImages.h"

#include "Controls.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QList>

#include <array>

// Display packages: named colour, font and background sets, the user's custom colours and two
// images packages, "System" (the library's own images) and "User", which live inside the
// display package and are stored, loaded and saved with it.

class TKvDisplaySets;
class TKvMemoryImage;

// What every set has: a name unique in its list (case-insensitive), a description and the
// label that describes it. Destroying a set takes it out of its list.
class TKvDisplaySet
{
public:
    virtual ~TKvDisplaySet();
    TKvDisplaySet(const TKvDisplaySet&) = delete;
    TKvDisplaySet& operator=(const TKvDisplaySet&) = delete;

    const QString& Name() const { return FName; }
    // Raises for an empty name, "<Default>" and a name another set of the list has.
    void SetName(const QString& Value);
    const QString& Description() const { return FDescription; }
    void SetDescription(const QString& Value);
    // The describing label of a strings package; id -1 when none.
    const QString& DescriptionPkgName() const { return FDescriptionPkgName; }
    int DescriptionId() const { return FDescriptionId; }
    // Raises for an id below -1.
    void SetDescriptionId(const QString& PkgName, int Id);
    TKvDisplaySets* List() const { return FList; }

protected:
    explicit TKvDisplaySet(TKvDisplaySets* List, const QString& Name) : FList(List), FName(Name) {}
    void Changed();

private:
    friend class TKvDisplaySets;
    TKvDisplaySets* FList;
    QString FName;
    QString FDescription;
    QString FDescriptionPkgName;
    int FDescriptionId = -1;
};

class TKvSetColorItem : public TKvDisplaySet
{
public:
    TColor Color() const { return FColor; }
    // Raises for a value no colour name or $00BBGGRR number stands for.
    void SetColor(TColor Value);

private:
    friend class TKvSetColorList;
    using TKvDisplaySet::TKvDisplaySet;
    TColor FColor{KvColors::clBlack};
};

class TKvSetFontItem : public TKvDisplaySet
{
public:
    QFont Font() const { return FFont; }
    void SetFont(const QFont& Value);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor Value);

private:
    friend class TKvSetFontList;
    using TKvDisplaySet::TKvDisplaySet;
    QFont FFont;
    TColor FFontColor{KvColors::clBlack};
};


class TKvSetBackGroundItem : public TKvDisplaySet
{
public:
    TColor StartGraColor() const { return FStartGraColor; }
    void SetStartGraColor(TColor Value);
    TColor EndGraColor() const { return FEndGraColor; }
    void SetEndGraColor(TColor Value);
    TColor SolidColor() const { return FSolidColor; }
    void SetSolidColor(TColor Value);
    // 0 to 20 (TKvBackGroundStyle).
    int Style() const { return FStyle; }
    void SetStyle(int Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // An image of an images package; id -1 when none.
    const QString& ImagePkgName() const { return FImagePkgName; }
    int ImageId() const { return FImageId; }
    void SetImage(const QString& PkgName, int Id);

private:
    friend class TKvSetBackGroundList;
    using TKvDisplaySet::TKvDisplaySet;
    TColor FStartGraColor{KvColors::clBtnFace};
    TColor FEndGraColor{KvColors::clBtnFace};
    TColor FSolidColor{KvColors::clBtnFace};
    int FStyle = 0;
    bool FTransparent = false;
    QString FImagePkgName;
    int FImageId = -1;
};

// The common part of the three set lists.
class TKvDisplaySets
{
public:
    TKvDisplaySets(TKvPkgInfo* Pkg, QString Noun) : FPkg(Pkg), FNoun(std::move(Noun)) {}
    virtual ~TKvDisplaySets();
    TKvDisplaySets(const TKvDisplaySets&) = delete;
    TKvDisplaySets& operator=(const TKvDisplaySets&) = delete;

    int Count() const { return int(FItems.size()); }
    int IndexOf(const TKvDisplaySet* Set) const { return int(FItems.indexOf(const_cast<TKvDisplaySet*>(Set))); }
    void Delete(int Index);
    void Clear();
    // Raises unless Name may be given to Set (null for a new set).
    void CheckName(const QString& Name, const TKvDisplaySet* Set) const;
    TKvPkgInfo* Pkg() const { return FPkg; }

protected:
    TKvDisplaySet* ItemAt(int Index) const;
    TKvDisplaySet* FindItem(const QString& Name) const;
    void Append(TKvDisplaySet* Set);
    void SwapItems(TKvDisplaySets& Other);
    void Changed();

private:
    friend class TKvDisplaySet;
    TKvPkgInfo* FPkg;
    QString FNoun;
    QList<TKvDisplaySet*> FItems;
};

template <class TSet>
class TKvDisplaySetList : public TKvDisplaySets
{
public:
    using TKvDisplaySets::TKvDisplaySets;
    TSet* GetItems(int Index) const { return static_cast<TSet*>(ItemAt(Index)); }
    // Case-insensitive; none when missing.
    TSet* Find(const QString& Name) const { return static_cast<TSet*>(FindItem(Name)); }
    void Swap(TKvDisplaySetList& Other) { SwapItems(Other); }
};

class TKvSetColorList : public TKvDisplaySetList<TKvSetColorItem>
{
public:
    explicit TKvSetColorList(TKvPkgInfo* Pkg) : TKvDisplaySetList(Pkg, QStringLiteral("Colour set")) {}
    TKvSetColorItem* Add(const QString& Name);
};

class TKvSetFontList : public TKvDisplaySetList<TKvSetFontItem>
{
public:
    explicit TKvSetFontList(TKvPkgInfo* Pkg) : TKvDisplaySetList(Pkg, QStringLiteral("Font set")) {}
    TKvSetFontItem* Add(const QString& Name);
};

class TKvSetBackGroundList : public TKvDisplaySetList<TKvSetBackGroundItem>
{
public:
    explicit TKvSetBackGroundList(TKvPkgInfo* Pkg) : TKvDisplaySetList(Pkg, QStringLiteral("Background set")) {}
    TKvSetBackGroundItem* Add(const QString& Name);
};

// The metrics of the library's common windows (a title with three buttons inside margins) and of
// its hints (margins only), in pixels, each 0 to KvMaxDisplayMetric.
enum TKvCWMetric {
    cwMarginAfterTitle,
    cwTitleHeight,
    cwButtonsWidth,
    cwButtonsHeight,
    cwButtonsSpacing,
    cwButtonsMargin,
    cwMarginLeft,
    cwMarginTop,
    cwMarginRight,
    cwMarginBottom,
};
constexpr int KvCWMetricCount = cwMarginBottom + 1;
enum TKvHiMetric { hiMarginLeft, hiMarginTop, hiMarginRight, hiMarginBottom };
constexpr int KvHiMetricCount = hiMarginBottom + 1;
constexpr int KvMaxDisplayMetric = 400;
// What a new package has and what files written before the metrics existed read as.
constexpr std::array<int, KvCWMetricCount> KvDefaultCWMetrics{4, 22, 18, 16, 2, 4, 4, 4, 4, 4};
constexpr std::array<int, KvHiMetricCount> KvDefaultHiMetrics{3, 3, 3, 3};

// Sets the library looks up by name for its own drawing; where a package lacks one, the
// drawing falls back to a system colour.
inline QString KvSetEdBackGroundName() { return QStringLiteral("EdBackGround"); }
inline QString KvSet3DMLightName() { return QStringLiteral("3DMLight"); }

class TKvPkgDisplay : public TKvPkgInfo
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit TKvPkgDisplay(TComponent* AOwner = nullptr);
    ~TKvPkgDisplay() override;

    TKvSetColorList* SetsColor() const { return FSetsColor.get(); }
    TKvSetFontList* SetsFont() const { return FSetsFont.get(); }
    TKvSetBackGroundList* SetsBackGround() const { return FSetsBackGround.get(); }
    TKvPkgImages* PkgSystem() const { return FSystem; }
    TKvPkgImages* PkgUser() const { return FUser; }

    QList<QRgb> UserColors() const { return FUserColors; }
    void SetUserColors(const QList<QRgb>& Value);

    // The base display file the "System" images were last updated from, and when.
    QString LastUpdateFile() const { return FLastUpdateFile; }
    void SetLastUpdateFile(const QString& Value);
    QDateTime UpdateDateTime() const { return FUpdateDateTime; }
    void SetUpdateDateTime(const QDateTime& Value);

    int CWMetric(TKvCWMetric Which) const { return FCW[Which]; }
    // Raises for a value outside 0..KvMaxDisplayMetric.
    void SetCWMetric(TKvCWMetric Which, int Value);
    bool CWWinRgn() const { return FCWWinRgn; }
    void SetCWWinRgn(bool Value);
    int HiMetric(TKvHiMetric Which) const { return FHi[Which]; }
    void SetHiMetric(TKvHiMetric Which, int Value);
    bool HiWinRgn() const { return FHiWinRgn; }
    void SetHiWinRgn(bool Value);

    void SetCWMarginAfterTitle(int Value) { SetCWMetric(cwMarginAfterTitle, Value); }
    void SetCWTitleHeight(int Value) { SetCWMetric(cwTitleHeight, Value); }
    void SetCWButtonsWidth(int Value) { SetCWMetric(cwButtonsWidth, Value); }
    void SetCWButtonsHeight(int Value) { SetCWMetric(cwButtonsHeight, Value); }
    void SetCWButtonsSpacing(int Value) { SetCWMetric(cwButtonsSpacing, Value); }
    void SetCWButtonsMargin(int Value) { SetCWMetric(cwButtonsMargin, Value); }
    void SetCWMarginLeft(int Value) { SetCWMetric(cwMarginLeft, Value); }
    void SetCWMarginTop(int Value) { SetCWMetric(cwMarginTop, Value); }
    void SetCWMarginRight(int Value) { SetCWMetric(cwMarginRight, Value); }
    void SetCWMarginBottom(int Value) { SetCWMetric(cwMarginBottom, Value); }
    void SetHiMarginLeft(int Value) { SetHiMetric(hiMarginLeft, Value); }
    void SetHiMarginTop(int Value) { SetHiMetric(hiMarginTop, Value); }
    void SetHiMarginRight(int Value) { SetHiMetric(hiMarginRight, Value); }
    void SetHiMarginBottom(int Value) { SetHiMetric(hiMarginBottom, Value); }

    // The colour of the colour set Name; Fallback for the default set, none or a missing one.
    TColor SetColorOf(const QString& Name, TColor Fallback) const;
    // Paints the background set Name into Rect: solid Fallback for the default set, none or a
    // missing one. The set's image comes from the active images package it names.
    void PaintBackGround(QPainter& Painter, const QRect& Rect, const QString& Name, TColor Fallback) const;

    QString DefaultExt() const override { return QStringLiteral("dis"); }
    // Empties the three set lists and both images packages; the user colours and the metrics stay.
    void Clear() override;

protected:
    QByteArray FileTag() const override { return QByteArrayLiteral("DISP"); }
    quint16 FileVersion() const override { return 3; }
    std::unique_ptr<TContent> ReadContent(TKvPkgReader& Reader, quint16 Version) const override;
    void CommitContent(TContent& Content) override;
    void WriteContent(TKvPkgWriter& Writer) const override;

private:
    std::unique_ptr<TKvSetColorList> FSetsColor;
    std::unique_ptr<TKvSetFontList> FSetsFont;
    std::unique_ptr<TKvSetBackGroundList> FSetsBackGround;
    TKvPkgImages* FSystem;
    TKvPkgImages* FUser;
    QList<QRgb> FUserColors;
    std::array<int, KvCWMetricCount> FCW = KvDefaultCWMetrics;
    bool FCWWinRgn = false;
    std::array<int, KvHiMetricCount> FHi = KvDefaultHiMetrics;
    bool FHiWinRgn = false;
    QString FLastUpdateFile;
    QDateTime FUpdateDateTime;
};

QString KvReadPkgDisplayDescription(const QString& FileName);

// Paints a library window's skin into Rect: the background set BackGround of Display (solid
// clBtnFace when it has none of that name), then Image and over it Image2 (either may be none
// or name no picture), each drawn by KvDrawSkinImage with Transparent and the two borders.
void KvPaintSkin(QPainter& Painter, const QRect& Rect, const TKvPkgDisplay* Display, const TKvMemoryImage* Image,
                 const TKvMemoryImage* Image2, const QString& BackGround, bool Transparent, int BorderWidth,
                 int BorderHeight);
