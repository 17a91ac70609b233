// gmftool over real files that the tests make, run as a user runs it.
#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <limits>

#include "font/geometry.h"
#include "gmftool/commands.h"
#include "gmftool/number_text.h"
#include "runtime/failure.h"
#include "tests/support/bmp.h"
#include "tests/support/font_bytes.h"
#include "tests/support/read_only.h"
#include "tests/support/temp_dir.h"
#include "tests/support/tga.h"
#include "tests/gmftool/run_gmftool.h"

namespace {

using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::ReadAll;
using testing_support::TempDir;

using Result = testing_support::GmftoolResult;

Result Gmftool(const std::vector<std::string>& arguments) { return testing_support::RunGmftool(arguments); }

float Bits(std::uint32_t bits) { return std::bit_cast<float>(bits); }
float Edit(float editUnits) { return editUnits / 256; }

// White, with the listed column ranges black in rows 64 to 95.
std::vector<std::byte> Texture(int size, const std::vector<std::pair<int, int>>& inkColumns) {
    std::vector<testing_support::InkBlock> blocks;
    for (const auto& [first, last] : inkColumns) blocks.push_back({first, last, 64, 95});
    return testing_support::InkOnWhite(size, blocks);
}

TEST(NumberText, EveryBinary32ValueComesBackBitForBit) {
    const std::uint32_t patterns[] = {
        0x00000000, 0x80000000,              // zeros of both signs
        0x00000001, 0x807fffff, 0x00400000,  // subnormals
        0x3dcccccd, 0x3e800000, 0xbf800000,  // 0.1, 0.25, -1
        0x7f7fffff, 0xff7fffff, 0x7e967699,  // the ends of the range and 1e38, beyond it in edit units
        0x7f800000, 0xff800000,              // infinities
        0x7fc00000, 0xffc00001, 0x7f800001,  // not-a-numbers: quiet, negative with payload, signalling
    };
    for (const std::uint32_t bits : patterns) {
        const float value = Bits(bits);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(gmftool::ParseEditText(gmftool::EditText(value))), bits) << gmftool::EditText(value);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(gmftool::ParseStoredText(gmftool::StoredText(value))), bits) << gmftool::StoredText(value);
    }
    EXPECT_EQ(gmftool::EditText(0.1f), "25.6");
    EXPECT_EQ(gmftool::EditText(Edit(-99999)), "-99999");  // the last whole value printed in full
    EXPECT_EQ(gmftool::EditText(Edit(100000)), "1e+05");    // the first that is shorter with an exponent
    EXPECT_EQ(gmftool::EditText(Bits(0x7fc00001)), "nan:0x7fc00001");
}

TEST(NumberText, WhatIsNoBinary32ValueIsRefused) {
    for (const char* text : {"", "abc", "1.2.3", "12x", "1,5", "nan", "1e400", "1e-60", "1e39", "nan:0x3f800000", "nan:0x7fc0"}) {
        try {
            gmftool::ParseStoredText(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const runtime::Failure& failure) {
            EXPECT_EQ(failure.kind(), runtime::FailureKind::Malformed) << text;
        }
    }
}

class OnFiles : public ::testing::Test {
protected:
    std::string Font(const FontBytes& bytes, const std::string& name = "font1.gmf") { return dir.Write(name, bytes.bytes()); }
    TempDir dir;
};

TEST_F(OnFiles, DumpAndRestoreAreExactForEveryKindOfValue) {
    // A not-a-number ends the table, so its payload can only be tried in the header.
    const std::pair<FontBytes, std::size_t> fonts[] = {
        {FontBytes::LayoutA({Glyph(0.1f, -0.0f, Bits(0x00000001), Bits(0x807fffff)),
                             Glyph(std::numeric_limits<float>::infinity(), 1e38f, -std::numeric_limits<float>::max(), -1),
                             Glyph(0.25f, 0.5f, 0.3125f, 0.625f)})
             .Header(Bits(0x7fc12345), Bits(0x00000010), -0.0f), 44},
        {FontBytes::LayoutB({Glyph(0.25f, 0.5f, 0.3125f)}).Header(Bits(0xff800001), 0.0625f, Bits(0x7f800000)), 552},
    };
    for (const auto& [original, table] : fonts) {
        const std::string font = Font(original);
        ASSERT_EQ(Gmftool({"dump", font, "-o", dir.Path("dump.txt")}).status, 0);
        // Every value the window writes, changed behind the dump's back.
        FontBytes changed = original;
        changed.Record(table, Glyph(0.5f, 0.5f, 0.75f)).Single(8, 12).Single(20, 1);
        dir.Write("font1.gmf", changed.bytes());

        const Result restore = Gmftool({"restore", font, dir.Path("dump.txt")});
        EXPECT_EQ(restore.status, 0) << restore.err;
        EXPECT_EQ(restore.out, "changed 1 glyph and 2 header values\n");
        EXPECT_EQ(ReadAll(font), original.bytes());
    }
}

TEST_F(OnFiles, ARestoreThatCannotBeWholeWritesNothing) {
    const FontBytes font = FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f), Glyph(0.5f, 0.5f, 0.5625f)});
    const std::string path = Font(font);
    ASSERT_EQ(Gmftool({"dump", path, "-o", dir.Path("good.txt")}).status, 0);
    const std::string good = [&] { const auto b = ReadAll(dir.Path("good.txt")); return std::string(reinterpret_cast<const char*>(b.data()), b.size()); }();
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::string glyph2 = good.substr(good.find("glyph 2:"));
    const struct { std::string dump; FontBytes font; const char* reason; } cases[] = {
        {replaced("layout A", "layout B"), font, "layout"},
        {replaced("glyph_count 2", "glyph_count 1").substr(0, good.find("glyph 2:")), font, "glyphs"},
        {replaced("cell_height 16", "cell_height 17"), font, "cell_height"},
        {replaced(glyph2, "glyph 2: left 0 top -0 right 0 aspect 0\n"), font, "empty"},
        {replaced("right 80", "right 81"), FontBytes(font).Truncate(70), "inside the glyph table"},
        {replaced("right 80", "right eighty"), font, "line 9"},
        {replaced("top 128", "tops 128"), font, "line 9"},
        {replaced(glyph2, "glyph 2: left 128 top 128 right 144\n"), font, "line 10: 'aspect' is missing"},
        {replaced("aspect 0.5", "aspect 1e999"), font, "line 9"},
        {good.substr(0, good.size() - 1), font, "line 10"},
        {replaced("space_width 8", "space_width 8\nkerning 3"), font, "line 9: unknown key"},
        {"layout A\n", font, "line 1: not a gmftool dump"},
    };
    for (const auto& c : cases) {
        const std::string fontPath = Font(c.font);
        dir.Write("bad.txt", std::vector<std::byte>(reinterpret_cast<const std::byte*>(c.dump.data()),
                                                     reinterpret_cast<const std::byte*>(c.dump.data() + c.dump.size())));
        EXPECT_EQ(Gmftool({"restore", fontPath, dir.Path("bad.txt"), "--dry-run"}).status, 2) << "a dry run foretells the refusal: " << c.reason;
        const Result result = Gmftool({"restore", fontPath, dir.Path("bad.txt")});
        EXPECT_EQ(result.status, 2) << c.reason;
        EXPECT_NE(result.err.find(c.reason), std::string::npos) << result.err;
        EXPECT_EQ(ReadAll(fontPath), c.font.bytes()) << c.reason;
    }

    // A read-only font: refused before anything is written, also for root; a dry run says so too,
    // in the same words, also when there is nothing to change.
    const std::string changed = replaced("right 80", "right 81");
    dir.Write("changed.txt", testing_support::TextBytes(changed));
    dir.Write("white.bmp", Texture(512, {}));
    TempDir readOnlyDir;
    const std::string readOnlyFont = readOnlyDir.Write("font1.gmf", font.bytes());
    testing_support::ReadOnlyFolder readOnly(readOnlyDir.Path(""));
    EXPECT_TRUE(testing_support::InChildObeyingPermissions([&] {
        const std::vector<std::string> calls[] = {
            {"restore", readOnlyFont, dir.Path("changed.txt")}, {"restore", readOnlyFont, dir.Path("good.txt")},
            {"fit", readOnlyFont, "--picture", dir.Path("white.bmp")}};
        bool refused = true;
        for (std::vector<std::string> call : calls) {
            const Result real = Gmftool(call);
            call.push_back("--dry-run");
            const Result dry = Gmftool(call);
            refused = refused && real.status == 2 && dry.status == 2 && dry.out.empty() &&
                      dry.err == real.err && real.err.find("read-only") != std::string::npos;
        }
        return refused;
    }));
    EXPECT_EQ(ReadAll(readOnlyFont), font.bytes());
}

TEST_F(OnFiles, DiffNamesEachValueThatDiffers) {
    const std::string a = Font(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f, 1), Glyph(0.5f, 0.5f, 0.5625f)}), "a.gmf");
    const std::string b = Font(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f, 1), Glyph(Edit(129), 0.5f, 0.5625f), Glyph(0.75f, 0.5f, 0.8f)})
                                   .Header(20, 0.0625f, 0.03125f), "b.gmf");
    const Result differ = Gmftool({"diff", a, b});
    EXPECT_EQ(differ.status, 1);
    EXPECT_EQ(differ.out, "glyph_count: 2 -> 3\nfont_size: 16 -> 20\nglyph 2: left 128 -> 129\nglyph 3: only in the second font\n");
    const Result same = Gmftool({"diff", a, a});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "");
}

TEST_F(OnFiles, CheckFindsEachKindOfProblem) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const auto aspect = [](float left, float right) { return font::ComputeAspect(left, right, 0.0625f); };
    // The ink lies in rows 64 to 95, which a Top of 32 edit units covers.
    const std::string path = Font(FontBytes::LayoutA({
        Glyph(Edit(10), Edit(32), Edit(30), aspect(Edit(10), Edit(30))),     // 1: clean, on ink
        Glyph(Edit(40), Edit(32), Edit(43), aspect(Edit(40), Edit(43))),     // 2: narrow
        Glyph(Edit(60), Edit(32), Edit(50), aspect(Edit(60), Edit(50))),     // 3: right left of left (and narrow)
        Glyph(Edit(70), Edit(250), Edit(90), aspect(Edit(70), Edit(90))),    // 4: below the texture
        Glyph(Edit(100), Edit(32), Edit(120), 7),                            // 5: stale aspect
        Glyph(Edit(130), Edit(32), std::numeric_limits<float>::infinity(), 1),  // 6: infinite
        Glyph(Edit(160), Edit(200), Edit(180), aspect(Edit(160), Edit(180))),   // 7 and 8 overlap
        Glyph(Edit(170), Edit(210), Edit(190), aspect(Edit(170), Edit(190))),
        Glyph(Edit(200), Edit(32), Edit(220), aspect(Edit(200), Edit(220))),    // 9: no ink
        Glyph(Edit(235), Edit(32), Edit(245), aspect(Edit(235), Edit(245))),    // 10: ink runs past both edges
    }).Truncate(44 + 10 * 16 - 4).Header(16, 0.0625f, nan));
    dir.Write("font1.bmp", Texture(512, {{20, 59}, {100, 119}, {460, 500}}));
    const Result result = Gmftool({"check", path});
    EXPECT_EQ(result.status, 1) << result.err;
    for (const char* line : {"font: the file ends at byte 200", "glyph 2: narrower than 4", "glyph 3: the right edge (50) is left of",
                             "glyph 4: reaches outside the texture", "glyph 5: aspect 7 is stale", "glyph 6: right is infinite",
                             "glyph 7: overlaps glyph 8", "glyph 9: its rectangle holds no ink",
                             "glyph 10: its ink runs on past the left edge", "glyph 10: its ink runs on past the right edge"}) {
        EXPECT_NE(("\n" + result.out).find(std::string("\n") + line), std::string::npos) << line << " in\n" << result.out;
    }
    EXPECT_EQ(result.out.find("glyph 1:"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.rfind("font: the file ends", 0), 0u) << "the whole font's problem first";

    const std::string clean = Font(FontBytes::LayoutB({Glyph(Edit(10), Edit(16), Edit(30), aspect(Edit(10), Edit(30)))}), "clean.gmf");
    const Result none = Gmftool({"check", clean});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "");
}

TEST_F(OnFiles, FitMovesEdgesToTheInkAndStoresAsTheWindowDoes) {
    // Ink in rows 64 to 95 (Top 32, CellHeight 16 edit units), in columns 20-39, 51-60, 100-129, 140-149.
    dir.Write("font1.bmp", Texture(512, {{20, 39}, {51, 60}, {100, 129}, {140, 149}}));
    const std::vector<font::GlyphRecord> glyphs = {
        Glyph(Edit(5), Edit(32), Edit(23)),    // too wide around 20-39
        Glyph(Edit(24), Edit(32), Edit(33)),   // odd columns 51-60
        Glyph(Edit(53), Edit(32), Edit(60)),   // too narrow inside 100-129
        Glyph(Edit(72), Edit(32), Edit(80)),   // shifted right of 140-149
        Glyph(Edit(100), Edit(32), Edit(110)), // no ink
        Glyph(Edit(10), Edit(32), Edit(20)),   // edges already on the ink: not written, though its aspect is stale
    };
    const std::string path = Font(FontBytes::LayoutA(glyphs).Header(16, 0.0625f, 0));
    const std::string expected = Font(FontBytes::LayoutA(glyphs).Header(16, 0.0625f, 0), "window.gmf");
    font::FontState state;
    font::LoadFont(expected, state, {[] {}, [] {}, [] {}});
    const struct { std::int16_t index; const char* left; const char* right; } stores[] = {
        {0, "10", "20"}, {1, "25", "31"}, {2, "50", "65"}, {3, "70", "75"}};
    for (const auto& s : stores) font::StoreGlyph(expected, state, {s.left, "32", s.right}, '.', [&] { return s.index; });

    const Result dry = Gmftool({"fit", path, "--dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(ReadAll(path), FontBytes::LayoutA(glyphs).Header(16, 0.0625f, 0).bytes()) << "a dry run writes nothing";

    const Result fit = Gmftool({"fit", path});
    EXPECT_EQ(fit.status, 0) << fit.err;
    EXPECT_EQ(fit.out,
              "glyph 1: left 5 -> 10, right 23 -> 20\nglyph 2: left 24 -> 25, right 33 -> 31\n"
              "glyph 3: left 53 -> 50, right 60 -> 65\nglyph 4: left 72 -> 70, right 80 -> 75\n"
              "glyph 5: left alone: no ink\n");
    EXPECT_EQ(ReadAll(path), ReadAll(expected));

    // Ranges, margins and a reach too short to follow the ink.
    EXPECT_EQ(Gmftool({"fit", path, "--glyphs", "3", "--margin", "2", "--reach", "0", "--dry-run"}).out,
              "glyph 3: left 50 -> 48, right 65 -> 67\n(dry run: nothing written)\n");
}

// An RLE8 texture, as ImageMagick saves a palette picture, is read as its 24-bit twin.
TEST_F(OnFiles, FitReadsARunLengthEncodedTexture) {
    const std::string font = Font(FontBytes::LayoutA({Glyph(Edit(5), Edit(32), Edit(23)), Glyph(Edit(24), Edit(32), Edit(33))}));
    const std::vector<testing_support::InkBlock> ink = {{20, 39, 64, 95}, {51, 60, 64, 95}};
    dir.Write("plain.bmp", testing_support::InkOnWhite(512, ink));
    dir.Write("rle8.bmp", testing_support::Rle8InkOnWhite(512, ink));
    const Result rle = Gmftool({"fit", font, "--picture", dir.Path("rle8.bmp"), "--dry-run"});
    EXPECT_EQ(rle.status, 0) << rle.err;
    EXPECT_EQ(rle.out, Gmftool({"fit", font, "--picture", dir.Path("plain.bmp"), "--dry-run"}).out);
    EXPECT_EQ(rle.out, "glyph 1: left 5 -> 10, right 23 -> 20\nglyph 2: left 24 -> 25, right 33 -> 31\n(dry run: nothing written)\n");
}

// The same glyphs drawn at twice the size on a 1,024 x 1,024 TGA, opaque or as white ink on
// clear alpha (where the colour rule would find the clear black the ink), fit to the same edges;
// a TGA beside the font is found when no BMP is; check names it, overview draws at its size.
TEST_F(OnFiles, FitCheckAndOverviewTakeATgaAtItsOwnSize) {
    const std::vector<std::byte> font = FontBytes::LayoutA({Glyph(Edit(5), Edit(32), Edit(23)), Glyph(Edit(24), Edit(32), Edit(33))}).bytes();
    const std::vector<testing_support::InkBlock> ink = {{20, 39, 64, 95}, {51, 60, 64, 95}};
    dir.Write("plain.bmp", testing_support::InkOnWhite(512, ink));
    const Result bmp = Gmftool({"fit", dir.Write("a.gmf", font), "--picture", dir.Path("plain.bmp")});
    // Clear pixels keep whatever colour the image editor left: some black ones left of glyph 1's
    // ink, which the colour rule would take for ink.
    const auto doubled = [&](picture::Rgba background, picture::Rgba inked) {
        picture::Image image = picture::Filled(1024, 1024, background);
        for (int y = 140; y < 160 && background.a == 0; ++y) {
            for (int x = 24; x < 30; ++x) image.At(x, y) = {0, 0, 0, 0};
        }
        for (const auto& block : ink) {
            for (int y = 2 * block.firstRow; y <= 2 * block.lastRow + 1; ++y) {
                for (int x = 2 * block.firstColumn; x <= 2 * block.lastColumn + 1; ++x) image.At(x, y) = inked;
            }
        }
        return image;
    };
    const struct { const char* what; std::vector<std::byte> tga; const char* named; } rows[] = {
        {"white ink on clear alpha, run-length", testing_support::Tga32(doubled({255, 255, 255, 0}, {255, 255, 255, 255}), true),
         "texture: 1024 x 1024 TGA, type 10 (run-length true-colour), 32 bits, from the top left, with alpha\n"},
        {"black ink on white, raw", testing_support::Tga32(doubled({255, 255, 255, 255}, {0, 0, 0, 255}), false),
         "texture: 1024 x 1024 TGA, type 2 (true-colour), 32 bits, from the top left, with alpha\n"},
    };
    for (const auto& row : rows) {
        const std::string fontPath = dir.Write("font.gmf", font);
        dir.Write("font.tga", row.tga);
        EXPECT_EQ(Gmftool({"check", fontPath}).out.rfind(row.named, 0), 0u) << row.what;
        const Result fit = Gmftool({"fit", fontPath});
        EXPECT_EQ(fit.status, 0) << fit.err;
        EXPECT_EQ(fit.out, bmp.out) << row.what;
        EXPECT_EQ(ReadAll(fontPath), ReadAll(dir.Path("a.gmf"))) << row.what;
        ASSERT_EQ(Gmftool({"overview", fontPath, "-o", dir.Path("o.png")}).status, 0) << row.what;
        const std::vector<std::byte> png = ReadAll(dir.Path("o.png"));
        EXPECT_EQ(std::to_integer<int>(png.at(18)) << 8 | std::to_integer<int>(png.at(19)), 1024) << row.what << ": the PNG's width";
        std::filesystem::remove(dir.Path("o.png"));
    }
    EXPECT_EQ(bmp.out, "glyph 1: left 5 -> 10, right 23 -> 20\nglyph 2: left 24 -> 25, right 33 -> 31\n");
    const Result refused = Gmftool({"fit", dir.Path("font.gmf"), "--picture", dir.Write("32.tga", testing_support::Tga{.type = 32}.Build())});
    EXPECT_EQ(refused.err, "gmftool: " + dir.Path("32.tga") + ": TGA type 32 is not read\n");
    EXPECT_EQ(refused.status, 2);
}

TEST_F(OnFiles, BadInputStopsWithStatus2AndWritesNothing) {
    const std::string font = Font(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f)}));
    const std::string shortFile = dir.Write("short.gmf", std::vector<std::byte>(10));
    std::filesystem::create_directory(dir.Path("folder.gmf"));
    dir.Write("small.bmp", Texture(256, {}));
    dir.Write("noise.bmp", std::vector<std::byte>(600, std::byte{0x42}));
    // Half a texture, as an image editor leaves it while it writes: the missing rows would read as ink.
    const std::vector<std::byte> whole = Texture(512, {{20, 39}});
    const std::vector<std::byte> half(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2));
    const std::string halfPath = dir.Write("half.bmp", half);
    const Result cutShort = Gmftool({"fit", font, "--picture", halfPath});
    EXPECT_EQ(cutShort.err, "gmftool: " + halfPath + ": the picture ends at byte " + std::to_string(half.size()) + "; its pixels need " +
                                std::to_string(whole.size()) + "\n");
    const std::vector<std::string> calls[] = {
        {"info", dir.Path("missing.gmf")}, {"dump", dir.Path("folder.gmf")}, {"check", shortFile},
        {"fit", font, "--picture", dir.Path("small.bmp")}, {"overview", font, "--picture", dir.Path("noise.bmp"), "-o", dir.Path("o.png")},
        {"check", font, "--picture", halfPath}, {"overview", font, "--picture", halfPath, "-o", dir.Path("o.png")},
        {"fit", font, "--glyphs", "2", "--picture", dir.Path("small.bmp")}, {"fit", font, "--margin", "x"},
        {"info", font, "--bogus"}, {"diff", font}, {"restore", font, dir.Path("missing.txt")}, {"frobnicate"}, {"fit", font},
    };
    for (const auto& call : calls) {
        const Result result = Gmftool(call);
        EXPECT_EQ(result.status, 2) << call[0] << " " << call.back();
        EXPECT_EQ(result.err.rfind("gmftool: ", 0), 0u) << result.err;
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
    }
    EXPECT_EQ(ReadAll(font), FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f)}).bytes());
    EXPECT_FALSE(std::filesystem::exists(dir.Path("o.png")));
}

}  // namespace
