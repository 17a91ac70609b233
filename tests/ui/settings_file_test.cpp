// The settings in Qt's INI file.
#include <gtest/gtest.h>

#include <QString>

#include "tests/support/temp_dir.h"
#include "ui/settings_file.h"

namespace {

using editor::Language;
using testing_support::TempDir;

std::vector<std::byte> Bytes(const std::string& text) {
    std::vector<std::byte> bytes;
    for (const char c : text) bytes.push_back(static_cast<std::byte>(c));
    return bytes;
}

Language ReadFrom(const std::string& path) {
    const ui::SettingsFile file(QString::fromStdString(path));
    return editor::ReadSettings(file).language;
}

TEST(SettingsFile, KeptAsAnIniFileAndAnyTroubleIsTheDefaultSilently) {
    const TempDir dir;
    {
        ui::SettingsFile file(QString::fromStdString(dir.Path("runeplot.ini")));
        editor::WriteSettings(file, {Language::English});
    }
    EXPECT_EQ(ReadFrom(dir.Path("runeplot.ini")), Language::English);
    const std::vector<std::byte> written = testing_support::ReadAll(dir.Path("runeplot.ini"));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(written.data()), written.size()), "[General]\nLanguage=en\n");

    EXPECT_EQ(ReadFrom(dir.Path("missing.ini")), Language::Russian);
    EXPECT_EQ(ReadFrom(dir.Write("value.ini", Bytes("[General]\nLanguage=\xFF\xFE\n"))), Language::Russian);
    EXPECT_EQ(ReadFrom(dir.Write("junk.ini", Bytes(std::string("\x00\xFF[Gen\n=\x01\x02", 12)))), Language::Russian);

    // A file where the settings' folder would be: nothing is written, and nothing is said.
    dir.Write("file", {});
    const std::string blocked = dir.Path("file") + "/runeplot.ini";
    {
        ui::SettingsFile file(QString::fromStdString(blocked));
        editor::WriteSettings(file, {Language::English});
    }
    EXPECT_EQ(ReadFrom(blocked), Language::Russian);
}

}  // namespace
