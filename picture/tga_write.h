#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "picture/image.h"

// Writing a changed texture back as the TGA it was read from.
namespace picture {

// Fails as a write failure for a TGA whose pixels cannot be written back as they are stored:
// anything but 24- and 32-bit true colour, raw (type 2) or run-length (type 10).
void RequireRewritableTga(std::span<const std::byte> bytes);

// The TGA's bytes with every pixel that differs from `before` to `after` stored in the file's
// own layout, origin and depth. A raw picture keeps every other byte as it was; a run-length one
// is packed again from its stored pixels, the changed ones replaced, so the others keep every
// bit (an alpha byte the header does not count included), and what follows the pixels moves
// with the offsets that point at it.
std::vector<std::byte> RewriteTgaPixels(std::span<const std::byte> bytes, const Image& before, const Image& after);

}  // namespace picture
