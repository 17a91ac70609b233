#include "win32/magnifier.h"

#include <windowsx.h>

#include <exception>
#include <optional>
#include <vector>

#include "win32/gdi.h"
#include "win32/picture_mouse.h"
#include "win32/pictures.h"

namespace win32 {
namespace {

constexpr int kDefaultSide = 400;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr DWORD kExtendedStyle = WS_EX_TOOLWINDOW;

RECT ToRect(const editor::MagnifierDrawing::Rect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

COLORREF ToColorref(picture::Rgba colour) { return RGB(colour.r, colour.g, colour.b); }

// The texture's pixels of the source rectangle, stretched over the target one: squares, no blur.
void DrawTexture(HDC dc, const editor::MagnifierDrawing& drawing) {
    const picture::Image& texture = *drawing.texture;
    const editor::MagnifierDrawing::Rect& source = drawing.source;
    const int width = source.right - source.left, height = source.bottom - source.top;
    if (width <= 0 || height <= 0) return;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels[static_cast<std::size_t>(y) * width + x] = ToBgrx(texture.At(source.left + x, source.top + y));
        }
    }
    const BITMAPINFO info = TopDownPixels(width, height);
    const editor::MagnifierDrawing::Rect& target = drawing.target;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, 0, width, height,
                  pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

void Magnifier::Register(HINSTANCE instance) {
    RegisterWindowClass(instance, kClassName, WindowProc, nullptr);  // the editor's cursor, set at WM_SETCURSOR
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
    const editor::MagnifierDrawing drawing = editor_.DrawMagnifier();
    const int saved = SaveDC(dc);
    if (drawing.texture) {
        DrawTexture(dc, drawing);
        ExcludeClipRect(dc, drawing.target.left, drawing.target.top, drawing.target.right, drawing.target.bottom);
    }
    const Brush background(CreateSolidBrush(ToColorref(drawing.background)));
    FillRect(dc, &client, background.get());
    RestoreDC(dc, saved);
    // The lines and sides come in runs of one colour: a brush for each run.
    std::optional<Brush> brush;
    std::optional<picture::Rgba> brushColour;
    for (const editor::MagnifierDrawing::Fill& fill : drawing.over) {
        if (brushColour != fill.colour) {
            brush.emplace(CreateSolidBrush(ToColorref(fill.colour)));
            brushColour = fill.colour;
        }
        const RECT rect = ToRect(fill.rect);
        FillRect(dc, &rect, brush->get());
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
    case WM_MOUSEWHEEL: {
        const bool control = (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) != 0;
        if (editor_.TurnWheel(editor::Surface::Magnifier, GET_WHEEL_DELTA_WPARAM(wParam), control)) return 0;
        break;
    }
    case WM_ACTIVATE:
        // Without a focus of its own the keys would come as system keys, which no shortcut takes.
        if (LOWORD(wParam) != WA_INACTIVE) SetFocus(window_);
        else editor_.LostMouse(editor::Surface::Magnifier);
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
