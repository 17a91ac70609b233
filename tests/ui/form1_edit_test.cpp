#include <QLineEdit>
#include <QTest>
#include <filesystem>

#include "tests/support/read_only.h"
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
constexpr std::size_t kLeft = kRecord0, kTop = kRecord0 + 4, kRight = kRecord0 + 8, kAspect = kRecord0 + 12;

float Edit(float editUnits) { return editUnits / 256; }

class EditInLocale : public WindowTest, public ::testing::WithParamInterface<char> {
protected:
    EditInLocale() : WindowTest(GetParam()) {}
    // A number as this locale shows it.
    QString L(QString text) const { return text.replace(QLatin1Char('.'), QLatin1Char(GetParam())); }

    // One glyph with the given edges in edit units; returns the font's path.
    std::string OpenGlyph(float left, float top, float right, float cellHeight = 0.0625f) {
        path = OpenFont(FontBytes::LayoutA({Glyph(Edit(left), Edit(top), Edit(right), (Edit(right) - Edit(left)) / cellHeight)})
                            .Header(16, cellHeight, 0.03125f));
        before = FileBytes(path);
        return path;
    }

    // Changes the file behind the window's back: a refresh would show it, so none must run.
    void ChangeLeftOnDisk(float editUnits) {
        dir.Write("font1.gmf", With(FileBytes(path), kLeft, Edit(editUnits)));
        before = FileBytes(path);
    }

    std::string path;
    std::vector<std::byte> before;
};

INSTANTIATE_TEST_SUITE_P(Locales, EditInLocale, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? "Point" : "Comma"; });

TEST_P(EditInLocale, AnUpArrowStoresTheGlyphAndShowsItAsReadBack) {
    OpenGlyph(100, 128, 110);
    Click("Command5");
    EXPECT_EQ(FileBytes(path), With(With(before, kLeft, 0.39453125f), kAspect, (Edit(110) - 0.39453125f) / 0.0625f));
    EXPECT_EQ(TextOf("Text1"), "101");
    EXPECT_TRUE(prompts.messages.empty());
}

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

TEST_P(EditInLocale, AspectIsRecomputedFromTheEdges) {
    // 100 to 110 edit units in cells of 0.0625: 0.625 cell heights; the file held something else.
    path = OpenFont(FontBytes::LayoutA({Glyph(Edit(100), 0.5f, Edit(111), 99)}).Header(16, 0.0625f, 0));
    before = FileBytes(path);
    Click("Command3");
    EXPECT_EQ(FileBytes(path), With(With(before, kRight, Edit(110)), kAspect, 0.625f));
}

TEST_P(EditInLocale, TheUpperGuardOfLeftAndTop) {
    OpenGlyph(256, 256, 300);
    ChangeLeftOnDisk(1);
    Click("Command5");
    Click("Command7");
    EXPECT_EQ(FileBytes(path), before) << "no write";
    EXPECT_EQ(TextOf("Text1"), "256") << "no refresh";
    EXPECT_TRUE(prompts.messages.empty()) << "silently";

    // 255.5 passes the guard, 256.5 does not; in a comma locale the guard reads 255 and 256.
    OpenGlyph(255.5f, 10, 300);
    Click("Command5");
    EXPECT_EQ(TextOf("Text1"), L("256.5"));
    EXPECT_EQ(FileBytes(path), With(With(before, kLeft, Edit(256.5f)), kAspect, (Edit(300) - Edit(256.5f)) / 0.0625f));
    ChangeLeftOnDisk(2);
    Click("Command5");
    EXPECT_EQ(TextOf("Text1"), L("256.5"));
    EXPECT_EQ(FileBytes(path), before);
}

TEST_P(EditInLocale, RightGoesPast256AndDownArrowsBelowZero) {
    OpenGlyph(10, 0, 256);
    Click("Command2");
    Click("Command2");
    EXPECT_EQ(TextOf("Text3"), "258");
    Click("Command6");
    EXPECT_EQ(TextOf("Text2"), "-1");
    Click("Command6");
    EXPECT_EQ(TextOf("Text2"), "-2");
    Click("Command4");
    EXPECT_EQ(FileBytes(path), With(With(With(With(before, kLeft, Edit(9)), kTop, Edit(-2)), kRight, Edit(258)),
                                    kAspect, (Edit(258) - Edit(9)) / 0.0625f));
}

TEST_P(EditInLocale, TheWarningFollowsAStoreThatMakesTheGlyphNarrow) {
    OpenGlyph(106, 10, 110);
    EXPECT_FALSE(Child("err")->isVisible());
    Click("Command5");
    EXPECT_TRUE(Child("err")->isVisible()) << "110 - 4 is below 107";
    EXPECT_EQ(FileBytes(path), With(With(before, kLeft, Edit(107)), kAspect, (Edit(110) - Edit(107)) / 0.0625f))
        << "the warning never blocks a store";
}

TEST_P(EditInLocale, ZeroCellHeightWritesNothingAndSaysWhy) {
    OpenGlyph(100, 10, 110, 0);
    Click("Command5");
    EXPECT_EQ(FileBytes(path), before);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Ошибка"));
    EXPECT_TRUE(prompts.messages[0].prompt.contains(QStringLiteral("высота")));
    EXPECT_EQ(TextOf("Text1"), "101") << "the box keeps its new text until the next refresh";
    Click("Command3");  // the window stays usable
    EXPECT_EQ(prompts.messages.size(), 2u);
}

TEST_P(EditInLocale, AStoreThatWouldEndTheTableIsRefused) {
    path = OpenFont(FontBytes::LayoutA({Glyph(Edit(1), 0, 0, -16), Glyph(0.5f, 0.5f, 0.6f)}).Header(16, 0.0625f, 0));
    before = FileBytes(path);
    Click("Command4");
    EXPECT_EQ(FileBytes(path), before);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].prompt.contains(QStringLiteral("таблицу символов")));
}

TEST_P(EditInLocale, AReadOnlyOrVanishedFontIsNotWritten) {
    testing_support::TempDir readOnlyDir;
    const std::string fontPath = readOnlyDir.Write("font1.gmf", FontBytes::LayoutA({Glyph(Edit(100), 0.5f, Edit(110))}).bytes());
    Open(fontPath, dir.Write("font1.bmp", TextureBmp()));
    const auto fontBefore = FileBytes(fontPath);
    {
        testing_support::ReadOnlyFolder readOnly(readOnlyDir.Path(""));
        EXPECT_TRUE(testing_support::InChildObeyingPermissions([&] {
            Click("Command5");
            Child<QLineEdit>("Text4")->setText(QStringLiteral("20"));
            Click("Command1");
            return prompts.messages.size() == 2 &&
                   prompts.messages[0].prompt.startsWith(QStringLiteral("Символ не сохранён")) &&
                   prompts.messages[0].prompt.contains(QString::fromStdString(fontPath)) &&
                   prompts.messages[1].prompt.startsWith(QStringLiteral("Параметры шрифта не сохранены"));
        })) << "both refused, each with its message";
    }
    EXPECT_EQ(FileBytes(fontPath), fontBefore);

    std::filesystem::remove(fontPath);
    Click("Command5");
    EXPECT_FALSE(std::filesystem::exists(fontPath)) << "never created";
    EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST_P(EditInLocale, AFontWithoutGlyphsHasNothingToStore) {
    path = OpenFont(FontBytes::LayoutB({}));
    before = FileBytes(path);
    for (const char* arrow : {"Command2", "Command3", "Command4", "Command5", "Command6", "Command7"}) Click(arrow);
    EXPECT_EQ(FileBytes(path), before);
}

class SaveInLocale : public EditInLocale {
protected:
    void Type(const char* box, const QString& text) { Child<QLineEdit>(box)->setText(text); }
};

INSTANTIATE_TEST_SUITE_P(Locales, SaveInLocale, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? "Point" : "Comma"; });

TEST_P(SaveInLocale, WritesExactlyTheTwoHeaderValues) {
    OpenGlyph(100, 10, 110);
    Type("Text4", QStringLiteral("12.5"));
    Type("Text5", QStringLiteral("25.6"));
    Click("Command1");
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(TextOf("Text4"), L("12.5")) << "the point becomes the locale's separator";
    EXPECT_EQ(TextOf("Text5"), L("25.6"));
    const auto saved = With(With(before, 8, 12.5f), 20, 0.1f);
    EXPECT_EQ(FileBytes(path), saved);
    Click("Command1");
    EXPECT_EQ(FileBytes(path), saved) << "saving twice writes the same bytes";
}

TEST_P(SaveInLocale, NormalisingTheDecimalPoint) {
    OpenGlyph(100, 10, 110);
    Type("Text4", QStringLiteral("  1.5  "));
    Type("Text5", QStringLiteral("  8  "));
    Click("Command1");
    EXPECT_EQ(TextOf("Text4"), L("1.5")) << "spaces go with the point";
    EXPECT_EQ(TextOf("Text5"), QStringLiteral("  8  ")) << "no point: left exactly as it is";
    EXPECT_EQ(FileBytes(path), With(With(before, 8, 1.5f), 20, Edit(8)));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_P(SaveInLocale, NothingIsWrittenWhenEitherBoxFails) {
    OpenGlyph(100, 10, 110);
    const struct { QString fontSize; QString spaceWidth; const char* why; } cases[] = {
        {QStringLiteral("1.2.3"), QStringLiteral("8"), "two separators"},
        {QStringLiteral("12"), QString(), "an empty space width"},
        {QStringLiteral("1e39"), QStringLiteral("8"), "beyond binary32"},
        {QStringLiteral("12"), QStringLiteral("9e40"), "beyond binary32 in texture units"},
        {QString(255, QLatin1Char('1')), QStringLiteral("8"), "255 characters"},
        {QStringLiteral("12"), QStringLiteral("1") + QString(254, QLatin1Char(' ')), "255 characters"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        prompts.messages.clear();
        Type("Text4", c.fontSize);
        Type("Text5", c.spaceWidth);
        Click("Command1");
        EXPECT_EQ(FileBytes(path), before);
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Ошибка"));
    }
    EXPECT_EQ(TextOf("Text4"), QStringLiteral("12"));
    Type("Text4", QStringLiteral("1.2.3"));
    Click("Command1");
    EXPECT_EQ(TextOf("Text4"), L("1.2.3")) << "the normalised text stays after a failure";
}

TEST_P(SaveInLocale, TheOtherSeparatorIsNoNumber) {
    OpenGlyph(100, 10, 110);
    // A comma in a point locale is a digit group, never silently 125.
    Type("Text4", GetParam() == '.' ? QStringLiteral("12,5") : QStringLiteral("12.5"));
    Click("Command1");
    if (GetParam() == '.') {
        EXPECT_EQ(FileBytes(path), before);
        EXPECT_EQ(prompts.messages.size(), 1u);
    } else {
        EXPECT_EQ(FileBytes(path), With(With(before, 8, 12.5f), 20, 0.03125f));
    }
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
