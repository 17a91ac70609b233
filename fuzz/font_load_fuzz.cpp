// Any bytes as a font file, through the whole load and view path: the probe, the count, the
// header, and every record through the unit conversions and the outline.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "font/font_file.h"
#include "font/geometry.h"
#include "runtime/failure.h"

namespace {

const std::string& FontPath() {
    static const std::string path = "/tmp/runeplot-fuzz-" + std::to_string(getpid()) + ".gmf";
    return path;
}

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

// What the view does with one record; a failure is an answer, a crash or a wrong value is not.
void ViewRecord(font::FontState& font, std::int16_t index, char separator) {
    runtime::BinaryFile file = runtime::BinaryFile::Open(FontPath());
    font::ReadGlyphRecord(file, font, index);
    const font::GlyphRecord glyph = font.CurrentGlyph;
    for (float edge : {glyph.Left, glyph.Top, glyph.Right}) {
        const std::string text = font::ToEditText(edge, separator);
        try {
            const float back = font::FromEditText(text, separator);
            Check(std::isfinite(edge));
            Check(back == edge || std::fabs(back - edge) <= std::fabs(edge) * 1e-6f + 1e-44f);
        } catch (const runtime::Failure&) {
            // NaN, infinities and the far end of the range do not come back
        }
    }
    const font::OutlinePlan outline = font::PlanOutline(font::ToPreviewPixel(glyph.Left), font::ToPreviewPixel(glyph.Top),
                                                        font::ToPreviewPixel(glyph.Right), font.CellHeight, 512);
    // At most a picture's width or height each: an empty range may run backwards by any amount.
    Check(std::int64_t{outline.edgeLastColumn} - outline.edgeFirstColumn < 512);
    Check(std::int64_t{outline.sideLastRow} - outline.sideFirstRow < 512);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (std::FILE* out = std::fopen(FontPath().c_str(), "wb")) {
        std::fwrite(data, 1, size, out);
        std::fclose(out);
    }
    font::FontState font;
    try {
        font::LoadFont(FontPath(), font,
                       {
                           .SetSelectorRange = [] {},
                           .ShowHeader = [&] {
                               font::FontSizeToText(font.FontSize, ',');
                               font::ToEditText(font.SpaceWidth, '.');
                           },
                           .RefreshView = [] {},
                       });
    } catch (const runtime::Failure&) {
        return 0;
    }
    Check(font.GlyphCount >= 0 && font.GlyphCount <= font::kMaxGlyphCount);
    Check(font.TableBase == font::kLayoutATableBase || font.TableBase == font::kLayoutBTableBase);
    for (std::int16_t index = 0; index < font.GlyphCount; ++index) {
        try {
            ViewRecord(font, index, index % 2 ? ',' : '.');
        } catch (const runtime::Failure&) {
            // a record that cannot be shown is reported to the user; the next one is tried
        }
    }
    return 0;
}
