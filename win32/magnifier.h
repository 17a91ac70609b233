#pragma once

#include <windows.h>

#include "editor/editor.h"

namespace win32 {

// The tool window "Лупа", a popup owned by the main window and drawn with GDI: what the editor's
// magnifier holds, each texture pixel a square of the factor's size, a grid from
// kMagnifierGridFrom on and the outline where the record puts it, as the editor describes them.
// The mouse and the wheel go to the editor, its keys through the window's.
class Magnifier {
public:
    static constexpr const wchar_t* kClassName = L"RuneplotMagnifier";

    static void Register(HINSTANCE instance);

    Magnifier(editor::Editor& editor, HWND owner);
    ~Magnifier();
    Magnifier(const Magnifier&) = delete;
    Magnifier& operator=(const Magnifier&) = delete;

    HWND window() const { return window_; }
    // Shown beside the owner the first time, then wherever the user left it.
    void Show();
    void Hide();
    void Redraw();
    void SetCursor(HCURSOR cursor) { cursor_ = cursor; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();

    editor::Editor& editor_;
    HWND owner_;
    HWND window_ = nullptr;
    HCURSOR cursor_ = nullptr;
    bool placed_ = false;
};

}  // namespace win32
