// Run-length encoded BMPs decode here to Qt's pixels (QImage's reader), except where Qt reads what
// the file never said: a run past its row's end, a stream that runs out (refused here as cut
// short unless it has reached its last pixel).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "picture/bmp_header.h"
#include "runtime/failure.h"
#include "tests/support/qt_bmp.h"

namespace {

constexpr std::size_t kChosen = 4;  // bytes of the input that choose the header

void Put(std::vector<std::byte>& bytes, std::size_t at, std::uint32_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) bytes[at + i] = static_cast<std::byte>(value >> (8 * i));
}

// A header every input reaches the stream through: sides of 1 to 32, rows either way, 4 or 8
// bits, a palette of up to 255 entries (0: as many as the bits name), and pixels said to begin
// up to 8 bytes before or 7 after it; then the rest of the input, palette and stream.
std::vector<std::byte> Bmp(const std::uint8_t* data, std::size_t size) {
    const std::uint32_t width = data[0] % 32 + 1;
    const std::int32_t height = static_cast<std::int32_t>(data[1] % 32 + 1) * (data[1] & 0x80 ? -1 : 1);
    const std::uint32_t bits = data[2] & 1 ? 4 : 8;
    const std::int32_t shift = (data[2] >> 1) % 16 - 8;
    const std::uint32_t coloursUsed = data[3];
    const std::uint32_t entries = coloursUsed != 0 ? coloursUsed : 1u << bits;
    std::vector<std::byte> bytes(picture::bmp::kInfoEnd);
    Put(bytes, picture::bmp::kSignatureAt, picture::bmp::kSignature, 2);
    Put(bytes, picture::bmp::kPixelsAtAt, static_cast<std::uint32_t>(static_cast<std::int32_t>(picture::bmp::kInfoEnd + 4 * entries) + shift), 4);
    Put(bytes, picture::bmp::kInfoAt, 40, 4);
    Put(bytes, picture::bmp::kWidthAt, width, 4);
    Put(bytes, picture::bmp::kHeightAt, static_cast<std::uint32_t>(height), 4);
    Put(bytes, picture::bmp::kPlanesAt, 1, 2);
    Put(bytes, picture::bmp::kBitsAt, bits, 2);
    Put(bytes, picture::bmp::kCompressionAt, bits == 4 ? picture::bmp::kRle4 : picture::bmp::kRle8, 4);
    Put(bytes, picture::bmp::kColoursUsedAt, coloursUsed, 4);
    const auto* rest = reinterpret_cast<const std::byte*>(data + kChosen);
    bytes.insert(bytes.end(), rest, rest + (size - kChosen));
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kChosen) return 0;
    const std::vector<std::byte> bytes = Bmp(data, size);
    const std::optional<picture::bmp::Header> header = picture::bmp::ReadHeader(bytes);
    if (!header || !header->IsRle()) std::abort();
    picture::bmp::RleDecoding ours;
    try {
        ours = picture::bmp::DecodeRle(bytes, *header);
    } catch (const runtime::Failure& failure) {
        if (failure.kind() != runtime::FailureKind::Malformed) std::abort();  // every such header can be decoded
        return 0;
    }
    if (ours.ownRules) return 0;
    const std::optional<picture::Image> qt = testing_support::DecodeWithQt(bytes);
    if (!qt || qt->width != ours.image.width || qt->height != ours.image.height || qt->pixels != ours.image.pixels) std::abort();
    return 0;
}
