#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "font/texture.h"
#include "picture/image.h"

namespace picture {

namespace {

// Squares of this many pixels of the 512 x 512 picture, as image editors draw what is clear.
constexpr int kCheckerSide = 8;
constexpr std::uint32_t kCheckerDark = 0x30;
constexpr std::uint32_t kCheckerLight = 0x48;

// The texture pixels under pixel `shown` of kTextureSize: the block it covers when the texture is
// larger, else the one pixel it falls in.
std::pair<int, int> Span(int shown, int size) {
    const int first = static_cast<int>(static_cast<std::int64_t>(shown) * size / font::kTextureSize);
    const int end = static_cast<int>(static_cast<std::int64_t>(shown + 1) * size / font::kTextureSize);
    return {first, end > first ? end : first + 1};
}

}  // namespace

Image OverCheckerboard(const Picture& texture) { return OverCheckerboard(texture, 0, 0, texture.image.width, texture.image.height); }

Image OverCheckerboard(const Picture& texture, int left, int top, int right, int bottom) {
    const Image& image = texture.image;
    Image opaque = Filled(right - left, bottom - top, kBlack);
    // A BMP is shown as it always was.
    if (texture.format.kind == PictureKind::Bmp) {
        for (int y = top; y < bottom; ++y) std::copy(&image.At(left, y), &image.At(left, y) + (right - left), &opaque.At(0, y - top));
        return opaque;
    }
    // The square each column and row lies in, at the picture's scale whatever the texture's size.
    std::vector<std::uint8_t> squareOfColumn(static_cast<std::size_t>(right - left));
    for (int x = left; x < right; ++x) {
        squareOfColumn[static_cast<std::size_t>(x - left)] = static_cast<std::uint8_t>(static_cast<std::int64_t>(x) * font::kTextureSize / image.width / kCheckerSide % 2);
    }
    for (int y = top; y < bottom; ++y) {
        const int squareOfRow = static_cast<int>(static_cast<std::int64_t>(y) * font::kTextureSize / image.height / kCheckerSide % 2);
        const Rgba* in = &image.At(left, y);
        Rgba* out = &opaque.At(0, y - top);
        for (int x = 0; x < right - left; ++x) {
            const Rgba pixel = in[x];
            const std::uint32_t checker = (squareOfColumn[static_cast<std::size_t>(x)] + squareOfRow) % 2 ? kCheckerLight : kCheckerDark;
            // Most of a texture is wholly clear or wholly opaque: those cost no arithmetic.
            if (pixel.a == 255) {
                out[x] = pixel;
            } else if (pixel.a == 0) {
                out[x] = {static_cast<std::uint8_t>(checker), static_cast<std::uint8_t>(checker), static_cast<std::uint8_t>(checker), 255};
            } else {
                const std::uint32_t under = (255u - pixel.a) * checker;
                const auto over = [&](std::uint8_t channel) { return static_cast<std::uint8_t>((channel * pixel.a + under + 127) / 255); };
                out[x] = {over(pixel.r), over(pixel.g), over(pixel.b), 255};
            }
        }
    }
    return opaque;
}

Image ShownTexture(const Picture& texture) {
    if (texture.format.kind == PictureKind::Bmp) return texture.image;
    const Image& image = texture.image;
    Image shown = Filled(font::kTextureSize, font::kTextureSize, kBlack);
    // Each shown pixel's share of the sums below, by its column and its row: a multiplication for
    // each shown pixel rather than three divisions.
    std::vector<std::pair<int, int>> columns(font::kTextureSize);
    std::vector<double> columnShares(font::kTextureSize);
    for (int x = 0; x < font::kTextureSize; ++x) {
        const auto [left, right] = columns[static_cast<std::size_t>(x)] = Span(x, image.width);
        columnShares[static_cast<std::size_t>(x)] = 1.0 / (255.0 * (right - left));
    }
    for (int y = 0; y < font::kTextureSize; ++y) {
        const auto [top, bottom] = Span(y, image.height);
        const double rowShare = 1.0 / (bottom - top);
        Rgba* out = &shown.At(0, y);
        for (int x = 0; x < font::kTextureSize; ++x) {
            const auto [left, right] = columns[static_cast<std::size_t>(x)];
            const std::uint32_t checker = (x / kCheckerSide + y / kCheckerSide) % 2 ? kCheckerLight : kCheckerDark;
            // Each pixel over the checkerboard, then averaged: a clear pixel's colour counts for nothing.
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
