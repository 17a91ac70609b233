#include "font/geometry.h"

#include <algorithm>
#include <cmath>

#include "runtime/checked.h"
#include "runtime/conversions.h"

namespace font {
namespace {

constexpr double kEditUnitsPerTextureUnit = 256;
constexpr double kPreviewPixelsPerTextureUnit = 512;
constexpr int kSingleDigits = 7;

}  // namespace

std::string ToEditText(float textureUnits, char decimalSeparator) {
    const double editUnits = textureUnits * kEditUnitsPerTextureUnit;  // exact
    const auto rounded = static_cast<float>(editUnits);
    if (std::isinf(rounded) && std::isfinite(editUnits)) {
        // Past the binary32 range the value is still shown as the file holds it.
        return runtime::NumberToText(editUnits, kSingleDigits, decimalSeparator);
    }
    return runtime::SingleToText(rounded, decimalSeparator);
}

float FromEditText(std::string_view text, char decimalSeparator) {
    const double editUnits = runtime::TextToDouble(text, decimalSeparator);
    return runtime::RoundToSingle(editUnits / kEditUnitsPerTextureUnit);
}

float ComputeAspect(float left, float right, float cellHeight) {
    const double width = double{right} - double{left};
    return runtime::RoundToSingle(runtime::CheckedDivide(width, cellHeight));
}

std::int32_t ToPreviewPixel(float textureUnits) {
    return runtime::TruncateToInt32(textureUnits * kPreviewPixelsPerTextureUnit);
}

std::int32_t ToTexturePixel(float textureUnits, std::int32_t size) { return runtime::TruncateToInt32(textureUnits * static_cast<double>(size)); }

std::int32_t TextureBottomRow(std::int32_t y0, float cellHeight, std::int32_t size) {
    return runtime::RoundHalfEvenToInt32(y0 + cellHeight * static_cast<double>(size));
}

float OutlineBottom(std::int32_t y0, float cellHeight) {
    return runtime::RoundToSingle(y0 + cellHeight * kPreviewPixelsPerTextureUnit);
}

std::int32_t OutlineBottomRow(std::int32_t y0, float cellHeight) {
    return runtime::RoundHalfEvenToInt32(y0 + cellHeight * kPreviewPixelsPerTextureUnit);
}

OutlinePlan PlanOutline(std::int32_t x0, std::int32_t y0, std::int32_t x1, float cellHeight,
                        std::int32_t pictureSize) {
    const auto first = [](std::int32_t from) { return std::max(from, 0); };
    const auto last = [&](std::int32_t to) { return std::min(to, pictureSize - 1); };

    OutlinePlan plan;
    plan.pictureSize = pictureSize;
    plan.topRow = y0;
    const std::int32_t edgeEnd = runtime::CheckedSubtract32(x1, 4);
    if (x0 <= edgeEnd) {
        // Only an edge that is drawn at all needs its bottom row.
        plan.bottomRow = OutlineBottom(y0, cellHeight);
        plan.edgeFirstColumn = first(x0);
        plan.edgeLastColumn = last(edgeEnd);
    }
    plan.rightColumn = runtime::CheckedSubtract32(x1, 3);
    plan.leftColumn = x0;
    plan.sideFirstRow = first(y0);
    plan.sideLastRow = last(OutlineBottomRow(y0, cellHeight));
    return plan;
}

std::optional<OutlineBox> OutlineBoxOf(const GlyphRecord& glyph, float cellHeight) {
    // Checked here rather than caught: a table of far-out records must cost no more than any other.
    const auto pixel = [](float textureUnits) -> std::optional<std::int32_t> {
        const double truncated = std::trunc(textureUnits * kPreviewPixelsPerTextureUnit);
        if (!runtime::FitsInt32(truncated)) return std::nullopt;  // NaN too
        return static_cast<std::int32_t>(truncated);
    };
    const std::optional<std::int32_t> x0 = pixel(glyph.Left), y0 = pixel(glyph.Top), x1 = pixel(glyph.Right);
    if (!x0 || !y0 || !x1) return std::nullopt;
    const double bottom = *y0 + cellHeight * kPreviewPixelsPerTextureUnit;
    if (!runtime::FitsInt32(std::floor(bottom)) || !runtime::FitsInt32(std::ceil(bottom))) return std::nullopt;
    const std::int64_t right = std::int64_t{*x1} - 3;
    if (!runtime::FitsInt32(static_cast<double>(right))) return std::nullopt;
    return OutlineBox{*x0, *y0, static_cast<std::int32_t>(right), OutlineBottomRow(*y0, cellHeight)};
}

bool OutlineCovers(const GlyphRecord& glyph, float cellHeight, std::int32_t x, std::int32_t y) {
    // Columns first, by a plain truncating conversion where the values allow it: most glyphs of a
    // table lie in other columns, and their rows need not be found.
    constexpr double kPlainly = 1e9;
    const double left = glyph.Left * kPreviewPixelsPerTextureUnit, right = glyph.Right * kPreviewPixelsPerTextureUnit;
    if (std::fabs(left) < kPlainly && std::fabs(right) < kPlainly &&
        (x < static_cast<std::int64_t>(left) || x > static_cast<std::int64_t>(right) - 3)) {
        return false;
    }
    const std::optional<OutlineBox> box = OutlineBoxOf(glyph, cellHeight);
    return box && box->Contains(x, y);
}

bool IsTooNarrow(const GlyphRecord& glyph) {
    return double{glyph.Right} * kEditUnitsPerTextureUnit - 4 < double{glyph.Left} * kEditUnitsPerTextureUnit;
}

std::string FontSizeToText(float fontSize, char decimalSeparator) {
    return runtime::SingleToText(fontSize, decimalSeparator);
}

float FontSizeFromText(std::string_view text, char decimalSeparator) {
    return runtime::TextToSingle(text, decimalSeparator);
}

GlyphRecord GlyphFromEditTexts(const EdgeTexts& edges, float cellHeight, char decimalSeparator) {
    GlyphRecord record;
    record.Left = FromEditText(edges.Left, decimalSeparator);
    record.Top = FromEditText(edges.Top, decimalSeparator);
    record.Right = FromEditText(edges.Right, decimalSeparator);
    record.Aspect = ComputeAspect(record.Left, record.Right, cellHeight);
    return record;
}

}  // namespace font
