#include "ui/settings_file.h"

namespace ui {

SettingsFile::SettingsFile()
    : settings_(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("runeplot"), QStringLiteral("runeplot")) {}

SettingsFile::SettingsFile(const QString& path) : settings_(path, QSettings::IniFormat) {}

std::optional<std::string> SettingsFile::Value(const std::string& key) const {
    // A file that cannot be read or parsed counts as no file.
    if (settings_.status() != QSettings::NoError) return std::nullopt;
    const QVariant value = settings_.value(QString::fromStdString(key));
    if (!value.isValid()) return std::nullopt;
    return value.toString().toStdString();
}

void SettingsFile::SetValue(const std::string& key, const std::string& value) {
    settings_.setValue(QString::fromStdString(key), QString::fromStdString(value));
    settings_.sync();  // now, not at exit: a crash must not take the choice with it
}

}  // namespace ui
