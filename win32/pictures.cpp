#include "win32/pictures.h"

namespace win32 {

std::uint32_t ToBgrx(picture::Rgba colour) {
    return static_cast<std::uint32_t>(colour.r) << 16 | static_cast<std::uint32_t>(colour.g) << 8 | colour.b;
}

std::vector<std::uint32_t> ToBgrx(const picture::Image& image) {
    std::vector<std::uint32_t> bits;
    bits.reserve(image.pixels.size());
    for (const picture::Rgba& pixel : image.pixels) bits.push_back(ToBgrx(pixel));
    return bits;
}

std::vector<std::uint32_t> ArrowBits(editor::Arrow arrow, int scale) {
    return ToBgrx(picture::ScaleUp(editor::ArrowPicture(arrow), scale));
}

}  // namespace win32
