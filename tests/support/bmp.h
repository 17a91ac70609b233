#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/image.h"

namespace testing_support {

// A 24-bit BMP of the given pixels (RGB, rows from the top), written by stb's encoder.
std::vector<std::byte> Bmp24(int width, int height, const std::vector<std::uint8_t>& rgb);

// White, with black ink in the given rectangles (first and last column, first and last row).
struct InkBlock {
    int firstColumn, lastColumn, firstRow, lastRow;
};
std::vector<std::byte> InkOnWhite(int size, const std::vector<InkBlock>& blocks);

// A 32-bit BMP with a BITMAPV5 header and colour masks, as image editors write them, built
// byte by byte: RGBA pixels, rows from the top. A negative height stores the rows top-down.
std::vector<std::byte> Bmp32V5(int width, int height, const std::vector<std::uint8_t>& rgba);

// A palette BMP run-length encoded (RLE8; RLE4 with 4 bits) with the given stream, built byte by
// byte: a 40-byte header unless told, then the palette (PaletteColour(0), PaletteColour(1), ...
// unless given) as long as the header says, then the stream.
struct RleBmp {
    std::int32_t width = 4;
    std::int32_t height = 2;
    std::uint16_t bits = 8;
    std::vector<std::uint8_t> stream{};
    std::uint32_t coloursUsed = 4;   // 0: as many as the bits can name
    std::uint32_t infoSize = 40;
    std::int32_t pixelsAtShift = 0;  // added to where the pixels begin in the header's field; a gap when above 0
    std::vector<picture::Rgba> palette{};

    std::vector<std::byte> Build() const;
};
picture::Rgba PaletteColour(int index);

// InkOnWhite's picture as RLE8, as an image editor saves a texture: runs as long as the format
// allows, an end of line after each row, an end of bitmap after the last.
std::vector<std::byte> Rle8InkOnWhite(int size, const std::vector<InkBlock>& blocks);

}  // namespace testing_support
