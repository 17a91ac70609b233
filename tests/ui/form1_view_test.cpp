#include <QTest>
#include <QTimer>
#include <chrono>
#include <filesystem>

#include "gmftool/commands.h"
#include "tests/ui/window_fixture.h"

namespace {

using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::WindowTest;

using Pixels = std::vector<std::pair<int, int>>;

// By row, then column, each pixel once.
Pixels Sorted(Pixels pixels) {
    std::sort(pixels.begin(), pixels.end(), [](auto a, auto b) { return std::tie(a.second, a.first) < std::tie(b.second, b.first); });
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
    return pixels;
}

// The outline as drawn: top and bottom edges, then the right side, then the left.
Pixels Rectangle(int x0, int topRight, int y0, int bottom, int rightSide, int bottomRow) {
    Pixels pixels;
    for (int x = x0; x <= topRight; ++x) {
        pixels.emplace_back(x, y0);
        pixels.emplace_back(x, bottom);
    }
    for (int y = y0; y <= bottomRow; ++y) {
        pixels.emplace_back(rightSide, y);
        pixels.emplace_back(x0, y);
    }
    return Sorted(pixels);
}

class GlyphView : public WindowTest {};

TEST_F(GlyphView, TheExampleGlyphAndItsOutline) {
    OpenFont(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f, 1)}).Header(16, 0.0625f, 0));
    EXPECT_EQ(TextOf("Text1"), "64");
    EXPECT_EQ(TextOf("Text2"), "128");
    EXPECT_EQ(TextOf("Text3"), "80");
    EXPECT_EQ(TextOf("Label1"), QStringLiteral("Символ № 1"));
    EXPECT_FALSE(Child("err")->isVisible());
    // Top row 256 and bottom row 288 from column 128 to 156; sides in 128 and 157, rows 256-288.
    EXPECT_EQ(Sorted(RedPixels()), Rectangle(128, 156, 256, 288, 157, 288));
    // The texture under the outline is untouched.
    EXPECT_EQ(Picture()->picture().pixel(128, 256), qRgb(0x40, 0x40, 0x40));
}

TEST_F(GlyphView, NarrowGlyphsAndFlatCells) {
    const struct { font::GlyphRecord glyph; float cellHeight; Pixels expected; const char* why; } cases[] = {
        // x1 - x0 = 4: one pixel of top and bottom in column x0, the right side in x0 + 1.
        {Glyph(0.25f, 0.5f, 0.25f + 4 / 512.0f), 0.0625f, Rectangle(128, 128, 256, 288, 129, 288), "four"},
        // Below 4: no top or bottom, the right side left of the left one.
        {Glyph(0.25f, 0.5f, 0.25f + 1 / 512.0f), 0.0625f, Rectangle(128, 127, 256, 288, 126, 288), "one"},
        {Glyph(0.25f, 0.5f, 0.125f), 0.0625f, Rectangle(128, 59, 256, 288, 61, 288), "right of left"},
        // CellHeight 0: the sides shrink to row y0, the bottom edge lies on the top edge.
        {Glyph(0.25f, 0.5f, 0.3125f), 0, Rectangle(128, 156, 256, 256, 157, 256), "flat"},
        // A negative cell: no sides, the bottom edge above the top.
        {Glyph(0.25f, 0.5f, 0.3125f), -2 / 512.0f, Rectangle(128, 156, 256, 254, 157, 254 - 1), "upside down"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        OpenFont(FontBytes::LayoutA({c.glyph}).Header(16, c.cellHeight, 0));
        EXPECT_EQ(Sorted(RedPixels()), c.expected);
    }
}

TEST_F(GlyphView, FarOutValuesDrawOnlyInsideThePicture) {
    // Loop bounds of half a million each way, cut to the picture.
    OpenFont(FontBytes::LayoutA({Glyph(-1000, 0.25f, 1000), Glyph(0.25f, 0.5f, 0.3125f)}).Header(16, 0.0625f, 0));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(TextOf("Text1"), "-256000");
    const Pixels red = RedPixels();
    EXPECT_EQ(red.size(), 2u * 512) << "the top and bottom rows across the whole picture";
    EXPECT_TRUE(IsRed(0, 128));
    EXPECT_TRUE(IsRed(511, 160));
}

TEST_F(GlyphView, ValuesPastThe32BitRangeFailTheRefresh) {
    OpenFont(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f), Glyph(0.25f, 1e10f, 0.3125f)}).Header(16, 0.0625f, 0));
    QTest::keyClick(Selector(), Qt::Key_Right);
    QTest::qWait(0);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Ошибка"));
    EXPECT_TRUE(prompts.messages[0].prompt.startsWith(QStringLiteral("Не удалось показать символ")));
    // The arrows write nothing until a glyph is shown again.
    EXPECT_FALSE(Child("Command5")->isEnabled());
    QTest::keyClick(Selector(), Qt::Key_Left);
    EXPECT_TRUE(Child("Command5")->isEnabled());
    EXPECT_EQ(TextOf("Label1"), QStringLiteral("Символ № 1"));
}

TEST_F(GlyphView, SelectorKeysGoTheNaturalWay) {
    std::vector<font::GlyphRecord> glyphs(120, Glyph(0.25f, 0.5f, 0.3125f));
    OpenFont(FontBytes::LayoutA(glyphs));
    Selector()->setFocus();
    QTest::keyClick(Selector(), Qt::Key_Right);
    EXPECT_EQ(Selector()->value(), 1);
    QTest::keyClick(Selector(), Qt::Key_End);
    EXPECT_EQ(Selector()->value(), 119);
    EXPECT_EQ(TextOf("Label1"), QStringLiteral("Символ № 120"));
    QTest::keyClick(Selector(), Qt::Key_Left);
    EXPECT_EQ(Selector()->value(), 118);
    QTest::keyClick(Selector(), Qt::Key_Home);
    EXPECT_EQ(Selector()->value(), 0);
}

TEST_F(GlyphView, EachSelectorChangeReadsTheFileAnew) {
    const std::string path = OpenFont(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f), Glyph(0.5f, 0.5f, 0.5625f)}));
    Selector()->setValue(1);
    EXPECT_EQ(TextOf("Text1"), "128");
    // Another program changes the file: the view shows what the file holds now.
    auto bytes = FileBytes(path);
    runtime::StoreSingle(0.375f, std::span<std::byte, 4>(bytes.data() + 60, 4));
    dir.Write("font1.gmf", bytes);
    Selector()->setValue(0);
    Selector()->setValue(1);
    EXPECT_EQ(TextOf("Text1"), "96");
}

TEST_F(GlyphView, AClickOnTheSelectorArrowMovesOneGlyphAndTheMessageWaitsForTheRelease) {
    const std::string path = OpenFont(FontBytes::LayoutA(std::vector<font::GlyphRecord>(5, Glyph(0.25f, 0.5f, 0.3125f))));
    std::filesystem::remove(path);
    QScrollBar* selector = Selector();
    const QPoint rightArrow(selector->width() - 3, selector->height() / 2);
    QTest::mousePress(selector, Qt::LeftButton, {}, rightArrow);
    QTest::qWait(20);
    EXPECT_TRUE(prompts.messages.empty()) << "no modal box while the button is down";
    QTest::mouseRelease(selector, Qt::LeftButton, {}, rightArrow);
    QTest::qWait(0);
    EXPECT_EQ(selector->value(), 1);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].prompt.contains(QString::fromStdString(path)));
    EXPECT_TRUE(window->isVisible()) << "the program goes on";
}

TEST_F(GlyphView, ARightClickOnTheSelectorHoldsNoMessageBack) {
    const std::string path = OpenFont(FontBytes::LayoutA(std::vector<font::GlyphRecord>(5, Glyph(0.25f, 0.5f, 0.3125f))));
    std::filesystem::remove(path);
    // Should a menu open after all, it is closed so that the test goes on.
    QTimer::singleShot(200, [] { if (QWidget* menu = QApplication::activePopupWidget()) menu->close(); });
    QTest::mousePress(Selector(), Qt::RightButton, {}, Selector()->rect().center());
    QTest::qWait(300);
    QTest::keyClick(Selector(), Qt::Key_Right);
    QTest::qWait(0);
    EXPECT_EQ(Selector()->value(), 1);
    ASSERT_EQ(prompts.messages.size(), 1u) << "the failed refresh is shown";
    EXPECT_TRUE(prompts.messages[0].prompt.contains(QString::fromStdString(path)));
}

TEST_F(GlyphView, GmftoolsOverviewLightsTheWindowsPixels) {
    // A fractional cell height, a glyph past the picture's edges, a narrow one, one turned round.
    const font::GlyphRecord glyphs[] = {Glyph(0.25f, 0.5f, 0.3125f), Glyph(-0.1f, 0.95f, 1.3f),
                                        Glyph(0.1f, 0.2f, 0.105f), Glyph(0.5f, 0.5f, 0.45f)};
    for (const font::GlyphRecord& glyph : glyphs) {
        const std::string path = OpenFont(FontBytes::LayoutA({glyph}).Header(16, 0.0403f, 0));
        const std::string png = dir.Path("overview.png");
        ASSERT_EQ(gmftool::Run({"overview", path, "-o", png, "--scale", "2"}), 0);
        const QImage overview(QString::fromStdString(png));
        ASSERT_EQ(overview.size(), QSize(1024, 1024));
        Pixels drawn;
        for (int y = 0; y < 512; ++y) {
            for (int x = 0; x < 512; ++x) {
                const QRgb pixel = overview.pixel(2 * x + 1, 2 * y + 1);  // every pixel a 2 x 2 block
                if (pixel == qRgb(255, 0, 0) || pixel == qRgb(255, 255, 0)) drawn.emplace_back(x, y);
            }
        }
        EXPECT_EQ(Sorted(drawn), Sorted(RedPixels())) << glyph.Left << " " << glyph.Right;
    }
}

class WidthWarning : public WindowTest, public ::testing::WithParamInterface<char> {
protected:
    WidthWarning() : WindowTest(GetParam()) {}
    bool WarningFor(float leftEdit, float rightEdit) {
        OpenFont(FontBytes::LayoutA({Glyph(leftEdit / 256, 0.5f, rightEdit / 256)}));
        return Child("err")->isVisible();
    }
};

INSTANTIATE_TEST_SUITE_P(Locales, WidthWarning, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? "Point" : "Comma"; });

TEST_P(WidthWarning, NarrowerThanFourEditUnits) {
    EXPECT_FALSE(WarningFor(100, 104)) << "exactly 4";
    EXPECT_TRUE(WarningFor(100, 103.99f));
    EXPECT_TRUE(WarningFor(110, 100)) << "right of left";
    // 12.5 to 16.25 is 3.75 wide, whatever the separator shows.
    EXPECT_TRUE(WarningFor(12.5f, 16.25f));
    EXPECT_EQ(TextOf("Text1"), GetParam() == ',' ? QStringLiteral("12,5") : QStringLiteral("12.5"));
}

}  // namespace
