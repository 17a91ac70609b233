// render: characters drawn from a TrueType font into the texture, their glyphs' rectangles set.
#include <cstdio>
#include <string>

#include "font/texture.h"
#include "glyphs/render_plan.h"
#include "gmftool/commands.h"
#include "gmftool/number_text.h"
#include "gmftool/tool_io.h"
#include "picture/bmp_write.h"
#include "picture/tga_write.h"
#include "runtime/binary_file.h"
#include "runtime/failure.h"

namespace gmftool {
namespace {

// Text from a map file; a map is a few lines, never a device's endless output.
constexpr std::size_t kLargestMap = 1 << 20;

runtime::Failure About(const std::filesystem::path& path, const runtime::Failure& failure) {
    return runtime::Failure(failure.kind(), runtime::DisplayPath(path) + ": " + failure.what());
}

std::vector<glyphs::CharAssignment> Assignments(const RenderOptions& render, std::int32_t glyphCount) {
    if (render.chars) return glyphs::MapText(*render.chars, *render.at, glyphCount);
    if (render.codePage) return glyphs::MapCodePage(*render.codePage, *render.at, *render.from, glyphCount);
    const std::vector<std::byte> bytes = runtime::ReadToEnd(*render.map, kLargestMap);
    try {
        return glyphs::MapLines(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), glyphCount);
    } catch (const runtime::Failure& failure) {
        throw About(*render.map, failure);
    }
}

std::string SizeLine(const glyphs::RenderPlan& plan) {
    std::string line = "size " + std::to_string(plan.px) + " px";
    if (plan.pxChosen && plan.highestAtNextSize) {
        line += " (the largest whose ink fits the cell of " + std::to_string(plan.cellRows) + " rows; at " + std::to_string(plan.px + 1) +
                " px " + glyphs::CharacterName(*plan.highestAtNextSize) + " reaches highest and " +
                glyphs::CharacterName(*plan.lowestAtNextSize) + " lowest)";
    } else if (plan.pxChosen) {
        line += " (the cell limits no size here)";
    }
    return line + ", baseline " + std::to_string(plan.baseline) + " rows from the top\n";
}

std::string PlanTable(const glyphs::RenderPlan& plan) {
    std::string text = SizeLine(plan) + "glyph\tcharacter\tleft\ttop\tright\twidth\tplace\tclipped\n";
    for (const glyphs::PlannedGlyph& g : plan.glyphs) {
        text += std::to_string(g.index + 1) + "\t" + glyphs::CharacterName(g.character) + "\t";
        if (g.placement == glyphs::Placement::NoRoom) {
            text += "-\t-\t-\t" + std::to_string(g.widthEditUnits) + "\tno room\t-\n";
            continue;
        }
        text += EditText(g.record.Left) + "\t" + EditText(g.record.Top) + "\t" + EditText(g.record.Right) + "\t" +
                std::to_string(g.widthEditUnits) + "\t" + (g.placement == glyphs::Placement::InPlace ? "in place" : "moved") + "\t";
        const bool clipped = g.clippedRows > 0 || g.clippedColumns > 0;
        text += clipped ? std::to_string(g.clippedRows) + " rows, " + std::to_string(g.clippedColumns) + " columns\n" : "no\n";
    }
    if (plan.spaceWidth) text += "SpaceWidth " + EditText(*plan.spaceWidth) + "\n";
    return text;
}

void RequireWritable(const std::filesystem::path& path) {
    if (!runtime::BinaryFile::Open(path).writable()) {
        throw runtime::Failure(runtime::FailureKind::WriteFailed, runtime::DisplayPath(path) + ": the file is read-only");
    }
}

std::filesystem::path Backup(const std::filesystem::path& path) {
    std::filesystem::path backup = path;
    backup += ".bak";
    return backup;
}

// --picture, else the font's BMP, else its TGA, as the other subcommands look; the BMP's name
// when neither is there, for the message.
std::filesystem::path TexturePath(const Options& options, const std::filesystem::path& font) {
    if (options.picture) return *options.picture;
    const std::filesystem::path bmp = font::DefaultPicturePath(font);
    const std::filesystem::path tga = std::filesystem::path(bmp).replace_extension(".tga");
    std::error_code ignored;
    return !std::filesystem::exists(bmp, ignored) && std::filesystem::exists(tga, ignored) ? tga : bmp;
}

}  // namespace

int Render(const Options& options) {
    const RenderOptions& render = options.render;
    const std::filesystem::path& fontPath = options.files[0];
    runtime::BinaryFile file = runtime::BinaryFile::Open(fontPath);
    const font::FontTable table = font::ReadFontTable(file);
    RequireComplete(table, fontPath);
    const std::filesystem::path picturePath = TexturePath(options, fontPath);
    const picture::Picture texture = picture::LoadTexture(picturePath);
    const bool tga = texture.format.kind == picture::PictureKind::Tga;
    const std::vector<std::byte> textureBytes = runtime::BinaryFile::OpenForReading(picturePath).ReadAll();
    try {
        if (tga) picture::RequireRewritableTga(textureBytes);
        else picture::RequireRewritableBmp(textureBytes);
    } catch (const runtime::Failure& failure) {
        throw About(picturePath, failure);
    }
    // A font or texture that cannot be written is refused before anything is drawn, and a dry run
    // foretells every refusal of the real run.
    RequireWritable(picturePath);

    const glyphs::Typeface face = glyphs::Typeface::Open(*render.ttf, render.face);
    const std::vector<glyphs::CharAssignment> assignments = Assignments(render, table.state.GlyphCount);
    glyphs::RenderSettings settings = render.settings;
    settings.alpha = texture.format.alpha;
    const glyphs::RenderPlan plan = glyphs::PlanRender(face, {table.state.CellHeight, &table.glyphs}, texture.image, assignments,
                                                       settings, render.space);
    const std::string report = PlanTable(plan);
    if (const auto without = plan.WithoutRoom(); !without.empty()) {
        std::fputs(report.c_str(), stderr);
        throw runtime::Failure(runtime::FailureKind::WriteFailed, runtime::DisplayPath(picturePath) + ": no room for glyph " + glyphs::Named(without) + "; nothing written");
    }
    if (const auto clipped = plan.Clipped(); !clipped.empty() && !render.clip) {
        std::fputs(report.c_str(), stderr);
        throw runtime::Failure(runtime::FailureKind::WriteFailed, "ink falls outside the rectangle of glyph " + glyphs::Named(clipped) +
                                                                     " (a smaller --px, or --clip to draw it cut); nothing written");
    }
    FontWrites writes;
    for (const glyphs::PlannedGlyph& g : plan.glyphs) writes.records.push_back({g.index, g.record});
    if (plan.spaceWidth) writes.header = std::pair{table.state.FontSize, *plan.spaceWidth};
    CheckWrites(file, table, writes);
    if (options.dryRun) {
        Emit(options, report + "(dry run: nothing written)\n");
        return kExitOk;
    }

    picture::Image drawn = texture.image;
    glyphs::DrawPlan(face, plan, drawn);
    const std::vector<std::byte> newTexture = tga ? picture::RewriteTgaPixels(textureBytes, texture.image, drawn)
                                                  : picture::RewriteBmpPixels(textureBytes, texture.image, drawn);
    std::string kept;
    if (!render.noBackup) {
        runtime::WriteNewFile(Backup(fontPath), file.ReadAll());
        runtime::WriteNewFile(Backup(picturePath), textureBytes);
        // Beside the files, so their names alone say it the same on every system.
        kept = "the previous font and texture are kept beside them as " + runtime::DisplayPath(Backup(fontPath).filename()) +
               " and " + runtime::DisplayPath(Backup(picturePath).filename()) + "\n";
    }
    runtime::WriteNewFile(picturePath, newTexture);
    WriteInPlace(file, table, writes);
    Emit(options, report + kept);
    return kExitOk;
}

}  // namespace gmftool
