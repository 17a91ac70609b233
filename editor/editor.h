#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "editor/history.h"
#include "editor/magnifier.h"
#include "editor/messages.h"
#include "editor/render_dialog.h"
#include "editor/edge_drag.h"
#include "editor/settings.h"
#include "editor/view.h"
#include "font/font_file.h"
#include "glyphs/typeface.h"
#include "picture/image.h"
#include "picture/ink.h"
#include "runtime/file_stamp.h"

// The window's state and its handlers, for any toolkit: a view forwards each event to the
// handler named after the user's action and carries out what the editor asks of it.
namespace editor {

// A file-open dialog that keeps the last file chosen in it between uses.
struct CommonDialog {
    std::string DialogTitle;
    std::string Filter;
    std::filesystem::path FileName;  // full path of the last file chosen
};

class Editor {
public:
    // How long the followed texture must stay unchanged before it is read again.
    static constexpr int kTextureSettleMilliseconds = 250;

    // decimalSeparator is the user's, read once at program start. settings, when given, keeps the
    // language between runs. Gives the window its texts and runs the start-up routine.
    Editor(View& view, char decimalSeparator, SettingsStore* settings = nullptr);
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    void OpenCommand();                                   // "Открыть"
    // A font named on the command line, as if the font dialog had returned it; the picture is
    // the named one, else the font's BMP beside it when there is one, else the dialog asks.
    void OpenFromCommandLine(const std::filesystem::path& font, const std::filesystem::path& picture = {});
    void OnSelectorChanged();                             // scr's value changed
    void OnSelectorPressed();                             // the left button went down on scr
    void OnSelectorReleased();                            // ... and up again
    void ClickArrow(Control command);                     // Command2 .. Command7
    void SaveFontParameters();                            // Command1
    void Undo();                                          // "Отменить"
    void Redo();                                          // "Повторить"
    void FitGlyph();                                      // "Подогнать символ по рисунку"
    void FitAllGlyphs();                                  // "Подогнать все символы"
    void DrawGlyphsCommand();                             // "Нарисовать символы из шрифта…"
    // While that dialog is open: what it shows for the values, and its "…" button.
    RenderPreview PreviewRender(const RenderValues& values);
    std::optional<std::filesystem::path> ChooseTypeface(const std::filesystem::path& current);
    void OnTimer(Timer timer);
    void OnWatchedFileChanged();
    // Files dropped on the window: a font as on the command line, or a lone picture as the
    // loaded font's texture. Nothing while a dialog or a message is open.
    void DropFiles(const std::vector<std::filesystem::path>& files);
    void ChooseLanguage(Language language);               // "Русский", "English"
    // A failure that escaped a handler of the view: told, and the window goes on.
    void TellUnexpectedFailure(const std::string& what);

    // The left button and the mouse on a picture of the texture, in the surface's own pixels.
    // The mouse moves with or without the button held. No press and no zoom while a dialog or
    // a message is open.
    void PressPicture(Surface surface, std::int32_t x, std::int32_t y);
    void MovePicture(Surface surface, std::int32_t x, std::int32_t y);
    void ReleasePicture(Surface surface, std::int32_t x, std::int32_t y);
    void CancelDrag();
    // The surface's window lost the mouse (the capture taken away, the window deactivated or
    // hidden): a press held in it goes, as with Escape.
    void LostMouse(Surface surface);
    bool Dragging() const { return drag_.has_value(); }

    // A key pressed in the window of a surface (Picture1's: the main window). True when it did
    // something here; otherwise the window takes it as usual.
    bool PressKey(Surface focused, Key key);
    // The wheel over a surface, in 1/120 of a notch as both systems count it, Ctrl held or not.
    // True when it did something here.
    bool TurnWheel(Surface surface, std::int32_t delta, bool control);

    void ToggleMagnifier();  // "Лупа"
    void OnMagnifierClosed();
    void ZoomMagnifier(int steps);
    void OnMagnifierResized(std::int32_t width, std::int32_t height);
    MagnifierPicture Magnifier() const;
    // What the magnifier's window paints, as it is.
    MagnifierDrawing DrawMagnifier() const;

private:
    void ShowTexts();
    void SaveSettings();  // the language and the last TrueType file, where settings are kept
    void ShowGlyphCaption();
    std::string Tr(Text text) const { return TextOf(text, language_); }

    void StartUp();
    void OpenChosenFont(const std::filesystem::path& picture);
    void LoadFont();
    void SetSelectorRange();
    void ShowFontParameters();

    void RefreshGlyphView();
    void ShowSelectedGlyph();
    void ShowNoGlyph();
    void DrawOutline();
    void DrawOutlineAt(std::int32_t x0, std::int32_t y0, std::int32_t x1);
    void ShowWidthWarning();

    void NudgeEdge(Box box, int step, bool guarded);
    bool StoreGlyph();
    void NormaliseDecimalPoint(Box box);

    void Replay(Action action);
    void CheckReplay(runtime::BinaryFile& file, std::span<const History::Change> changes) const;
    void ShowStep(const History::Step& step);
    void ShowTexture(picture::Picture texture);
    const picture::InkMap& InkOfTexture();
    std::optional<font::GlyphRecord> FittedGlyph(const font::GlyphRecord& glyph, float cellHeight);
    History::Range RecordRange(std::int16_t index) const;

    // The plan for the dialog's values, or what keeps them from one (in the window's language).
    struct RenderPlanned {
        std::optional<glyphs::RenderPlan> plan;
        std::vector<std::string> notes;
        bool canDraw = false;
    };
    // The font's table as the file holds it now, refused when it is not the one loaded.
    font::FontTable LoadedTableNow() const;
    std::optional<font::FontTable> renderTable_;  // while the dialog is open
    RenderPlanned PlanFor(const RenderValues& values, const font::FontTable& table, const picture::Picture& texture);
    const glyphs::Typeface& TypefaceAt(const std::filesystem::path& path);
    void RememberTypeface(const std::filesystem::path& path);
    void DrawGlyphs(const RenderValues& values);
    void ShowDrawnTexture(picture::Picture texture);

    void FollowPicture(const std::filesystem::path& picture, const runtime::FileStamp& shown);
    void StopFollowingPicture();
    void ShowPictureAgain();
    void ShowDroppedTexture(const std::filesystem::path& picture);
    std::optional<TextureTrouble> ShowTextureFrom(const std::filesystem::path& picture);

    // Enabling goes through here, so that a handler refuses what its disabled control would.
    void SetEnabled(Control control, bool enabled);
    // The arrows store only a glyph that the view has shown as the file holds it.
    void SetGlyphShown(bool shown);
    // "Правка" and its items follow the edit groups, the texture, the history and the glyph shown.
    void SetTextureShown(bool shown);
    bool FontWritable() const { return frame2Enabled_ && frame4Enabled_; }
    void UpdateEditMenu();
    void ShowWrittenGlyph();
    void ShowFailure(Action action, const runtime::Failure& failure);
    void ReportAfterEvent(const std::string& message);
    // The view's modal prompts. While one is open the window still gets drops and the mouse
    // (a magnifier is no part of a modal dialog's owner), and refuses them.
    std::optional<std::filesystem::path> AskForFile(const CommonDialog& dialog);
    void Exclaim(const std::string& prompt, const std::string& title);
    void Inform(const std::string& prompt, const std::string& title);

    View& view_;
    const char decimalSeparator_;
    SettingsStore* const settings_;
    Language language_ = Language::Russian;
    // What Label1 says, so that it can be said again in another language.
    enum class GlyphCaption { None, Number, NoGlyphs } glyphCaption_ = GlyphCaption::None;
    std::int32_t glyphNumber_ = 0;

    // The font whose layout font_ holds: it changes only when a load starts on a chosen file,
    // so a store or a save never writes into a file that was not loaded.
    std::filesystem::path fontPath_;
    font::FontState font_;
    std::int32_t x0_ = 0;
    std::int32_t y0_ = 0;
    std::int32_t x1_ = 0;

    bool frame2Enabled_ = false;
    bool frame4Enabled_ = false;
    bool selectorEnabled_ = false;
    bool glyphShown_ = false;
    bool textureShown_ = false;  // a font loaded and its texture shown, which the fits look at

    // The writes to the font since it was opened.
    History history_;

    // A refresh that fails inside the load belongs to the load.
    bool loading_ = false;
    std::exception_ptr loadFailure_;
    // A message for a click on the selector waits for the button's release.
    bool selectorPressed_ = false;
    std::vector<std::string> heldMessages_;
    std::vector<std::string> dueMessages_;  // shown when Timer::Message runs out

    // The shown picture's file, read again when it is saved anew; a trouble with it is told once.
    std::filesystem::path picturePath_;
    runtime::FileStamp pictureStamp_;
    bool pictureTroubleShown_ = false;
    // The texture at its own size, which the fits look at (its ink is found when first asked
    // for); as Picture1 shows it; the same at its own size for the magnifier, made when it asks.
    std::optional<picture::Picture> texture_;
    picture::Image shownTexture_;
    mutable std::optional<picture::Image> opaqueTexture_;
    std::optional<picture::InkMap> ink_;

    int promptsOpen_ = 0;

    // The last TrueType file the dialog read, kept while it stays as it was, and what it held.
    struct OpenTypeface {
        std::filesystem::path path;
        runtime::FileStamp stamp;
        glyphs::Typeface face;
    };
    std::optional<OpenTypeface> typeface_;
    RenderValues renderValues_;
    CommonDialog CommonDialog3;  // the TrueType file's

    CommonDialog CommonDialog1;
    CommonDialog CommonDialog2;

    // Editing on the pictures.
    bool CanDrag() const;
    std::optional<Sides> SidesOn(Surface surface) const;
    void UpdateCursor(Surface surface, std::int32_t x, std::int32_t y);
    void SelectGlyphAt(Surface surface, std::int32_t x, std::int32_t y);
    void ShowDrag();
    void ShowShownGlyph();
    void AbandonDrag();
    void MagnifierChanged();

    struct Press {
        Surface surface;
        std::int32_t x;
        std::int32_t y;
        Hold hold;
        bool followsAcross = false;
        bool followsDown = false;
    };
    bool FollowPress(std::int32_t x, std::int32_t y);
    font::GlyphRecord shownGlyph_;  // as the last refresh read it
    std::optional<Press> press_;
    std::optional<EdgeDrag> drag_;
    Cursor cursors_[2] = {Cursor::Arrow, Cursor::Arrow};  // by Surface
    bool magnifierOpen_ = false;
    int magnifierFactor_ = kDefaultMagnification;
    std::int32_t magnifierWidth_ = 0;
    std::int32_t magnifierHeight_ = 0;
    std::int32_t wheelRest_ = 0;  // a turn of less than a notch, kept for the next
};

}  // namespace editor
