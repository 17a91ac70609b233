// The open command's two stages, and the command line that stands in for its dialogs.
#include <filesystem>

#include "tests/editor/editor_fixture.h"

namespace {

using editor::Box;
using editor::Control;
using editor::Label;
using testing_support::EditorTest;
using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::GreyBmp;
using testing_support::WithBmpSize;

using Calls = std::vector<std::string>;

std::vector<font::GlyphRecord> Glyphs(int count) {
    std::vector<font::GlyphRecord> glyphs;
    for (int i = 0; i < count; ++i) glyphs.push_back(Glyph(0.25f, 0.5f, 0.3125f + i / 512.0f, 1));
    return glyphs;
}

const Calls kStartUp = {"disable Frame4", "disable Frame2", "disable scr", "show Shape1", "hide Picture1", "Label1 = ", "info = help"};
const Calls kArrowsOn = {"enable Command2", "enable Command3", "enable Command4", "enable Command5", "enable Command6", "enable Command7"};

Calls Then(Calls first, const Calls& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

class OpenCommand : public EditorTest {};

TEST_F(OpenCommand, TheStartUpRoutineInItsOrder) {
    EXPECT_EQ(view.TakeCalls(), kStartUp);
    ExpectStartUpState();
}

TEST_F(OpenCommand, BothStagesInTheirOrder) {
    const auto font = Write("font1.gmf", FontBytes::LayoutA(Glyphs(120)).Header(12.5f, 0.0625f, 0.1f).bytes());
    const auto picture = Write("font1.bmp", GreyBmp());
    view.TakeCalls();
    Open(font, picture);
    const std::string pictureText = runtime::DisplayPath(picture), fontText = runtime::DisplayPath(font);
    EXPECT_EQ(view.TakeCalls(), Then({"ask Загрузить файл *.gmf", "ask Загрузить файл font1.bmp", "ShowTexture 512x512",
                                      "show Picture1", "hide Shape1", "enable scr", "enable Frame4", "enable Frame2",
                                      "Label4 = " + pictureText, "Label5 = " + fontText, "scr.Max = 119", "Text4 = 12.5",
                                      "Text5 = 25.6", "Cls", "Text1 = 64", "Text2 = 128", "Text3 = 80",
                                      "Label1 = Символ № 1", "hide err"},
                                     Then(kArrowsOn, {"watch font1.bmp"})));
    ASSERT_EQ(view.questions.size(), 2u);
    EXPECT_EQ(view.questions[0].filter, ".gmf|*.gmf");
    EXPECT_EQ(view.questions[1].filter, "Рисунки BMP и TGA (*.bmp;*.tga)|*.bmp;*.tga");
    ASSERT_TRUE(view.texture);
    EXPECT_EQ(view.texture->At(10, 10), (picture::Rgba{0x40, 0x40, 0x40, 255}));
    EXPECT_TRUE(view.messages.empty());

    // The dialogs remember their last choice, and only it.
    Open(font, picture);
    EXPECT_EQ(view.questions[2].lastFile, font);
    EXPECT_EQ(view.questions[3].lastFile, picture);
}

TEST_F(OpenCommand, CancellingTheFontDialogChangesNothing) {
    OpenFont(FontBytes::LayoutA(Glyphs(3)));
    view.TakeCalls();
    view.answers = {std::nullopt};
    editor->OpenCommand();
    EXPECT_EQ(view.TakeCalls(), (Calls{"ask Загрузить файл *.gmf"}));
    EXPECT_TRUE(view.watched) << "the picture is still followed";
}

TEST_F(OpenCommand, CancellingThePictureDialogReturnsToStartUp) {
    const auto font = OpenFont(FontBytes::LayoutA(Glyphs(3)));
    view.MoveSelector(2);
    view.TakeCalls();
    Open(font, std::nullopt);
    EXPECT_EQ(view.TakeCalls(), Then({"ask Загрузить файл *.gmf", "ask Загрузить файл font1.bmp"}, kStartUp));
    ExpectStartUpState();
    // What the start-up routine leaves alone keeps its values.
    EXPECT_EQ(view.selectorValue, 2);
    EXPECT_EQ(view.captions[Label::Label5], runtime::DisplayPath(font));
    EXPECT_EQ(Shown(Box::Text1), "64");
}

TEST_F(OpenCommand, TheBaseNameLosesItsLastFourCharacters) {
    const struct { const char* name; const char* picture; } cases[] = {
        {"font1.gmf", "font1.bmp"},
        {".gmf", ".bmp"},
        {"abcd", ".bmp"},
        {"font1.gm", "font.bmp"},
        {"шрифт.gm", "шриф.bmp"},   // two bytes a letter: the cut is by characters
        {"font.пьа", "font.bmp"},   // ".gmf" typed on a Russian keyboard
        {"ж.gmf", "ж.bmp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Open(Write(c.name, FontBytes::LayoutA(Glyphs(1)).bytes()), std::nullopt);
        EXPECT_EQ(view.questions.back().title, std::string("Загрузить файл ") + c.picture);
        EXPECT_EQ(view.questions.back().filter, "Рисунки BMP и TGA (*.bmp;*.tga)|*.bmp;*.tga");
    }

    // Shorter than four: the command ends silently and the loaded font stays.
    OpenFont(FontBytes::LayoutA(Glyphs(3)));
    for (const char* name : {"abc", "жжж"}) {
        view.TakeCalls();
        view.answers = {Write(name, FontBytes::LayoutA(Glyphs(1)).bytes())};
        editor->OpenCommand();
        EXPECT_EQ(view.TakeCalls(), (Calls{"ask Загрузить файл *.gmf"})) << name;
    }
    editor->ClickArrow(Control::Command2);
    EXPECT_EQ(Shown(Box::Text3), "81") << "the loaded font is still the one edited";
}

TEST_F(OpenCommand, PicturesOfAnotherSizeAreRejectedWithTheMessage) {
    const auto font = Write("font1.gmf", FontBytes::LayoutA(Glyphs(3)).bytes());
    const std::vector<std::byte> core12 = [] {
        // The old core header keeps 16-bit sizes at 18 and 20: 512 x 512 there reads otherwise.
        auto bytes = GreyBmp(16, 16);
        runtime::StoreUint32(12, std::span<std::byte, 4>(bytes.data() + 14, 4));
        bytes[18] = std::byte{0x00}; bytes[19] = std::byte{0x02}; bytes[20] = std::byte{0x00}; bytes[21] = std::byte{0x02};
        bytes[22] = std::byte{1}; bytes[23] = std::byte{0}; bytes[24] = std::byte{24}; bytes[25] = std::byte{0};
        return bytes;
    }();
    const struct { std::vector<std::byte> bytes; const char* why; } pictures[] = {
        {GreyBmp(512, 511), "512 x 511"},
        {GreyBmp(511, 512), "511 x 512"},
        {GreyBmp(256, 256), "256 x 256"},
        {WithBmpSize(GreyBmp(), 512, -512), "top-down"},
        {core12, "12-byte core header"},
        {std::vector<std::byte>(25, std::byte{0}), "shorter than 26 bytes"},
    };
    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.why);
        const auto path = Write("font1.bmp", picture.bytes);
        view.TakeCalls();
        Open(font, path);
        EXPECT_EQ(view.TakeCalls(), (Calls{"ask Загрузить файл *.gmf", "ask Загрузить файл font1.bmp",
                                           "message Ошибка: Графический файл шрифта должен иметь размер 512x512 пикселей.",
                                           "hide Picture1", "show Shape1", "disable scr"}));
    }
}

TEST_F(OpenCommand, ARejectedPictureKeepsTheLoadedFontForTheEditControls) {
    const auto first = OpenFont(FontBytes::LayoutA(Glyphs(3)));
    const auto second = Write("font2.gmf", FontBytes::LayoutB(Glyphs(5)).bytes());
    const auto firstBefore = FileBytes(first), secondBefore = FileBytes(second);
    Open(second, Write("font2.bmp", GreyBmp(256, 256)));
    EXPECT_TRUE(view.IsEnabled(Control::Frame2)) << "left as it was";
    EXPECT_FALSE(view.watched) << "the old picture is no longer followed";

    editor->ClickArrow(Control::Command3);  // a store goes into the font that was loaded
    EXPECT_EQ(FileBytes(second), secondBefore);
    EXPECT_NE(FileBytes(first), firstBefore);
}

TEST_F(OpenCommand, StageTwoFailuresReturnToStartUpSilently) {
    const auto font = Write("font1.gmf", FontBytes::LayoutA(Glyphs(3)).bytes());
    const std::vector<std::byte> whole = GreyBmp();
    const struct { std::filesystem::path picture; const char* why; } cases[] = {
        {Write("fake.bmp", WithBmpSize(std::vector<std::byte>(26, std::byte{0}), 512, 512)), "512 at 18 and 22, nothing else"},
        {PathOf("gone.bmp"), "no such file"},
        {PathOf(""), "a folder"},
        {Write("half.bmp", std::vector<std::byte>(whole.begin(), whole.end() - 1)), "its last pixel's last byte missing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        OpenFont(FontBytes::LayoutA(Glyphs(3)));
        Open(font, c.picture);
        EXPECT_TRUE(view.messages.empty());
        ExpectStartUpState();
    }
}

TEST_F(OpenCommand, AFailingRefreshInsideTheLoadReturnsToStartUpSilently) {
    // The load's own refresh: record 0's top lies far past any preview pixel.
    OpenFont(FontBytes::LayoutA({Glyph(0.25f, 1e10f, 0.5f, 1), Glyph(0.1f, 0.1f, 0.2f)}));
    EXPECT_TRUE(view.messages.empty());
    ExpectStartUpState();
    EXPECT_TRUE(view.running.empty()) << "no message waits either";

    // The refresh that a lower maximum brings, nested in the load.
    OpenFont(FontBytes::LayoutA(Glyphs(10)));
    view.MoveSelector(8);
    std::vector<font::GlyphRecord> glyphs = Glyphs(4);
    glyphs[3] = Glyph(0.25f, 1e10f, 0.5f);
    OpenFont(FontBytes::LayoutA(glyphs));
    EXPECT_EQ(view.selectorValue, 3);
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(view.running.empty());
    ExpectStartUpState();
}

TEST_F(OpenCommand, ReopeningAFontWithFewerGlyphsLowersTheSelection) {
    OpenFont(FontBytes::LayoutA(Glyphs(10)));
    view.MoveSelector(8);
    OpenFont(FontBytes::LayoutA(Glyphs(4)));
    EXPECT_EQ(view.selectorMaximum, 3);
    EXPECT_EQ(view.selectorValue, 3);
    EXPECT_EQ(view.captions[Label::Label1], "Символ № 4");
    EXPECT_EQ(Shown(Box::Text3), "81.5");  // (0.3125 + 3/512) x 256

    OpenFont(FontBytes::LayoutA(Glyphs(10)));
    EXPECT_EQ(view.selectorValue, 3) << "more glyphs keep the selection";
}

TEST_F(OpenCommand, AFontWithoutGlyphsOpensAndSaysSo) {
    const auto font = OpenFont(FontBytes::LayoutB({}).Header(10, 0.0625f, 0.125f));
    const auto before = FileBytes(font);
    EXPECT_EQ(view.TakeCalls().back(), "watch font1.bmp");
    EXPECT_EQ(view.selectorMaximum, 0);
    EXPECT_EQ(view.captions[Label::Label1], "Символов нет");
    EXPECT_EQ(Shown(Box::Text4), "10");
    EXPECT_EQ(Shown(Box::Text5), "32");
    EXPECT_EQ(Shown(Box::Text1), "");
    for (const Control arrow : {Control::Command2, Control::Command3, Control::Command4, Control::Command5,
                                Control::Command6, Control::Command7}) {
        EXPECT_FALSE(view.IsEnabled(arrow));
        editor->ClickArrow(arrow);
    }
    EXPECT_EQ(FileBytes(font), before);
    EXPECT_TRUE(view.messages.empty());
}

class CommandLine : public EditorTest {
protected:
    std::filesystem::path font = Write("font1.gmf", FontBytes::LayoutA(Glyphs(2)).bytes());
};

TEST_F(CommandLine, TheFormsOpenAsTheDialogsWould) {
    // The font alone, with its picture beside it: no dialog.
    const auto picture = Write("font1.bmp", GreyBmp());
    editor->OpenFromCommandLine(font);
    EXPECT_TRUE(view.questions.empty());
    EXPECT_EQ(view.captions[Label::Label4], runtime::DisplayPath(picture));
    EXPECT_EQ(view.captions[Label::Label5], runtime::DisplayPath(font));

    // Font and picture: no dialog, and the picture dialog remembers the name.
    const auto other = Write("other.bmp", GreyBmp());
    editor->OpenFromCommandLine(font, other);
    EXPECT_TRUE(view.questions.empty());
    EXPECT_EQ(view.captions[Label::Label4], runtime::DisplayPath(other));

    // No picture beside the font: the picture dialog asks, remembering the last one.
    std::filesystem::remove(picture);
    view.answers = {other};
    editor->OpenFromCommandLine(font);
    ASSERT_EQ(view.questions.size(), 1u);
    EXPECT_EQ(view.questions[0].title, "Загрузить файл font1.bmp");
    EXPECT_EQ(view.questions[0].lastFile, other);
    EXPECT_TRUE(view.IsVisible(Control::Picture1));

    // A wrong size is refused as in the open command.
    editor->OpenFromCommandLine(font, Write("small.bmp", GreyBmp(256, 256)));
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], "Графический файл шрифта должен иметь размер 512x512 пикселей.");

    // The font dialog then offers the font named on the command line.
    view.answers = {std::nullopt};
    editor->OpenCommand();
    EXPECT_EQ(view.questions.back().lastFile, font);

    // A font in another folder: both dialogs open in it, without the picture chosen elsewhere.
    std::filesystem::create_directory(PathOf("mod"));
    const auto moved = Write("mod/font2.gmf", FontBytes::LayoutA(Glyphs(2)).bytes());
    view.answers = {std::nullopt, std::nullopt};
    editor->OpenFromCommandLine(moved);
    editor->OpenCommand();
    ASSERT_EQ(view.questions.size(), 4u);
    EXPECT_EQ(view.questions[2].folder, moved.parent_path());
    EXPECT_EQ(view.questions[2].lastFile, "");
    EXPECT_EQ(view.questions[3].folder, moved.parent_path());
    EXPECT_EQ(view.questions[3].lastFile, moved);
}

TEST_F(CommandLine, RelativeNamesBecomeFullPaths) {
    Write("font1.bmp", GreyBmp());
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(PathOf(""));
    editor->OpenFromCommandLine("./sub/../font1.gmf");
    std::filesystem::current_path(here);
    EXPECT_EQ(view.captions[Label::Label5], runtime::DisplayPath(font));
    EXPECT_EQ(view.captions[Label::Label4], runtime::DisplayPath(PathOf("font1.bmp")));
}

TEST_F(CommandLine, OddNamesFindThePictureByCharacters) {
    const struct { const char* font; const char* picture; } cases[] = {
        {"шрифт.gm", "шриф.bmp"},
        {"font.пьа", "font.bmp"},
        {"мой шрифт.gmf", "мой шрифт.bmp"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.font);
        const auto picture = Write(c.picture, GreyBmp());
        editor->OpenFromCommandLine(Write(c.font, FontBytes::LayoutA(Glyphs(1)).bytes()));
        EXPECT_TRUE(view.questions.empty());
        EXPECT_TRUE(view.messages.empty());
        EXPECT_EQ(view.captions[Label::Label4], runtime::DisplayPath(picture));
        EXPECT_EQ(view.captions[Label::Label1], "Символ № 1");
    }
    // A wrong-size picture beside "font.пьа" is found, and refused.
    Write("font.bmp", GreyBmp(256, 256));
    editor->OpenFromCommandLine(PathOf("font.пьа"));
    EXPECT_EQ(view.messages.size(), 1u);
}

TEST_F(CommandLine, AFontThatCannotBeOpenedIsSaidAndTheWindowStaysAsItWas) {
    // A name shorter than four characters, which the dialog's rule refuses silently, is said too.
    const std::filesystem::path abc = Write("abc", FontBytes::LayoutA(Glyphs(2)).bytes());
    const struct { std::filesystem::path font; std::string why; } cases[] = {
        {PathOf("missing.gmf"), "не найден"},
        {PathOf(""), "не найден"},
#if defined(_WIN32)
        {PathOf(std::string(125, 'd') + "/" + std::string(125, 'd') + "/missing.gmf"), "Путь длиннее 259 знаков"},
#endif
        {abc, "Файл шрифта " + runtime::DisplayPath(abc) + " не открыт: в имени файла шрифта должно быть не меньше четырёх символов (например, font1.gmf)."},
    };
    for (const auto& c : cases) {
        view.messages.clear();
        editor->OpenFromCommandLine(c.font);
        ASSERT_EQ(view.messages.size(), 1u);
        EXPECT_NE(view.messages[0].find(c.why), std::string::npos) << view.messages[0];
        ExpectStartUpState();
        EXPECT_TRUE(view.questions.empty());
    }
}

}  // namespace
