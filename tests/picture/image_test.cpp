#include "picture/image.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

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
    std::int64_t pixelsAtShift = 0;  // added to where the pixels begin in the header's field
    std::int64_t sizeChange = 0;     // bytes cut from the end (negative) or added

    Bytes Build() const {
        const std::size_t rows = static_cast<std::size_t>(height < 0 ? -height : height);
        const std::size_t columns = static_cast<std::size_t>(width < 0 ? 0 : width);
        const std::size_t stride = (columns * bits / 8 + 3) / 4 * 4;
        const std::size_t pixelsAt = 14 + infoSize;
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
        for (std::size_t y = 0; y < rows; ++y) {
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
        text += " " + std::to_string(p.r) + "," + std::to_string(p.g) + "," + std::to_string(p.b) + "," + std::to_string(p.a);
    }
    return text;
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
        {"the last pixel's last byte missing", {.sizeChange = -4}},
        {"one byte more than needed", {.sizeChange = 1}},
        {"no pixels at all", {.sizeChange = -12}},
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
        EXPECT_EQ(Describe(picture::DecodeBmpBytes(bytes)), Describe(picture::DecodeBmpInGeneral(bytes))) << row.what;
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
    const std::optional<Image> shortPalette = picture::DecodeBmpBytes(PaletteBmp(false, {{10, 20, 30}, {40, 50, 60}}, {0, 1, 2, 255}));
    ASSERT_TRUE(shortPalette);
    EXPECT_EQ(shortPalette->pixels, (std::vector<Rgba>{first, second, picture::kBlack, picture::kBlack}));

    // A header that says the pixels start before its own end leaves no room for a palette at all.
    const std::optional<Image> noRoom = picture::DecodeBmpBytes(PaletteBmp(false, {}, {7, 7, 7, 7}, -3));
    ASSERT_TRUE(noRoom);
    EXPECT_EQ(noRoom->pixels, std::vector<Rgba>(4, picture::kBlack));

    // Of a 12-byte header's whole palette the general decoder reads all but the last four entries.
    std::vector<std::array<std::uint8_t, 3>> whole(256, {0, 0, 0});
    whole[0] = {10, 20, 30};
    whole[255] = {40, 50, 60};
    const std::optional<Image> os2 = picture::DecodeBmpBytes(PaletteBmp(true, whole, {0, 255}));
    ASSERT_TRUE(os2);
    EXPECT_EQ(os2->pixels, (std::vector<Rgba>{first, second}));

    // A whole palette is read as it is.
    const std::optional<Image> full = picture::DecodeBmpBytes(PaletteBmp(false, whole, {255, 0}));
    ASSERT_TRUE(full);
    EXPECT_EQ(full->pixels, (std::vector<Rgba>{second, first}));
}

TEST(DecodeBmpBytes, PutsEveryPixelInItsPlace) {
    // The colour says where the pixel was stored: (x, file row, 7x + file row), opaque.
    const std::optional<Image> upward = picture::DecodeBmpBytes(Bmp{.width = 5, .height = 2}.Build());
    ASSERT_TRUE(upward);
    ASSERT_EQ(upward->width, 5);
    ASSERT_EQ(upward->height, 2);
    EXPECT_EQ(upward->At(0, 0), (Rgba{0, 1, 1, 255})) << "the file's last row is the picture's first";
    EXPECT_EQ(upward->At(4, 0), (Rgba{4, 1, 29, 255}));
    EXPECT_EQ(upward->At(4, 1), (Rgba{4, 0, 28, 255}));

    const std::optional<Image> downward = picture::DecodeBmpBytes(Bmp{.width = 5, .height = -2}.Build());
    ASSERT_TRUE(downward);
    EXPECT_EQ(downward->At(0, 0), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(downward->At(4, 1), (Rgba{4, 1, 29, 255}));

    EXPECT_FALSE(picture::DecodeBmpBytes(Bytes{}));
    EXPECT_FALSE(picture::DecodeBmpBytes(Bytes(53, std::byte{'B'})));
}

}  // namespace
