#include "editor/render_dialog.h"

#include <algorithm>

namespace editor {
namespace {

// Room around the glyphs, in texture pixels, so that their neighbours show.
constexpr int kMargin = 4;

glyphs::PixelRect Around(const glyphs::RenderPlan& plan, int width, int height) {
    glyphs::PixelRect region{width, height, 0, 0};
    const auto take = [&](glyphs::PixelRect rect) {
        // A rectangle reaching past the texture shows only its part on it.
        rect = {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, width), std::min(rect.bottom, height)};
        if (rect.Empty()) return;
        region = {std::min(region.left, rect.left), std::min(region.top, rect.top), std::max(region.right, rect.right),
                  std::max(region.bottom, rect.bottom)};
    };
    for (const glyphs::PlannedGlyph& glyph : plan.glyphs) {
        if (glyph.placement != glyphs::Placement::NoRoom) take(glyph.rect);
        if (glyph.oldRect) take(*glyph.oldRect);
    }
    if (region.Empty()) return {0, 0, width, height};
    return {std::max(0, region.left - kMargin), std::max(0, region.top - kMargin), std::min(width, region.right + kMargin),
            std::min(height, region.bottom + kMargin)};
}

}  // namespace

picture::Image PreviewPicture(const picture::Picture& drawn, const glyphs::RenderPlan& plan, picture::Rgba outline) {
    picture::Image preview = picture::Filled(kPreviewWidth, kPreviewHeight, picture::kBlack);
    const glyphs::PixelRect region = Around(plan, drawn.image.width, drawn.image.height);
    const int factor = std::clamp(std::min(kPreviewWidth / (region.right - region.left), kPreviewHeight / (region.bottom - region.top)), 1,
                                  kLargestPreviewFactor);
    const int columns = std::min(region.right - region.left, kPreviewWidth / factor);
    const int rows = std::min(region.bottom - region.top, kPreviewHeight / factor);
    // Only what the preview shows is laid over the checkerboard.
    const picture::Image shown = picture::OverCheckerboard(drawn, region.left, region.top, region.left + columns, region.top + rows);
    for (int y = 0; y < rows * factor; ++y) {
        const picture::Rgba* in = &shown.At(0, y / factor);
        picture::Rgba* out = &preview.At(0, y);
        for (int x = 0; x < columns * factor; ++x) out[x] = in[x / factor];
    }
    // Each drawn rectangle's border, on the preview's pixels just inside it.
    const auto light = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < columns * factor && y < rows * factor) preview.At(x, y) = outline;
    };
    for (const glyphs::PlannedGlyph& glyph : plan.glyphs) {
        if (glyph.placement == glyphs::Placement::NoRoom) continue;
        const int left = (glyph.rect.left - region.left) * factor;
        const int top = (glyph.rect.top - region.top) * factor;
        const int right = (glyph.rect.right - region.left) * factor - 1;
        const int bottom = (glyph.rect.bottom - region.top) * factor - 1;
        for (int x = left; x <= right; ++x) {
            light(x, top);
            light(x, bottom);
        }
        for (int y = top; y <= bottom; ++y) {
            light(left, y);
            light(right, y);
        }
    }
    return preview;
}

}  // namespace editor
