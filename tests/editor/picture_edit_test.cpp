// Clicking and dragging on Picture1 and on the magnifier, compared with the selector and the arrows.
#include <filesystem>
#include <limits>
#include <utility>

#include "tests/editor/editor_fixture.h"
#include "tests/support/tga.h"

namespace {

using editor::Box;
using editor::Control;
using editor::Cursor;
using editor::Key;
using editor::Surface;
using testing_support::EditorTest;
using testing_support::FontBytes;
using testing_support::Glyph;

struct Point {
    int x, y;
};

// Glyph 0 (64, 128, 80 in edit units; cell 0.0625): columns 128 to 157, rows 256 to 288.
const font::GlyphRecord kGlyph = Glyph(0.25f, 0.5f, 0.3125f, 0.25f);

class PictureEdit : public EditorTest {
protected:
    void Click(Surface surface, Point at) {
        editor->PressPicture(surface, at.x, at.y);
        editor->ReleasePicture(surface, at.x, at.y);
    }
    void Drag(Surface surface, Point from, Point to, bool release = true) {
        editor->MovePicture(surface, from.x, from.y);
        editor->PressPicture(surface, from.x, from.y);
        editor->MovePicture(surface, (from.x + to.x) / 2, (from.y + to.y) / 2);
        editor->MovePicture(surface, to.x, to.y);
        if (release) editor->ReleasePicture(surface, to.x, to.y);
    }
    std::vector<std::byte> AfterArrowClicks(const std::vector<std::byte>& font, Control arrow, int clicks) {
        const auto copy = Write("copy.gmf", font);
        Open(copy, PathOf("font1.bmp"));
        for (int i = 0; i < clicks; ++i) editor->ClickArrow(arrow);
        return FileBytes(copy);
    }
};

TEST_F(PictureEdit, AClickSelectsTheGlyphWhoseOutlineCoversThePoint) {
    const struct { Point at; bool selects; const char* why; } cases[] = {
        {{128, 270}, true, "x0"},          {{127, 270}, false, "left of x0"},
        {{157, 270}, true, "x1 - 3"},      {{158, 270}, false, "x1 - 2"},
        {{140, 256}, true, "y0"},          {{140, 255}, false, "above y0"},
        {{140, 288}, true, "the last row"}, {{140, 289}, false, "one past it"},
    };
    OpenFont(FontBytes::LayoutA({Glyph(0.75f, 0.75f, 0.8f), kGlyph}));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        view.MoveSelector(0);
        view.TakeCalls();
        Click(Surface::Picture1, c.at);
        EXPECT_EQ(view.selectorValue, c.selects ? 1 : 0);
        if (!c.selects) {
            EXPECT_TRUE(view.TakeCalls().empty()) << "nothing happens";
        }
    }
}

TEST_F(PictureEdit, RepeatedClicksStepThroughOverlappingGlyphsInTableOrder) {
    const float infinity = std::numeric_limits<float>::infinity();
    OpenFont(FontBytes::LayoutA({kGlyph, Glyph(0.75f, 0.75f, 0.8f), Glyph(infinity, 0.5f, 0.3125f), kGlyph,
                                 Glyph(0.25f, 0.5f, 3e9f), Glyph(0.2f, 0.45f, 0.3f)}));
    // The infinite and far-out records are under no point; 1 is elsewhere.
    const int expected[] = {3, 5, 0, 3};
    for (const int glyph : expected) {
        Click(Surface::Picture1, {140, 260});
        EXPECT_EQ(view.selectorValue, glyph);
        EXPECT_EQ(view.captions[editor::Label::Label1], "Символ № " + std::to_string(glyph + 1));
    }
    view.MoveSelector(1);
    Click(Surface::Picture1, {140, 260});
    EXPECT_EQ(view.selectorValue, 3) << "from a glyph not under the point, the first after it";
    Click(Surface::Picture1, {10, 10});
    EXPECT_EQ(view.selectorValue, 3);

    Write("font1.gmf", FontBytes::LayoutA({kGlyph}).bytes());  // shrunk behind the window
    Click(Surface::Picture1, {140, 260});
    EXPECT_EQ(view.selectorValue, 0);
}

TEST_F(PictureEdit, TheCursorShowsWhatAPressWouldTakeHoldOf) {
    const struct { Point at; Cursor cursor; } cases[] = {
        {{128, 270}, Cursor::SizeAcross}, {{131, 270}, Cursor::SizeAcross}, {{132, 270}, Cursor::SizeAll},
        {{124, 270}, Cursor::Arrow},      {{157, 270}, Cursor::SizeAcross}, {{160, 291}, Cursor::SizeAcross},
        {{140, 253}, Cursor::SizeUpDown}, {{140, 252}, Cursor::Arrow},      {{140, 288}, Cursor::SizeAll},
    };
    OpenFont(FontBytes::LayoutA({kGlyph}));
    for (const auto& c : cases) {
        editor->MovePicture(Surface::Picture1, c.at.x, c.at.y);
        EXPECT_EQ(view.cursors[Surface::Picture1], c.cursor) << c.at.x << "," << c.at.y;
    }
}

TEST_F(PictureEdit, ADragOfNUnitsWritesWhatNArrowClicksWrite) {
    const struct { Point from; Point by; Control arrow; int clicks; Box box; const char* shown; bool noMove = false; } cases[] = {
        {{128, 270}, {6, 0}, Control::Command5, 3, Box::Text1, "67"},
        {{129, 270}, {-5, 1}, Control::Command4, 3, Box::Text1, "61"},  // 2.5 units: the nearest is 3
        {{157, 270}, {8, -9}, Control::Command2, 4, Box::Text3, "84"},
        {{155, 270}, {-4, 0}, Control::Command3, 2, Box::Text3, "78"},
        {{140, 256}, {3, -6}, Control::Command6, 3, Box::Text2, "125"},
        {{140, 258}, {0, 4}, Control::Command7, 2, Box::Text2, "130"},
        {{128, 270}, {6, 0}, Control::Command5, 3, Box::Text1, "67", true},  // released with no move before it
    };
    const auto font = FontBytes::LayoutA({kGlyph, Glyph(0.75f, 0.75f, 0.8f)}).bytes();
    Write("font1.bmp", testing_support::GreyBmp());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        const auto path = Write("font1.gmf", font);
        const auto clicked = AfterArrowClicks(font, c.arrow, c.clicks);
        Open(path, PathOf("font1.bmp"));
        if (c.noMove) {
            editor->PressPicture(Surface::Picture1, c.from.x, c.from.y);
        } else {
            Drag(Surface::Picture1, {c.from.x, c.from.y}, {c.from.x + c.by.x, c.from.y + c.by.y}, false);
            EXPECT_EQ(Shown(c.box), c.shown) << "shown while dragging";
            EXPECT_EQ(FileBytes(path), font) << "nothing written while dragging";
        }
        const auto dragged = view.pixels;
        editor->ReleasePicture(Surface::Picture1, c.from.x + c.by.x, c.from.y + c.by.y);
        EXPECT_EQ(FileBytes(path), clicked);
        EXPECT_EQ(Shown(c.box), c.shown);
        if (!c.noMove) {
            EXPECT_EQ(view.pixels, dragged) << "the outline drawn while dragging is the file's";
        }
        EXPECT_TRUE(view.IsEnabled(Control::Undo));
        editor->Undo();
        EXPECT_EQ(FileBytes(path), font) << "one drag, one step";
        EXPECT_FALSE(view.IsEnabled(Control::Undo));
    }
}

TEST_F(PictureEdit, TheWholeGlyphMovesAsItsThreeEdgesWould) {
    using enum Control;
    // Left 0.1234567 becomes 1.1234567 by its arrow, and the box shows 1.123457 once stored;
    // Right 9.999999 becomes 10.999999, shown as 11.
    const struct { font::GlyphRecord glyph; std::vector<Point> path; std::vector<Control> arrows; } cases[] = {
        {kGlyph, {{140, 270}, {138, 272}, {136, 274}}, {Command4, Command4, Command3, Command3, Command7, Command7}},
        {Glyph(0.1234567f / 256, 0.5f, 0.3125f), {{80, 270}, {84, 270}, {82, 270}}, {Command5, Command2}},
        {Glyph(0.1234567f / 256, 0.5f, 9.999999f / 256), {{9, 270}, {13, 274}, {11, 272}}, {Command5, Command2, Command7}},
        {kGlyph, {{140, 270}, {141, 273}, {141, 276}}, {Command7, Command7, Command7}},  // a wobble is no move sideways
    };
    Write("font1.bmp", testing_support::GreyBmp());
    for (const auto& c : cases) {
        const auto font = FontBytes::LayoutA({c.glyph}).bytes();
        const auto path = Write("font1.gmf", font);
        AfterArrowClicks(font, c.arrows.front(), 1);
        for (std::size_t i = 1; i < c.arrows.size(); ++i) editor->ClickArrow(c.arrows[i]);
        const auto clicked = FileBytes(PathOf("copy.gmf"));
        Open(path, PathOf("font1.bmp"));
        editor->PressPicture(Surface::Picture1, c.path[0].x, c.path[0].y);
        for (const Point& at : c.path) editor->MovePicture(Surface::Picture1, at.x, at.y);
        editor->ReleasePicture(Surface::Picture1, c.path.back().x, c.path.back().y);
        EXPECT_EQ(FileBytes(path), clicked) << c.path.back().x;
    }
    EXPECT_EQ(view.pixels.count({128, 262}), 1u) << "the outline as the file holds it";
}

TEST_F(PictureEdit, TheDragStopsWhereTheArrowsGuardWould) {
    const struct { float left, top; Point from, by; const char* text1; const char* text2; } cases[] = {
        {250, 128, {500, 270}, {40, 0}, "256", "128"},
        {255.5f, 128, {511, 270}, {40, 0}, "256.5", "128"},
        {100, 250, {205, 500}, {0, 60}, "100", "256"},
        {250, 128, {505, 270}, {40, 0}, "256", "128"},  // the whole glyph keeps its width
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text1);
        OpenFont(FontBytes::LayoutA({Glyph(c.left / 256, c.top / 256, c.left / 256 + 0.03125f)}));
        Drag(Surface::Picture1, c.from, {c.from.x + c.by.x, c.from.y + c.by.y});
        EXPECT_EQ(Shown(Box::Text1), c.text1);
        EXPECT_EQ(Shown(Box::Text2), c.text2);
    }
    EXPECT_EQ(Shown(Box::Text3), "264") << "the right edge has no guard";
}

TEST_F(PictureEdit, EscapeACaptureLostAndAZeroDragWriteNothing) {
    OpenFont(FontBytes::LayoutA({kGlyph}));
    const auto outline = view.pixels;
    Drag(Surface::Picture1, {128, 270}, {140, 270}, false);
    EXPECT_EQ(Shown(Box::Text1), "70");
    EXPECT_NE(view.pixels, outline);
    EXPECT_TRUE(editor->PressKey(Surface::Picture1, Key::Escape));
    EXPECT_EQ(Shown(Box::Text1), "64");
    EXPECT_EQ(view.pixels, outline);
    editor->ReleasePicture(Surface::Picture1, 140, 270);
    EXPECT_EQ(Shown(Box::Text1), "64") << "the release after Escape is no drag";

    // Released where it began, or within a click's reach of it, whatever came between.
    const struct { font::GlyphRecord glyph; std::vector<Point> path; Point release; } cases[] = {
        {kGlyph, {{128, 270}, {140, 270}, {128, 270}}, {128, 270}},
        {kGlyph, {{128, 270}, {136, 270}}, {128, 270}},
        {kGlyph, {{128, 270}, {130, 270}}, {130, 270}},
        {Glyph(0.12345679f, 0.5f, 0.3125f), {{63, 270}, {75, 270}, {63, 270}}, {63, 270}},  // Text1 reads back as another float
    };
    for (const auto& c : cases) {
        const auto font = OpenFont(FontBytes::LayoutA({c.glyph}));
        const auto unchanged = FileBytes(font);
        const auto drawn = view.pixels;
        editor->PressPicture(Surface::Picture1, c.path[0].x, c.path[0].y);
        for (const Point& at : c.path) editor->MovePicture(Surface::Picture1, at.x, at.y);
        editor->ReleasePicture(Surface::Picture1, c.release.x, c.release.y);
        EXPECT_EQ(FileBytes(font), unchanged) << c.path.back().x;
        EXPECT_FALSE(view.IsEnabled(Control::Undo)) << "no step";
        EXPECT_EQ(view.pixels, drawn);
    }
}

TEST_F(PictureEdit, AReleaseThatWouldEndTheTableWritesNothingAndPutsTheGlyphBack) {
    const auto path = OpenFont(FontBytes::LayoutA({Glyph(0, 1 / 256.0f, 0, 0), kGlyph}));
    const auto before = FileBytes(path);
    Drag(Surface::Picture1, {2, 2}, {2, -2}, false);
    editor->MovePicture(Surface::Picture1, 2, 0);
    EXPECT_EQ(Shown(Box::Text2), "0") << "every field 0: an empty record";
    editor->ReleasePicture(Surface::Picture1, 2, 0);
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(Shown(Box::Text2), "1");
    EXPECT_FALSE(view.IsEnabled(Control::Undo));
}

TEST_F(PictureEdit, TheMagnifierMapsItsPixelsToEditUnitsAtItsFactor) {
    const struct { int factor; int pixels; const char* text1; } cases[] = {
        {2, 3, "65"}, {2, 12, "67"}, {8, 7, "64"}, {8, 8, "65"}, {8, -40, "61"}, {16, 15, "64"}, {16, 16, "65"}, {16, 96, "67"},
    };
    const auto path = OpenFont(FontBytes::LayoutA({kGlyph}));
    editor->ToggleMagnifier();
    EXPECT_TRUE(view.magnifierShown);
    editor->OnMagnifierResized(640, 480);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pixels);
        editor->ZoomMagnifier(c.factor - editor->Magnifier().factor);
        const editor::MagnifierPicture shown = editor->Magnifier();
        ASSERT_EQ(shown.factor, c.factor);
        EXPECT_EQ(shown.left, 128);
        EXPECT_EQ(shown.right, 160) << "where the record puts it, not the preview's x1 - 3";
        EXPECT_EQ(shown.regionLeft, 120);
        EXPECT_EQ(shown.regionWidth, 48);
        EXPECT_EQ(2 * shown.originX + shown.regionWidth * c.factor, 640) << "centred";
        EXPECT_EQ(2 * shown.originY + shown.regionHeight * c.factor, 480);
        EXPECT_EQ(shown.TextureX(shown.originX + 8 * c.factor - 1), 128 - 1.0 / c.factor);
        const int x = static_cast<int>(shown.ScreenX(128)), y = static_cast<int>(shown.ScreenY(270));
        Drag(Surface::Magnifier, {x, y}, {x + c.pixels, y}, false);
        EXPECT_EQ(Shown(Box::Text1), c.text1);
        EXPECT_EQ(editor->Magnifier().left * 0.5, std::stoi(c.text1)) << "the outline follows the drag";
        editor->ZoomMagnifier(-1);
        EXPECT_EQ(editor->Magnifier().factor, c.factor) << "no zoom while its button is held";
        EXPECT_EQ(editor->Magnifier().left * 0.5, std::stoi(c.text1));
        editor->CancelDrag();
    }
    editor->ZoomMagnifier(100);
    EXPECT_EQ(editor->Magnifier().factor, 16);
    editor->ZoomMagnifier(-100);
    EXPECT_EQ(editor->Magnifier().factor, 2);
    EXPECT_EQ(FileBytes(path), FontBytes::LayoutA({kGlyph}).bytes());
}

TEST_F(PictureEdit, TheMagnifierFollowsTheWindowAndIsEmptyAtStartUp) {
    editor->ToggleMagnifier();
    EXPECT_EQ(editor->Magnifier().texture, nullptr);
    OpenFont(FontBytes::LayoutA({kGlyph, Glyph(0.5f, 0.5f, 0.5625f)}));
    ASSERT_NE(editor->Magnifier().texture, nullptr);
    const auto redraws = [&] { return std::exchange(view.magnifierRedraws, 0); };
    redraws();
    view.MoveSelector(1);
    EXPECT_GT(redraws(), 0);
    EXPECT_EQ(editor->Magnifier().left, 256);
    editor->ClickArrow(Control::Command5);
    EXPECT_GT(redraws(), 0);
    EXPECT_EQ(editor->Magnifier().left, 258);
    editor->Undo();
    EXPECT_EQ(editor->Magnifier().left, 256);

    // A click on another glyph in the magnifier selects it.
    editor->OnMagnifierResized(400, 400);
    const editor::MagnifierPicture shown = editor->Magnifier();
    Click(Surface::Magnifier, {static_cast<int>(shown.ScreenX(150)), static_cast<int>(shown.ScreenY(270))});
    EXPECT_EQ(view.selectorValue, 0);

    editor->ZoomMagnifier(4);
    editor->OnMagnifierClosed();
    EXPECT_FALSE(view.magnifierShown);
    redraws();
    view.MoveSelector(1);
    EXPECT_EQ(redraws(), 0) << "closed, it is not drawn";
    editor->ToggleMagnifier();
    EXPECT_EQ(editor->Magnifier().factor, 12) << "the factor is kept";

    // A press held in the magnifier goes with it, however it is hidden.
    for (const bool byItsItem : {true, false}) {
        if (!view.magnifierShown) editor->ToggleMagnifier();
        const editor::MagnifierPicture at = editor->Magnifier();
        editor->PressPicture(Surface::Magnifier, static_cast<int>(at.ScreenX(140)), static_cast<int>(at.ScreenY(270)));
        if (byItsItem) editor->ToggleMagnifier();
        else editor->OnMagnifierClosed();
        editor->ZoomMagnifier(-1);
        EXPECT_EQ(editor->Magnifier().factor, at.factor - 1) << byItsItem;
        view.MoveSelector(1);
        Click(Surface::Picture1, {140, 270});
        EXPECT_EQ(view.selectorValue, 0) << "Picture1 takes presses again";
    }
}

TEST_F(PictureEdit, TheMagnifierFramesTheStoredCellAndDragsEveryEdge) {
    OpenFont(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f + 1 / 4096.0f), Glyph(0.25f, 0.5f, 0.25f)}));
    editor->ToggleMagnifier();
    editor->OnMagnifierResized(640, 480);
    editor::MagnifierPicture shown = editor->Magnifier();
    EXPECT_EQ(shown.regionWidth, 49) << "the texture pixel the right edge cuts is shown";
    const int x = static_cast<int>(shown.ScreenX(140)), y = static_cast<int>(shown.ScreenY(256));
    Drag(Surface::Magnifier, {x, y}, {x, y + 4 * shown.factor}, false);
    EXPECT_EQ(Shown(Box::Text2), "130");
    EXPECT_EQ(editor->Magnifier().top, 260);
    EXPECT_EQ(editor->Magnifier().bottom, 292) << "the cell keeps its height";
    editor->CancelDrag();

    view.MoveSelector(1);  // no width: its side is the right edge, which widens it
    shown = editor->Magnifier();
    const int side = static_cast<int>(shown.ScreenX(128));
    Drag(Surface::Magnifier, {side, y + 16}, {side + 4 * shown.factor, y + 16});
    EXPECT_EQ(Shown(Box::Text1), "64");
    EXPECT_EQ(Shown(Box::Text3), "66");
}

TEST(PixelUnder, IsThePixelThePointLiesInNeverTheNearest) {
    const struct { double position, scale; std::int32_t pixel; } rows[] = {
        {157.5, 1, 157}, {157.99, 1, 157}, {158, 1, 158}, {315, 2, 157}, {316, 2, 158}, {-0.5, 1, -1}, {-1, 2, -1}, {0, 2, 0},
        {1e300, 1, 1 << 30}, {-1e300, 2, -(1 << 30)},
    };
    for (const auto& row : rows) EXPECT_EQ(editor::PixelUnder(row.position, row.scale), row.pixel) << row.position << " at " << row.scale;
}

TEST_F(PictureEdit, KeysTheWheelAndALostMouseFollowOneRuleInBothWindows) {
    OpenFont(FontBytes::LayoutA({kGlyph}));
    editor->ToggleMagnifier();
    EXPECT_FALSE(editor->PressKey(Surface::Picture1, Key::Escape)) << "nothing held: the window's own key";
    EXPECT_FALSE(editor->PressKey(Surface::Picture1, Key::Plus)) << "typed in a box";
    EXPECT_TRUE(editor->PressKey(Surface::Magnifier, Key::Plus));
    EXPECT_EQ(editor->Magnifier().factor, 9);
    EXPECT_TRUE(editor->PressKey(Surface::Magnifier, Key::Minus));
    // Ctrl and the wheel over the magnifier: a step a notch of 120, parts of one adding up, a turn back afresh.
    const struct { Surface surface; int delta; bool control, taken; int factor; } turns[] = {
        {Surface::Magnifier, 120, false, false, 8}, {Surface::Picture1, 120, true, false, 8},
        {Surface::Magnifier, 240, true, true, 10},  {Surface::Magnifier, 60, true, true, 10},
        {Surface::Magnifier, 59, true, true, 10},   {Surface::Magnifier, 1, true, true, 11},
        {Surface::Magnifier, 100, true, true, 11},  {Surface::Magnifier, -40, true, true, 11},
        {Surface::Magnifier, -80, true, true, 10},  {Surface::Magnifier, -120 * 20, true, true, 2},
    };
    for (const auto& turn : turns) {
        EXPECT_EQ(editor->TurnWheel(turn.surface, turn.delta, turn.control), turn.taken) << turn.delta;
        EXPECT_EQ(editor->Magnifier().factor, turn.factor) << turn.delta;
    }
    // A press goes when its own window loses the mouse, not when the other one does.
    Drag(Surface::Picture1, {128, 270}, {140, 270}, false);
    editor->LostMouse(Surface::Magnifier);
    EXPECT_EQ(Shown(Box::Text1), "70");
    editor->LostMouse(Surface::Picture1);
    EXPECT_EQ(Shown(Box::Text1), "64");
    EXPECT_FALSE(editor->Dragging());
}

TEST_F(PictureEdit, TheMagnifierIsPaintedFromOneDescription) {
    using Rect = editor::MagnifierDrawing::Rect;
    OpenFont(FontBytes::LayoutA({kGlyph, Glyph(0, 0, 4 / 512.0f)}));
    editor->ToggleMagnifier();
    editor->OnMagnifierResized(400, 400);
    // At 8: the region 120..167 x 248..295 from (8, 8) on; the outline's sides at 72 and 328.
    editor::MagnifierDrawing drawing = editor->DrawMagnifier();
    ASSERT_NE(drawing.texture, nullptr);
    EXPECT_EQ(drawing.source, (Rect{120, 248, 168, 296}));
    EXPECT_EQ(drawing.target, (Rect{8, 8, 392, 392}));
    ASSERT_EQ(drawing.over.size(), 47u * 2 + 4) << "a line between each two pixels, and four sides";
    EXPECT_EQ(drawing.over[0].rect, (Rect{16, 8, 17, 392}));
    EXPECT_EQ(drawing.over[47].rect, (Rect{8, 16, 392, 17}));
    EXPECT_EQ(drawing.over[94].rect, (Rect{71, 71, 329, 73}));
    EXPECT_EQ(drawing.over[96].rect, (Rect{71, 71, 73, 329}));
    EXPECT_EQ(drawing.over[97].rect, (Rect{327, 71, 329, 329}));
    EXPECT_EQ(drawing.over[97].colour, (picture::Rgba{255, 0, 0, 255}));
    editor->OnMagnifierResized(100, 100);  // from -142 on: only the lines at 2 to 98 are in the window
    EXPECT_EQ(editor->DrawMagnifier().over.size(), 13u * 2 + 4);

    // From the grid's factor on, lines; below it none; at the texture's corner only what lies on it.
    editor->OnMagnifierResized(400, 400);
    editor->ZoomMagnifier(editor::kMagnifierGridFrom - 8);
    EXPECT_EQ(editor->DrawMagnifier().over.size(), 47u * 2 + 4);
    editor->ZoomMagnifier(-1);
    view.MoveSelector(1);
    drawing = editor->DrawMagnifier();
    EXPECT_EQ(drawing.source, (Rect{0, 0, 12, 40}));
    EXPECT_EQ(drawing.target, (Rect{190, 120, 250, 320}));
    EXPECT_EQ(drawing.over.size(), 4u);

    // A texture of 256 x 256 has half a pixel for each of the region's.
    const picture::Image small{256, 256, std::vector<picture::Rgba>(256 * 256)};
    const editor::MagnifierPicture region{.texture = &small, .factor = 8, .regionLeft = 121, .regionTop = 249,
                                          .regionWidth = 47, .regionHeight = 47};
    drawing = editor::PaintMagnifier(region, 400, 400);
    EXPECT_EQ(drawing.source, (Rect{60, 124, 84, 148}));
    EXPECT_EQ(drawing.target, (Rect{-8, -8, 376, 376}));
    EXPECT_EQ(drawing.over.size(), 23u * 2 + 4);
}

// A 1,024 x 1,024 TGA: four of its pixels to a unit, clear ones over the board, the same drags.
TEST_F(PictureEdit, TheMagnifierShowsATgasOwnPixels) {
    picture::Image texture = picture::Filled(1024, 1024, {255, 255, 255, 0});
    texture.At(256, 512) = {255, 255, 255, 255};
    const auto font = Write("font1.gmf", FontBytes::LayoutA({kGlyph}).bytes());
    editor->OpenFromCommandLine(font, Write("font1.tga", testing_support::Tga32(texture, true)));
    editor->ToggleMagnifier();
    editor->OnMagnifierResized(400, 400);
    const editor::MagnifierDrawing drawing = editor->DrawMagnifier();
    ASSERT_NE(drawing.texture, nullptr);
    EXPECT_EQ(drawing.texture->width, 1024);
    EXPECT_EQ(drawing.texture->At(256, 512), (picture::Rgba{255, 255, 255, 255}));
    EXPECT_EQ(drawing.texture->At(257, 512), (picture::Rgba{0x30, 0x30, 0x30, 255}));
    EXPECT_EQ(drawing.source, (editor::MagnifierDrawing::Rect{240, 496, 336, 592}));
    EXPECT_EQ(drawing.target, (editor::MagnifierDrawing::Rect{8, 8, 392, 392}));
    EXPECT_EQ(drawing.over.size(), 4u) << "4 screen pixels to a texture pixel: no grid";
    const editor::MagnifierPicture shown = editor->Magnifier();
    const int x = static_cast<int>(shown.ScreenX(128)), y = static_cast<int>(shown.ScreenY(270));
    Drag(Surface::Magnifier, {x, y}, {x + 8, y});
    EXPECT_EQ(Shown(Box::Text1), "65");
}

}  // namespace
