#include "font/font_file.h"

#include <span>
#include <vector>

#include "font/geometry.h"
#include "runtime/checked.h"
#include "runtime/failure.h"

namespace font {
namespace {

GlyphRecord ReadRecordAt(runtime::BinaryFile& file, std::uint64_t offset) {
    GlyphRecordBytes bytes;
    file.Read(offset, bytes);
    return DecodeGlyphRecord(bytes);
}

void CheckInTable(const FontState& font, std::int16_t index) {
    if (index < 0 || index >= font.GlyphCount) {
        throw runtime::Failure(runtime::FailureKind::NoSuchGlyph,
                               "glyph " + std::to_string(index) + " is outside the table of " +
                                   std::to_string(font.GlyphCount) + " glyphs");
    }
}

}  // namespace

std::int16_t RecordOffset(std::int16_t tableBase, std::int16_t index) {
    constexpr auto kRecordSize = static_cast<std::int16_t>(kGlyphRecordSize);
    return runtime::CheckedAdd16(tableBase, runtime::CheckedMultiply16(kRecordSize, index));
}

void ProbeLayout(runtime::BinaryFile& file, FontState& font) {
    font.CurrentGlyph = ReadRecordAt(file, kLayoutProbeOffset);
    font.TableBase = IsEmpty(font.CurrentGlyph) ? kLayoutBTableBase : kLayoutATableBase;
}

void CountGlyphs(runtime::BinaryFile& file, FontState& font) {
    // All 1001 records in one read, counted in memory: the same records as a read each, at a
    // fraction of the cost. A table that runs to the end of the file stops there, since the
    // missing bytes read as zero.
    std::vector<std::byte> table(kMaxGlyphCount * kGlyphRecordSize);
    file.Read(static_cast<std::uint64_t>(font.TableBase), table);
    font.GlyphCount = 0;
    while (font.GlyphCount < kMaxGlyphCount) {
        const auto record = std::span(table).subspan(font.GlyphCount * kGlyphRecordSize).first<kGlyphRecordSize>();
        font.CurrentGlyph = DecodeGlyphRecord(record);
        if (IsEmpty(font.CurrentGlyph)) return;
        ++font.GlyphCount;
    }
}

void ReadHeader(runtime::BinaryFile& file, FontState& font) {
    font.FontSize = file.ReadSingle(kFontSizeOffset);
    font.CellHeight = file.ReadSingle(kCellHeightOffset);
    font.SpaceWidth = file.ReadSingle(kSpaceWidthOffset);
}

void ReadGlyphRecord(runtime::BinaryFile& file, FontState& font, std::int16_t index) {
    const std::int16_t offset = RecordOffset(font.TableBase, index);
    CheckInTable(font, index);
    font.CurrentGlyph = ReadRecordAt(file, static_cast<std::uint64_t>(offset));
}

void WriteGlyphRecord(runtime::BinaryFile& file, const FontState& font, std::int16_t index) {
    const std::int16_t offset = RecordOffset(font.TableBase, index);
    CheckInTable(font, index);
    file.Write(static_cast<std::uint64_t>(offset), EncodeGlyphRecord(font.CurrentGlyph));
}

void WriteFontParameters(runtime::BinaryFile& file, const FontState& font) {
    file.WriteSingle(kFontSizeOffset, font.FontSize);
    file.WriteSingle(kSpaceWidthOffset, font.SpaceWidth);
}

void LoadFont(const std::string& path, FontState& font, const LoadFontWindowSteps& window) {
    runtime::BinaryFile file = runtime::BinaryFile::Open(path);
    ProbeLayout(file, font);
    CountGlyphs(file, font);
    window.SetSelectorRange();
    ReadHeader(file, font);
    window.ShowHeader();
    window.RefreshView();  // opens a second access of its own while this one is open
}

void StoreGlyph(const std::string& path, FontState& font, const EdgeTexts& edges,
                char decimalSeparator, const std::function<std::int16_t()>& selectedIndex) {
    runtime::BinaryFile file = runtime::BinaryFile::Open(path);
    font.CurrentGlyph = GlyphFromEditTexts(edges, font.CellHeight, decimalSeparator);
    if (IsEmpty(font.CurrentGlyph)) {
        throw runtime::Failure(runtime::FailureKind::WouldEndTable,
                               "a glyph with every edge at 0 would end the glyph table");
    }
    WriteGlyphRecord(file, font, selectedIndex());
}

void SaveHeader(const std::string& path, FontState& font, const std::string& fontSizeText,
                const std::string& spaceWidthText, char decimalSeparator) {
    runtime::BinaryFile file = runtime::BinaryFile::Open(path);
    FontState saved = font;
    saved.FontSize = FontSizeFromText(fontSizeText, decimalSeparator);
    saved.SpaceWidth = FromEditText(spaceWidthText, decimalSeparator);
    WriteFontParameters(file, saved);
    font = saved;
}

}  // namespace font
