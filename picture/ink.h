#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "font/glyph_record.h"
#include "picture/image.h"

// Where a texture holds ink, and the edges that fit a glyph's ink.
namespace picture {

// The background: of colours equally frequent, the first to reach that count.
Rgba MostFrequentColour(const Image& image);

// A pixel is ink when it differs from the background, the picture's most frequent colour, by
// more than the threshold in any channel, alpha included. On a picture that keeps an alpha
// channel which is not opaque everywhere (a TGA painted in four channels), a pixel is ink when
// its alpha is over the threshold instead. Any size: one map pixel to each texture pixel.
class InkMap {
public:
    InkMap(const Image& image, int threshold);
    InkMap(const Picture& picture, int threshold);

    int width() const { return width_; }
    int height() const { return height_; }
    bool IsInk(int x, int y) const { return ink_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] != 0; }

private:
    InkMap(const Image& image, int threshold, bool byAlpha);

    int width_;
    int height_;
    std::vector<std::uint8_t> ink_;
};

// A glyph's place in the map's pixels (preview pixels on a 512 x 512 texture): its rows y0 up to
// the outline's bottom row (not included), its columns x0 up to x1 (not included), and which
// columns hold ink in those rows, looked at from reach columns left of x0 to reach columns right
// of x1 - 1. Fails as the window's refresh does for values that have no pixel.
struct GlyphInk {
    std::int32_t x0 = 0;
    std::int32_t x1 = 0;
    std::vector<bool> inkColumns;  // one for each column of the picture

    // The leftmost and rightmost ink columns from x0 to x1 - 1, if any.
    std::optional<std::pair<int, int>> InkInside() const;
    // Ink in the glyph's first (last) column and in the one just outside it: cut off in the game.
    bool RunsPastLeft() const;
    bool RunsPastRight() const;
};
GlyphInk FindGlyphInk(const InkMap& ink, const font::GlyphRecord& glyph, float cellHeight, int reach);

struct FitRule {
    int margin = 0;  // edit units added on both sides
    int reach = 16;  // preview pixels the ink may be followed past the old edges (twice as many
                     // pixels of a 1,024-pixel-wide texture)
};

// New left and right edges in whole edit units, 0..256: the unit the ink's first column starts
// in, and the one its last column ends in. None when the glyph holds no ink.
struct EditEdges {
    int left = 0;
    int right = 0;
};
std::optional<EditEdges> FitToInk(const GlyphInk& glyph, const FitRule& rule);

// The glyph's record with its left and right edges on its ink, stored as the window stores the
// edge boxes after arrow clicks: the whole edit units' texts, Top as it is, Aspect computed.
// None when the glyph holds no ink. Fails as the window's refresh and store do; the caller still
// refuses a record that would be empty.
std::optional<font::GlyphRecord> FitGlyph(const InkMap& ink, const font::GlyphRecord& glyph, float cellHeight,
                                          const FitRule& rule);

}  // namespace picture
