#pragma once

#include <filesystem>
#include <optional>
#include <string>

// What the user chooses that is kept between runs, and where a window keeps it.
namespace editor {

enum class Language { Russian, English };

struct Settings {
    Language language = Language::Russian;  // whatever the system's own language
    std::filesystem::path typeface;         // the TrueType file last chosen for drawing glyphs
};

// A view's settings file: a text for each key. Nothing for a key that is missing or could not be
// read; a value that cannot be written is silently not written.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> Value(const std::string& key) const = 0;
    virtual void SetValue(const std::string& key, const std::string& value) = 0;
};

// A value that is not one the program writes leaves its setting at the default.
Settings ReadSettings(const SettingsStore& store);
void WriteSettings(SettingsStore& store, const Settings& settings);

}  // namespace editor
