#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "editor/editor.h"
#include "editor/render_dialog.h"
#include "win32/gdi.h"
#include "win32/layout.h"

namespace win32 {

// Where the dialog's controls go, in twips of its client area, drawn for 96 DPI as the window's.
namespace render_layout {
inline constexpr Twips kClient{0, 0, 7440, 6435};
inline constexpr Twips kTypefaceLabel{120, 120, 7200, 195};
inline constexpr Twips kTypefaceBox{120, 360, 6780, 300};
inline constexpr Twips kBrowse{6960, 360, 360, 300};
inline constexpr Twips kCharactersChoice{120, 825, 1800, 255};
inline constexpr Twips kCharactersBox{1980, 810, 2700, 300};
inline constexpr Twips kFirstGlyphLabel{4740, 870, 1500, 195};
inline constexpr Twips kFirstGlyphBox{6300, 810, 1020, 300};
inline constexpr Twips kCodePageChoice{120, 1215, 1800, 255};
inline constexpr Twips kCodePageList{1980, 1200, 1200, 3000};  // the dropped list included
inline constexpr Twips kFirstByteLabel{4740, 1260, 1500, 195};
inline constexpr Twips kFirstByteBox{6300, 1200, 1020, 300};
inline constexpr Twips kSizeLabel{120, 1740, 1800, 195};
inline constexpr Twips kSizeBox{1980, 1680, 750, 300};
inline constexpr Twips kAutomaticHint{2820, 1935, 1620, 195};
inline constexpr Twips kHintingLabel{4500, 1740, 1080, 195};
inline constexpr Twips kHintingList{5640, 1680, 1680, 3000};
inline constexpr Twips kBaselineLabel{120, 2130, 1800, 195};
inline constexpr Twips kBaselineBox{1980, 2070, 750, 300};
inline constexpr Twips kWidthLabel{4500, 2130, 1080, 195};
inline constexpr Twips kWidthList{5640, 2070, 1680, 3000};
inline constexpr Twips kPreview{120, 2550, 7200, 2400};  // the picture itself is kPreviewWidth x kPreviewHeight pixels
inline constexpr Twips kNotes{120, 5040, 7200, 840};      // four lines
inline constexpr Twips kDraw{4920, 5970, 1140, 345};
inline constexpr Twips kCancel{6180, 5970, 1140, 345};
}  // namespace render_layout

// The modal dialog that draws glyphs from a TrueType or OpenType font: native controls over the
// editor's values, a preview the editor paints, and nothing decided here.
class RenderDialog {
public:
    static constexpr const wchar_t* kPreviewClass = L"RuneplotRenderPreview";

    static void Register(HINSTANCE instance);

    RenderDialog(editor::Editor& editor, const editor::RenderDialogTexts& texts, const editor::RenderValues& values, int dpi);
    RenderDialog(const RenderDialog&) = delete;
    RenderDialog& operator=(const RenderDialog&) = delete;

    // Runs the dialog over owner, which it disables meanwhile. The values when "Нарисовать"
    // closed it; nothing when cancelled.
    std::optional<editor::RenderValues> Run(HWND owner);
    // The dialog's window while it runs: what opens from it is owned by it.
    HWND window() const { return window_; }

private:
    enum Id : int {
        kTypefaceLabel = 100,
        kTypefaceBox,
        kBrowse,
        kCharactersChoice,
        kCharactersBox,
        kFirstGlyphLabel,
        kFirstGlyphBox,
        kCodePageChoice,
        kCodePageList,
        kFirstByteLabel,
        kFirstByteBox,
        kSizeLabel,
        kSizeBox,
        kAutomaticHint,
        kHintingLabel,
        kHintingList,
        kBaselineLabel,
        kBaselineBox,
        kWidthLabel,
        kWidthList,
        kPreview,
        kNotes,
    };

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam);

    void OnInitDialog();
    void OnCommand(int id, int code);
    void OnBrowse();
    void OnPreviewPaint(HWND preview);

    void BuildControls();
    HWND Child(int id, const wchar_t* windowClass, const wchar_t* text, DWORD style, const Twips& where,
               DWORD extendedStyle = 0);
    void PlaceOverOwner();
    void ShowValues(const editor::RenderValues& values);
    void ShowChoice(bool fromCodePage);
    editor::RenderValues CurrentValues() const;
    std::wstring BoxText(int id) const;
    bool KeepDigits(int id);  // true when the box held more than digits, and was set anew
    void Preview();

    editor::Editor& editor_;
    const editor::RenderDialogTexts& texts_;
    const editor::RenderValues initial_;
    const int dpi_;
    Font font_;
    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    bool shown_ = false;  // the values are in the controls: their changes are the user's
    editor::RenderValues previewed_;
    bool canDraw_ = false;
    std::vector<std::uint32_t> previewBits_;
};

}  // namespace win32
