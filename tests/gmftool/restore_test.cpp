// restore over real fonts: the writes it refuses, and the exactness of the ones it makes.
#include <gtest/gtest.h>

#include "font/font_file.h"
#include "gmftool/dump_format.h"
#include "tests/gmftool/run_gmftool.h"
#include "tests/support/font_bytes.h"
#include "tests/support/temp_dir.h"

namespace {

using font::GlyphRecord;
using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::ReadAll;
using testing_support::RunGmftool;

std::vector<GlyphRecord> Glyphs(int count) {
    std::vector<GlyphRecord> glyphs;
    for (int i = 0; i < count; ++i) glyphs.push_back(Glyph((i * 20 + 1) / 256.0f, 0.5f, (i * 20 + 17) / 256.0f, 1));
    return glyphs;
}

class Restore : public ::testing::Test {
protected:
    // The font's own dump, with the glyphs changed as given (0-based).
    std::string DumpWith(const std::string& fontPath, const std::vector<std::pair<std::size_t, GlyphRecord>>& changes) {
        runtime::BinaryFile file = runtime::BinaryFile::Open(fontPath);
        gmftool::FontDump dump = gmftool::DumpOf(font::ReadFontTable(file));
        for (const auto& [index, record] : changes) dump.glyphs[index] = record;
        return dir.Write("edited.txt", testing_support::TextBytes(gmftool::WriteDump(dump)));
    }

    testing_support::TempDir dir;
};

TEST_F(Restore, RefusesWritesAfterWhichTheFontWouldReadAsAnotherLayout) {
    // In layout A the layout probe reads glyph 1's top, right and aspect and glyph 2's left.
    const GlyphRecord leftOnly = Glyph(5 / 256.0f, 0, 0, 0);
    auto withLeft = [](GlyphRecord g, float left) { g.Left = left; return g; };
    const auto ten = Glyphs(10);
    auto oddFirst = ten;
    oddFirst[0] = leftOnly;
    const struct { std::vector<GlyphRecord> font; std::vector<std::pair<std::size_t, GlyphRecord>> dump; bool refused; const char* why; } cases[] = {
        {ten, {{0, leftOnly}, {1, withLeft(ten[1], 0)}}, true, "glyph 1 zero but its left, glyph 2's left 0"},
        {ten, {{0, leftOnly}, {1, withLeft(ten[1], -0.0f)}}, true, "a left of -0"},
        {oddFirst, {{1, withLeft(ten[1], 0)}}, true, "glyph 2's left alone, glyph 1 already zero but its left"},
        {ten, {{0, leftOnly}}, false, "glyph 2's left keeps the probe"},
        {ten, {{1, withLeft(ten[1], 0)}}, false, "glyph 1's top keeps it"},
        {ten, {{0, leftOnly}, {1, withLeft(ten[1], 1e-45f)}}, false, "a subnormal left keeps it"},
        {oddFirst, {{0, ten[0]}, {1, withLeft(ten[1], 0)}}, false, "the bytes after all writes count, not each write alone"},
        {ten, {{0, leftOnly}, {2, withLeft(ten[2], 0)}}, false, "glyph 3 lies past the probe"},
    };
    for (const auto& c : cases) {
        const auto original = FontBytes::LayoutA(c.font).bytes();
        const std::string font = dir.Write("f.gmf", original);
        const std::string dump = DumpWith(font, c.dump);
        const auto dry = RunGmftool({"restore", font, dump, "--dry-run"});
        const auto restore = RunGmftool({"restore", font, dump});
        if (c.refused) {
            EXPECT_EQ(dry.status, 2) << c.why;
            EXPECT_EQ(restore.status, 2) << c.why;
            EXPECT_NE(restore.err.find("layout"), std::string::npos) << c.why << ": " << restore.err;
            EXPECT_EQ(ReadAll(font), original) << c.why;
        } else {
            EXPECT_EQ(dry.status, 0) << c.why << ": " << dry.err;
            EXPECT_EQ(restore.status, 0) << c.why << ": " << restore.err;
            const auto info = RunGmftool({"info", font});
            EXPECT_NE(info.out.find("layout: A\ntable_offset: 44\nglyph_count: 10\n"), std::string::npos) << c.why << ": " << info.out;
        }
    }
}

TEST_F(Restore, PutsBackEveryRunOfChangedGlyphsExactly) {
    const auto glyphs = Glyphs(12);
    const FontBytes original = FontBytes::LayoutB(glyphs).Header(20, 0.0625f, 0.03125f);
    const std::string font = dir.Write("f.gmf", original.bytes());
    ASSERT_EQ(RunGmftool({"dump", font, "-o", dir.Path("f.txt")}).status, 0);
    const auto changed = [&](std::initializer_list<std::size_t> indexes, bool header) {
        FontBytes bytes = original;
        for (const std::size_t i : indexes) bytes.Record(552 + 16 * i, Glyph(glyphs[i].Left, 0.25f, glyphs[i].Right, 3));
        if (header) bytes.Single(8, 11).Single(20, 0.5f);
        return bytes;
    };
    const struct { FontBytes font; const char* summary; } cases[] = {
        {changed({0}, false), "changed 1 glyph and 0 header values\n"},
        {changed({11}, false), "changed 1 glyph and 0 header values\n"},
        {changed({0, 2, 3, 4, 6, 11}, true), "changed 6 glyphs and 2 header values\n"},
        {changed({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, false), "changed 12 glyphs and 0 header values\n"},
        {changed({}, true), "changed 0 glyphs and 2 header values\n"},
        {changed({}, false), "changed 0 glyphs and 0 header values\n"},
    };
    for (const auto& c : cases) {
        dir.Write("f.gmf", c.font.bytes());
        const auto restore = RunGmftool({"restore", font, dir.Path("f.txt")});
        EXPECT_EQ(restore.status, 0) << restore.err;
        EXPECT_EQ(restore.out, c.summary);
        EXPECT_EQ(ReadAll(font), original.bytes()) << c.summary;
    }
}

}  // namespace
