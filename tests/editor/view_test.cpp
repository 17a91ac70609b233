// The glyph view refresh: the boxes, the outline's pixels, the glyph number and the warning.
#include <algorithm>
#include <filesystem>

#include "tests/editor/editor_fixture.h"

namespace {

using editor::Box;
using editor::Control;
using editor::Label;
using editor::Timer;
using testing_support::EditorTest;
using testing_support::FontBytes;
using testing_support::Glyph;

using Pixels = std::set<std::pair<int, int>>;

// The outline as drawn: top and bottom edges from x0 to topRight, sides from y0 to bottomRow.
Pixels Rectangle(int x0, int topRight, int y0, int bottom, int rightSide, int bottomRow) {
    Pixels pixels;
    for (int x = x0; x <= topRight; ++x) {
        pixels.emplace(x, y0);
        pixels.emplace(x, bottom);
    }
    for (int y = y0; y <= bottomRow; ++y) {
        pixels.emplace(rightSide, y);
        pixels.emplace(x0, y);
    }
    return pixels;
}

class GlyphView : public EditorTest {};

TEST_F(GlyphView, TheExampleGlyphAndItsOutline) {
    OpenFont(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f, 1)}).Header(16, 0.0625f, 0));
    EXPECT_EQ(Shown(Box::Text1), "64");
    EXPECT_EQ(Shown(Box::Text2), "128");
    EXPECT_EQ(Shown(Box::Text3), "80");
    EXPECT_EQ(view.captions[Label::Label1], "Символ № 1");
    EXPECT_FALSE(view.IsVisible(Control::err));
    // Top row 256 and bottom row 288 from column 128 to 156; sides in 128 and 157, rows 256-288.
    EXPECT_EQ(view.pixels, Rectangle(128, 156, 256, 288, 157, 288));
}

TEST_F(GlyphView, NarrowGlyphsFlatCellsAndTheEdgesOfThePicture) {
    const struct { font::GlyphRecord glyph; float cellHeight; Pixels expected; const char* why; } cases[] = {
        // x1 - x0 = 4: one pixel of top and bottom in column x0, the right side in x0 + 1.
        {Glyph(0.25f, 0.5f, 0.25f + 4 / 512.0f), 0.0625f, Rectangle(128, 128, 256, 288, 129, 288), "four"},
        {Glyph(0.25f, 0.5f, 0.25f + 5 / 512.0f), 0.0625f, Rectangle(128, 129, 256, 288, 130, 288), "five"},
        // Below 4: no top or bottom, the right side left of the left one.
        {Glyph(0.25f, 0.5f, 0.25f + 3 / 512.0f), 0.0625f, Rectangle(128, 127, 256, 288, 128, 288), "three"},
        {Glyph(0.25f, 0.5f, 0.125f), 0.0625f, Rectangle(128, 59, 256, 288, 61, 288), "right of left"},
        // CellHeight 0: the sides shrink to row y0, the bottom edge lies on the top edge.
        {Glyph(0.25f, 0.5f, 0.3125f), 0, Rectangle(128, 156, 256, 256, 157, 256), "flat"},
        // A negative cell: no sides, the bottom edge above the top.
        {Glyph(0.25f, 0.5f, 0.3125f), -2 / 512.0f, Rectangle(128, 156, 256, 254, 157, 253), "upside down"},
        // The last row and column of the picture, and one past them.
        {Glyph(0, 0, 1), 511 / 512.0f, Rectangle(0, 508, 0, 511, 509, 511), "the whole picture"},
        {Glyph(0, 0, 1), 1, Rectangle(0, 508, 0, 0, 509, 511) , "a bottom edge just past it"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        OpenFont(FontBytes::LayoutA({c.glyph}).Header(16, c.cellHeight, 0));
        EXPECT_EQ(view.pixels, c.expected);
    }
}

TEST_F(GlyphView, FarOutValuesDrawOnlyInsideThePicture) {
    // Loop bounds of half a million each way, cut to the picture.
    OpenFont(FontBytes::LayoutA({Glyph(-1000, 0.25f, 1000), Glyph(0.25f, 0.5f, 0.3125f)}).Header(16, 0.0625f, 0));
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(Shown(Box::Text1), "-256000");
    EXPECT_EQ(view.pixels.size(), 2u * 512) << "the top and bottom rows across the whole picture";
    EXPECT_TRUE(view.pixels.count({0, 128}) && view.pixels.count({511, 160}));
}

TEST_F(GlyphView, EachSelectorChangeReadsTheFileAnew) {
    const auto path = OpenFont(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f), Glyph(0.5f, 0.5f, 0.5625f)}));
    view.MoveSelector(1);
    EXPECT_EQ(Shown(Box::Text1), "128");
    EXPECT_EQ(view.captions[Label::Label1], "Символ № 2");
    // Another program changes the file: the view shows what the file holds now.
    runtime::WriteNewFile(path, testing_support::With(FileBytes(path), 60, 0.375f));
    view.MoveSelector(0);
    view.MoveSelector(1);
    EXPECT_EQ(Shown(Box::Text1), "96");
}

// A failed refresh from the selector: its message after the event, never during it.
class FailedRefresh : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        path = OpenFont(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f), Glyph(0.25f, 1e10f, 0.3125f), Glyph(0.5f, 0.5f, 0.5625f)}));
        before = FileBytes(path);
    }
    std::filesystem::path path;
    std::vector<std::byte> before;
};

TEST_F(FailedRefresh, TheMessageComesOnceTheEventIsOver) {
    view.TakeCalls();
    view.MoveSelector(1);
    EXPECT_TRUE(view.messages.empty()) << "not inside the selector's event";
    ASSERT_EQ(view.running.count(Timer::Message), 1u);
    EXPECT_EQ(view.running[Timer::Message], 0);
    view.TimerRunsOut(Timer::Message);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].rfind("Не удалось показать символ: ", 0), 0u) << view.messages[0];
    EXPECT_FALSE(view.running.count(Timer::Message)) << "nothing left to show";
}

TEST_F(FailedRefresh, NoStoreUntilARefreshSucceeds) {
    view.MoveSelector(1);
    for (const Control arrow : {Control::Command2, Control::Command3, Control::Command4, Control::Command5,
                                Control::Command6, Control::Command7}) {
        EXPECT_FALSE(view.IsEnabled(arrow));
        editor->ClickArrow(arrow);  // as a window that let the click through would
    }
    EXPECT_EQ(FileBytes(path), before) << "no write into a glyph that was not shown";

    view.MoveSelector(2);
    EXPECT_TRUE(view.IsEnabled(Control::Command5));
    editor->ClickArrow(Control::Command5);
    EXPECT_EQ(Shown(Box::Text1), "129");
    EXPECT_EQ(FileBytes(path), testing_support::With(testing_support::With(before, 44 + 32, 129 / 256.0f), 44 + 44,
                                                     (0.5625f - 129 / 256.0f) / 0.0625f));
}

TEST_F(FailedRefresh, AMessageWaitsWhileTheSelectorIsPressed) {
    editor->OnSelectorPressed();
    view.leftButtonDown = true;
    view.MoveSelector(1);
    EXPECT_TRUE(view.running.empty()) << "held back while the button is down";
    view.MoveSelector(2);
    view.MoveSelector(1);  // a second failure while held
    view.leftButtonDown = false;
    editor->OnSelectorReleased();
    view.TimerRunsOut(Timer::Message);
    EXPECT_EQ(view.messages.size(), 2u) << "each held message once";
}

TEST_F(FailedRefresh, ALostReleaseHoldsNothingBack) {
    editor->OnSelectorPressed();
    view.leftButtonDown = false;  // the release went to another window
    view.MoveSelector(1);
    view.TimerRunsOut(Timer::Message);
    EXPECT_EQ(view.messages.size(), 1u);
}

TEST_F(FailedRefresh, NothingRunsWhileItsControlIsDisabled) {
    Open(path, std::nullopt);  // back to the start-up state, the glyph last shown still in the boxes
    view.TakeCalls();
    view.selectorValue = 2;
    editor->OnSelectorChanged();
    editor->ClickArrow(Control::Command5);
    Type(Box::Text4, "20");
    editor->SaveFontParameters();
    EXPECT_TRUE(view.TakeCalls().empty());
    EXPECT_EQ(FileBytes(path), before);
}

class WidthWarning : public EditorTest, public ::testing::WithParamInterface<char> {
protected:
    WidthWarning() : EditorTest(GetParam()) {}
    bool WarningFor(float leftEdit, float rightEdit) {
        OpenFont(FontBytes::LayoutA({Glyph(leftEdit / 256, 0.5f, rightEdit / 256)}));
        return view.IsVisible(Control::err);
    }
};

INSTANTIATE_TEST_SUITE_P(Locales, WidthWarning, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? "Point" : "Comma"; });

TEST_P(WidthWarning, NarrowerThanFourEditUnits) {
    EXPECT_FALSE(WarningFor(100, 104)) << "exactly 4";
    EXPECT_TRUE(WarningFor(100, 103.99f));
    EXPECT_FALSE(WarningFor(100, 104.01f));
    EXPECT_TRUE(WarningFor(110, 100)) << "right of left";
    // 12.5 to 16.25 is 3.75 wide, whatever the separator shows.
    EXPECT_TRUE(WarningFor(12.5f, 16.25f));
    EXPECT_EQ(Shown(Box::Text1), GetParam() == ',' ? "12,5" : "12.5");
    EXPECT_FALSE(WarningFor(12.5f, 16.5f));
}

}  // namespace
