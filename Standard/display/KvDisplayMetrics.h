#pragma once

#include "KvPkgDisplay.h"

#include <QImage>
#include <QString>

#include <array>
#include <memory>

class TKvCApplication;
class TKvMemoryImage;
class TKvSkin;

// The values the common windows editor or the hints editor shows, between opening and Apply,
// and the example they paint. Common windows have the ten TKvCWMetric values, hints the four
// TKvHiMetric ones, in the enumerations' order.
class TKvMetricsEdit
{
public:
    enum TKind { CommonWnds, Hints };
    explicit TKvMetricsEdit(TKind Kind);
    ~TKvMetricsEdit();

    TKind Kind() const { return FKind; }
    int Count() const { return FKind == CommonWnds ? KvCWMetricCount : KvHiMetricCount; }

    // The application whose skin goes with Pkg: its owner, else the active one; may be none.
    static TKvCApplication* AppOf(const TKvPkgDisplay* Pkg);

    // Takes the package's values and flag and a copy of the application's skin image reference
    // (none without an application).
    void Load(const TKvPkgDisplay* Pkg);
    int Value(int Index) const { return FValues.at(Index); }
    void SetValue(int Index, int Value) { FValues.at(Index) = Value; }
    bool WinRgn() const { return FWinRgn; }
    void SetWinRgn(bool Value) { FWinRgn = Value; }
    // The skin image reference the editor changes; the application's is left alone until Apply.
    TKvMemoryImage* Image() const { return FImage.get(); }
    // "(" + id + ") " + package name.
    QString SkinText() const;

    // Writes the values and the flag to Pkg, and the skin image to its application; raises
    // for a value the package refuses.
    void Apply(TKvPkgDisplay* Pkg) const;

    // The example of the values over the whole of Target (a 32-bit image): the application's
    // skin, then guide lines at the margins (and for common windows, the title's lines and its
    // three buttons) inverting what is under them.
    void PaintExample(QImage& Target, const TKvPkgDisplay* Pkg) const;

private:
    TKvSkin* SkinOf(TKvCApplication* App) const;

    TKind FKind;
    std::array<int, KvCWMetricCount> FValues{};
    bool FWinRgn = false;
    std::unique_ptr<TKvMemoryImage> FImage;
};
