#pragma once

#include <cstdint>
#include <vector>

#include "editor/pictures.h"
#include "picture/image.h"

// Pictures as the pixels of a top-down 32-bit device-independent bitmap: 0x00RRGGBB each.
namespace win32 {

std::uint32_t ToBgrx(picture::Rgba colour);
std::vector<std::uint32_t> ToBgrx(const picture::Image& image);

// The arrow of an edge button, each pixel a scale x scale block.
std::vector<std::uint32_t> ArrowBits(editor::Arrow arrow, int scale);

}  // namespace win32
