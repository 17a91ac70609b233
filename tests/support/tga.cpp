#include "tests/support/tga.h"

#include <memory>

// Every function static, so that it meets none of the picture layer's own copy of stb.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 8192
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace testing_support {
namespace {

void Put(std::vector<std::byte>& out, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) out.push_back(static_cast<std::byte>(value >> (8 * i)));
}

}  // namespace

std::vector<std::byte> Tga::Build() const {
    const std::size_t entryBytes = (mapEntryBits + 7u) / 8u;
    std::vector<std::byte> out;
    Put(out, static_cast<std::uint32_t>(id.size()), 1);
    Put(out, mapType, 1);
    Put(out, type, 1);
    Put(out, mapFirst, 2);
    Put(out, static_cast<std::uint32_t>(entryBytes ? map.size() / entryBytes : 0), 2);
    Put(out, mapEntryBits, 1);
    Put(out, 0, 4);  // the origin's place on a screen, which no reader uses
    Put(out, width, 2);
    Put(out, height, 2);
    Put(out, bits, 1);
    Put(out, descriptor, 1);
    for (const char c : id) out.push_back(static_cast<std::byte>(c));
    for (const std::uint8_t b : map) out.push_back(static_cast<std::byte>(b));
    for (const std::uint8_t b : pixels) out.push_back(static_cast<std::byte>(b));
    return out;
}

std::vector<std::byte> Tga32(const picture::Image& image, bool runLength) {
    Tga tga{.type = static_cast<std::uint8_t>(runLength ? 10 : 2), .width = static_cast<std::uint16_t>(image.width),
            .height = static_cast<std::uint16_t>(image.height), .bits = 32, .descriptor = 0x28};
    const auto bgra = [&](const picture::Rgba& p) { tga.pixels.insert(tga.pixels.end(), {p.b, p.g, p.r, p.a}); };
    for (int y = 0; y < image.height; ++y) {
        const picture::Rgba* row = &image.At(0, y);
        for (int x = 0; x < image.width;) {
            int n = 1;
            if (runLength) {
                while (x + n < image.width && n < 128 && row[x + n] == row[x]) ++n;
                tga.pixels.push_back(static_cast<std::uint8_t>(0x80 | (n - 1)));
            }
            bgra(row[x]);
            x += n;
        }
    }
    return tga.Build();
}

std::string PixelsText(const std::optional<picture::Image>& image) {
    if (!image) return "refused";
    std::string text = std::to_string(image->width) + "x" + std::to_string(image->height) + ":";
    for (const picture::Rgba& p : image->pixels) text += " " + std::to_string(p.r) + "," + std::to_string(p.g) + "," + std::to_string(p.b) + "," + std::to_string(p.a);
    return text;
}

std::optional<picture::Image> DecodeTgaWithStb(std::span<const std::byte> bytes) {
    int width = 0, height = 0, channels = 0;
    const std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> decoded(
        stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()), &width, &height, &channels, 4),
        &stbi_image_free);
    if (!decoded) return std::nullopt;
    picture::Image image = picture::Filled(width, height, picture::kBlack);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const stbi_uc* p = decoded.get() + 4 * i;
        image.pixels[i] = {p[0], p[1], p[2], p[3]};
    }
    return image;
}

}  // namespace testing_support
