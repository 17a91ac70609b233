// The arrows' store and the save of the font parameters, compared byte for byte with the file.
#include <filesystem>

#include "tests/editor/editor_fixture.h"
#include "tests/support/read_only.h"

namespace {

using editor::Box;
using editor::Control;
using testing_support::EditorTest;
using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::With;

constexpr std::size_t kRecord0 = 44;  // layout A
constexpr std::size_t kLeft = kRecord0, kTop = kRecord0 + 4, kRight = kRecord0 + 8, kAspect = kRecord0 + 12;

float Edit(float editUnits) { return editUnits / 256; }

// A text followed by spaces.
std::string Padded(std::string text, std::size_t spaces) { return text.append(spaces, ' '); }

class EditInLocale : public EditorTest, public ::testing::WithParamInterface<char> {
protected:
    EditInLocale() : EditorTest(GetParam()) {}
    // A number as this locale shows it.
    std::string L(std::string text) const {
        for (char& c : text) {
            if (c == '.') c = GetParam();
        }
        return text;
    }

    // One glyph with the given edges in edit units.
    void OpenGlyph(float left, float top, float right, float cellHeight = 0.0625f) {
        path = OpenFont(FontBytes::LayoutA({Glyph(Edit(left), Edit(top), Edit(right), (Edit(right) - Edit(left)) / cellHeight)})
                            .Header(16, cellHeight, 0.03125f));
        before = FileBytes(path);
    }

    // Changes the file behind the editor's back: a refresh would show it, so none must run.
    void ChangeLeftOnDisk(float editUnits) {
        runtime::WriteNewFile(path, With(FileBytes(path), kLeft, Edit(editUnits)));
        before = FileBytes(path);
    }

    void Click(Control arrow) { editor->ClickArrow(arrow); }

    std::filesystem::path path;
    std::vector<std::byte> before;
};

INSTANTIATE_TEST_SUITE_P(Locales, EditInLocale, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? "Point" : "Comma"; });

TEST_P(EditInLocale, EachArrowMovesItsEdgeAndStoresTheGlyphAsReadBack) {
    const struct { Control arrow; Box box; std::size_t field; float edge; } arrows[] = {
        {Control::Command5, Box::Text1, kLeft, 101}, {Control::Command4, Box::Text1, kLeft, 99},
        {Control::Command7, Box::Text2, kTop, 129},  {Control::Command6, Box::Text2, kTop, 127},
        {Control::Command2, Box::Text3, kRight, 111}, {Control::Command3, Box::Text3, kRight, 109},
    };
    for (const auto& a : arrows) {
        OpenGlyph(100, 128, 110);
        Click(a.arrow);
        const float left = a.field == kLeft ? Edit(a.edge) : Edit(100), right = a.field == kRight ? Edit(a.edge) : Edit(110);
        EXPECT_EQ(FileBytes(path), With(With(before, a.field, Edit(a.edge)), kAspect, (right - left) / 0.0625f));
        EXPECT_EQ(Shown(a.box), L(std::to_string(static_cast<int>(a.edge))));
        EXPECT_TRUE(view.messages.empty());
    }
}

TEST_P(EditInLocale, TheStoreWritesAllFourFieldsFromTheBoxes) {
    // 100 to 110 edit units in cells of 0.0625: 0.625 cell heights; the file held something else.
    path = OpenFont(FontBytes::LayoutA({Glyph(Edit(100), 0.5f, Edit(111), 99)}).Header(16, 0.0625f, 0));
    before = FileBytes(path);
    Click(Control::Command3);
    EXPECT_EQ(FileBytes(path), With(With(before, kRight, Edit(110)), kAspect, 0.625f));
}

TEST_P(EditInLocale, TheBoxesShowTheStoredBinary32) {
    // The box's 15 digits go into the file as a binary32; the view shows what it holds.
    OpenGlyph(100, 10, 110);
    Type(Box::Text1, L("100.123456789"));
    Click(Control::Command5);
    EXPECT_EQ(Shown(Box::Text1), L("101.1235"));
    EXPECT_EQ(FileBytes(path), With(With(before, kLeft, static_cast<float>(101.123456789 / 256)), kAspect,
                                    (Edit(110) - static_cast<float>(101.123456789 / 256)) / 0.0625f));
}

TEST_P(EditInLocale, TheUpperGuardOfLeftAndTop) {
    OpenGlyph(256, 256, 300);
    ChangeLeftOnDisk(1);
    view.TakeCalls();
    Click(Control::Command5);
    Click(Control::Command7);
    EXPECT_EQ(FileBytes(path), before) << "no write";
    EXPECT_TRUE(view.TakeCalls().empty()) << "no refresh, no message";

    // 255.5 passes the guard, 256.5 does not; in a comma locale the guard reads 255 and 256.
    OpenGlyph(255.5f, 10, 300);
    Click(Control::Command5);
    EXPECT_EQ(Shown(Box::Text1), L("256.5"));
    EXPECT_EQ(FileBytes(path), With(With(before, kLeft, Edit(256.5f)), kAspect, (Edit(300) - Edit(256.5f)) / 0.0625f));
    ChangeLeftOnDisk(2);
    Click(Control::Command5);
    EXPECT_EQ(Shown(Box::Text1), L("256.5"));
    EXPECT_EQ(FileBytes(path), before);

    // Just below the guard, and the guard's own edge on the top box.
    OpenGlyph(10, 255, 300);
    Click(Control::Command7);
    EXPECT_EQ(Shown(Box::Text2), "256");
    Click(Control::Command7);
    EXPECT_EQ(Shown(Box::Text2), "256");
}

TEST_P(EditInLocale, OnlyTheUpArrowsOfLeftAndTopAreGuarded) {
    OpenGlyph(256, 300, 400);
    Click(Control::Command4);
    Click(Control::Command6);
    Click(Control::Command2);
    EXPECT_EQ(Shown(Box::Text1), "255");
    EXPECT_EQ(Shown(Box::Text2), "299");
    EXPECT_EQ(Shown(Box::Text3), "401");
}

TEST_P(EditInLocale, RightGoesPast256AndDownArrowsBelowZero) {
    OpenGlyph(10, 0, 256);
    Click(Control::Command2);
    Click(Control::Command2);
    EXPECT_EQ(Shown(Box::Text3), "258");
    Click(Control::Command6);
    EXPECT_EQ(Shown(Box::Text2), "-1");
    Click(Control::Command6);
    EXPECT_EQ(Shown(Box::Text2), "-2");
    Click(Control::Command4);
    EXPECT_EQ(FileBytes(path), With(With(With(With(before, kLeft, Edit(9)), kTop, Edit(-2)), kRight, Edit(258)),
                                    kAspect, (Edit(258) - Edit(9)) / 0.0625f));
}

TEST_P(EditInLocale, TheWarningFollowsAStoreThatMakesTheGlyphNarrow) {
    OpenGlyph(106, 10, 110);
    EXPECT_FALSE(view.IsVisible(Control::err));
    Click(Control::Command5);
    EXPECT_TRUE(view.IsVisible(Control::err)) << "110 - 4 is below 107";
    EXPECT_EQ(FileBytes(path), With(With(before, kLeft, Edit(107)), kAspect, (Edit(110) - Edit(107)) / 0.0625f))
        << "the warning never blocks a store";
}

TEST_P(EditInLocale, RefusedStoresWriteNothingAndSayWhy) {
    const struct { float cellHeight; std::string text1; Control arrow; const char* says; const char* why; } cases[] = {
        {0, "100", Control::Command5, "высота", "CellHeight 0"},
        {0.0625f, "", Control::Command4, "не является числом", "an empty box"},
        {0.0625f, "abc", Control::Command2, "не является числом", "a box that is no number, another box's arrow"},
        {0.0625f, "1e300", Control::Command2, "вне допустимого", "beyond binary32"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        OpenGlyph(100, 10, 110, c.cellHeight);
        view.messages.clear();
        Type(Box::Text1, L(c.text1));
        Click(c.arrow);
        EXPECT_EQ(FileBytes(path), before);
        ASSERT_EQ(view.messages.size(), 1u);
        EXPECT_EQ(view.messages[0].rfind("Символ не сохранён: ", 0), 0u) << view.messages[0];
        EXPECT_NE(view.messages[0].find(c.says), std::string::npos) << view.messages[0];
    }
    OpenGlyph(100, 10, 110, 0);
    Click(Control::Command5);
    EXPECT_EQ(Shown(Box::Text1), "101") << "the box keeps its new text until the next refresh";
}

TEST_P(EditInLocale, AStoreThatWouldEndTheTableIsRefused) {
    path = OpenFont(FontBytes::LayoutA({Glyph(Edit(1), 0, 0, -16), Glyph(0.5f, 0.5f, 0.6f)}).Header(16, 0.0625f, 0));
    before = FileBytes(path);
    Click(Control::Command4);
    EXPECT_EQ(FileBytes(path), before);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("таблицу символов"), std::string::npos);
}

TEST_P(EditInLocale, TheLastGlyphOfTheTableIsStoredInPlace) {
    std::vector<font::GlyphRecord> glyphs(5, Glyph(0.25f, 0.5f, 0.3125f));
    path = OpenFont(FontBytes::LayoutA(glyphs));
    before = FileBytes(path);
    view.MoveSelector(4);
    Click(Control::Command3);
    EXPECT_EQ(FileBytes(path), With(With(before, kRecord0 + 4 * 16 + 8, Edit(79)), kRecord0 + 4 * 16 + 12, (Edit(79) - 0.25f) / 0.0625f));
}

class SaveInLocale : public EditInLocale {};

INSTANTIATE_TEST_SUITE_P(Locales, SaveInLocale, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? "Point" : "Comma"; });

TEST_P(SaveInLocale, WritesExactlyTheTwoHeaderValues) {
    OpenGlyph(100, 10, 110);
    Type(Box::Text4, "12.5");
    Type(Box::Text5, "25.6");
    editor->SaveFontParameters();
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(Shown(Box::Text4), L("12.5")) << "the point becomes the locale's separator";
    EXPECT_EQ(Shown(Box::Text5), L("25.6"));
    const auto saved = With(With(before, 8, 12.5f), 20, 0.1f);
    EXPECT_EQ(FileBytes(path), saved);
    editor->SaveFontParameters();
    EXPECT_EQ(FileBytes(path), saved) << "saving twice writes the same bytes";
}

TEST_P(SaveInLocale, NormalisingTheDecimalPoint) {
    OpenGlyph(100, 10, 110);
    Type(Box::Text4, "  1.5  ");
    Type(Box::Text5, "  8  ");
    editor->SaveFontParameters();
    EXPECT_EQ(Shown(Box::Text4), L("1.5")) << "spaces go with the point";
    EXPECT_EQ(Shown(Box::Text5), "  8  ") << "no point: left exactly as it is";
    EXPECT_EQ(FileBytes(path), With(With(before, 8, 1.5f), 20, Edit(8)));
    EXPECT_TRUE(view.messages.empty());
}

TEST_P(SaveInLocale, NothingIsWrittenWhenEitherBoxFails) {
    OpenGlyph(100, 10, 110);
    const std::string notANumber = "не является числом", tooLong = "слишком длинный";
    const struct { std::string fontSize; std::string spaceWidth; std::string says; const char* why; } cases[] = {
        {"1.2.3", "8", notANumber, "two separators"},
        {"12", "", notANumber, "an empty space width"},
        {"1e39", "8", "вне допустимого", "beyond binary32"},
        {"12", "9e40", "вне допустимого", "beyond binary32 in texture units"},
        {std::string(255, '1'), "8", tooLong, "255 characters"},
        {"12", Padded("1", 254), tooLong, "255 characters"},
        {"12", Padded("1", 252) + "\U0001F600", tooLong, "255 characters, the last beyond U+FFFF"},
        // Characters are counted, not bytes: 254 of them in 255 bytes are scanned.
        {"12", Padded(Padded("1", 126) + "\u0436", 126), notANumber, "254 characters, one of them Cyrillic"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        view.messages.clear();
        Type(Box::Text4, c.fontSize);
        Type(Box::Text5, c.spaceWidth);
        editor->SaveFontParameters();
        EXPECT_EQ(FileBytes(path), before);
        ASSERT_EQ(view.messages.size(), 1u);
        EXPECT_NE(view.messages[0].find(c.says), std::string::npos) << view.messages[0];
        EXPECT_EQ(view.messages[0].rfind("Параметры шрифта не сохранены: ", 0), 0u);
    }
    EXPECT_EQ(Shown(Box::Text4), "12");
    Type(Box::Text4, "1.2.3");
    editor->SaveFontParameters();
    EXPECT_EQ(Shown(Box::Text4), L("1.2.3")) << "the normalised text stays after a failure";

    // 254 characters are still scanned.
    Type(Box::Text4, "12");
    Type(Box::Text5, Padded("8", 253));
    editor->SaveFontParameters();
    EXPECT_EQ(FileBytes(path), With(With(before, 8, 12), 20, Edit(8)));
}

TEST_P(SaveInLocale, TheOtherSeparatorIsNoNumber) {
    OpenGlyph(100, 10, 110);
    // A comma in a point locale is a digit group, never silently 125.
    Type(Box::Text4, GetParam() == '.' ? "12,5" : "12.5");
    editor->SaveFontParameters();
    if (GetParam() == '.') {
        EXPECT_EQ(FileBytes(path), before);
        EXPECT_EQ(view.messages.size(), 1u);
    } else {
        EXPECT_EQ(FileBytes(path), With(With(before, 8, 12.5f), 20, 0.03125f));
    }
}

TEST_P(SaveInLocale, NothingIsSavedBeforeAFontIsLoaded) {
    const auto font = Write("font1.gmf", FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f)}).bytes());
    const auto fontBefore = FileBytes(font);
    Open(font, std::nullopt);  // the font chosen, its picture not
    Type(Box::Text4, "20");
    editor->SaveFontParameters();
    editor->ClickArrow(Control::Command5);
    EXPECT_EQ(FileBytes(font), fontBefore);
    EXPECT_TRUE(view.messages.empty());
}

// The files change under the editor between two user actions.
class FilesChangeBetweenActions : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        path = OpenFont(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f), Glyph(0.5f, 0.5f, 0.5625f),
                                            Glyph(0.75f, 0.5f, 0.8125f)}));
        ASSERT_TRUE(view.messages.empty());
    }

    void ExpectOneMessageNamingTheFont() {
        if (view.running.count(editor::Timer::Message)) view.TimerRunsOut(editor::Timer::Message);
        ASSERT_EQ(view.messages.size(), 1u);
        EXPECT_NE(view.messages[0].find(runtime::DisplayPath(path)), std::string::npos) << view.messages[0];
    }

    std::filesystem::path path;
};

TEST_F(FilesChangeBetweenActions, ARenamedFontIsNeitherWrittenNorCreated) {
    const auto moved = PathOf("moved.gmf");
    std::filesystem::rename(path, moved);
    const auto before = FileBytes(moved);
    editor->ClickArrow(Control::Command5);
    ExpectOneMessageNamingTheFont();
    Type(Box::Text4, "20");
    editor->SaveFontParameters();
    EXPECT_EQ(view.messages.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(FileBytes(moved), before);

    // Put back, the font is usable again.
    std::filesystem::rename(moved, path);
    view.MoveSelector(1);
    EXPECT_EQ(view.captions[editor::Label::Label1], "Символ № 2");
    EXPECT_EQ(view.messages.size(), 2u);
}

TEST_F(FilesChangeBetweenActions, ATruncatedFontIsNotExtended) {
    std::filesystem::resize_file(path, 50);  // record 0 cut after its first six bytes
    const auto before = FileBytes(path);
    view.MoveSelector(2);
    // Bytes past the end read as zero: the record shows as empty.
    EXPECT_EQ(Shown(Box::Text1), "0");
    EXPECT_TRUE(view.messages.empty());
    editor->ClickArrow(Control::Command3);  // would write record 2 at 76, far past the end
    EXPECT_EQ(FileBytes(path), before);
    ExpectOneMessageNamingTheFont();
    // Too short even for the header values.
    std::filesystem::resize_file(path, 23);
    Type(Box::Text4, "20");
    editor->SaveFontParameters();
    EXPECT_EQ(FileBytes(path).size(), 23u);
    for (const std::string& message : view.messages) {
        EXPECT_NE(message.find("короче, чем указано в его таблице символов"), std::string::npos) << message;
    }
    EXPECT_EQ(view.messages.size(), 2u);
}

TEST_F(FilesChangeBetweenActions, ADeletedFontFailsTheViewWithAMessage) {
    std::filesystem::remove(path);
    view.MoveSelector(1);
    ExpectOneMessageNamingTheFont();
    EXPECT_FALSE(view.IsEnabled(Control::Command5)) << "nothing is stored for a glyph that was not shown";
    EXPECT_FALSE(std::filesystem::exists(path));
}

#if !defined(_WIN32)
TEST_F(FilesChangeBetweenActions, AReadOnlyFontIsNotWritten) {
    const auto before = FileBytes(path);
    testing_support::ReadOnlyFolder readOnly(PathOf("").string());
    EXPECT_TRUE(testing_support::InChildObeyingPermissions([&] {
        editor->ClickArrow(Control::Command5);
        Type(Box::Text4, "20");
        editor->SaveFontParameters();
        return view.messages.size() == 2 && view.messages[0].rfind("Символ не сохранён", 0) == 0 &&
               view.messages[0].find("только для чтения") != std::string::npos &&
               view.messages[1].rfind("Параметры шрифта не сохранены", 0) == 0;
    })) << "both refused, each with its message";
    EXPECT_EQ(FileBytes(path), before);
}
#endif

}  // namespace
