// gmftool's subcommands at the exact edges of their rules, on files made byte by byte: what
// they print and the pictures they draw, not only their exit status.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "font/geometry.h"
#include "tests/gmftool/run_gmftool.h"
#include "tests/support/bmp.h"
#include "tests/support/font_bytes.h"
#include "tests/support/temp_dir.h"

// A PNG decoder of the test's own: the program's decoder reads BMP only.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace {

using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::ReadAll;
using testing_support::TempDir;

using Result = testing_support::GmftoolResult;
Result Gmftool(const std::vector<std::string>& arguments) { return testing_support::RunGmftool(arguments); }

constexpr float kCell = 0.0625f;  // 16 edit units, FontBytes' own cell height
float Edit(double editUnits) { return static_cast<float>(editUnits / 256); }
float Below(float value) { return std::nextafter(value, -INFINITY); }
float Above(float value) { return std::nextafter(value, INFINITY); }
float Bits(std::uint32_t bits) { return std::bit_cast<float>(bits); }
// A glyph with the aspect a store would write.
font::GlyphRecord Fresh(float left, float top, float right) { return Glyph(left, top, right, font::ComputeAspect(left, right, kCell)); }

std::string Text(const std::vector<std::byte>& bytes) { return {reinterpret_cast<const char*>(bytes.data()), bytes.size()}; }

class Boundaries : public ::testing::Test {
protected:
    std::string Font(const FontBytes& bytes, const std::string& name = "font1.gmf") { return dir.Write(name, bytes.bytes()); }
    TempDir dir;
};

TEST_F(Boundaries, CheckOfOneGlyph) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    // Empty "problem" means a clean font, exit 0; otherwise the one line it starts, exit 1.
    const struct { const char* what; FontBytes font; std::vector<std::string> problems; } rows[] = {
        {"edges exactly at 0 and 4 units wide", FontBytes::LayoutA({Fresh(0, 0, Edit(4))}), {}},
        {"edges exactly at 1, bottom exactly at 1", FontBytes::LayoutA({Fresh(Edit(252), 1 - kCell, 1)}), {}},
        {"left the least bit below 0", FontBytes::LayoutA({Fresh(-std::numeric_limits<float>::denorm_min(), 0, Edit(4))}),
         {"glyph 1: reaches outside the texture (left -"}},
        {"right the least bit past 1", FontBytes::LayoutA({Fresh(Edit(250), 0, Above(1))}), {"glyph 1: reaches outside the texture (left 250, top 0, right 256.00003"}},
        {"left past 1", FontBytes::LayoutA({Fresh(Above(1), 0, Edit(300))}), {"glyph 1: reaches outside the texture (left 256.00003"}},
        {"right below 0", FontBytes::LayoutA({Fresh(Edit(-8), 0, Below(0))}), {"glyph 1: reaches outside the texture (left -8, top 0, right -"}},
        {"top the least bit below 0", FontBytes::LayoutA({Fresh(0, Below(0), Edit(8))}), {"glyph 1: reaches outside the texture (left 0, top -"}},
        {"bottom the least bit past 1", FontBytes::LayoutA({Fresh(0, Above(1 - kCell), Edit(8))}),
         {"glyph 1: reaches outside the texture (left 0, top 240.00002, right 8, bottom 256.00001525878906; the texture is 0 to 256)"}},
        {"the least bit under 4 units", FontBytes::LayoutA({Fresh(0, 0, Below(Edit(4)))}), {"glyph 1: narrower than 4 edit units (left 0, right 3.9999998)"}},
        {"no width", FontBytes::LayoutA({Fresh(Edit(10), 0, Edit(10))}), {"glyph 1: narrower than 4 edit units (left 10, right 10)"}},
        {"right the least bit left of left", FontBytes::LayoutA({Fresh(Edit(10), 0, Below(Edit(10)))}),
         {"glyph 1: narrower than 4 edit units", "glyph 1: the right edge (9.999999) is left of the left edge (10)"}},
        {"aspect one bit off", FontBytes::LayoutA({Glyph(0, 0, Edit(8), Above(0.5f))}), {"glyph 1: aspect 0.50000006 is stale: a store would write 0.5"}},
        {"aspect -0 where a store writes 0", FontBytes::LayoutA({Glyph(Edit(4), 0, Edit(8), 0), Glyph(Edit(10), 0, Edit(10), -0.0f)}),
         {"glyph 1: aspect 0 is stale: a store would write 0.25", "glyph 2: narrower than 4", "glyph 2: aspect -0 is stale: a store would write 0"}},
        {"cell height 0", FontBytes::LayoutA({Glyph(0, 0, Edit(8), 0.5f)}).Single(16, 0), {"font: the cell height is 0: no glyph can be stored"}},
        {"a negative cell height is no cell height of 0",
         FontBytes::LayoutA({Glyph(0, 0.5f, Edit(8), font::ComputeAspect(0, Edit(8), -kCell))}).Single(16, -kCell), {}},
        {"cell height not a number", FontBytes::LayoutA({Glyph(0, 0, Edit(8), 0.5f)}).Single(16, nan), {"font: the cell height is nan:0x7fc00000"}},
        {"a table that runs to the file's end", FontBytes::LayoutA({Fresh(0, 0, Edit(8))}).Truncate(60), {}},
        {"one byte short of it", FontBytes::LayoutA({Fresh(0, 0, Edit(8))}).Truncate(59),
         {"font: the file ends at byte 59, inside the glyph table (which ends at byte 60)", "glyph 1: aspect 0 is stale"}},
    };
    for (const auto& row : rows) {
        const Result result = Gmftool({"check", Font(row.font)});
        EXPECT_EQ(result.status, row.problems.empty() ? 0 : 1) << row.what << ": " << result.out << result.err;
        std::string lines = result.out;
        for (const std::string& problem : row.problems) {
            const std::size_t end = lines.find('\n');
            EXPECT_EQ(lines.substr(0, problem.size()), problem) << row.what;
            lines = end == std::string::npos ? "" : lines.substr(end + 1);
        }
        EXPECT_EQ(lines, "") << row.what << ": more problems than expected";
    }
}

TEST_F(Boundaries, CheckOfOverlaps) {
    const float a = Edit(100), b = Edit(120), top = Edit(64);
    const struct { const char* what; std::vector<font::GlyphRecord> glyphs; std::string out; } rows[] = {
        {"side by side, touching", {Fresh(a, top, b), Fresh(b, top, Edit(140))}, ""},
        {"side by side, sharing the least bit", {Fresh(a, top, b), Fresh(Below(b), top, Edit(140))}, "glyph 1: overlaps glyph 2\n"},
        {"the later glyph on the left", {Fresh(b, top, Edit(140)), Fresh(a, top, Above(b))}, "glyph 1: overlaps glyph 2\n"},
        {"one above the other, touching", {Fresh(a, top, b), Fresh(a, top + kCell, b)}, ""},
        {"one above the other, sharing the least bit", {Fresh(a, top, b), Fresh(a, Below(top + kCell), b)}, "glyph 1: overlaps glyph 2\n"},
        {"one below the other, sharing the least bit", {Fresh(a, Below(top + kCell), b), Fresh(a, top, b)}, "glyph 1: overlaps glyph 2\n"},
        {"the same cell", {Fresh(a, top, b), Fresh(a, top, b)}, "glyph 1: overlaps glyph 2\n"},
        {"the third meets the first past the second",
         {Fresh(a, top, Edit(200)), Fresh(Edit(110), Edit(128), Edit(130)), Fresh(Edit(190), top, Edit(210))}, "glyph 1: overlaps glyph 3\n"},
        {"each pair once, in order", {Fresh(a, top, b), Fresh(a, top, b), Fresh(a, top, b)},
         "glyph 1: overlaps glyph 2\nglyph 1: overlaps glyph 3\nglyph 2: overlaps glyph 3\n"},
    };
    for (const auto& row : rows) {
        const Result result = Gmftool({"check", Font(FontBytes::LayoutA(row.glyphs))});
        EXPECT_EQ(result.out, row.out) << row.what;
        EXPECT_EQ(result.status, row.out.empty() ? 0 : 1) << row.what;
    }
}

TEST_F(Boundaries, GlyphNumbersOfFit) {
    // No ink anywhere: each chosen glyph is named, and nothing is written.
    const std::string font = Font(FontBytes::LayoutA({Fresh(0, 0, Edit(8)), Fresh(Edit(10), 0, Edit(18)), Fresh(Edit(20), 0, Edit(28))}));
    dir.Write("font1.bmp", testing_support::InkOnWhite(512, {}));
    const auto named = [](std::vector<int> numbers) {
        std::string out;
        for (const int n : numbers) out += "glyph " + std::to_string(n) + ": left alone: no ink\n";
        return out + "(dry run: nothing written)\n";
    };
    const struct { const char* list; int status; std::string out; } rows[] = {
        {"3", 0, named({3})}, {"1", 0, named({1})}, {"1-3", 0, named({1, 2, 3})}, {"3-3", 0, named({3})},
        {"3,1,3", 0, named({1, 3})}, {"2-3,1-2", 0, named({1, 2, 3})},
        {"4", 2, ""}, {"0", 2, ""}, {"3-4", 2, ""}, {"0-1", 2, ""}, {"3-2", 2, ""}, {"", 2, ""}, {"1,", 2, ""}, {"-1", 2, ""}, {"1-", 2, ""},
        {"2x", 2, ""}, {"+2", 2, ""},
    };
    for (const auto& row : rows) {
        const Result result = Gmftool({"fit", font, "--glyphs", row.list, "--dry-run"});
        EXPECT_EQ(result.status, row.status) << row.list << ": " << result.err;
        EXPECT_EQ(result.out, row.out) << row.list;
        if (row.status == 2) {
            EXPECT_NE(result.err.find("--glyphs"), std::string::npos) << row.list << ": " << result.err;
        }
    }
}

TEST_F(Boundaries, FitWritesAGlyphWhenEitherEdgeMoves) {
    // Ink in columns 20..39 of rows 64..95: edges 10 and 20 fit it.
    dir.Write("font1.bmp", testing_support::InkOnWhite(512, {{20, 39, 64, 95}}));
    const std::vector<font::GlyphRecord> glyphs = {
        Fresh(Edit(5), Edit(32), Edit(20)),               // the left edge moves
        Fresh(Edit(10), Edit(32), Edit(25)),              // the right edge moves
        Glyph(Edit(10), Edit(32), Edit(20), 9),           // neither: its stale aspect stays
        Fresh(Edit(9), Edit(32), Edit(21)),               // both
    };
    const std::string font = Font(FontBytes::LayoutA(glyphs));
    const Result fit = Gmftool({"fit", font});
    EXPECT_EQ(fit.out, "glyph 1: left 5 -> 10, right 20 -> 20\nglyph 2: left 10 -> 10, right 25 -> 20\n"
                       "glyph 4: left 9 -> 10, right 21 -> 20\n") << fit.err;
    std::vector<font::GlyphRecord> fitted(4, Fresh(Edit(10), Edit(32), Edit(20)));
    fitted[2] = glyphs[2];
    EXPECT_EQ(ReadAll(font), FontBytes::LayoutA(fitted).bytes());
}

TEST_F(Boundaries, DumpOfThe1001Glyphs) {
    std::vector<font::GlyphRecord> glyphs;
    for (int i = 0; i < 1002; ++i) glyphs.push_back(Fresh(Edit(i % 240), Edit(i / 240 * 16), Edit(i % 240 + 8)));
    const FontBytes full = FontBytes::LayoutA(glyphs);
    const std::string font = Font(full);
    ASSERT_EQ(Gmftool({"dump", font, "-o", dir.Path("dump.txt")}).status, 0);
    const std::string dump = Text(ReadAll(dir.Path("dump.txt")));
    EXPECT_NE(dump.find("\nglyph_count 1001\n"), std::string::npos);
    EXPECT_NE(dump.find("\nglyph 1001: left 40 top 64 right 48 aspect 0.5\n"), std::string::npos) << "the last glyph read";
    EXPECT_EQ(dump.find("glyph 1002:"), std::string::npos) << "no more than 1001";
    EXPECT_EQ(Text(full.bytes()).size(), 44u + 1003 * 16);

    // Every record changed and restored, the last one included.
    FontBytes changed = full;
    for (int i = 0; i < 1001; ++i) changed.Record(44 + 16 * static_cast<std::size_t>(i), Fresh(Edit(i % 240 + 1), Edit(i / 240 * 16), Edit(i % 240 + 9)));
    Font(changed);
    const Result restore = Gmftool({"restore", font, dir.Path("dump.txt")});
    EXPECT_EQ(restore.out, "changed 1001 glyphs and 0 header values\n") << restore.err;
    EXPECT_EQ(ReadAll(font), full.bytes());

    const auto without = [&](const std::string& line) {
        std::string text = dump;
        text.erase(text.find(line), line.size());
        return text;
    };
    const std::size_t glyph1Line = 9;  // after the signature, two comments and five header lines
    const struct { const char* what; std::string dump; std::string reason; } broken[] = {
        {"the last glyph's line missing", without("glyph 1001: left 40 top 64 right 48 aspect 0.5\n"),
         "line " + std::to_string(glyph1Line + 1000) + ": glyph_count is 1001 but 1000 glyphs follow"},
        {"a line in the middle missing", without("glyph 500: left 19 top 32 right 27 aspect 0.5\n"),
         "line " + std::to_string(glyph1Line + 499) + ": expected 'glyph 500:'"},
        {"a word after the aspect", [&] { std::string t = dump; t.insert(t.find("\nglyph 2:"), " x"); return t; }(),
         "line 9: 'x' after the aspect"},
        {"the first glyph's line missing", without("glyph 1: left 0 top 0 right 8 aspect 0.5\n"), "line 9: expected 'glyph 1:'"},
        {"1002 glyphs, named at the glyph's own line", dump + "glyph 1002: left 1 top 0 right 9 aspect 0.5\n# the end\n",
         "line " + std::to_string(glyph1Line + 1001) + ": a glyph past glyph_count 1001"},
        {"a count of 1002", [&] { std::string t = dump; t.replace(t.find("glyph_count 1001"), 16, "glyph_count 1002"); return t; }(),
         "line 5: '1002' is not a glyph count from 0 to 1001"},
    };
    for (const auto& row : broken) {
        dir.Write("broken.txt", testing_support::TextBytes(row.dump));
        Font(changed);
        const Result result = Gmftool({"restore", font, dir.Path("broken.txt")});
        EXPECT_EQ(result.status, 2) << row.what;
        EXPECT_NE(result.err.find(row.reason), std::string::npos) << row.what << ": " << result.err;
        EXPECT_EQ(ReadAll(font), changed.bytes()) << row.what;
    }
}

TEST_F(Boundaries, DiffSeesEveryBit) {
    const FontBytes base = FontBytes::LayoutA({Fresh(0, 0, Edit(8))}).Header(Bits(0x7fc00000), kCell, 0);
    const struct { const char* what; FontBytes other; std::string out; } rows[] = {
        {"the same not-a-number", base, ""},
        {"a not-a-number's payload alone", FontBytes(base).Single(8, Bits(0x7fc00001)), "font_size: nan:0x7fc00000 -> nan:0x7fc00001\n"},
        {"its sign alone", FontBytes(base).Single(8, Bits(0xffc00000)), "font_size: nan:0x7fc00000 -> nan:0xffc00000\n"},
        {"a number for it", FontBytes(base).Single(8, 16), "font_size: nan:0x7fc00000 -> 16\n"},
        {"a negative zero", FontBytes(base).Single(20, -0.0f), "space_width: 0 -> -0\n"},
        {"the cell height one bit up", FontBytes(base).Single(16, Above(kCell)), "cell_height: 16 -> 16.000002\n"},
        {"a glyph's aspect alone", FontBytes(base).Single(56, Above(0.5f)), "glyph 1: aspect 0.5 -> 0.50000006\n"},
        {"a glyph's top, negative zero", FontBytes(base).Single(48, -0.0f), "glyph 1: top 0 -> -0\n"},
        {"a glyph more", FontBytes::LayoutA({Fresh(0, 0, Edit(8)), Fresh(0, 0, Edit(8))}).Header(Bits(0x7fc00000), kCell, 0),
         "glyph_count: 1 -> 2\nglyph 2: only in the second font\n"},
    };
    const std::string a = Font(base, "a.gmf");
    for (const auto& row : rows) {
        const Result result = Gmftool({"diff", a, Font(row.other, "b.gmf")});
        EXPECT_EQ(result.out, row.out) << row.what;
        EXPECT_EQ(result.status, row.out.empty() ? 0 : 1) << row.what;
    }
}

TEST_F(Boundaries, RestoreOfTheHeaderAlone) {
    const FontBytes original = FontBytes::LayoutA({Fresh(0, 0, Edit(8)), Fresh(Edit(10), 0, Edit(18))}).Truncate(76);  // ends at its table
    const std::string font = Font(original);
    ASSERT_EQ(Gmftool({"dump", font, "-o", dir.Path("dump.txt")}).status, 0);
    const struct { const char* what; FontBytes changed; std::string out; } rows[] = {
        {"nothing changed", original, "changed 0 glyphs and 0 header values\n"},
        {"the font size", FontBytes(original).Single(8, 17), "changed 0 glyphs and 1 header value\n"},
        {"the space width", FontBytes(original).Single(20, -0.0f), "changed 0 glyphs and 1 header value\n"},
        {"both", FontBytes(original).Single(8, 17).Single(20, 1), "changed 0 glyphs and 2 header values\n"},
        {"the last glyph only", FontBytes(original).Single(72, 0.75f), "changed 1 glyph and 0 header values\n"},
    };
    for (const auto& row : rows) {
        Font(row.changed);
        const Result result = Gmftool({"restore", font, dir.Path("dump.txt")});
        EXPECT_EQ(result.status, 0) << row.what << ": " << result.err;
        EXPECT_EQ(result.out, row.out) << row.what;
        EXPECT_EQ(ReadAll(font), original.bytes()) << row.what;
    }
}

TEST_F(Boundaries, AFontWithNoGlyphsThatEndsBeforeItsTablesPlace) {
    // Layout B with the file ending before byte 552: no glyph is cut short, there are none.
    const FontBytes original = FontBytes::LayoutB({}).Truncate(100);
    const std::string font = Font(original), changed = Font(FontBytes(original).Single(8, 17), "changed.gmf");
    dir.Write("font1.bmp", testing_support::InkOnWhite(512, {}));
    const struct { std::vector<std::string> call; int status; std::string out; } rows[] = {
        {{"check", font}, 0, ""},
        {{"dump", font, "-o", dir.Path("dump.txt")}, 0, ""},
        {{"diff", font, changed}, 1, "font_size: 16 -> 17\n"},
        {{"restore", changed, dir.Path("dump.txt")}, 0, "changed 0 glyphs and 1 header value\n"},
        {{"overview", font, "-o", dir.Path("o.png")}, 0, ""},
        {{"fit", font}, 0, ""},
    };
    for (const auto& row : rows) {
        const Result result = Gmftool(row.call);
        EXPECT_EQ(result.status, row.status) << row.call[0] << ": " << result.err;
        EXPECT_EQ(result.out, row.out) << row.call[0];
    }
    EXPECT_EQ(ReadAll(changed), original.bytes());
    EXPECT_EQ(ReadAll(font), original.bytes());
}

TEST_F(Boundaries, InfoText) {
    const struct { const char* what; FontBytes font; std::string out; } rows[] = {
        {"layout A", FontBytes::LayoutA({Fresh(0, 0, Edit(8)), Fresh(Edit(10), 0, Edit(18))}).Header(24, Edit(16.5), Edit(8)),
         "layout: A\ntable_offset: 44\nglyph_count: 2\nfont_size: 24\ncell_height: 16.5\nspace_width: 8\nfile_size: 92\n"},
        {"layout B running to the file's end", FontBytes::LayoutB({Fresh(0, 0, Edit(8))}).Header(-0.0f, kCell, Edit(0.25)).Truncate(568),
         "layout: B\ntable_offset: 552\nglyph_count: 1\nfont_size: -0\ncell_height: 16\nspace_width: 0.25\nfile_size: 568\n"},
        {"no glyphs", FontBytes::LayoutB({}).Header(Bits(0x7fc00001), kCell, 0),
         "layout: B\ntable_offset: 552\nglyph_count: 0\nfont_size: nan:0x7fc00001\ncell_height: 16\nspace_width: 0\nfile_size: 568\n"},
        {"no glyphs, the file ending before the table's place", FontBytes::LayoutB({}).Truncate(24),
         "layout: B\ntable_offset: 552\nglyph_count: 0\nfont_size: 16\ncell_height: 16\nspace_width: 8\nfile_size: 24\n"},
    };
    for (const auto& row : rows) {
        const Result result = Gmftool({"info", Font(row.font)});
        EXPECT_EQ(result.status, 0) << row.what;
        EXPECT_EQ(result.out, row.out) << row.what;
    }
    // JSON has no number for them: the dump's own text, which keeps a not-a-number's payload.
    const struct { FontBytes font; std::vector<std::string> fields; } json[] = {
        {rows[2].font, {"\"font_size\": \"nan:0x7fc00001\"", "\"cell_height\": 16.0"}},
        {FontBytes::LayoutA({Fresh(0, 0, Edit(8))}).Header(-INFINITY, INFINITY, Bits(0xffa00000)),
         {"\"font_size\": \"-inf\"", "\"cell_height\": \"inf\"", "\"space_width\": \"nan:0xffa00000\""}},
    };
    for (const auto& row : json) {
        const Result result = Gmftool({"info", Font(row.font), "--json"});
        for (const std::string& field : row.fields) EXPECT_NE(result.out.find(field), std::string::npos) << field << " in " << result.out;
    }
    EXPECT_EQ(Gmftool({"info", Font(FontBytes::LayoutA({}).Truncate(23))}).status, 2) << "too short for the header values";
}

struct Png {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
    std::array<std::uint8_t, 4> At(int x, int y) const {
        const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
        return {rgba[at], rgba[at + 1], rgba[at + 2], rgba[at + 3]};
    }
};

Png ReadPng(const std::string& path) {
    const std::vector<std::byte> bytes = ReadAll(path);
    Png png;
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()),
                                            &png.width, &png.height, &channels, 4);
    if (!pixels) return png;
    png.rgba.assign(pixels, pixels + static_cast<std::size_t>(png.width) * static_cast<std::size_t>(png.height) * 4);
    stbi_image_free(pixels);
    return png;
}

TEST_F(Boundaries, OverviewPixels) {
    using Colour = std::array<std::uint8_t, 4>;
    const Colour red{255, 0, 0, 255}, yellow{255, 255, 0, 255}, black{0, 0, 0, 255}, white{255, 255, 255, 255};
    // In preview pixels: glyph 1 in columns 100..119 from row 200; glyph 2 only 3 edit units wide;
    // glyph 3 with its right side in the picture's last column; glyph 4 with its bottom in the last row.
    const std::string font = Font(FontBytes::LayoutA({Fresh(Edit(50), Edit(100), Edit(60)), Fresh(Edit(150), Edit(100), Edit(153)),
                                                      Fresh(Edit(200), Edit(240), Edit(257)), Fresh(Edit(100), Edit(248), Edit(110))})
                                      .Single(16, 15.0f / 512));
    const struct { int x, y; Colour colour; } points[] = {
        {100, 200, red}, {116, 200, red}, {117, 200, red}, {118, 200, black}, {116, 215, red}, {117, 207, red}, {118, 207, black}, {100, 215, red},
        {100, 216, black}, {101, 207, black}, {99, 207, black},
        {300, 203, yellow}, {303, 203, yellow}, {304, 203, black},
        {400, 480, red}, {510, 480, red}, {511, 480, red}, {511, 495, red}, {510, 495, red}, {450, 495, red}, {450, 494, black},
        {205, 511, red}, {200, 511, red}, {219, 511, black}, {205, 510, black}, {217, 505, red},
        {0, 0, black},
    };
    ASSERT_EQ(Gmftool({"overview", font, "-o", dir.Path("o.png")}).status, 0);
    const Png plain = ReadPng(dir.Path("o.png"));
    ASSERT_EQ(plain.width, 512);
    ASSERT_EQ(plain.height, 512);
    for (const auto& p : points) EXPECT_EQ(plain.At(p.x, p.y), p.colour) << p.x << "," << p.y;

    // Scaled up, on a white BMP of another program's making beside the font.
    dir.Write("font1.bmp", testing_support::Bmp32V5(512, 512, std::vector<std::uint8_t>(512 * 512 * 4, 255)));
    ASSERT_EQ(Gmftool({"overview", font, "-o", dir.Path("o2.png"), "--scale", "2"}).status, 0);
    const Png scaled = ReadPng(dir.Path("o2.png"));
    ASSERT_EQ(scaled.width, 1024);
    for (const auto& p : points) {
        const Colour expected = p.colour == black ? white : p.colour;
        EXPECT_EQ(scaled.At(2 * p.x, 2 * p.y), expected) << p.x << "," << p.y;
        EXPECT_EQ(scaled.At(2 * p.x + 1, 2 * p.y + 1), expected) << p.x << "," << p.y;
    }
}

TEST_F(Boundaries, APictureFromAnotherProgram) {
    // 32 bits a pixel, a V5 header; ink in columns 40..59 of rows 64..95, as RGBA.
    std::vector<std::uint8_t> rgba(512 * 512 * 4, 255);
    for (int y = 64; y <= 95; ++y) {
        for (int x = 40; x <= 59; ++x) {
            for (int c = 0; c < 3; ++c) rgba[static_cast<std::size_t>((y * 512 + x) * 4 + c)] = 0;
        }
    }
    const std::vector<font::GlyphRecord> glyphs = {Fresh(Edit(16), Edit(32), Edit(32)), Fresh(Edit(100), Edit(32), Edit(110))};
    const std::string font = Font(FontBytes::LayoutA(glyphs));
    dir.Write("font1.bmp", testing_support::Bmp32V5(512, 512, rgba));
    const Result check = Gmftool({"check", font});
    EXPECT_EQ(check.out, "glyph 2: its rectangle holds no ink\n") << check.err;
    EXPECT_EQ(check.status, 1);
    const Result fit = Gmftool({"fit", font});
    EXPECT_EQ(fit.out, "glyph 1: left 16 -> 20, right 32 -> 30\nglyph 2: left alone: no ink\n") << fit.err;

    // Stored top-down, the same picture is refused by its size fields, and nothing is written.
    const std::vector<std::byte> before = ReadAll(font);
    dir.Write("font1.bmp", testing_support::Bmp32V5(512, -512, rgba));
    for (const char* command : {"check", "fit"}) {
        const Result refused = Gmftool({command, font});
        EXPECT_EQ(refused.status, 2) << command;
        EXPECT_NE(refused.err.find("the picture is 512 x -512, not 512 x 512"), std::string::npos) << refused.err;
    }
    EXPECT_EQ(ReadAll(font), before);
}

}  // namespace
