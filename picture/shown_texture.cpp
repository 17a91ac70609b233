#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
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

// The game's own texture, twice the picture's size each way: every shown pixel averages a 2 x 2
// block, all with one share. The arithmetic is the general case's, so that every pixel comes out
// the same; but a wholly clear block (most of a texture) shows the board as it is, and a block
// like the one before it (the rest, mostly) shows what that one did.
Image ShownHalved(const Image& image) {
    const double share = 1.0 / 2 * (1.0 / (255.0 * 2));
    const auto average = [share](std::uint32_t sum) { return static_cast<std::uint8_t>(sum * share + 0.5); };
    const auto board = [&](std::uint32_t checker) {
        const std::uint8_t grey = average(4 * 255 * checker);
        return Rgba{grey, grey, grey, 255};
    };
    const Rgba clearOver[2] = {board(kCheckerDark), board(kCheckerLight)};
    // Two pixels side by side as one word, and the bits of their alphas in it.
    using Pair = std::array<Rgba, 2>;
    constexpr auto kAlphas = std::bit_cast<std::uint64_t>(Pair{Rgba{0, 0, 0, 255}, Rgba{0, 0, 0, 255}});
    Image shown = Filled(font::kTextureSize, font::kTextureSize, kBlack);
    for (int y = 0; y < font::kTextureSize; ++y) {
        const Rgba* upper = &image.At(0, 2 * y);
        const Rgba* lower = upper + image.width;
        Rgba* out = &shown.At(0, y);
        std::uint64_t lastTop = 0;
        std::uint64_t lastBottom = 0;
        int lastSquare = -1;
        Rgba last;
        for (int x = 0; x < font::kTextureSize; ++x, upper += 2, lower += 2) {
            const int square = (x / kCheckerSide + y / kCheckerSide) % 2;
            std::uint64_t top = 0;
            std::uint64_t bottom = 0;
            std::memcpy(&top, upper, sizeof top);
            std::memcpy(&bottom, lower, sizeof bottom);
            if (((top | bottom) & kAlphas) == 0) {
                out[x] = clearOver[square];
                continue;
            }
            if (top == lastTop && bottom == lastBottom && square == lastSquare) {
                out[x] = last;
                continue;
            }
            const std::uint32_t checker = square ? kCheckerLight : kCheckerDark;
            std::uint32_t r = 0;
            std::uint32_t g = 0;
            std::uint32_t b = 0;
            for (const Rgba pixel : {upper[0], upper[1], lower[0], lower[1]}) {
                const std::uint32_t under = (255u - pixel.a) * checker;
                r += pixel.r * pixel.a + under;
                g += pixel.g * pixel.a + under;
                b += pixel.b * pixel.a + under;
            }
            last = out[x] = {average(r), average(g), average(b), 255};
            lastTop = top;
            lastBottom = bottom;
            lastSquare = square;
        }
    }
    return shown;
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
    if (image.width == 2 * font::kTextureSize && image.height == 2 * font::kTextureSize) return ShownHalved(image);
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
