#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "font/glyph_record.h"
#include "glyphs/char_map.h"
#include "glyphs/typeface.h"
#include "picture/image.h"

// A render in three steps: a plan (what goes where, at which size and baseline, what clips or
// finds no room) made from values alone, which a dry run or a preview shows as it is; then the
// plan drawn into the texture's pixels; then the writing, which is the caller's. Nothing is drawn
// that the plan does not name.
namespace glyphs {

enum class WidthRule { Advance, Ink };

struct RenderSettings {
    std::optional<int> px;        // the em square in texture pixels; none: the largest that fits the cell
    std::optional<int> baseline;  // rows from each rectangle's top; none: the highest ink
    Hinting hinting = Hinting::Light;
    bool mono = false;
    WidthRule width = WidthRule::Advance;
    int pad = 0;      // pixels each side of the ink, for WidthRule::Ink
    int spacing = 2;  // pixels kept free around a glyph placed in free space
    std::optional<picture::Rgba> colour;  // none: the texture's most frequent ink colour, white without ink
    bool alpha = false;  // the texture keeps coverage as alpha, rather than blending over the background
};

// Half-open rectangle in texture pixels.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool Empty() const { return left >= right || top >= bottom; }
    bool Intersects(const PixelRect& o) const { return !Empty() && !o.Empty() && left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const PixelRect&) const = default;
};

enum class Placement { InPlace, Moved, NoRoom };

struct PlannedGlyph {
    std::int32_t index = 0;  // 0-based
    char32_t character = 0;
    std::uint32_t glyph = 0;  // in the face
    GlyphBox box;             // at the plan's size
    Placement placement = Placement::NoRoom;
    int widthEditUnits = 0;
    PixelRect rect;                    // where it is drawn (nothing for NoRoom)
    std::optional<PixelRect> oldRect;  // the rectangle it had, if it had one on the texture
    int originX = 0;                   // the glyph's origin, pixels right of rect.left
    int clippedRows = 0;               // ink rows that fall outside the cell
    int clippedColumns = 0;            // ink columns outside the rectangle or the texture
    font::GlyphRecord record;          // as it will be stored
};

struct RenderPlan {
    RenderSettings settings;
    int px = 0;
    bool pxChosen = false;  // the largest that fits, rather than given
    // When chosen: the characters whose ink reaches highest and lowest one size up, which kept
    // the size from growing (none when the size met no limit of the cell).
    std::optional<char32_t> highestAtNextSize;
    std::optional<char32_t> lowestAtNextSize;
    int baseline = 0;
    int cellRows = 0;
    picture::Rgba background;
    picture::Rgba ink;
    std::vector<PlannedGlyph> glyphs;  // in rising glyph order
    std::optional<float> spaceWidth;   // the new SpaceWidth, when asked for
    // Rectangles of other glyphs over the old rectangles of drawn ones: kept when those are cleared.
    std::vector<PixelRect> keptOverOld;

    std::vector<const PlannedGlyph*> WithoutRoom() const;
    std::vector<const PlannedGlyph*> Clipped() const;
};

// What the plan looks at of the font: its CellHeight and its glyphs' records.
struct TableView {
    float cellHeight = 0;
    const std::vector<font::GlyphRecord>* glyphs = nullptr;
};

// "2 'А' (U+0410), 3 'Б' (U+0411)": glyphs numbered from 1, as messages name them.
std::string Named(const std::vector<const PlannedGlyph*>& glyphs);

// The rectangle a record covers on the texture, as the fit reads a glyph at the texture's size:
// columns from Left up to Right, rows from Top down to the outline's last row, neither end
// included. Nothing for a record that is no rectangle in 32-bit pixels.
std::optional<PixelRect> RectOf(const font::GlyphRecord& record, float cellHeight, const picture::Image& texture);

// Fails as a malformed input, naming every character the face has no glyph for; or for a face
// that cannot load a glyph. A plan with glyphs that found no room or clip is still a plan: the
// caller decides whether it may be drawn.
RenderPlan PlanRender(const Typeface& face, const TableView& table, const picture::Image& texture,
                      const std::vector<CharAssignment>& assignments, const RenderSettings& settings, bool wantSpace = false);

// Draws the plan into the texture: clears the old rectangles of the drawn glyphs where no other
// glyph's rectangle lies, clears each new rectangle to the background, and draws each glyph.
// Pixels outside the old and new rectangles are not touched. A plan with glyphs without room is refused.
void DrawPlan(const Typeface& face, const RenderPlan& plan, picture::Image& texture);

}  // namespace glyphs
