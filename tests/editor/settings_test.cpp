#include "editor/settings.h"

#include <gtest/gtest.h>

#include "tests/editor/fake_view.h"

namespace {

using editor::Language;

TEST(Settings, WhatIsWrittenIsReadAndAnythingElseIsTheDefault) {
    testing_support::FakeSettings store;
    EXPECT_EQ(editor::ReadSettings(store).language, Language::Russian) << "no file: the first start";
    for (const Language language : {Language::English, Language::Russian, Language::English}) {
        editor::WriteSettings(store, {language, {}});
        EXPECT_EQ(editor::ReadSettings(store).language, language);
    }
    const std::pair<const char*, Language> rows[] = {
        {"en", Language::English}, {" EN\r\n", Language::English}, {"english", Language::Russian},
        {"e n", Language::Russian}, {"en\x01", Language::Russian},
    };
    for (const auto& [value, language] : rows) {
        store.values["Language"] = value;
        EXPECT_EQ(editor::ReadSettings(store).language, language) << '"' << value << '"';
    }
    // The TrueType file's name as the system spells it, whatever its letters.
    const std::filesystem::path typeface(u8"/шрифты/Мой шрифт.ttf");
    editor::WriteSettings(store, {Language::English, typeface});
    EXPECT_EQ(editor::ReadSettings(store).typeface, typeface);
    editor::WriteSettings(store, {Language::Russian, {}});
    EXPECT_EQ(editor::ReadSettings(store).typeface, typeface) << "no file chosen yet keeps the last one";
}

}  // namespace
