#include "font/glyph_record.h"

#include <cmath>

#include "runtime/little_endian.h"

namespace font {
namespace {

constexpr std::size_t kLeftOffset = 0;
constexpr std::size_t kTopOffset = 4;
constexpr std::size_t kRightOffset = 8;
constexpr std::size_t kAspectOffset = 12;

}  // namespace

GlyphRecord DecodeGlyphRecord(std::span<const std::byte, kGlyphRecordSize> bytes) {
    return {
        .Left = runtime::LoadSingle(bytes.subspan<kLeftOffset, 4>()),
        .Top = runtime::LoadSingle(bytes.subspan<kTopOffset, 4>()),
        .Right = runtime::LoadSingle(bytes.subspan<kRightOffset, 4>()),
        .Aspect = runtime::LoadSingle(bytes.subspan<kAspectOffset, 4>()),
    };
}

GlyphRecordBytes EncodeGlyphRecord(const GlyphRecord& record) {
    GlyphRecordBytes bytes;
    const std::span<std::byte, kGlyphRecordSize> out(bytes);
    runtime::StoreSingle(record.Left, out.subspan<kLeftOffset, 4>());
    runtime::StoreSingle(record.Top, out.subspan<kTopOffset, 4>());
    runtime::StoreSingle(record.Right, out.subspan<kRightOffset, 4>());
    runtime::StoreSingle(record.Aspect, out.subspan<kAspectOffset, 4>());
    return bytes;
}

bool IsEmpty(const GlyphRecord& record) {
    const double sum = std::fabs(double{record.Left}) + std::fabs(double{record.Top}) +
                       std::fabs(double{record.Right}) + std::fabs(double{record.Aspect});
    // Rounded as the sum is stored: an overflow here is an infinity (not empty), not a failure.
    const auto rounded = static_cast<float>(sum);
    return std::isnan(rounded) || rounded == 0;
}

}  // namespace font
