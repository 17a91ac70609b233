// The settings in Qt's INI file.
#include <gtest/gtest.h>

#include <QString>

#include "tests/support/temp_dir.h"
#include "ui/settings_file.h"

namespace {

using editor::Language;
using testing_support::TempDir;

Language ReadFrom(const std::string& path) {
    const ui::SettingsFile file(QString::fromStdString(path));
    return editor::ReadSettings(file).language;
}

TEST(SettingsFile, KeptAsAnIniFileAtOnceAndATroubleIsSilent) {
    const TempDir dir;
    ui::SettingsFile file(QString::fromStdString(dir.Path("runeplot.ini")));
    editor::WriteSettings(file, {Language::English, {}});
    // Read while the window still holds it: a crash later must not take the choice with it.
    const std::vector<std::byte> written = testing_support::ReadAll(dir.Path("runeplot.ini"));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(written.data()), written.size()), "[General]\nLanguage=en\n");
    EXPECT_EQ(ReadFrom(dir.Path("runeplot.ini")), Language::English);

    // A file where the settings' folder would be: nothing is written, and nothing is said.
    dir.Write("file", {});
    const std::string blocked = dir.Path("file") + "/runeplot.ini";
    ui::SettingsFile nowhere(QString::fromStdString(blocked));
    editor::WriteSettings(nowhere, {Language::English, {}});
    EXPECT_EQ(ReadFrom(blocked), Language::Russian);
}

}  // namespace
