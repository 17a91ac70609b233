#include <gtest/gtest.h>

#include <algorithm>

#include "font/geometry.h"
#include "glyphs/render_plan.h"

namespace {

using glyphs::Placement;
using glyphs::RenderPlan;
using picture::Rgba;

constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kBlack{0, 0, 0, 255};

const glyphs::Typeface& DejaVu() {
    static const glyphs::Typeface face = glyphs::Typeface::Open(RUNEPLOT_TEST_TTF, std::nullopt);
    return face;
}

font::GlyphRecord Cell(int left, int top, int right, float cellHeight) {
    const float l = left / 256.0f, r = right / 256.0f;
    return {l, top / 256.0f, r, font::ComputeAspect(l, r, cellHeight)};
}

// A font of `count` glyphs 10 edit units wide, 2 apart, 21 to a row, over a white texture.
struct Scene {
    float cellHeight = 24 / 512.0f;
    std::vector<font::GlyphRecord> records;
    picture::Image texture = picture::Filled(512, 512, kWhite);

    explicit Scene(int count, int cellRows = 24) : cellHeight(static_cast<float>(cellRows) / 512) {
        const int rowEditUnits = cellRows / 2 + 2;
        for (int i = 0; i < count; ++i) records.push_back(Cell(12 * (i % 21), i / 21 * rowEditUnits, 12 * (i % 21) + 10, cellHeight));
    }
    RenderPlan Plan(const std::u32string& text, std::int32_t first, glyphs::RenderSettings settings = {}) const {
        std::vector<glyphs::CharAssignment> assignments;
        for (const char32_t c : text) assignments.push_back({first + static_cast<std::int32_t>(assignments.size()), c});
        return glyphs::PlanRender(DejaVu(), {cellHeight, &records}, texture, assignments, settings);
    }
};

int InkSpan(const std::u32string& text, int px) {
    int top = -1000, bottom = 1000;
    for (const char32_t c : text) {
        const glyphs::GlyphBox box = DejaVu().Measure(DejaVu().GlyphFor(c), {px, glyphs::Hinting::Light, false});
        top = std::max(top, box.top);
        bottom = std::min(bottom, box.Bottom());
    }
    return top - bottom;
}

struct SizeCase {
    const char* name;
    std::u32string text;
    int cellRows;
    std::optional<int> px;
    char32_t highest;  // at one size up, when the size was chosen
    char32_t lowest;
    bool clips;
};

class SizeAndBaseline : public testing::TestWithParam<SizeCase> {};

TEST_P(SizeAndBaseline, LargestSizeWhoseInkFitsTheCellOrTheGivenOneClipped) {
    const SizeCase& c = GetParam();
    const Scene scene(8, c.cellRows);
    glyphs::RenderSettings settings;
    settings.px = c.px;
    const RenderPlan plan = scene.Plan(c.text, 0, settings);
    EXPECT_EQ(plan.Clipped().empty(), !c.clips);
    if (c.px) {
        EXPECT_EQ(plan.px, *c.px);
        return;
    }
    EXPECT_LE(InkSpan(c.text, plan.px), c.cellRows);
    EXPECT_GT(InkSpan(c.text, plan.px + 1), c.cellRows);
    EXPECT_EQ(plan.highestAtNextSize, c.highest);
    EXPECT_EQ(plan.lowestAtNextSize, c.lowest);
    // The baseline is the highest ink: every glyph's ink starts at row 0 or below it.
    int highest = 0;
    for (const auto& g : plan.glyphs) highest = std::max(highest, g.box.top);
    EXPECT_EQ(plan.baseline, highest);
}

INSTANTIATE_TEST_SUITE_P(Cases, SizeAndBaseline, testing::Values(
    SizeCase{"Capitals", U"AH", 24, std::nullopt, U'A', U'A', false},
    SizeCase{"AccentDecides", U"AЙ", 24, std::nullopt, U'Й', U'A', false},
    SizeCase{"DescenderDecides", U"Ay", 24, std::nullopt, U'A', U'y', false},
    SizeCase{"Both", U"yÅg", 31, std::nullopt, U'Å', U'y', false},
    SizeCase{"GivenSizeFits", U"Ay", 24, 16, 0, 0, false},
    SizeCase{"GivenSizeClips", U"Ay", 24, 30, 0, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SizeAndBaseline, AGivenBaselineCountsInTheSizeAndClipsWhatIsAbove) {
    const Scene scene(4);
    glyphs::RenderSettings settings;
    settings.baseline = 12;
    const RenderPlan chosen = scene.Plan(U"Ay", 0, settings);
    EXPECT_EQ(chosen.baseline, 12);
    EXPECT_TRUE(chosen.Clipped().empty());
    settings.px = 24;
    const RenderPlan given = scene.Plan(U"A", 0, settings);
    EXPECT_EQ(given.glyphs[0].clippedRows, given.glyphs[0].box.top - 12);
}

struct PlaceCase {
    const char* name;
    std::u32string text;
    std::int32_t first;
    std::vector<Placement> placements;
    std::vector<std::pair<int, int>> leftTopEditUnits;  // where each lands
};

class Placing : public testing::TestWithParam<PlaceCase> {};

// Glyphs 10 wide in a row of 12 (indexes 0..5); 'W' at 16 px is 9 edit units, 'Ж' 10, 'i' 3.
TEST_P(Placing, InPlaceElseFirstFreeSpaceElseNoRoom) {
    const PlaceCase& c = GetParam();
    Scene scene(6);
    for (int x = 400; x < 512; ++x)
        for (int y = 0; y < 60; ++y) scene.texture.At(x, y) = kBlack;  // ink at the row's right end
    glyphs::RenderSettings settings;
    settings.px = 16;
    settings.width = glyphs::WidthRule::Ink;
    settings.pad = 4;
    const RenderPlan plan = scene.Plan(c.text, c.first, settings);
    ASSERT_EQ(plan.glyphs.size(), c.placements.size());
    for (std::size_t i = 0; i < plan.glyphs.size(); ++i) {
        const glyphs::PlannedGlyph& g = plan.glyphs[i];
        EXPECT_EQ(g.placement, c.placements[i]) << i;
        if (g.placement == Placement::NoRoom) continue;
        EXPECT_EQ(g.record.Left * 256, c.leftTopEditUnits[i].first) << i;
        EXPECT_EQ(g.record.Top * 256, c.leftTopEditUnits[i].second) << i;
        EXPECT_EQ((g.record.Right - g.record.Left) * 256, g.widthEditUnits) << i;
        EXPECT_EQ(g.record.Aspect, font::ComputeAspect(g.record.Left, g.record.Right, scene.cellHeight)) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Placing, testing::Values(
    PlaceCase{"NarrowerStaysInPlace", U"i", 2, {Placement::InPlace}, {{24, 0}}},
    PlaceCase{"LastOfRowWidensFreely", U"Ж", 5, {Placement::InPlace}, {{60, 0}}},
    PlaceCase{"WiderMovesPastTheRowAndSpacing", U"Жi", 1, {Placement::Moved, Placement::InPlace}, {{71, 0}, {24, 0}}},
    PlaceCase{"RenderedNeighbourCountsWhereItLands", U"iЖЖ", 3, {Placement::InPlace, Placement::Moved, Placement::Moved},
              {{36, 0}, {71, 0}, {85, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Drawing, PixelsOutsideTheOldAndNewRectanglesStayAsTheyWere) {
    Scene scene(6);
    for (int i = 100 * 512; i < 512 * 512; i += 7) scene.texture.pixels[static_cast<std::size_t>(i)] = Rgba{0, 0, static_cast<std::uint8_t>(i), 255};
    glyphs::RenderSettings inkWide;  // the ink touches both sides, and is cut at the cell's bottom
    inkWide.width = glyphs::WidthRule::Ink;
    inkWide.px = 30;
    inkWide.baseline = 20;
    const RenderPlan plan = scene.Plan(U"ЖiЖy", 1, inkWide);
    ASSERT_FALSE(plan.Clipped().empty());
    picture::Image texture = scene.texture;
    glyphs::DrawPlan(DejaVu(), plan, texture);
    int changed = 0;
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            const bool inside = std::any_of(plan.glyphs.begin(), plan.glyphs.end(), [&](const glyphs::PlannedGlyph& g) {
                return g.rect.Contains(x, y) || g.oldRect->Contains(x, y);
            });
            if (!inside) {
                EXPECT_EQ(texture.At(x, y), scene.texture.At(x, y)) << x << "," << y;
            }
            changed += !(texture.At(x, y) == scene.texture.At(x, y));
        }
    }
    EXPECT_GT(changed, 100);
    // Glyph 1's old rectangle, under nobody else, is background now.
    EXPECT_EQ(texture.At(plan.glyphs[0].oldRect->left, 23), plan.background);
}

// Rectangles that overlapped before overlap again in place: the later glyph's clearing must not
// take the earlier one's ink where the later one has none.
TEST(Drawing, OverlappingRectanglesKeepEachOthersInk) {
    Scene scene(2);
    scene.records[1] = Cell(4, 0, 14, scene.cellHeight);
    glyphs::RenderSettings settings;
    settings.px = 16;
    settings.colour = kBlack;
    const RenderPlan plan = scene.Plan(U"ЖЖ", 0, settings);
    const glyphs::PlannedGlyph& a = plan.glyphs[0];
    const glyphs::PlannedGlyph& b = plan.glyphs[1];
    ASSERT_EQ(b.placement, Placement::InPlace);
    ASSERT_TRUE(a.rect.Intersects(b.rect));
    picture::Image texture = scene.texture;
    glyphs::DrawPlan(DejaVu(), plan, texture);
    const auto coverage = [&](const glyphs::PlannedGlyph& g, int x, int y) {
        const glyphs::GlyphImage& image = DejaVu().Draw(g.glyph, {plan.px, glyphs::Hinting::Light, false});
        const int column = x - (g.rect.left + g.originX + image.box.left), row = y - (g.rect.top + plan.baseline - image.box.top);
        const bool inside = g.rect.Contains(x, y) && column >= 0 && column < image.box.width && row >= 0 && row < image.box.rows;
        return inside ? image.coverage[static_cast<std::size_t>(row * image.box.width + column)] : 0;
    };
    int kept = 0;
    for (int y = b.rect.top; y < b.rect.bottom; ++y) {
        for (int x = b.rect.left; x < a.rect.right; ++x) {
            if (coverage(a, x, y) == 0 || coverage(b, x, y) != 0) continue;
            EXPECT_NE(texture.At(x, y), plan.background) << x << "," << y;
            ++kept;
        }
    }
    EXPECT_GT(kept, 0);
}

std::uint64_t Fnv(const void* data, std::size_t size, std::uint64_t hash = 1469598103934665603ULL) {
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ static_cast<const unsigned char*>(data)[i]) * 1099511628211ULL;
    return hash;
}

// The same bytes on every system: any change to FreeType's version or options, the rounding or
// the placing shows here.
TEST(Drawing, DejaVuSansGivesTheSameBytesEverywhere) {
    for (const auto& [px, expected] : {std::pair{12, 4405622891871528406ULL}, std::pair{24, 3368083256354818764ULL}}) {
        Scene scene(120, px + 8);
        std::u32string text;
        for (char32_t c = U'!'; c <= U'~'; ++c) text += c;
        text += U"АЖЙЩЯжщяÅÉßĄŁŚŻ";
        glyphs::RenderSettings settings;
        settings.px = px;
        settings.colour = Rgba{20, 40, 200, 255};
        const RenderPlan plan = scene.Plan(text, 0, settings);
        ASSERT_TRUE(plan.WithoutRoom().empty());
        picture::Image texture = scene.texture;
        glyphs::DrawPlan(DejaVu(), plan, texture);
        std::uint64_t hash = Fnv(texture.pixels.data(), texture.pixels.size() * sizeof(Rgba));
        for (const auto& g : plan.glyphs) hash = Fnv(&g.record, sizeof g.record, hash);
        EXPECT_EQ(hash, expected) << px;
    }
}

}  // namespace
