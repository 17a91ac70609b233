// check over real fonts: the values no program can show or use.
#include <gtest/gtest.h>

#include <bit>
#include <limits>

#include "font/geometry.h"
#include "tests/gmftool/run_gmftool.h"
#include "tests/support/font_bytes.h"
#include "tests/support/temp_dir.h"

namespace {

using font::GlyphRecord;
using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::RunGmftool;

constexpr float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::bit_cast<float>(0x7fc00000u);

// Cells 4 edit units high, so that 1010 clean glyphs fit side by side on the texture.
constexpr float kCell = 4 / 256.0f;

// Glyphs with nothing to report, aspects fresh.
std::vector<GlyphRecord> Clean(int count) {
    std::vector<GlyphRecord> glyphs;
    for (int i = 0; i < count; ++i) {
        const float left = static_cast<float>(i % 25 * 10) / 256;
        const float right = left + 8 / 256.0f;
        glyphs.push_back(Glyph(left, static_cast<float>(i / 25 * 4) / 256, right, font::ComputeAspect(left, right, kCell)));
    }
    return glyphs;
}

TEST(Check, HeaderValuesThatAreNotFinite) {
    testing_support::TempDir dir;
    const struct { float fontSize; float spaceWidth; std::string report; } cases[] = {
        {kNaN, 0.03125f, "font: the font size is nan:0x7fc00000\n"},
        {std::bit_cast<float>(0xffc00001u), 0.03125f, "font: the font size is nan:0xffc00001\n"},
        {kInf, 0.03125f, "font: the font size is inf\n"},
        {16, kInf, "font: the space width is inf\n"},
        {16, -kInf, "font: the space width is -inf\n"},
        {16, kNaN, "font: the space width is nan:0x7fc00000\n"},
        {kNaN, -kInf, "font: the font size is nan:0x7fc00000\nfont: the space width is -inf\n"},
        {std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(), ""},
        {-0.0f, std::numeric_limits<float>::denorm_min(), ""},
    };
    for (const auto& c : cases) {
        const std::string font = dir.Write("f.gmf", FontBytes::LayoutA(Clean(3)).Header(c.fontSize, kCell, c.spaceWidth).bytes());
        const auto check = RunGmftool({"check", font});
        EXPECT_EQ(check.out, c.report);
        EXPECT_EQ(check.status, c.report.empty() ? 0 : 1) << c.report;
    }
}

TEST(Check, ANotANumberThatEndsTheTableBeforeMoreRecords) {
    testing_support::TempDir dir;
    const auto withField = [](GlyphRecord g, int field, float value) {
        (field == 0 ? g.Left : field == 1 ? g.Top : field == 2 ? g.Right : g.Aspect) = value;
        return g;
    };
    const auto font = [&](int glyphs, const std::vector<std::pair<std::size_t, GlyphRecord>>& records) {
        FontBytes bytes = FontBytes::LayoutA(Clean(glyphs)).Header(16, kCell, 0.03125f);
        for (const auto& [index, record] : records) bytes.Record(44 + 16 * index, record);
        return bytes;
    };
    const GlyphRecord nanLeft = withField(Clean(5)[4], 0, kNaN);
    const GlyphRecord nanOnly = {0, 0, 0, std::bit_cast<float>(0x7fa00000u)};
    const struct { FontBytes bytes; std::string report; } cases[] = {
        {font(20, {{4, nanLeft}}),
         "glyph 5: a not-a-number ends the table here (left nan:0x7fc00000): it and 15 records after it are never shown\n"},
        {font(6, {{4, nanLeft}}),
         "glyph 5: a not-a-number ends the table here (left nan:0x7fc00000): it and 1 record after it are never shown\n"},
        {font(5, {{4, nanLeft}}), ""},  // the last record: nothing follows it
        {font(20, {{4, nanOnly}}),
         "glyph 5: a not-a-number ends the table here (aspect nan:0x7fa00000): it and 15 records after it are never shown\n"},
        {font(20, {{2, withField(withField(Clean(3)[2], 1, kNaN), 3, kNaN)}}),
         "glyph 3: a not-a-number ends the table here (top nan:0x7fc00000, aspect nan:0x7fc00000): it and 17 records after it "
         "are never shown\n"},
        {font(20, {{4, nanLeft}, {6, {}}}),
         "glyph 5: a not-a-number ends the table here (left nan:0x7fc00000): it and 1 record after it are never shown\n"},
        {font(20, {{4, nanLeft}, {5, {}}}), ""},  // a record of zeros would end the table there anyway
        {font(20, {{4, nanLeft}, {5, nanLeft}}),
         "glyph 5: a not-a-number ends the table here (left nan:0x7fc00000): it and 15 records after it are never shown\n"},
        {font(1010, {{999, nanLeft}}),
         "glyph 1000: a not-a-number ends the table here (left nan:0x7fc00000): it and 1 record after it are never shown\n"},
        {font(1010, {{1000, nanLeft}}), ""},  // past the 1001 records a load looks at
    };
    for (const auto& c : cases) {
        const auto check = RunGmftool({"check", dir.Write("f.gmf", c.bytes.bytes())});
        EXPECT_EQ(check.out, c.report);
        EXPECT_EQ(check.status, c.report.empty() ? 0 : 1) << c.report;
    }
}

}  // namespace
