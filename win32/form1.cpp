#include "win32/form1.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <iterator>
#include <optional>

#include "win32/dialogs.h"
#include "win32/picture_mouse.h"
#include "win32/pictures.h"
#include "win32/text.h"
#include "win32/typed_box.h"

namespace win32 {
namespace {

constexpr const wchar_t* kGroupClass = L"RuneplotGroup";
constexpr UINT kTextureChanged = WM_APP + 1;
constexpr UINT_PTR kSelectorSubclass = 1;
constexpr Twips kClient{0, 0, 11655, 8040};

constexpr COLORREF kGroupColour = RGB(0xE0, 0xE0, 0xE0);
constexpr COLORREF kSaveColour = RGB(0x80, 0xFF, 0x80);
constexpr COLORREF kWarningColour = RGB(0xFF, 0x00, 0x00);
constexpr COLORREF kHeadingColour = RGB(0x80, 0x00, 0x00);

// The window's timers are numbered after the editor's.
constexpr UINT_PTR TimerId(editor::Timer timer) { return static_cast<UINT_PTR>(timer) + 1; }

// The keys the editor has a use for, from either part of the keyboard.
std::optional<editor::Key> KeyOf(WPARAM key) {
    switch (key) {
    case VK_ESCAPE: return editor::Key::Escape;
    case VK_ADD:
    case VK_OEM_PLUS: return editor::Key::Plus;
    case VK_SUBTRACT:
    case VK_OEM_MINUS: return editor::Key::Minus;
    default: return std::nullopt;
    }
}

Bitmap MakeArrow(editor::Arrow arrow, int scale) {
    const std::vector<std::uint32_t> bits = ArrowBits(arrow, scale);
    const BITMAPINFO info = TopDownPixels(editor::kArrowWidth * scale, editor::kArrowHeight * scale);
    const ScreenDc screen;
    return Bitmap(CreateDIBitmap(screen.get(), &info.bmiHeader, CBM_INIT, bits.data(), &info, DIB_RGB_COLORS));
}

SCROLLINFO ScrollInfo(UINT fields) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = fields;
    return info;
}

bool IsInside(HWND control, HWND window) { return control == window || IsChild(window, control); }

// Windows' dialogs and message boxes disable only their owner: a window it owns, as the
// magnifier, would take the mouse while one is open.
class DisabledWhilePrompting {
public:
    explicit DisabledWhilePrompting(HWND window) : window_(window), wasEnabled_(window && !EnableWindow(window, FALSE)) {}
    ~DisabledWhilePrompting() {
        if (wasEnabled_) EnableWindow(window_, TRUE);
    }
    DisabledWhilePrompting(const DisabledWhilePrompting&) = delete;
    DisabledWhilePrompting& operator=(const DisabledWhilePrompting&) = delete;

private:
    HWND window_;
    bool wasEnabled_;
};

// The dialog open over the window, for as long as it is open.
class OpenDialog {
public:
    OpenDialog(const RenderDialog*& open, const RenderDialog& dialog) : open_(open) { open_ = &dialog; }
    ~OpenDialog() { open_ = nullptr; }
    OpenDialog(const OpenDialog&) = delete;
    OpenDialog& operator=(const OpenDialog&) = delete;

private:
    const RenderDialog*& open_;
};

// Whether the user can reach the control now: shown and enabled, its groups included.
bool TakesFocus(HWND control) {
    for (HWND at = control; at && (GetWindowLongW(at, GWL_STYLE) & WS_CHILD); at = GetParent(at)) {
        if (!IsWindowEnabled(at)) return false;
    }
    return IsWindowVisible(control) != FALSE;
}

}  // namespace

Form1::Form1(HINSTANCE instance, char decimalSeparator, editor::SettingsStore* settings)
    : instance_(instance), decimalSeparator_(decimalSeparator), settings_(settings) {
    ownEnabled_.fill(true);
}

Form1::~Form1() {
    magnifier_.reset();  // it asks the editor what to draw
    editor_.reset();  // it may still ask the window to stop what it started
    watch_.reset();
    if (shortcuts_) DestroyAcceleratorTable(shortcuts_);
}

void Form1::RegisterClasses() {
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = WindowProc;
    form.hInstance = instance_;
    form.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
    form.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = kClassName;
    RegisterClassExW(&form);

    RegisterWindowClass(instance_, kGroupClass, GroupProc, LoadCursorW(nullptr, IDC_ARROW), groupBrush_.get());

    PictureBox::Register(instance_);
    Magnifier::Register(instance_);
    RenderDialog::Register(instance_);
}

bool Form1::Create(int showCommand) {
    {
        const ScreenDc screen;
        dpi_ = GetDeviceCaps(screen.get(), LOGPIXELSY);
    }
    groupBrush_ = Brush(CreateSolidBrush(kGroupColour));
    blackBrush_ = Brush(CreateSolidBrush(RGB(0, 0, 0)));
    saveBrush_ = Brush(CreateSolidBrush(kSaveColour));
    BuildFonts();
    upArrow_ = MakeArrow(editor::Arrow::Up, PictureScale(dpi_));
    downArrow_ = MakeArrow(editor::Arrow::Down, PictureScale(dpi_));
    RegisterClasses();

    // A fixed size: nothing in the window follows a change of it.
    constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    const Pixels client = ToPixels(kClient, dpi_);
    RECT frame{0, 0, client.width, client.height};
    AdjustWindowRectEx(&frame, kStyle, TRUE, WS_EX_ACCEPTFILES);
    window_ = CreateWindowExW(WS_EX_ACCEPTFILES, kClassName, L"Runeplot 1.1", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance_, this);
    if (!window_) return false;
    // A menu bar taller than reckoned (a larger system font) would take rows from the layout.
    RECT actual{};
    GetClientRect(window_, &actual);
    if (actual.bottom != client.height || actual.right != client.width) {
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left + client.width - actual.right,
                     frame.bottom - frame.top + client.height - actual.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Gives the menus and controls their texts and runs the start-up routine.
    editor_ = std::make_unique<editor::Editor>(*this, decimalSeparator_, settings_);
    magnifier_ = std::make_unique<Magnifier>(*editor_, window_);
    SetWindowTextW(magnifier_->window(), magnifierTitle_.c_str());  // the item's, given before it existed
    picture1_.ForwardMouseTo(*editor_);
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    return true;
}

void Form1::BuildFonts() {
    defaultFont_ = MakeFont(8.25, false, dpi_);
    boldFont_ = MakeFont(8.25, true, dpi_);
    boxFont_ = MakeFont(12, true, dpi_);
    numberFont_ = MakeFont(18, true, dpi_);
    warningFont_ = MakeFont(24, true, dpi_);
}

void Form1::BuildMenu() {
    // The editor gives every item its text.
    menu_ = CreateMenu();
    AppendMenuW(menu_, MF_STRING, kOpp, L"");
    // Disabled until the editor has a font and a step to offer.
    editMenu_ = CreatePopupMenu();
    AppendMenuW(editMenu_, MF_STRING | MF_GRAYED, kUndo, L"");
    AppendMenuW(editMenu_, MF_STRING | MF_GRAYED, kRedo, L"");
    AppendMenuW(editMenu_, MF_STRING | MF_GRAYED, kFitGlyph, L"");
    AppendMenuW(editMenu_, MF_STRING | MF_GRAYED, kFitAllGlyphs, L"");
    AppendMenuW(editMenu_, MF_STRING | MF_GRAYED, kDrawGlyphs, L"");
    AppendMenuW(menu_, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(editMenu_), L"");
    viewMenu_ = CreatePopupMenu();
    AppendMenuW(viewMenu_, MF_STRING, kMagnifier, L"");
    // The language is the menu's last entry.
    languageMenu_ = CreatePopupMenu();
    AppendMenuW(languageMenu_, MF_STRING, kRussian, L"");
    AppendMenuW(languageMenu_, MF_STRING, kEnglish, L"");
    AppendMenuW(viewMenu_, MF_POPUP, reinterpret_cast<UINT_PTR>(languageMenu_), L"");
    AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(viewMenu_), L"");
    SetMenu(window_, menu_);

    ACCEL keys[] = {
        {FVIRTKEY | FCONTROL, 'Z', kUndo},
        {FVIRTKEY | FCONTROL, 'Y', kRedo},
        {FVIRTKEY | FCONTROL | FSHIFT, 'Z', kRedo},
        {FVIRTKEY | FCONTROL, 'F', kFitGlyph},
        {FVIRTKEY | FCONTROL | FSHIFT, 'F', kFitAllGlyphs},
        {FVIRTKEY | FCONTROL, 'L', kMagnifier},
        {FVIRTKEY | FCONTROL, 'R', kDrawGlyphs},
    };
    shortcuts_ = CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));
}

HWND Form1::Group(Id id, const Twips& where) {
    // The groups hold controls of their own: the dialog keys walk into them.
    return Child(window_, id, kGroupClass, L"", WS_CLIPSIBLINGS | WS_CLIPCHILDREN, where, nullptr,
                 WS_EX_CONTROLPARENT);
}

HWND Form1::Child(HWND parent, Id id, const wchar_t* windowClass, const wchar_t* text, DWORD style,
                  const Twips& where, HFONT font, DWORD extendedStyle) {
    const Pixels at = ToPixels(where, dpi_);
    HWND control = CreateWindowExW(extendedStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, at.x, at.y,
                                   at.width, at.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   instance_, nullptr);
    if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    controls_[id] = control;
    return control;
}

void Form1::BuildControls() {
    const HFONT plain = defaultFont_.get();
    // Labels are one line each, centred on their height.
    constexpr DWORD kLabel = SS_NOPREFIX | SS_CENTERIMAGE;
    constexpr DWORD kRight = kLabel | SS_RIGHT;
    constexpr DWORD kBox = WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL;
    constexpr DWORD kArrow = WS_TABSTOP | BS_OWNERDRAW;

    // The texture panel: the black placeholder, and the picture over it when there is one.
    const HWND frame1 = Group(kFrame1, {0, 0, 7935, 8055});
    Child(frame1, kShape1, L"STATIC", L"", 0, {120, 240, 7695, 7695}, nullptr);
    const Pixels picture = ToPixels({120, 240, 7680, 7680}, dpi_);
    controls_[kPicture1] = picture1_.Create(frame1, kPicture1, picture, PictureScale(dpi_));
    Child(Control(kPicture1), kErr, L"STATIC", L"", SS_CENTER | SS_NOPREFIX,
          {720, 2880, 6255, 1215}, warningFont_.get());
    ShowWindow(Control(kErr), SW_HIDE);

    // The glyph selector.
    const HWND frame3 = Group(kFrame3, {7940, 0, 3720, 1215});
    Child(frame3, kLabel1, L"STATIC", L"", kLabel | SS_CENTER, {240, 240, 3255, 375}, numberFont_.get());
    Child(frame3, kScr, L"SCROLLBAR", L"", SBS_HORZ | WS_TABSTOP, {120, 840, 3495, 255}, nullptr);
    SetWindowSubclass(Control(kScr), SelectorProc, kSelectorSubclass, reinterpret_cast<DWORD_PTR>(this));
    SetScrollRange(Control(kScr), SB_CTL, 0, 0, FALSE);

    // The glyph's edges; each box has its arrows over its right end.
    const HWND frame2 = Group(kFrame2, {7940, 1120, 3735, 2055});
    const HFONT box = boxFont_.get();
    Child(frame2, kLabel3Left, L"STATIC", L"", kRight, {120, 480, 2415, 255}, plain);
    Child(frame2, kText1, L"EDIT", L"0", kBox | ES_READONLY, {2640, 360, 735, 405}, box, WS_EX_CLIENTEDGE);
    Child(frame2, kCommand5, L"BUTTON", L"", kArrow, {3360, 360, 255, 190}, nullptr);
    Child(frame2, kCommand4, L"BUTTON", L"", kArrow, {3360, 570, 255, 190}, nullptr);
    Child(frame2, kLabel3Top, L"STATIC", L"", kRight, {0, 885, 2535, 255}, plain);
    Child(frame2, kText2, L"EDIT", L"0", kBox | ES_READONLY, {2640, 840, 735, 405}, box, WS_EX_CLIENTEDGE);
    Child(frame2, kCommand7, L"BUTTON", L"", kArrow, {3360, 840, 255, 190}, nullptr);
    Child(frame2, kCommand6, L"BUTTON", L"", kArrow, {3360, 1050, 255, 190}, nullptr);
    Child(frame2, kLabel3Right, L"STATIC", L"", kRight, {0, 1320, 2535, 255}, plain);
    Child(frame2, kText3, L"EDIT", L"0", kBox | ES_READONLY, {2640, 1320, 735, 405}, box, WS_EX_CLIENTEDGE);
    Child(frame2, kCommand2, L"BUTTON", L"", kArrow, {3360, 1320, 255, 190}, nullptr);
    Child(frame2, kCommand3, L"BUTTON", L"", kArrow, {3360, 1530, 255, 190}, nullptr);

    // The font parameters.
    const HWND frame4 = Group(kFrame4, {7940, 3090, 3720, 1455});
    Child(frame4, kLabel2, L"STATIC", L"", kLabel, {720, 120, 2535, 255}, plain);
    Child(frame4, kLabel3Size, L"STATIC", L"", kRight, {0, 600, 1335, 255}, plain);
    KeepUndoAndRedoApart(Child(frame4, kText4, L"EDIT", L"0", kBox, {1560, 480, 855, 405}, box, WS_EX_CLIENTEDGE));
    Child(frame4, kLabel3Space, L"STATIC", L"", kRight, {-120, 1080, 1575, 255}, plain);
    KeepUndoAndRedoApart(Child(frame4, kText5, L"EDIT", L"0", kBox, {1560, 960, 855, 405}, box, WS_EX_CLIENTEDGE));
    Child(frame4, kCommand1, L"BUTTON", L"", WS_TABSTOP | BS_OWNERDRAW, {2520, 480, 1095, 855},
          boldFont_.get());

    // The two paths.
    const HWND frame5 = Group(kFrame5, {7940, 4460, 3720, 855});
    Child(frame5, kLabel4, L"STATIC", L"", kLabel | SS_PATHELLIPSIS, {120, 240, 3495, 255}, plain);
    Child(frame5, kLabel5, L"STATIC", L"", kLabel | SS_PATHELLIPSIS, {120, 480, 3495, 255}, plain);

    Child(window_, kInfo, L"EDIT", L"", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
          {7940, 5320, 3720, 2680}, boldFont_.get(), WS_EX_CLIENTEDGE);

    // Where neighbours overlap, the later one lies on top, and Frame2 over all: each goes to the
    // top in turn. The arrows lie over their boxes' right ends, the picture over the placeholder.
    for (const Id id : {kFrame1, kFrame3, kFrame4, kFrame5, kInfo, kFrame2, kShape1, kPicture1, kText1, kText2,
                        kText3, kCommand2, kCommand3, kCommand4, kCommand5, kCommand6, kCommand7}) {
        SetWindowPos(Control(id), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

bool Form1::OnCreate() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    watch_ = std::make_unique<TextureWatch>(window_, kTextureChanged);
    BuildMenu();
    BuildControls();
    return true;
}

// ---- Events, each to the editor's handler ------------------------------------------------

void Form1::OnCommand(int id, int code) {
    if (!editor_) return;
    constexpr int kFromMenu = 0;
    constexpr int kFromShortcut = 1;
    if (code == kFromMenu || code == kFromShortcut) {
        switch (id) {
        case kOpp: editor_->OpenCommand(); return;
        case kUndo: editor_->Undo(); return;
        case kRedo: editor_->Redo(); return;
        case kFitGlyph: editor_->FitGlyph(); return;
        case kFitAllGlyphs: editor_->FitAllGlyphs(); return;
        case kDrawGlyphs: editor_->DrawGlyphsCommand(); return;
        case kRussian: editor_->ChooseLanguage(editor::Language::Russian); return;
        case kEnglish: editor_->ChooseLanguage(editor::Language::English); return;
        case kMagnifier: editor_->ToggleMagnifier(); return;
        default: break;
        }
    }
    if (code != BN_CLICKED) return;
    switch (id) {
    case kCommand1: editor_->SaveFontParameters(); break;
    case kCommand2: editor_->ClickArrow(editor::Control::Command2); break;
    case kCommand3: editor_->ClickArrow(editor::Control::Command3); break;
    case kCommand4: editor_->ClickArrow(editor::Control::Command4); break;
    case kCommand5: editor_->ClickArrow(editor::Control::Command5); break;
    case kCommand6: editor_->ClickArrow(editor::Control::Command6); break;
    case kCommand7: editor_->ClickArrow(editor::Control::Command7); break;
    default: break;
    }
}

void Form1::OnHScroll(int code) {
    std::int32_t value = SelectorValue();
    switch (code) {
    case SB_LINELEFT:
    case SB_PAGELEFT: value -= 1; break;  // the small and the large step are both one glyph
    case SB_LINERIGHT:
    case SB_PAGERIGHT: value += 1; break;
    case SB_LEFT: value = 0; break;
    case SB_RIGHT: value = selectorMaximum_; break;
    case SB_THUMBPOSITION: {  // the end of a drag; nothing happens while the thumb moves
        SCROLLINFO info = ScrollInfo(SIF_TRACKPOS);
        GetScrollInfo(Control(kScr), SB_CTL, &info);
        value = info.nTrackPos;
        break;
    }
    default: return;
    }
    SetSelectorValue(value);
}

void Form1::OnTimer(UINT_PTR id) {
    KillTimer(window_, id);  // the editor's timers run out once
    for (const editor::Timer timer : {editor::Timer::Message, editor::Timer::TextureSettled}) {
        if (TimerId(timer) == id && editor_) editor_->OnTimer(timer);
    }
}

void Form1::OnTextureChanged() {
    if (editor_) editor_->OnWatchedFileChanged();
}

void Form1::OnActivate(bool active) {
    // As a dialog does: the focus leaves with the window and comes back to the same control.
    if (!active) {
        if (editor_) editor_->LostMouse(editor::Surface::Picture1);
        const HWND focus = GetFocus();
        if (focus && IsInside(focus, window_)) lastFocus_ = focus;
        return;
    }
    if (lastFocus_ && TakesFocus(lastFocus_)) {
        SetFocus(lastFocus_);
        return;
    }
    MoveFocus(true);
}

void Form1::OnDropFiles(HDROP drop) {
    const std::vector<std::filesystem::path> files = DroppedFiles(drop);
    if (editor_) editor_->DropFiles(files);
}

void Form1::OnDestroy() {
    watch_->Stop();
    for (const editor::Timer timer : {editor::Timer::Message, editor::Timer::TextureSettled}) {
        KillTimer(window_, TimerId(timer));
    }
    PostQuitMessage(0);
}

// ---- The look ---------------------------------------------------------------------------

LRESULT Form1::OnCtlColor(UINT message, HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control);
    if (id == kErr) {
        SetTextColor(dc, kWarningColour);
        SetBkColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(blackBrush_.get());
    }
    if (id == kShape1) return reinterpret_cast<LRESULT>(blackBrush_.get());
    if (id == kText1 || id == kText2 || id == kText3) {
        // Read-only, but a box like the others, in the boxes' own colour while enabled.
        if (!IsWindowEnabled(control)) return DefWindowProcW(window_, message, reinterpret_cast<WPARAM>(dc),
                                                             reinterpret_cast<LPARAM>(control));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    if (id == kInfo) {
        SetBkColor(dc, kGroupColour);
        return reinterpret_cast<LRESULT>(groupBrush_.get());
    }
    if (message == WM_CTLCOLORSTATIC) {  // the labels, transparent on their groups
        SetBkMode(dc, TRANSPARENT);
        if (id == kLabel2) SetTextColor(dc, kHeadingColour);
        if (id == kLabel1) SetTextColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(groupBrush_.get());
    }
    return DefWindowProcW(window_, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

void Form1::OnDrawItem(const DRAWITEMSTRUCT& item) {
    switch (item.CtlID) {
    case kCommand1: DrawSaveButton(item); break;
    case kCommand2:
    case kCommand5:
    case kCommand7: DrawArrow(item, upArrow_.get()); break;
    case kCommand3:
    case kCommand4:
    case kCommand6: DrawArrow(item, downArrow_.get()); break;
    default: break;
    }
}

void Form1::DrawArrow(const DRAWITEMSTRUCT& item, HBITMAP arrow) {
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    RECT button = item.rcItem;
    FillRect(item.hDC, &button, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(item.hDC, &button, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    BITMAP size{};
    GetObjectW(arrow, sizeof size, &size);
    // Centred on the button, one pixel down and right while it is pushed.
    const int x = (button.right - button.left - size.bmWidth) / 2 + (pushed ? 1 : 0);
    const int y = (button.bottom - button.top - size.bmHeight) / 2 + (pushed ? 1 : 0);
    // The same picture while disabled: the disabled group already refuses the click.
    const MemoryDc source(item.hDC);
    const Selection selected(source.get(), arrow);
    BitBlt(item.hDC, x, y, size.bmWidth, size.bmHeight, source.get(), 0, 0, SRCCOPY);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = button;
        InflateRect(&focus, -1, -1);
        DrawFocusRect(item.hDC, &focus);
    }
}

void Form1::DrawSaveButton(const DRAWITEMSTRUCT& item) {
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    RECT button = item.rcItem;
    FillRect(item.hDC, &button, saveBrush_.get());
    DrawEdge(item.hDC, &button, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    RECT caption = button;
    if (pushed) OffsetRect(&caption, 1, 1);
    const Selection font(item.hDC, boldFont_.get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item.hwndItem)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(item.hwndItem, text.data(), static_cast<int>(text.size()))));
    DrawTextW(item.hDC, text.c_str(), -1, &caption, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = button;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(item.hDC, &focus);
    }
}

// ---- The keyboard -----------------------------------------------------------------------

bool Form1::PreTranslate(MSG& message) {
    // The magnifier shares the window's shortcuts, and nothing else of its keyboard.
    const bool inMagnifier = magnifier_ && IsInside(message.hwnd, magnifier_->window());
    if (!IsInside(message.hwnd, window_) && !inMagnifier) return false;
    if (message.message == WM_KEYDOWN && editor_) {
        const std::optional<editor::Key> key = KeyOf(message.wParam);
        if (key && editor_->PressKey(inMagnifier ? editor::Surface::Magnifier : editor::Surface::Picture1, *key)) return true;
    }
    if (inMagnifier) {
        MSG asWindows = message;  // as if it were the window's own: Wine translates no other
        asWindows.hwnd = window_;
        return TranslateAcceleratorW(window_, shortcuts_, &asWindows) != 0;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
        MoveFocus(GetKeyState(VK_SHIFT) >= 0);
        return true;
    }
    // Undo and redo in the two boxes that take typing are the box's own.
    const bool inTypedBox = message.hwnd == Control(kText4) || message.hwnd == Control(kText5);
    if (inTypedBox && message.message == WM_KEYDOWN && (message.wParam == 'Z' || message.wParam == 'Y')) return false;
    return TranslateAcceleratorW(window_, shortcuts_, &message) != 0;
}

void Form1::MoveFocus(bool forward) {
    // The layout's tab order, which does not follow the groups: Text5 comes after the help box.
    const Id order[] = {kPicture1, kCommand7, kCommand6, kCommand5, kCommand4, kCommand3, kCommand2, kText3,
                        kText2,    kText1,    kScr,      kText4,    kCommand1, kInfo,     kText5};
    const auto count = static_cast<int>(std::size(order));
    const HWND focus = GetFocus();
    int at = forward ? -1 : count;
    for (int i = 0; i < count; ++i) {
        if (Control(order[i]) == focus) at = i;
    }
    for (int step = 1; step <= count; ++step) {
        const int next = ((at + (forward ? step : -step)) % count + count) % count;
        const HWND control = Control(order[next]);
        if (TakesFocus(control)) {
            SetFocus(control);
            // A box entered by the keyboard has its text selected, as in a dialog.
            if (next != 0 && order[next] != kScr && order[next] != kInfo) {
                SendMessageW(control, EM_SETSEL, 0, -1);
            }
            return;
        }
    }
}

// ---- What the editor asks of the window -------------------------------------------------

HWND Form1::Handle(editor::Box box) const {
    switch (box) {
    case editor::Box::Text1: return Control(kText1);
    case editor::Box::Text2: return Control(kText2);
    case editor::Box::Text3: return Control(kText3);
    case editor::Box::Text4: return Control(kText4);
    case editor::Box::Text5: return Control(kText5);
    case editor::Box::info: return Control(kInfo);
    }
    return nullptr;
}

HWND Form1::Handle(editor::Control control) const {
    switch (control) {
    case editor::Control::Frame2: return Control(kFrame2);
    case editor::Control::Frame4: return Control(kFrame4);
    case editor::Control::scr: return Control(kScr);
    case editor::Control::Picture1: return Control(kPicture1);
    case editor::Control::Shape1: return Control(kShape1);
    case editor::Control::err: return Control(kErr);
    case editor::Control::Command2: return Control(kCommand2);
    case editor::Control::Command3: return Control(kCommand3);
    case editor::Control::Command4: return Control(kCommand4);
    case editor::Control::Command5: return Control(kCommand5);
    case editor::Control::Command6: return Control(kCommand6);
    case editor::Control::Command7: return Control(kCommand7);
    default: return nullptr;  // the menu's items are no windows
    }
}

UINT Form1::MenuItem(editor::Control control) {
    switch (control) {
    case editor::Control::Undo: return kUndo;
    case editor::Control::Redo: return kRedo;
    case editor::Control::FitGlyph: return kFitGlyph;
    case editor::Control::FitAllGlyphs: return kFitAllGlyphs;
    case editor::Control::DrawGlyphs: return kDrawGlyphs;
    default: return 0;
    }
}

void Form1::SetText(editor::Box box, const std::string& text) { SetWindowTextW(Handle(box), Widen(text).c_str()); }

std::string Form1::Text(editor::Box box) const {
    const HWND control = Handle(box);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void Form1::SetCaption(editor::Label label, const std::string& caption) {
    const Id id = label == editor::Label::Label1 ? kLabel1 : label == editor::Label::Label4 ? kLabel4 : kLabel5;
    SetWindowTextW(Control(id), Widen(caption).c_str());
}

void Form1::SetMenuText(HMENU menu, UINT item, bool byPosition, const std::wstring& text) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(text.c_str());
    SetMenuItemInfoW(menu, item, byPosition, &info);
    if (menu == menu_) DrawMenuBar(window_);
}

void Form1::SetControlText(editor::ControlText control, const std::string& text) {
    using editor::ControlText;
    const std::wstring shown = Widen(text);
    // A menu of the bar, or one inside another, is found by its place there.
    const auto placeOf = [](HMENU parent, HMENU popup) {
        for (int i = 0; i < GetMenuItemCount(parent); ++i) {
            if (GetSubMenu(parent, i) == popup) return static_cast<UINT>(i);
        }
        return static_cast<UINT>(-1);
    };
    switch (control) {
    case ControlText::opp: return SetMenuText(menu_, kOpp, false, shown);
    case ControlText::EditMenu: return SetMenuText(menu_, placeOf(menu_, editMenu_), true, shown);
    case ControlText::Undo: return SetMenuText(editMenu_, kUndo, false, shown + L"\tCtrl+Z");
    case ControlText::Redo: return SetMenuText(editMenu_, kRedo, false, shown + L"\tCtrl+Y");
    case ControlText::FitGlyph: return SetMenuText(editMenu_, kFitGlyph, false, shown + L"\tCtrl+F");
    case ControlText::FitAllGlyphs: return SetMenuText(editMenu_, kFitAllGlyphs, false, shown + L"\tCtrl+Shift+F");
    case ControlText::DrawGlyphs: return SetMenuText(editMenu_, kDrawGlyphs, false, shown + L"\tCtrl+R");
    case ControlText::ViewMenu: return SetMenuText(menu_, placeOf(menu_, viewMenu_), true, shown);
    case ControlText::MagnifierItem:
        magnifierTitle_ = shown;
        if (magnifier_) SetWindowTextW(magnifier_->window(), shown.c_str());
        return SetMenuText(viewMenu_, kMagnifier, false, shown + L"\tCtrl+L");
    case ControlText::LanguageMenu: return SetMenuText(viewMenu_, placeOf(viewMenu_, languageMenu_), true, shown);
    case ControlText::Russian: return SetMenuText(languageMenu_, kRussian, false, shown);
    case ControlText::English: return SetMenuText(languageMenu_, kEnglish, false, shown);
    case ControlText::Label3Left: SetWindowTextW(Control(kLabel3Left), shown.c_str()); return;
    case ControlText::Label3Top: SetWindowTextW(Control(kLabel3Top), shown.c_str()); return;
    case ControlText::Label3Right: SetWindowTextW(Control(kLabel3Right), shown.c_str()); return;
    case ControlText::Label2: SetWindowTextW(Control(kLabel2), shown.c_str()); return;
    case ControlText::Label3Size: SetWindowTextW(Control(kLabel3Size), shown.c_str()); return;
    case ControlText::Label3Space: SetWindowTextW(Control(kLabel3Space), shown.c_str()); return;
    case ControlText::Command1: SetWindowTextW(Control(kCommand1), shown.c_str()); return;
    case ControlText::err: SetWindowTextW(Control(kErr), shown.c_str()); return;
    }
}

void Form1::CheckLanguage(editor::Language language) {
    CheckMenuRadioItem(languageMenu_, kRussian, kEnglish, language == editor::Language::English ? kEnglish : kRussian,
                       MF_BYCOMMAND);
}

void Form1::SetVisible(editor::Control control, bool visible) {
    if (const HWND window = Handle(control)) ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
}

void Form1::SetEnabled(editor::Control control, bool enabled) {
    const UINT state = enabled ? MF_ENABLED : MF_GRAYED;
    if (control == editor::Control::EditMenu) {
        EnableMenuItem(menu_, reinterpret_cast<UINT_PTR>(editMenu_), MF_BYCOMMAND | state);
        DrawMenuBar(window_);
        return;
    }
    if (const UINT item = MenuItem(control)) {
        EnableMenuItem(editMenu_, item, MF_BYCOMMAND | state);
        return;
    }
    const HWND window = Handle(control);
    if (!window) return;
    const int id = GetDlgCtrlID(window);
    ownEnabled_[id] = enabled;
    if (id == kFrame2 || id == kFrame4) {
        EnableWindow(window, enabled);
        ShowEnabled(window);
        return;
    }
    const HWND group = GetParent(window);
    EnableWindow(window, enabled && IsWindowEnabled(group));
}

void Form1::ShowEnabled(HWND group) {
    // Disabled with its group, a control keeps its own setting for when the group is enabled again.
    const bool groupEnabled = IsWindowEnabled(group) != FALSE;
    for (HWND child = GetWindow(group, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        EnableWindow(child, groupEnabled && ownEnabled_[GetDlgCtrlID(child)]);
    }
}

void Form1::SetSelectorMaximum(std::int32_t maximum) {
    // A font without glyphs keeps 0..0, and the editor says there is no glyph.
    const std::int32_t before = SelectorValue();
    selectorMaximum_ = std::max(maximum, 0);
    SCROLLINFO info = ScrollInfo(SIF_RANGE);
    info.nMax = selectorMaximum_;
    SetScrollInfo(Control(kScr), SB_CTL, &info, TRUE);
    if (before > selectorMaximum_) SetSelectorValue(selectorMaximum_);
}

std::int32_t Form1::SelectorValue() const {
    SCROLLINFO info = ScrollInfo(SIF_POS);
    GetScrollInfo(Control(kScr), SB_CTL, &info);
    return info.nPos;
}

void Form1::SetSelectorValue(std::int32_t value) {
    value = std::clamp(value, 0, selectorMaximum_);
    if (value == SelectorValue()) return;
    SCROLLINFO info = ScrollInfo(SIF_POS);
    info.nPos = value;
    SetScrollInfo(Control(kScr), SB_CTL, &info, TRUE);
    if (editor_) editor_->OnSelectorChanged();
}

bool Form1::LeftButtonDown() const {
    // The primary button, whichever side the user has put it on.
    const int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    return (GetAsyncKeyState(button) & 0x8000) != 0;
}

void Form1::ShowTexture(const picture::Image& texture) { picture1_.Show(texture); }

void Form1::ClearDrawing() { picture1_.Clear(); }

void Form1::SetPixel(std::int32_t x, std::int32_t y, picture::Rgba colour) { picture1_.Set(x, y, colour); }

std::optional<std::filesystem::path> Form1::ChooseExistingFile(const std::string& title, const std::string& filter,
                                                               const std::filesystem::path& folder,
                                                               const std::filesystem::path& lastFile) {
    const DisabledWhilePrompting magnifier(MagnifierWindow());
    return win32::ChooseExistingFile(PromptOwner(), title, filter, folder, lastFile);
}

void Form1::Exclaim(const std::string& prompt, const std::string& title) {
    const DisabledWhilePrompting magnifier(MagnifierWindow());
    win32::Exclaim(PromptOwner(), prompt, title);
}

void Form1::Inform(const std::string& prompt, const std::string& title) {
    const DisabledWhilePrompting magnifier(MagnifierWindow());
    win32::Inform(PromptOwner(), prompt, title);
}

std::optional<editor::RenderValues> Form1::AskRenderValues(const editor::RenderDialogTexts& texts,
                                                           const editor::RenderValues& values) {
    const DisabledWhilePrompting magnifier(MagnifierWindow());
    RenderDialog dialog(*editor_, texts, values, dpi_);
    const OpenDialog open(renderDialog_, dialog);
    return dialog.Run(window_);
}

void Form1::StartTimer(editor::Timer timer, int milliseconds) {
    SetTimer(window_, TimerId(timer), static_cast<UINT>(std::max(milliseconds, 0)), nullptr);
}

void Form1::StopTimer(editor::Timer timer) { KillTimer(window_, TimerId(timer)); }

void Form1::WatchFile(const std::filesystem::path& path) { watch_->Watch(path); }

void Form1::StopWatching() { watch_->Stop(); }

void Form1::SetCursor(editor::Surface surface, editor::Cursor cursor) {
    const HCURSOR shape = SystemCursor(cursor);
    if (surface == editor::Surface::Picture1) picture1_.SetCursor(shape);
    else magnifier_->SetCursor(shape);
    ::SetCursor(shape);  // the mouse is over the surface that asked: no need to wait for it to move
}

void Form1::ShowMagnifier(bool shown) {
    CheckMenuItem(viewMenu_, kMagnifier, MF_BYCOMMAND | (shown ? MF_CHECKED : MF_UNCHECKED));
    if (shown) magnifier_->Show();
    else magnifier_->Hide();
}

void Form1::RedrawMagnifier() { magnifier_->Redraw(); }

// ---- The window procedures --------------------------------------------------------------

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return OnCreate() ? 0 : -1;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) == Control(kScr)) OnHScroll(LOWORD(wParam));
        return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case kTextureChanged: OnTextureChanged(); return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        return OnCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_ACTIVATE: OnActivate(LOWORD(wParam) != WA_INACTIVE); return 0;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_DESTROY: OnDestroy(); return 0;
    default: return DefWindowProcW(window_, message, wParam, lParam);
    }
}

LRESULT CALLBACK Form1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form1*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    // Nothing may unwind through Windows' own frames: whatever escaped the editor is told here,
    // and the window goes on.
    try {
        return form->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& failure) {
        form->TellUnexpected(failure);
        return 0;
    }
}

void Form1::TellUnexpected(const std::exception& failure) {
    if (editor_) return editor_->TellUnexpectedFailure(failure.what());
    // Before the editor has read the language, the window has the first one.
    win32::Exclaim(window_, failure.what(), editor::TextOf(editor::Text::ErrorTitle, editor::Language::Russian));
}

LRESULT CALLBACK Form1::GroupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ForwardToTopLevel(window, message, wParam, lParam, result)) return result;
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK Form1::SelectorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR form) {
    // The scroll bar follows a held button in a loop of its own, inside the button-down message:
    // when it returns, the button is up again.
    if (message != WM_LBUTTONDOWN && message != WM_LBUTTONDBLCLK) return DefSubclassProc(window, message, wParam, lParam);
    auto& self = *reinterpret_cast<Form1*>(form);
    const auto tell = [&self](void (editor::Editor::*handler)()) {
        if (!self.editor_) return;
        try {
            (self.editor_.get()->*handler)();
        } catch (const std::exception& failure) {
            self.TellUnexpected(failure);
        }
    };
    tell(&editor::Editor::OnSelectorPressed);
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    tell(&editor::Editor::OnSelectorReleased);
    return result;
}

}  // namespace win32
