#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Which character goes to which glyph: from a text, from a map file, or from a code page.
// Glyph numbers count from 1 as the window shows them; the assignments hold 0-based indexes.
// Every refusal is a malformed-input failure that names what was wrong (and where).
namespace glyphs {

struct CharAssignment {
    std::int32_t index = 0;
    char32_t character = 0;
    bool operator==(const CharAssignment&) const = default;
};

// The characters of the UTF-8 text to glyphs first, first + 1, ...
std::vector<CharAssignment> MapText(std::string_view utf8, std::int32_t first, std::int32_t glyphCount);

// One GLYPH=CHAR a line, CHAR a character or U+XXXX; '#' starts a comment, blank lines and a
// byte-order mark are skipped. Every faulty line is named in the one failure.
std::vector<CharAssignment> MapLines(std::string_view text, std::int32_t glyphCount);

// Glyph first gets the code page's character for the byte fromByte, the next glyph the next
// byte's, to byte 255 or the table's last glyph. A byte the code page leaves undefined leaves
// its glyph alone.
inline constexpr int kCodePages[] = {1250, 1251, 1252};
std::vector<CharAssignment> MapCodePage(int codePage, std::int32_t first, int fromByte, std::int32_t glyphCount);

// 'А' (U+0410), for messages and the plan's table; control characters only by their number.
std::string CharacterName(char32_t character);
std::string Utf8(char32_t character);

}  // namespace glyphs
