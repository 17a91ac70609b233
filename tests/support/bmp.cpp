#include "tests/support/bmp.h"

#include <stb/stb_image_write.h>

#include <cstdlib>

namespace testing_support {

std::vector<std::byte> Bmp24(int width, int height, const std::vector<std::uint8_t>& rgb) {
    std::vector<std::byte> bmp;
    stbi_write_bmp_to_func(
        [](void* context, void* data, int size) {
            auto* out = static_cast<std::vector<std::byte>*>(context);
            out->insert(out->end(), static_cast<std::byte*>(data), static_cast<std::byte*>(data) + size);
        },
        &bmp, width, height, 3, rgb.data());
    return bmp;
}

std::vector<std::byte> InkOnWhite(int size, const std::vector<InkBlock>& blocks) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(size) * static_cast<std::size_t>(size) * 3, 255);
    for (const InkBlock& block : blocks) {
        for (int y = block.firstRow; y <= block.lastRow; ++y) {
            for (int x = block.firstColumn; x <= block.lastColumn; ++x) {
                for (int c = 0; c < 3; ++c) rgb[static_cast<std::size_t>((y * size + x) * 3 + c)] = 0;
            }
        }
    }
    return Bmp24(size, size, rgb);
}

std::vector<std::byte> Bmp32V5(int width, int height, const std::vector<std::uint8_t>& rgba) {
    constexpr std::uint32_t kFileHeaderSize = 14;
    constexpr std::uint32_t kV5HeaderSize = 124;
    const int rows = std::abs(height);
    const auto pixelBytes = static_cast<std::uint32_t>(width * rows * 4);
    std::vector<std::byte> bmp;
    const auto u8 = [&](std::uint32_t v) { bmp.push_back(static_cast<std::byte>(v & 0xff)); };
    const auto u16 = [&](std::uint32_t v) { u8(v); u8(v >> 8); };
    const auto u32 = [&](std::uint32_t v) { u16(v & 0xffff); u16(v >> 16); };
    u8('B'); u8('M'); u32(kFileHeaderSize + kV5HeaderSize + pixelBytes); u32(0); u32(kFileHeaderSize + kV5HeaderSize);
    u32(kV5HeaderSize); u32(static_cast<std::uint32_t>(width)); u32(static_cast<std::uint32_t>(height));
    u16(1); u16(32); u32(3 /* bit fields */); u32(pixelBytes); u32(2835); u32(2835); u32(0); u32(0);
    u32(0x00ff0000); u32(0x0000ff00); u32(0x000000ff); u32(0xff000000);  // red, green, blue, alpha masks
    u32(0x73524742);                                                      // 'sRGB'
    for (int i = 0; i < 9 + 3; ++i) u32(0);                               // end points, gamma
    u32(4); u32(0); u32(0); u32(0);                                       // intent, profile, reserved
    for (int r = 0; r < rows; ++r) {
        const int y = height > 0 ? rows - 1 - r : r;
        for (int x = 0; x < width; ++x) {
            const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
            u8(rgba[at + 2]); u8(rgba[at + 1]); u8(rgba[at]); u8(rgba[at + 3]);
        }
    }
    return bmp;
}

picture::Rgba PaletteColour(int index) {
    return {static_cast<std::uint8_t>(40 * index + 7), static_cast<std::uint8_t>(255 - index), static_cast<std::uint8_t>(index), 255};
}

std::vector<std::byte> RleBmp::Build() const {
    const std::uint32_t entries = coloursUsed != 0 ? coloursUsed : 1u << bits;
    const std::uint32_t paletteEnd = 14 + infoSize + 4 * entries;
    std::vector<std::byte> bmp;
    const auto u8 = [&](std::uint32_t v) { bmp.push_back(static_cast<std::byte>(v & 0xff)); };
    const auto u16 = [&](std::uint32_t v) { u8(v); u8(v >> 8); };
    const auto u32 = [&](std::uint32_t v) { u16(v & 0xffff); u16(v >> 16); };
    const std::uint32_t gap = pixelsAtShift > 0 ? static_cast<std::uint32_t>(pixelsAtShift) : 0;
    u8('B'); u8('M'); u32(paletteEnd + gap + static_cast<std::uint32_t>(stream.size())); u32(0);
    u32(paletteEnd + static_cast<std::uint32_t>(pixelsAtShift));
    u32(infoSize); u32(static_cast<std::uint32_t>(width)); u32(static_cast<std::uint32_t>(height));
    u16(1); u16(bits); u32(bits == 4 ? 2 : 1); u32(static_cast<std::uint32_t>(stream.size())); u32(2835); u32(2835);
    u32(coloursUsed); u32(0);
    bmp.resize(14 + infoSize, std::byte{0});
    for (std::uint32_t i = 0; i < entries; ++i) {
        const picture::Rgba colour = i < palette.size() ? palette[i] : PaletteColour(static_cast<int>(i));
        u8(colour.b); u8(colour.g); u8(colour.r); u8(0);
    }
    bmp.resize(bmp.size() + gap, std::byte{0xEE});
    for (std::uint8_t b : stream) u8(b);
    return bmp;
}

std::vector<std::byte> Rle8InkOnWhite(int size, const std::vector<InkBlock>& blocks) {
    const auto inked = [&](int x, int y) {
        for (const InkBlock& b : blocks) {
            if (x >= b.firstColumn && x <= b.lastColumn && y >= b.firstRow && y <= b.lastRow) return true;
        }
        return false;
    };
    RleBmp bmp{.width = size, .height = size, .coloursUsed = 2, .palette = {{255, 255, 255, 255}, picture::kBlack}};
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size;) {
            const bool ink = inked(x, y);
            int run = 0;
            while (x + run < size && run < 255 && inked(x + run, y) == ink) ++run;
            bmp.stream.insert(bmp.stream.end(), {static_cast<std::uint8_t>(run), static_cast<std::uint8_t>(ink ? 1 : 0)});
            x += run;
        }
        bmp.stream.insert(bmp.stream.end(), {0, 0});
    }
    bmp.stream.insert(bmp.stream.end(), {0, 1});
    return bmp.Build();
}

}  // namespace testing_support
