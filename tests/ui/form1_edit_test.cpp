#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "tests/ui/window_fixture.h"

namespace {

using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::TextureBmp;
using testing_support::WindowTest;

// The font's bytes with one binary32 put in at an offset, as a whole-file expectation.
std::vector<std::byte> With(std::vector<std::byte> bytes, std::size_t offset, float value) {
    runtime::StoreSingle(value, std::span<std::byte, 4>(bytes.data() + offset, 4));
    return bytes;
}

constexpr std::size_t kRecord0 = 44;  // layout A
constexpr std::size_t kLeft = kRecord0, kAspect = kRecord0 + 12;

float Edit(float editUnits) { return editUnits / 256; }

class EditInLocale : public WindowTest, public ::testing::WithParamInterface<char> {
protected:
    EditInLocale() : WindowTest(GetParam()) {}

    // One glyph with the given edges in edit units; returns the font's path.
    std::string OpenGlyph(float left, float top, float right, float cellHeight = 0.0625f) {
        path = OpenFont(FontBytes::LayoutA({Glyph(Edit(left), Edit(top), Edit(right), (Edit(right) - Edit(left)) / cellHeight)})
                            .Header(16, cellHeight, 0.03125f));
        before = FileBytes(path);
        return path;
    }

    std::string path;
    std::vector<std::byte> before;
};

INSTANTIATE_TEST_SUITE_P(Locales, EditInLocale, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? "Point" : "Comma"; });

TEST_P(EditInLocale, TheClickedArrowKeepsTheFocusAndSpaceStepsAgain) {
    OpenGlyph(100, 128, 110);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Click("Command5");
    EXPECT_EQ(QApplication::focusWidget(), Child("Command5"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(TextOf("Text1"), "102");
    EXPECT_EQ(FileBytes(path), With(With(before, kLeft, Edit(102)), kAspect, (Edit(110) - Edit(102)) / 0.0625f));
}

// The whole road of a typical use, on the demo font that the build draws.
TEST_F(WindowTest, ATypicalSessionWithTheDemoFont) {
    const std::string fontPath = dir.Path("demo.gmf");
    const std::string picturePath = dir.Path("demo.bmp");
    std::filesystem::copy_file(RUNEPLOT_EXAMPLES_DIR "/demo.gmf", fontPath);
    std::filesystem::copy_file(RUNEPLOT_EXAMPLES_DIR "/demo.bmp", picturePath);
    Open(fontPath, picturePath);
    ASSERT_TRUE(prompts.messages.empty());
    EXPECT_GT(Selector()->maximum(), 30);
    EXPECT_FALSE(RedPixels().empty());

    Selector()->setFocus();
    for (int i = 0; i < 3; ++i) QTest::keyClick(Selector(), Qt::Key_Right);
    EXPECT_EQ(TextOf("Label1"), QStringLiteral("Символ № 4"));
    const QString left = TextOf("Text1");
    const auto before = FileBytes(fontPath);
    Click("Command5");
    Click("Command3");
    EXPECT_EQ(TextOf("Text1").toDouble(), left.toDouble() + 1);
    const auto after = FileBytes(fontPath);
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (after[i] != before[i]) {
            EXPECT_TRUE(i >= 44 + 3 * 16 && i < 44 + 4 * 16) << "byte " << i;
        }
    }

    Child<QLineEdit>("Text4")->setText(QStringLiteral("20"));
    Click("Command1");
    EXPECT_EQ(runtime::BinaryFile::Open(fontPath).ReadSingle(8), 20.0f);
    QTest::keyClick(Selector(), Qt::Key_Left);
    QTest::keyClick(Selector(), Qt::Key_Right);
    EXPECT_EQ(TextOf("Text1").toDouble(), left.toDouble() + 1) << "the file holds what the view showed";
    EXPECT_TRUE(prompts.messages.empty());
}

}  // namespace
