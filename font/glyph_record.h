#pragma once

#include <array>
#include <cstddef>
#include <span>

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
using GlyphRecordBytes = std::array<std::byte, kGlyphRecordSize>;

GlyphRecord DecodeGlyphRecord(std::span<const std::byte, kGlyphRecordSize> bytes);
GlyphRecordBytes EncodeGlyphRecord(const GlyphRecord& record);

// The table ends at the first empty record. The test looks at the values, not the bytes:
// a negative zero is zero, a subnormal is not, and a NaN sum counts as empty.
bool IsEmpty(const GlyphRecord& record);

}  // namespace font
