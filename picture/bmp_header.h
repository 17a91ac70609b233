#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "picture/image.h"

// The parts of a BMP that the picture layer's own decoders read; the general decoder reads the rest.
namespace picture::bmp {

// The 14-byte file header, then the info header, whose first field is its own size.
inline constexpr std::size_t kSignatureAt = 0;
inline constexpr std::uint32_t kSignature = 0x4D42;  // "BM"
inline constexpr std::size_t kPixelsAtAt = 10;
inline constexpr std::size_t kInfoAt = 14;
// BITMAPINFOHEADER and the headers that extend it.
inline constexpr std::size_t kWidthAt = 18;
inline constexpr std::size_t kHeightAt = 22;
inline constexpr std::size_t kPlanesAt = 26;
inline constexpr std::size_t kBitsAt = 28;
inline constexpr std::size_t kCompressionAt = 30;
inline constexpr std::size_t kColoursUsedAt = 46;
inline constexpr std::size_t kInfoEnd = kInfoAt + 40;
// The old 12-byte core header keeps 16-bit fields and has no compression.
inline constexpr std::uint32_t kCoreInfoSize = 12;
inline constexpr std::size_t kCoreWidthAt = 18;
inline constexpr std::size_t kCoreHeightAt = 20;
inline constexpr std::size_t kCorePlanesAt = 22;
inline constexpr std::size_t kCoreBitsAt = 24;
inline constexpr std::size_t kCoreInfoEnd = kInfoAt + kCoreInfoSize;

inline constexpr std::uint32_t kUncompressed = 0;
inline constexpr std::uint32_t kRle8 = 1;
inline constexpr std::uint32_t kRle4 = 2;
inline constexpr std::uint32_t kBitFields = 3;

// The header sizes the general decoder reads: the core header, BITMAPINFOHEADER, its V3 with an
// alpha mask, V4 and V5.
inline bool IsKnownInfoSize(std::uint32_t size) { return size == kCoreInfoSize || size == 40 || size == 56 || size == 108 || size == 124; }

inline std::uint32_t Le(std::span<const std::byte> bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = value << 8 | std::to_integer<std::uint32_t>(bytes[at + i]);
    return value;
}

struct Header {
    std::uint32_t pixelsAt = 0;
    std::uint32_t infoSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative when the rows are stored from the top
    std::uint32_t planes = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = kUncompressed;
    std::uint32_t coloursUsed = 0;

    std::int64_t Rows() const { return height < 0 ? -height : height; }
    bool SidesWithinLimits() const { return width > 0 && width <= kLargestSide && height != 0 && Rows() <= kLargestSide; }
    bool IsRle() const {
        return infoSize != kCoreInfoSize && planes == 1 &&
               ((compression == kRle8 && bits == 8) || (compression == kRle4 && bits == 4));
    }
};

// The fields of a header of a size the decoders know (12, 40, 56, 108 or 124 bytes); nothing for
// anything else or for bytes too short to hold its fields.
std::optional<Header> ReadHeader(std::span<const std::byte> bytes);

// Refuses, as a malformed file, a picture whose bytes end at `end` where its pixels need `needed`.
[[noreturn]] void ThrowCutShort(std::uint64_t end, std::uint64_t needed);

// A run-length encoded picture: RLE8, or RLE4, rows from the bottom unless the height is negative.
// Pixels the stream never reaches take palette entry 0's colour, indices past the palette black.
struct RleDecoding {
    Image image;
    // A run went past its row's end, or the stream ran out inside a code after its last pixel:
    // read here by rules of its own, where Qt reads what the file never said.
    bool ownRules = false;
};
// Fails as ThrowCutShort says for a stream that runs out before its end-of-bitmap code while
// pixels it has not reached remain; as a read failure for a picture it cannot hold.
RleDecoding DecodeRle(std::span<const std::byte> bytes, const Header& header);

}  // namespace picture::bmp
