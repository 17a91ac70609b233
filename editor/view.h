#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "editor/render_dialog.h"
#include "editor/settings.h"
#include "picture/image.h"

// What the editor asks of a window. A toolkit's window (Qt, Win32) carries these out and forwards
// its events to the editor; it decides nothing itself. Texts are UTF-8, paths are the system's.
namespace editor {

// The boxes whose text the editor sets or reads.
enum class Box { Text1, Text2, Text3, Text4, Text5, info };

// The labels whose caption changes at run time.
enum class Label { Label1, Label4, Label5 };

// What the editor shows, hides, enables or disables.
enum class Control {
    Frame2,
    Frame4,
    scr,
    Picture1,
    Shape1,
    err,
    Command2,
    Command3,
    Command4,
    Command5,
    Command6,
    Command7,
    EditMenu,  // "Правка" as a whole
    Undo,
    Redo,
    FitGlyph,
    FitAllGlyphs,
    DrawGlyphs,
};

// The texts of the menus and controls that change only with the language.
enum class ControlText {
    opp,
    EditMenu,
    Undo,
    Redo,
    FitGlyph,
    FitAllGlyphs,
    DrawGlyphs,  // "Нарисовать символы из шрифта…", Ctrl+R
    ViewMenu,
    MagnifierItem,  // "Лупа", the magnifier's title too
    LanguageMenu,
    Russian,
    English,
    Label3Left,   // Label3(3), beside Text1
    Label3Top,    // Label3(0), beside Text2
    Label3Right,  // Label3(1), beside Text3
    Label2,
    Label3Size,   // Label3(2), beside Text4
    Label3Space,  // Label3(4), beside Text5
    Command1,
    err,
};

// The one-shot timers the editor runs.
enum class Timer {
    Message,         // a message shown once the event that raised it is over
    TextureSettled,  // the followed texture has stayed unchanged for a moment
};

// Where the mouse on a picture of the texture comes from: Picture1, in the texture's pixels, or
// the magnifier, in its own.
enum class Surface { Picture1, Magnifier };

// The mouse pointer's shapes over a surface: the system's own resize and move pointers.
enum class Cursor { Arrow, SizeAcross, SizeUpDown, SizeAll };

// The keys that act on a drag or on the magnifier ("+" and "-" of either part of the keyboard).
enum class Key { Escape, Plus, Minus };

class View {
public:
    virtual ~View() = default;

    virtual void SetText(Box box, const std::string& text) = 0;
    virtual std::string Text(Box box) const = 0;
    virtual void SetCaption(Label label, const std::string& caption) = 0;
    virtual void SetVisible(Control control, bool visible) = 0;
    virtual void SetEnabled(Control control, bool enabled) = 0;
    // A menu's or a control's text; a menu item's shortcut keys are the view's to add.
    virtual void SetControlText(ControlText control, const std::string& text) = 0;
    // The item of "Язык / Language" that is checked.
    virtual void CheckLanguage(Language language) = 0;

    // The glyph selector. Its minimum is 0. A new maximum below the value lowers the value, and
    // every change of the value, the program's included, reaches Editor::OnSelectorChanged
    // (a maximum below 0 is shown as 0..0).
    virtual void SetSelectorMaximum(std::int32_t maximum) = 0;
    virtual std::int32_t SelectorValue() const = 0;
    virtual void SetSelectorValue(std::int32_t value) = 0;
    // Whether the left mouse button is down at this moment.
    virtual bool LeftButtonDown() const = 0;

    // Picture1: the texture shown unscaled at its top left, and single pixels drawn over it.
    virtual void ShowTexture(const picture::Image& texture) = 0;
    virtual void ClearDrawing() = 0;  // Cls: what was drawn goes, the texture stays
    virtual void SetPixel(std::int32_t x, std::int32_t y, picture::Rgba colour) = 0;  // PSet, inside the picture

    virtual void SetCursor(Surface surface, Cursor cursor) = 0;
    // The magnifier's tool window with the check of its menu item "Лупа", shown or closed.
    virtual void ShowMagnifier(bool shown) = 0;
    // What the magnifier shows has changed: it asks Editor::Magnifier() again and repaints.
    virtual void RedrawMagnifier() = 0;

    // An open-file dialog that accepts only existing files, opened in folder (empty: where the
    // system likes). The filter is "shown text|pattern"; lastFile, when there is one, is the
    // dialog's remembered choice in that folder, shown selected. Nothing when cancelled.
    virtual std::optional<std::filesystem::path> ChooseExistingFile(const std::string& title, const std::string& filter,
                                                                    const std::filesystem::path& folder,
                                                                    const std::filesystem::path& lastFile) = 0;
    // A message box with an exclamation icon and a single OK button.
    virtual void Exclaim(const std::string& prompt, const std::string& title) = 0;
    // The same with an information icon: news, not a warning.
    virtual void Inform(const std::string& prompt, const std::string& title) = 0;

    // The modal dialog that draws glyphs from a font, opened with the values given. At its opening
    // and at each change of a value it shows what Editor::PreviewRender gives for the values,
    // with "Нарисовать" enabled as the preview says; its "…" button asks Editor::ChooseTypeface.
    // The values when "Нарисовать" closed it; nothing when cancelled.
    virtual std::optional<RenderValues> AskRenderValues(const RenderDialogTexts& texts, const RenderValues& values) = 0;

    // Starting a running timer starts it anew; it calls Editor::OnTimer once when it runs out.
    virtual void StartTimer(Timer timer, int milliseconds) = 0;
    virtual void StopTimer(Timer timer) = 0;
    // Any change to the file or to its folder (a file renamed over it) reaches
    // Editor::OnWatchedFileChanged until StopWatching.
    virtual void WatchFile(const std::filesystem::path& path) = 0;
    virtual void StopWatching() = 0;
};

}  // namespace editor
