// Files dropped on the window: which of them is the font and which the picture, and when a drop
// is refused.
#include <filesystem>

#include "tests/editor/editor_fixture.h"

namespace {

using editor::Control;
using editor::Label;
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
        {{"pic.BMP"}, true, "font1.gmf", "pic.BMP"},
        {{"small.bmp"}, true, "", "", "", true},
        // Refused: nothing happens at all.
        {{"pic.BMP"}, false, "", ""},
        {{"font1.gmf", "other.gmf"}, true, "", ""},
        {{"font1.bmp", "pic.BMP"}, true, "", ""},
        {{"folder.gmf", "pic.BMP"}, false, "", ""},
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

        const bool opens = !row.font.empty() || !row.asked.empty() || row.refused;
        EXPECT_EQ(view.TakeCalls().empty(), !opens);
        EXPECT_EQ(Caption(Label::Label5), row.font.empty() ? "" : runtime::DisplayPath(PathOf(row.font)));
        EXPECT_EQ(Caption(Label::Label4), row.picture.empty() ? "" : runtime::DisplayPath(PathOf(row.picture)));
        EXPECT_EQ(view.questions.empty() ? "" : view.questions.back().title,
                  row.asked.empty() && row.fontShown ? "Загрузить файл font1.bmp" : row.asked);
        EXPECT_EQ(view.messages.size(), row.refused ? 1u : 0u);
    }
}

TEST_F(DropFiles, ATextureStartsTheFontAfreshAndNothingIsTakenWhileAPromptIsOpen) {
    OpenFont(FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f, 1)}));
    editor->ClickArrow(Control::Command5);
    ASSERT_TRUE(view.IsEnabled(Control::Undo));
    Drop({"pic.BMP"});
    EXPECT_FALSE(view.IsEnabled(Control::Undo)) << "a new open starts a new history";
    EXPECT_TRUE(view.watched && view.watched->filename() == "pic.BMP") << "the dropped texture is followed";

    // A drop while the size message is open, then while the font dialog is.
    view.whilePromptOpen = [this] { Drop({"font1.gmf", "font1.bmp"}); };
    Drop({"small.bmp"});
    EXPECT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(Caption(Label::Label4), runtime::DisplayPath(PathOf("pic.BMP"))) << "the refused picture is not shown";
    view.answers = {std::nullopt};
    view.TakeCalls();
    editor->OpenCommand();
    EXPECT_EQ(view.TakeCalls(), (std::vector<std::string>{"ask Загрузить файл *.gmf"}));
}

}  // namespace
