// A drag's mouse move in the Windows window with the magnifier open at 16x: the move handled and
// Picture1 and the magnifier painted, beside Picture1 painted alone. Run under Wine (or Windows):
//   wine64 build-win/bench/drag_bench_win32.exe
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "tests/support/bmp.h"
#include "tests/support/font_bytes.h"
#include "win32/form1.h"

namespace {

void WriteFile(const std::filesystem::path& path, const std::vector<std::byte>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

HWND FindChild(HWND parent, const wchar_t* windowClass) {
    struct Search {
        const wchar_t* windowClass;
        HWND found = nullptr;
    } search{windowClass};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            if (std::wstring(name) != s.windowClass) return TRUE;
            s.found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

template <typename Step>
double MicrosecondsEach(int runs, Step&& step) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < runs; ++i) step(i);
    QueryPerformanceCounter(&end);
    return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) / runs;
}

}  // namespace

int main() {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "runeplot_drag_bench";
    std::filesystem::create_directories(dir);
    std::vector<font::GlyphRecord> glyphs;
    for (int i = 0; i < 100; ++i) glyphs.push_back(testing_support::Glyph(i % 16 / 16.0f, i / 16 % 16 / 16.0f, i % 16 / 16.0f + 0.03125f));
    WriteFile(dir / "font1.gmf", testing_support::FontBytes::LayoutA(glyphs).bytes());
    WriteFile(dir / "font1.bmp", testing_support::Bmp24(512, 512, std::vector<std::uint8_t>(512 * 512 * 3, 0x40)));

    win32::Form1 form(GetModuleHandleW(nullptr), '.');
    if (!form.Create(SW_SHOWNORMAL)) return 1;
    form.Editor().OpenFromCommandLine(dir / "font1.gmf", dir / "font1.bmp");
    form.Editor().ToggleMagnifier();
    form.Editor().ZoomMagnifier(editor::kMaxMagnification);
    Pump();
    const HWND picture = FindChild(form.window(), win32::PictureBox::kClassName);
    const HWND magnifier = FindWindowW(win32::Magnifier::kClassName, nullptr);
    if (!picture || !magnifier) return 1;

    // The left edge of glyph 1 (column 0), held and moved one edit unit to and fro.
    SendMessageW(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 10));
    SendMessageW(picture, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));
    constexpr int kRuns = 2000;
    const double move = MicrosecondsEach(kRuns, [&](int i) {
        SendMessageW(picture, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(i % 2 ? 10 : 12, 10));
        UpdateWindow(picture);
        UpdateWindow(magnifier);
    });
    const bool dragging = form.Editor().Dragging();
    const double floor = MicrosecondsEach(kRuns, [&](int) {
        InvalidateRect(picture, nullptr, FALSE);
        UpdateWindow(picture);
    });
    const double magnified = MicrosecondsEach(kRuns, [&](int) {
        InvalidateRect(magnifier, nullptr, FALSE);
        UpdateWindow(magnifier);
    });
    std::printf("drag move, Picture1 and the magnifier at 16x painted: %.1f us\n", move);
    std::printf("Picture1 painted alone:                              %.1f us\n", floor);
    std::printf("the magnifier painted alone:                         %.1f us\n", magnified);
    DestroyWindow(form.window());
    Pump();
    std::filesystem::remove_all(dir);
    return dragging ? 0 : 1;
}
