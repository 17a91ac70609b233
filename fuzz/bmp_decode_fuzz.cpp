// The common kind of BMP, 24 bits a pixel and uncompressed, is decoded on its own; every other
// kind goes to the general decoder. Both must give the same pixels for any bytes at all, which
// also catches a decode that depends on what memory held (called from two places, it differs).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "picture/image.h"

namespace {

std::uint32_t Field(const std::uint8_t* data, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = value << 8 | data[at + i];
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
    // A header may claim millions of pixels that the general decoder then fills with zeros: such
    // a picture can only reach the general decoder, so it shows nothing and costs seconds.
    if (size >= 26) {
        const std::int64_t pixels = std::llabs(std::int64_t{static_cast<std::int32_t>(Field(data, 18, 4))} *
                                               static_cast<std::int32_t>(Field(data, 22, 4)));
        if (pixels > static_cast<std::int64_t>(size) * 8) return 0;
    }
    const std::optional<picture::Image> quick = picture::DecodeBmpBytes(bytes);
    const std::optional<picture::Image> general = picture::DecodeBmpInGeneral(bytes);
    if (quick.has_value() != general.has_value()) std::abort();
    if (quick && (quick->width != general->width || quick->height != general->height || quick->pixels != general->pixels)) std::abort();
    return 0;
}
