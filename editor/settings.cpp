#include "editor/settings.h"

#include <algorithm>

namespace editor {
namespace {

constexpr const char* kLanguageKey = "Language";
constexpr const char* kTypefaceKey = "Typeface";
constexpr const char* kRussian = "ru";
constexpr const char* kEnglish = "en";

// As a person may have typed it into the file.
std::string Normalised(std::string value) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    value.erase(value.begin(), std::find_if_not(value.begin(), value.end(), blank));
    value.erase(std::find_if_not(value.rbegin(), value.rend(), blank).base(), value.end());
    std::transform(value.begin(), value.end(), value.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return value;
}

}  // namespace

Settings ReadSettings(const SettingsStore& store) {
    Settings settings;
    if (const std::optional<std::string> language = store.Value(kLanguageKey)) {
        const std::string value = Normalised(*language);
        if (value == kEnglish) settings.language = Language::English;
        if (value == kRussian) settings.language = Language::Russian;
    }
    if (const std::optional<std::string> typeface = store.Value(kTypefaceKey)) {
        settings.typeface = std::filesystem::path(std::u8string(typeface->begin(), typeface->end()));
    }
    return settings;
}

void WriteSettings(SettingsStore& store, const Settings& settings) {
    store.SetValue(kLanguageKey, settings.language == Language::English ? kEnglish : kRussian);
    if (!settings.typeface.empty()) {
        const std::u8string typeface = settings.typeface.u8string();
        store.SetValue(kTypefaceKey, std::string(typeface.begin(), typeface.end()));
    }
}

}  // namespace editor
