// dump and restore: the font's table as text, and back again exactly.
#include <string>

#include "gmftool/commands.h"
#include "gmftool/tool_io.h"
#include "runtime/binary_file.h"
#include "runtime/failure.h"

namespace gmftool {
namespace {

runtime::Failure Refused(const std::filesystem::path& font, const std::string& why) {
    return runtime::Failure(runtime::FailureKind::Malformed, runtime::DisplayPath(font) + ": not restored: " + why);
}

// A dump of 1001 glyphs is under 100 KB; far more is no dump, or a device that never ends.
constexpr std::size_t kMaxDumpBytes = 16 << 20;

// "-" is standard input, as in most tools; a pipe or a device named by its path is read as well.
FontDump ReadDump(const std::filesystem::path& path) {
    const bool standardInput = path == "-";
    const std::vector<std::byte> bytes = standardInput ? runtime::ReadStandardInput(kMaxDumpBytes) : runtime::ReadToEnd(path, kMaxDumpBytes);
    try {
        return ParseDump(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const runtime::Failure& failure) {
        throw runtime::Failure(failure.kind(), (standardInput ? "standard input" : runtime::DisplayPath(path)) + ": " + failure.what());
    }
}

std::string Count(std::size_t n, const char* one, const char* many) { return std::to_string(n) + " " + (n == 1 ? one : many); }

}  // namespace

int Dump(const Options& options) {
    Emit(options, WriteDump(DumpOf(ReadTable(options.files[0]))));
    return kExitOk;
}

int Restore(const Options& options) {
    const std::filesystem::path& fontPath = options.files[0];
    const FontDump dump = ReadDump(options.files[1]);
    runtime::BinaryFile file = runtime::BinaryFile::Open(fontPath);
    const font::FontTable table = font::ReadFontTable(file);
    RequireComplete(table, fontPath);
    const FontDump current = DumpOf(table);

    if (dump.layout != current.layout) {
        throw Refused(fontPath, "the dump is of layout " + std::string(1, dump.layout) + ", the font of layout " + current.layout);
    }
    if (dump.glyphCount != current.glyphCount) {
        throw Refused(fontPath, "the dump has " + std::to_string(dump.glyphCount) + " glyphs, the font " + std::to_string(current.glyphCount));
    }
    // The window never writes the cell height, so neither does a restore.
    if (!SameBits(dump.cellHeight, current.cellHeight)) throw Refused(fontPath, "the dump's cell_height differs from the font's");

    FontWrites writes;
    for (std::size_t i = 0; i < dump.glyphs.size(); ++i) {
        if (!SameBits(dump.glyphs[i], current.glyphs[i])) writes.records.push_back({static_cast<std::int32_t>(i), dump.glyphs[i]});
    }
    const int headerChanges = !SameBits(dump.fontSize, current.fontSize) + !SameBits(dump.spaceWidth, current.spaceWidth);
    if (headerChanges > 0) writes.header.emplace(dump.fontSize, dump.spaceWidth);
    const std::string summary = Count(writes.records.size(), "glyph", "glyphs") + " and " +
                                Count(static_cast<std::size_t>(headerChanges), "header value", "header values");

    if (options.dryRun) {
        CheckWrites(file, table, writes);
        std::string text;
        for (const std::string& line : Differences(current, dump)) text += line + "\n";
        Emit(options, text + "would change " + summary + " (dry run: nothing written)\n");
        return kExitOk;
    }
    WriteInPlace(file, table, writes);
    Emit(options, "changed " + summary + "\n");
    return kExitOk;
}

}  // namespace gmftool
