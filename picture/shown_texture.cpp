#include <cstdint>

#include "font/texture.h"
#include "picture/image.h"

namespace picture {

namespace {

// Squares of this many shown pixels, as image editors draw what is transparent.
constexpr int kCheckerSide = 8;
constexpr std::uint32_t kCheckerDark = 0x30;
constexpr std::uint32_t kCheckerLight = 0x48;

// The texture pixels under shown pixel `shown` of kTextureSize: the block it covers when the
// texture is larger, else the one pixel it falls in.
std::pair<int, int> Span(int shown, int size) {
    const int first = static_cast<int>(static_cast<std::int64_t>(shown) * size / font::kTextureSize);
    const int end = static_cast<int>(static_cast<std::int64_t>(shown + 1) * size / font::kTextureSize);
    return {first, end > first ? end : first + 1};
}

}  // namespace

Image ShownTexture(const Picture& texture) {
    // A BMP is shown as it always was; the window's rules take it only at kTextureSize.
    if (texture.format.kind == PictureKind::Bmp) return texture.image;
    const Image& image = texture.image;
    Image shown = Filled(font::kTextureSize, font::kTextureSize, kBlack);
    for (int y = 0; y < font::kTextureSize; ++y) {
        const auto [top, bottom] = Span(y, image.height);
        for (int x = 0; x < font::kTextureSize; ++x) {
            const auto [left, right] = Span(x, image.width);
            const std::uint32_t checker = (x / kCheckerSide + y / kCheckerSide) % 2 ? kCheckerLight : kCheckerDark;
            // Each pixel over the checkerboard first, then averaged: a clear pixel's colour counts for nothing.
            std::uint32_t r = 0;
            std::uint32_t g = 0;
            std::uint32_t b = 0;
            for (int row = top; row < bottom; ++row) {
                for (int column = left; column < right; ++column) {
                    const Rgba pixel = image.At(column, row);
                    const std::uint32_t under = (255u - pixel.a) * checker;
                    r += pixel.r * pixel.a + under;
                    g += pixel.g * pixel.a + under;
                    b += pixel.b * pixel.a + under;
                }
            }
            const std::uint32_t whole = 255u * static_cast<std::uint32_t>((bottom - top) * (right - left));
            const auto average = [&](std::uint32_t sum) { return static_cast<std::uint8_t>((sum + whole / 2) / whole); };
            shown.At(x, y) = {average(r), average(g), average(b), 255};
        }
    }
    return shown;
}

}  // namespace picture
