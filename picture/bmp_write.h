#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "picture/image.h"

// Writing a changed texture back as the BMP it was read from.
namespace picture {

// Fails as a write failure for a BMP whose pixels cannot be written back as they are stored:
// anything but uncompressed 24-bit and 8-bit palette pictures with the usual info headers.
void RequireRewritableBmp(std::span<const std::byte> bytes);

// The BMP's bytes with every pixel that differs from `before` to `after` stored in the file's
// own format: 24-bit as it is, 8-bit as the nearest palette colour (the first of equals). Every
// other byte, headers, palette, padding and unchanged pixels, stays as it was.
std::vector<std::byte> RewriteBmpPixels(std::span<const std::byte> bytes, const Image& before, const Image& after);

}  // namespace picture
