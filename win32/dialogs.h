#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

// Windows' own file dialog and message box, as the editor asks for them.
namespace win32 {

// "shown text|pattern" as the dialog takes it: each part ended by a NUL, the list by another.
// Windows' patterns know only * and ?, so a name with spaces or brackets lists exactly that file.
std::wstring DialogFilter(const std::string& filter);

// Nothing when cancelled. The dialog opens in folder, when there is one, and shows lastFile, when
// there is one, selected in its folder.
std::optional<std::filesystem::path> ChooseExistingFile(HWND owner, const std::string& title, const std::string& filter,
                                                        const std::filesystem::path& folder,
                                                        const std::filesystem::path& lastFile);

void Exclaim(HWND owner, const std::string& prompt, const std::string& title);
void Inform(HWND owner, const std::string& prompt, const std::string& title);

}  // namespace win32
