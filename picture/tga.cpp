// TGA, the game's own texture format: an 18-byte header, an ID field, a colour map, then the
// pixels, raw or in run-length packets. Read as stb_image and Qt read it where they agree with
// the format; where they do not, the notes below say which way and why.
#include <algorithm>
#include <string>
#include <vector>

#include "picture/bmp_header.h"
#include "picture/image.h"
#include "runtime/failure.h"

namespace picture {
namespace tga {
namespace {

inline constexpr std::size_t kIdLengthAt = 0;
inline constexpr std::size_t kMapTypeAt = 1;
inline constexpr std::size_t kImageTypeAt = 2;
inline constexpr std::size_t kMapFirstAt = 3;
inline constexpr std::size_t kMapLengthAt = 5;
inline constexpr std::size_t kMapEntryBitsAt = 7;
inline constexpr std::size_t kWidthAt = 12;
inline constexpr std::size_t kHeightAt = 14;
inline constexpr std::size_t kBitsAt = 16;
inline constexpr std::size_t kDescriptorAt = 17;
inline constexpr std::size_t kHeaderSize = 18;

// The descriptor's low four bits count the alpha bits of a pixel; two more say where the
// first pixel stored goes.
inline constexpr std::uint8_t kAlphaBits = 0x0F;
inline constexpr std::uint8_t kRightToLeft = 0x10;
inline constexpr std::uint8_t kTopDown = 0x20;

inline constexpr int kColourMapped = 1;
inline constexpr int kTrueColour = 2;
inline constexpr int kGrey = 3;
inline constexpr int kRunLength = 8;  // added to the three types above

// A packet's first byte: the top bit for one pixel repeated, the rest the count less one.
inline constexpr std::uint8_t kRepeat = 0x80;
inline constexpr std::uint8_t kCountLessOne = 0x7F;

struct Header {
    std::uint32_t idLength = 0;
    std::uint32_t mapType = 0;
    int type = 0;
    std::uint32_t mapFirst = 0;
    std::uint32_t mapLength = 0;
    std::uint32_t mapEntryBits = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    int bits = 0;
    std::uint8_t descriptor = 0;

    int BaseType() const { return type & ~kRunLength; }
    bool RunLength() const { return (type & kRunLength) != 0; }
    bool HasAlphaBits() const { return (descriptor & kAlphaBits) != 0; }
};

Header ReadHeader(std::span<const std::byte> bytes) {
    if (bytes.size() < kHeaderSize) bmp::ThrowCutShort(bytes.size(), kHeaderSize);
    const auto field = [&](std::size_t at, std::size_t size) { return bmp::Le(bytes, at, size); };
    Header header;
    header.idLength = field(kIdLengthAt, 1);
    header.mapType = field(kMapTypeAt, 1);
    header.type = static_cast<int>(field(kImageTypeAt, 1));
    header.mapFirst = field(kMapFirstAt, 2);
    header.mapLength = field(kMapLengthAt, 2);
    header.mapEntryBits = field(kMapEntryBitsAt, 1);
    header.width = field(kWidthAt, 2);
    header.height = field(kHeightAt, 2);
    header.bits = static_cast<int>(field(kBitsAt, 1));
    header.descriptor = static_cast<std::uint8_t>(field(kDescriptorAt, 1));
    return header;
}

runtime::Failure NotRead(const std::string& why) { return runtime::Failure(runtime::FailureKind::ReadFailed, why); }

// How one stored pixel (or colour-map entry) becomes a colour.
enum class Layout { Index8, Index16, Grey8, GreyAlpha16, Rgb15, Argb16, Bgr24, Bgra32 };

std::size_t BytesOf(Layout layout) {
    switch (layout) {
        case Layout::Index8:
        case Layout::Grey8: return 1;
        case Layout::Bgr24: return 3;
        case Layout::Bgra32: return 4;
        default: return 2;
    }
}

// Five bits to eight as stb scales them (Qt leaves them 0 to 31).
std::uint8_t Expand5(std::uint32_t v) { return static_cast<std::uint8_t>(v * 255 / 31); }

// A 16-bit colour's top bit is alpha only where the descriptor counts an alpha bit; in most
// files it is unused and often 0, which would make the whole picture transparent.
Rgba ColourOf(Layout layout, const std::byte* p, bool alpha) {
    const auto b = [&](int i) { return std::to_integer<std::uint8_t>(p[i]); };
    switch (layout) {
        case Layout::Grey8: return {b(0), b(0), b(0), 255};
        case Layout::GreyAlpha16: return {b(0), b(0), b(0), alpha ? b(1) : std::uint8_t{255}};
        case Layout::Bgr24: return {b(2), b(1), b(0), 255};
        case Layout::Bgra32: return {b(2), b(1), b(0), alpha ? b(3) : std::uint8_t{255}};
        case Layout::Rgb15:
        case Layout::Argb16: {
            const std::uint32_t v = b(0) | std::uint32_t{b(1)} << 8;
            const bool opaque = layout == Layout::Rgb15 || !alpha || (v & 0x8000) != 0;
            return {Expand5(v >> 10 & 31), Expand5(v >> 5 & 31), Expand5(v & 31), opaque ? std::uint8_t{255} : std::uint8_t{0}};
        }
        default: return kBlack;  // indices go through the colour map
    }
}

std::optional<Layout> ColourLayout(int bits, bool grey) {
    if (grey) {
        if (bits == 8) return Layout::Grey8;
        if (bits == 16) return Layout::GreyAlpha16;
        return std::nullopt;
    }
    switch (bits) {
        case 15: return Layout::Rgb15;
        case 16: return Layout::Argb16;
        case 24: return Layout::Bgr24;
        case 32: return Layout::Bgra32;
        default: return std::nullopt;
    }
}

const char* TypeName(int type) {
    switch (type) {
        case kColourMapped: return "colour-mapped";
        case kTrueColour: return "true-colour";
        case kGrey: return "grey";
        case kColourMapped + kRunLength: return "run-length colour-mapped";
        case kTrueColour + kRunLength: return "run-length true-colour";
        case kGrey + kRunLength: return "run-length grey";
        default: return "unknown";
    }
}

// The stored pixel's layout, or a refusal naming what is not read.
Layout PixelLayout(const Header& header) {
    const int base = header.BaseType();
    if (base != kColourMapped && base != kTrueColour && base != kGrey) throw NotRead("TGA type " + std::to_string(header.type) + " is not read");
    if (header.mapType > 1) throw NotRead("a TGA colour map of type " + std::to_string(header.mapType) + " is not read");
    std::optional<Layout> layout;
    if (base == kColourMapped) {
        if (header.mapType == 0 || header.mapLength == 0) throw NotRead("a colour-mapped TGA without a colour map");
        if (header.bits == 8) layout = Layout::Index8;
        if (header.bits == 16) layout = Layout::Index16;
    } else {
        layout = ColourLayout(header.bits, base == kGrey);
    }
    if (!layout) {
        throw NotRead("a TGA of type " + std::to_string(header.type) + " (" + TypeName(header.type) + ") with " +
                      std::to_string(header.bits) + " bits a pixel is not read");
    }
    return *layout;
}

// Where the colour map's entries turn an index into a colour: entry i stands for index
// mapFirst + i. (stb skips mapFirst bytes instead, and reads index i as entry i.)
struct ColourMap {
    std::uint32_t first = 0;
    std::vector<Rgba> entries;

    Rgba At(std::uint32_t index) const {
        // An index the map has no entry for is black, as in a BMP.
        return index >= first && index - first < entries.size() ? entries[index - first] : kBlack;
    }
};

// Reads the map for a colour-mapped picture and steps over it for any other; at is left at the pixels.
ColourMap ReadColourMap(std::span<const std::byte> bytes, const Header& header, std::size_t& at, std::uint64_t pixelBytes) {
    ColourMap map;
    if (header.mapType == 0) return map;
    const bool used = header.BaseType() == kColourMapped;
    const std::optional<Layout> entry = ColourLayout(static_cast<int>(header.mapEntryBits), false);
    if (used && !entry) throw NotRead("a TGA colour map of " + std::to_string(header.mapEntryBits) + "-bit entries is not read");
    const std::size_t entryBytes = (header.mapEntryBits + 7) / 8;
    const std::size_t mapEnd = at + std::size_t{header.mapLength} * entryBytes;
    if (bytes.size() < mapEnd) bmp::ThrowCutShort(bytes.size(), mapEnd + pixelBytes);
    if (used) {
        map.first = header.mapFirst;
        map.entries.reserve(header.mapLength);
        for (std::size_t e = at; e < mapEnd; e += entryBytes) map.entries.push_back(ColourOf(*entry, bytes.data() + e, header.HasAlphaBits()));
    }
    at = mapEnd;
    return map;
}

// Stored pixels, in the order stored, to their places in rows from the top, each left to right.
class Placer {
public:
    Placer(Image& image, Origin origin)
        : image_(image), width_(static_cast<std::size_t>(image.width)),
          fromTop_(origin == Origin::TopLeft || origin == Origin::TopRight),
          fromRight_(origin == Origin::BottomRight || origin == Origin::TopRight) {}

    // The next stored row's first `count` pixels, or as many as the row still holds.
    template <typename Next>
    std::size_t Put(std::size_t count, Next next) {
        const std::size_t rows = static_cast<std::size_t>(image_.height);
        const std::size_t y = fromTop_ ? row_ : rows - 1 - row_;
        Rgba* const line = image_.pixels.data() + y * width_;
        const std::size_t n = std::min(count, width_ - x_);
        if (fromRight_) {
            for (std::size_t i = 0; i < n; ++i) line[width_ - 1 - (x_ + i)] = next();
        } else {
            for (std::size_t i = 0; i < n; ++i) line[x_ + i] = next();
        }
        x_ += n;
        if (x_ == width_) {
            x_ = 0;
            ++row_;
        }
        return n;
    }

private:
    Image& image_;
    std::size_t width_;
    bool fromTop_;
    bool fromRight_;
    std::size_t row_ = 0;  // in the order stored
    std::size_t x_ = 0;
};

template <typename ColourAt>
void ReadRaw(std::span<const std::byte> bytes, std::size_t at, std::size_t pixelBytes, Placer& placer, std::size_t pixels, ColourAt colourAt) {
    const std::uint64_t needed = at + std::uint64_t{pixels} * pixelBytes;
    if (bytes.size() < needed) bmp::ThrowCutShort(bytes.size(), needed);
    const std::byte* in = bytes.data() + at;
    for (std::size_t left = pixels; left > 0;) {
        left -= placer.Put(left, [&] {
            const Rgba colour = colourAt(in);
            in += pixelBytes;
            return colour;
        });
    }
}

// A packet that runs past its row goes on in the next, as most readers take it; one that runs
// past the last pixel is refused (stb drops the rest, which hides a broken file).
template <typename ColourAt>
void ReadRuns(std::span<const std::byte> bytes, std::size_t at, std::size_t pixelBytes, Placer& placer, std::size_t pixels, ColourAt colourAt) {
    for (std::size_t left = pixels; left > 0;) {
        const std::size_t packetAt = at;
        if (bytes.size() < packetAt + 1) bmp::ThrowCutShort(bytes.size(), packetAt + 1);
        const auto first = std::to_integer<std::uint8_t>(bytes[at]);
        const std::size_t count = (first & kCountLessOne) + 1u;
        const bool repeat = (first & kRepeat) != 0;
        const std::size_t data = repeat ? pixelBytes : count * pixelBytes;
        if (bytes.size() - (packetAt + 1) < data) bmp::ThrowCutShort(bytes.size(), packetAt + 1 + data);
        if (count > left) {
            throw runtime::Failure(runtime::FailureKind::Malformed, "the run-length packet at byte " + std::to_string(packetAt) + " runs " +
                                                                        std::to_string(count - left) + " pixels past the picture's end");
        }
        const std::byte* in = bytes.data() + packetAt + 1;
        const Rgba repeated = repeat ? colourAt(in) : Rgba{};
        for (std::size_t placed = 0; placed < count;) {
            placed += placer.Put(count - placed, [&] {
                if (repeat) return repeated;
                const Rgba colour = colourAt(in);
                in += pixelBytes;
                return colour;
            });
        }
        left -= count;
        at = packetAt + 1 + data;
    }
}

Origin OriginOf(std::uint8_t descriptor) {
    const bool top = (descriptor & kTopDown) != 0;
    if (descriptor & kRightToLeft) return top ? Origin::TopRight : Origin::BottomRight;
    return top ? Origin::TopLeft : Origin::BottomLeft;
}

// One pass over the pixels for each layout, so that the choice is not made again for each pixel.
template <Layout kLayout>
void Decode(std::span<const std::byte> bytes, std::size_t at, const Header& header, const ColourMap& map, Placer& placer, std::size_t pixels) {
    const bool alpha = header.HasAlphaBits();
    const auto colourAt = [&](const std::byte* p) {
        if constexpr (kLayout == Layout::Index8) return map.At(std::to_integer<std::uint8_t>(p[0]));
        else if constexpr (kLayout == Layout::Index16) return map.At(bmp::Le(std::span<const std::byte>(p, 2), 0, 2));
        else return ColourOf(kLayout, p, alpha);
    };
    if (header.RunLength()) ReadRuns(bytes, at, BytesOf(kLayout), placer, pixels, colourAt);
    else ReadRaw(bytes, at, BytesOf(kLayout), placer, pixels, colourAt);
}

}  // namespace
}  // namespace tga

Picture DecodeTgaBytes(std::span<const std::byte> bytes) {
    using namespace tga;
    const Header header = ReadHeader(bytes);
    const Layout layout = PixelLayout(header);
    RequireSidesWithinLimit(header.width, header.height);
    const auto pixels = static_cast<std::size_t>(header.width * header.height);
    std::size_t at = kHeaderSize + header.idLength;
    if (bytes.size() < at) bmp::ThrowCutShort(bytes.size(), at + std::uint64_t{pixels} * BytesOf(layout));
    const ColourMap map = ReadColourMap(bytes, header, at, header.RunLength() ? 0 : std::uint64_t{pixels} * BytesOf(layout));

    Picture picture;
    picture.format = {PictureKind::Tga, header.type, header.bits, OriginOf(header.descriptor), false};
    const bool mapAlpha = header.mapEntryBits == 16 || header.mapEntryBits == 32;
    const bool pixelAlpha = layout == Layout::Argb16 || layout == Layout::Bgra32 || layout == Layout::GreyAlpha16;
    picture.format.alpha = header.HasAlphaBits() && (header.BaseType() == kColourMapped ? mapAlpha : pixelAlpha);
    picture.image = Filled(static_cast<int>(header.width), static_cast<int>(header.height), kBlack);
    Placer placer(picture.image, picture.format.origin);
    switch (layout) {
        case Layout::Index8: Decode<Layout::Index8>(bytes, at, header, map, placer, pixels); break;
        case Layout::Index16: Decode<Layout::Index16>(bytes, at, header, map, placer, pixels); break;
        case Layout::Grey8: Decode<Layout::Grey8>(bytes, at, header, map, placer, pixels); break;
        case Layout::GreyAlpha16: Decode<Layout::GreyAlpha16>(bytes, at, header, map, placer, pixels); break;
        case Layout::Rgb15: Decode<Layout::Rgb15>(bytes, at, header, map, placer, pixels); break;
        case Layout::Argb16: Decode<Layout::Argb16>(bytes, at, header, map, placer, pixels); break;
        case Layout::Bgr24: Decode<Layout::Bgr24>(bytes, at, header, map, placer, pixels); break;
        case Layout::Bgra32: Decode<Layout::Bgra32>(bytes, at, header, map, placer, pixels); break;
    }
    return picture;
}

std::string Describe(const Image& image, const PictureFormat& format) {
    static constexpr const char* kOrigins[] = {"from the bottom left", "from the top left", "from the bottom right", "from the top right"};
    std::string text = std::to_string(image.width) + " x " + std::to_string(image.height);
    text += format.kind == PictureKind::Tga ? " TGA, type " + std::to_string(format.type) + " (" + tga::TypeName(format.type) + ")" : " BMP";
    return text + ", " + std::to_string(format.bits) + " bits, " + kOrigins[static_cast<int>(format.origin)] +
           (format.alpha ? ", with alpha" : ", no alpha");
}

}  // namespace picture
