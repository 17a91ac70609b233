#include "tests/support/bmp.h"

#include <stb/stb_image_write.h>

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

}  // namespace testing_support
