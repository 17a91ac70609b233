// Where a texture holds ink and how a glyph's edges follow it, at the exact edges.
#include "picture/ink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "font/geometry.h"
#include "runtime/failure.h"

namespace {

using picture::Rgba;

constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kInk{0, 0, 0, 255};

picture::Image Row(const std::vector<Rgba>& pixels) { return {static_cast<int>(pixels.size()), 1, pixels}; }

std::vector<bool> InkOf(const picture::Image& image, int threshold) {
    const picture::InkMap ink(image, threshold);
    std::vector<bool> found;
    for (int x = 0; x < ink.width(); ++x) found.push_back(ink.IsInk(x, 0));
    return found;
}

TEST(InkMap, TheBackgroundIsTheColourThatFirstReachesTheHighestCount) {
    const Rgba a{10, 20, 30, 255};
    const Rgba b{40, 50, 60, 255};
    const struct { const char* what; std::vector<Rgba> pixels; std::vector<bool> ink; } rows[] = {
        {"one colour", {a, a, a}, {false, false, false}},
        {"a tie, b reaches 2 first", {a, b, b, a}, {true, false, false, true}},
        {"a tie, a reaches 2 first", {a, b, a, b}, {false, true, false, true}},
        {"a tie of single pixels: the first", {b, a}, {false, true}},
        {"the most frequent, wherever it is", {a, b, a, b, b}, {true, false, true, false, false}},
        {"alpha alone tells colours apart", {a, {10, 20, 30, 0}, {10, 20, 30, 0}}, {true, false, false}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(InkOf(Row(row.pixels), 0), row.ink) << row.what;
        const auto background = std::find(row.ink.begin(), row.ink.end(), false) - row.ink.begin();
        EXPECT_EQ(picture::MostFrequentColour(Row(row.pixels)), row.pixels[static_cast<std::size_t>(background)]) << row.what;
    }
    // Rows longer than the blocks pixels are compared in, the first pixel more or less than half.
    const auto runs = [](std::initializer_list<std::pair<Rgba, int>> parts) {
        std::vector<Rgba> pixels;
        for (const auto& [colour, count] : parts) pixels.insert(pixels.end(), static_cast<std::size_t>(count), colour);
        return Row(pixels);
    };
    const std::vector<bool> firstAlone = InkOf(runs({{a, 1}, {b, 69}}), 0);
    EXPECT_EQ(std::count(firstAlone.begin(), firstAlone.end(), true), 1);
    EXPECT_TRUE(firstAlone[0]);
    for (const int threshold : {0, 5}) {
        const std::vector<bool> halfAndOne = InkOf(runs({{b, 32}, {a, 66}, {b, 33}}), threshold);
        EXPECT_EQ(std::count(halfAndOne.begin(), halfAndOne.end(), true), 65) << threshold;
        EXPECT_FALSE(halfAndOne[40]) << threshold;
        const std::vector<bool> justHalf = InkOf(runs({{a, 65}, {b, 65}}), threshold);
        EXPECT_EQ(std::count(justHalf.begin(), justHalf.end(), true), 65) << threshold;
        EXPECT_TRUE(justHalf[65]) << threshold;
        const std::vector<bool> halfLater = InkOf(runs({{a, 1}, {b, 65}, {a, 64}}), threshold);
        EXPECT_EQ(std::count(halfLater.begin(), halfLater.end(), true), 65) << threshold;
        EXPECT_TRUE(halfLater[0]) << threshold;
    }
    EXPECT_EQ(picture::MostFrequentColour(runs({{a, 1}, {b, 65}, {a, 64}})), b);
}

// Alpha alone decides where a picture keeps alpha that is not opaque everywhere: a clear pixel of
// any colour is background, ink has alpha over the threshold.
TEST(InkMap, ByAlphaWhereThePictureIsNotOpaqueEverywhere) {
    const struct { const char* what; std::vector<Rgba> pixels; bool alpha; int threshold; std::vector<bool> ink; } rows[] = {
        {"by alpha", {{0, 0, 0, 0}, {255, 255, 255, 0}, {9, 9, 9, 1}, {0, 0, 0, 255}}, true, 0, {false, false, true, true}},
        {"at the threshold and over it", {{0, 0, 0, 0}, {0, 0, 0, 100}, {0, 0, 0, 101}, {0, 0, 0, 0}}, true, 100, {false, false, true, false}},
        {"partly clear, none wholly", {{9, 9, 9, 128}, {9, 9, 9, 128}, {9, 9, 9, 255}}, true, 0, {true, true, true}},
        {"opaque everywhere: by colour", {kWhite, kWhite, kInk}, true, 0, {false, false, true}},
        {"no alpha channel named: by colour", {{0, 0, 0, 0}, {0, 0, 0, 0}, {255, 255, 255, 0}}, false, 0, {false, false, true}},
    };
    for (const auto& row : rows) {
        picture::Picture picture{Row(row.pixels), {}};
        picture.format.alpha = row.alpha;
        const picture::InkMap ink(picture, row.threshold);
        std::vector<bool> found;
        for (int x = 0; x < ink.width(); ++x) found.push_back(ink.IsInk(x, 0));
        EXPECT_EQ(found, row.ink) << row.what;
    }
}

TEST(InkMap, InkDiffersByMoreThanTheThresholdInAnyChannel) {
    // The pixel under test is the last one; the background (the first two) is white or a colour
    // whose channels all differ, so that a channel compared with the wrong one shows.
    constexpr Rgba kColour{200, 100, 50, 220};
    const struct { Rgba background, pixel; int threshold; bool ink; } rows[] = {
        {kWhite, {254, 255, 255, 255}, 0, true}, {kWhite, {255, 255, 254, 255}, 0, true}, {kWhite, {255, 255, 255, 254}, 0, true},
        {kWhite, {245, 255, 255, 255}, 10, false}, {kWhite, {244, 255, 255, 255}, 10, true},
        {kWhite, {255, 245, 255, 255}, 10, false}, {kWhite, {255, 244, 255, 255}, 10, true},
        {kWhite, {255, 255, 245, 255}, 10, false}, {kWhite, {255, 255, 244, 255}, 10, true},
        {kWhite, {255, 255, 255, 245}, 10, false}, {kWhite, {255, 255, 255, 244}, 10, true},
        {kWhite, {245, 245, 245, 245}, 10, false}, {kWhite, {0, 0, 0, 0}, 255, false}, {kWhite, {0, 0, 0, 0}, 254, true},
        {kColour, {210, 100, 50, 220}, 10, false}, {kColour, {211, 100, 50, 220}, 10, true}, {kColour, {189, 100, 50, 220}, 10, true},
        {kColour, {200, 90, 50, 220}, 10, false}, {kColour, {200, 111, 50, 220}, 10, true},
        {kColour, {200, 100, 60, 220}, 10, false}, {kColour, {200, 100, 39, 220}, 10, true},
        {kColour, {200, 100, 50, 230}, 10, false}, {kColour, {200, 100, 50, 209}, 10, true},
        {kColour, {210, 90, 60, 230}, 10, false}, {kColour, {200, 100, 50, 221}, 0, true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(InkOf(Row({row.background, row.background, row.pixel}), row.threshold).back(), row.ink)
            << int{row.pixel.r} << "," << int{row.pixel.g} << "," << int{row.pixel.b} << "," << int{row.pixel.a} << " threshold " << row.threshold;
    }
}

// A glyph in preview pixels: columns x0 up to x1, rows from y0, cells of the given height.
struct Cell {
    int x0, x1, y0, height;
    font::GlyphRecord Record() const {
        return {static_cast<float>(x0) / 512, static_cast<float>(y0) / 512, static_cast<float>(x1) / 512, 0.5f};
    }
    float CellHeight() const { return static_cast<float>(height) / 512; }
};

picture::GlyphInk Find(const Cell& cell, const std::vector<std::pair<int, int>>& ink, int reach) {
    picture::Image image = picture::Filled(512, 512, kWhite);
    for (const auto& [x, y] : ink) image.At(x, y) = kInk;
    return picture::FindGlyphInk(picture::InkMap(image, 0), cell.Record(), cell.CellHeight(), reach);
}

TEST(GlyphInk, InkInsideTheCellsColumnsAndRows) {
    const Cell cell{100, 120, 200, 16};  // columns 100..119, rows 200..215
    using Range = std::optional<std::pair<int, int>>;
    const struct { const char* what; Cell cell; std::vector<std::pair<int, int>> ink; Range inside; } rows[] = {
        {"first column", cell, {{100, 205}}, std::pair(100, 100)},
        {"only the last column", cell, {{119, 205}}, std::pair(119, 119)},
        {"first and last", cell, {{119, 200}, {100, 215}}, std::pair(100, 119)},
        {"one right of the last column", cell, {{120, 205}}, std::nullopt},
        {"one left of the first column", cell, {{99, 205}}, std::nullopt},
        {"one row above", cell, {{110, 199}}, std::nullopt},
        {"one row below", cell, {{110, 216}}, std::nullopt},
        {"the picture's last column", {500, 512, 200, 16}, {{511, 210}}, std::pair(511, 511)},
        {"the picture's first column", {0, 12, 200, 16}, {{0, 210}}, std::pair(0, 0)},
        {"the picture's last row", {100, 120, 500, 12}, {{110, 511}}, std::pair(110, 110)},
        {"a cell reaching past the picture", {500, 530, 500, 30}, {{511, 511}}, std::pair(511, 511)},
        {"a cell above the picture", {100, 120, -8, 16}, {{110, 0}, {105, 7}}, std::pair(105, 110)},
        {"no width", {110, 110, 200, 16}, {{110, 205}}, std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(Find(row.cell, row.ink, 0).InkInside(), row.inside) << row.what;
}

TEST(GlyphInk, ColumnsAreLookedAtAsFarAsTheReach) {
    const Cell cell{100, 120, 200, 16};
    const struct { int column; int reach; bool seen; } rows[] = {
        {97, 3, true}, {96, 3, false}, {122, 3, true}, {123, 3, false}, {99, 0, false}, {120, 0, false}, {119, 0, true},
    };
    for (const auto& row : rows) {
        const picture::GlyphInk found = Find(cell, {{row.column, 205}}, row.reach);
        EXPECT_EQ(found.inkColumns[static_cast<std::size_t>(row.column)], row.seen) << row.column << " reach " << row.reach;
    }
    EXPECT_EQ(Find({500, 512, 200, 16}, {{511, 205}}, 3).inkColumns.size(), 512u);
}

TEST(GlyphInk, InkRunningPastAnEdge) {
    const Cell cell{100, 120, 200, 16};
    const struct { const char* what; Cell cell; std::vector<int> columns; bool left, right; } rows[] = {
        {"first column and the one left of it", cell, {99, 100}, true, false},
        {"first column only", cell, {100}, false, false},
        {"left of the first column only", cell, {99}, false, false},
        {"last column and the one right of it", cell, {119, 120}, false, true},
        {"last column only", cell, {119}, false, false},
        {"right of the last column only", cell, {120}, false, false},
        {"both", cell, {99, 100, 119, 120}, true, true},
        {"at the picture's left side", {0, 10, 200, 16}, {0}, false, false},
        {"at the picture's right side", {500, 512, 200, 16}, {511}, false, false},
        {"a cell of no width between ink", {110, 110, 200, 16}, {109, 110}, false, false},
    };
    for (const auto& row : rows) {
        std::vector<std::pair<int, int>> ink;
        for (const int x : row.columns) ink.emplace_back(x, 207);
        const picture::GlyphInk found = Find(row.cell, ink, 1);
        EXPECT_EQ(found.RunsPastLeft(), row.left) << row.what;
        EXPECT_EQ(found.RunsPastRight(), row.right) << row.what;
    }
}

picture::GlyphInk Columns(int x0, int x1, const std::vector<std::pair<int, int>>& inkRuns, std::size_t width = 512) {
    picture::GlyphInk glyph;
    glyph.x0 = x0;
    glyph.x1 = x1;
    glyph.inkColumns.assign(width, false);
    for (const auto& [first, last] : inkRuns) {
        for (int x = first; x <= last; ++x) glyph.inkColumns[static_cast<std::size_t>(x)] = true;
    }
    return glyph;
}

TEST(FitToInk, EdgesFromTheInkColumns) {
    using Edges = std::optional<std::pair<int, int>>;
    const struct { const char* what; picture::GlyphInk glyph; picture::FitRule rule; Edges edges; } rows[] = {
        {"even first, odd last", Columns(10, 100, {{20, 39}}), {0, 0}, std::pair(10, 20)},
        {"odd first, even last", Columns(10, 100, {{21, 40}}), {0, 0}, std::pair(10, 21)},
        {"one column", Columns(10, 100, {{51, 51}}), {0, 0}, std::pair(25, 26)},
        {"the outermost ink inside", Columns(10, 100, {{30, 31}, {60, 61}}), {0, 0}, std::pair(15, 31)},
        {"followed left as far as the reach", Columns(22, 40, {{6, 30}}), {0, 16}, std::pair(3, 16)},
        {"not one column further", Columns(22, 40, {{5, 30}}), {0, 16}, std::pair(3, 16)},
        {"the reach's last column, odd", Columns(21, 40, {{5, 30}}), {0, 16}, std::pair(2, 16)},
        {"followed right as far as the reach", Columns(10, 40, {{20, 55}}), {0, 16}, std::pair(10, 28)},
        {"not one column further right", Columns(10, 40, {{20, 56}}), {0, 16}, std::pair(10, 28)},
        {"the reach's last column on the right, even", Columns(10, 41, {{20, 56}}), {0, 16}, std::pair(10, 29)},
        {"a gap stops the following", Columns(20, 40, {{10, 12}, {14, 30}, {39, 41}, {43, 45}}), {0, 16}, std::pair(7, 21)},
        {"reach 0 keeps to the cell", Columns(20, 40, {{10, 50}}), {0, 0}, std::pair(10, 20)},
        {"margin on both sides", Columns(10, 100, {{20, 39}}), {2, 0}, std::pair(8, 22)},
        {"a negative margin", Columns(10, 100, {{20, 39}}), {-3, 0}, std::pair(13, 17)},
        {"held at the picture's left side", Columns(0, 10, {{0, 5}}), {1, 16}, std::pair(0, 4)},
        {"held at the picture's right side", Columns(500, 512, {{505, 511}}), {1, 16}, std::pair(251, 256)},
        {"ink only outside the cell", Columns(20, 40, {{10, 19}, {40, 50}}), {0, 16}, std::nullopt},
        // Four columns to a unit: the unit each end's column lies in, the reach twice as far.
        {"1,024 columns: ends inside units", Columns(20, 200, {{43, 80}}, 1024), {0, 0}, std::pair(10, 21)},
        {"1,024 columns: ends on units' edges", Columns(20, 200, {{44, 79}}, 1024), {0, 0}, std::pair(11, 20)},
        {"1,024 columns: the reach's last column", Columns(44, 100, {{12, 50}}, 1024), {0, 16}, std::pair(3, 13)},
        {"1,024 columns: not one column further", Columns(44, 100, {{11, 50}}, 1024), {0, 16}, std::pair(3, 13)},
        {"1,024 columns: held at the right side", Columns(1000, 1024, {{1010, 1023}}, 1024), {0, 16}, std::pair(252, 256)},
        // Two units to a column.
        {"256 columns", Columns(10, 100, {{20, 39}}, 256), {0, 0}, std::pair(20, 40)},
        {"256 columns: a reach of half a column is one", Columns(10, 20, {{8, 15}}, 256), {0, 1}, std::pair(9, 16)},
    };
    for (const auto& row : rows) {
        const auto edges = picture::FitToInk(row.glyph, row.rule);
        EXPECT_EQ(edges ? Edges(std::pair(edges->left, edges->right)) : Edges(), row.edges) << row.what;
    }
}

TEST(FitGlyph, TheRecordAsTheWindowStoresItOrNoneWithoutInk) {
    picture::Image image = picture::Filled(512, 512, kWhite);
    for (int x = 21; x <= 40; ++x) image.At(x, 60) = kInk;
    const picture::InkMap ink(image, 0);
    const float cellHeight = 16.0f / 512;
    const font::GlyphRecord glyph{10.0f / 512, 0.1f, 30.0f / 512, 7};  // rows 51..66+, columns 10..29

    const auto fitted = picture::FitGlyph(ink, glyph, cellHeight, {1, 16});
    ASSERT_TRUE(fitted);
    EXPECT_EQ(fitted->Left, 9.0f / 256);
    EXPECT_EQ(fitted->Top, 0.1f);
    EXPECT_EQ(fitted->Right, 22.0f / 256);
    EXPECT_EQ(fitted->Aspect, font::ComputeAspect(9.0f / 256, 22.0f / 256, cellHeight));

    EXPECT_FALSE(picture::FitGlyph(ink, {100.0f / 512, 0.1f, 120.0f / 512, 7}, cellHeight, {}));
    EXPECT_FALSE(picture::FitGlyph(ink, glyph, 1.0f / 512, {})) << "row 60 lies below a cell of 1 row";
    EXPECT_THROW(picture::FitGlyph(ink, {1e30f, 0.1f, 1e30f, 7}, cellHeight, {}), runtime::Failure);
}

}  // namespace
