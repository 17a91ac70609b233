#pragma once

#include <filesystem>

#include "editor/settings.h"

// The settings in an INI file under the user's application-data folder, never in the registry
// and never beside the program.
namespace win32 {

class SettingsFile final : public editor::SettingsStore {
public:
    // %APPDATA%\Runeplot\runeplot.ini; an empty path when APPDATA is not set.
    static std::filesystem::path UserFile();

    explicit SettingsFile(std::filesystem::path file) : file_(std::move(file)) {}

    std::optional<std::string> Value(const std::string& key) const override;
    void SetValue(const std::string& key, const std::string& value) override;

private:
    std::filesystem::path file_;  // empty: nothing is read or written
};

}  // namespace win32
