// info, check and diff: the subcommands that only read.
#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

#include "font/geometry.h"
#include "gmftool/commands.h"
#include "gmftool/number_text.h"
#include "gmftool/tool_io.h"
#include "picture/ink.h"
#include "runtime/binary_file.h"
#include "runtime/failure.h"

namespace gmftool {
namespace {

// A JSON number; a value JSON has no number for is the dump's text of it ("inf", "nan:0x7fc00000"),
// so that a reader can tell them apart and a not-a-number keeps its payload.
nlohmann::json JsonNumber(double value, const std::string& text) { return std::isfinite(value) ? nlohmann::json(value) : nlohmann::json(text); }

class Problems {
public:
    void Glyph(std::int32_t index, const std::string& what) { Add("glyph " + std::to_string(index + 1) + ": " + what); }
    void Font(const std::string& what) { Add("font: " + what); }
    void Add(std::string line) { text_ += line + "\n"; ++count_; }
    const std::string& text() const { return text_; }
    int count() const { return count_; }

private:
    std::string text_;
    int count_ = 0;
};

bool Finite(const font::GlyphRecord& g) {
    return std::isfinite(g.Left) && std::isfinite(g.Top) && std::isfinite(g.Right) && std::isfinite(g.Aspect);
}

void CheckValues(const font::FontTable& table, std::int32_t index, Problems& problems) {
    const font::GlyphRecord& g = table.glyphs[static_cast<std::size_t>(index)];
    const float cellHeight = table.state.CellHeight;
    const std::pair<const char*, float> fields[] = {{"left", g.Left}, {"top", g.Top}, {"right", g.Right}, {"aspect", g.Aspect}};
    for (const auto& [name, value] : fields) {
        if (std::isnan(value)) problems.Glyph(index, std::string(name) + " is not a number (" + StoredText(value) + ")");
        else if (std::isinf(value)) problems.Glyph(index, std::string(name) + " is infinite");
    }
    if (!Finite(g)) return;
    if (font::IsTooNarrow(g)) {
        problems.Glyph(index, "narrower than 4 edit units (left " + EditText(g.Left) + ", right " + EditText(g.Right) + ")");
    }
    if (g.Right < g.Left) problems.Glyph(index, "the right edge (" + EditText(g.Right) + ") is left of the left edge (" + EditText(g.Left) + ")");
    const double bottom = double{g.Top} + double{cellHeight};
    const auto outside = [](double v) { return v < 0 || v > 1; };
    if (outside(g.Left) || outside(g.Right) || outside(g.Top) || outside(bottom)) {
        problems.Glyph(index, "reaches outside the texture (left " + EditText(g.Left) + ", top " + EditText(g.Top) + ", right " +
                                  EditText(g.Right) + ", bottom " + EditText(bottom) + "; the texture is 0 to 256)");
    }
    if (cellHeight != 0 && std::isfinite(cellHeight)) {
        try {
            const float aspect = font::ComputeAspect(g.Left, g.Right, cellHeight);
            if (!SameBits(aspect, g.Aspect)) {
                problems.Glyph(index, "aspect " + StoredText(g.Aspect) + " is stale: a store would write " + StoredText(aspect));
            }
        } catch (const runtime::Failure&) {
            problems.Glyph(index, "no aspect can be computed for it (the width in cell heights is beyond binary32)");
        }
    }
}

// A not-a-number ends the table at a record that would otherwise be a glyph, and more follow it.
void CheckHiddenRecords(const font::FontTable& table, Problems& problems) {
    const font::GlyphRecord& end = table.state.CurrentGlyph;
    std::string fields;
    for (const auto& [name, value] : {std::pair{"left", end.Left}, {"top", end.Top}, {"right", end.Right}, {"aspect", end.Aspect}}) {
        if (std::isnan(value)) fields += (fields.empty() ? "" : ", ") + std::string(name) + " " + StoredText(value);
    }
    const std::int32_t n = table.hiddenRecords;
    problems.Glyph(table.state.GlyphCount, "a not-a-number ends the table here (" + fields + "): it and " + std::to_string(n) +
                                               (n == 1 ? " record" : " records") + " after it are never shown");
}

// Rectangles of some area that share some area, each pair once. Sorted by the left edge, a
// glyph is compared only with those that start before it ends.
void CheckOverlaps(const font::FontTable& table, Problems& problems) {
    const double height = table.state.CellHeight;
    if (!(height > 0) || !std::isfinite(height)) return;
    struct Cell {
        float left, right, top;
        std::int32_t index;
    };
    std::vector<Cell> cells;
    for (std::int32_t i = 0; i < table.state.GlyphCount; ++i) {
        const font::GlyphRecord& g = table.glyphs[static_cast<std::size_t>(i)];
        if (Finite(g) && g.Right > g.Left) cells.push_back({g.Left, g.Right, g.Top, i});
    }
    std::sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) { return a.left < b.left; });
    std::vector<std::pair<std::int32_t, std::int32_t>> pairs;
    for (std::size_t a = 0; a < cells.size(); ++a) {
        for (std::size_t b = a + 1; b < cells.size() && cells[b].left < cells[a].right; ++b) {
            if (cells[a].top < cells[b].top + height && cells[b].top < cells[a].top + height) {
                pairs.emplace_back(std::min(cells[a].index, cells[b].index), std::max(cells[a].index, cells[b].index));
            }
        }
    }
    std::sort(pairs.begin(), pairs.end());
    for (const auto& [a, b] : pairs) problems.Glyph(a, "overlaps glyph " + std::to_string(b + 1));
}

void CheckInk(const font::FontTable& table, const picture::Picture& texture, Problems& problems) {
    const picture::InkMap ink(texture, 0);
    for (std::int32_t i = 0; i < table.state.GlyphCount; ++i) {
        try {
            const picture::GlyphInk glyph = picture::FindGlyphInk(ink, table.glyphs[static_cast<std::size_t>(i)], table.state.CellHeight, 1);
            if (!glyph.InkInside()) problems.Glyph(i, "its rectangle holds no ink");
            if (glyph.RunsPastLeft()) problems.Glyph(i, "its ink runs on past the left edge");
            if (glyph.RunsPastRight()) problems.Glyph(i, "its ink runs on past the right edge");
        } catch (const runtime::Failure& failure) {
            problems.Glyph(i, std::string("has no place on the picture (") + failure.what() + ")");
        }
    }
}

void Compare(std::vector<std::string>& lines, const char* name, const std::string& from, const std::string& to) {
    if (from != to) lines.push_back(std::string(name) + ": " + from + " -> " + to);
}

}  // namespace

std::vector<std::string> Differences(const FontDump& from, const FontDump& to) {
    std::vector<std::string> lines;
    Compare(lines, "layout", std::string(1, from.layout), std::string(1, to.layout));
    Compare(lines, "glyph_count", std::to_string(from.glyphCount), std::to_string(to.glyphCount));
    Compare(lines, "font_size", StoredText(from.fontSize), StoredText(to.fontSize));
    Compare(lines, "cell_height", EditText(from.cellHeight), EditText(to.cellHeight));
    Compare(lines, "space_width", EditText(from.spaceWidth), EditText(to.spaceWidth));
    const std::size_t count = std::max(from.glyphs.size(), to.glyphs.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::string label = "glyph " + std::to_string(i + 1) + ": ";
        if (i >= from.glyphs.size() || i >= to.glyphs.size()) {
            lines.push_back(label + (i >= from.glyphs.size() ? "only in the second font" : "only in the first font"));
            continue;
        }
        const font::GlyphRecord& a = from.glyphs[i];
        const font::GlyphRecord& b = to.glyphs[i];
        std::vector<std::string> fields;
        const auto field = [&](const char* name, float x, float y, bool edit) {
            if (!SameBits(x, y)) fields.push_back(std::string(name) + " " + (edit ? EditText(x) : StoredText(x)) + " -> " + (edit ? EditText(y) : StoredText(y)));
        };
        field("left", a.Left, b.Left, true);
        field("top", a.Top, b.Top, true);
        field("right", a.Right, b.Right, true);
        field("aspect", a.Aspect, b.Aspect, false);
        if (fields.empty()) continue;
        std::string line = label;
        for (std::size_t f = 0; f < fields.size(); ++f) line += (f ? ", " : "") + fields[f];
        lines.push_back(line);
    }
    return lines;
}

int Info(const Options& options) {
    const font::FontTable table = ReadTable(options.files[0]);
    const font::FontState& f = table.state;
    if (options.json) {
        const nlohmann::json info = {
            {"layout", std::string(1, LayoutName(f))},
            {"table_offset", f.TableBase},
            {"glyph_count", f.GlyphCount},
            {"font_size", JsonNumber(f.FontSize, StoredText(f.FontSize))},
            {"cell_height", JsonNumber(double{f.CellHeight} * 256, EditText(f.CellHeight))},
            {"space_width", JsonNumber(double{f.SpaceWidth} * 256, EditText(f.SpaceWidth))},
            {"file_size", table.fileSize},
        };
        Emit(options, info.dump(2) + "\n");
        return kExitOk;
    }
    Emit(options, "layout: " + std::string(1, LayoutName(f)) + "\ntable_offset: " + std::to_string(f.TableBase) +
                      "\nglyph_count: " + std::to_string(f.GlyphCount) + "\nfont_size: " + StoredText(f.FontSize) +
                      "\ncell_height: " + EditText(f.CellHeight) + "\nspace_width: " + EditText(f.SpaceWidth) +
                      "\nfile_size: " + std::to_string(table.fileSize) + "\n");
    return kExitOk;
}

int Check(const Options& options) {
    const std::filesystem::path& path = options.files[0];
    runtime::BinaryFile file = runtime::BinaryFile::OpenForReading(path);
    const font::FontTable table = font::ReadFontTable(file);
    RequireComplete(table, path, Completeness::HeaderOnly);  // a short table is one of the problems
    const std::optional<picture::Picture> texture = FindTexture(options, path);
    Problems problems;
    if (font::EndsInsideTable(table.state, table.fileSize)) {
        problems.Font("the file ends at byte " + std::to_string(table.fileSize) + ", inside the glyph table (which ends at byte " +
                      std::to_string(font::TableEnd(table.state)) + ")");
    }
    if (table.state.CellHeight == 0) problems.Font("the cell height is 0: no glyph can be stored");
    if (!std::isfinite(table.state.CellHeight)) problems.Font("the cell height is " + StoredText(table.state.CellHeight));
    if (!std::isfinite(table.state.FontSize)) problems.Font("the font size is " + StoredText(table.state.FontSize));
    if (!std::isfinite(table.state.SpaceWidth)) problems.Font("the space width is " + EditText(table.state.SpaceWidth));
    for (std::int32_t i = 0; i < table.state.GlyphCount; ++i) CheckValues(table, i, problems);
    if (table.hiddenRecords > 0) CheckHiddenRecords(table, problems);
    CheckOverlaps(table, problems);
    if (texture) CheckInk(table, *texture, problems);
    // A TGA may be any size, with or without alpha, which decide the scale and the ink rule: what
    // it is comes first, and is no problem. A BMP is 512 x 512 and says nothing, as before.
    const bool tga = texture && texture->format.kind == picture::PictureKind::Tga;
    const std::string about = tga ? "texture: " + picture::Describe(texture->image, texture->format) + "\n" : "";
    Emit(options, about + problems.text());
    return problems.count() > 0 ? kExitFound : kExitOk;
}

int Diff(const Options& options) {
    const FontDump a = DumpOf(ReadTable(options.files[0]));
    const FontDump b = DumpOf(ReadTable(options.files[1]));
    std::string text;
    for (const std::string& line : Differences(a, b)) text += line + "\n";
    Emit(options, text);
    return text.empty() ? kExitOk : kExitFound;
}

}  // namespace gmftool
