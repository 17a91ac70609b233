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
    EXPECT_EQ(prompts.questions[1].filter, QStringLiteral("font1.bmp|font1.bmp"));
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

TEST_F(OpenCommand, CancellingTheFontDialogChangesNothing) {
    prompts.answers.push_back(QString());
    ClickMenu();
    ExpectStartUpState();

    OpenFont(FontBytes::LayoutA(Glyphs(3)));
    prompts.answers.push_back(QString());
    ClickMenu();
    ExpectLoaded();
    EXPECT_EQ(TextOf("Label1"), QStringLiteral("Символ № 1"));
}

TEST_F(OpenCommand, CancellingThePictureDialogReturnsToStartUp) {
    const std::string fontPath = OpenFont(FontBytes::LayoutA(Glyphs(3)));
    Selector()->setValue(2);
    Open(fontPath, std::nullopt);
    ExpectStartUpState();
    // What the start-up routine leaves alone keeps its values.
    EXPECT_EQ(Selector()->value(), 2);
    EXPECT_EQ(Selector()->maximum(), 2);
    EXPECT_EQ(TextOf("Label5"), QString::fromStdString(fontPath));
    EXPECT_EQ(TextOf("Text1"), QStringLiteral("64"));
}

TEST_F(OpenCommand, TheBaseNameLosesItsLastFourCharacters) {
    // ".gmf" leaves an empty base name, "font1.gm" leaves "font", "abc" ends the command.
    Open(dir.Write(".gmf", FontBytes::LayoutA(Glyphs(1)).bytes()), std::nullopt);
    EXPECT_EQ(prompts.questions.back().title, QStringLiteral("Загрузить файл .bmp"));
    EXPECT_EQ(prompts.questions.back().filter, QStringLiteral(".bmp|.bmp"));

    Open(dir.Write("font1.gm", FontBytes::LayoutA(Glyphs(1)).bytes()), std::nullopt);
    EXPECT_EQ(prompts.questions.back().title, QStringLiteral("Загрузить файл font.bmp"));

    OpenFont(FontBytes::LayoutA(Glyphs(3)));
    const std::size_t asked = prompts.questions.size();
    prompts.answers.push_back(QString::fromStdString(dir.Write("abc", FontBytes::LayoutA(Glyphs(1)).bytes())));
    ClickMenu();
    EXPECT_EQ(prompts.questions.size(), asked + 1) << "no picture dialog";
    ExpectLoaded();
}

TEST_F(OpenCommand, PicturesOfAnotherSizeAreRejectedWithTheMessage) {
    const std::string fontPath = WriteFont(FontBytes::LayoutA(Glyphs(3)));
    const std::vector<std::byte> core12 = [] {
        // The old core header keeps 16-bit sizes at 18 and 20: 512 x 512 there reads otherwise.
        auto bytes = TextureBmp(16, 16);
        runtime::StoreUint32(12, std::span<std::byte, 4>(bytes.data() + 14, 4));
        bytes[18] = std::byte{0x00}; bytes[19] = std::byte{0x02}; bytes[20] = std::byte{0x00}; bytes[21] = std::byte{0x02};
        bytes[22] = std::byte{1}; bytes[23] = std::byte{0}; bytes[24] = std::byte{24}; bytes[25] = std::byte{0};
        return bytes;
    }();
    const struct { std::vector<std::byte> bytes; const char* why; } pictures[] = {
        {TextureBmp(512, 511), "512 x 511"},
        {TextureBmp(256, 256), "256 x 256"},
        {TextureBmp(1024, 1024), "1024 x 1024"},
        {WithBmpSize(TextureBmp(), 512, -512), "top-down"},
        {core12, "12-byte core header"},
        {std::vector<std::byte>(25, std::byte{0}), "shorter than 26 bytes"},
    };
    for (const auto& picture : pictures) {
        prompts.messages.clear();
        Open(fontPath, dir.Write("font1.bmp", picture.bytes));
        SCOPED_TRACE(picture.why);
        ExpectRejected();
    }
}

TEST_F(OpenCommand, ARejectedPictureKeepsTheLoadedFontForTheEditControls) {
    const std::string first = OpenFont(FontBytes::LayoutA(Glyphs(3)));
    const std::string second = dir.Write("font2.gmf", FontBytes::LayoutB(Glyphs(5)).bytes());
    const auto secondBefore = FileBytes(second);
    const auto firstBefore = FileBytes(first);
    Open(second, dir.Write("font2.bmp", TextureBmp(256, 256)));
    ExpectRejected();
    EXPECT_TRUE(Child("Frame2")->isEnabled()) << "left as they were";

    Click("Command3");  // a store goes into the font that was loaded, never into the new one
    EXPECT_EQ(FileBytes(second), secondBefore);
    EXPECT_NE(FileBytes(first), firstBefore);
}

TEST_F(OpenCommand, AFileThatOnlyLooksLikeAPictureReturnsToStartUpSilently) {
    const std::string fontPath = WriteFont(FontBytes::LayoutA(Glyphs(3)));
    auto fake = std::vector<std::byte>(26, std::byte{0});
    fake = WithBmpSize(fake, 512, 512);
    Open(fontPath, dir.Write("font1.bmp", fake));
    EXPECT_TRUE(prompts.messages.empty());
    ExpectStartUpState();
}

TEST_F(OpenCommand, AFailingLoadReturnsToStartUpSilently) {
    // Record 0's top lies far past the picture: the refresh that ends the load cannot show it.
    OpenFont(FontBytes::LayoutA({Glyph(0.25f, 1e10f, 0.5f, 1), Glyph(0.1f, 0.1f, 0.2f)}));
    EXPECT_TRUE(prompts.messages.empty());
    ExpectStartUpState();
    EXPECT_EQ(TextOf("Label1"), QString());
}

TEST_F(OpenCommand, ReopeningAFontWithFewerGlyphsLowersTheSelection) {
    OpenFont(FontBytes::LayoutA(Glyphs(10)));
    Selector()->setValue(8);
    OpenFont(FontBytes::LayoutA(Glyphs(4)));
    EXPECT_EQ(Selector()->maximum(), 3);
    EXPECT_EQ(Selector()->value(), 3);
    EXPECT_EQ(TextOf("Label1"), QStringLiteral("Символ № 4"));
    EXPECT_EQ(TextOf("Text3"), QStringLiteral("81.5"));  // (0.3125 + 3/512) x 256

    OpenFont(FontBytes::LayoutA(Glyphs(10)));
    EXPECT_EQ(Selector()->value(), 3) << "more glyphs keep the selection";
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
