// TGAs decode here to stb_image's pixels and, for the true-colour pictures Qt reads, to Qt's,
// for any pixel bytes under a header chosen from the input. Left out where we differ on purpose:
// the right-to-left bit (neither reads it), alpha the descriptor does not count (both keep it),
// indices past the colour map, bytes that end too soon and packets past the last pixel (refused
// here).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "picture/image.h"
#include "runtime/failure.h"
#include "tests/support/qt_tga.h"
#include "tests/support/tga.h"

namespace {

constexpr std::size_t kChosen = 4;  // bytes of the input that choose the header

// A header every input reaches the pixels through: each type with each depth it takes, sides of
// 1 to 32, rows either way, an ID field of up to 3 bytes, a whole 256-entry map for indices.
testing_support::Tga Chosen(const std::uint8_t* data, std::size_t size) {
    static constexpr std::uint8_t kTypes[] = {1, 2, 3, 9, 10, 11};
    static constexpr std::uint8_t kTrueColourBits[] = {15, 16, 24, 32};
    testing_support::Tga tga;
    tga.type = kTypes[data[0] % 6];
    tga.width = static_cast<std::uint16_t>(data[1] % 32 + 1);
    tga.height = static_cast<std::uint16_t>(data[2] % 32 + 1);
    const int base = tga.type & 7;
    const bool second = data[3] & 1;
    if (base == 1) tga.bits = 8;
    if (base == 2) tga.bits = kTrueColourBits[data[3] % 4];
    if (base == 3) tga.bits = second ? 16 : 8;
    const bool alpha = tga.bits == 32 || (base == 3 && tga.bits == 16) || (base == 1 && second);
    tga.descriptor = static_cast<std::uint8_t>((data[0] & 0x20) | (alpha ? 8 : 0));
    tga.id.assign(static_cast<std::size_t>(data[3] >> 2 & 3), 'x');
    if (base == 1) {
        tga.mapType = 1;
        tga.mapEntryBits = second ? 32 : 24;
        for (int i = 0; i < 256; ++i) {
            tga.map.insert(tga.map.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(37 * i), static_cast<std::uint8_t>(255 - i)});
            if (second) tga.map.push_back(static_cast<std::uint8_t>(11 * i));
        }
    }
    tga.pixels.assign(data + kChosen, data + size);
    return tga;
}

bool Same(const picture::Image& a, const std::optional<picture::Image>& b) {
    return b && a.width == b->width && a.height == b->height && a.pixels == b->pixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kChosen) return 0;
    testing_support::Tga tga = Chosen(data, size);
    const std::vector<std::byte> bytes = tga.Build();
    picture::Picture ours;
    try {
        ours = picture::DecodeTgaBytes(bytes);
    } catch (const runtime::Failure& failure) {
        if (failure.kind() != runtime::FailureKind::Malformed) std::abort();  // every such header can be read
        return 0;
    }
    if (!Same(ours.image, testing_support::DecodeTgaWithStb(bytes))) std::abort();
    if (tga.type == 2 && tga.bits >= 24 && tga.id.empty() && !Same(ours.image, testing_support::DecodeTgaWithQt(bytes))) std::abort();
    return 0;
}
