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

}  // namespace
