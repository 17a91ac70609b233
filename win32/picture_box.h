#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "editor/editor.h"
#include "picture/image.h"
#include "win32/layout.h"

namespace win32 {

// Picture1: the texture unscaled at its top left, single pixels drawn over it, all of it shown
// enlarged by a whole factor, each of its pixels a square of screen pixels, at the top left of the
// control's place in the layout.
class PictureBox {
public:
    static constexpr int kSize = 512;
    static constexpr const wchar_t* kClassName = L"RuneplotPicture";

    static void Register(HINSTANCE instance);

    HWND Create(HWND parent, int id, const Pixels& where, int scale);
    HWND window() const { return window_; }

    void Show(const picture::Image& texture);
    void Clear();                                           // what was drawn goes, the texture stays
    void Set(std::int32_t x, std::int32_t y, picture::Rgba colour);  // nothing outside the picture

    // The mouse goes to the editor from now on, in texture pixels.
    void ForwardMouseTo(editor::Editor& editor) { editor_ = &editor; }
    void SetCursor(HCURSOR cursor) { cursor_ = cursor; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void RequestPaint();
    POINT ToTexturePixel(LPARAM position) const;

    HWND window_ = nullptr;
    editor::Editor* editor_ = nullptr;
    HCURSOR cursor_ = nullptr;
    std::vector<std::uint32_t> texture_;  // 0x00RRGGBB, rows from the top
    std::vector<std::uint32_t> shown_;    // the texture with the drawing over it
    std::vector<std::size_t> drawn_;      // the pixels drawn since the last Clear
    int scale_ = 1;  // screen pixels a picture pixel is wide
    bool paintRequested_ = false;
};

// Child windows that hold controls pass their controls' notifications on to the top-level window,
// which alone knows what they mean. True when the message was one of those.
bool ForwardToTopLevel(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace win32
