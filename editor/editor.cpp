#include "editor/editor.h"

#include <bit>
#include <optional>
#include <system_error>
#include <utility>

#include "editor/drop.h"
#include "editor/editor_parts.h"
#include "font/geometry.h"
#include "font/texture.h"
#include "picture/image.h"
#include "runtime/binary_file.h"
#include "runtime/checked.h"
#include "runtime/conversions.h"

namespace editor {
namespace {

constexpr picture::Rgba kOutlineColour{255, 0, 0, 255};

// Whether a fit moves an edge: the bits count, a negative zero's and a not-a-number's too.
bool SameEdges(const font::GlyphRecord& a, const font::GlyphRecord& b) {
    return std::bit_cast<std::uint32_t>(a.Left) == std::bit_cast<std::uint32_t>(b.Left) &&
           std::bit_cast<std::uint32_t>(a.Right) == std::bit_cast<std::uint32_t>(b.Right);
}

// How many characters the point scan would cover: UTF-16 units, as the box counts them.
std::size_t Utf16Length(const std::string& text) {
    std::size_t units = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) ++units;  // a sequence's first byte
        if (byte >= 0xF0) ++units;           // beyond U+FFFF: a surrogate pair
    }
    return units;
}

}  // namespace

Editor::Editor(View& view, char decimalSeparator, SettingsStore* settings)
    : view_(view), decimalSeparator_(decimalSeparator), settings_(settings) {
    if (settings_) {
        const Settings settings = ReadSettings(*settings_);
        language_ = settings.language;
        CommonDialog3.FileName = settings.typeface;
    }
    ShowTexts();
    StartUp();
}

void Editor::ChooseLanguage(Language language) {
    language_ = language;
    SaveSettings();
    ShowTexts();
    view_.SetText(Box::info, HelpText(language_));
    ShowGlyphCaption();
}

void Editor::SaveSettings() {
    if (settings_) WriteSettings(*settings_, {language_, CommonDialog3.FileName});
}

void Editor::ShowTexts() {
    const std::pair<ControlText, Text> texts[] = {
        {ControlText::opp, Text::OpenMenu},
        {ControlText::EditMenu, Text::EditMenu},
        {ControlText::Undo, Text::UndoItem},
        {ControlText::Redo, Text::RedoItem},
        {ControlText::FitGlyph, Text::FitGlyphItem},
        {ControlText::FitAllGlyphs, Text::FitAllGlyphsItem},
        {ControlText::DrawGlyphs, Text::DrawGlyphsItem},
        {ControlText::ViewMenu, Text::ViewMenu},
        {ControlText::MagnifierItem, Text::MagnifierItem},
        {ControlText::LanguageMenu, Text::LanguageMenu},
        {ControlText::Russian, Text::RussianItem},
        {ControlText::English, Text::EnglishItem},
        {ControlText::Label3Left, Text::LeftEdgeLabel},
        {ControlText::Label3Top, Text::TopEdgeLabel},
        {ControlText::Label3Right, Text::RightEdgeLabel},
        {ControlText::Label2, Text::ParametersHeading},
        {ControlText::Label3Size, Text::FontSizeLabel},
        {ControlText::Label3Space, Text::SpaceWidthLabel},
        {ControlText::Command1, Text::SaveButton},
        {ControlText::err, Text::WidthWarning},
    };
    for (const auto& [control, text] : texts) view_.SetControlText(control, Tr(text));
    view_.CheckLanguage(language_);
}

void Editor::ShowGlyphCaption() {
    switch (glyphCaption_) {
    case GlyphCaption::None: return view_.SetCaption(Label::Label1, "");
    case GlyphCaption::Number:
        return view_.SetCaption(Label::Label1, Format(Text::GlyphNumber, language_, {std::to_string(glyphNumber_)}));
    case GlyphCaption::NoGlyphs: return view_.SetCaption(Label::Label1, Tr(Text::NoGlyphs));
    }
}

void Editor::StartUp() {
    AbandonDrag();
    StopFollowingPicture();  // no picture shown, none followed
    texture_.reset();
    ink_.reset();
    history_.Clear();
    SetTextureShown(false);
    SetEnabled(Control::Frame4, false);
    SetEnabled(Control::Frame2, false);
    SetEnabled(Control::scr, false);
    view_.SetVisible(Control::Shape1, true);
    view_.SetVisible(Control::Picture1, false);
    glyphCaption_ = GlyphCaption::None;
    ShowGlyphCaption();
    view_.SetText(Box::info, HelpText(language_));
}

void Editor::OpenCommand() {
    // Stage 1: any failure leaves the window as it was.
    CommonDialog1.DialogTitle = Tr(Text::FontDialogTitle);
    CommonDialog1.Filter = Tr(Text::FontFilterText) + "|*.gmf";
    const auto chosen = AskForFile(CommonDialog1);
    if (!chosen) return;
    CommonDialog1.FileName = Chosen(*chosen);
    OpenChosenFont({});
}

void Editor::OpenFromCommandLine(const std::filesystem::path& font, const std::filesystem::path& picture) {
    const std::filesystem::path fontPath = Chosen(font);
    try {
        runtime::BinaryFile::OpenForReading(fontPath);
    } catch (const runtime::Failure&) {
        Exclaim(FontNotFoundMessage(fontPath, language_), Tr(Text::ErrorTitle));
        return;
    }
    // The dialog's rule: a font's picture is named by all of its name but the last four characters.
    if (!font::FontBaseName(fontPath)) {
        Exclaim(ShortFontNameMessage(fontPath, language_), Tr(Text::ErrorTitle));
        return;
    }
    CommonDialog1.FileName = fontPath;
    std::filesystem::path chosenPicture = picture.empty() ? picture : Chosen(picture);
    if (chosenPicture.empty()) {
        // The BMP first, as ever; else the game's own TGA of that name.
        for (const char* extension : {".bmp", ".tga"}) {
            const std::filesystem::path beside = font::DefaultPicturePath(fontPath, extension);
            std::error_code error;
            if (std::filesystem::exists(beside, error)) {
                chosenPicture = beside;
                break;
            }
        }
    }
    OpenChosenFont(chosenPicture);
}

// The open command from the chosen font on; the picture dialog asks unless a picture is given.
void Editor::OpenChosenFont(const std::filesystem::path& picture) {
    const std::optional<std::filesystem::path> baseName = font::FontBaseName(CommonDialog1.FileName);
    if (!baseName) return;

    // Stage 2: any failure goes back to the start-up state, without a message.
    StopFollowingPicture();
    try {
        const std::string pictureName = runtime::DisplayPath(*baseName) + ".bmp";
        CommonDialog2.DialogTitle = Format(Text::PictureDialogTitle, language_, {pictureName});
        CommonDialog2.Filter = Tr(Text::PictureFilterText) + "|*.bmp;*.tga";
        if (!picture.empty()) {
            CommonDialog2.FileName = picture;
        } else if (const auto chosen = AskForFile(CommonDialog2)) {
            CommonDialog2.FileName = Chosen(*chosen);
        } else {
            StartUp();
            return;
        }
        const std::filesystem::path chosenPicture = CommonDialog2.FileName;

        if (!picture::NamedTga(chosenPicture) && !font::ReadBmpSize(chosenPicture).IsTextureSize()) {
            Exclaim(Tr(Text::PictureSize), Tr(Text::ErrorTitle));
            view_.SetVisible(Control::Picture1, false);
            view_.SetVisible(Control::Shape1, true);
            SetEnabled(Control::scr, false);
            SetTextureShown(false);  // the loaded font is still written, and its history goes with it
            return;
        }

        // Stamped before it is read: a change while it is read is a change to show.
        const runtime::FileStamp pictureStamp = runtime::StampOf(chosenPicture);
        ShowTexture(picture::LoadTexture(chosenPicture));
        view_.SetVisible(Control::Picture1, true);
        view_.SetVisible(Control::Shape1, false);
        SetEnabled(Control::scr, true);
        SetEnabled(Control::Frame4, true);
        SetEnabled(Control::Frame2, true);
        view_.SetCaption(Label::Label4, runtime::DisplayPath(chosenPicture));
        view_.SetCaption(Label::Label5, runtime::DisplayPath(CommonDialog1.FileName));
        LoadFont();
        SetTextureShown(true);
        FollowPicture(chosenPicture, pictureStamp);
    } catch (const runtime::Failure&) {
        StartUp();
    }
}

void Editor::LoadFont() {
    fontPath_ = CommonDialog1.FileName;
    history_.Clear();  // even for the same font again: its steps are for what was loaded before
    font::LoadFont(fontPath_, font_,
                   {
                       .SetSelectorRange = [this] { SetSelectorRange(); },
                       .ShowHeader = [this] { ShowFontParameters(); },
                       .RefreshView = [this] { RefreshGlyphView(); },
                   });
}

void Editor::SetSelectorRange() {
    // Lowering the maximum may lower the value, which refreshes the view.
    loading_ = true;
    view_.SetSelectorMaximum(font_.GlyphCount - 1);
    loading_ = false;
    if (loadFailure_) std::rethrow_exception(std::exchange(loadFailure_, nullptr));
}

void Editor::ShowFontParameters() {
    view_.SetText(Box::Text4, font::FontSizeToText(font_.FontSize, decimalSeparator_));
    view_.SetText(Box::Text5, font::ToEditText(font_.SpaceWidth, decimalSeparator_));
}

void Editor::RefreshGlyphView() {
    AbandonDrag();  // the glyph it held may be another now
    if (font_.GlyphCount == 0) {
        SetGlyphShown(false);
        ShowNoGlyph();
        return;
    }
    // The arrows are left alone while the refresh runs, so that a clicked arrow keeps the focus;
    // they are disabled as soon as it fails.
    try {
        ShowSelectedGlyph();
    } catch (const runtime::Failure&) {
        SetGlyphShown(false);
        throw;
    }
    SetGlyphShown(true);
}

void Editor::ShowSelectedGlyph() {
    {
        runtime::BinaryFile file = runtime::BinaryFile::Open(fontPath_);
        font::ReadGlyphRecord(file, font_, static_cast<std::int16_t>(view_.SelectorValue()));
        view_.ClearDrawing();
        const font::GlyphRecord& glyph = font_.CurrentGlyph;
        shownGlyph_ = glyph;
        x0_ = font::ToPreviewPixel(glyph.Left);
        y0_ = font::ToPreviewPixel(glyph.Top);
        x1_ = font::ToPreviewPixel(glyph.Right);
        view_.SetText(Box::Text1, font::ToEditText(glyph.Left, decimalSeparator_));
        view_.SetText(Box::Text2, font::ToEditText(glyph.Top, decimalSeparator_));
        view_.SetText(Box::Text3, font::ToEditText(glyph.Right, decimalSeparator_));
        DrawOutline();
        const std::int16_t number = runtime::CheckedAdd16(static_cast<std::int16_t>(view_.SelectorValue()), 1);
        glyphCaption_ = GlyphCaption::Number;
        glyphNumber_ = number;
        ShowGlyphCaption();
    }
    ShowWidthWarning();
}

void Editor::ShowNoGlyph() {
    view_.ClearDrawing();
    view_.SetText(Box::Text1, "");
    view_.SetText(Box::Text2, "");
    view_.SetText(Box::Text3, "");
    glyphCaption_ = GlyphCaption::NoGlyphs;
    ShowGlyphCaption();
    view_.SetVisible(Control::err, false);
}

void Editor::DrawOutline() { DrawOutlineAt(x0_, y0_, x1_); }

void Editor::DrawOutlineAt(std::int32_t x0, std::int32_t y0, std::int32_t x1) {
    const font::OutlinePlan outline = font::PlanOutline(x0, y0, x1, font_.CellHeight, font::kTextureSize);
    font::ForEachOutlinePixel(outline, [this](std::int32_t x, std::int32_t y) { view_.SetPixel(x, y, kOutlineColour); });
}

void Editor::ShowWidthWarning() {
    // The boxes are read with the parse of the stored values: Val would drop the fraction
    // of a comma locale and miss a glyph from 12,5 to 16,25. A box that is no number warns of nothing.
    try {
        const double right = runtime::TextToDouble(view_.Text(Box::Text3), decimalSeparator_);
        const double left = runtime::TextToDouble(view_.Text(Box::Text1), decimalSeparator_);
        view_.SetVisible(Control::err, right - 4 < left);
    } catch (const runtime::Failure&) {
        view_.SetVisible(Control::err, false);
    }
}

void Editor::OnSelectorChanged() {
    if (!selectorEnabled_) return;
    try {
        RefreshGlyphView();
    } catch (const runtime::Failure& failure) {
        if (loading_) {
            loadFailure_ = std::current_exception();
            return;
        }
        ReportAfterEvent(FailureMessage(Action::ShowGlyph, failure, fontPath_, language_));
    }
}

void Editor::ClickArrow(Control command) {
    if (!frame2Enabled_ || !glyphShown_) return;
    switch (command) {
    case Control::Command5: return NudgeEdge(Box::Text1, +1, true);
    case Control::Command4: return NudgeEdge(Box::Text1, -1, false);
    case Control::Command7: return NudgeEdge(Box::Text2, +1, true);
    case Control::Command6: return NudgeEdge(Box::Text2, -1, false);
    case Control::Command2: return NudgeEdge(Box::Text3, +1, false);
    case Control::Command3: return NudgeEdge(Box::Text3, -1, false);
    default: return;
    }
}

void Editor::NudgeEdge(Box box, int step, bool guarded) {
    try {
        const std::string text = view_.Text(box);
        if (guarded && runtime::Val(text) >= 256) return;  // silently, as the arrow always did
        const double edge = runtime::TextToDouble(text, decimalSeparator_) + step;
        view_.SetText(box, runtime::DoubleToText(edge, decimalSeparator_));
    } catch (const runtime::Failure& failure) {
        ShowFailure(Action::StoreGlyph, failure);
        return;
    }
    StoreGlyph();
}

bool Editor::StoreGlyph() {
    try {
        const auto index = static_cast<std::int16_t>(view_.SelectorValue());
        history_.RecordWrite(fontPath_, {History::Kind::StoreGlyph, index}, {RecordRange(index)}, [&] {
            font::StoreGlyph(fontPath_, font_, {view_.Text(Box::Text1), view_.Text(Box::Text2), view_.Text(Box::Text3)},
                             decimalSeparator_, [this] { return static_cast<std::int16_t>(view_.SelectorValue()); });
        });
    } catch (const runtime::Failure& failure) {
        ShowFailure(Action::StoreGlyph, failure);
        return false;
    }
    ShowWrittenGlyph();
    return true;
}

void Editor::SaveFontParameters() {
    if (!frame4Enabled_) return;
    try {
        NormaliseDecimalPoint(Box::Text4);
        NormaliseDecimalPoint(Box::Text5);
        history_.RecordWrite(fontPath_, {History::Kind::SaveFontParameters, 0},
                             {{font::kFontSizeOffset, 4}, {font::kSpaceWidthOffset, 4}}, [&] {
                                 font::SaveHeader(fontPath_, font_, view_.Text(Box::Text4), view_.Text(Box::Text5),
                                                  decimalSeparator_);
                             });
    } catch (const runtime::Failure& failure) {
        ShowFailure(Action::SaveFontParameters, failure);
        return;
    }
    UpdateEditMenu();
}

void Editor::NormaliseDecimalPoint(Box box) {
    const std::string text = view_.Text(box);
    // The point scan has always stopped short of 255 characters.
    const std::size_t length = Utf16Length(text);
    if (length >= 255) {
        throw runtime::Failure(runtime::FailureKind::TextTooLong, "a text of " + std::to_string(length) + " characters");
    }
    if (text.find('.') == std::string::npos) return;
    // The locale's own separator, so that in a point locale 12.5 stays 12.5.
    std::string replaced = text;
    for (char& c : replaced) {
        if (c == '.') c = decimalSeparator_;
    }
    view_.SetText(box, runtime::Trim(replaced));
}

void Editor::Undo() { Replay(Action::Undo); }

void Editor::Redo() { Replay(Action::Redo); }

void Editor::Replay(Action action) {
    if (!FontWritable()) return;
    std::optional<History::Step> step;
    const std::filesystem::path texture = history_.TextureOfNext(action == Action::Undo);
    const auto check = [this](runtime::BinaryFile& file, std::span<const History::Change> changes) {
        CheckReplay(file, changes);
    };
    try {
        step = action == Action::Undo ? history_.Undo(fontPath_, check) : history_.Redo(fontPath_, check);
    } catch (const runtime::Failure& failure) {
        ShowFailure(action, failure);
        return;
    }
    if (!step) return;
    UpdateEditMenu();
    // The window's own write of the texture, shown as the file now holds it and not followed.
    if (!texture.empty() && texture == picturePath_) {
        if (!ShowTextureFrom(picturePath_)) pictureStamp_ = runtime::StampOf(picturePath_);
    }
    ShowStep(*step);
}

// An undo or a redo is judged as every other write: by the table a load would find after it.
void Editor::CheckReplay(runtime::BinaryFile& file, std::span<const History::Change> changes) const {
    std::vector<font::RecordWrite> records;
    for (const History::Change& change : changes) {
        if (change.offset < static_cast<std::uint64_t>(font_.TableBase)) continue;  // the header values
        // The window's steps write whole records.
        for (std::size_t at = 0; at + font::kGlyphRecordSize <= change.bytes.size(); at += font::kGlyphRecordSize) {
            const auto index = static_cast<std::int32_t>((change.offset + at - static_cast<std::uint64_t>(font_.TableBase)) / font::kGlyphRecordSize);
            records.push_back({index, font::DecodeGlyphRecord(change.bytes.subspan(at).first<font::kGlyphRecordSize>())});
        }
    }
    font::CheckTableKept(file, font_, records);
}

// What the step changed, as the file now holds it.
void Editor::ShowStep(const History::Step& step) {
    try {
        if (step.kind == History::Kind::SaveFontParameters) {
            runtime::BinaryFile file = runtime::BinaryFile::OpenForReading(fontPath_);
            font::ReadFontParameters(file, font_);
            ShowFontParameters();
            return;
        }
        if (view_.SelectorValue() != step.glyph) {
            view_.SetSelectorValue(step.glyph);  // the change refreshes the view, unless the selector is disabled
            if (selectorEnabled_) return;
        }
        RefreshGlyphView();
    } catch (const runtime::Failure& failure) {
        ShowFailure(Action::ShowGlyph, failure);
    }
}

void Editor::FitGlyph() {
    if (!textureShown_ || !glyphShown_) return;
    const auto index = static_cast<std::int16_t>(view_.SelectorValue());
    try {
        std::optional<font::GlyphRecord> fitted;
        {
            runtime::BinaryFile file = runtime::BinaryFile::OpenForReading(fontPath_);
            font::RequireWholeFont(file.Size(), font_);  // as gmftool fit: a font cut short is fitted whole or not at all
            font::ReadGlyphRecord(file, font_, index);  // the glyph as the file holds it now
            fitted = FittedGlyph(font_.CurrentGlyph, font_.CellHeight);
        }
        if (!fitted) {
            Exclaim(NoInkMessage(index + 1, language_), Tr(Text::ErrorTitle));
            return;
        }
        if (SameEdges(*fitted, font_.CurrentGlyph)) return;
        history_.RecordWrite(fontPath_, {History::Kind::FitGlyph, index}, {RecordRange(index)}, [&] {
            runtime::BinaryFile file = runtime::BinaryFile::Open(fontPath_);
            const font::RecordWrite write{index, *fitted};
            font::CheckTableKept(file, font_, std::span(&write, 1));  // as a store is checked
            font_.CurrentGlyph = *fitted;
            font::WriteGlyphRecord(file, font_, index);
        });
    } catch (const runtime::Failure& failure) {
        ShowFailure(Action::FitGlyph, failure);
        return;
    }
    ShowWrittenGlyph();
}

void Editor::FitAllGlyphs() {
    if (!textureShown_ || font_.GlyphCount == 0) return;
    std::vector<font::RecordWrite> fitted;
    std::vector<std::int32_t> withoutInk;  // glyph numbers, from 1
    try {
        const font::FontTable table = LoadedTableNow();
        for (std::int32_t i = 0; i < table.state.GlyphCount; ++i) {
            const font::GlyphRecord& glyph = table.glyphs[static_cast<std::size_t>(i)];
            const std::optional<font::GlyphRecord> record = [&]() -> std::optional<font::GlyphRecord> {
                try {
                    return FittedGlyph(glyph, table.state.CellHeight);
                } catch (const runtime::Failure&) {
                    return std::nullopt;  // a rectangle with no place on the picture has no ink there either
                }
            }();
            if (!record) {
                withoutInk.push_back(i + 1);
                continue;
            }
            if (SameEdges(*record, glyph) || font::IsEmpty(*record)) continue;
            fitted.push_back({i, *record});
        }
        if (!fitted.empty()) {
            std::vector<History::Range> ranges;
            for (const font::RecordWrite& write : fitted) ranges.push_back(RecordRange(static_cast<std::int16_t>(write.index)));
            const auto first = static_cast<std::int16_t>(fitted.front().index);
            history_.RecordWrite(fontPath_, {History::Kind::FitAllGlyphs, first}, ranges, [&] {
                runtime::BinaryFile file = runtime::BinaryFile::Open(fontPath_);
                // Every record is checked before the first is written: all of them or none.
                font::CheckTableKept(file, font_, fitted);
                file.CheckWrite(ranges.back().offset, ranges.back().size);
                font::WriteGlyphRecords(file, font_, fitted);
            });
        }
    } catch (const runtime::Failure& failure) {
        ShowFailure(Action::FitAllGlyphs, failure);
        return;
    }
    ShowWrittenGlyph();
    Inform(FitAllReport(static_cast<std::int32_t>(fitted.size()), font_.GlyphCount, withoutInk, language_),
           Tr(Text::FitTitle));
}

font::FontTable Editor::LoadedTableNow() const {
    const font::FontTable table = [&] {
        runtime::BinaryFile file = runtime::BinaryFile::OpenForReading(fontPath_);
        return font::ReadFontTable(file);
    }();
    font::RequireWholeFont(table.fileSize, table.state);
    // Another table than the one loaded would be written at places the window does not show.
    if (table.state.TableBase != font_.TableBase || table.state.GlyphCount != font_.GlyphCount) {
        throw runtime::Failure(runtime::FailureKind::ChangedOutside,
                               runtime::DisplayPath(fontPath_) + " holds another glyph table than the one loaded");
    }
    return table;
}

void Editor::ShowTexture(picture::Picture texture) {
    shownTexture_ = picture::ShownTexture(texture);
    opaqueTexture_.reset();
    texture_ = std::move(texture);
    ink_.reset();
    view_.ShowTexture(shownTexture_);
}

const picture::InkMap& Editor::InkOfTexture() {
    if (!ink_) ink_.emplace(*texture_, 0);
    return *ink_;
}

// gmftool fit's rule with its defaults (margin 0, reach 16, threshold 0).
std::optional<font::GlyphRecord> Editor::FittedGlyph(const font::GlyphRecord& glyph, float cellHeight) {
    return picture::FitGlyph(InkOfTexture(), glyph, cellHeight, picture::FitRule{});
}

History::Range Editor::RecordRange(std::int16_t index) const {
    return {static_cast<std::uint64_t>(font::RecordOffset(font_.TableBase, index)), font::kGlyphRecordSize};
}

void Editor::FollowPicture(const std::filesystem::path& picture, const runtime::FileStamp& shown) {
    picturePath_ = picture;
    pictureStamp_ = shown;
    pictureTroubleShown_ = false;
    view_.WatchFile(picture);
}

void Editor::StopFollowingPicture() {
    view_.StopTimer(Timer::TextureSettled);
    view_.StopWatching();
    picturePath_.clear();
    pictureTroubleShown_ = false;
}

void Editor::OnWatchedFileChanged() {
    if (picturePath_.empty()) return;
    view_.StartTimer(Timer::TextureSettled, kTextureSettleMilliseconds);  // each change starts the wait anew
}

void Editor::OnTimer(Timer timer) {
    switch (timer) {
    case Timer::Message: {
        // A message box runs events of its own, which may bring further messages.
        const std::vector<std::string> due = std::exchange(dueMessages_, {});
        for (const std::string& message : due) Exclaim(message, Tr(Text::ErrorTitle));
        return;
    }
    case Timer::TextureSettled: {
        if (picturePath_.empty()) return;
        // The folder changes with every file saved in it: only a change of the picture itself counts.
        const runtime::FileStamp stamp = runtime::StampOf(picturePath_);
        if (stamp == pictureStamp_) return;
        pictureStamp_ = stamp;
        ShowPictureAgain();
        return;
    }
    }
}

void Editor::ShowPictureAgain() {
    // Only the picture changes: the outline drawn over it stays, and the font is neither read
    // nor written.
    const std::optional<TextureTrouble> trouble = ShowTextureFrom(picturePath_);
    if (!trouble) {
        pictureTroubleShown_ = false;
        return;
    }
    if (pictureTroubleShown_) return;
    pictureTroubleShown_ = true;
    Exclaim(TextureTroubleMessage(*trouble, picturePath_, language_), Tr(Text::ErrorTitle));
}

// A picture dropped for the loaded font replaces the texture as the texture saved again does:
// the font is not loaded again and its history stays.
void Editor::ShowDroppedTexture(const std::filesystem::path& picture) {
    const runtime::FileStamp stamp = runtime::StampOf(picture);
    if (const std::optional<TextureTrouble> trouble = ShowTextureFrom(picture)) {
        Exclaim(TextureTroubleMessage(*trouble, picture, language_), Tr(Text::ErrorTitle));
        return;
    }
    CommonDialog2.FileName = picture;
    view_.SetVisible(Control::Picture1, true);
    view_.SetVisible(Control::Shape1, false);
    SetEnabled(Control::scr, true);
    view_.SetCaption(Label::Label4, runtime::DisplayPath(picture));
    SetTextureShown(true);
    StopFollowingPicture();
    FollowPicture(picture, stamp);
}

// The picture read as the texture and shown, or what is wrong with it; the texture shown stays
// then.
std::optional<TextureTrouble> Editor::ShowTextureFrom(const std::filesystem::path& picture) {
    const bool tga = picture::NamedTga(picture);
    try {
        if (tga) runtime::BinaryFile::OpenForReading(picture);
        else if (!font::ReadBmpSize(picture).IsTextureSize()) return TextureTrouble::WrongSize;
    } catch (const runtime::Failure&) {
        return TextureTrouble::Missing;
    }
    try {
        // A file still being written is shorter than its header says; a TGA's decoder refuses one
        // whose pixels end early.
        if (!tga && !font::IsWholeBmp(picture)) return TextureTrouble::NotDecodable;
        ShowTexture(picture::LoadTexture(picture));
    } catch (const runtime::Failure&) {
        return TextureTrouble::NotDecodable;
    }
    MagnifierChanged();
    return std::nullopt;
}

void Editor::SetEnabled(Control control, bool enabled) {
    if (control == Control::Frame2) frame2Enabled_ = enabled;
    if (control == Control::Frame4) frame4Enabled_ = enabled;
    if (control == Control::scr) selectorEnabled_ = enabled;
    view_.SetEnabled(control, enabled);
    if (control == Control::Frame2 || control == Control::Frame4) UpdateEditMenu();
}

void Editor::SetGlyphShown(bool shown) {
    glyphShown_ = shown;
    for (const Control arrow : {Control::Command2, Control::Command3, Control::Command4, Control::Command5,
                                Control::Command6, Control::Command7}) {
        view_.SetEnabled(arrow, shown);
    }
    UpdateEditMenu();
    MagnifierChanged();
}

void Editor::SetTextureShown(bool shown) {
    textureShown_ = shown;
    UpdateEditMenu();
    MagnifierChanged();
}

// After a write: the history's menu items, and the glyph as read back from the file.
void Editor::ShowWrittenGlyph() {
    UpdateEditMenu();
    try {
        RefreshGlyphView();
    } catch (const runtime::Failure& failure) {
        ShowFailure(Action::ShowGlyph, failure);
    }
}

void Editor::UpdateEditMenu() {
    // The history belongs to the loaded font as long as the arrows and "Сохранить" write into it,
    // whatever the picture; the fits look at the texture, so they need it shown.
    view_.SetEnabled(Control::EditMenu, FontWritable());
    view_.SetEnabled(Control::Undo, FontWritable() && history_.CanUndo());
    view_.SetEnabled(Control::Redo, FontWritable() && history_.CanRedo());
    // A fit stores as an arrow does: only a glyph shown as the file holds it.
    view_.SetEnabled(Control::FitGlyph, textureShown_ && glyphShown_);
    view_.SetEnabled(Control::FitAllGlyphs, textureShown_ && font_.GlyphCount > 0);
    view_.SetEnabled(Control::DrawGlyphs, textureShown_ && font_.GlyphCount > 0 && FontWritable());
}

void Editor::TellUnexpectedFailure(const std::string& what) { Exclaim(what, Tr(Text::ErrorTitle)); }

void Editor::ShowFailure(Action action, const runtime::Failure& failure) {
    Exclaim(FailureMessage(action, failure, fontPath_, language_), Tr(Text::ErrorTitle));
}

void Editor::ReportAfterEvent(const std::string& message) {
    // A modal box opened while the mouse button is down on a scroll bar arrow leaves the
    // scroll bar stepping on by itself: wait for the release.
    // A release that never reached the selector must not hold a message back for good.
    if (!view_.LeftButtonDown()) selectorPressed_ = false;
    if (selectorPressed_) {
        heldMessages_.push_back(message);
        return;
    }
    dueMessages_.push_back(message);
    view_.StartTimer(Timer::Message, 0);
}

void Editor::DropFiles(const std::vector<std::filesystem::path>& files) {
    if (promptsOpen_ > 0) return;
    const Drop drop = ReadDrop(files, FontWritable());
    switch (drop.kind) {
    case Drop::Kind::Nothing: return;
    case Drop::Kind::Font: return OpenFromCommandLine(drop.font, drop.picture);
    case Drop::Kind::Texture: return ShowDroppedTexture(Chosen(drop.picture));
    }
}

// A prompt takes the mouse from the window: a press held then would never see its release.
std::optional<std::filesystem::path> Editor::AskForFile(const CommonDialog& dialog) {
    CancelDrag();
    const PromptCount open(promptsOpen_);
    // Both dialogs open in the folder of the last font chosen, where its picture is looked for;
    // a remembered file elsewhere would take the dialog away from it.
    const std::filesystem::path folder = CommonDialog1.FileName.parent_path();
    const std::filesystem::path shown = dialog.FileName.parent_path() == folder ? dialog.FileName : std::filesystem::path();
    return view_.ChooseExistingFile(dialog.DialogTitle, dialog.Filter, folder, shown);
}

void Editor::Exclaim(const std::string& prompt, const std::string& title) {
    CancelDrag();
    const PromptCount open(promptsOpen_);
    view_.Exclaim(prompt, title);
}

void Editor::Inform(const std::string& prompt, const std::string& title) {
    CancelDrag();
    const PromptCount open(promptsOpen_);
    view_.Inform(prompt, title);
}

void Editor::OnSelectorPressed() { selectorPressed_ = true; }

void Editor::OnSelectorReleased() {
    selectorPressed_ = false;
    for (std::string& message : std::exchange(heldMessages_, {})) ReportAfterEvent(message);
}

}  // namespace editor
