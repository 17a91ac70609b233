// Fonts come from anywhere: any bytes load as a face or are refused, and a glyph that loads is
// drawn with the box that was measured for it, which is what the plan lays out by.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "glyphs/typeface.h"
#include "runtime/failure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The first byte picks the size and the way of drawing; the rest is the font.
    const glyphs::RasterStyle style{1 + data[0] % 48, static_cast<glyphs::Hinting>(data[0] / 48 % 3), data[0] >= 144};
    const auto* first = reinterpret_cast<const std::byte*>(data + 1);
    try {
        const glyphs::Typeface face = glyphs::Typeface::FromBytes({first, first + size - 1}, 0, "fuzz");
        for (const char32_t c : {U'A', U'y'}) {
            const std::uint32_t glyph = face.GlyphFor(c);
            const glyphs::GlyphBox box = face.Measure(glyph, style);
            const glyphs::GlyphImage image = face.Draw(glyph, style);
            if (image.box.left != box.left || image.box.top != box.top || image.box.width != box.width || image.box.rows != box.rows ||
                image.coverage.size() != static_cast<std::size_t>(box.width) * static_cast<std::size_t>(box.rows)) {
                std::abort();
            }
        }
    } catch (const runtime::Failure&) {
        // refused, as a garbled or cut-short font must be
    }
    return 0;
}
