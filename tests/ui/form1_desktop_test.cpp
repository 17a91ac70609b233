// The window opened from the command line, and following its texture while it is painted.
#include <QTest>
#include <filesystem>

#include "tests/ui/window_fixture.h"
#include "editor/editor.h"

namespace {

using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::TextureBmp;
using testing_support::WindowTest;
using testing_support::WithBmpSize;

std::vector<std::byte> Bmp(QColor colour) { return TextureBmp(512, 512, colour); }

class Desktop : public WindowTest {
protected:
    std::string font = WriteFont(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f), Glyph(0.5f, 0.5f, 0.5625f)}));

    void ExpectLoaded(const std::string& picture) {
        EXPECT_TRUE(Picture()->isVisible());
        EXPECT_EQ(TextOf("Label4"), QString::fromStdString(picture));
        EXPECT_EQ(TextOf("Label5"), QString::fromStdString(font));
        EXPECT_TRUE(IsRed(128, 256));
    }
    // Saves a picture as image editors do: a new file renamed over the old one.
    void SaveByRenaming(const std::vector<std::byte>& bytes) {
        dir.Write("saving.tmp", bytes);
        std::filesystem::rename(dir.Path("saving.tmp"), dir.Path("font1.bmp"));
    }
    QRgb ShownAfterSettling() {
        QTest::qWait(3 * editor::Editor::kTextureSettleMilliseconds);
        return Picture()->picture().pixel(10, 10);
    }
};

TEST_F(Desktop, CyrillicNamesFromTheCommandLineReachTheFiles) {
    // A name cut by bytes would look for half a letter, and Qt's text of it would end the program.
    font = WriteFont(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f)}), "шрифт.gm");
    const std::string picture = dir.Write("шриф.bmp", TextureBmp());
    window->OpenFromCommandLine(QString::fromStdString(font));
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_TRUE(prompts.messages.empty());
    ExpectLoaded(picture);

    const std::string other = dir.Write("другой.bmp", TextureBmp());
    window->OpenFromCommandLine(QString::fromStdString(font), QString::fromStdString(other));
    ExpectLoaded(other);
}

TEST_F(Desktop, TheTextureIsShownAgainWhenItIsSavedAnew) {
    dir.Write("font1.bmp", Bmp(Qt::darkBlue));
    window->OpenFromCommandLine(QString::fromStdString(font));
    Selector()->setValue(1);
    const auto fontBefore = FileBytes(font);

    SaveByRenaming(Bmp(Qt::darkGreen));
    EXPECT_EQ(ShownAfterSettling(), QColor(Qt::darkGreen).rgb());
    EXPECT_TRUE(IsRed(256, 256)) << "the outline stays over the new texture";
    EXPECT_EQ(TextOf("Label1"), QStringLiteral("Символ № 2"));

    // A wrong size and a half-written file: the texture stays, and one message says why.
    SaveByRenaming(WithBmpSize(Bmp(Qt::red), 256, 256));
    EXPECT_EQ(ShownAfterSettling(), QColor(Qt::darkGreen).rgb());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].prompt.contains(QStringLiteral("512x512")));
    const auto red = Bmp(Qt::red);
    SaveByRenaming(std::vector<std::byte>(red.begin(), red.begin() + 100));
    EXPECT_EQ(ShownAfterSettling(), QColor(Qt::darkGreen).rgb());
    EXPECT_EQ(prompts.messages.size(), 1u) << "no second box for the same trouble";

    // Written in place, a good one shows; after it, a new trouble is told again.
    dir.Write("font1.bmp", Bmp(Qt::darkCyan));
    EXPECT_EQ(ShownAfterSettling(), QColor(Qt::darkCyan).rgb());
    std::filesystem::remove(dir.Path("font1.bmp"));
    EXPECT_EQ(ShownAfterSettling(), QColor(Qt::darkCyan).rgb());
    EXPECT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(FileBytes(font), fontBefore) << "the font is never written";
}

TEST_F(Desktop, NothingIsFollowedOnceThePictureIsGone) {
    dir.Write("font1.bmp", Bmp(Qt::darkBlue));
    window->OpenFromCommandLine(QString::fromStdString(font));
    Open(font, std::nullopt);  // the picture dialog cancelled: back to the start-up state
    ExpectStartUpState();
    SaveByRenaming(Bmp(Qt::darkGreen));
    EXPECT_EQ(ShownAfterSettling(), QColor(Qt::darkBlue).rgb());
    EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace
