#include <cstdint>
#include <utility>
#include <vector>

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
    // A multiplication for each shown pixel rather than three divisions: they were most of the time.
    std::vector<std::pair<int, int>> columns(font::kTextureSize);
    std::vector<double> columnShares(font::kTextureSize);
    for (int x = 0; x < font::kTextureSize; ++x) {
        columns[static_cast<std::size_t>(x)] = Span(x, image.width);
        columnShares[static_cast<std::size_t>(x)] = 1.0 / (255.0 * (columns[static_cast<std::size_t>(x)].second - columns[static_cast<std::size_t>(x)].first));
    }
    for (int y = 0; y < font::kTextureSize; ++y) {
        const auto [top, bottom] = Span(y, image.height);
        const double rowShare = 1.0 / (bottom - top);
        Rgba* out = &shown.At(0, y);
        for (int x = 0; x < font::kTextureSize; ++x) {
            const auto [left, right] = columns[static_cast<std::size_t>(x)];
            const std::uint32_t checker = (x / kCheckerSide + y / kCheckerSide) % 2 ? kCheckerLight : kCheckerDark;
            // Each pixel over the checkerboard first, then averaged: a clear pixel's colour counts for nothing.
            std::uint32_t r = 0;
            std::uint32_t g = 0;
            std::uint32_t b = 0;
            for (int row = top; row < bottom; ++row) {
                const Rgba* in = &image.At(0, row);
                for (int column = left; column < right; ++column) {
                    const Rgba pixel = in[column];
                    const std::uint32_t under = (255u - pixel.a) * checker;
                    r += pixel.r * pixel.a + under;
                    g += pixel.g * pixel.a + under;
                    b += pixel.b * pixel.a + under;
                }
            }
            const double share = rowShare * columnShares[static_cast<std::size_t>(x)];
            const auto average = [&](std::uint32_t sum) { return static_cast<std::uint8_t>(sum * share + 0.5); };
            out[x] = {average(r), average(g), average(b), 255};
        }
    }
    return shown;
}

}  // namespace picture
