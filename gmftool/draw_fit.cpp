// overview and fit: the subcommands that work with the texture's pixels.
#include <cstdio>
#include <string>

#include "font/geometry.h"
#include "font/texture.h"
#include "gmftool/commands.h"
#include "gmftool/number_text.h"
#include "gmftool/tool_io.h"
#include "picture/ink.h"
#include "runtime/binary_file.h"
#include "runtime/failure.h"

namespace gmftool {
namespace {

constexpr picture::Rgba kOutline{255, 0, 0, 255};  // the window's
constexpr picture::Rgba kNarrowOutline{255, 255, 0, 255};

}  // namespace

int Overview(const Options& options) {
    const std::filesystem::path& fontPath = options.files[0];
    const font::FontTable table = ReadTable(fontPath);
    const std::optional<picture::Picture> texture = FindTexture(options, fontPath);
    picture::Image image = texture ? texture->image : picture::Filled(font::kTextureSize, font::kTextureSize, picture::kBlack);
    for (std::int32_t i = 0; i < table.state.GlyphCount; ++i) {
        const font::GlyphRecord& glyph = table.glyphs[static_cast<std::size_t>(i)];
        try {
            const font::OutlinePlan plan =
                font::PlanOutline(font::ToPreviewPixel(glyph.Left), font::ToPreviewPixel(glyph.Top),
                                  font::ToPreviewPixel(glyph.Right), table.state.CellHeight, font::kTextureSize);
            picture::DrawOutline(image, plan, font::IsTooNarrow(glyph) ? kNarrowOutline : kOutline);
        } catch (const runtime::Failure& failure) {
            // The window cannot show such a glyph either; the others are still worth seeing.
            std::fprintf(stderr, "gmftool: %s: glyph %d is not drawn: %s\n", runtime::DisplayPath(fontPath).c_str(),
                         static_cast<int>(i + 1), failure.what());
        }
    }
    const std::vector<std::byte> png = picture::EncodePng(picture::ScaleUp(image, options.scale));
    runtime::WriteNewFile(*options.output, png);
    return kExitOk;
}

int Fit(const Options& options) {
    const std::filesystem::path& fontPath = options.files[0];
    runtime::BinaryFile file = runtime::BinaryFile::Open(fontPath);
    const font::FontTable table = font::ReadFontTable(file);
    RequireComplete(table, fontPath);
    const std::vector<std::int32_t> indexes = GlyphIndexes(options.glyphs, table.state.GlyphCount);
    const std::optional<picture::Picture> texture = FindTexture(options, fontPath);
    if (!texture) {
        throw runtime::Failure(runtime::FailureKind::FileNotOpened,
                               runtime::DisplayPath(font::DefaultPicturePath(fontPath)) + ": no picture to fit to, nor a TGA of that name (or name one with --picture)");
    }
    const picture::InkMap ink(*texture, options.threshold);
    const picture::FitRule rule{options.margin, options.reach};

    FontWrites writes;
    std::string report;
    for (const std::int32_t i : indexes) {
        const font::GlyphRecord& old = table.glyphs[static_cast<std::size_t>(i)];
        // Most glyphs of a fitted font say nothing: their line is begun only when it is needed.
        const auto line = [&]() -> std::string& { return report.append("glyph ").append(std::to_string(i + 1)).append(": "); };
        std::optional<font::GlyphRecord> fitted;
        try {
            fitted = picture::FitGlyph(ink, old, table.state.CellHeight, rule);
        } catch (const runtime::Failure& failure) {
            line().append("left alone: it has no place on the picture (").append(failure.what()).append(")\n");
            continue;
        }
        if (!fitted) {
            line().append("left alone: no ink\n");
            continue;
        }
        const font::GlyphRecord& record = *fitted;
        if (font::IsEmpty(record)) {
            line().append("left alone: with every edge at 0 it would end the glyph table\n");
            continue;
        }
        if (SameBits(record.Left, old.Left) && SameBits(record.Right, old.Right)) continue;
        writes.records.push_back({i, record});
        line().append("left ").append(EditText(old.Left)).append(" -> ").append(EditText(record.Left));
        report.append(", right ").append(EditText(old.Right)).append(" -> ").append(EditText(record.Right)).append("\n");
    }
    if (options.dryRun) {
        CheckWrites(file, table, writes);
        Emit(options, report + "(dry run: nothing written)\n");
        return kExitOk;
    }
    WriteInPlace(file, table, writes);
    Emit(options, report);
    return kExitOk;
}

}  // namespace gmftool
