#include "win32/magnifier.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <vector>

#include "win32/gdi.h"
#include "win32/picture_mouse.h"
#include "win32/pictures.h"

namespace win32 {
namespace {

constexpr int kDefaultSide = 400;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kExtendedStyle = WS_EX_TOOLWINDOW;
constexpr COLORREF kBackground = RGB(0x30, 0x30, 0x30);
constexpr COLORREF kGrid = RGB(0x60, 0x60, 0x60);
constexpr COLORREF kOutline = RGB(0xFF, 0x00, 0x00);

int Rounded(double v) { return static_cast<int>(std::lround(v)); }

// The part of the region that lies on the texture, as the squares of its pixels; where they went.
RECT DrawTexture(HDC dc, const editor::MagnifierPicture& shown) {
    const picture::Image& texture = *shown.texture;
    const int left = std::max(shown.regionLeft, 0), right = std::min(shown.regionLeft + shown.regionWidth, texture.width);
    const int top = std::max(shown.regionTop, 0), bottom = std::min(shown.regionTop + shown.regionHeight, texture.height);
    if (left >= right || top >= bottom) return {};
    const int width = right - left, height = bottom - top;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels[static_cast<std::size_t>(y) * width + x] = ToBgrx(texture.At(left + x, top + y));
    }
    const BITMAPINFO info = TopDownPixels(width, height);
    const int x0 = Rounded(shown.ScreenX(left)), y0 = Rounded(shown.ScreenY(top));
    SetStretchBltMode(dc, COLORONCOLOR);  // whole pixels repeated: squares, no blur
    StretchDIBits(dc, x0, y0, width * shown.factor, height * shown.factor, 0, 0, width, height, pixels.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
    const int x1 = x0 + width * shown.factor, y1 = y0 + height * shown.factor;
    if (shown.factor < editor::kMagnifierGridFrom) return {x0, y0, x1, y1};
    const GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, kGrid));
    const Selection selected(dc, pen.get());
    for (int x = left + 1; x < right; ++x) {
        MoveToEx(dc, Rounded(shown.ScreenX(x)), y0, nullptr);
        LineTo(dc, Rounded(shown.ScreenX(x)), y1);
    }
    for (int y = top + 1; y < bottom; ++y) {
        MoveToEx(dc, x0, Rounded(shown.ScreenY(y)), nullptr);
        LineTo(dc, x1, Rounded(shown.ScreenY(y)));
    }
    return {x0, y0, x1, y1};
}

// Two pixels wide, one each side of the boundary the edge lies on.
void DrawOutline(HDC dc, const editor::MagnifierPicture& shown) {
    const GdiObject<HPEN> pen(CreatePen(PS_SOLID, 2, kOutline));
    const Selection selected(dc, pen.get());
    const int left = Rounded(shown.ScreenX(shown.left)), right = Rounded(shown.ScreenX(shown.right));
    const int top = Rounded(shown.ScreenY(shown.top)), bottom = Rounded(shown.ScreenY(shown.bottom));
    const POINT corners[] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
    Polyline(dc, corners, 5);
}

}  // namespace

void Magnifier::Register(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = nullptr;  // the editor's cursor, set at WM_SETCURSOR
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
}

Magnifier::Magnifier(editor::Editor& editor, HWND owner)
    : editor_(editor), owner_(owner), cursor_(LoadCursorW(nullptr, IDC_ARROW)) {
    RECT frame{0, 0, kDefaultSide, kDefaultSide};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExtendedStyle);
    window_ = CreateWindowExW(kExtendedStyle, kClassName, L"", kStyle, 0, 0, frame.right - frame.left,
                              frame.bottom - frame.top, owner, nullptr, GetModuleHandleW(nullptr), this);
}

Magnifier::~Magnifier() {
    // The owner's end takes its owned windows with it.
    if (IsWindow(window_)) DestroyWindow(window_);
}

void Magnifier::Show() {
    if (!placed_) {
        RECT owner{};
        GetWindowRect(owner_, &owner);
        SetWindowPos(window_, nullptr, owner.right + 8, owner.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        placed_ = true;
    }
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    Redraw();
}

void Magnifier::Hide() { ShowWindow(window_, SW_HIDE); }

void Magnifier::Redraw() {
    if (IsWindowVisible(window_)) InvalidateRect(window_, nullptr, FALSE);
}

void Magnifier::OnPaint() {
    const PaintDc paint(window_);
    const HDC dc = paint.get();
    RECT client{};
    GetClientRect(window_, &client);
    // Straight onto the window, the background only around the texture: each pixel reaches the
    // screen once, which keeps a drag's move quick even where drawing goes through a server.
    const editor::MagnifierPicture shown = editor_.Magnifier();
    const int saved = SaveDC(dc);
    if (shown.texture) {
        const RECT texture = DrawTexture(dc, shown);
        ExcludeClipRect(dc, texture.left, texture.top, texture.right, texture.bottom);
    }
    const Brush background(CreateSolidBrush(kBackground));
    FillRect(dc, &client, background.get());
    RestoreDC(dc, saved);
    if (shown.texture) DrawOutline(dc, shown);
}

void Magnifier::OnKeyDown(WPARAM key) {
    switch (key) {
    case VK_ADD:
    case VK_OEM_PLUS: editor_.ZoomMagnifier(+1); break;
    case VK_SUBTRACT:
    case VK_OEM_MINUS: editor_.ZoomMagnifier(-1); break;
    case VK_ESCAPE: editor_.CancelDrag(); break;
    default: break;
    }
}

LRESULT Magnifier::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (ForwardPictureMouse(editor_, editor::Surface::Magnifier, window_, message, at)) return 0;
    switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;  // the painting covers every pixel
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTCLIENT) break;
        ::SetCursor(cursor_);
        return TRUE;
    case WM_MOUSEWHEEL:
        if (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) editor_.ZoomMagnifier(GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
        return 0;
    case WM_KEYDOWN: OnKeyDown(wParam); return 0;
    case WM_ACTIVATE:
        // Without a focus of its own the keys would come as system keys, which no shortcut takes.
        if (LOWORD(wParam) != WA_INACTIVE) SetFocus(window_);
        return 0;
    case WM_SIZE:
        editor_.OnMagnifierResized(LOWORD(lParam), HIWORD(lParam));
        InvalidateRect(window_, nullptr, FALSE);
        return 0;
    case WM_CLOSE:
        Hide();
        editor_.OnMagnifierClosed();
        return 0;
    default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK Magnifier::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Magnifier*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Magnifier*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || message == WM_NCDESTROY) return DefWindowProcW(window, message, wParam, lParam);
    // Nothing may unwind through Windows' own frames.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& failure) {
        self->editor_.TellUnexpectedFailure(failure.what());
        return 0;
    }
}

}  // namespace win32
