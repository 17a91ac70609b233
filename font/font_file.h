#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "font/geometry.h"
#include "font/glyph_record.h"
#include "runtime/binary_file.h"

namespace font {

// Header offsets. Bytes 0-7, 12-15 and 24-43 are not ours to interpret.
inline constexpr std::uint64_t kFontSizeOffset = 8;
inline constexpr std::uint64_t kCellHeightOffset = 16;
inline constexpr std::uint64_t kSpaceWidthOffset = 20;

// The 16 bytes at 48 are the tail of record 0 in layout A and unused bytes in layout B.
inline constexpr std::uint64_t kLayoutProbeOffset = 48;
inline constexpr std::int16_t kLayoutATableBase = 44;
inline constexpr std::int16_t kLayoutBTableBase = 552;
inline constexpr std::int32_t kMaxGlyphCount = 1001;

// What the last load read; all zero until the first load.
struct FontState {
    std::int16_t TableBase = 0;
    std::int32_t GlyphCount = 0;
    float FontSize = 0;
    float CellHeight = 0;
    float SpaceWidth = 0;
    GlyphRecord CurrentGlyph;  // the one record buffer: every read lands here, every write comes from here
};

// Byte offset of a record, in checked 16-bit arithmetic: fails as an overflow past 32767.
std::int16_t RecordOffset(std::int16_t tableBase, std::int16_t index);

// Everything a load looks at: the header, the probe and the longest table of either layout.
// It is read in one go from offset 0 and the steps below work on it in memory, which gives the
// same values as reading each field from the file, at the cost of a single read.
inline constexpr std::size_t kFontHeadSize =
    static_cast<std::size_t>(kLayoutBTableBase) + kMaxGlyphCount * kGlyphRecordSize;
using FontHead = std::vector<std::byte>;
FontHead ReadFontHead(runtime::BinaryFile& file);

void ProbeLayout(const FontHead& head, FontState& font);
void CountGlyphs(const FontHead& head, FontState& font);
void ReadHeader(const FontHead& head, FontState& font);
// Both refuse an index outside the table before the file is touched.
void ReadGlyphRecord(runtime::BinaryFile& file, FontState& font, std::int16_t index);
void WriteGlyphRecord(runtime::BinaryFile& file, const FontState& font, std::int16_t index);
// Neighbouring records from first on, in one write: for tools that rewrite many.
void WriteGlyphRecords(runtime::BinaryFile& file, const FontState& font, std::int16_t first, std::span<const GlyphRecord> records);

// A whole record for the table's record at a 0-based index.
struct RecordWrite {
    std::int32_t index;
    GlyphRecord record;
};

// Refuses writes after which a load would find another table: a record outside the table, an
// empty one (the table would end there), or bytes that make the layout probe decide otherwise
// (in layout A, records 0 and 1 hold them). The probe is judged as it would read after every
// write, and read from the file only when a write reaches it.
void CheckTableKept(runtime::BinaryFile& file, const FontState& font, std::span<const RecordWrite> writes);
// Records in rising index order; each run of neighbours goes in one write.
void WriteGlyphRecords(runtime::BinaryFile& file, const FontState& font, std::span<const RecordWrite> writes);

void WriteFontParameters(runtime::BinaryFile& file, const FontState& font);
// FontSize and SpaceWidth as the file holds them now, from where WriteFontParameters puts them.
void ReadFontParameters(runtime::BinaryFile& file, FontState& font);

// The whole table at once, for tools that look at every glyph: read exactly as a load reads it.
struct FontTable {
    FontState state;  // CurrentGlyph: the record that ended the count
    std::vector<GlyphRecord> glyphs;  // GlyphCount records from TableBase on
    std::uint64_t fileSize = 0;
    std::int32_t hiddenRecords = 0;  // see CountHiddenRecords
};

// The records after the one that ends the table, when that one reads as empty only because its
// fields sum to a not-a-number: those with values, up to the 1001 a load looks at, that would
// otherwise have been glyphs. 0 when a record of zeros ends the table, or none does.
std::int32_t CountHiddenRecords(const FontHead& head, const FontState& font);
FontTable ReadFontTable(runtime::BinaryFile& file);

// Where the last glyph's record ends. A file shorter than that still loads, the missing bytes
// reading as zero, but its last glyph is not all in the file.
std::uint64_t TableEnd(const FontState& font);
// Whether a file of that size ends inside its table, its last glyph not all in it. A table of no
// glyphs has nothing to cut, however short the file: the window loads it as what it is.
bool EndsInsideTable(const FontState& font, std::uint64_t fileSize);
// The header values the window reads and writes end here.
inline constexpr std::uint64_t kHeaderValuesEnd = kSpaceWidthOffset + 4;

// A file too short for the header values, or one that ends inside its own glyph table, still
// loads, the missing bytes reading as zero, but is no whole font: what fits or rewrites glyphs
// from the whole table refuses it, as FileTooShort. HeaderValues asks only for the first.
enum class FontPart { HeaderValues, GlyphTable };
void RequireWholeFont(std::uint64_t fileSize, const FontState& font, FontPart upTo = FontPart::GlyphTable);

// The window's parts of a load, run at their places in the sequence.
struct LoadFontWindowSteps {
    std::function<void()> SetSelectorRange;
    std::function<void()> ShowHeader;
    std::function<void()> RefreshView;
};

void LoadFont(const std::filesystem::path& path, FontState& font, const LoadFontWindowSteps& window);

// Converts the texts, recomputes Aspect and writes the selected record; the caller refreshes.
// The index is asked for only after every conversion has passed. A record that would read as
// empty is refused: it would end the glyph table at the next load.
void StoreGlyph(const std::filesystem::path& path, FontState& font, const EdgeTexts& edges,
                char decimalSeparator, const std::function<std::int16_t()>& selectedIndex);

// Parses both texts before either value is written.
void SaveHeader(const std::filesystem::path& path, FontState& font, const std::string& fontSizeText,
                const std::string& spaceWidthText, char decimalSeparator);

}  // namespace font
