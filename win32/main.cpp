// Runeplot's editor window for Windows: runeplot.exe [--help] [--version] [FONT [PICTURE]].
#include <windows.h>

#include "editor/messages.h"
#include "win32/command_line.h"
#include "win32/dialogs.h"
#include "win32/form1.h"
#include "win32/settings_file.h"
#include "win32/text.h"

namespace {

// The user's decimal separator, read once: everything below takes it as it is now.
char DecimalSeparator() {
    wchar_t separator[4] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4) > 0 && separator[0] == L',') return ',';
    return '.';
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    win32::SettingsFile settings(win32::SettingsFile::UserFile());
    const std::optional<win32::CommandLine> files = win32::ParseCommandLine(GetCommandLineW());
    if (!files) {
        win32::Exclaim(nullptr, editor::TooManyArgumentsMessage(win32::kProgramName), "Runeplot");
        return 2;
    }
    // A program without a console tells it in a message box, and ends without opening its window.
    if (files->help || files->version) {
        const std::string text = files->help ? editor::CommandLineHelp(win32::kProgramName) : editor::CommandLineVersion();
        MessageBoxW(nullptr, win32::Widen(text).c_str(), L"Runeplot", MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    win32::Form1 form(instance, DecimalSeparator(), &settings);
    if (!form.Create(showCommand)) return 1;
    if (!files->font.empty()) form.Editor().OpenFromCommandLine(files->font, files->picture);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (form.PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
