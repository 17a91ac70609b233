#include <QGroupBox>
#include <filesystem>

#include "tests/ui/window_fixture.h"

namespace {

using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::TextureBmp;
using testing_support::WindowTest;
using testing_support::WithBmpSize;

std::vector<font::GlyphRecord> Glyphs(int count) {
    std::vector<font::GlyphRecord> glyphs;
    for (int i = 0; i < count; ++i) glyphs.push_back(Glyph(0.25f, 0.5f, 0.3125f + i / 512.0f, 1));
    return glyphs;
}

class OpenCommand : public WindowTest {
protected:
    void ExpectLoaded() const {
        EXPECT_TRUE(Picture()->isVisible());
        EXPECT_FALSE(Child("Shape1")->isVisible());
        EXPECT_TRUE(Selector()->isEnabled());
        EXPECT_TRUE(Child("Frame2")->isEnabled());
        EXPECT_TRUE(Child("Frame4")->isEnabled());
    }
    void ExpectRejected() const {
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Ошибка"));
        EXPECT_EQ(prompts.messages[0].prompt,
                  QStringLiteral("Графический файл шрифта должен иметь размер 512x512 пикселей."));
        EXPECT_FALSE(Picture()->isVisible());
        EXPECT_TRUE(Child("Shape1")->isVisible());
        EXPECT_FALSE(Selector()->isEnabled());
    }
};

TEST_F(OpenCommand, AcceptedPictureAndFontAreShown) {
    const std::string fontPath = WriteFont(FontBytes::LayoutA(Glyphs(120)).Header(12.5f, 0.0625f, 0.1f));
    const std::string picturePath = dir.Write("font1.bmp", TextureBmp());
    Open(fontPath, picturePath);

    ASSERT_EQ(prompts.questions.size(), 2u);
    EXPECT_EQ(prompts.questions[0].title, QStringLiteral("Загрузить файл *.gmf"));
    EXPECT_EQ(prompts.questions[0].filter, QStringLiteral(".gmf|*.gmf"));
    EXPECT_EQ(prompts.questions[1].title, QStringLiteral("Загрузить файл font1.bmp"));
    EXPECT_EQ(prompts.questions[1].filter, QStringLiteral("Рисунки BMP и TGA (*.bmp;*.tga)|*.bmp;*.tga"));
    EXPECT_TRUE(prompts.messages.empty());
    ExpectLoaded();
    EXPECT_EQ(TextOf("Label4"), QString::fromStdString(picturePath));
    EXPECT_EQ(TextOf("Label5"), QString::fromStdString(fontPath));
    EXPECT_EQ(TextOf("Text4"), QStringLiteral("12.5"));
    EXPECT_EQ(TextOf("Text5"), QStringLiteral("25.6"));
    EXPECT_EQ(Selector()->maximum(), 119);
    EXPECT_EQ(TextOf("Label1"), QStringLiteral("Символ № 1"));
    EXPECT_EQ(Picture()->picture().size(), QSize(512, 512));

    // The dialogs remember their last choice.
    Open(fontPath, picturePath);
    EXPECT_EQ(prompts.questions[2].lastFile, QString::fromStdString(fontPath));
    EXPECT_EQ(prompts.questions[3].lastFile, QString::fromStdString(picturePath));
}

TEST_F(OpenCommand, PathsAreShownAsPlainTextNeverAsMarkup) {
    std::filesystem::create_directories(dir.Path("<b>old</b>"));
    const std::string fontPath = dir.Write("<b>old</b>/font1.gmf", FontBytes::LayoutA(Glyphs(1)).bytes());
    const std::string picturePath = dir.Write("<b>old</b>/font1.bmp", TextureBmp());
    Open(fontPath, picturePath);
    for (const char* label : {"Label4", "Label5"}) {
        EXPECT_EQ(Child<QLabel>(label)->textFormat(), Qt::PlainText) << label;
    }
    EXPECT_EQ(TextOf("Label5"), QString::fromStdString(fontPath));
}

TEST_F(OpenCommand, CyrillicFolderAndFileNamesWithSpaces) {
    std::filesystem::create_directories(std::filesystem::path(dir.Path("")) / std::filesystem::path(u8"Шрифты мода"));
    const std::string fontPath = dir.Write("Шрифты мода/мой шрифт.gmf", FontBytes::LayoutA(Glyphs(2)).bytes());
    Open(fontPath, dir.Write("Шрифты мода/мой шрифт.bmp", TextureBmp()));
    ExpectLoaded();
    EXPECT_EQ(TextOf("Label5"), QString::fromStdString(fontPath));
    const auto before = FileBytes(fontPath);
    Click("Command2");
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_NE(FileBytes(fontPath), before) << "the store reached the file";
}

TEST_F(OpenCommand, AFontWithoutGlyphsOpensAndSaysSo) {
    const std::string path = OpenFont(FontBytes::LayoutB({}).Header(10, 0.0625f, 0.125f));
    const auto before = FileBytes(path);
    ExpectLoaded();
    EXPECT_EQ(Selector()->minimum(), 0);
    EXPECT_EQ(Selector()->maximum(), 0);
    EXPECT_EQ(TextOf("Label1"), QStringLiteral("Символов нет"));
    EXPECT_EQ(TextOf("Text4"), QStringLiteral("10"));
    EXPECT_EQ(TextOf("Text5"), QStringLiteral("32"));
    EXPECT_TRUE(TextOf("Text1").isEmpty());
    for (const char* arrow : {"Command2", "Command3", "Command4", "Command5", "Command6", "Command7"}) {
        EXPECT_FALSE(Child(arrow)->isEnabled()) << arrow;
    }
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace
