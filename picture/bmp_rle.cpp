// Run-length encoded BMPs, which the general decoder does not read. Qt's decoder is the model:
// what it does is done here, except where it reads what the file never said (see DecodeRle).
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "picture/bmp_header.h"
#include "runtime/failure.h"

namespace picture::bmp {
namespace {

constexpr std::size_t kPaletteEntrySize = 4;  // blue, green, red, unused
constexpr std::uint32_t kLargestPalette = 256;
// A pair whose first byte is 0 is an escape: its second byte is one of these codes, or else
// the length of an absolute run that follows, padded to an even number of bytes.
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfBitmap = 1;
constexpr std::uint8_t kDelta = 2;

runtime::Failure CannotHold(const std::string& why) {
    return runtime::Failure(runtime::FailureKind::ReadFailed, "not a BMP that can be decoded (" + why + ")");
}

// Every index a byte can name, those past the palette black.
std::array<Rgba, kLargestPalette> ReadPalette(std::span<const std::byte> entries) {
    std::array<Rgba, kLargestPalette> colours;
    colours.fill(kBlack);
    for (std::size_t i = 0; i < entries.size() / kPaletteEntrySize; ++i) {
        const std::span<const std::byte> entry = entries.subspan(i * kPaletteEntrySize, kPaletteEntrySize);
        colours[i] = {std::to_integer<std::uint8_t>(entry[2]), std::to_integer<std::uint8_t>(entry[1]),
                      std::to_integer<std::uint8_t>(entry[0]), 255};
    }
    return colours;
}

// Palette indices as the stream places them, one row at a time; a run stops at its row's end.
class Canvas {
public:
    Canvas(std::size_t width, std::size_t rows, bool topDown)
        : width_(width), rows_(rows), topDown_(topDown), indices_(width * rows, 0) {}

    std::size_t row() const { return row_; }
    bool Done() const { return row_ >= rows_; }
    // At the last pixel's end: nothing the stream could still say is a pixel of its own.
    bool Filled() const { return row_ + 1 == rows_ && x_ == width_; }
    bool runsCut() const { return runsCut_; }

    // Pixel by pixel from the cursor on, as far as the row goes.
    template <typename IndexOf>
    void Put(std::size_t count, IndexOf indexOf) {
        const std::size_t fits = std::min(count, width_ - x_);
        runsCut_ = runsCut_ || fits < count;
        std::uint8_t* out = indices_.data() + (topDown_ ? row_ : rows_ - 1 - row_) * width_ + x_;
        for (std::size_t i = 0; i < fits; ++i) out[i] = indexOf(i);
        x_ += fits;
    }
    void EndLine() {
        x_ = 0;
        ++row_;
    }
    void End() { row_ = rows_; }
    // A move past the last column or row stops at it.
    void Move(std::size_t right, std::size_t up) {
        x_ = std::min(x_ + right, width_ - 1);
        row_ = std::min(row_ + up, rows_ - 1);
    }

    Image Paint(const std::array<Rgba, kLargestPalette>& colours) const {
        Image image{static_cast<int>(width_), static_cast<int>(rows_), std::vector<Rgba>(indices_.size())};
        std::transform(indices_.begin(), indices_.end(), image.pixels.begin(), [&](std::uint8_t i) { return colours[i]; });
        return image;
    }

private:
    std::size_t width_;
    std::size_t rows_;
    bool topDown_;
    std::vector<std::uint8_t> indices_;
    std::size_t row_ = 0;  // counted in the order stored
    std::size_t x_ = 0;
    bool runsCut_ = false;
};

}  // namespace

// Where Qt differs, it reads what the file never said, and this does not: pixels the stream never
// reaches are left as they were in memory there (here palette entry 0, what Qt gives on zeroed
// memory); a run past its row's end runs on into the row below (here it is cut at the row's end,
// an absolute run's remaining bytes skipped rather than read as codes); and a stream that runs
// out is taken with whatever its last read left (here it is refused as cut short, unless it has
// already reached the last pixel).
RleDecoding DecodeRle(std::span<const std::byte> bytes, const Header& header) {
    const std::uint32_t entries = header.coloursUsed != 0 ? header.coloursUsed : 1u << header.bits;
    if (entries > kLargestPalette) throw CannotHold("a palette of " + std::to_string(entries) + " entries");
    RequireSidesWithinLimit(header.width, header.Rows());
    const auto width = static_cast<std::size_t>(header.width);
    const auto rows = static_cast<std::size_t>(header.Rows());

    // The palette comes right after the header, whatever the header says of where the pixels
    // begin; pixels said to begin inside it begin after it.
    const std::size_t paletteAt = kInfoAt + header.infoSize;
    const std::size_t paletteEnd = paletteAt + std::size_t{entries} * kPaletteEntrySize;
    std::size_t at = std::max<std::size_t>(header.pixelsAt, paletteEnd);
    Canvas canvas(width, rows, header.height < 0);
    bool ranOutInsideACode = false;
    // Whether the bytes hold the code begun at codeAt as far as its first `length` bytes. When
    // they do not, the picture is whole only if every pixel has been reached.
    const auto holds = [&](std::size_t codeAt, std::size_t length) {
        if (codeAt <= bytes.size() && length <= bytes.size() - codeAt) return true;
        if (!canvas.Filled()) ThrowCutShort(bytes.size(), std::uint64_t{codeAt} + length);
        ranOutInsideACode = codeAt != bytes.size() || length > 2;
        return false;
    };
    const auto byteAt = [&](std::size_t i) { return std::to_integer<std::uint8_t>(bytes[i]); };
    const bool fourBits = header.bits == 4;
    const auto nibble = [](std::uint8_t pair, std::size_t i) { return static_cast<std::uint8_t>(i % 2 == 0 ? pair >> 4 : pair & 0x0F); };

    while (!canvas.Done()) {
        const std::size_t codeAt = at;
        if (!holds(codeAt, 2)) break;
        const std::uint8_t count = byteAt(at);
        const std::uint8_t second = byteAt(at + 1);
        at += 2;
        if (count != 0) {  // a run of one index, or in four bits of two taking turns
            canvas.Put(count, [&](std::size_t i) { return fourBits ? nibble(second, i) : second; });
        } else if (second == kEndOfLine) {
            canvas.EndLine();
        } else if (second == kEndOfBitmap) {
            canvas.End();
        } else if (second == kDelta) {
            if (!holds(codeAt, 4)) break;
            canvas.Move(byteAt(at), byteAt(at + 1));
            at += 2;
        } else {
            const std::size_t dataBytes = fourBits ? (second + 1u) / 2 : second;
            if (!holds(codeAt, 2 + dataBytes)) break;
            const std::size_t dataAt = at;
            canvas.Put(second, [&](std::size_t i) { return fourBits ? nibble(byteAt(dataAt + i / 2), i) : byteAt(dataAt + i); });
            const std::size_t padded = dataBytes + dataBytes % 2;
            if (!holds(codeAt, 2 + padded)) break;
            at += padded;
        }
    }
    const std::span<const std::byte> palette = bytes.subspan(paletteAt, paletteEnd - paletteAt);
    return {canvas.Paint(ReadPalette(palette)), canvas.runsCut() || ranOutInsideACode};
}

}  // namespace picture::bmp
