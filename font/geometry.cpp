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
