#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "font/geometry.h"

// Decoded pixels in a plain array, and the few things the tools do with them.
namespace picture {

struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;
    bool operator==(const Rgba&) const = default;
};

inline constexpr Rgba kBlack{0, 0, 0, 255};

// Row by row from the top, each row left to right.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;

    Rgba& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
    const Rgba& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
};

Image Filled(int width, int height, Rgba colour);

// Fails, naming the file, as a read failure for anything the decoders cannot read, and as a
// malformed file for a picture whose bytes end before its pixels do ("the picture ends at byte N;
// its pixels need M"): a file still being written, or cut off.
Image DecodeBmp(const std::filesystem::path& path);
// The same for a BMP's bytes, the reasons without a file name.
Image DecodeBmpBytes(std::span<const std::byte> bytes);
// The general decoder alone, which DecodeBmpBytes leaves the uncommon kinds of BMP to; it reads
// bytes past the end as zeros, and reads no run-length encoding.
std::optional<Image> DecodeBmpInGeneral(std::span<const std::byte> bytes);
// The font's texture: the BMP size fields must say 512 x 512, as the window asks, before it is decoded.
Image LoadTexture(const std::filesystem::path& path);

std::vector<std::byte> EncodePng(const Image& image);

// Each pixel becomes a factor x factor block.
Image ScaleUp(const Image& image, int factor);

// The outline's pixels exactly as the window lights them on its picture.
void DrawOutline(Image& image, const font::OutlinePlan& plan, Rgba colour);

}  // namespace picture
