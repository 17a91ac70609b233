#include "win32/render_dialog.h"

#include <algorithm>
#include <array>
#include <exception>
#include <iterator>
#include <string>

#include "glyphs/char_map.h"
#include "win32/pictures.h"
#include "win32/text.h"

namespace win32 {
namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kLabel = SS_NOPREFIX | SS_LEFT;
constexpr DWORD kBox = WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL;
constexpr DWORD kNumberBox = kBox | ES_NUMBER;
constexpr DWORD kList = WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWNLIST;
// Digits enough for the largest number each box may hold.
constexpr int kGlyphDigits = 5;
constexpr int kByteDigits = 3;
constexpr int kPixelDigits = 4;

// An empty dialog: its size, place and controls are set once it exists, from the layout's twips.
struct alignas(DWORD) EmptyTemplate {
    std::array<WORD, 12> words{};  // DLGTEMPLATE, then no menu, the dialog class and no title
    EmptyTemplate() {
        words[0] = LOWORD(kDialogStyle);
        words[1] = HIWORD(kDialogStyle);
    }
};

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// The number a box of digits holds, or nothing for an empty box.
std::optional<int> WholeNumber(const std::wstring& digits) {
    if (digits.empty()) return std::nullopt;
    int value = 0;
    for (const wchar_t digit : digits) value = value * 10 + (digit - L'0');
    return value;
}

std::wstring NumberText(std::optional<int> value) { return value ? std::to_wstring(*value) : std::wstring(); }

}  // namespace

void RenderDialog::Register(HINSTANCE instance) { RegisterWindowClass(instance, kPreviewClass, PreviewProc, LoadCursorW(nullptr, IDC_ARROW)); }

RenderDialog::RenderDialog(editor::Editor& editor, const editor::RenderDialogTexts& texts, const editor::RenderValues& values,
                           int dpi)
    : editor_(editor), texts_(texts), initial_(values), dpi_(dpi), font_(MakeFont(8.25, false, dpi)), previewed_(values) {}

std::optional<editor::RenderValues> RenderDialog::Run(HWND owner) {
    owner_ = owner;
    const EmptyTemplate empty;
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(&empty),
                                                   owner, DialogProc, reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
    if (result != IDOK) return std::nullopt;
    return previewed_;
}

HWND RenderDialog::Child(int id, const wchar_t* windowClass, const wchar_t* text, DWORD style, const Twips& where,
                         DWORD extendedStyle) {
    const Pixels at = ToPixels(where, dpi_);
    const HWND child = CreateWindowExW(extendedStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, at.x, at.y, at.width,
                                       at.height, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return child;
}

void RenderDialog::BuildControls() {
    namespace at = render_layout;
    // Created in the order the keyboard walks them.
    Child(kTypefaceLabel, L"STATIC", Widen(texts_.typeface).c_str(), kLabel, at::kTypefaceLabel);
    Child(kTypefaceBox, L"EDIT", L"", kBox, at::kTypefaceBox, WS_EX_CLIENTEDGE);
    Child(kBrowse, L"BUTTON", Widen(texts_.browse).c_str(), WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, at::kBrowse);
    // Each choice is a group of its own, so that Tab reaches it: they are checked here, not by Windows.
    Child(kCharactersChoice, L"BUTTON", Widen(texts_.characters).c_str(), WS_TABSTOP | WS_GROUP | BS_RADIOBUTTON,
          at::kCharactersChoice);
    Child(kCharactersBox, L"EDIT", L"", kBox, at::kCharactersBox, WS_EX_CLIENTEDGE);
    Child(kFirstGlyphLabel, L"STATIC", Widen(texts_.firstGlyph).c_str(), kLabel | SS_RIGHT, at::kFirstGlyphLabel);
    SendMessageW(Child(kFirstGlyphBox, L"EDIT", L"", kNumberBox, at::kFirstGlyphBox, WS_EX_CLIENTEDGE), EM_LIMITTEXT,
                 kGlyphDigits, 0);
    Child(kCodePageChoice, L"BUTTON", Widen(texts_.codePage).c_str(), WS_TABSTOP | WS_GROUP | BS_RADIOBUTTON,
          at::kCodePageChoice);
    const HWND codePages = Child(kCodePageList, L"COMBOBOX", L"", kList, at::kCodePageList);
    for (const int codePage : glyphs::kCodePages) {
        SendMessageW(codePages, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(codePage).c_str()));
    }
    Child(kFirstByteLabel, L"STATIC", Widen(texts_.firstByte).c_str(), kLabel | SS_RIGHT, at::kFirstByteLabel);
    SendMessageW(Child(kFirstByteBox, L"EDIT", L"", kNumberBox, at::kFirstByteBox, WS_EX_CLIENTEDGE), EM_LIMITTEXT,
                 kByteDigits, 0);

    Child(kSizeLabel, L"STATIC", Widen(texts_.size).c_str(), kLabel, at::kSizeLabel);
    SendMessageW(Child(kSizeBox, L"EDIT", L"", kNumberBox, at::kSizeBox, WS_EX_CLIENTEDGE), EM_LIMITTEXT, kPixelDigits, 0);
    Child(kBaselineLabel, L"STATIC", Widen(texts_.baseline).c_str(), kLabel, at::kBaselineLabel);
    SendMessageW(Child(kBaselineBox, L"EDIT", L"", kNumberBox, at::kBaselineBox, WS_EX_CLIENTEDGE), EM_LIMITTEXT,
                 kPixelDigits, 0);
    Child(kAutomaticHint, L"STATIC", Widen(texts_.automatic).c_str(), kLabel, at::kAutomaticHint);
    Child(kHintingLabel, L"STATIC", Widen(texts_.hinting).c_str(), kLabel | SS_RIGHT, at::kHintingLabel);
    const HWND hintings = Child(kHintingList, L"COMBOBOX", L"", kList, at::kHintingList);
    for (const std::string& hinting : texts_.hintings) {
        SendMessageW(hintings, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(hinting).c_str()));
    }
    Child(kWidthLabel, L"STATIC", Widen(texts_.width).c_str(), kLabel | SS_RIGHT, at::kWidthLabel);
    const HWND widths = Child(kWidthList, L"COMBOBOX", L"", kList, at::kWidthList);
    for (const std::string& width : texts_.widths) {
        SendMessageW(widths, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(width).c_str()));
    }

    // The preview shows the editor's picture pixel for pixel, or in whole squares where a screen's
    // density would make it too small, as the texture is shown.
    const Pixels place = ToPixels(at::kPreview, dpi_);
    const int scale = PictureScale(dpi_);
    CreateWindowExW(0, kPreviewClass, L"", WS_CHILD | WS_VISIBLE, place.x, place.y, editor::kPreviewWidth * scale,
                    editor::kPreviewHeight * scale, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPreview)),
                    GetModuleHandleW(nullptr), this);
    Child(kNotes, L"STATIC", L"", kLabel, at::kNotes);

    Child(IDOK, L"BUTTON", Widen(texts_.draw).c_str(), WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, at::kDraw);
    Child(IDCANCEL, L"BUTTON", Widen(texts_.cancel).c_str(), WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, at::kCancel);
}

void RenderDialog::PlaceOverOwner() {
    const Pixels client = ToPixels(render_layout::kClient, dpi_);
    RECT frame{0, 0, client.width, client.height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    RECT owner{};
    GetWindowRect(owner_, &owner);
    SetWindowPos(window_, nullptr, owner.left + (owner.right - owner.left - width) / 2,
                 owner.top + (owner.bottom - owner.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void RenderDialog::OnInitDialog() {
    SetWindowTextW(window_, Widen(texts_.title).c_str());
    BuildControls();
    PlaceOverOwner();
    // Controls made here are unknown to the dialog's template: Return must be told where to go.
    SendMessageW(window_, DM_SETDEFID, IDOK, 0);
    ShowValues(initial_);
    shown_ = true;
    Preview();
    SetFocus(GetDlgItem(window_, kTypefaceBox));
}

void RenderDialog::ShowValues(const editor::RenderValues& values) {
    SetDlgItemTextW(window_, kTypefaceBox, values.typeface.wstring().c_str());
    SetDlgItemTextW(window_, kCharactersBox, Widen(values.characters).c_str());
    SetDlgItemTextW(window_, kFirstGlyphBox, NumberText(values.firstGlyph).c_str());
    SetDlgItemTextW(window_, kFirstByteBox, NumberText(values.firstByte).c_str());
    SetDlgItemTextW(window_, kSizeBox, NumberText(values.px).c_str());
    SetDlgItemTextW(window_, kBaselineBox, NumberText(values.baseline).c_str());
    const auto codePage = std::find(std::begin(glyphs::kCodePages), std::end(glyphs::kCodePages), values.codePage);
    SendDlgItemMessageW(window_, kCodePageList, CB_SETCURSEL, static_cast<WPARAM>(codePage - std::begin(glyphs::kCodePages)), 0);
    SendDlgItemMessageW(window_, kHintingList, CB_SETCURSEL, static_cast<WPARAM>(values.hinting), 0);
    SendDlgItemMessageW(window_, kWidthList, CB_SETCURSEL, static_cast<WPARAM>(values.width), 0);
    ShowChoice(values.fromCodePage);
}

void RenderDialog::ShowChoice(bool fromCodePage) {
    CheckRadioButton(window_, kCharactersChoice, kCodePageChoice, fromCodePage ? kCodePageChoice : kCharactersChoice);
    // Only the chosen row's values are drawn with.
    for (const int id : {kCharactersBox, kFirstGlyphLabel, kFirstGlyphBox}) EnableWindow(GetDlgItem(window_, id), !fromCodePage);
    for (const int id : {kCodePageList, kFirstByteLabel, kFirstByteBox}) EnableWindow(GetDlgItem(window_, id), fromCodePage);
}

std::wstring RenderDialog::BoxText(int id) const {
    const HWND box = GetDlgItem(window_, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    return text;
}

editor::RenderValues RenderDialog::CurrentValues() const {
    editor::RenderValues values;
    values.typeface = std::filesystem::path(BoxText(kTypefaceBox));
    values.fromCodePage = IsDlgButtonChecked(window_, kCodePageChoice) == BST_CHECKED;
    values.characters = Narrow(BoxText(kCharactersBox));
    // A number box left empty holds a number the editor refuses, and it says why.
    values.firstGlyph = WholeNumber(BoxText(kFirstGlyphBox)).value_or(0);
    values.firstByte = WholeNumber(BoxText(kFirstByteBox)).value_or(-1);
    values.px = WholeNumber(BoxText(kSizeBox));
    values.baseline = WholeNumber(BoxText(kBaselineBox));
    const auto selected = [this](int id) { return SendDlgItemMessageW(window_, id, CB_GETCURSEL, 0, 0); };
    const LRESULT codePage = selected(kCodePageList);
    values.codePage = codePage >= 0 && codePage < static_cast<LRESULT>(std::size(glyphs::kCodePages)) ? glyphs::kCodePages[codePage] : 0;
    values.hinting = static_cast<glyphs::Hinting>(selected(kHintingList));
    values.width = static_cast<glyphs::WidthRule>(selected(kWidthList));
    return values;
}

void RenderDialog::Preview() {
    previewed_ = CurrentValues();
    const editor::RenderPreview preview = editor_.PreviewRender(previewed_);
    previewBits_ = ToBgrx(preview.image);
    InvalidateRect(GetDlgItem(window_, kPreview), nullptr, FALSE);
    std::string notes;
    for (const std::string& note : preview.notes) notes.append(notes.empty() ? "" : "\r\n").append(note);
    SetDlgItemTextW(window_, kNotes, Widen(notes).c_str());
    canDraw_ = preview.canDraw;
    EnableWindow(GetDlgItem(window_, IDOK), canDraw_);
}

void RenderDialog::OnBrowse() {
    const std::optional<std::filesystem::path> chosen = editor_.ChooseTypeface(std::filesystem::path(BoxText(kTypefaceBox)));
    // The box's change shows the new font's preview.
    if (chosen) SetDlgItemTextW(window_, kTypefaceBox, chosen->wstring().c_str());
}

void RenderDialog::OnCommand(int id, int code) {
    switch (id) {
    case IDOK:
        if (canDraw_) EndDialog(window_, IDOK);
        return;
    case IDCANCEL: EndDialog(window_, IDCANCEL); return;
    case kBrowse:
        if (code == BN_CLICKED) OnBrowse();
        return;
    case kCharactersChoice:
    case kCodePageChoice:
        if (code != BN_CLICKED) return;
        ShowChoice(id == kCodePageChoice);
        break;
    case kCodePageList:
    case kHintingList:
    case kWidthList:
        if (code != CBN_SELCHANGE) return;
        break;
    case kFirstGlyphBox:
    case kFirstByteBox:
    case kSizeBox:
    case kBaselineBox:
        if (code != EN_CHANGE) return;
        if (KeepDigits(id)) return;  // the box's change comes again
        break;
    default:
        if (code != EN_CHANGE) return;
        break;
    }
    if (shown_) Preview();
}

bool RenderDialog::KeepDigits(int id) {
    // A number box refuses other keys, but not a paste.
    std::wstring text = BoxText(id);
    if (std::all_of(text.begin(), text.end(), IsDigit)) return false;
    std::erase_if(text, [](wchar_t c) { return !IsDigit(c); });
    SetDlgItemTextW(window_, id, text.c_str());
    return true;
}

void RenderDialog::OnPreviewPaint(HWND preview) {
    const PaintDc dc(preview);
    if (previewBits_.empty()) return;
    DrawPixels(dc.get(), previewBits_.data(), editor::kPreviewWidth, editor::kPreviewHeight, PictureScale(dpi_));
}

INT_PTR RenderDialog::HandleMessage(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(); return FALSE;  // the focus is set
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK RenderDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<RenderDialog*>(lParam);
        self->window_ = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<RenderDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!self) return FALSE;
    // Nothing may unwind through Windows' own frames.
    try {
        return self->HandleMessage(message, wParam);
    } catch (const std::exception& failure) {
        self->editor_.TellUnexpectedFailure(failure.what());
        return TRUE;
    }
}

LRESULT CALLBACK RenderDialog::PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<RenderDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_ERASEBKGND: return 1;  // the picture covers every pixel
    case WM_PAINT:
        if (!self) break;
        self->OnPreviewPaint(window);
        return 0;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace win32
