#include "gmftool/tool_io.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <span>
#include <system_error>

#include "font/texture.h"
#include "runtime/failure.h"

namespace gmftool {
namespace {

runtime::Failure CannotWrite(const runtime::BinaryFile& file, const std::string& why) {
    return runtime::Failure(runtime::FailureKind::WriteFailed, runtime::DisplayPath(file.path()) + ": " + why);
}

}  // namespace

void RequireComplete(const font::FontTable& table, const std::filesystem::path& font, Completeness completeness) {
    try {
        font::RequireWholeFont(table.fileSize, table.state,
                               completeness == Completeness::Whole ? font::FontPart::GlyphTable : font::FontPart::HeaderValues);
    } catch (const runtime::Failure& failure) {
        throw runtime::Failure(failure.kind(), runtime::DisplayPath(font) + ": " + failure.what());
    }
}

font::FontTable ReadTable(const std::filesystem::path& font) {
    runtime::BinaryFile file = runtime::BinaryFile::OpenForReading(font);
    font::FontTable table = font::ReadFontTable(file);
    RequireComplete(table, font);
    return table;
}

std::optional<picture::Picture> FindTexture(const Options& options, const std::filesystem::path& font) {
    if (options.picture) return picture::LoadTexture(*options.picture);
    const std::filesystem::path bmp = font::DefaultPicturePath(font);
    for (const std::filesystem::path& beside : {bmp, std::filesystem::path(bmp).replace_extension(".tga")}) {
        std::error_code ignored;
        if (std::filesystem::exists(beside, ignored)) return picture::LoadTexture(beside);
    }
    return std::nullopt;
}

void Emit(const Options& options, const std::string& text) {
    const auto bytes = std::as_bytes(std::span(text.data(), text.size()));
    if (options.output) {
        runtime::WriteNewFile(*options.output, bytes);
    } else if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
        const int error = errno;
        throw runtime::Failure(runtime::FailureKind::WriteFailed, "cannot write standard output: " + std::generic_category().message(error));
    }
}

std::vector<std::int32_t> GlyphIndexes(const std::optional<std::string>& list, std::int32_t glyphCount) {
    std::vector<std::int32_t> indexes;
    if (!list) {
        for (std::int32_t i = 0; i < glyphCount; ++i) indexes.push_back(i);
        return indexes;
    }
    const auto number = [&](std::string_view text) {
        std::int32_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > glyphCount) {
            throw UsageError("--glyphs: '" + std::string(text) + "' is not a glyph number from 1 to " + std::to_string(glyphCount));
        }
        return value;
    };
    std::string_view rest = *list;
    while (true) {
        const std::size_t comma = rest.find(',');
        const std::string_view item = rest.substr(0, comma);
        const std::size_t dash = item.find('-');
        const std::int32_t first = number(item.substr(0, dash));
        const std::int32_t last = dash == std::string_view::npos ? first : number(item.substr(dash + 1));
        if (last < first) throw UsageError("--glyphs: the range " + std::string(item) + " runs backwards");
        for (std::int32_t n = first; n <= last; ++n) indexes.push_back(n - 1);
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    return indexes;
}

bool SameBits(float a, float b) { return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b); }

bool SameBits(const font::GlyphRecord& a, const font::GlyphRecord& b) {
    return SameBits(a.Left, b.Left) && SameBits(a.Top, b.Top) && SameBits(a.Right, b.Right) && SameBits(a.Aspect, b.Aspect);
}

void CheckWrites(runtime::BinaryFile& file, const font::FontTable& table, const FontWrites& writes) {
    RequireComplete(table, file.path());
    try {
        font::CheckTableKept(file, table.state, writes.records);
    } catch (const runtime::Failure& failure) {
        throw runtime::Failure(failure.kind(), runtime::DisplayPath(file.path()) + ": " + failure.what());
    }
    // The access was opened for writing when the system allowed it, and nothing was written.
    if (!file.writable()) throw CannotWrite(file, "the file is read-only");
}

void WriteInPlace(runtime::BinaryFile& file, const font::FontTable& table, const FontWrites& writes) {
    // Every check before the first write, so that a refusal leaves the font as it was.
    CheckWrites(file, table, writes);
    font::FontState state = table.state;
    font::WriteGlyphRecords(file, state, writes.records);
    if (writes.header) {
        state.FontSize = writes.header->first;
        state.SpaceWidth = writes.header->second;
        font::WriteFontParameters(file, state);
    }

    // Read back in one go: the table from its start to its last record.
    std::vector<std::byte> readBack(static_cast<std::size_t>(font::TableEnd(state) - static_cast<std::uint64_t>(state.TableBase)));
    if (!writes.records.empty()) file.Read(static_cast<std::uint64_t>(state.TableBase), readBack);
    for (const auto& [index, record] : writes.records) {
        const auto written = font::EncodeGlyphRecord(record);
        if (!std::equal(written.begin(), written.end(), readBack.begin() + static_cast<std::ptrdiff_t>(index) * font::kGlyphRecordSize)) {
            throw CannotWrite(file, "glyph " + std::to_string(index + 1) + " reads back differently");
        }
    }
    if (writes.header && (!SameBits(file.ReadSingle(font::kFontSizeOffset), state.FontSize) ||
                          !SameBits(file.ReadSingle(font::kSpaceWidthOffset), state.SpaceWidth))) {
        throw CannotWrite(file, "the header values read back differently");
    }
}

}  // namespace gmftool
