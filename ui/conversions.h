#pragma once

#include <QString>
#include <filesystem>
#include <string>

// The editor's texts and paths in Qt's types, and back.
namespace ui {

// The name as the system spells it: wide on Windows, the local encoding elsewhere, never lossy.
std::filesystem::path NativePath(const QString& path);
QString PathText(const std::filesystem::path& path);

QString Utf8(const std::string& text);

}  // namespace ui
