#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "font/glyph_record.h"

// The three units: texture units (the file's floats), edit units (x 256, what the boxes show)
// and preview pixels (x 512 on the 512 x 512 picture). Every conversion between them is here.
namespace font {

// The three edge boxes, in edit units, as the user sees them.
struct EdgeTexts {
    std::string Left;
    std::string Top;
    std::string Right;
};

// The binary32 edit-unit value as text. Beyond the binary32 range in edit units the text of
// the exact product is shown; NaN and infinities give texts that FromEditText refuses.
std::string ToEditText(float textureUnits, char decimalSeparator);
float FromEditText(std::string_view text, char decimalSeparator);

// (Right - Left) / CellHeight, in double precision, rounded to binary32 once.
float ComputeAspect(float left, float right, float cellHeight);

// Truncated toward zero, not floored: -0.75 preview pixels is column 0.
std::int32_t ToPreviewPixel(float textureUnits);

// The same truncation onto a texture of `size` pixels: at 512, ToPreviewPixel.
std::int32_t ToTexturePixel(float textureUnits, std::int32_t size);

// The outline's bottom edge, a fractional row, and the last row of its sides (halves to even).
float OutlineBottom(std::int32_t y0, float cellHeight);
std::int32_t OutlineBottomRow(std::int32_t y0, float cellHeight);
// OutlineBottomRow on a texture `size` rows high, y0 one of its rows.
std::int32_t TextureBottomRow(std::int32_t y0, float cellHeight, std::int32_t size);

// The outline of a glyph cell in preview pixels: the top and bottom edges from x0 to x1 - 4,
// the right side in column x1 - 3 and the left one in x0, from row y0 to OutlineBottomRow.
// Each loop is cut to a picture of the given size: points outside it have no effect, and a
// record with far-out values then costs no more than an ordinary one. A range whose first
// exceeds its last draws nothing.
struct OutlinePlan {
    std::int32_t pictureSize = 0;
    std::int32_t edgeFirstColumn = 0;
    std::int32_t edgeLastColumn = -1;
    std::int32_t topRow = 0;
    float bottomRow = 0;  // fractional: the drawing surface picks the pixel
    std::int32_t leftColumn = 0;
    std::int32_t rightColumn = 0;
    std::int32_t sideFirstRow = 0;
    std::int32_t sideLastRow = -1;
};

OutlinePlan PlanOutline(std::int32_t x0, std::int32_t y0, std::int32_t x1, float cellHeight,
                        std::int32_t pictureSize);

// Every point of a planned outline inside the picture, as (column, row), in drawing order: the
// top and bottom edges together, then the right side, then the left. The fractional bottom row
// lights the nearest pixel row, halves rounding down the picture.
template <typename Plot>
void ForEachOutlinePixel(const OutlinePlan& plan, Plot&& plot) {
    const auto inside = [&](double v) { return v >= 0 && v < plan.pictureSize; };
    const double bottom = std::floor(double{plan.bottomRow} + 0.5);
    for (std::int32_t x = plan.edgeFirstColumn; x <= plan.edgeLastColumn; ++x) {
        if (inside(plan.topRow)) plot(x, plan.topRow);
        if (inside(bottom)) plot(x, static_cast<std::int32_t>(bottom));
    }
    for (const std::int32_t column : {plan.rightColumn, plan.leftColumn}) {
        if (!inside(column)) continue;
        for (std::int32_t y = plan.sideFirstRow; y <= plan.sideLastRow; ++y) plot(column, y);
    }
}

// The rectangle a glyph's outline covers, in preview pixels: columns x0 to x1 - 3, rows y0 to
// OutlineBottomRow, both ends inside. Nothing for a record that is no finite rectangle in 32-bit
// pixels: such a glyph lies under no point.
struct OutlineBox {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool Contains(std::int32_t x, std::int32_t y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};
std::optional<OutlineBox> OutlineBoxOf(const GlyphRecord& glyph, float cellHeight);
bool OutlineCovers(const GlyphRecord& glyph, float cellHeight, std::int32_t x, std::int32_t y);

// The window's width warning, from the stored values: the right edge less than 4 edit units
// right of the left one.
bool IsTooNarrow(const GlyphRecord& glyph);

// FontSize has no unit: shown and parsed as stored.
std::string FontSizeToText(float fontSize, char decimalSeparator);
float FontSizeFromText(std::string_view text, char decimalSeparator);

// Left, Top and Right from their texts in that order, then Aspect; the first failure stops.
GlyphRecord GlyphFromEditTexts(const EdgeTexts& edges, float cellHeight, char decimalSeparator);

}  // namespace font
