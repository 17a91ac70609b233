#include "font/geometry.h"

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
