#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

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

}  // namespace testing_support
