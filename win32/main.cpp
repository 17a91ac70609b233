// Runeplot's editor window for Windows: runeplot.exe [FONT [PICTURE]].
#include <windows.h>

#include "editor/texts.h"
#include "win32/command_line.h"
#include "win32/dialogs.h"
#include "win32/form1.h"
#include "win32/settings_file.h"

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
        const editor::Language language = editor::ReadSettings(settings).language;
        win32::Exclaim(nullptr, editor::Format(editor::Text::TooManyArguments, language, {win32::kUsage}), "Runeplot 1.1");
        return 2;
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
