#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "font/font_file.h"
#include "gmftool/cli.h"
#include "picture/image.h"
#include "runtime/binary_file.h"

// What the subcommands share: reading fonts and pictures, writing outputs and fonts.
namespace gmftool {

// A font's table, refusing a file that cannot be a whole font: one too short for the header
// values, or one that ends inside its own glyph table.
font::FontTable ReadTable(const std::filesystem::path& font);
enum class Completeness { Whole, HeaderOnly };
void RequireComplete(const font::FontTable& table, const std::filesystem::path& font, Completeness completeness = Completeness::Whole);

// The texture: --picture, or else the font's own BMP when there is one, else its TGA. A picture
// that is there but cannot be used is an error.
std::optional<picture::Picture> FindTexture(const Options& options, const std::filesystem::path& font);

// To the -o file, or to standard output.
void Emit(const Options& options, const std::string& text);

// 0-based indexes from a list of 1-based numbers and ranges ("3,5-9"); all glyphs without one.
std::vector<std::int32_t> GlyphIndexes(const std::optional<std::string>& list, std::int32_t glyphCount);

// Whether two stored values have the same bits: a negative zero and a not-a-number's payload count.
bool SameBits(float a, float b);
bool SameBits(const font::GlyphRecord& a, const font::GlyphRecord& b);

struct FontWrites {
    std::vector<font::RecordWrite> records;         // in the order of their indexes
    std::optional<std::pair<float, float>> header;  // FontSize, SpaceWidth
};

// Refuses writes that the font cannot take whole: a font that is not whole, records after which
// it would load as another table (font::CheckTableKept), or a file that could not be opened for
// writing. What a dry run checks, so that it foretells every refusal of the real run.
void CheckWrites(runtime::BinaryFile& file, const font::FontTable& table, const FontWrites& writes);

// Writes in place through the open font, each value as the window writes it, after CheckWrites;
// then reads every byte back. Neighbouring records go in one write.
void WriteInPlace(runtime::BinaryFile& file, const font::FontTable& table, const FontWrites& writes);

}  // namespace gmftool
