#include "KvDesignRgnModel.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

// Bits Bit..Bit+63 of a bit array of Count words (bits past its end read as clear).
std::uint64_t ReadBits(const std::uint64_t* Words, qsizetype Count, qsizetype Bit)
{
    const qsizetype K = Bit >> 6;
    const int Shift = int(Bit & 63);
    std::uint64_t V = Words[K] >> Shift;
    if (Shift && K + 1 < Count)
        V |= Words[K + 1] << (64 - Shift);
    return V;
}

// Sets the bits of Value at Bit..Bit+63 (those past the array's end must be clear).
void OrBits(std::uint64_t* Words, qsizetype Count, qsizetype Bit, std::uint64_t Value)
{
    const qsizetype K = Bit >> 6;
    const int Shift = int(Bit & 63);
    Words[K] |= Value << Shift;
    if (Shift && K + 1 < Count)
        Words[K + 1] |= Value >> (64 - Shift);
}

// The first X in From..End (End at most the row's width) where the row's bit is Value and,
// with Except given, Except's bit is clear; else End.
qsizetype FindRowBit(const std::uint64_t* Row, const std::uint64_t* Except, qsizetype From, qsizetype End, bool Value)
{
    while (From < End) {
        std::uint64_t Word = Value ? Row[From >> 6] : ~Row[From >> 6];
        if (Except)
            Word &= ~Except[From >> 6];
        Word >>= (From & 63);
        if (Word)
            return std::min(End, From + std::countr_zero(Word));
        From = (From | 63) + 1;
    }
    return End;
}

// The first X of the run of set bits that holds X.
qsizetype RunStart(const std::uint64_t* Row, qsizetype X)
{
    qsizetype K = X >> 6;
    std::uint64_t Clear = ~Row[K] & ((std::uint64_t(1) << (X & 63)) - 1);
    while (!Clear) {
        if (K == 0)
            return 0;
        Clear = ~Row[--K];
    }
    return K * 64 + 64 - std::countl_zero(Clear);
}

void SetRowBits(std::uint64_t* Row, qsizetype From, qsizetype End)
{
    for (; From < End && (From & 63); ++From)
        Row[From >> 6] |= std::uint64_t(1) << (From & 63);
    for (; From + 64 <= End; From += 64)
        Row[From >> 6] = ~std::uint64_t(0);
    for (; From < End; ++From)
        Row[From >> 6] |= std::uint64_t(1) << (From & 63);
}

// The mark that mirrors Mark under its sync, and whether that sync is the vertical one.
TKvAdjust Partner(TKvAdjust Mark, bool& Vertical)
{
    Vertical = Mark <= TKvAdjust::Down2;
    switch (Mark) {
    case TKvAdjust::Up1: return TKvAdjust::Down1;
    case TKvAdjust::Up2: return TKvAdjust::Down2;
    case TKvAdjust::Down1: return TKvAdjust::Up1;
    case TKvAdjust::Down2: return TKvAdjust::Up2;
    case TKvAdjust::Left1: return TKvAdjust::Right1;
    case TKvAdjust::Left2: return TKvAdjust::Right2;
    case TKvAdjust::Right1: return TKvAdjust::Left1;
    case TKvAdjust::Right2: return TKvAdjust::Left2;
    case TKvAdjust::None: break;
    }
    return TKvAdjust::None;
}

// The mark on the same edge measured from the other corner.
TKvAdjust Opposite(TKvAdjust Mark)
{
    const int M = int(Mark);
    return TKvAdjust(M % 2 ? M + 1 : M - 1);
}

} // namespace

TKvDesignRgnModel::TKvDesignRgnModel(QObject* Parent) : QObject(Parent) {}

void TKvDesignRgnModel::Open(const TKvPkgImagesImage& Image, const TKvDesignRgnSettings& Settings)
{
    FLoading = true;
    FBitmap = Image.Graphic().convertToFormat(QImage::Format_ARGB32);
    FWidth = FBitmap.width();
    FHeight = FBitmap.height();
    FExternalBits = TKvBits(qsizetype(FWidth) * FHeight);
    FInternalBits = FExternalBits;
    FExternalRgn.reset();
    FInternalRgn.reset();
    FZoom = 1;
    // The image keeps its visible shape; the designer marks what lies outside it.
    const std::optional<QRegion> Shape = Image.CreateExternalRgn();
    SetExternalRgn(Shape ? std::optional<QRegion>(QRegion(0, 0, FWidth, FHeight).xored(*Shape)) : std::nullopt);
    SetInternalRgn(Image.CreateInternalRgn());

    FExternal = Settings.External;
    FDiagonals = Settings.Diagonals;
    FAdjusts = Image.ViewAdjusts();
    FSyncHor = Image.SyncHor();
    FSyncVer = Image.SyncVer();
    FMarks = Image.Marks();
    if (FSyncHor) {
        FMarks.Right1 = FMarks.Left1;
        FMarks.Right2 = FMarks.Left2;
    }
    if (FSyncVer) {
        FMarks.Down1 = FMarks.Up1;
        FMarks.Down2 = FMarks.Up2;
    }
    FLoading = false;

    FZoom = KvValidZoom(Settings.Zoom) ? Settings.Zoom : 1;
    ExternalMaskToRgn(FZoom);
    InternalMaskToRgn(FZoom);
    FInitExternalBits = FExternalBits;
    FInitInternalBits = FInternalBits;
    FUndoList.clear();
    FUndoIndex = -1;
    FBaseColor.reset();
    FModified = false;
    emit StateChanged();
    emit Changed();
}

bool TKvDesignRgnModel::Apply(TKvPkgImagesImage& Image)
{
    if (!FModified)
        return false;
    Image.SetViewAdjusts(FAdjusts);
    Image.SetSyncHor(FSyncHor);
    Image.SetSyncVer(FSyncVer);
    Image.SetMarks(FMarks);
    const std::optional<QRegion> Outside = KvMaskToRegion(FExternalBits, FWidth, FHeight, 1);
    Image.CreateExternalMask(Outside ? std::optional<QRegion>(QRegion(0, 0, FWidth, FHeight).xored(*Outside))
                                     : std::nullopt);
    Image.CreateInternalMask(KvMaskToRegion(FInternalBits, FWidth, FHeight, 1));
    return true;
}

TKvDesignRgnSettings TKvDesignRgnModel::Settings(const TKvEditorBounds& Bounds) const
{
    return {Bounds, FZoom, FExternal, FDiagonals};
}

bool TKvDesignRgnModel::ScanRgn(int X, int Y)
{
    if (!OnImage(X, Y) || FExternalBits.Get(Index(X, Y)) || FInternalBits.Get(Index(X, Y)))
        return false;
    TKvBits& MineBits = FExternal ? FExternalBits : FInternalBits;
    TKvBits& OtherBits = FExternal ? FInternalBits : FExternalBits;
    std::uint64_t* Mine = MineBits.Data();
    const std::uint64_t* Other = OtherBits.Data();
    const QRgb Start = FBitmap.pixel(X, Y);
    // 32-bit rows are never padded: pixel (x, y) is at y * W + x, as in the masks.
    const auto* Pixels = reinterpret_cast<const QRgb*>(FBitmap.constBits());
    // The acceptance test as channel ranges; without a base colour the exact colour.
    const bool Exact = !FBaseColor;
    int Lo[3] = {0, 0, 0}, Hi[3] = {255, 255, 255};
    if (FBaseColor) {
        const QRgb Base = FBaseColor->rgb();
        const int B[3] = {qRed(Base), qGreen(Base), qBlue(Base)}, S[3] = {qRed(Start), qGreen(Start), qBlue(Start)};
        for (int C = 0; C < 3; ++C) {
            Lo[C] = std::min(B[C], S[C]);
            Hi[C] = std::max(B[C], S[C]);
        }
    }
    auto Accepts = [&](QRgb Color) {
        if (Exact)
            return Color == Start;
        const int R = qRed(Color), G = qGreen(Color), Bl = qBlue(Color);
        return R >= Lo[0] && R <= Hi[0] && G >= Lo[1] && G <= Hi[1] && Bl >= Lo[2] && Bl <= Hi[2];
    };

    // The pixels a scan may enter (those passing the test or lying in a mask) and those it
    // entered, as bit rows each starting on a word: the scan fills whole runs of a row at once.
    const qsizetype W = FWidth, H = FHeight, S = (W + 63) / 64, Words = (W * H + 63) / 64;
    std::vector<std::uint64_t> OpenBuffer(size_t(S * H), 0), DoneBuffer(size_t(S * H), 0);
    for (qsizetype Y0 = 0; Y0 < H; ++Y0) {
        std::uint64_t* Row = OpenBuffer.data() + Y0 * S;
        const QRgb* Line = Pixels + Y0 * W;
        for (qsizetype K = 0; K < S; ++K) {
            const qsizetype X0 = K * 64, N = std::min<qsizetype>(64, W - X0);
            std::uint64_t Bits = ReadBits(Other, Words, Y0 * W + X0) | ReadBits(Mine, Words, Y0 * W + X0);
            if (N < 64)
                Bits &= (std::uint64_t(1) << N) - 1; // the next row's pixels
            for (qsizetype J = 0; J < N; ++J)
                Bits |= std::uint64_t(Accepts(Line[X0 + J])) << J;
            Row[K] = Bits;
        }
    }

    // Runs of open pixels joined by a side (or a corner, with diagonals) are one area: each run
    // entered is filled whole and the unentered runs touching it above and below are queued.
    const bool Diagonals = FDiagonals;
    std::vector<std::pair<qsizetype, qsizetype>> Queued{{Y, X}};
    while (!Queued.empty()) {
        const auto [Ry, Rx] = Queued.back();
        Queued.pop_back();
        std::uint64_t* Done = DoneBuffer.data() + Ry * S;
        if ((Done[Rx >> 6] >> (Rx & 63)) & 1u)
            continue;
        const std::uint64_t* Open = OpenBuffer.data() + Ry * S;
        const qsizetype L = RunStart(Open, Rx), R = FindRowBit(Open, nullptr, Rx, W, false);
        SetRowBits(Done, L, R);
        const qsizetype From = Diagonals ? std::max<qsizetype>(L - 1, 0) : L;
        const qsizetype To = Diagonals ? std::min(R + 1, W) : R;
        for (const qsizetype Ny : {Ry - 1, Ry + 1}) {
            if (Ny < 0 || Ny >= H)
                continue;
            const std::uint64_t* NOpen = OpenBuffer.data() + Ny * S;
            const std::uint64_t* NDone = DoneBuffer.data() + Ny * S;
            for (qsizetype P = FindRowBit(NOpen, NDone, From, To, true); P < To;
                 P = FindRowBit(NOpen, NDone, FindRowBit(NOpen, nullptr, P, W, false), To, true))
                Queued.emplace_back(Ny, P);
        }
    }

    // Every pixel entered joins the mask, except those of the other outline, which are crossed.
    for (qsizetype Y0 = 0; Y0 < H; ++Y0) {
        const std::uint64_t* Done = DoneBuffer.data() + Y0 * S;
        for (qsizetype K = 0; K < S; ++K)
            if (Done[K]) {
                const qsizetype At = Y0 * W + K * 64;
                OrBits(Mine, Words, At, Done[K] & ~ReadBits(Other, Words, At));
            }
    }

    if (FExternal)
        ExternalMaskToRgn(FZoom);
    else
        InternalMaskToRgn(FZoom);
    FModified = true;
    PushUndo(false);
    emit Changed();
    return true;
}

void TKvDesignRgnModel::ExternalMaskToRgn(int Zoom) { FExternalRgn = KvMaskToRegion(FExternalBits, FWidth, FHeight, Zoom); }

void TKvDesignRgnModel::InternalMaskToRgn(int Zoom) { FInternalRgn = KvMaskToRegion(FInternalBits, FWidth, FHeight, Zoom); }

void TKvDesignRgnModel::ExternalRgnToMask()
{
    if (FExternalRgn)
        FExternalBits = KvRegionToMask(*FExternalRgn, FWidth, FHeight);
}

void TKvDesignRgnModel::InternalRgnToMask()
{
    if (FInternalRgn)
        FInternalBits = KvRegionToMask(*FInternalRgn, FWidth, FHeight);
}

void TKvDesignRgnModel::SetExternalRgn(const std::optional<QRegion>& Rgn)
{
    // A region without pixels is no region, as a mask without set bits has none.
    const std::optional<QRegion> Value = Rgn && !Rgn->isEmpty() ? Rgn : std::nullopt;
    if (KvSameRegion(Value, FExternalRgn))
        return;
    FExternalRgn = Value;
    if (FExternalRgn)
        ExternalRgnToMask();
    else
        FExternalBits.Fill(false);
}

void TKvDesignRgnModel::SetInternalRgn(const std::optional<QRegion>& Rgn)
{
    const std::optional<QRegion> Value = Rgn && !Rgn->isEmpty() ? Rgn : std::nullopt;
    if (KvSameRegion(Value, FInternalRgn))
        return;
    FInternalRgn = Value;
    if (FInternalRgn)
        InternalRgnToMask();
    else
        FInternalBits.Fill(false);
}

void TKvDesignRgnModel::Record(TSnapshot Snapshot)
{
    FUndoList.resize(size_t(FUndoIndex + 1));
    FUndoList.push_back(std::move(Snapshot));
    FUndoIndex = int(FUndoList.size()) - 1;
    emit StateChanged();
}

void TKvDesignRgnModel::PushUndo(bool Redo)
{
    if (!Redo) {
        TSnapshot Snapshot;
        if (FExternal)
            Snapshot.External = FExternalBits;
        else
            Snapshot.Internal = FInternalBits;
        Record(std::move(Snapshot));
        return;
    }
    if (!CanRedo())
        return;
    const TSnapshot& Snapshot = FUndoList[size_t(++FUndoIndex)];
    if (Snapshot.External) {
        FExternalBits = *Snapshot.External;
        ExternalMaskToRgn(FZoom);
    }
    if (Snapshot.Internal) {
        FInternalBits = *Snapshot.Internal;
        InternalMaskToRgn(FZoom);
    }
    FModified = true;
    emit StateChanged();
    emit Changed();
}

void TKvDesignRgnModel::PopUndo()
{
    if (!CanUndo())
        return;
    --FUndoIndex;
    const TKvBits* External = &FInitExternalBits;
    const TKvBits* Internal = &FInitInternalBits;
    bool FoundExternal = false, FoundInternal = false;
    for (int I = FUndoIndex; I >= 0 && !(FoundExternal && FoundInternal); --I) {
        const TSnapshot& Snapshot = FUndoList[size_t(I)];
        if (!FoundExternal && Snapshot.External) {
            External = &*Snapshot.External;
            FoundExternal = true;
        }
        if (!FoundInternal && Snapshot.Internal) {
            Internal = &*Snapshot.Internal;
            FoundInternal = true;
        }
    }
    FExternalBits = *External;
    FInternalBits = *Internal;
    ExternalMaskToRgn(FZoom);
    InternalMaskToRgn(FZoom);
    FModified = true;
    emit StateChanged();
    emit Changed();
}

void TKvDesignRgnModel::Clear()
{
    if (!CanClear())
        return;
    FExternalRgn.reset();
    FInternalRgn.reset();
    FExternalBits.Fill(false);
    FInternalBits.Fill(false);
    Record({FExternalBits, FInternalBits});
    SetModified(true);
    emit Changed();
}

void TKvDesignRgnModel::SetZoom(int Value)
{
    if (!KvValidZoom(Value) || Value == FZoom || FLoading)
        return;
    const int Old = FZoom;
    FZoom = Value;
    ExternalMaskToRgn(FZoom);
    InternalMaskToRgn(FZoom);
    emit ZoomChanged(Old, FZoom);
    emit Changed();
}

void TKvDesignRgnModel::SetExternal(bool Value)
{
    const bool Changes = Value != FExternal;
    FExternal = Value;
    if (Changes && !FLoading)
        SetModified(true);
}

void TKvDesignRgnModel::SetDiagonals(bool Value)
{
    const bool Changes = Value != FDiagonals;
    FDiagonals = Value;
    if (Changes && !FLoading)
        SetModified(true);
}

void TKvDesignRgnModel::SetAdjusts(bool Value)
{
    const bool Changes = Value != FAdjusts;
    FAdjusts = Value;
    if (Changes && !FLoading) {
        SetModified(true);
        emit Changed();
    }
}

void TKvDesignRgnModel::SetSyncHor(bool Value)
{
    if (Value == FSyncHor)
        return;
    FSyncHor = Value;
    if (FLoading)
        return;
    if (Value && (FMarks.Right1 != FMarks.Left1 || FMarks.Right2 != FMarks.Left2)) {
        FMarks.Right1 = FMarks.Left1;
        FMarks.Right2 = FMarks.Left2;
        SetModified(true);
    }
    emit Changed();
}

void TKvDesignRgnModel::SetSyncVer(bool Value)
{
    if (Value == FSyncVer)
        return;
    FSyncVer = Value;
    if (FLoading)
        return;
    if (Value && (FMarks.Down1 != FMarks.Up1 || FMarks.Down2 != FMarks.Up2)) {
        FMarks.Down1 = FMarks.Up1;
        FMarks.Down2 = FMarks.Up2;
        SetModified(true);
    }
    emit Changed();
}

int& TKvDesignRgnModel::Field(TKvAdjust Mark)
{
    switch (Mark) {
    case TKvAdjust::Up1: return FMarks.Up1;
    case TKvAdjust::Up2: return FMarks.Up2;
    case TKvAdjust::Down1: return FMarks.Down1;
    case TKvAdjust::Down2: return FMarks.Down2;
    case TKvAdjust::Left1: return FMarks.Left1;
    case TKvAdjust::Left2: return FMarks.Left2;
    case TKvAdjust::Right1: return FMarks.Right1;
    case TKvAdjust::Right2: return FMarks.Right2;
    case TKvAdjust::None: break;
    }
    static int Nowhere = 0;
    return Nowhere = 0;
}

int TKvDesignRgnModel::Adjust(TKvAdjust Mark) const
{
    return Mark == TKvAdjust::None ? 0 : const_cast<TKvDesignRgnModel*>(this)->Field(Mark);
}

void TKvDesignRgnModel::SetAdjust(TKvAdjust Mark, int Value)
{
    if (Mark == TKvAdjust::None || Value < 0)
        return;
    int& Own = Field(Mark);
    if (Own == Value)
        return;
    Own = Value;
    if (FLoading)
        return;
    bool Vertical = false;
    const TKvAdjust Mirror = Partner(Mark, Vertical);
    if (Vertical ? FSyncVer : FSyncHor)
        Field(Mirror) = Value;
    SetModified(true);
    emit Changed();
}

void TKvDesignRgnModel::SetModified(bool Value)
{
    FModified = Value;
    emit StateChanged();
}

QPoint TKvDesignRgnModel::PixelAt(const QPoint& ViewPoint) const
{
    const QSize View = ViewSize();
    if (ViewPoint.x() < Margin || ViewPoint.y() < Margin || ViewPoint.x() >= View.width() - Margin ||
        ViewPoint.y() >= View.height() - Margin)
        return {-1, -1};
    return {(ViewPoint.x() - Margin) / FZoom, (ViewPoint.y() - Margin) / FZoom};
}

int TKvDesignRgnModel::BarPosition(TKvAdjust Mark) const
{
    const int Z = FZoom, Wz = FWidth * Z, Hz = FHeight * Z;
    switch (Mark) {
    case TKvAdjust::Up1: return FMarks.Up1 * Z;
    case TKvAdjust::Up2: return Wz - FMarks.Up2 * Z;
    case TKvAdjust::Down1: return FMarks.Down1 * Z;
    case TKvAdjust::Down2: return Wz - FMarks.Down2 * Z;
    case TKvAdjust::Left1: return FMarks.Left1 * Z;
    case TKvAdjust::Left2: return Hz - FMarks.Left2 * Z;
    case TKvAdjust::Right1: return FMarks.Right1 * Z;
    case TKvAdjust::Right2: return Hz - FMarks.Right2 * Z;
    case TKvAdjust::None: break;
    }
    return 0;
}

QRect TKvDesignRgnModel::BarRect(TKvAdjust Mark) const
{
    const int Z = FZoom, Wz = FWidth * Z, Hz = FHeight * Z, M = Margin;
    const TKvImageMarks& K = FMarks;
    // Vertical bars: x, from y0 to y1; horizontal bars: y, from x0 to x1 (image-area pixels).
    auto Vertical = [M](int X, int Y0, int Y1) { return QRect(QPoint(X + M, Y0 + M), QPoint(X + M, Y1 + M)); };
    auto Horizontal = [M](int Y, int X0, int X1) { return QRect(QPoint(X0 + M, Y + M), QPoint(X1 + M, Y + M)); };
    switch (Mark) {
    case TKvAdjust::Up1: return Vertical(K.Up1 * Z, -M, K.Left1 * Z);
    case TKvAdjust::Up2: return Vertical(Wz - K.Up2 * Z - 1, -M, K.Right1 * Z);
    case TKvAdjust::Down1: return Vertical(K.Down1 * Z, Hz - K.Left2 * Z, Hz + M - 1);
    case TKvAdjust::Down2: return Vertical(Wz - K.Down2 * Z - 1, Hz - K.Right2 * Z, Hz + M - 1);
    case TKvAdjust::Left1: return Horizontal(K.Left1 * Z, -M, K.Up1 * Z);
    case TKvAdjust::Left2: return Horizontal(Hz - K.Left2 * Z - 1, -M, K.Down1 * Z);
    case TKvAdjust::Right1: return Horizontal(K.Right1 * Z, Wz - K.Up2 * Z, Wz + M - 1);
    case TKvAdjust::Right2: return Horizontal(Hz - K.Right2 * Z - 1, Wz - K.Down2 * Z, Wz + M - 1);
    case TKvAdjust::None: break;
    }
    return {};
}

TKvAdjust TKvDesignRgnModel::AdjustAt(const QPoint& ViewPoint) const
{
    for (int M = 1; M <= 8; ++M)
        if (BarRect(TKvAdjust(M)).adjusted(-1, -1, 1, 1).contains(ViewPoint))
            return TKvAdjust(M);
    return TKvAdjust::None;
}

void TKvDesignRgnModel::DragTo(TKvAdjust Mark, int P)
{
    if (Mark == TKvAdjust::None)
        return;
    const int Z = FZoom;
    const bool Across = Mark <= TKvAdjust::Down2; // Up and Down marks travel along x
    const int Size = Across ? FWidth : FHeight;
    const bool FromFar = Mark == TKvAdjust::Up2 || Mark == TKvAdjust::Down2 || Mark == TKvAdjust::Left2 ||
                         Mark == TKvAdjust::Right2;
    const int Value = FromFar ? (Size * Z - P) / Z : P / Z;
    const int Limit = std::max(0, Size - Adjust(Opposite(Mark)) - 1);
    SetAdjust(Mark, std::clamp(Value, 0, Limit));
}
