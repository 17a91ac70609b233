#include "font/font_file.h"

#include <span>
#include <vector>

#include "font/geometry.h"
#include "runtime/checked.h"
#include "runtime/failure.h"
#include "runtime/little_endian.h"

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

GlyphRecord RecordAt(const FontHead& head, std::size_t offset) {
    return DecodeGlyphRecord(std::span(head).subspan(offset).first<kGlyphRecordSize>());
}

float SingleAt(const FontHead& head, std::size_t offset) {
    return runtime::LoadSingle(std::span(head).subspan(offset).first<4>());
}

}  // namespace

std::int16_t RecordOffset(std::int16_t tableBase, std::int16_t index) {
    constexpr auto kRecordSize = static_cast<std::int16_t>(kGlyphRecordSize);
    return runtime::CheckedAdd16(tableBase, runtime::CheckedMultiply16(kRecordSize, index));
}

FontHead ReadFontHead(runtime::BinaryFile& file) {
    FontHead head(kFontHeadSize);
    file.Read(0, head);  // a short file leaves zeros, as a read past its end would
    return head;
}

void ProbeLayout(const FontHead& head, FontState& font) {
    font.CurrentGlyph = RecordAt(head, kLayoutProbeOffset);
    font.TableBase = IsEmpty(font.CurrentGlyph) ? kLayoutBTableBase : kLayoutATableBase;
}

void CountGlyphs(const FontHead& head, FontState& font) {
    // A table that runs to the end of the file stops there, since the missing bytes read as zero.
    // Counted in locals: the state is written once, after the last record read.
    std::int32_t count = 0;
    GlyphRecord record;
    while (count < kMaxGlyphCount) {
        record = RecordAt(head, static_cast<std::size_t>(font.TableBase) + static_cast<std::size_t>(count) * kGlyphRecordSize);
        if (IsEmpty(record)) break;
        ++count;
    }
    font.GlyphCount = count;
    font.CurrentGlyph = record;
}

void ReadHeader(const FontHead& head, FontState& font) {
    font.FontSize = SingleAt(head, kFontSizeOffset);
    font.CellHeight = SingleAt(head, kCellHeightOffset);
    font.SpaceWidth = SingleAt(head, kSpaceWidthOffset);
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
    // Both values or neither: a short file must refuse the second before the first is written.
    file.CheckWrite(kFontSizeOffset);
    file.CheckWrite(kSpaceWidthOffset);
    file.WriteSingle(kFontSizeOffset, font.FontSize);
    file.WriteSingle(kSpaceWidthOffset, font.SpaceWidth);
}

void ReadFontParameters(runtime::BinaryFile& file, FontState& font) {
    font.FontSize = file.ReadSingle(kFontSizeOffset);
    font.SpaceWidth = file.ReadSingle(kSpaceWidthOffset);
}

FontTable ReadFontTable(runtime::BinaryFile& file) {
    FontTable table;
    const FontHead head = ReadFontHead(file);
    ProbeLayout(head, table.state);
    CountGlyphs(head, table.state);
    ReadHeader(head, table.state);
    table.glyphs.reserve(static_cast<std::size_t>(table.state.GlyphCount));
    for (std::int32_t i = 0; i < table.state.GlyphCount; ++i) {
        table.glyphs.push_back(RecordAt(head, static_cast<std::size_t>(table.state.TableBase) + static_cast<std::size_t>(i) * kGlyphRecordSize));
    }
    table.fileSize = file.Size();
    return table;
}

std::uint64_t TableEnd(const FontState& font) {
    return static_cast<std::uint64_t>(font.TableBase) + static_cast<std::uint64_t>(font.GlyphCount) * kGlyphRecordSize;
}

void LoadFont(const std::filesystem::path& path, FontState& font, const LoadFontWindowSteps& window) {
    runtime::BinaryFile file = runtime::BinaryFile::Open(path);
    const FontHead head = ReadFontHead(file);
    ProbeLayout(head, font);
    CountGlyphs(head, font);
    window.SetSelectorRange();
    ReadHeader(head, font);
    window.ShowHeader();
    window.RefreshView();  // opens a second access of its own while this one is open
}

void StoreGlyph(const std::filesystem::path& path, FontState& font, const EdgeTexts& edges,
                char decimalSeparator, const std::function<std::int16_t()>& selectedIndex) {
    runtime::BinaryFile file = runtime::BinaryFile::Open(path);
    font.CurrentGlyph = GlyphFromEditTexts(edges, font.CellHeight, decimalSeparator);
    if (IsEmpty(font.CurrentGlyph)) {
        throw runtime::Failure(runtime::FailureKind::WouldEndTable,
                               "a glyph with every edge at 0 would end the glyph table");
    }
    WriteGlyphRecord(file, font, selectedIndex());
}

void SaveHeader(const std::filesystem::path& path, FontState& font, const std::string& fontSizeText,
                const std::string& spaceWidthText, char decimalSeparator) {
    runtime::BinaryFile file = runtime::BinaryFile::Open(path);
    FontState saved = font;
    saved.FontSize = FontSizeFromText(fontSizeText, decimalSeparator);
    saved.SpaceWidth = FromEditText(spaceWidthText, decimalSeparator);
    WriteFontParameters(file, saved);
    font = saved;
}

}  // namespace font
