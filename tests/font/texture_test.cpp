#include "font/texture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

std::filesystem::path U8(const std::string& text) { return std::filesystem::path(std::u8string(text.begin(), text.end())); }

TEST(FontBaseName, TheLastFourCharactersGoWhateverTheyAre) {
    const struct { const char* font; const char* base; } cases[] = {
        {"font1.gmf", "font1"},
        {"font1.gm", "font"},
        {".gmf", ""},
        {"abcd", ""},
        {"шрифт.gmf", "шрифт"},
        {"шрифт.gm", "шриф"},     // a letter of two bytes cut whole
        {"font.пьа", "font"},
        {"ab€.gmf", "ab€"},       // three bytes
    };
    for (const auto& c : cases) {
        EXPECT_EQ(font::FontBaseName(U8("/fonts") / U8(c.font)), U8(c.base)) << c.font;
    }
    // Beyond U+FFFF: one code point, or two UTF-16 units where names are kept in them.
    const std::optional<std::filesystem::path> astral = font::FontBaseName(U8("a\U0001F600bcd"));
    ASSERT_TRUE(astral);
    EXPECT_EQ(astral->native().size(), sizeof(std::filesystem::path::value_type) == 1 ? 1u : 2u);
    for (const char* shorter : {"abc", "жжж", "", "a\U0001F600"}) {
        EXPECT_FALSE(font::FontBaseName(U8("/fonts") / U8(shorter))) << shorter;
    }
}

TEST(FontBaseName, ThePictureBesideTheFont) {
    EXPECT_EQ(font::DefaultPicturePath(U8("/моды/шрифт.gm")), U8("/моды/шриф.bmp"));
    EXPECT_EQ(font::DefaultPicturePath(U8("/моды/font.пьа")), U8("/моды/font.bmp"));
    EXPECT_EQ(font::DefaultPicturePath(U8("/моды/abc")), U8("/моды/abc.bmp")) << "too short: kept whole";
}

}  // namespace
