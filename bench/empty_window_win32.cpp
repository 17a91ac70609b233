// The floor for runeplot.exe's start: a window of the editor's title, client size and background
// with a one-item menu bar, and nothing else. bench/windows_window.sh builds it and starts both
// the same way under Wine.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  windowClass.hbrBackground = CreateSolidBrush(RGB(0xE0, 0xE0, 0xE0));
  windowClass.lpszClassName = L"EmptyWindow";
  RegisterClassW(&windowClass);

  HMENU menu = CreateMenu();
  AppendMenuW(menu, MF_STRING, 1, L"\u041e\u0442\u043a\u0440\u044b\u0442\u044c");
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, 777, 536};
  AdjustWindowRect(&frame, style, TRUE);
  HWND window = CreateWindowW(L"EmptyWindow", L"Runeplot 1.1", style, CW_USEDEFAULT, CW_USEDEFAULT,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, menu, instance, nullptr);
  ShowWindow(window, show);
  UpdateWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
