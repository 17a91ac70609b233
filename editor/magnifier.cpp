#include "editor/magnifier.h"

#include <algorithm>
#include <cmath>

namespace editor {
namespace {

constexpr double kTexturePixelsPerUnit = 512;
// A record far off the texture is shown as if just past its border, which keeps every
// position in range; there is only the outline to see there anyway.
constexpr double kFarthest = 4096;

double Pixels(double textureUnits) { return std::clamp(textureUnits * kTexturePixelsPerUnit, -kFarthest, kFarthest); }

}  // namespace

MagnifierPicture FrameGlyph(const picture::Image& texture, const font::GlyphRecord& stored, float cellHeight,
                            const font::GlyphRecord& edges, int factor, std::int32_t width, std::int32_t height) {
    MagnifierPicture shown;
    const double cell = double{cellHeight};
    for (const double v : {double{stored.Left}, double{stored.Top}, double{stored.Right}, cell, double{edges.Left},
                           double{edges.Top}, double{edges.Right}}) {
        if (!std::isfinite(v)) return shown;
    }
    shown.texture = &texture;
    shown.factor = std::clamp(factor, kMinMagnification, kMaxMagnification);

    const double left = Pixels(stored.Left), right = Pixels(stored.Right);
    const double top = Pixels(stored.Top), bottom = Pixels(stored.Top + cell);
    shown.regionLeft = static_cast<std::int32_t>(std::floor(std::min(left, right))) - kMagnifierMargin;
    shown.regionTop = static_cast<std::int32_t>(std::floor(std::min(top, bottom))) - kMagnifierMargin;
    shown.regionWidth = static_cast<std::int32_t>(std::ceil(std::max(left, right))) + kMagnifierMargin - shown.regionLeft;
    shown.regionHeight = static_cast<std::int32_t>(std::ceil(std::max(top, bottom))) + kMagnifierMargin - shown.regionTop;
    shown.originX = (width - shown.regionWidth * shown.factor) / 2;
    shown.originY = (height - shown.regionHeight * shown.factor) / 2;

    shown.left = Pixels(edges.Left);
    shown.right = Pixels(edges.Right);
    shown.top = Pixels(edges.Top);
    shown.bottom = Pixels(double{edges.Top} + cell);
    return shown;
}

}  // namespace editor
