#pragma once

#include <windows.h>

#include <array>
#include <exception>
#include <memory>

#include "editor/editor.h"
#include "editor/view.h"
#include "win32/dropped_files.h"
#include "win32/gdi.h"
#include "win32/magnifier.h"
#include "win32/picture_box.h"
#include "win32/render_dialog.h"
#include "win32/texture_watch.h"

namespace win32 {

// The one window, in Windows' own controls: it lays the controls out, carries out what the
// editor asks of a window and forwards every event to the editor's handler for it.
class Form1 final : public editor::View {
public:
    static constexpr const wchar_t* kClassName = L"RuneplotForm1";

    // settings, when given, keeps the language between runs.
    Form1(HINSTANCE instance, char decimalSeparator, editor::SettingsStore* settings = nullptr);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Creates and shows the window; false when Windows refused it.
    bool Create(int showCommand);
    HWND window() const { return window_; }
    editor::Editor& Editor() { return *editor_; }
    // The keys the window handles before any control sees them (Tab, the menu's shortcuts); true
    // when one was handled.
    bool PreTranslate(MSG& message);

    // What the editor asks of the window.
    void SetText(editor::Box box, const std::string& text) override;
    std::string Text(editor::Box box) const override;
    void SetCaption(editor::Label label, const std::string& caption) override;
    void SetVisible(editor::Control control, bool visible) override;
    void SetEnabled(editor::Control control, bool enabled) override;
    void SetControlText(editor::ControlText control, const std::string& text) override;
    void CheckLanguage(editor::Language language) override;
    void SetSelectorMaximum(std::int32_t maximum) override;
    std::int32_t SelectorValue() const override;
    void SetSelectorValue(std::int32_t value) override;
    bool LeftButtonDown() const override;
    void ShowTexture(const picture::Image& texture) override;
    void ClearDrawing() override;
    void SetPixel(std::int32_t x, std::int32_t y, picture::Rgba colour) override;
    std::optional<std::filesystem::path> ChooseExistingFile(const std::string& title, const std::string& filter,
                                                            const std::filesystem::path& folder,
                                                            const std::filesystem::path& lastFile) override;
    void Exclaim(const std::string& prompt, const std::string& title) override;
    void Inform(const std::string& prompt, const std::string& title) override;
    void StartTimer(editor::Timer timer, int milliseconds) override;
    void StopTimer(editor::Timer timer) override;
    void WatchFile(const std::filesystem::path& path) override;
    void StopWatching() override;
    void SetCursor(editor::Surface surface, editor::Cursor cursor) override;
    void ShowMagnifier(bool shown) override;
    void RedrawMagnifier() override;
    std::optional<editor::RenderValues> AskRenderValues(const editor::RenderDialogTexts& texts,
                                                        const editor::RenderValues& values) override;

private:
    // Every control's id, in the order the layout lists them.
    enum Id : int {
        kOpp = 1,
        kUndo,
        kRedo,
        kFitGlyph,
        kFitAllGlyphs,
        kRussian,
        kEnglish,
        kFrame1,
        kShape1,
        kPicture1,
        kErr,
        kFrame3,
        kLabel1,
        kScr,
        kFrame2,
        kLabel3Left,
        kText1,
        kCommand5,
        kCommand4,
        kLabel3Top,
        kText2,
        kCommand7,
        kCommand6,
        kLabel3Right,
        kText3,
        kCommand2,
        kCommand3,
        kFrame4,
        kLabel2,
        kLabel3Size,
        kText4,
        kLabel3Space,
        kText5,
        kCommand1,
        kFrame5,
        kLabel4,
        kLabel5,
        kInfo,
        kMagnifier,   // "Вид" > "Лупа"
        kDrawGlyphs,  // "Правка" > "Нарисовать символы из шрифта…"
        kIdCount
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK GroupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SelectorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR form);
    void RegisterClasses();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void TellUnexpected(const std::exception& failure);

    bool OnCreate();
    void OnCommand(int id, int code);
    void OnHScroll(int code);
    void OnTimer(UINT_PTR id);
    void OnTextureChanged();
    LRESULT OnCtlColor(UINT message, HDC dc, HWND control);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnActivate(bool active);
    void OnDropFiles(HDROP drop);
    void OnDestroy();

    void BuildMenu();
    void BuildControls();
    void BuildFonts();
    HWND Group(Id id, const Twips& where);
    HWND Child(HWND parent, Id id, const wchar_t* windowClass, const wchar_t* text, DWORD style, const Twips& where,
               HFONT font, DWORD extendedStyle = 0);
    HWND Handle(editor::Control control) const;
    HWND Handle(editor::Box box) const;
    static UINT MenuItem(editor::Control control);
    HWND Control(Id id) const { return controls_[id]; }
    HWND MagnifierWindow() const { return magnifier_ ? magnifier_->window() : nullptr; }
    // A dialog open over the window owns what opens from it, so that it cannot be used meanwhile.
    HWND PromptOwner() const { return renderDialog_ ? renderDialog_->window() : window_; }

    void SetMenuText(HMENU menu, UINT item, bool byPosition, const std::wstring& text);
    void ShowEnabled(HWND group);
    void DrawArrow(const DRAWITEMSTRUCT& item, HBITMAP arrow);
    void DrawSaveButton(const DRAWITEMSTRUCT& item);
    void MoveFocus(bool forward);

    HINSTANCE instance_;
    const char decimalSeparator_;
    editor::SettingsStore* const settings_;
    int dpi_ = kLayoutDpi;
    HWND window_ = nullptr;
    HMENU menu_ = nullptr;
    HMENU editMenu_ = nullptr;      // "Правка"
    HMENU viewMenu_ = nullptr;      // "Вид"
    HMENU languageMenu_ = nullptr;  // "Язык / Language"
    std::wstring magnifierTitle_;   // the magnifier's title is its item's text
    HACCEL shortcuts_ = nullptr;
    HWND lastFocus_ = nullptr;  // the control given the focus back when the window is active again
    std::array<HWND, kIdCount> controls_{};
    // A control inside a group takes input only while both it and its group are enabled.
    std::array<bool, kIdCount> ownEnabled_{};
    std::int32_t selectorMaximum_ = 0;

    Brush groupBrush_;
    Brush blackBrush_;
    Brush saveBrush_;
    Font defaultFont_;  // 8.25 pt
    Font boldFont_;     // 8.25 pt bold
    Font boxFont_;      // 12 pt bold
    Font numberFont_;   // 18 pt bold
    Font warningFont_;  // 24 pt bold
    Bitmap upArrow_;
    Bitmap downArrow_;

    PictureBox picture1_;
    std::unique_ptr<TextureWatch> watch_;
    std::unique_ptr<editor::Editor> editor_;
    std::unique_ptr<Magnifier> magnifier_;
    const RenderDialog* renderDialog_ = nullptr;  // while it is open
};

}  // namespace win32
