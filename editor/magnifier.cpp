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

constexpr picture::Rgba kBackground{0x30, 0x30, 0x30, 255};
constexpr picture::Rgba kGrid{0x60, 0x60, 0x60, 255};
constexpr picture::Rgba kOutline{0xFF, 0, 0, 255};

std::int32_t Rounded(double v) { return static_cast<std::int32_t>(std::lround(v)); }

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

MagnifierDrawing PaintMagnifier(const MagnifierPicture& shown, std::int32_t width, std::int32_t height) {
    MagnifierDrawing drawing;
    drawing.background = kBackground;
    if (!shown.texture) return drawing;
    drawing.texture = shown.texture;
    const picture::Image& texture = *shown.texture;

    // The region is in the preview's pixels; a texture of another size has more or fewer of its own.
    const double acrossPerPixel = texture.width / kTexturePixelsPerUnit, downPerPixel = texture.height / kTexturePixelsPerUnit;
    MagnifierDrawing::Rect& source = drawing.source;
    source.left = std::max(0, static_cast<std::int32_t>(std::floor(shown.regionLeft * acrossPerPixel)));
    source.top = std::max(0, static_cast<std::int32_t>(std::floor(shown.regionTop * downPerPixel)));
    source.right = std::min(texture.width, static_cast<std::int32_t>(std::ceil((shown.regionLeft + shown.regionWidth) * acrossPerPixel)));
    source.bottom = std::min(texture.height, static_cast<std::int32_t>(std::ceil((shown.regionTop + shown.regionHeight) * downPerPixel)));
    const auto screenX = [&](std::int32_t x) { return Rounded(shown.ScreenX(x / acrossPerPixel)); };
    const auto screenY = [&](std::int32_t y) { return Rounded(shown.ScreenY(y / downPerPixel)); };
    if (source.left < source.right && source.top < source.bottom) {
        drawing.target = {screenX(source.left), screenY(source.top), screenX(source.right), screenY(source.bottom)};
        // Lines between the pixels once they are large enough to tell apart; only those in the window.
        if (shown.factor / acrossPerPixel >= kMagnifierGridFrom) {
            for (std::int32_t x = source.left + 1; x < source.right; ++x) {
                const std::int32_t at = screenX(x);
                if (at >= 0 && at < width) drawing.over.push_back({{at, drawing.target.top, at + 1, drawing.target.bottom}, kGrid});
            }
        }
        if (shown.factor / downPerPixel >= kMagnifierGridFrom) {
            for (std::int32_t y = source.top + 1; y < source.bottom; ++y) {
                const std::int32_t at = screenY(y);
                if (at >= 0 && at < height) drawing.over.push_back({{drawing.target.left, at, drawing.target.right, at + 1}, kGrid});
            }
        }
    }
    // Two pixels wide, one each side of the boundary the edge lies on.
    const std::int32_t x0 = Rounded(shown.ScreenX(shown.left)), x1 = Rounded(shown.ScreenX(shown.right));
    const std::int32_t y0 = Rounded(shown.ScreenY(shown.top)), y1 = Rounded(shown.ScreenY(shown.bottom));
    const std::int32_t left = std::min(x0, x1) - 1, right = std::max(x0, x1) + 1;
    const std::int32_t top = std::min(y0, y1) - 1, bottom = std::max(y0, y1) + 1;
    for (const MagnifierDrawing::Rect side : {MagnifierDrawing::Rect{left, top, right, top + 2}, {left, bottom - 2, right, bottom},
                                              {left, top, left + 2, bottom}, {right - 2, top, right, bottom}}) {
        drawing.over.push_back({side, kOutline});
    }
    return drawing;
}

}  // namespace editor
