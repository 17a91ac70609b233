#pragma once

#include <cstdint>
#include <vector>

#include "font/glyph_record.h"
#include "picture/image.h"

// The magnifier: the texture around the selected glyph at a whole factor, with the outline
// where the record puts it. Positions are in texture pixels (texture units x 512) and in the
// magnifier's own screen pixels.
namespace editor {

inline constexpr int kMinMagnification = 2;
inline constexpr int kMaxMagnification = 16;
inline constexpr int kDefaultMagnification = 8;
// The margin shown around the glyph: 4 edit units.
inline constexpr int kMagnifierMargin = 8;
// From this factor on the texture pixels are told apart by a grid.
inline constexpr int kMagnifierGridFrom = 6;

struct MagnifierPicture {
    const picture::Image* texture = nullptr;  // nothing: the magnifier shows nothing
    int factor = kDefaultMagnification;
    // The texture pixels shown (some may lie outside the texture), and the magnifier pixel at
    // the top-left corner of the first of them.
    std::int32_t regionLeft = 0;
    std::int32_t regionTop = 0;
    std::int32_t regionWidth = 0;
    std::int32_t regionHeight = 0;
    std::int32_t originX = 0;
    std::int32_t originY = 0;
    // The outline in texture pixels, unrounded: an edge between two pixels lies between them.
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;

    double ScreenX(double texturePixels) const { return originX + (texturePixels - regionLeft) * factor; }
    double ScreenY(double texturePixels) const { return originY + (texturePixels - regionTop) * factor; }
    double TextureX(double screenPixels) const { return regionLeft + (screenPixels - originX) / factor; }
    double TextureY(double screenPixels) const { return regionTop + (screenPixels - originY) / factor; }
};

// What the magnifier's window paints, in its own pixels and in this order: the background over
// all of it, the texture's pixels in the source rectangle stretched without smoothing over the
// target one, then the grid's lines and the outline's sides as filled rectangles.
struct MagnifierDrawing {
    struct Rect {  // right and bottom not included
        std::int32_t left = 0, top = 0, right = 0, bottom = 0;
        bool operator==(const Rect&) const = default;
    };
    struct Fill {
        Rect rect;
        picture::Rgba colour;
    };
    picture::Rgba background;
    const picture::Image* texture = nullptr;  // nothing: only the background
    Rect source;                              // in the texture's own pixels
    Rect target;
    std::vector<Fill> over;
};

// The region around a glyph cell as the file holds it, centred in a magnifier of the given size,
// and the outline of the given edges (which a drag may have moved). Nothing to show for a record
// that is no finite rectangle.
MagnifierPicture FrameGlyph(const picture::Image& texture, const font::GlyphRecord& stored, float cellHeight,
                            const font::GlyphRecord& edges, int factor, std::int32_t width, std::int32_t height);

// The picture in a magnifier window of the given size.
MagnifierDrawing PaintMagnifier(const MagnifierPicture& shown, std::int32_t width, std::int32_t height);

}  // namespace editor
