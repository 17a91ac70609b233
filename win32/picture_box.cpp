#include "win32/picture_box.h"

#include <windowsx.h>

#include <algorithm>

#include "win32/gdi.h"
#include "win32/picture_mouse.h"
#include "win32/pictures.h"

namespace win32 {
namespace {

// Where the texture is transparent, the texture panel's own colour shows through.
constexpr picture::Rgba kUnderTexture{0xE0, 0xE0, 0xE0, 255};

std::uint8_t Blend(std::uint8_t over, std::uint8_t under, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((over * alpha + under * (255 - alpha) + 127) / 255);
}

}  // namespace

bool ForwardToTopLevel(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
        result = SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
        return true;
    default:
        return false;
    }
}

void PictureBox::Register(HINSTANCE instance) { RegisterWindowClass(instance, kClassName, WindowProc, LoadCursorW(nullptr, IDC_ARROW)); }

HWND PictureBox::Create(HWND parent, int id, const Pixels& where, int scale) {
    scale_ = scale;
    texture_.assign(static_cast<std::size_t>(kSize) * kSize, ToBgrx(kUnderTexture));
    shown_ = texture_;
    window_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP, where.x,
                              where.y, where.width, where.height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this);
    return window_;
}

void PictureBox::Show(const picture::Image& texture) {
    std::fill(texture_.begin(), texture_.end(), ToBgrx(kUnderTexture));
    const int width = std::min(texture.width, kSize);
    const int height = std::min(texture.height, kSize);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const picture::Rgba pixel = texture.At(x, y);
            texture_[static_cast<std::size_t>(y) * kSize + x] =
                ToBgrx({Blend(pixel.r, kUnderTexture.r, pixel.a), Blend(pixel.g, kUnderTexture.g, pixel.a),
                        Blend(pixel.b, kUnderTexture.b, pixel.a), 255});
        }
    }
    // What was drawn stays over the new picture, as it stays over the old one until cleared.
    std::vector<std::uint32_t> drawnColours;
    drawnColours.reserve(drawn_.size());
    for (const std::size_t index : drawn_) drawnColours.push_back(shown_[index]);
    shown_ = texture_;
    for (std::size_t i = 0; i < drawn_.size(); ++i) shown_[drawn_[i]] = drawnColours[i];
    RequestPaint();
}

void PictureBox::Clear() {
    shown_ = texture_;
    drawn_.clear();
    RequestPaint();
}

void PictureBox::Set(std::int32_t x, std::int32_t y, picture::Rgba colour) {
    if (x < 0 || x >= kSize || y < 0 || y >= kSize) return;
    const std::size_t index = static_cast<std::size_t>(y) * kSize + static_cast<std::size_t>(x);
    shown_[index] = ToBgrx(colour);
    drawn_.push_back(index);
    RequestPaint();
}

void PictureBox::RequestPaint() {
    // One request for a whole outline: the picture is painted once the handler is over.
    if (paintRequested_ || !window_) return;
    paintRequested_ = true;
    InvalidateRect(window_, nullptr, FALSE);
}

void PictureBox::OnPaint() {
    paintRequested_ = false;
    const PaintDc dc(window_);
    RECT client{};
    GetClientRect(window_, &client);
    DrawPixels(dc.get(), shown_.data(), kSize, kSize, scale_);
    // The layout's place may be larger than the picture; the rest is the panel's colour.
    const int shown = kSize * scale_;
    const Brush panel(CreateSolidBrush(RGB(kUnderTexture.r, kUnderTexture.g, kUnderTexture.b)));
    const RECT right{shown, 0, client.right, client.bottom};
    const RECT below{0, shown, shown, client.bottom};
    if (!IsRectEmpty(&right)) FillRect(dc.get(), &right, panel.get());
    if (!IsRectEmpty(&below)) FillRect(dc.get(), &below, panel.get());
}

// The texture pixel under a point of the client area: the texture is drawn at a whole scale of
// the screen's pixels, each texture pixel as scale_ x scale_ of them.
POINT PictureBox::ToTexturePixel(LPARAM position) const {
    return {editor::PixelUnder(GET_X_LPARAM(position), scale_), editor::PixelUnder(GET_Y_LPARAM(position), scale_)};
}

LRESULT CALLBACK PictureBox::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* box = reinterpret_cast<PictureBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    LRESULT result = 0;
    if (ForwardToTopLevel(window, message, wParam, lParam, result)) return result;
    if (box && box->editor_ &&
        ForwardPictureMouse(*box->editor_, editor::Surface::Picture1, window, message, box->ToTexturePixel(lParam))) {
        return 0;
    }
    switch (message) {
    case WM_SETCURSOR:
        if (!box || !box->cursor_ || LOWORD(lParam) != HTCLIENT) break;
        ::SetCursor(box->cursor_);
        return TRUE;
    case WM_ERASEBKGND:
        return 1;  // the picture covers every pixel
    case WM_PAINT:
        if (box) {
            box->OnPaint();
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace win32
