#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "editor/editor.h"
#include "picture/image.h"
#include "win32/layout.h"

namespace win32 {

// Picture1: the texture unscaled at its top left, single pixels drawn over it, all of it shown
// enlarged by the screen's density, nearest-neighbour, so that edges stay sharp.
class PictureBox {
public:
    static constexpr int kSize = 512;
    static constexpr const wchar_t* kClassName = L"RuneplotPicture";

    static void Register(HINSTANCE instance);

    HWND Create(HWND parent, int id, const Pixels& where);
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
    static POINT ToTexturePixel(LPARAM position);

    HWND window_ = nullptr;
    editor::Editor* editor_ = nullptr;
    HCURSOR cursor_ = nullptr;
    std::vector<std::uint32_t> texture_;  // 0x00RRGGBB, rows from the top
    std::vector<std::uint32_t> shown_;    // the texture with the drawing over it
    bool paintRequested_ = false;
};

// Child windows that hold controls pass their controls' notifications on to the top-level window,
// which alone knows what they mean. True when the message was one of those.
bool ForwardToTopLevel(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace win32
