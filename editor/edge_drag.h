#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "font/font_file.h"
#include "font/geometry.h"
#include "font/glyph_record.h"

// Clicking and dragging the selected glyph's edges on a picture of the texture: what a press takes hold of,
// and where the edges would go, in whole edit units, stopped where the arrows stop.
namespace editor {

// What a press on the selected glyph takes hold of: one edge, or the whole glyph.
enum class Hold { Nothing, Left, Right, Top, Glyph };

// How near to a side, in screen pixels, the mouse takes hold of it.
inline constexpr double kHoldReach = 3;

// The outline's sides where a surface shows them, in that surface's pixels.
struct Sides {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// A side within reach, the nearest when several are (left or right before top on a tie, right
// before left, so that a glyph of no width can still be widened); inside the rectangle
// elsewhere, the whole glyph.
Hold HoldAt(const Sides& sides, double x, double y);

// The texts one edge box goes through as its arrow is clicked again and again: each click
// guarded, stepped and written back as the arrows do it, then read back from the stored binary32
// as the refresh after the store shows it. Rungs are found as they are first asked for.
class EdgeLadder {
public:
    struct Rung {
        std::string stored;  // what the click leaves in the box, for the store to read
        std::string shown;   // what the box shows once the store has read it back
        float value = 0;     // texture units, as the store would write them
        float settled = 0;   // as a later store of another box writes them, from the text shown
    };

    // guarded: the up arrow refuses a box whose leading number is 256 or more.
    EdgeLadder(const std::string& start, bool guarded, char decimalSeparator);

    // The nearest number of clicks to wanted that the arrows would all carry out.
    std::int32_t Reach(std::int32_t wanted);
    // Rung at clicks (as Reach returned; 0 is the box as it is).
    const Rung& At(std::int32_t clicks) const;

private:
    bool Climb(std::vector<Rung>& rungs, bool& ended, int step);

    bool guarded_;
    char decimalSeparator_;
    std::vector<Rung> up_;    // [0] is the start
    std::vector<Rung> down_;  // [0] is the start
    bool upEnded_ = false;
    bool downEnded_ = false;
};

// A drag of one edge or of the whole glyph: the clicks on the left arrows, then the right, then
// the top, so that only the last box clicked is written from a text no refresh has read back.
class EdgeDrag {
public:
    EdgeDrag(Hold hold, const font::EdgeTexts& boxes, char decimalSeparator);

    // Follows a travel of whole edit units from the press; true when the edges changed.
    bool Follow(std::int32_t acrossUnits, std::int32_t downUnits);

    Hold hold() const { return hold_; }
    bool Moved() const { return across_ != 0 || down_ != 0; }
    // The boxes as they would show after the clicks, and as the store is to read them.
    font::EdgeTexts Shown() const;
    font::EdgeTexts Stored() const;
    // Left, Top, Right in texture units, as they would be written.
    font::GlyphRecord Edges() const;

private:
    // How far each ladder is climbed, and whether a later click's store has read its box back.
    struct Clicks {
        std::int32_t left, top, right;
        bool leftSettled, rightSettled;
    };
    Clicks ClicksNow() const;

    Hold hold_;
    char decimalSeparator_;
    EdgeLadder left_;
    EdgeLadder top_;
    EdgeLadder right_;
    std::int32_t across_ = 0;
    std::int32_t down_ = 0;
};

// The glyph under a point in preview pixels that a click selects: of all glyphs whose outline
// covers it, the first after the selected one in table order, wrapping round.
std::optional<std::int32_t> GlyphUnder(std::span<const font::GlyphRecord> glyphs, float cellHeight, std::int32_t x,
                                       std::int32_t y, std::int32_t selected);
// The same over the font's table as the file holds it now, read in one go. Only the loaded
// table's glyphs count: another table (changed behind the window) has none under any point.
std::optional<std::int32_t> GlyphUnder(const std::filesystem::path& path, const font::FontState& loaded, std::int32_t x,
                                       std::int32_t y, std::int32_t selected);

// The pixel of a surface under a pointer position, on a surface that shows each of its pixels as
// scale x scale units of the position: the one the point lies in, never the nearest.
std::int32_t PixelUnder(double position, double scale);

// The nearest whole edit units to a travel in screen pixels, on a surface that shows one texture
// pixel as scale x scale screen pixels (an edit unit is two texture pixels).
std::int32_t TravelInEditUnits(std::int32_t screenPixels, int scale);

}  // namespace editor
