#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "font/font_file.h"

// The dump: a font's header values and glyph table as text, one glyph a line, exact to the bit.
namespace gmftool {

struct FontDump {
    char layout = 'A';
    std::int32_t glyphCount = 0;
    float fontSize = 0;
    float cellHeight = 0;
    float spaceWidth = 0;
    std::vector<font::GlyphRecord> glyphs;
};

// 'A' for the table at 44, 'B' for 552.
char LayoutName(const font::FontState& font);

FontDump DumpOf(const font::FontTable& table);
std::string WriteDump(const FontDump& dump);
// Fails as Malformed with "line N: " and what is wrong there.
FontDump ParseDump(std::string_view text);

}  // namespace gmftool
