#pragma once

#include <QByteArray>
#include <QRegion>

#include <cstdint>
#include <optional>
#include <vector>

// Per-pixel masks of an image and the regions they stand for. A mask of W x H pixels is a packed
// bit set, row-major: pixel (x, y) is bit y * W + x.

class TKvBits
{
public:
    TKvBits() = default;
    // Size cleared bits.
    explicit TKvBits(qsizetype Size) : FSize(Size), FWords(size_t((Size + 63) / 64), 0) {}

    qsizetype Size() const { return FSize; }
    bool Get(qsizetype Index) const { return (FWords[size_t(Index >> 6)] >> (Index & 63)) & 1u; }
    void Set(qsizetype Index, bool Value)
    {
        const std::uint64_t Bit = std::uint64_t(1) << (Index & 63);
        if (Value)
            FWords[size_t(Index >> 6)] |= Bit;
        else
            FWords[size_t(Index >> 6)] &= ~Bit;
    }
    void Fill(bool Value);
    bool Any() const;
    qsizetype CountSet() const;
    const std::vector<std::uint64_t>& Words() const { return FWords; }
    // For loops that test and set many bits: bit i is word i / 64, bit i % 64.
    std::uint64_t* Data() { return FWords.data(); }

    // Little-endian bytes, (Size + 7) / 8 of them; the bits past Size are clear.
    QByteArray ToBytes() const;
    // Nullopt when Data is not exactly (Size + 7) / 8 bytes or sets a bit past Size.
    static std::optional<TKvBits> FromBytes(const QByteArray& Data, qsizetype Size);

    bool operator==(const TKvBits& Other) const = default;

private:
    qsizetype FSize = 0;
    std::vector<std::uint64_t> FWords;
};

// The set pixels of a W x H mask as a region at scale Zoom: one rectangle per run of set pixels
// and row (pixel (x, y) covers x * Zoom, y * Zoom, Zoom wide and high). No region when no bit is
// set.
std::optional<QRegion> KvMaskToRegion(const TKvBits& Mask, int W, int H, int Zoom = 1);
// The pixels of Region (in image pixels) as a W x H mask; what lies outside the image is dropped.
TKvBits KvRegionToMask(const QRegion& Region, int W, int H);
// Same pixel set, however the rectangles are cut.
bool KvSameRegion(const QRegion& A, const QRegion& B);
bool KvSameRegion(const std::optional<QRegion>& A, const std::optional<QRegion>& B);
