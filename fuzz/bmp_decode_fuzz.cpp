// The common kind of BMP, 24 bits a pixel and uncompressed, is decoded on its own; every other
// kind but run-length encoding (held to Qt's decoder by rle_decode_fuzz) goes to the general
// decoder. Both must give the same pixels for any bytes at all, which also catches a decode that
// depends on what memory held (called from two places, it differs), except that a picture whose
// bytes end before its pixels is refused where the general decoder reads zeros.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>

#include "picture/bmp_header.h"
#include "picture/image.h"
#include "runtime/failure.h"

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
    if (const std::optional<picture::bmp::Header> header = picture::bmp::ReadHeader(bytes); header && header->IsRle()) return 0;
    std::optional<picture::Image> quick;
    try {
        quick = picture::DecodeBmpBytes(bytes);
    } catch (const runtime::Failure& failure) {
        if (failure.kind() == runtime::FailureKind::Malformed) return 0;
    }
    const std::optional<picture::Image> general = picture::DecodeBmpInGeneral(bytes);
    if (quick.has_value() != general.has_value()) std::abort();
    if (quick && (quick->width != general->width || quick->height != general->height || quick->pixels != general->pixels)) std::abort();
    return 0;
}
