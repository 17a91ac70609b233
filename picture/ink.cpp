#include "picture/ink.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <utility>

#include "font/geometry.h"

namespace picture {
namespace {

// A colour as one number; equal colours give equal keys on any machine.
std::uint32_t Key(Rgba c) { return std::bit_cast<std::uint32_t>(c); }

}  // namespace

Rgba MostFrequentColour(const Image& image) {
    std::unordered_map<std::uint32_t, std::size_t> counts;  // its entries never move
    struct Seen {
        std::uint32_t key = 0;
        std::size_t* count = nullptr;
    };
    std::array<Seen, 2> recent{};
    Rgba best = kBlack;
    std::size_t bestCount = 0;
    const Rgba* const pixels = image.pixels.data();
    const std::size_t size = image.pixels.size();
    // Runs of one colour are the rule on a texture: each run is counted at once.
    for (std::size_t start = 0; start < size;) {
        const std::uint32_t key = Key(pixels[start]);
        std::size_t end = start + 1;
        while (end < size && Key(pixels[end]) == key) ++end;
        // Runs of ink and background take turns: the two colours last seen skip the hashing.
        std::size_t& count = [&]() -> std::size_t& {
            if (recent[0].count && recent[0].key == key) return *recent[0].count;
            std::swap(recent[0], recent[1]);
            if (!recent[0].count || recent[0].key != key) recent[0] = {key, &counts[key]};
            return *recent[0].count;
        }();
        // Of colours equally frequent, the one that got there first wins (no other colour's count
        // moves during a run): the map's order plays no part.
        if (count + (end - start) > bestCount) {
            best = pixels[start];
            bestCount = count + (end - start);
        }
        count += end - start;
        start = end;
    }
    return best;
}

namespace {

bool Differs(Rgba a, Rgba b, int threshold) {
    return std::abs(a.r - b.r) > threshold || std::abs(a.g - b.g) > threshold || std::abs(a.b - b.b) > threshold ||
           std::abs(a.a - b.a) > threshold;
}

}  // namespace

InkMap::InkMap(const Image& image, int threshold)
    : width_(image.width), height_(image.height), ink_(image.pixels.size()) {
    const Rgba background = MostFrequentColour(image);
    // Plain pointers: a store through the map's bytes could change a vector's own fields, as far
    // as the compiler knows, which would keep it from doing many pixels at once.
    const Rgba* const pixels = image.pixels.data();
    const std::size_t size = image.pixels.size();
    std::uint8_t* const ink = ink_.data();
    if (threshold == 0) {  // the default, and a quarter of the work: any difference is ink
        const std::uint32_t key = Key(background);
        for (std::size_t i = 0; i < size; ++i) ink[i] = Key(pixels[i]) != key;
        return;
    }
    for (std::size_t i = 0; i < size; ++i) ink[i] = Differs(pixels[i], background, threshold);
}

GlyphInk FindGlyphInk(const InkMap& ink, const font::GlyphRecord& glyph, float cellHeight, int reach) {
    GlyphInk found;
    found.x0 = font::ToPreviewPixel(glyph.Left);
    found.x1 = font::ToPreviewPixel(glyph.Right);
    const std::int32_t y0 = font::ToPreviewPixel(glyph.Top);
    const std::int32_t firstRow = std::max(y0, 0);
    const std::int32_t endRow = std::min(font::OutlineBottomRow(y0, cellHeight), ink.height());
    found.inkColumns.assign(static_cast<std::size_t>(ink.width()), false);
    const auto firstColumn = static_cast<int>(std::max<std::int64_t>(std::int64_t{found.x0} - reach, 0));
    const auto endColumn = static_cast<int>(std::min<std::int64_t>(std::int64_t{found.x1} + reach, ink.width()));
    // Column by column, each looked at only until its first ink.
    for (int x = firstColumn; x < endColumn; ++x) {
        for (std::int32_t y = firstRow; y < endRow; ++y) {
            if (ink.IsInk(x, y)) {
                found.inkColumns[static_cast<std::size_t>(x)] = true;
                break;
            }
        }
    }
    return found;
}

std::optional<std::pair<int, int>> GlyphInk::InkInside() const {
    const int width = static_cast<int>(inkColumns.size());
    const int first = std::max(x0, 0);
    const int last = static_cast<int>(std::min<std::int64_t>(std::int64_t{x1} - 1, width - 1));
    std::optional<std::pair<int, int>> range;
    for (int x = first; x <= last; ++x) {
        if (!inkColumns[static_cast<std::size_t>(x)]) continue;
        if (!range) range.emplace(x, x);
        range->second = x;
    }
    return range;
}

bool GlyphInk::RunsPastLeft() const {
    const auto ink = [&](std::int64_t x) { return x >= 0 && x < static_cast<std::int64_t>(inkColumns.size()) && inkColumns[static_cast<std::size_t>(x)]; };
    return x0 < x1 && ink(x0) && ink(std::int64_t{x0} - 1);
}

bool GlyphInk::RunsPastRight() const {
    const auto ink = [&](std::int64_t x) { return x >= 0 && x < static_cast<std::int64_t>(inkColumns.size()) && inkColumns[static_cast<std::size_t>(x)]; };
    return x0 < x1 && ink(std::int64_t{x1} - 1) && ink(x1);
}

std::optional<EditEdges> FitToInk(const GlyphInk& glyph, const FitRule& rule) {
    const auto inside = glyph.InkInside();
    if (!inside) return std::nullopt;
    auto [a, b] = *inside;
    const int lastColumn = static_cast<int>(glyph.inkColumns.size()) - 1;
    const auto ink = [&](int x) { return glyph.inkColumns[static_cast<std::size_t>(x)]; };
    const std::int64_t leftLimit = std::max<std::int64_t>(std::int64_t{glyph.x0} - rule.reach, 0);
    const std::int64_t rightLimit = std::min<std::int64_t>(std::int64_t{glyph.x1} - 1 + rule.reach, lastColumn);
    while (a - 1 >= leftLimit && ink(a - 1)) --a;
    while (b + 1 <= rightLimit && ink(b + 1)) ++b;
    // Two preview pixels make an edit unit: the left edge rounds down, the right one up.
    const auto clamp = [](int edit) { return std::clamp(edit, 0, 256); };
    return EditEdges{clamp(a / 2 - rule.margin), clamp((b + 2) / 2 + rule.margin)};
}

std::optional<font::GlyphRecord> FitGlyph(const InkMap& ink, const font::GlyphRecord& glyph, float cellHeight,
                                          const FitRule& rule) {
    const auto edges = FitToInk(FindGlyphInk(ink, glyph, cellHeight, rule.reach), rule);
    if (!edges) return std::nullopt;
    font::GlyphRecord record = glyph;
    record.Left = font::FromEditText(std::to_string(edges->left), '.');
    record.Right = font::FromEditText(std::to_string(edges->right), '.');
    record.Aspect = font::ComputeAspect(record.Left, record.Right, cellHeight);
    return record;
}

}  // namespace picture
