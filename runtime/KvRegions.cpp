#include "KvRegions.h"

#include <QtEndian>

#include <bit>

namespace {

// The first index in From..End whose bit equals Value, else End. Whole words are skipped.
qsizetype FindBit(const std::vector<std::uint64_t>& Words, qsizetype From, qsizetype End, bool Value)
{
    while (From < End) {
        std::uint64_t Word = Words[size_t(From >> 6)];
        if (!Value)
            Word = ~Word;
        Word >>= (From & 63);
        if (Word) {
            const qsizetype At = From + std::countr_zero(Word);
            return At < End ? At : End;
        }
        From = (From | 63) + 1;
    }
    return End;
}

} // namespace

void TKvBits::Fill(bool Value)
{
    std::fill(FWords.begin(), FWords.end(), Value ? ~std::uint64_t(0) : 0);
    if (Value && (FSize & 63))
        FWords.back() &= (std::uint64_t(1) << (FSize & 63)) - 1;
}

bool TKvBits::Any() const
{
    for (std::uint64_t Word : FWords)
        if (Word)
            return true;
    return false;
}

qsizetype TKvBits::CountSet() const
{
    qsizetype Count = 0;
    for (std::uint64_t Word : FWords)
        Count += std::popcount(Word);
    return Count;
}

QByteArray TKvBits::ToBytes() const
{
    QByteArray Data(qsizetype((FSize + 7) / 8), '\0');
    for (qsizetype I = 0; I < Data.size(); ++I)
        Data[I] = char((FWords[size_t(I >> 3)] >> ((I & 7) * 8)) & 0xFF);
    return Data;
}

std::optional<TKvBits> TKvBits::FromBytes(const QByteArray& Data, qsizetype Size)
{
    if (Size < 0 || Data.size() != (Size + 7) / 8)
        return std::nullopt;
    TKvBits Result(Size);
    for (qsizetype I = 0; I < Data.size(); ++I)
        Result.FWords[size_t(I >> 3)] |= std::uint64_t(quint8(Data[I])) << ((I & 7) * 8);
    if ((Size & 63) && !Result.FWords.empty() && (Result.FWords.back() >> (Size & 63)))
        return std::nullopt;
    return Result;
}

std::optional<QRegion> KvMaskToRegion(const TKvBits& Mask, int W, int H, int Zoom)
{
    if (W <= 0 || H <= 0 || Mask.Size() < qsizetype(W) * H)
        return std::nullopt;
    // Built in the region's own banded form (rows of equal runs merged into one band), which
    // setRects takes as it is, instead of a union per run.
    std::vector<QRect> Rects;
    qsizetype BandStart = 0; // first rectangle of the previous row's band
    qsizetype BandEnd = 0;
    int BandBottom = -1;      // row after the previous band, in pixels
    const auto& Words = Mask.Words();
    for (int Y = 0; Y < H; ++Y) {
        const qsizetype RowStart = qsizetype(Y) * W;
        const qsizetype RowEnd = RowStart + W;
        const qsizetype Start = qsizetype(Rects.size());
        qsizetype X = FindBit(Words, RowStart, RowEnd, true);
        while (X < RowEnd) {
            const qsizetype X1 = FindBit(Words, X, RowEnd, false);
            Rects.emplace_back(int(X - RowStart) * Zoom, Y * Zoom, int(X1 - X) * Zoom, Zoom);
            X = FindBit(Words, X1, RowEnd, true);
        }
        const qsizetype End = qsizetype(Rects.size());
        if (Start == End)
            continue;
        bool Same = BandBottom == Y && End - Start == BandEnd - BandStart;
        for (qsizetype I = 0; Same && I < End - Start; ++I)
            Same = Rects[size_t(Start + I)].left() == Rects[size_t(BandStart + I)].left() &&
                   Rects[size_t(Start + I)].width() == Rects[size_t(BandStart + I)].width();
        if (Same) {
            for (qsizetype I = BandStart; I < BandEnd; ++I)
                Rects[size_t(I)].setHeight(Rects[size_t(I)].height() + Zoom);
            Rects.resize(size_t(Start));
        } else {
            BandStart = Start;
            BandEnd = End;
        }
        BandBottom = Y + 1;
    }
    if (Rects.empty())
        return std::nullopt;
    QRegion Region;
    Region.setRects(Rects.data(), int(Rects.size()));
    return Region;
}

TKvBits KvRegionToMask(const QRegion& Region, int W, int H)
{
    TKvBits Mask(qsizetype(qMax(W, 0)) * qMax(H, 0));
    const QRect Image(0, 0, W, H);
    for (const QRect& Rect : Region) {
        const QRect R = Rect.intersected(Image);
        for (int Y = R.top(); Y <= R.bottom(); ++Y)
            for (int X = R.left(); X <= R.right(); ++X)
                Mask.Set(qsizetype(Y) * W + X, true);
    }
    return Mask;
}

bool KvSameRegion(const QRegion& A, const QRegion& B) { return A.xored(B).isEmpty(); }

bool KvSameRegion(const std::optional<QRegion>& A, const std::optional<QRegion>& B)
{
    if (A.has_value() != B.has_value())
        return false;
    return !A || KvSameRegion(*A, *B);
}
