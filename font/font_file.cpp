#include "font/font_file.h"

#include <algorithm>
#include <optional>
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

void CheckInTable(const FontState& font, std::int32_t index) {
    if (index < 0 || index >= font.GlyphCount) {
        throw runtime::Failure(runtime::FailureKind::NoSuchGlyph,
                               "glyph " + std::to_string(index) + " is outside the table of " +
                                   std::to_string(font.GlyphCount) + " glyphs");
    }
}

GlyphRecord RecordAt(const FontHead& head, std::size_t offset) {
    return DecodeGlyphRecord(std::span(head).subspan(offset).first<kGlyphRecordSize>());
}

// An empty probe means the 16 bytes at 48 are not part of a table, so it starts at 552.
std::int16_t TableBaseFor(const GlyphRecord& probe) { return IsEmpty(probe) ? kLayoutBTableBase : kLayoutATableBase; }

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
    font.TableBase = TableBaseFor(font.CurrentGlyph);
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

std::int32_t CountHiddenRecords(const FontHead& head, const FontState& font) {
    const auto recordAt = [&](std::int32_t index) {
        return RecordAt(head, static_cast<std::size_t>(font.TableBase) + static_cast<std::size_t>(index) * kGlyphRecordSize);
    };
    // Compared one by one, a not-a-number is no zero.
    const auto zeros = [](const GlyphRecord& r) { return r.Left == 0 && r.Top == 0 && r.Right == 0 && r.Aspect == 0; };
    if (font.GlyphCount >= kMaxGlyphCount || zeros(recordAt(font.GlyphCount))) return 0;
    std::int32_t hidden = 0;
    while (font.GlyphCount + 1 + hidden < kMaxGlyphCount && !zeros(recordAt(font.GlyphCount + 1 + hidden))) ++hidden;
    return hidden;
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

void WriteGlyphRecords(runtime::BinaryFile& file, const FontState& font, std::int16_t first, std::span<const GlyphRecord> records) {
    if (records.empty()) return;
    CheckInTable(font, first);
    CheckInTable(font, first + static_cast<std::int32_t>(records.size()) - 1);
    const std::int16_t offset = RecordOffset(font.TableBase, first);
    std::vector<std::byte> bytes(records.size() * kGlyphRecordSize);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const GlyphRecordBytes record = EncodeGlyphRecord(records[i]);
        std::copy(record.begin(), record.end(), bytes.begin() + static_cast<std::ptrdiff_t>(i * kGlyphRecordSize));
    }
    file.Write(static_cast<std::uint64_t>(offset), bytes);
}

void WriteGlyphRecords(runtime::BinaryFile& file, const FontState& font, std::span<const RecordWrite> writes) {
    std::vector<GlyphRecord> run;
    for (std::size_t i = 0; i < writes.size(); ++i) {
        run.push_back(writes[i].record);
        const bool runEnds = i + 1 == writes.size() || writes[i + 1].index != writes[i].index + 1;
        if (!runEnds) continue;
        const auto first = static_cast<std::int16_t>(writes[i].index + 1 - static_cast<std::int32_t>(run.size()));
        WriteGlyphRecords(file, font, first, run);
        run.clear();
    }
}

void CheckTableKept(runtime::BinaryFile& file, const FontState& font, std::span<const RecordWrite> writes) {
    constexpr std::uint64_t kProbeEnd = kLayoutProbeOffset + kGlyphRecordSize;
    std::optional<GlyphRecordBytes> probe;
    for (const RecordWrite& write : writes) {
        CheckInTable(font, write.index);
        const auto offset = static_cast<std::uint64_t>(RecordOffset(font.TableBase, static_cast<std::int16_t>(write.index)));
        if (IsEmpty(write.record)) {
            throw runtime::Failure(runtime::FailureKind::WouldEndTable,
                                   "glyph " + std::to_string(write.index + 1) + " would be empty and end the table");
        }
        if (offset >= kProbeEnd || offset + kGlyphRecordSize <= kLayoutProbeOffset) continue;
        if (!probe) {
            probe.emplace();
            file.Read(kLayoutProbeOffset, *probe);
        }
        const GlyphRecordBytes bytes = EncodeGlyphRecord(write.record);
        for (std::uint64_t at = std::max(offset, kLayoutProbeOffset); at < std::min(offset + kGlyphRecordSize, kProbeEnd); ++at) {
            (*probe)[at - kLayoutProbeOffset] = bytes[at - offset];
        }
    }
    // With the table where it was, every record inside it and none empty, the count stays too.
    if (!probe) return;
    const GlyphRecord after = DecodeGlyphRecord(*probe);
    if (TableBaseFor(after) != font.TableBase) {
        throw runtime::Failure(runtime::FailureKind::WouldChangeLayout,
                               "the glyph table would move from byte " + std::to_string(font.TableBase) + " to byte " +
                                   std::to_string(TableBaseFor(after)) + " (another layout): the bytes at 48 to 63 that decide it would read as " +
                                   (IsEmpty(after) ? "empty" : "not empty"));
    }
}

void WriteFontParameters(runtime::BinaryFile& file, const FontState& font) {
    // Both values or neither: a short file must refuse the second before the first is written.
    file.CheckWrite(kFontSizeOffset, 4);
    file.CheckWrite(kSpaceWidthOffset, 4);
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
    table.hiddenRecords = CountHiddenRecords(head, table.state);
    return table;
}

std::uint64_t TableEnd(const FontState& font) {
    return static_cast<std::uint64_t>(font.TableBase) + static_cast<std::uint64_t>(font.GlyphCount) * kGlyphRecordSize;
}

bool EndsInsideTable(const FontState& font, std::uint64_t fileSize) { return font.GlyphCount > 0 && fileSize < TableEnd(font); }

void RequireWholeFont(std::uint64_t fileSize, const FontState& font, FontPart upTo) {
    if (fileSize < kHeaderValuesEnd) {
        throw runtime::Failure(runtime::FailureKind::FileTooShort,
                               "not a font: " + std::to_string(fileSize) + " bytes cannot hold the header values");
    }
    if (upTo == FontPart::GlyphTable && EndsInsideTable(font, fileSize)) {
        throw runtime::Failure(runtime::FailureKind::FileTooShort, "the file ends at byte " + std::to_string(fileSize) +
                                                                       ", inside the glyph table (truncated, or not a font)");
    }
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
    const std::int16_t index = selectedIndex();
    const RecordWrite write{index, font.CurrentGlyph};
    CheckTableKept(file, font, std::span(&write, 1));
    WriteGlyphRecord(file, font, index);
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
