#include "picture/bmp_write.h"

#include <map>
#include <string>

#include "picture/bmp_header.h"
#include "runtime/failure.h"

namespace picture {
namespace {

constexpr std::size_t kPaletteEntrySize = 4;  // blue, green, red, unused
constexpr std::size_t kMaxPaletteEntries = 256;

struct Layout {
    bmp::Header header;
    std::size_t stride = 0;
    std::size_t paletteAt = 0;
    std::size_t paletteEntries = 0;
};

Layout ReadLayout(std::span<const std::byte> bytes) {
    const std::optional<bmp::Header> header = bmp::ReadHeader(bytes);
    const auto refuse = [](const std::string& what) {
        return runtime::Failure(runtime::FailureKind::WriteFailed,
                                "the texture is " + what + "; only uncompressed 24-bit and 8-bit palette BMPs are written back");
    };
    if (!header) throw refuse("no BMP that can be written back");
    if (header->infoSize == bmp::kCoreInfoSize) throw refuse("a BMP with the old 12-byte header");
    if (header->compression != bmp::kUncompressed) throw refuse("a compressed BMP (compression " + std::to_string(header->compression) + ")");
    if (header->planes != 1 || (header->bits != 24 && header->bits != 8)) throw refuse("a " + std::to_string(header->bits) + "-bit BMP");
    if (!header->SidesWithinLimits()) throw refuse("a BMP of no usable size");
    Layout layout;
    layout.header = *header;
    layout.stride = (static_cast<std::size_t>(header->width) * header->bits / 8 + 3) / 4 * 4;
    const std::uint64_t end = header->pixelsAt + layout.stride * static_cast<std::uint64_t>(header->Rows());
    if (end > bytes.size()) throw refuse("shorter than its pixels (" + std::to_string(bytes.size()) + " of " + std::to_string(end) + " bytes)");
    if (header->bits == 8) {
        layout.paletteAt = bmp::kInfoAt + header->infoSize;
        const std::size_t room = header->pixelsAt > layout.paletteAt ? (header->pixelsAt - layout.paletteAt) / kPaletteEntrySize : 0;
        const std::size_t said = header->coloursUsed == 0 ? kMaxPaletteEntries : std::min<std::size_t>(header->coloursUsed, kMaxPaletteEntries);
        layout.paletteEntries = std::min(room, said);
        if (layout.paletteEntries == 0) throw refuse("an 8-bit BMP without a palette");
    }
    return layout;
}

}  // namespace

void RequireRewritableBmp(std::span<const std::byte> bytes) { ReadLayout(bytes); }

std::vector<std::byte> RewriteBmpPixels(std::span<const std::byte> bytes, const Image& before, const Image& after) {
    const Layout layout = ReadLayout(bytes);
    const bmp::Header& header = layout.header;
    if (before.width != header.width || before.height != header.Rows() || after.width != before.width || after.height != before.height) {
        throw runtime::Failure(runtime::FailureKind::WriteFailed, "the picture's size changed while it was drawn");
    }
    std::vector<std::byte> out(bytes.begin(), bytes.end());
    const auto channel = [&](std::size_t at) { return static_cast<int>(std::to_integer<std::uint8_t>(bytes[at])); };
    std::map<std::uint32_t, std::byte> nearest;
    const auto paletteIndex = [&](Rgba c) {
        const std::uint32_t key = std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b;
        if (const auto found = nearest.find(key); found != nearest.end()) return found->second;
        std::size_t best = 0;
        int bestDistance = -1;
        for (std::size_t i = 0; i < layout.paletteEntries; ++i) {
            const std::size_t at = layout.paletteAt + i * kPaletteEntrySize;
            const int db = channel(at) - c.b, dg = channel(at + 1) - c.g, dr = channel(at + 2) - c.r;
            const int distance = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || distance < bestDistance) best = i, bestDistance = distance;
        }
        return nearest.emplace(key, static_cast<std::byte>(best)).first->second;
    };
    const auto rows = static_cast<std::size_t>(header.Rows());
    for (std::size_t y = 0; y < rows; ++y) {
        const std::size_t stored = header.height < 0 ? y : rows - 1 - y;  // from the bottom unless the height is negative
        const std::size_t rowAt = header.pixelsAt + stored * layout.stride;
        for (int x = 0; x < after.width; ++x) {
            const Rgba& now = after.At(x, static_cast<int>(y));
            if (now == before.At(x, static_cast<int>(y))) continue;
            if (header.bits == 24) {
                const std::size_t at = rowAt + static_cast<std::size_t>(x) * 3;
                out[at] = std::byte{now.b};
                out[at + 1] = std::byte{now.g};
                out[at + 2] = std::byte{now.r};
            } else {
                out[rowAt + static_cast<std::size_t>(x)] = paletteIndex(now);
            }
        }
    }
    return out;
}

}  // namespace picture
