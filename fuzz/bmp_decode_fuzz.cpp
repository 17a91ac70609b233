// The uncommon kinds of BMP go to the general decoder; the common one is decoded on its own.
// Both must give the same pixels for any bytes at all.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "picture/image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A header may claim millions of pixels that the general decoder then fills with zeros: such
    // a picture can only reach the general decoder, so it shows nothing and costs seconds.
    if (size >= 26) {
        const auto field = [&](std::size_t at) {
            return static_cast<std::int32_t>(data[at] | data[at + 1] << 8 | data[at + 2] << 16 | static_cast<std::uint32_t>(data[at + 3]) << 24);
        };
        const std::int64_t pixels = std::llabs(std::int64_t{field(18)} * field(22));
        if (pixels > static_cast<std::int64_t>(size) * 8) return 0;
    }
    const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
    const std::optional<picture::Image> quick = picture::DecodeBmpBytes(bytes);
    const std::optional<picture::Image> general = picture::DecodeBmpInGeneral(bytes);
    if (quick.has_value() != general.has_value()) std::abort();
    if (quick && (quick->width != general->width || quick->height != general->height || quick->pixels != general->pixels)) std::abort();
    return 0;
}
