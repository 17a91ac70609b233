// The uncommon kinds of BMP go to the general decoder; the common one is decoded on its own.
// Both must give the same pixels for any bytes at all.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "picture/image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
    const std::optional<picture::Image> quick = picture::DecodeBmpBytes(bytes);
    const std::optional<picture::Image> general = picture::DecodeBmpInGeneral(bytes);
    if (quick.has_value() != general.has_value()) std::abort();
    if (quick && (quick->width != general->width || quick->height != general->height || quick->pixels != general->pixels)) std::abort();
    return 0;
}
