#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <span>

#include "runtime/little_endian.h"

namespace font {

// One glyph's rectangle on the texture, in texture units. A record stores no bottom edge:
// every cell runs down from Top by the font-wide CellHeight.
struct GlyphRecord {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Aspect = 0;  // (Right - Left) / CellHeight

    bool operator==(const GlyphRecord&) const = default;
};

inline constexpr std::size_t kGlyphRecordSize = 16;
inline constexpr std::size_t kLeftOffset = 0;
inline constexpr std::size_t kTopOffset = 4;
inline constexpr std::size_t kRightOffset = 8;
inline constexpr std::size_t kAspectOffset = 12;
using GlyphRecordBytes = std::array<std::byte, kGlyphRecordSize>;

// Inline, as the count runs them over a thousand records in a row.
inline GlyphRecord DecodeGlyphRecord(std::span<const std::byte, kGlyphRecordSize> bytes) {
    return {
        .Left = runtime::LoadSingle(bytes.subspan<kLeftOffset, 4>()),
        .Top = runtime::LoadSingle(bytes.subspan<kTopOffset, 4>()),
        .Right = runtime::LoadSingle(bytes.subspan<kRightOffset, 4>()),
        .Aspect = runtime::LoadSingle(bytes.subspan<kAspectOffset, 4>()),
    };
}

GlyphRecordBytes EncodeGlyphRecord(const GlyphRecord& record);

// The table ends at the first empty record. The test looks at the values, not the bytes:
// a negative zero is zero, a subnormal is not, and a NaN sum counts as empty.
inline bool IsEmpty(const GlyphRecord& record) {
    const double sum = std::fabs(double{record.Left}) + std::fabs(double{record.Top}) +
                       std::fabs(double{record.Right}) + std::fabs(double{record.Aspect});
    // Rounded as the sum is stored: an overflow here is an infinity (not empty), not a failure.
    const auto rounded = static_cast<float>(sum);
    return std::isnan(rounded) || rounded == 0;
}

}  // namespace font
