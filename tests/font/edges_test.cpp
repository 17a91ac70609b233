// The font model's comparisons at their exact edges, a row each side.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "font/font_file.h"
#include "font/geometry.h"
#include "font/texture.h"
#include "tests/support/bmp.h"
#include "tests/support/font_bytes.h"
#include "tests/support/temp_dir.h"

namespace {

using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::TempDir;

float Edit(double editUnits) { return static_cast<float>(editUnits / 256); }
float Below(float value) { return std::nextafter(value, -INFINITY); }

TEST(ComputeAspect, DifferenceAndQuotientInDoubleRoundedOnce) {
    // Rounding the difference to binary32 first gives 13.3463535f.
    EXPECT_EQ(font::ComputeAspect(std::ldexp(1.0f, -22), 1025.0f / 256, 0.3f), 13.3463526f);
    EXPECT_EQ(font::ComputeAspect(std::ldexp(1.0f, -22), 1025.0f / 256, 0.3f),
              static_cast<float>((1025.0 / 256 - std::ldexp(1.0, -22)) / double{0.3f}));
}

TEST(IsTooNarrow, FourEditUnitsIsTheEdge) {
    const struct { float left, right; bool narrow; } rows[] = {
        {0, Edit(4), false},                  // exactly 4 from 0
        {0, Below(Edit(4)), true},            // the least bit less
        {Edit(100), Edit(104), false},        // exactly 4 elsewhere
        {Edit(100), Edit(103.5), true},
        {Edit(252), 1, false},                // reaching the texture's right side
        {Edit(10), Edit(13), true},           // 3
        {Edit(10), Edit(10), true},           // no width
        {Edit(20), Edit(10), true},           // right of left reversed
        {Edit(-4), 0, false},
        {Edit(10), Edit(300), false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(font::IsTooNarrow(Glyph(row.left, 0, row.right)), row.narrow) << row.left * 256 << " .. " << row.right * 256;
    }
}

using Pixels = std::vector<std::pair<int, int>>;

Pixels Outline(std::int32_t x0, std::int32_t y0, std::int32_t x1, float cellHeight) {
    Pixels pixels;
    font::ForEachOutlinePixel(font::PlanOutline(x0, y0, x1, cellHeight, font::kTextureSize),
                              [&](std::int32_t x, std::int32_t y) { pixels.emplace_back(x, y); });
    return pixels;
}

bool Lit(const Pixels& pixels, int x, int y) {
    for (const auto& p : pixels) {
        if (p == std::pair(x, y)) return true;
    }
    return false;
}

TEST(OutlinePixels, EveryPixelInDrawingOrder) {
    // Edges 10..14 in rows 20 and 25, the right side in column 15, the left in 10, rows 20..25.
    const Pixels expected = {{10, 20}, {10, 25}, {11, 20}, {11, 25}, {12, 20}, {12, 25}, {13, 20}, {13, 25}, {14, 20}, {14, 25},
                             {15, 20}, {15, 21}, {15, 22}, {15, 23}, {15, 24}, {15, 25},
                             {10, 20}, {10, 21}, {10, 22}, {10, 23}, {10, 24}, {10, 25}};
    EXPECT_EQ(Outline(10, 20, 18, 5.0f / 512), expected);
}

TEST(OutlinePixels, EdgesOfThePictureAndOfTheCell) {
    const struct { const char* what; std::int32_t x0, y0, x1; float cellHeight; Pixels lit, dark; std::size_t count; } rows[] = {
        {"right side in the last column", 500, 100, 514, 4.0f / 512, {{511, 100}, {511, 104}, {510, 100}, {510, 104}}, {{512, 100}}, 11 * 2 + 5 * 2},
        {"right side one past the picture", 500, 100, 515, 4.0f / 512, {{511, 100}, {511, 104}, {500, 102}}, {{511, 102}}, 12 * 2 + 5},
        {"left side and top row at 0", 0, 0, 8, 4.0f / 512, {{0, 0}, {0, 4}, {0, 2}, {4, 0}, {5, 3}}, {{6, 0}}, 5 * 2 + 5 * 2},
        {"a cell exactly 4 pixels wide has one edge column", 40, 40, 44, 2.0f / 512, {{40, 40}, {40, 42}, {41, 41}}, {{39, 40}, {42, 40}}, 2 + 3 * 2},
        {"3 pixels wide: sides only", 40, 40, 43, 2.0f / 512, {{40, 41}, {40, 40}}, {{41, 40}}, 3 * 2},
        {"a half-row bottom lights the row below", 40, 10, 48, 20.5f / 512, {{41, 31}, {45, 30}, {40, 30}}, {{41, 30}, {45, 31}}, 5 * 2 + 21 * 2},
        {"bottom edge in the last row", 40, 496, 48, 15.0f / 512, {{41, 511}, {40, 511}, {45, 511}}, {}, 5 * 2 + 16 * 2},
        {"bottom edge one past the picture", 40, 497, 48, 15.0f / 512, {{41, 497}, {40, 511}, {45, 511}}, {{41, 511}}, 5 + 15 * 2},
        {"top row one above the picture", 40, -1, 48, 4.0f / 512, {{41, 3}, {40, 0}, {40, 3}}, {{40, 4}}, 5 + 4 * 2},
    };
    for (const auto& row : rows) {
        const Pixels pixels = Outline(row.x0, row.y0, row.x1, row.cellHeight);
        for (const auto& [x, y] : row.lit) EXPECT_TRUE(Lit(pixels, x, y)) << row.what << ": " << x << "," << y;
        for (const auto& [x, y] : row.dark) EXPECT_FALSE(Lit(pixels, x, y)) << row.what << ": " << x << "," << y;
        EXPECT_EQ(pixels.size(), row.count) << row.what;
        for (const auto& [x, y] : pixels) {
            EXPECT_TRUE(x >= 0 && x < 512 && y >= 0 && y < 512) << row.what << ": " << x << "," << y;
        }
    }
}

TEST(ReadFontTable, TheTableAndWhereItEnds) {
    std::vector<font::GlyphRecord> thousandAndTwo;
    for (int i = 0; i < 1002; ++i) thousandAndTwo.push_back(Glyph(Edit(i % 200), 0, Edit(i % 200 + 8), static_cast<float>(i + 1)));
    const std::vector<font::GlyphRecord> thousand(thousandAndTwo.begin(), thousandAndTwo.begin() + 1000);
    const std::vector<font::GlyphRecord> three(thousandAndTwo.begin(), thousandAndTwo.begin() + 3);
    const struct { const char* what; FontBytes bytes; std::int16_t base; std::int32_t count; std::uint64_t end, size; bool cut; } rows[] = {
        {"three glyphs and an empty record", FontBytes::LayoutA(three), 44, 3, 92, 108, false},
        {"a table that runs to the file's very end", FontBytes::LayoutA(three).Truncate(92), 44, 3, 92, 92, false},
        {"the last record one byte short", FontBytes::LayoutA(three).Truncate(91), 44, 3, 92, 91, true},
        {"layout B", FontBytes::LayoutB(three).Truncate(600), 552, 3, 600, 600, false},
        {"no glyphs", FontBytes::LayoutB({}), 552, 0, 552, 568, false},
        {"no glyphs, the file ending before the table's place", FontBytes::LayoutB({}).Truncate(100), 552, 0, 552, 100, false},
        {"1000 glyphs", FontBytes::LayoutA(thousand), 44, 1000, 16044, 16060, false},
        {"1001 read of 1002", FontBytes::LayoutA(thousandAndTwo), 44, 1001, 16060, 16092, false},
    };
    TempDir dir;
    for (const auto& row : rows) {
        const std::string path = dir.Write("font.gmf", row.bytes.bytes());
        runtime::BinaryFile file = runtime::BinaryFile::OpenForReading(path);
        const font::FontTable table = font::ReadFontTable(file);
        EXPECT_EQ(table.state.TableBase, row.base) << row.what;
        EXPECT_EQ(table.state.GlyphCount, row.count) << row.what;
        ASSERT_EQ(table.glyphs.size(), static_cast<std::size_t>(row.count)) << row.what;
        EXPECT_EQ(font::TableEnd(table.state), row.end) << row.what;
        EXPECT_EQ(table.fileSize, row.size) << row.what;
        EXPECT_EQ(font::EndsInsideTable(table.state, table.fileSize), row.cut) << row.what;
        EXPECT_EQ(table.state.CellHeight, 0.0625f) << row.what;
        if (row.count > 0) {
            // The last glyph is read from its own place (its Aspect numbers it).
            const std::size_t last = table.glyphs.size() - 1;
            EXPECT_EQ(table.glyphs[last].Left, thousandAndTwo[last].Left) << row.what;
            if (row.size >= row.end) {
                EXPECT_EQ(table.glyphs[last].Aspect, static_cast<float>(last + 1)) << row.what;
            }
        }
    }
}

TEST(TexturePicture, SizeAndWholenessOfABmpFromAnotherProgram) {
    const auto white = [](int w, int h) { return std::vector<std::uint8_t>(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4, 255); };
    const std::vector<std::byte> v5 = testing_support::Bmp32V5(512, 512, white(512, 512));
    const auto cut = [&](std::size_t size) { return std::vector<std::byte>(v5.begin(), v5.begin() + static_cast<std::ptrdiff_t>(size)); };
    auto longer = v5;
    longer.push_back(std::byte{0});
    auto undeclared = v5;
    undeclared[2] = undeclared[3] = undeclared[4] = undeclared[5] = std::byte{0};
    const struct { const char* what; std::vector<std::byte> bytes; std::int32_t width, height; bool texture, whole; } rows[] = {
        {"512 x 512 with a V5 header", v5, 512, 512, true, true},
        {"one byte short", cut(v5.size() - 1), 512, 512, true, false},
        {"one byte more", longer, 512, 512, true, true},
        {"no length in the header", undeclared, 512, 512, true, true},
        {"top-down rows", testing_support::Bmp32V5(512, -512, white(512, 512)), 512, -512, false, true},
        {"511 wide", testing_support::Bmp32V5(511, 512, white(511, 512)), 511, 512, false, true},
        {"513 high", testing_support::Bmp32V5(512, 513, white(512, 513)), 512, 513, false, true},
        {"the size fields only", cut(26), 512, 512, true, false},
    };
    TempDir dir;
    for (const auto& row : rows) {
        const std::string path = dir.Write("font1.bmp", row.bytes);
        const font::PictureSize size = font::ReadBmpSize(path);
        EXPECT_EQ(size.width, row.width) << row.what;
        EXPECT_EQ(size.height, row.height) << row.what;
        EXPECT_EQ(size.IsTextureSize(), row.texture) << row.what;
        EXPECT_EQ(font::IsWholeBmp(path), row.whole) << row.what;
    }
}

}  // namespace
