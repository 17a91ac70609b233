#include "picture/image.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <utility>

#include "font/texture.h"
#include "picture/bmp_header.h"
#include "runtime/binary_file.h"
#include "runtime/failure.h"

// The decoder and the encoder are compiled here, only for the formats the tools use.
#define STBI_ONLY_BMP
#define STBI_MAX_DIMENSIONS 8192  // kLargestSide: the general decoder refuses what ours refuse
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace picture {

static_assert(STBI_MAX_DIMENSIONS == kLargestSide);

void RequireSidesWithinLimit(std::int64_t width, std::int64_t height) {
    const char* why = nullptr;
    if (width < 1 || height < 1) why = "it has no pixels";
    else if (width > kLargestSide) why = "wider than 8,192 pixels";
    else if (height > kLargestSide) why = "taller than 8,192 pixels";
    if (!why) return;
    throw runtime::Failure(runtime::FailureKind::ReadFailed,
                           "the picture is " + std::to_string(width) + " x " + std::to_string(height) + ": " + why);
}

namespace bmp {

std::optional<Header> ReadHeader(std::span<const std::byte> bytes) {
    // Fields past the file's end read as zeros, as the general decoder reads them; a file cut
    // inside its header is then refused as cut short.
    const auto field = [&](std::size_t at, std::size_t size) {
        std::uint32_t value = 0;
        for (std::size_t i = size; i-- > 0;) value = value << 8 | (at + i < bytes.size() ? std::to_integer<std::uint32_t>(bytes[at + i]) : 0);
        return value;
    };
    if (bytes.size() < kInfoAt + 4 || field(kSignatureAt, 2) != kSignature || !IsKnownInfoSize(field(kInfoAt, 4))) return std::nullopt;
    Header header;
    header.pixelsAt = field(kPixelsAtAt, 4);
    header.infoSize = field(kInfoAt, 4);
    if (header.infoSize == kCoreInfoSize) {
        header.width = field(kCoreWidthAt, 2);
        header.height = field(kCoreHeightAt, 2);
        header.planes = field(kCorePlanesAt, 2);
        header.bits = field(kCoreBitsAt, 2);
        return header;
    }
    header.width = static_cast<std::int32_t>(field(kWidthAt, 4));
    header.height = static_cast<std::int32_t>(field(kHeightAt, 4));
    header.planes = field(kPlanesAt, 2);
    header.bits = field(kBitsAt, 2);
    header.compression = field(kCompressionAt, 4);
    header.coloursUsed = field(kColoursUsedAt, 4);
    return header;
}

void ThrowCutShort(std::uint64_t end, std::uint64_t needed) {
    throw runtime::Failure(runtime::FailureKind::Malformed,
                           "the picture ends at byte " + std::to_string(end) + "; its pixels need " + std::to_string(needed));
}

}  // namespace bmp

namespace {

constexpr int kChannels = 4;

runtime::Failure Unusable(const std::filesystem::path& path, const std::string& reason) {
    return runtime::Failure(runtime::FailureKind::ReadFailed, runtime::DisplayPath(path) + ": " + reason);
}

using bmp::Le;

// A picture stored as rows of pixels, uncompressed or in bit fields, that the general decoder
// reads as it is: nothing for anything else.
bool IsRowsOfPixels(const bmp::Header& header) {
    const std::uint32_t bits = header.bits;
    const bool knownBits = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    const bool rows = header.compression == bmp::kUncompressed || (header.compression == bmp::kBitFields && (bits == 16 || bits == 32));
    return header.planes == 1 && knownBits && rows && header.SidesWithinLimits();
}

// The general decoder reads missing bytes as zeros: black, which on a light texture is ink. The
// last row's padding carries no pixel, so a file that ends without it loses nothing.
void RequireWholeRows(std::span<const std::byte> bytes, const bmp::Header& header) {
    const auto rowBytes = (static_cast<std::uint64_t>(header.width) * header.bits + 7) / 8;
    const std::uint64_t stride = (rowBytes + 3) / 4 * 4;
    const std::uint64_t needed = header.pixelsAt + stride * static_cast<std::uint64_t>(header.Rows() - 1) + rowBytes;
    if (bytes.size() < needed) bmp::ThrowCutShort(bytes.size(), needed);
}

// A row's stored blue, green and red bytes, read as pixels. Read as a word of four bytes (its own
// three and the next pixel's first) a pixel takes a few operations; a row's last pixel is read by
// its own bytes, since the one after it may lie past the file's end.
template <bool kWord>
class StoredBgr {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Rgba;
    using difference_type = std::ptrdiff_t;
    using pointer = const Rgba*;
    using reference = Rgba;

    StoredBgr() = default;
    explicit StoredBgr(const std::byte* at) : at_(at) {}
    Rgba operator*() const {
        if constexpr (std::endian::native == std::endian::little) {
            std::uint32_t word = 0;
            if constexpr (kWord) {
                std::memcpy(&word, at_, sizeof word);
            } else {
                for (int i = 2; i >= 0; --i) word = word << 8 | std::to_integer<std::uint32_t>(at_[i]);
            }
            // Blue, green, red turned around into red, green, blue, then made opaque: a pixel's
            // bytes lie in a word's order here, so it is stored at once.
            word = word >> 24 | (word >> 8 & 0xFF00u) | (word << 8 & 0xFF0000u) | word << 24;
            return std::bit_cast<Rgba>(word >> 8 | 0xFF000000u);
        }
        const auto byte = [&](int i) { return std::to_integer<std::uint8_t>(at_[i]); };
        return {byte(2), byte(1), byte(0), 255};
    }
    StoredBgr& operator++() {
        at_ += 3;
        return *this;
    }
    StoredBgr operator++(int) {
        StoredBgr before = *this;
        at_ += 3;
        return before;
    }
    bool operator==(const StoredBgr&) const = default;

private:
    const std::byte* at_ = nullptr;
};

// An uncompressed 24-bit BMP, as image editors save a texture, decoded without the general
// decoder's work per pixel (most of the open command's time); nothing for any other kind.
std::optional<Image> DecodePlain24(std::span<const std::byte> bytes, const bmp::Header& header) {
    if (header.infoSize == bmp::kCoreInfoSize || header.planes != 1 || header.bits != 24 ||
        header.compression != bmp::kUncompressed || !header.SidesWithinLimits()) {
        return std::nullopt;
    }
    const auto columns = static_cast<std::size_t>(header.width);
    const auto rows = static_cast<std::size_t>(header.Rows());
    const std::size_t stride = (columns * 3 + 3) / 4 * 4;
    const std::size_t pixelsAt = header.pixelsAt;
    // The pixels follow the header at once, and are all there; the general decoder refuses a gap
    // and reads missing bytes as zeros.
    if (pixelsAt != bmp::kInfoAt + header.infoSize || pixelsAt > bytes.size() || stride > (bytes.size() - pixelsAt) / rows) return std::nullopt;

    Image image{static_cast<int>(columns), static_cast<int>(rows), {}};
    // Each pixel is made from its stored bytes in place: no fill first that is then written over.
    image.pixels.reserve(columns * rows);
    for (std::size_t row = 0; row < rows; ++row) {
        // Rows are stored from the bottom unless the height is negative.
        const std::size_t stored = header.height < 0 ? row : rows - 1 - row;
        const std::byte* in = bytes.data() + pixelsAt + stored * stride;
        const std::byte* const last = in + (columns - 1) * 3;
        image.pixels.insert(image.pixels.end(), StoredBgr<true>(in), StoredBgr<true>(last));
        image.pixels.push_back(*StoredBgr<false>(last));
    }
    return image;
}

// stb gives a palette picture's pixels that name entries past its palette (or a palette the
// header leaves no room for) whatever its stack held. A copy with the palette filled up to 256
// entries with black makes every such pixel black; a pixel whose entry the file holds keeps it.
std::optional<std::vector<std::byte>> WithWholePalette(std::span<const std::byte> bytes) {
    constexpr std::size_t kInfoAt = 14;
    constexpr std::size_t kEntries = 256;
    if (bytes.size() < kInfoAt + 12 || Le(bytes, 0, 2) != 0x4D42) return std::nullopt;
    const std::uint32_t infoSize = Le(bytes, 14, 4);
    const bool os2 = infoSize == 12;  // a header of 12 bytes, entries of three
    if (!bmp::IsKnownInfoSize(infoSize)) return std::nullopt;
    // Header bytes past the file's end read as zeros, here as in stb: a file cut inside its bit
    // count still has a palette of stack bytes there.
    const std::size_t bitsAt = os2 ? 24 : 28;
    std::uint32_t bits = 0;
    for (std::size_t i = 2; i-- > 0;) bits = bits << 8 | (bitsAt + i < bytes.size() ? std::to_integer<std::uint32_t>(bytes[bitsAt + i]) : 0);
    if (bits != 1 && bits != 4 && bits != 8) return std::nullopt;
    const std::size_t entrySize = os2 ? 3 : 4;
    // stb reads the palette from just after the header, but reckons its size from 24 bytes after
    // it for the 12-byte header, four entries short.
    const std::size_t paletteAt = kInfoAt + infoSize;
    const std::size_t reckonedFrom = os2 ? kInfoAt + 24 : paletteAt;
    const std::uint32_t pixelsAt = Le(bytes, 10, 4);
    const auto entriesFrom = [&](std::size_t from) { return pixelsAt > from ? (pixelsAt - from) / entrySize : 0; };
    if (entriesFrom(reckonedFrom) >= kEntries) return std::nullopt;

    const std::size_t newPixelsAt = reckonedFrom + kEntries * entrySize;
    const std::size_t headerEnd = std::min(paletteAt, bytes.size());
    std::vector<std::byte> whole(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(headerEnd));
    whole.resize(newPixelsAt, std::byte{0});
    const std::size_t kept = std::min(std::min(entriesFrom(paletteAt), kEntries) * entrySize, bytes.size() - headerEnd);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(headerEnd), kept, whole.begin() + static_cast<std::ptrdiff_t>(paletteAt));
    if (pixelsAt < bytes.size()) whole.insert(whole.end(), bytes.begin() + pixelsAt, bytes.end());
    for (std::size_t i = 0; i < 4; ++i) whole[10 + i] = static_cast<std::byte>(newPixelsAt >> (8 * i));
    return whole;
}

}  // namespace

std::optional<Image> DecodeBmpInGeneral(std::span<const std::byte> given) {
    const std::optional<std::vector<std::byte>> padded = WithWholePalette(given);
    const std::span<const std::byte> bytes = padded ? std::span<const std::byte>(*padded) : given;
    int width = 0;
    int height = 0;
    int channels = 0;
    const std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> decoded(
        stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()), &width,
                              &height, &channels, kChannels),
        &stbi_image_free);
    // A side of 0 gives a buffer of nothing, which would be a picture of no pixels.
    if (!decoded || width < 1 || height < 1) return std::nullopt;
    // The decoder's buffer holds the pixels as they are laid out here: one copy, no fill first.
    static_assert(sizeof(Rgba) == kChannels, "a pixel is the decoder's four bytes");
    const auto* first = reinterpret_cast<const Rgba*>(decoded.get());
    return Image{width, height, std::vector<Rgba>(first, first + static_cast<std::size_t>(width) * static_cast<std::size_t>(height))};
}

Image DecodeBmpBytes(std::span<const std::byte> bytes) {
    if (const std::optional<bmp::Header> header = bmp::ReadHeader(bytes)) {
        RequireSidesWithinLimit(header->width, header->Rows());
        if (header->IsRle()) return bmp::DecodeRle(bytes, *header).image;
        if (IsRowsOfPixels(*header)) RequireWholeRows(bytes, *header);
        if (std::optional<Image> image = DecodePlain24(bytes, *header)) return std::move(*image);
    }
    if (std::optional<Image> image = DecodeBmpInGeneral(bytes)) return std::move(*image);
    throw runtime::Failure(runtime::FailureKind::ReadFailed, std::string("not a BMP that can be decoded (") + stbi_failure_reason() + ")");
}

Image Filled(int width, int height, Rgba colour) {
    return {width, height, std::vector<Rgba>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), colour)};
}

namespace {

// Decodes the file's bytes, naming the file in any failure.
template <typename Decoder>
auto DecodeFileBytes(const std::filesystem::path& path, std::span<const std::byte> bytes, Decoder decoder) {
    try {
        return decoder(std::span<const std::byte>(bytes));
    } catch (const runtime::Failure& failure) {
        throw runtime::Failure(failure.kind(), runtime::DisplayPath(path) + ": " + failure.what());
    }
}

template <typename Decoder>
auto DecodeFile(const std::filesystem::path& path, Decoder decoder) {
    return DecodeFileBytes(path, runtime::BinaryFile::OpenForReading(path).ReadAll(), decoder);
}


Picture BmpPicture(std::span<const std::byte> bytes) {
    Picture picture{DecodeBmpBytes(bytes), {}};
    // Alpha stays unnamed in a BMP: the ink rule of a BMP does not change with it.
    if (const std::optional<bmp::Header> header = bmp::ReadHeader(bytes)) {
        picture.format.bits = static_cast<int>(header->bits);
        picture.format.origin = header->height < 0 ? Origin::TopLeft : Origin::BottomLeft;
    }
    return picture;
}

}  // namespace

Image DecodeBmp(const std::filesystem::path& path) { return DecodeFile(path, DecodeBmpBytes); }

bool NamedTga(const std::filesystem::path& path) {
    std::u8string extension = path.extension().u8string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](char8_t c) { return c >= 'A' && c <= 'Z' ? static_cast<char8_t>(c + 32) : c; });
    return extension == u8".tga";
}

namespace {

Picture DecodePictureBytes(const std::filesystem::path& path, std::span<const std::byte> bytes) {
    return DecodeFileBytes(path, bytes, [&](std::span<const std::byte> bytes) {
        const bool bmp = bytes.size() >= 2 && bmp::Le(bytes, bmp::kSignatureAt, 2) == bmp::kSignature;
        return !bmp && NamedTga(path) ? DecodeTgaBytes(bytes) : BmpPicture(bytes);
    });
}

}  // namespace

Picture DecodePicture(const std::filesystem::path& path) {
    return DecodePictureBytes(path, runtime::BinaryFile::OpenForReading(path).ReadAll());
}

Picture LoadTexture(const std::filesystem::path& path) {
    // One open for the header and the pixels both.
    runtime::BinaryFile file = runtime::BinaryFile::OpenForReading(path);
    // A TGA is taken at any size; a BMP keeps the window's rule, read from its header first.
    if (!NamedTga(path)) {
        const font::PictureSize size = font::ReadBmpSize(file);
        if (!size.IsTextureSize()) {
            throw Unusable(path, "the picture is " + std::to_string(size.width) + " x " + std::to_string(size.height) +
                                     ", not " + std::to_string(font::kTextureSize) + " x " + std::to_string(font::kTextureSize));
        }
    }
    Picture picture = DecodePictureBytes(path, file.ReadAll());
    if (picture.format.kind == PictureKind::Bmp && (picture.image.width != font::kTextureSize || picture.image.height != font::kTextureSize)) {
        throw Unusable(path, "the picture decodes to " + std::to_string(picture.image.width) + " x " + std::to_string(picture.image.height));
    }
    return picture;
}

std::vector<std::byte> EncodePng(const Image& image) {
    std::vector<std::byte> png;
    const auto append = [](void* context, void* data, int size) {
        auto* out = static_cast<std::vector<std::byte>*>(context);
        const auto* bytes = static_cast<const std::byte*>(data);
        out->insert(out->end(), bytes, bytes + size);
    };
    if (!stbi_write_png_to_func(append, &png, image.width, image.height, kChannels, image.pixels.data(),
                                image.width * kChannels)) {
        throw runtime::Failure(runtime::FailureKind::WriteFailed, "the PNG encoder failed");
    }
    return png;
}

Image ScaleUp(const Image& image, int factor) {
    Image scaled = Filled(image.width * factor, image.height * factor, kBlack);
    for (int y = 0; y < scaled.height; ++y) {
        for (int x = 0; x < scaled.width; ++x) scaled.At(x, y) = image.At(x / factor, y / factor);
    }
    return scaled;
}

void DrawOutline(Image& image, const font::OutlinePlan& plan, Rgba colour) {
    // The texture pixels from the one under a preview pixel's start to the last that begins before its end.
    const auto span = [](std::int64_t preview, std::int64_t size) {
        const std::int64_t first = preview * size / font::kTextureSize;
        return std::pair(first, std::max(first, ((preview + 1) * size + font::kTextureSize - 1) / font::kTextureSize - 1));
    };
    font::ForEachOutlinePixel(plan, [&](std::int32_t x, std::int32_t y) {
        if (x >= font::kTextureSize || y >= font::kTextureSize) return;
        const auto [left, right] = span(x, image.width);
        const auto [top, bottom] = span(y, image.height);
        for (std::int64_t row = top; row <= bottom && row < image.height; ++row) {
            for (std::int64_t column = left; column <= right && column < image.width; ++column) {
                image.At(static_cast<int>(column), static_cast<int>(row)) = colour;
            }
        }
    });
}

}  // namespace picture
