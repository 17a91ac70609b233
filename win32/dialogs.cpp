#include "win32/dialogs.h"

#include <cderr.h>
#include <commdlg.h>

#include "win32/text.h"

namespace win32 {
namespace {

// Long paths included: the dialog fails rather than cut a longer name.
constexpr std::size_t kLongestPath = 32768;

// The common dialogs bring the shell and a dozen more libraries with them, which cost the
// program's start a tenth of its time and a third of its memory: they are loaded when a dialog
// is first opened.
struct CommonDialogs {
    decltype(&GetOpenFileNameW) getOpenFileName = nullptr;
    decltype(&CommDlgExtendedError) extendedError = nullptr;
};

const CommonDialogs& Loaded() {
    static const CommonDialogs dialogs = [] {
        CommonDialogs loaded;
        if (HMODULE library = LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            loaded.getOpenFileName = reinterpret_cast<decltype(&GetOpenFileNameW)>(
                reinterpret_cast<void (*)()>(GetProcAddress(library, "GetOpenFileNameW")));
            loaded.extendedError = reinterpret_cast<decltype(&CommDlgExtendedError)>(
                reinterpret_cast<void (*)()>(GetProcAddress(library, "CommDlgExtendedError")));
        }
        return loaded;
    }();
    return dialogs;
}

bool ShowOpenDialog(OPENFILENAMEW& dialog, std::wstring& file, const std::filesystem::path& lastFile) {
    file.assign(kLongestPath, L'\0');
    const std::wstring last = lastFile.wstring();
    if (last.size() < kLongestPath) last.copy(file.data(), last.size());
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    // A system without the dialogs at all leaves the user where a cancel would.
    return Loaded().getOpenFileName && Loaded().getOpenFileName(&dialog) != 0;
}

}  // namespace

std::wstring DialogFilter(const std::string& filter) {
    std::wstring wide = Widen(filter);
    const std::size_t bar = wide.find(L'|');
    if (bar == std::wstring::npos) wide += L'\0' + wide;  // the text is its own pattern
    else wide[bar] = L'\0';
    wide += L'\0';
    return wide;  // the string's own terminator ends the list
}

std::optional<std::filesystem::path> ChooseExistingFile(HWND owner, const std::string& title, const std::string& filter,
                                                        const std::filesystem::path& folder,
                                                        const std::filesystem::path& lastFile) {
    const std::wstring wideTitle = Widen(title);
    const std::wstring wideFilter = DialogFilter(filter);
    const std::wstring initialFolder = folder.wstring();
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = wideFilter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrTitle = wideTitle.c_str();
    // Where the dialog opens when no remembered name, which carries its folder, is given.
    if (!initialFolder.empty()) dialog.lpstrInitialDir = initialFolder.c_str();
    // The folder the program runs in stays as it was, and no recent-documents list learns the name.
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   OFN_DONTADDTORECENT | OFN_ENABLESIZING;
    std::wstring file;
    if (ShowOpenDialog(dialog, file, lastFile)) return std::filesystem::path(file.c_str());
    // A remembered name whose folder has gone is refused before the dialog opens: ask afresh.
    if (Loaded().extendedError && Loaded().extendedError() == FNERR_INVALIDFILENAME && ShowOpenDialog(dialog, file, {})) {
        return std::filesystem::path(file.c_str());
    }
    return std::nullopt;
}

void Exclaim(HWND owner, const std::string& prompt, const std::string& title) {
    MessageBoxW(owner, Widen(prompt).c_str(), Widen(title).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void Inform(HWND owner, const std::string& prompt, const std::string& title) {
    MessageBoxW(owner, Widen(prompt).c_str(), Widen(title).c_str(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace win32
