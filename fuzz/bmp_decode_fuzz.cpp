// The common kind of BMP, 24 bits a pixel and uncompressed, is decoded on its own; every other
// kind goes to the general decoder. For any bytes that say 24 bits and no compression, both must
// give the same pixels; any other bytes must decode without a fault.
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
    if (size < 34) return 0;
    // Other kinds take the general decoder's path in both calls, and it gives a palette picture
    // whose pixels name colours past its palette whatever its stack held: nothing to compare.
    if (Field(data, 28, 2) != 24 || Field(data, 30, 4) != 0) return 0;
    const std::optional<picture::Image> general = picture::DecodeBmpInGeneral(bytes);
    if (quick.has_value() != general.has_value()) std::abort();
    if (quick && (quick->width != general->width || quick->height != general->height || quick->pixels != general->pixels)) std::abort();
    return 0;
}
