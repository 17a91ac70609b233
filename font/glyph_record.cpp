#include "font/glyph_record.h"

#include "runtime/little_endian.h"

namespace font {

GlyphRecordBytes EncodeGlyphRecord(const GlyphRecord& record) {
    GlyphRecordBytes bytes;
    const std::span<std::byte, kGlyphRecordSize> out(bytes);
    runtime::StoreSingle(record.Left, out.subspan<kLeftOffset, 4>());
    runtime::StoreSingle(record.Top, out.subspan<kTopOffset, 4>());
    runtime::StoreSingle(record.Right, out.subspan<kRightOffset, 4>());
    runtime::StoreSingle(record.Aspect, out.subspan<kAspectOffset, 4>());
    return bytes;
}

}  // namespace font
