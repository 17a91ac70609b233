#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "font/font_file.h"
#include "font/glyph_record.h"
#include "runtime/little_endian.h"

namespace testing_support {

// Builds font files byte by byte, the way the format lays them out.
class FontBytes {
public:
    // A header, then the glyph table at 44 (layout A) or 552 (layout B), then one empty record.
    static FontBytes LayoutA(const std::vector<font::GlyphRecord>& glyphs) {
        return FontBytes(font::kLayoutATableBase, glyphs);
    }
    static FontBytes LayoutB(const std::vector<font::GlyphRecord>& glyphs) {
        return FontBytes(font::kLayoutBTableBase, glyphs);
    }

    FontBytes& Header(float fontSize, float cellHeight, float spaceWidth) {
        Single(font::kFontSizeOffset, fontSize);
        Single(font::kCellHeightOffset, cellHeight);
        Single(font::kSpaceWidthOffset, spaceWidth);
        return *this;
    }

    FontBytes& Single(std::size_t offset, float value) { return Uint32(offset, std::bit_cast<std::uint32_t>(value)); }

    FontBytes& Uint32(std::size_t offset, std::uint32_t value) {
        Grow(offset + 4);
        runtime::StoreUint32(value, std::span<std::byte, 4>(bytes_.data() + offset, 4));
        return *this;
    }

    FontBytes& Record(std::size_t offset, const font::GlyphRecord& record) {
        Single(offset, record.Left).Single(offset + 4, record.Top);
        return Single(offset + 8, record.Right).Single(offset + 12, record.Aspect);
    }

    // Cuts the file after the given number of bytes.
    FontBytes& Truncate(std::size_t size) {
        bytes_.resize(size);
        return *this;
    }

    const std::vector<std::byte>& bytes() const { return bytes_; }

private:
    FontBytes(std::int16_t tableBase, const std::vector<font::GlyphRecord>& glyphs) {
        // Recognisable filler in the bytes nobody may touch.
        bytes_.resize(static_cast<std::size_t>(tableBase));
        for (std::size_t i = 0; i < bytes_.size(); ++i) bytes_[i] = static_cast<std::byte>(0xA0 + i % 16);
        if (tableBase == font::kLayoutBTableBase) {
            for (std::size_t i = 48; i < 64; ++i) bytes_[i] = std::byte{0};  // the probe reads empty
        }
        Header(16, 0.0625f, 0.03125f);
        std::size_t offset = static_cast<std::size_t>(tableBase);
        for (const auto& glyph : glyphs) {
            Record(offset, glyph);
            offset += font::kGlyphRecordSize;
        }
        Grow(offset + font::kGlyphRecordSize);
    }

    void Grow(std::size_t size) {
        if (bytes_.size() < size) bytes_.resize(size, std::byte{0});
    }

    std::vector<std::byte> bytes_;
};

// A glyph at a given cell, with a plausible Aspect.
inline font::GlyphRecord Glyph(float left, float top, float right, float aspect = 0.5f) {
    return {left, top, right, aspect};
}

}  // namespace testing_support
