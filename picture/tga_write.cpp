#include "picture/tga_write.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "picture/bmp_header.h"
#include "runtime/failure.h"

namespace picture {
namespace {

constexpr std::size_t kIdLengthAt = 0;
constexpr std::size_t kMapTypeAt = 1;
constexpr std::size_t kImageTypeAt = 2;
constexpr std::size_t kMapLengthAt = 5;
constexpr std::size_t kMapEntryBitsAt = 7;
constexpr std::size_t kWidthAt = 12;
constexpr std::size_t kHeightAt = 14;
constexpr std::size_t kBitsAt = 16;
constexpr std::size_t kDescriptorAt = 17;
constexpr std::size_t kHeaderSize = 18;

constexpr std::uint8_t kRightToLeft = 0x10;
constexpr std::uint8_t kTopDown = 0x20;
constexpr int kTrueColour = 2;
constexpr int kRunLengthTrueColour = 10;
constexpr std::uint8_t kRepeat = 0x80;
constexpr std::size_t kMostInPacket = 128;

// The footer of a TGA 2.0 file, and the offsets in it and in its extension area that count from
// the file's start: they move when the packets before them change length.
constexpr char kSignature[] = "TRUEVISION-XFILE.";  // then '\0'
constexpr std::size_t kFooterSize = 26;
constexpr std::size_t kFooterSignatureAt = 8;
constexpr std::size_t kFooterExtensionAt = 0;
constexpr std::size_t kFooterDeveloperAt = 4;
constexpr std::size_t kExtensionSize = 495;
constexpr std::size_t kColourCorrectionAt = 482;
constexpr std::size_t kPostageStampAt = 486;
constexpr std::size_t kScanLineTableAt = 490;
constexpr std::size_t kDeveloperEntrySize = 10;  // tag, offset, size
constexpr std::size_t kDeveloperEntryOffsetAt = 2;

struct Layout {
    int type = 0;
    std::size_t width = 0;
    std::size_t height = 0;
    std::size_t pixelSize = 0;  // bytes
    std::uint8_t descriptor = 0;
    std::size_t pixelsAt = 0;
};

runtime::Failure Refuse(const std::string& what) {
    return runtime::Failure(runtime::FailureKind::WriteFailed,
                            "the texture is " + what + "; only 24- and 32-bit true-colour TGAs, raw or run-length, are written back");
}

Layout ReadLayout(std::span<const std::byte> bytes) {
    if (bytes.size() < kHeaderSize) throw Refuse("a TGA shorter than its header");
    const auto field = [&](std::size_t at, std::size_t size) { return bmp::Le(bytes, at, size); };
    Layout layout;
    layout.type = static_cast<int>(field(kImageTypeAt, 1));
    const std::uint32_t bits = field(kBitsAt, 1);
    if (layout.type != kTrueColour && layout.type != kRunLengthTrueColour) throw Refuse("a TGA of type " + std::to_string(layout.type));
    if (bits != 24 && bits != 32) throw Refuse("a " + std::to_string(bits) + "-bit TGA");
    layout.width = field(kWidthAt, 2);
    layout.height = field(kHeightAt, 2);
    if (layout.width == 0 || layout.height == 0) throw Refuse("a TGA of no usable size");
    layout.pixelSize = bits / 8;
    layout.descriptor = static_cast<std::uint8_t>(field(kDescriptorAt, 1));
    const std::size_t mapBytes = field(kMapTypeAt, 1) == 1 ? field(kMapLengthAt, 2) * ((field(kMapEntryBitsAt, 1) + 7) / 8) : 0;
    layout.pixelsAt = kHeaderSize + field(kIdLengthAt, 1) + mapBytes;
    return layout;
}

// The stored pixels, in the file's order, and where their bytes end.
struct Stored {
    std::vector<std::byte> pixels;
    std::size_t end = 0;
};

Stored ReadStored(std::span<const std::byte> bytes, const Layout& layout) {
    const std::size_t total = layout.width * layout.height * layout.pixelSize;
    const auto cutShort = [&] { return Refuse("a TGA shorter than its pixels"); };
    Stored stored;
    if (layout.type == kTrueColour) {
        if (layout.pixelsAt + total > bytes.size()) throw cutShort();
        stored.pixels.assign(bytes.begin() + static_cast<std::ptrdiff_t>(layout.pixelsAt), bytes.begin() + static_cast<std::ptrdiff_t>(layout.pixelsAt + total));
        stored.end = layout.pixelsAt + total;
        return stored;
    }
    stored.pixels.reserve(total);
    std::size_t at = layout.pixelsAt;
    while (stored.pixels.size() < total) {
        if (at >= bytes.size()) throw cutShort();
        const auto head = std::to_integer<std::uint8_t>(bytes[at++]);
        const std::size_t count = (head & ~kRepeat) + 1u;
        const std::size_t stretch = (head & kRepeat) ? layout.pixelSize : count * layout.pixelSize;
        if (at + stretch > bytes.size() || stored.pixels.size() + count * layout.pixelSize > total) throw cutShort();
        if (head & kRepeat) {
            for (std::size_t i = 0; i < count; ++i) stored.pixels.insert(stored.pixels.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + stretch));
        } else {
            stored.pixels.insert(stored.pixels.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + stretch));
        }
        at += stretch;
    }
    stored.end = at;
    return stored;
}

// Packets within each row, as image editors write them: a run for two or more equal pixels.
std::vector<std::byte> Pack(const std::vector<std::byte>& pixels, const Layout& layout) {
    std::vector<std::byte> out;
    out.reserve(pixels.size() / 2);
    const std::size_t size = layout.pixelSize;
    const auto same = [&](std::size_t a, std::size_t b) { return std::memcmp(&pixels[a * size], &pixels[b * size], size) == 0; };
    for (std::size_t row = 0; row < layout.height; ++row) {
        const std::size_t first = row * layout.width, end = first + layout.width;
        for (std::size_t i = first; i < end;) {
            std::size_t n = 1;
            if (i + 1 < end && same(i, i + 1)) {
                while (i + n < end && n < kMostInPacket && same(i, i + n)) ++n;
                out.push_back(static_cast<std::byte>(kRepeat | (n - 1)));
                out.insert(out.end(), pixels.begin() + static_cast<std::ptrdiff_t>(i * size), pixels.begin() + static_cast<std::ptrdiff_t>((i + 1) * size));
            } else {
                while (i + n < end && n < kMostInPacket && !(i + n + 1 < end && same(i + n, i + n + 1))) ++n;
                out.push_back(static_cast<std::byte>(n - 1));
                out.insert(out.end(), pixels.begin() + static_cast<std::ptrdiff_t>(i * size), pixels.begin() + static_cast<std::ptrdiff_t>((i + n) * size));
            }
            i += n;
        }
    }
    return out;
}

void MoveOffset(std::vector<std::byte>& file, std::size_t at, std::size_t oldEnd, std::int64_t shift) {
    if (at + 4 > file.size()) return;
    const std::uint32_t offset = bmp::Le(file, at, 4);
    if (offset < oldEnd) return;
    const auto moved = static_cast<std::uint32_t>(offset + shift);
    for (std::size_t i = 0; i < 4; ++i) file[at + i] = static_cast<std::byte>(moved >> (8 * i));
}

// What follows the pixels moves by `shift` bytes; the footer's offsets, its extension area's and
// its developer directory's follow it. The scan-line table pointed into the old packets: it goes.
void MoveTrailer(std::vector<std::byte>& file, std::size_t oldEnd, std::int64_t shift) {
    if (file.size() < kFooterSize) return;
    const std::size_t footer = file.size() - kFooterSize;
    if (std::memcmp(&file[footer + kFooterSignatureAt], kSignature, sizeof kSignature) != 0) return;
    MoveOffset(file, footer + kFooterExtensionAt, oldEnd, shift);
    MoveOffset(file, footer + kFooterDeveloperAt, oldEnd, shift);
    const std::size_t extension = bmp::Le(file, footer + kFooterExtensionAt, 4);
    if (extension != 0 && extension + kExtensionSize <= footer) {
        MoveOffset(file, extension + kColourCorrectionAt, oldEnd, shift);
        MoveOffset(file, extension + kPostageStampAt, oldEnd, shift);
        std::fill_n(file.begin() + static_cast<std::ptrdiff_t>(extension + kScanLineTableAt), 4, std::byte{0});
    }
    const std::size_t developer = bmp::Le(file, footer + kFooterDeveloperAt, 4);
    if (developer != 0 && developer + 2 <= footer) {
        const std::size_t entries = bmp::Le(file, developer, 2);
        for (std::size_t i = 0; i < entries && developer + 2 + (i + 1) * kDeveloperEntrySize <= footer; ++i) {
            MoveOffset(file, developer + 2 + i * kDeveloperEntrySize + kDeveloperEntryOffsetAt, oldEnd, shift);
        }
    }
}

}  // namespace

void RequireRewritableTga(std::span<const std::byte> bytes) { ReadStored(bytes, ReadLayout(bytes)); }

std::vector<std::byte> RewriteTgaPixels(std::span<const std::byte> bytes, const Image& before, const Image& after) {
    const Layout layout = ReadLayout(bytes);
    if (static_cast<std::size_t>(before.width) != layout.width || static_cast<std::size_t>(before.height) != layout.height ||
        after.width != before.width || after.height != before.height) {
        throw runtime::Failure(runtime::FailureKind::WriteFailed, "the picture's size changed while it was drawn");
    }
    Stored stored = ReadStored(bytes, layout);
    for (std::size_t i = 0; i < layout.width * layout.height; ++i) {
        const std::size_t row = i / layout.width, column = i % layout.width;
        const int y = static_cast<int>(layout.descriptor & kTopDown ? row : layout.height - 1 - row);
        const int x = static_cast<int>(layout.descriptor & kRightToLeft ? layout.width - 1 - column : column);
        const Rgba& now = after.At(x, y);
        if (now == before.At(x, y)) continue;
        std::byte* p = &stored.pixels[i * layout.pixelSize];
        p[0] = std::byte{now.b};
        p[1] = std::byte{now.g};
        p[2] = std::byte{now.r};
        if (layout.pixelSize == 4) p[3] = std::byte{now.a};
    }
    const std::vector<std::byte> pixels = layout.type == kTrueColour ? std::move(stored.pixels) : Pack(stored.pixels, layout);
    std::vector<std::byte> out(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(layout.pixelsAt));
    out.insert(out.end(), pixels.begin(), pixels.end());
    out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(stored.end), bytes.end());
    const auto shift = static_cast<std::int64_t>(out.size()) - static_cast<std::int64_t>(bytes.size());
    if (shift != 0) MoveTrailer(out, stored.end, shift);
    return out;
}

}  // namespace picture
