// The Editor's drawing of glyphs from a TrueType or OpenType font: its dialog, the preview and
// the one step of history that writes the texture and the records.
#include <algorithm>

#include "editor/editor.h"
#include "editor/editor_parts.h"
#include "glyphs/char_map.h"
#include "picture/bmp_write.h"
#include "picture/tga_write.h"
#include "runtime/binary_file.h"

namespace editor {
namespace {

constexpr picture::Rgba kOutlineColour{255, 0, 0, 255};

RenderDialogTexts RenderTexts(Language language) {
    const auto tr = [language](Text text) { return std::string(TextOf(text, language)); };
    return {tr(Text::RenderTitle),
            tr(Text::RenderTypeface),
            tr(Text::RenderBrowse),
            tr(Text::RenderCharacters),
            tr(Text::RenderFirstGlyph),
            tr(Text::RenderCodePage),
            tr(Text::RenderFirstByte),
            tr(Text::RenderSize),
            tr(Text::RenderBaseline),
            tr(Text::RenderAutomatic),
            tr(Text::RenderHinting),
            {tr(Text::RenderHintingNone), tr(Text::RenderHintingLight), tr(Text::RenderHintingFull)},
            tr(Text::RenderWidth),
            {tr(Text::RenderWidthAdvance), tr(Text::RenderWidthInk)},
            tr(Text::RenderDraw),
            tr(Text::RenderCancel)};
}

glyphs::RenderSettings SettingsOf(const RenderValues& values, const picture::Picture& texture) {
    glyphs::RenderSettings settings;
    settings.px = values.px;
    settings.baseline = values.baseline;
    settings.hinting = values.hinting;
    settings.width = values.width;
    settings.alpha = texture.format.alpha;
    return settings;
}

std::vector<font::RecordWrite> RecordsOf(const glyphs::RenderPlan& plan) {
    std::vector<font::RecordWrite> records;
    for (const glyphs::PlannedGlyph& g : plan.glyphs) records.push_back({g.index, g.record});
    return records;
}

}  // namespace

void Editor::DrawGlyphsCommand() {
    if (!textureShown_ || font_.GlyphCount == 0 || !FontWritable() || promptsOpen_ > 0) return;
    CancelDrag();
    RenderValues values = renderValues_;
    values.firstGlyph = view_.SelectorValue() + 1;  // the selected glyph, whatever the last draw began at
    if (values.typeface.empty()) values.typeface = CommonDialog3.FileName;
    // The table is read once for the previews: the window writes nothing while its dialog is open.
    try {
        renderTable_ = LoadedTableNow();
    } catch (const runtime::Failure& failure) {
        ShowFailure(Action::DrawGlyphs, failure);
        return;
    }
    std::optional<RenderValues> chosen;
    {
        const PromptCount open(promptsOpen_);
        chosen = view_.AskRenderValues(RenderTexts(language_), values);
    }
    renderTable_.reset();
    if (!chosen) return;
    renderValues_ = *chosen;
    // A file typed into the box is remembered as one chosen with "…" is.
    if (!chosen->typeface.empty() && Chosen(chosen->typeface) != CommonDialog3.FileName) RememberTypeface(chosen->typeface);
    DrawGlyphs(*chosen);
}

std::optional<std::filesystem::path> Editor::ChooseTypeface(const std::filesystem::path& current) {
    CommonDialog3.DialogTitle = Tr(Text::TypefaceDialogTitle);
    CommonDialog3.Filter = Tr(Text::TypefaceFilterText) + "|*.ttf;*.otf;*.ttc";
    const std::filesystem::path last = current.empty() ? CommonDialog3.FileName : current;
    std::optional<std::filesystem::path> chosen;
    {
        const PromptCount open(promptsOpen_);
        chosen = view_.ChooseExistingFile(CommonDialog3.DialogTitle, CommonDialog3.Filter, last.parent_path(), last);
    }
    if (!chosen) return std::nullopt;
    RememberTypeface(*chosen);
    return CommonDialog3.FileName;
}

void Editor::RememberTypeface(const std::filesystem::path& path) {
    CommonDialog3.FileName = Chosen(path);
    SaveSettings();
}

RenderPreview Editor::PreviewRender(const RenderValues& values) {
    RenderPreview preview;
    preview.image = picture::Filled(kPreviewWidth, kPreviewHeight, picture::kBlack);
    if (!texture_) return preview;
    std::optional<font::FontTable> table;
    try {
        if (!renderTable_) table = LoadedTableNow();
    } catch (const runtime::Failure& failure) {
        preview.notes.push_back(FailureMessage(Action::DrawGlyphs, failure, fontPath_, language_));
        return preview;
    }
    const font::FontTable& shown = renderTable_ ? *renderTable_ : *table;
    RenderPlanned planned = PlanFor(values, shown, *texture_);
    preview.notes = std::move(planned.notes);
    if (!planned.plan) {
        // Until there is a plan, the texture around the first glyph to be drawn.
        if (values.firstGlyph < 1 || values.firstGlyph > shown.state.GlyphCount) return preview;
        glyphs::RenderPlan around;
        around.glyphs.emplace_back().oldRect =
            glyphs::RectOf(shown.glyphs[static_cast<std::size_t>(values.firstGlyph - 1)], shown.state.CellHeight, texture_->image);
        preview.image = PreviewPicture(*texture_, around, kOutlineColour);
        return preview;
    }
    picture::Picture drawn{texture_->image, texture_->format};
    try {
        if (planned.canDraw) glyphs::DrawPlan(typeface_->face, *planned.plan, drawn.image);
    } catch (const runtime::Failure& failure) {
        preview.notes.push_back(Format(Text::RenderNotPlanned, language_, {failure.what()}));
        return preview;
    }
    preview.image = PreviewPicture(drawn, *planned.plan, kOutlineColour);
    preview.canDraw = planned.canDraw;
    return preview;
}

const glyphs::Typeface& Editor::TypefaceAt(const std::filesystem::path& path) {
    const runtime::FileStamp stamp = runtime::StampOf(path);
    if (!typeface_ || typeface_->path != path || !(typeface_->stamp == stamp)) {
        typeface_.reset();
        // The first face of a collection: the dialog names no other.
        typeface_.emplace(OpenTypeface{path, stamp, glyphs::Typeface::Open(path, 0)});
    }
    return typeface_->face;
}

Editor::RenderPlanned Editor::PlanFor(const RenderValues& values, const font::FontTable& table, const picture::Picture& texture) {
    RenderPlanned planned;
    const auto refused = [&](std::string note) {
        planned.notes.push_back(std::move(note));
        return std::move(planned);
    };
    if (values.typeface.empty()) return refused(Tr(Text::RenderNoTypeface));
    // gmftool render's limits, so that the same values draw the same or are refused by both.
    const int largest = static_cast<int>(picture::kLargestSide);
    if ((values.px && (*values.px < 1 || *values.px > largest)) || (values.baseline && (*values.baseline < 0 || *values.baseline > largest))) {
        return refused(Format(Text::RenderOutOfRange, language_, {std::to_string(largest), std::to_string(largest)}));
    }
    const glyphs::Typeface* face = nullptr;
    try {
        face = &TypefaceAt(values.typeface);
    } catch (const runtime::Failure& failure) {
        return refused(Format(Text::RenderTypefaceUnreadable, language_, {failure.what()}));
    }
    const std::int32_t glyphCount = table.state.GlyphCount;
    std::vector<glyphs::CharAssignment> assignments;
    try {
        if (values.fromCodePage) {
            assignments = glyphs::MapCodePage(values.codePage, values.firstGlyph, values.firstByte, glyphCount);
        } else {
            if (values.characters.empty()) return refused(Tr(Text::RenderNoCharacters));
            // Counted apart from the table, so that the message can say how far they reach.
            const std::size_t count = glyphs::MapText(values.characters, 1, INT32_MAX).size();
            const std::int64_t last = std::int64_t{values.firstGlyph} + static_cast<std::int64_t>(count) - 1;
            if (values.firstGlyph >= 1 && last > glyphCount) {
                return refused(Format(Text::RenderPastTable, language_, {std::to_string(last), std::to_string(glyphCount)}));
            }
            assignments = glyphs::MapText(values.characters, values.firstGlyph, glyphCount);
        }
    } catch (const runtime::Failure& failure) {
        return refused(Format(Text::RenderNotPlanned, language_, {failure.what()}));
    }
    if (assignments.empty()) return refused(Tr(Text::RenderNoCharacters));
    std::string missing;
    for (const glyphs::CharAssignment& a : assignments) {
        if (face->GlyphFor(a.character) == 0) missing.append(missing.empty() ? "" : ", ").append(glyphs::CharacterName(a.character));
    }
    if (!missing.empty()) return refused(Format(Text::RenderMissing, language_, {missing}));
    try {
        planned.plan = glyphs::PlanRender(*face, {table.state.CellHeight, &table.glyphs}, texture.image, assignments, SettingsOf(values, texture));
    } catch (const runtime::Failure& failure) {
        return refused(Format(Text::RenderNotPlanned, language_, {failure.what()}));
    }
    const glyphs::RenderPlan& plan = *planned.plan;
    planned.notes.push_back(Format(plan.pxChosen ? Text::RenderSizeChosen : Text::RenderSizeGiven, language_,
                                   {std::to_string(plan.px), std::to_string(plan.baseline)}));
    std::vector<const glyphs::PlannedGlyph*> moved;
    for (const glyphs::PlannedGlyph& g : plan.glyphs) {
        if (g.placement == glyphs::Placement::Moved) moved.push_back(&g);
    }
    if (!moved.empty()) planned.notes.push_back(Format(Text::RenderMoved, language_, {glyphs::Named(moved)}));
    if (const auto clipped = plan.Clipped(); !clipped.empty()) planned.notes.push_back(Format(Text::RenderClipped, language_, {glyphs::Named(clipped)}));
    const auto without = plan.WithoutRoom();
    if (!without.empty()) planned.notes.push_back(Format(Text::RenderNoRoom, language_, {glyphs::Named(without)}));
    planned.canDraw = without.empty();
    return planned;
}

void Editor::DrawGlyphs(const RenderValues& values) {
    const std::filesystem::path texturePath = picturePath_;
    std::vector<std::byte> before;
    picture::Picture texture;
    const bool tga = texture_->format.kind == picture::PictureKind::Tga;
    try {
        runtime::BinaryFile file = runtime::BinaryFile::Open(texturePath);
        if (!file.writable()) throw runtime::Failure(runtime::FailureKind::WriteFailed, runtime::DisplayPath(texturePath) + " is read-only");
        before = file.ReadAll();
        texture = tga ? picture::DecodeTgaBytes(before) : picture::Picture{picture::DecodeBmpBytes(before), texture_->format};
        // What the preview showed is what is drawn on, or nothing is.
        if (texture.image.width != texture_->image.width || texture.image.height != texture_->image.height ||
            texture.image.pixels != texture_->image.pixels) {
            throw runtime::Failure(runtime::FailureKind::TextureChanged, runtime::DisplayPath(texturePath) + " is not what the window shows");
        }
        if (tga) picture::RequireRewritableTga(before);
        else picture::RequireRewritableBmp(before);
    } catch (const runtime::Failure& failure) {
        Exclaim(FailureMessage(Action::DrawGlyphs, failure, texturePath, language_), Tr(Text::ErrorTitle));
        return;
    }
    picture::Image drawn = texture.image;
    try {
        const font::FontTable table = LoadedTableNow();
        const RenderPlanned planned = PlanFor(values, table, texture);
        if (!planned.canDraw) {
            std::string notes;
            for (const std::string& note : planned.notes) notes.append(notes.empty() ? "" : " ").append(note);
            Exclaim(Format(Text::DrawGlyphsFailed, language_, {notes}), Tr(Text::ErrorTitle));
            return;
        }
        const glyphs::RenderPlan& plan = *planned.plan;
        const std::vector<font::RecordWrite> records = RecordsOf(plan);
        std::vector<History::Range> ranges;
        for (const font::RecordWrite& write : records) ranges.push_back(RecordRange(static_cast<std::int16_t>(write.index)));
        {
            // Every record is checked before the texture is written.
            runtime::BinaryFile file = runtime::BinaryFile::Open(fontPath_);
            font::CheckTableKept(file, font_, records);
            file.CheckWrite(ranges.back().offset, ranges.back().size);
        }
        glyphs::DrawPlan(typeface_->face, plan, drawn);
        std::vector<std::byte> after = tga ? picture::RewriteTgaPixels(before, texture.image, drawn)
                                           : picture::RewriteBmpPixels(before, texture.image, drawn);
        history_.RecordWrite(fontPath_, {History::Kind::DrawGlyphs, static_cast<std::int16_t>(records.front().index)}, ranges,
                             {texturePath, std::move(before), std::move(after)}, [&] {
                                 runtime::BinaryFile file = runtime::BinaryFile::Open(fontPath_);
                                 font::WriteGlyphRecords(file, font_, records);
                             });
    } catch (const runtime::Failure& failure) {
        ShowFailure(Action::DrawGlyphs, failure);
        return;
    }
    ShowDrawnTexture({std::move(drawn), texture.format});
    ShowWrittenGlyph();
}

// The window's own write of the texture is shown as written, and is no save to follow.
void Editor::ShowDrawnTexture(picture::Picture texture) {
    ShowTexture(std::move(texture));
    pictureStamp_ = runtime::StampOf(picturePath_);
    pictureTroubleShown_ = false;
    MagnifierChanged();
}

}  // namespace editor
