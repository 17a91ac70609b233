#pragma once

#include <QSettings>
#include <QString>

#include "editor/settings.h"

namespace ui {

// The settings in Qt's own INI file: the user's, in the user's configuration folder
// (~/.config/runeplot/runeplot.ini), or one named.
class SettingsFile final : public editor::SettingsStore {
public:
    SettingsFile();
    explicit SettingsFile(const QString& path);

    std::optional<std::string> Value(const std::string& key) const override;
    void SetValue(const std::string& key, const std::string& value) override;

private:
    mutable QSettings settings_;
};

}  // namespace ui
