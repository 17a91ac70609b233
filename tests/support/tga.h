#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "picture/image.h"

namespace testing_support {

// A TGA built byte by byte: the header's fields, the ID field, the colour map's bytes (its
// length counted from them), then the pixel bytes as stored, raw or in packets.
struct Tga {
    std::uint8_t type = 2;
    std::uint16_t width = 3;
    std::uint16_t height = 2;
    std::uint8_t bits = 24;
    std::uint8_t descriptor = 0;
    std::vector<std::uint8_t> pixels{};
    std::string id{};
    std::uint8_t mapType = 0;
    std::uint16_t mapFirst = 0;
    std::uint8_t mapEntryBits = 0;
    std::vector<std::uint8_t> map{};

    std::vector<std::byte> Build() const;
};

// Pixels (rows from the top) as a 32-bit TGA with 8 alpha bits, rows from the top, in
// run-length packets (type 10) as image editors save a texture, or raw (type 2).
std::vector<std::byte> Tga32(const picture::Image& image, bool runLength);

// "WxH: r,g,b,a ...", or "refused": a whole picture in one message.
std::string PixelsText(const std::optional<picture::Image>& image);

// stb_image's TGA decoder, compiled for the tests alone: the picture layer has only its BMP one.
std::optional<picture::Image> DecodeTgaWithStb(std::span<const std::byte> bytes);

}  // namespace testing_support
