// Files dropped on the window: which of them is the font and which the picture, and when a drop
// is refused.
#include <filesystem>

#include "tests/editor/editor_fixture.h"
#include "tests/support/tga.h"

namespace {

using editor::Control;
using editor::Label;
using editor::Surface;
using testing_support::EditorTest;
using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::GreyBmp;

class DropFiles : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        const auto font = FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f, 1)}).bytes();
        Write("other.gmf", font);  // no BMP beside it
        Write("pic.BMP", GreyBmp());
        Write("small.bmp", GreyBmp(256, 256));
        Write("caps.GMF", font);
        const auto tga = testing_support::Tga32(picture::Filled(64, 32, {255, 255, 255, 0}), true);
        Write("font1.tga", tga);
        Write("PIC.TGA", tga);
        Write("game.gmf", font);  // the game's texture beside it, no BMP
        Write("game.tga", tga);
        std::filesystem::create_directory(PathOf("folder.gmf"));
    }

    void Drop(const std::vector<std::string>& names) {
        std::vector<std::filesystem::path> files;
        for (const std::string& name : names) files.push_back(PathOf(name));
        editor->DropFiles(files);
    }

    std::string Caption(Label label) { return view.captions.count(label) ? view.captions.at(label) : ""; }
};

TEST_F(DropFiles, TheFontAndThePictureAreTheCommandLines) {
    struct Row {
        std::vector<std::string> dropped;
        bool fontShown;
        std::string font;           // Label5 after the drop; "" when nothing opened
        std::string picture;        // Label4 after the drop
        std::string asked = {};     // the picture dialog's title, when it asks
        bool refused = false;       // the size message
    };
    const Row rows[] = {
        {{"font1.gmf"}, false, "font1.gmf", "font1.bmp"},
        {{"pic.BMP", "other.gmf"}, false, "other.gmf", "pic.BMP"},
        {{"other.gmf"}, true, "", "", "Загрузить файл other.bmp"},
        {{"caps.GMF", "pic.BMP"}, false, "caps.GMF", "pic.BMP"},
        {{"pic.BMP"}, true, "", "pic.BMP"},  // the font is not opened again
        {{"small.bmp"}, true, "", "", "", true},
        {{"font1.tga"}, true, "", "font1.tga"},  // the game's texture, at any size
        {{"PIC.TGA", "other.gmf"}, false, "other.gmf", "PIC.TGA"},
        {{"game.gmf"}, false, "game.gmf", "game.tga"},
        // Refused: nothing happens at all.
        {{"pic.BMP"}, false, "", ""},
        {{"font1.gmf", "other.gmf"}, true, "", ""},
        {{"font1.bmp", "pic.BMP"}, true, "", ""},
        {{"folder.gmf", "pic.BMP"}, false, "", ""},
        {{"pic.BMP", "notes.txt"}, false, "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.dropped));
        view = testing_support::FakeView();  // a fresh window and editor for each row
        editor = std::make_unique<editor::Editor>(view, separator);
        view.editor = editor.get();
        Write("font1.gmf", FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f, 1)}).bytes());
        Write("font1.bmp", GreyBmp());
        if (row.fontShown) Open(PathOf("font1.gmf"), PathOf("font1.bmp"));
        view.captions.erase(Label::Label4);
        view.captions.erase(Label::Label5);
        view.TakeCalls();
        if (!row.asked.empty()) view.answers = {std::nullopt};

        Drop(row.dropped);

        const bool opens = !row.font.empty() || !row.picture.empty() || !row.asked.empty() || row.refused;
        EXPECT_EQ(view.TakeCalls().empty(), !opens);
        EXPECT_EQ(Caption(Label::Label5), row.font.empty() ? "" : runtime::DisplayPath(PathOf(row.font)));
        EXPECT_EQ(Caption(Label::Label4), row.picture.empty() ? "" : runtime::DisplayPath(PathOf(row.picture)));
        EXPECT_EQ(view.questions.empty() ? "" : view.questions.back().title,
                  row.asked.empty() && row.fontShown ? "Загрузить файл font1.bmp" : row.asked);
        EXPECT_EQ(view.messages.size(), row.refused ? 1u : 0u);
    }
}

TEST_F(DropFiles, ATextureKeepsTheFontAndItsHistoryAndNothingIsTakenWhileAPromptIsOpen) {
    const auto path = OpenFont(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f, 1)}));
    editor->ClickArrow(Control::Command5);
    const auto clicked = FileBytes(path);
    Open(path, PathOf("small.bmp"));  // refused: the picture hidden, the font still written
    ASSERT_FALSE(view.IsVisible(Control::Picture1));
    Write("pic.BMP", GreyBmp(512, 512, 0x80));
    Drop({"pic.BMP"});
    EXPECT_TRUE(view.IsVisible(Control::Picture1) && view.IsEnabled(Control::scr) && view.IsEnabled(Control::FitGlyph));
    EXPECT_EQ(view.texture->At(0, 0).r, 0x80) << "taken after a refused one";
    EXPECT_EQ(Caption(Label::Label4), runtime::DisplayPath(PathOf("pic.BMP")));
    EXPECT_TRUE(view.watched && view.watched->filename() == "pic.BMP") << "the dropped texture is followed";
    EXPECT_EQ(view.questions.size(), 4u) << "the font is not opened again";
    editor->Undo();
    EXPECT_NE(FileBytes(path), clicked) << "the history stays";

    // While a message, then the font dialog, is open: a drop, a drag, a zoom.
    view.whilePromptOpen = [&] {
        Drop({"font1.gmf", "font1.bmp"});
        editor->PressPicture(Surface::Picture1, 128, 270);
        editor->MovePicture(Surface::Picture1, 140, 270);
        editor->ReleasePicture(Surface::Picture1, 140, 270);
        editor->ZoomMagnifier(2);
    };
    const auto undone = FileBytes(path);
    Drop({"small.bmp"});
    EXPECT_EQ(view.texture->At(0, 0).r, 0x80) << "a refused texture changes nothing";
    EXPECT_EQ(FileBytes(path), undone);
    EXPECT_EQ(editor->Magnifier().factor, editor::kDefaultMagnification);
    view.answers = {std::nullopt};
    view.TakeCalls();
    editor->OpenCommand();
    EXPECT_EQ(view.TakeCalls(), (std::vector<std::string>{"ask Загрузить файл *.gmf"}));
    EXPECT_EQ(FileBytes(path), undone) << "nothing stored that no undo could reach";

    // A message that comes mid-drag takes the drag with it: its release never reaches the window.
    view.whilePromptOpen = nullptr;
    editor->PressPicture(Surface::Picture1, 128, 270);
    editor->MovePicture(Surface::Picture1, 140, 270);
    Write("pic.BMP", GreyBmp(256, 256));
    editor->OnWatchedFileChanged();
    view.TimerRunsOut(editor::Timer::TextureSettled);
    editor->ReleasePicture(Surface::Picture1, 140, 270);
    EXPECT_EQ(FileBytes(path), undone);
}

}  // namespace
