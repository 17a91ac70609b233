#include <gtest/gtest.h>

#include "glyphs/char_map.h"
#include "runtime/failure.h"

namespace {

using glyphs::CharAssignment;

struct MapCase {
    const char* name;
    std::function<std::vector<CharAssignment>()> map;
    std::vector<CharAssignment> expected;
    const char* error;  // a part of the refusal, or nullptr
};

constexpr std::int32_t kGlyphs = 10;

class MapForms : public testing::TestWithParam<MapCase> {};

TEST_P(MapForms, AssignOrRefuseNamingTheFault) {
    const MapCase& c = GetParam();
    if (!c.error) {
        EXPECT_EQ(c.map(), c.expected);
        return;
    }
    try {
        c.map();
        ADD_FAILURE() << "accepted";
    } catch (const runtime::Failure& failure) {
        EXPECT_NE(std::string(failure.what()).find(c.error), std::string::npos) << failure.what();
    }
}

std::vector<CharAssignment> Lines(const char* text) { return glyphs::MapLines(text, kGlyphs); }

INSTANTIATE_TEST_SUITE_P(Cases, MapForms, testing::Values(
    MapCase{"TextFromAtShortestOfEachLength", [] { return glyphs::MapText("A\u0080\u0800\U00010000", 7, kGlyphs); },
            {{6, U'A'}, {7, U'\u0080'}, {8, U'\u0800'}, {9, U'\U00010000'}}, nullptr},
    MapCase{"TextPastLastGlyph", [] { return glyphs::MapText("AB", 10, kGlyphs); }, {}, "run to glyph 11, past the table's last glyph 10"},
    MapCase{"TextAtZero", [] { return glyphs::MapText("A", 0, kGlyphs); }, {}, "glyph 0 is not in the table"},
    MapCase{"TextOverlong", [] { return glyphs::MapText("A\xC0\x81", 1, kGlyphs); }, {}, "not UTF-8 at byte 2"},
    MapCase{"TextSurrogate", [] { return glyphs::MapText("\xED\xA0\x80", 1, kGlyphs); }, {}, "not UTF-8 at byte 1"},
    MapCase{"TextCut", [] { return glyphs::MapText("A\xD0", 1, kGlyphs); }, {}, "not UTF-8 at byte 2"},
    MapCase{"LinesEveryForm", [] { return Lines("\xEF\xBB\xBF# comment\r\n10=U+0410\n\n 2 = Ж  # a comment\r\n3=#\n1=u+1F600\n4==\n"); },
            {{0, U'😀'}, {1, U'Ж'}, {2, U'#'}, {3, U'='}, {9, U'А'}}, nullptr},
    MapCase{"LinesNoEquals", [] { return Lines("1=A\n\n2 B\n"); }, {}, "line 3: not GLYPH=CHAR"},
    MapCase{"LinesNoNumber", [] { return Lines("x=A\n"); }, {}, "line 1: 'x' is not a glyph number"},
    MapCase{"LinesTwoCharacters", [] { return Lines("1=AB\n"); }, {}, "line 1: 'AB' is not one character"},
    MapCase{"LinesTextAfter", [] { return Lines("1=A B\n"); }, {}, "line 1: more than one character"},
    MapCase{"LinesShortHex", [] { return Lines("1=U+041\n"); }, {}, "line 1: 'U+041' is not one character"},
    MapCase{"LinesPastUnicode", [] { return Lines("1=U+110000\n"); }, {}, "line 1: 'U+110000'"},
    MapCase{"LinesLastGlyph", [] { return Lines("10=A\n11=B\n"); }, {}, "line 2: glyph 11 is not in the table"},
    MapCase{"LinesTwice", [] { return Lines("3=A\n# x\n3=B\n"); }, {}, "line 3: glyph 3 is named twice (first on line 1)"},
    MapCase{"LinesEveryFaultNamed", [] { return Lines("0=A\n2=B\nq\n"); }, {}, "line 1: glyph 0 is not in the table (glyphs 1 to 10)\nline 3: not GLYPH=CHAR"},
    MapCase{"LinesNone", [] { return Lines("# only\n\n"); }, {}, "assigns no glyph"},
    MapCase{"Cp1251Cyrillic", [] { return glyphs::MapCodePage(1251, 1, 0xFE, kGlyphs); }, {{0, U'ю'}, {1, U'я'}}, nullptr},
    MapCase{"Cp1250UndefinedByteKeepsItsGlyph", [] { return glyphs::MapCodePage(1250, 1, 0x80, 3); }, {{0, U'€'}, {2, U'‚'}}, nullptr},
    MapCase{"Cp1252AsciiThenTableEnd", [] { return glyphs::MapCodePage(1252, 9, 0x41, kGlyphs); }, {{8, U'A'}, {9, U'B'}}, nullptr},
    MapCase{"Cp1252Upper", [] { return glyphs::MapCodePage(1252, 1, 0x9F, 2); }, {{0, U'Ÿ'}, {1, U'\u00A0'}}, nullptr},
    MapCase{"CodePageUnknown", [] { return glyphs::MapCodePage(866, 1, 0x80, kGlyphs); }, {}, "866 is none of"},
    MapCase{"CodePageAtPastTable", [] { return glyphs::MapCodePage(1251, 11, 0x80, kGlyphs); }, {}, "glyph 11 is not in the table"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
