// The files change under the program between two user actions.
#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "tests/ui/window_fixture.h"

namespace {

using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::WindowTest;

class FilesChangeBetweenActions : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        path = OpenFont(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f), Glyph(0.5f, 0.5f, 0.5625f),
                                            Glyph(0.75f, 0.5f, 0.8125f)}));
        ASSERT_TRUE(prompts.messages.empty());
    }

    void ExpectOneMessageNaming(const std::string& file) {
        QTest::qWait(0);
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Ошибка"));
        EXPECT_TRUE(prompts.messages[0].prompt.contains(QString::fromStdString(file))) << prompts.messages[0].prompt.toStdString();
    }

    std::string path;
};

TEST_F(FilesChangeBetweenActions, RenamedFontIsNeitherWrittenNorCreated) {
    const std::string moved = dir.Path("moved.gmf");
    std::filesystem::rename(path, moved);
    const auto before = FileBytes(moved);
    Click("Command5");
    ExpectOneMessageNaming(path);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(FileBytes(moved), before);

    Child<QLineEdit>("Text4")->setText(QStringLiteral("20"));
    Click("Command1");
    EXPECT_EQ(prompts.messages.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(path));

    // Put back, the font is usable again.
    std::filesystem::rename(moved, path);
    Selector()->setValue(1);
    EXPECT_EQ(TextOf("Label1"), QStringLiteral("Символ № 2"));
    EXPECT_EQ(prompts.messages.size(), 2u);
}

TEST_F(FilesChangeBetweenActions, TruncatedFontIsNotExtended) {
    std::filesystem::resize_file(path, 50);  // record 0 cut after its first six bytes
    const auto before = FileBytes(path);
    Selector()->setValue(2);
    // Bytes past the end read as zero: the record shows as empty.
    EXPECT_EQ(TextOf("Text1"), "0");
    EXPECT_TRUE(prompts.messages.empty());
    Click("Command3");  // would write record 2 at 76, far past the end
    EXPECT_EQ(FileBytes(path), before);
    ExpectOneMessageNaming(path);
}

TEST_F(FilesChangeBetweenActions, DeletedFontFailsTheViewWithAMessage) {
    std::filesystem::remove(path);
    Selector()->setValue(1);
    ExpectOneMessageNaming(path);
    EXPECT_FALSE(Child("Command5")->isEnabled()) << "nothing is stored for a glyph that was not shown";
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(FilesChangeBetweenActions, AReplacedPictureChangesNothingUntilTheNextOpen) {
    dir.Write("font1.bmp", std::vector<std::byte>(100, std::byte{0x55}));
    Selector()->setValue(1);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(Picture()->picture().pixel(10, 10), qRgb(0x40, 0x40, 0x40));
    EXPECT_TRUE(IsRed(256, 256));
}

}  // namespace
