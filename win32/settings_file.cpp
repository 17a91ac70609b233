#include "win32/settings_file.h"

#include <windows.h>

#include <string>
#include <system_error>

#include "win32/text.h"

namespace win32 {
namespace {

constexpr const wchar_t* kSection = L"General";
// No value the program writes holds it: it tells a missing key from an empty value.
constexpr const wchar_t* kMissing = L"\x01";

}  // namespace

std::filesystem::path SettingsFile::UserFile() {
    std::wstring folder(MAX_PATH, L'\0');
    DWORD length = GetEnvironmentVariableW(L"APPDATA", folder.data(), static_cast<DWORD>(folder.size()));
    if (length > folder.size()) {
        folder.resize(length);
        length = GetEnvironmentVariableW(L"APPDATA", folder.data(), length);
    }
    if (length == 0 || length >= folder.size()) return {};
    folder.resize(length);
    return std::filesystem::path(folder) / L"Runeplot" / L"runeplot.ini";
}

std::optional<std::string> SettingsFile::Value(const std::string& key) const {
    if (file_.empty()) return std::nullopt;
    wchar_t value[256] = {};
    GetPrivateProfileStringW(kSection, Widen(key).c_str(), kMissing, value, static_cast<DWORD>(std::size(value)),
                             file_.c_str());
    if (std::wstring(value) == kMissing) return std::nullopt;
    return Narrow(value);
}

void SettingsFile::SetValue(const std::string& key, const std::string& value) {
    if (file_.empty()) return;
    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);  // a failure shows in the write
    WritePrivateProfileStringW(kSection, Widen(key).c_str(), Widen(value).c_str(), file_.c_str());
}

}  // namespace win32
