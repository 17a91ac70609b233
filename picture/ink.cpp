#include "picture/ink.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <utility>

#include "font/geometry.h"
#include "font/texture.h"

namespace picture {
namespace {

// A colour as one number; equal colours give equal keys on any machine.
std::uint32_t Key(Rgba c) { return std::bit_cast<std::uint32_t>(c); }

// Whether the colour is on more than half the pixels, which makes it the most frequent one: counted
// in blocks, as words that the compiler compares many at once, until the answer is sure.
bool OnMoreThanHalf(const Rgba* pixels, std::size_t size, std::uint32_t key) {
    constexpr std::size_t kBlock = 64;
    std::size_t same = 0;
    std::size_t i = 0;
    for (; i + kBlock <= size; i += kBlock) {
        unsigned count = 0;
        for (std::size_t k = 0; k < kBlock; ++k) {
            std::uint32_t pixel = 0;
            std::memcpy(&pixel, pixels + i + k, sizeof pixel);
            count += pixel == key;
        }
        same += count;
        const std::size_t left = size - i - kBlock;
        if (2 * same > size || 2 * (same + left) <= size) break;
    }
    if (i + kBlock > size) {
        for (; i < size; ++i) same += Key(pixels[i]) == key;
    }
    return 2 * same > size;
}

// Every colour counted, run by run.
Rgba CountedMostFrequentColour(const Image& image) {
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
    std::array<Rgba, 64> block;
    // Runs of one colour are the rule on a texture: each run is counted at once.
    for (std::size_t start = 0; start < size;) {
        const std::uint32_t key = Key(pixels[start]);
        std::size_t end = start + 1;
        // Eight pixels at a time as four words, which needs no copy of the colour to compare
        // with: a texture is mostly long runs of its background, and short ones of ink. The
        // first word that differs tells where the run ends, give or take its second pixel.
        const std::uint64_t pair = std::uint64_t{key} << 32 | key;
        bool ended = false;
        for (int whole = 0; !ended && end + 8 <= size;) {
            std::array<std::uint64_t, 4> words;
            std::memcpy(words.data(), pixels + end, sizeof words);
            std::size_t same = 0;
            while (same < words.size() && words[same] == pair) ++same;
            end += 2 * same;
            if (same < words.size()) {
                if (Key(pixels[end]) == key) ++end;
                ended = true;
            } else if (++whole == 4) {
                // A long run, the background's as a rule: the rest of it in blocks by memcmp,
                // which compares many bytes at once, with a block of the colour made once.
                block.fill(pixels[start]);
                while (end + block.size() <= size && std::memcmp(pixels + end, block.data(), sizeof block) == 0) end += block.size();
            }
        }
        while (!ended && end < size && Key(pixels[end]) == key) ++end;
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

}  // namespace

Rgba MostFrequentColour(const Image& image) {
    // A texture is mostly its background as a rule, and its first pixel is the background.
    if (!image.pixels.empty() && OnMoreThanHalf(image.pixels.data(), image.pixels.size(), Key(image.pixels[0]))) return image.pixels[0];
    return CountedMostFrequentColour(image);
}

namespace {

bool Differs(Rgba a, Rgba b, int threshold) {
    return std::abs(a.r - b.r) > threshold || std::abs(a.g - b.g) > threshold || std::abs(a.b - b.b) > threshold ||
           std::abs(a.a - b.a) > threshold;
}

// Marks each pixel that differs from the colour with a 1, the others with a 0, and counts the
// 1s. In blocks of a fixed size, each pixel read as a word rather than copied as a struct: the
// compiler then compares many pixels at once.
std::size_t MarkDifferent(const Rgba* pixels, std::size_t size, std::uint8_t* marks, std::uint32_t key) {
    constexpr std::size_t kBlock = 64;
    std::size_t marked = 0;
    std::size_t i = 0;
    for (; i + kBlock <= size; i += kBlock) {
        std::array<std::uint8_t, kBlock> block;
        for (std::size_t k = 0; k < kBlock; ++k) {
            std::uint32_t pixel = 0;
            std::memcpy(&pixel, pixels + i + k, sizeof pixel);
            block[k] = pixel != key;
        }
        unsigned count = 0;
        for (const std::uint8_t mark : block) count += mark;
        marked += count;
        std::memcpy(marks + i, block.data(), kBlock);
    }
    for (; i < size; ++i) marked += marks[i] = Key(pixels[i]) != key;
    return marked;
}

}  // namespace

bool NotOpaqueEverywhere(const Image& image) {
    return std::any_of(image.pixels.begin(), image.pixels.end(), [](Rgba p) { return p.a != 255; });
}

// Texture columns as many as the rule's preview pixels, at least.
int ReachColumns(int reach, std::size_t width) {
    return static_cast<int>((std::int64_t{reach} * static_cast<std::int64_t>(width) + font::kTextureSize - 1) / font::kTextureSize);
}

InkMap::InkMap(const Image& image, int threshold) : InkMap(image, threshold, false) {}

InkMap::InkMap(const Picture& picture, int threshold)
    : InkMap(picture.image, threshold, picture.format.alpha && NotOpaqueEverywhere(picture.image)) {}

InkMap::InkMap(const Image& image, int threshold, bool byAlpha)
    : width_(image.width), height_(image.height), ink_(image.pixels.size()) {
    // Plain pointers: a store through the map's bytes could change a vector's own fields, as far
    // as the compiler knows, which would keep it from doing many pixels at once.
    const Rgba* const pixels = image.pixels.data();
    const std::size_t size = image.pixels.size();
    std::uint8_t* const ink = ink_.data();
    if (byAlpha) {
        for (std::size_t i = 0; i < size; ++i) ink[i] = pixels[i].a > threshold;
        return;
    }
    if (size == 0) return;
    // A texture is mostly its background, as a rule, and its first pixel is as a rule the
    // background: a colour that holds more than half the pixels is the most frequent one, with no
    // other colour to count, and the pass that tells it is the default rule's ink map already.
    const std::size_t others = MarkDifferent(pixels, size, ink, Key(pixels[0]));
    const bool firstIsBackground = 2 * (size - others) > size;
    const Rgba background = firstIsBackground ? pixels[0] : CountedMostFrequentColour(image);
    if (threshold == 0) {  // the default, and a quarter of the work: any difference is ink
        if (!firstIsBackground) MarkDifferent(pixels, size, ink, Key(background));
        return;
    }
    for (std::size_t i = 0; i < size; ++i) ink[i] = Differs(pixels[i], background, threshold);
}

GlyphInk FindGlyphInk(const InkMap& ink, const font::GlyphRecord& glyph, float cellHeight, int reach) {
    GlyphInk found;
    found.x0 = font::ToTexturePixel(glyph.Left, ink.width());
    found.x1 = font::ToTexturePixel(glyph.Right, ink.width());
    const std::int32_t y0 = font::ToTexturePixel(glyph.Top, ink.height());
    const std::int32_t firstRow = std::max(y0, 0);
    const std::int32_t endRow = std::min(font::TextureBottomRow(y0, cellHeight, ink.height()), ink.height());
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
    const int reach = ReachColumns(rule.reach, glyph.inkColumns.size());
    const std::int64_t leftLimit = std::max<std::int64_t>(std::int64_t{glyph.x0} - reach, 0);
    const std::int64_t rightLimit = std::min<std::int64_t>(std::int64_t{glyph.x1} - 1 + reach, lastColumn);
    while (a - 1 >= leftLimit && ink(a - 1)) --a;
    while (b + 1 <= rightLimit && ink(b + 1)) ++b;
    // The left edge goes down to the unit column a starts in, the right one up to where b ends:
    // on 512 columns, two to a unit, a / 2 and (b + 2) / 2.
    const std::int64_t width = lastColumn + 1;
    const auto clamp = [](std::int64_t edit) { return static_cast<int>(std::clamp<std::int64_t>(edit, 0, 256)); };
    const std::int64_t left = std::int64_t{a} * 256 / width;
    const std::int64_t right = ((std::int64_t{b} + 1) * 256 + width - 1) / width;
    return EditEdges{clamp(left - rule.margin), clamp(right + rule.margin)};
}

std::optional<font::GlyphRecord> FitGlyph(const InkMap& ink, const font::GlyphRecord& glyph, float cellHeight,
                                          const FitRule& rule) {
    const auto edges = FitToInk(FindGlyphInk(ink, glyph, cellHeight, ReachColumns(rule.reach, static_cast<std::size_t>(ink.width()))), rule);
    if (!edges) return std::nullopt;
    // Each whole unit's value read once from its text, as the window's store reads it.
    static const std::array<float, 257> kUnitValues = [] {
        std::array<float, 257> values{};
        for (std::size_t edit = 0; edit < values.size(); ++edit) values[edit] = font::FromEditText(std::to_string(edit), '.');
        return values;
    }();
    font::GlyphRecord record = glyph;
    record.Left = kUnitValues[static_cast<std::size_t>(edges->left)];
    record.Right = kUnitValues[static_cast<std::size_t>(edges->right)];
    record.Aspect = font::ComputeAspect(record.Left, record.Right, cellHeight);
    return record;
}

}  // namespace picture
