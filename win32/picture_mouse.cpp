#include "win32/picture_mouse.h"

namespace win32 {

bool ForwardPictureMouse(editor::Editor& editor, editor::Surface surface, HWND window, UINT message, POINT at) {
    switch (message) {
    case WM_LBUTTONDOWN:
        SetCapture(window);  // the drag goes on outside the window
        editor.PressPicture(surface, at.x, at.y);
        return true;
    case WM_MOUSEMOVE: editor.MovePicture(surface, at.x, at.y); return true;
    case WM_LBUTTONUP:
        // Released first: giving the capture back must not cancel what the release stores.
        editor.ReleasePicture(surface, at.x, at.y);
        if (GetCapture() == window) ReleaseCapture();
        return true;
    case WM_CAPTURECHANGED: editor.LostMouse(surface); return true;
    default: return false;
    }
}

HCURSOR SystemCursor(editor::Cursor cursor) {
    switch (cursor) {
    case editor::Cursor::SizeAcross: return LoadCursorW(nullptr, IDC_SIZEWE);
    case editor::Cursor::SizeUpDown: return LoadCursorW(nullptr, IDC_SIZENS);
    case editor::Cursor::SizeAll: return LoadCursorW(nullptr, IDC_SIZEALL);
    case editor::Cursor::Arrow: break;
    }
    return LoadCursorW(nullptr, IDC_ARROW);
}

}  // namespace win32
