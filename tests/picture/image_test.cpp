#include "picture/image.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/failure.h"
#include "tests/support/bmp.h"

namespace {

using picture::Image;
using picture::Rgba;
using Bytes = std::vector<std::byte>;

void PutLe(Bytes& bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<std::byte>(value >> (8 * i));
}

// A BMP built field by field, so that each field can be made wrong on its own. Pixel (x, y)
// stored at row y of the file has the colour (x, y, 7 * x + y), so every misplaced byte shows.
struct Bmp {
    std::int32_t width = 3;
    std::int32_t height = 2;
    std::uint32_t infoSize = 40;
    std::uint16_t planes = 1;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::uint32_t paletteEntries = 0;
    std::int64_t pixelsAtShift = 0;  // added to where the pixels begin in the header's field
    std::int64_t sizeChange = 0;     // bytes cut from the end (negative) or added

    Bytes Build() const {
        const std::size_t rows = static_cast<std::size_t>(height < 0 ? -height : height);
        const std::size_t columns = static_cast<std::size_t>(width < 0 ? 0 : width);
        const std::size_t stride = (columns * bits + 31) / 32 * 4;
        const std::size_t pixelsAt = 14 + infoSize + 4 * paletteEntries;
        Bytes bytes(pixelsAt + stride * rows, std::byte{0xEE});  // padding shows too
        bytes[0] = std::byte{'B'};
        bytes[1] = std::byte{'M'};
        PutLe(bytes, 2, static_cast<std::uint32_t>(bytes.size()), 4);
        PutLe(bytes, 10, static_cast<std::uint32_t>(static_cast<std::int64_t>(pixelsAt) + pixelsAtShift), 4);
        PutLe(bytes, 14, infoSize, 4);
        PutLe(bytes, 18, static_cast<std::uint32_t>(width), 4);
        PutLe(bytes, 22, static_cast<std::uint32_t>(height), 4);
        PutLe(bytes, 26, planes, 2);
        PutLe(bytes, 28, bits, 2);
        PutLe(bytes, 30, compression, 4);
        for (std::size_t y = 0; y < rows && bits >= 24; ++y) {
            for (std::size_t x = 0; x < columns; ++x) {
                const std::size_t at = pixelsAt + y * stride + x * bits / 8;
                bytes[at] = static_cast<std::byte>(7 * x + y);  // blue first
                bytes[at + 1] = static_cast<std::byte>(y);
                bytes[at + 2] = static_cast<std::byte>(x);
                if (bits == 32) bytes[at + 3] = std::byte{0x80};
            }
        }
        bytes.resize(static_cast<std::size_t>(static_cast<std::int64_t>(bytes.size()) + sizeChange), std::byte{0});
        return bytes;
    }
};

std::string Describe(const std::optional<Image>& image) {
    if (!image) return "refused";
    std::string text = std::to_string(image->width) + "x" + std::to_string(image->height) + ":";
    for (const Rgba& p : image->pixels) {
        text += ' ';
        text += std::to_string(p.r) + "," + std::to_string(p.g) + "," + std::to_string(p.b) + "," + std::to_string(p.a);
    }
    return text;
}

std::optional<Image> Decoded(const Bytes& bytes) {
    try {
        return picture::DecodeBmpBytes(bytes);
    } catch (const runtime::Failure&) {
        return std::nullopt;
    }
}

// Every row decodes exactly as the general decoder decodes it, the uncommon kinds included.
TEST(DecodeBmpBytes, GivesTheGeneralDecodersPixels) {
    const struct { const char* what; Bmp bmp; } rows[] = {
        {"3 x 2 from the bottom", {}},
        {"3 x 2 from the top", {.height = -2}},
        {"one pixel", {.width = 1, .height = 1}},
        {"rows of 3 bytes and 1 of padding", {.width = 1, .height = 3}},
        {"rows of 6 bytes and 2 of padding", {.width = 2, .height = 3}},
        {"rows of 12 bytes, no padding", {.width = 4, .height = -3}},
        {"rows of 15 bytes and 1 of padding", {.width = 5, .height = 2}},
        {"a V3 header with masks", {.infoSize = 56}},
        {"a V4 header", {.infoSize = 108}},
        {"a V5 header", {.height = -2, .infoSize = 124}},
        {"an unknown header size", {.infoSize = 64}},
        {"one byte of gap before the pixels", {.pixelsAtShift = 1}},
        {"one byte of gap and one more at the end", {.pixelsAtShift = 1, .sizeChange = 1}},
        {"rows of 12 bytes and a row's worth more after them", {.width = 4, .height = 3, .sizeChange = 12}},
        {"pixels said to start inside the header", {.pixelsAtShift = -1}},
        {"the last row's padding missing", {.sizeChange = -3}},
        {"one byte more than needed", {.sizeChange = 1}},
        {"two planes", {.planes = 2}},
        {"32 bits a pixel", {.bits = 32}},
        {"run-length compressed", {.compression = 1}},
        {"bit fields", {.compression = 3}},
        {"no width", {.width = 0}},
        {"a negative width", {.width = -3}},
        {"no height", {.height = 0}},
    };
    for (const auto& row : rows) {
        const Bytes bytes = row.bmp.Build();
        EXPECT_EQ(Describe(Decoded(bytes)), Describe(picture::DecodeBmpInGeneral(bytes))) << row.what;
    }
}

// An 8-bit picture one row high with the given palette (blue, green, red) and pixels.
Bytes PaletteBmp(bool twelveByteHeader, const std::vector<std::array<std::uint8_t, 3>>& palette,
                 const std::vector<std::uint8_t>& pixels, std::int64_t pixelsAtShift = 0) {
    const std::size_t infoSize = twelveByteHeader ? 12 : 40;
    const std::size_t entrySize = twelveByteHeader ? 3 : 4;
    Bytes bytes(14 + infoSize + palette.size() * entrySize);
    bytes[0] = std::byte{'B'};
    bytes[1] = std::byte{'M'};
    PutLe(bytes, 10, static_cast<std::uint32_t>(static_cast<std::int64_t>(bytes.size()) + pixelsAtShift), 4);
    PutLe(bytes, 14, static_cast<std::uint32_t>(infoSize), 4);
    if (twelveByteHeader) {
        PutLe(bytes, 18, static_cast<std::uint32_t>(pixels.size()), 2);
        PutLe(bytes, 20, 1, 2);
        PutLe(bytes, 22, 1, 2);
        PutLe(bytes, 24, 8, 2);
    } else {
        PutLe(bytes, 18, static_cast<std::uint32_t>(pixels.size()), 4);
        PutLe(bytes, 22, 1, 4);
        PutLe(bytes, 26, 1, 2);
        PutLe(bytes, 28, 8, 2);
    }
    for (std::size_t i = 0; i < palette.size(); ++i) {
        for (std::size_t c = 0; c < 3; ++c) bytes[14 + infoSize + i * entrySize + c] = static_cast<std::byte>(palette[i][c]);
    }
    for (std::uint8_t pixel : pixels) bytes.push_back(static_cast<std::byte>(pixel));
    bytes.resize((bytes.size() + 3) / 4 * 4 + 4, std::byte{0});
    return bytes;
}

// Pixels that name entries past the palette are black, never what memory happened to hold.
TEST(DecodeBmpBytes, APaletteShortOfItsPixelsGivesBlack) {
    const Rgba first{30, 20, 10, 255}, second{60, 50, 40, 255};
    const std::optional<Image> shortPalette = Decoded(PaletteBmp(false, {{10, 20, 30}, {40, 50, 60}}, {0, 1, 2, 255}));
    ASSERT_TRUE(shortPalette);
    EXPECT_EQ(shortPalette->pixels, (std::vector<Rgba>{first, second, picture::kBlack, picture::kBlack}));

    // A header that says the pixels start before its own end leaves no room for a palette at all.
    const std::optional<Image> noRoom = Decoded(PaletteBmp(false, {}, {7, 7, 7, 7}, -3));
    ASSERT_TRUE(noRoom);
    EXPECT_EQ(noRoom->pixels, std::vector<Rgba>(4, picture::kBlack));

    // Of a 12-byte header's whole palette the general decoder reads all but the last four entries.
    std::vector<std::array<std::uint8_t, 3>> whole(256, {0, 0, 0});
    whole[0] = {10, 20, 30};
    whole[255] = {40, 50, 60};
    const std::optional<Image> os2 = Decoded(PaletteBmp(true, whole, {0, 255}));
    ASSERT_TRUE(os2);
    EXPECT_EQ(os2->pixels, (std::vector<Rgba>{first, second}));

    // A file that ends inside the bit count's second byte: 4 bits, no palette, rows that read as zeros.
    const Bytes cut{std::byte{'B'}, std::byte{'M'}, std::byte{0x5E}, std::byte{0xF4}, std::byte{0xBD}, std::byte{0}, std::byte{0xD8}, std::byte{0},
                    std::byte{0}, std::byte{0}, std::byte{0}, std::byte{0}, std::byte{0}, std::byte{0}, std::byte{40}, std::byte{0},
                    std::byte{0}, std::byte{0}, std::byte{1}, std::byte{0}, std::byte{0}, std::byte{0}, std::byte{0xF9}, std::byte{0xFF},
                    std::byte{0xFF}, std::byte{0xFF}, std::byte{1}, std::byte{0}, std::byte{4}};
    const std::optional<Image> cutInBits = Decoded(cut);
    ASSERT_TRUE(cutInBits);
    EXPECT_EQ(cutInBits->pixels, std::vector<Rgba>(7, picture::kBlack));

    // A whole palette is read as it is.
    const std::optional<Image> full = Decoded(PaletteBmp(false, whole, {255, 0}));
    ASSERT_TRUE(full);
    EXPECT_EQ(full->pixels, (std::vector<Rgba>{second, first}));
}

TEST(DecodeBmpBytes, PutsEveryPixelInItsPlace) {
    // The colour says where the pixel was stored: (x, file row, 7x + file row), opaque.
    const std::optional<Image> upward = Decoded(Bmp{.width = 5, .height = 2}.Build());
    ASSERT_TRUE(upward);
    ASSERT_EQ(upward->width, 5);
    ASSERT_EQ(upward->height, 2);
    EXPECT_EQ(upward->At(0, 0), (Rgba{0, 1, 1, 255})) << "the file's last row is the picture's first";
    EXPECT_EQ(upward->At(4, 0), (Rgba{4, 1, 29, 255}));
    EXPECT_EQ(upward->At(4, 1), (Rgba{4, 0, 28, 255}));

    const std::optional<Image> downward = Decoded(Bmp{.width = 5, .height = -2}.Build());
    ASSERT_TRUE(downward);
    EXPECT_EQ(downward->At(0, 0), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(downward->At(4, 1), (Rgba{4, 1, 29, 255}));

    EXPECT_FALSE(Decoded(Bytes{}));
    EXPECT_FALSE(Decoded(Bytes(53, std::byte{'B'})));
}

Bytes Cut(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

// Missing bytes would read as zeros, which is black: ink on a light texture. Every depth, from
// one byte short of the last pixel to the last pixel's end; a run-length stream until it has
// reached its last pixel or said the picture ends (those that have are held to Qt).
TEST(DecodeBmpBytes, RefusesAPictureThatEndsBeforeItsPixels) {
    using testing_support::RleBmp;
    const Bytes bgr24 = Bmp{}.Build();  // 3 x 2: rows of 9 bytes and 3 of padding from byte 54
    const Bytes v5 = testing_support::Bmp32V5(2, 2, std::vector<std::uint8_t>(16, 0x80));  // from byte 138
    const struct { const char* what; Bytes bytes; const char* refusal; } rows[] = {
        {"24 bits: the last pixel's last byte missing", Cut(bgr24, 74), "the picture ends at byte 74; its pixels need 75"},
        {"24 bits: the last row's padding missing", Cut(bgr24, 75), ""},
        {"24 bits: cut inside the header", Cut(bgr24, 30), "the picture ends at byte 30; its pixels need 75"},
        {"24 bits: pixels said to begin past the end", Bmp{.pixelsAtShift = 100}.Build(), "the picture ends at byte 78; its pixels need 175"},
        {"32 bits in bit fields", Cut(v5, 153), "the picture ends at byte 153; its pixels need 154"},
        {"32 bits in bit fields, whole", v5, ""},
        // From byte 54 + 4 x entries: rows of 2 bytes padded to 4.
        {"1 bit", Cut(Bmp{.width = 9, .bits = 1, .paletteEntries = 2}.Build(), 67), "the picture ends at byte 67; its pixels need 68"},
        {"1 bit, whole", Cut(Bmp{.width = 9, .bits = 1, .paletteEntries = 2}.Build(), 68), ""},
        {"4 bits", Cut(Bmp{.bits = 4, .paletteEntries = 16}.Build(), 123), "the picture ends at byte 123; its pixels need 124"},
        {"8 bits", Cut(Bmp{.width = 5, .bits = 8, .paletteEntries = 4}.Build(), 82), "the picture ends at byte 82; its pixels need 83"},
        {"16 bits", Cut(Bmp{.bits = 16}.Build(), 67), "the picture ends at byte 67; its pixels need 68"},
        // From byte 70 (a palette of 4), 4 x 2 unless said.
        {"RLE8: a run's index missing", RleBmp{.stream = {4}}.Build(), "the picture ends at byte 71; its pixels need 72"},
        {"RLE8: inside a delta", RleBmp{.stream = {0, 2, 1}}.Build(), "the picture ends at byte 73; its pixels need 74"},
        {"RLE8: an absolute run's padding missing before the last pixel", RleBmp{.width = 4, .height = 1, .stream = {0, 3, 1, 2, 3}}.Build(),
         "the picture ends at byte 75; its pixels need 76"},
        {"RLE8: the last row reached, one pixel short", RleBmp{.stream = {4, 1, 0, 0, 3, 2}}.Build(), "the picture ends at byte 76; its pixels need 78"},
        {"RLE8: pixels said to begin past the end", Cut(RleBmp{.stream = {}, .pixelsAtShift = 6}.Build(), 74), "the picture ends at byte 74; its pixels need 78"},
        {"RLE4: inside an absolute run", RleBmp{.width = 5, .height = 1, .bits = 4, .stream = {0, 5, 0x12}}.Build(),
         "the picture ends at byte 73; its pixels need 75"},
    };
    for (const auto& row : rows) {
        try {
            picture::DecodeBmpBytes(row.bytes);
            EXPECT_STREQ(row.refusal, "") << row.what << ": decoded";
        } catch (const runtime::Failure& failure) {
            EXPECT_EQ(failure.what(), std::string(row.refusal)) << row.what;
            EXPECT_EQ(failure.kind(), runtime::FailureKind::Malformed) << row.what;
        }
    }
}

// Palette indices from the top row down, rows split by '/'; '.' for an index past the palette.
std::vector<Rgba> Indices(const std::string& rows) {
    std::vector<Rgba> pixels;
    for (char c : rows) {
        if (c == '/') continue;
        pixels.push_back(c == '.' ? picture::kBlack : testing_support::PaletteColour(std::stoi(std::string(1, c), nullptr, 16)));
    }
    return pixels;
}

// Where Qt lets a run go on into the row below, or reads the rest of a cut absolute run as codes.
TEST(DecodeBmpBytes, CutsARunAtItsRowsEnd) {
    using testing_support::RleBmp;
    const struct { const char* what; RleBmp bmp; const char* pixels; } rows[] = {
        {"an absolute run past a later row's end", {.stream = {4, 1, 0, 0, 0, 5, 3, 2, 3, 2, 3, 0, 1, 1, 0, 1}}, "3232/1111"},
        {"four bits: an absolute run past the row's end",
         {.width = 3, .bits = 4, .stream = {0, 5, 0x12, 0x31, 0x20, 0, 0, 0, 3, 0x22, 0, 1}}, "222/123"},
    };
    for (const auto& row : rows) {
        const Image image = picture::DecodeBmpBytes(row.bmp.Build());
        EXPECT_EQ(image.pixels, Indices(row.pixels)) << row.what;
    }
}

}  // namespace

namespace {

// From the header, before a pixel is decoded: a few bytes claiming 16,384 x 16,384 would
// otherwise cost more than a gigabyte.
TEST(DecodeBmpBytes, RefusesASidePastTheLimitBeforeDecoding) {
    using testing_support::RleBmp;
    const struct { const char* what; Bytes bytes; const char* refusal; } rows[] = {
        {"RLE8, 16,384 x 16,384, ended at once", RleBmp{.width = 16384, .height = 16384, .stream = {0, 1}}.Build(),
         "the picture is 16384 x 16384: wider than 8,192 pixels"},
        {"RLE8, one row too many, from the top", RleBmp{.width = 1, .height = -8193, .stream = {0, 1}}.Build(),
         "the picture is 1 x 8193: taller than 8,192 pixels"},
        {"RLE8 at the limit", RleBmp{.width = 8192, .height = 1, .stream = {0, 1}}.Build(), ""},
        {"24 bits, one column too many", Bmp{.width = 8193, .height = 1}.Build(), "the picture is 8193 x 1: wider than 8,192 pixels"},
        {"24 bits, no columns", Bmp{.width = 0}.Build(), "the picture is 0 x 2: it has no pixels"},
    };
    for (const auto& row : rows) {
        try {
            const Image image = picture::DecodeBmpBytes(row.bytes);
            EXPECT_STREQ(row.refusal, "") << row.what << ": decoded";
        } catch (const runtime::Failure& failure) {
            EXPECT_EQ(failure.what(), std::string(row.refusal)) << row.what;
        }
    }
}

}  // namespace

namespace {

// Every texture size fills the window's 512 x 512 picture; clear parts show the checkerboard.
TEST(ShownTexture, StretchesAveragesAndLaysClearPixelsOverTheCheckerboard) {
    using picture::Picture;
    using picture::PictureKind;
    const auto tga = [](Image image) { return Picture{std::move(image), {.kind = PictureKind::Tga, .alpha = true}}; };
    const Rgba dark{0x30, 0x30, 0x30, 255}, light{0x48, 0x48, 0x48, 255};

    Image small = picture::Filled(256, 256, Rgba{0, 0, 0, 0});
    small.At(1, 0) = {200, 100, 50, 255};
    Image large = picture::Filled(1024, 1024, Rgba{0, 0, 0, 0});
    large.At(2, 0) = large.At(3, 0) = large.At(2, 1) = {255, 255, 255, 255};  // three of a block of four
    large.At(1022, 1023) = {100, 100, 100, 255};
    Image wide = picture::Filled(512, 256, Rgba{0, 0, 0, 255});
    wide.At(511, 255) = {9, 9, 9, 255};
    Image half = picture::Filled(512, 512, Rgba{255, 255, 255, 128});
    Image bmp = picture::Filled(512, 512, Rgba{1, 2, 3, 0});  // a BMP's alpha is never looked at

    const struct { const char* what; Picture texture; int x, y; Rgba shown; } rows[] = {
        {"256: a pixel is a 2 x 2 square", tga(small), 2, 0, {200, 100, 50, 255}},
        {"256: ... and only that square", tga(small), 3, 1, {200, 100, 50, 255}},
        {"256: its neighbour", tga(small), 4, 0, dark},
        {"256: clear, in the next square of the board", tga(small), 8, 0, light},
        {"1,024: a 2 x 2 block averaged with the board under its clear pixel", tga(large), 1, 0, {203, 203, 203, 255}},
        {"1,024: the last block", tga(large), 511, 511, {0x3D, 0x3D, 0x3D, 255}},
        {"512 x 256: stretched down to the last row", tga(wide), 511, 511, {9, 9, 9, 255}},
        {"512 x 256: ... which is two rows", tga(wide), 511, 510, {9, 9, 9, 255}},
        {"half clear", tga(half), 0, 0, {0x98, 0x98, 0x98, 255}},
        {"a BMP as it is", Picture{bmp, {}}, 0, 0, {1, 2, 3, 0}},
    };
    // The magnifier's picture at the texture's own size: the same board, its squares twice as large.
    const Image opaque = picture::OverCheckerboard(tga(large));
    EXPECT_EQ(opaque.At(15, 0), dark);
    EXPECT_EQ(opaque.At(16, 0), light);
    EXPECT_EQ(opaque.At(2, 1), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(picture::OverCheckerboard(tga(half)).At(0, 0), (Rgba{0x98, 0x98, 0x98, 255}));
    for (const auto& row : rows) {
        const Image shown = picture::ShownTexture(row.texture);
        ASSERT_EQ(shown.width, 512) << row.what;
        ASSERT_EQ(shown.height, 512) << row.what;
        EXPECT_EQ(shown.At(row.x, row.y), row.shown) << row.what;
    }
}

}  // namespace
