// Glyphs drawn from a TrueType font through the window's dialog: its values to the plan, the one
// step that writes texture and records, and the followed texture.
#include <chrono>
#include <filesystem>

#include "editor/texts.h"
#include "tests/editor/editor_fixture.h"
#include "tests/gmftool/run_gmftool.h"
#include "tests/support/tga.h"

namespace {

using editor::RenderValues;
using testing_support::EditorTest;
using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::GreyBmp;

bool Says(const std::vector<std::string>& notes, const std::string& part) {
    for (const std::string& note : notes) {
        if (note.find(part) != std::string::npos) return true;
    }
    return false;
}

class DrawGlyphs : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        // Four glyphs side by side in a cell of 32 rows, the rest of the texture free.
        font = Write("font1.gmf", FontBytes::LayoutA({Glyph(0, 0, 0.03125f), Glyph(0.03125f, 0, 0.0625f), Glyph(0.0625f, 0, 0.09375f),
                                                     Glyph(0.09375f, 0, 0.125f)})
                                      .bytes());
        texture = Write("font1.bmp", GreyBmp(512, 512, 0x10));
        editor->OpenFromCommandLine(font);
        fontBefore = FileBytes(font);
        textureBefore = FileBytes(texture);
        shownBefore = view.texture->pixels;
        values.typeface = RUNEPLOT_TEST_TTF;
        values.characters = "АБВ";
        values.firstGlyph = 2;
    }

    // The dialog opened from the menu, shown the values, and closed with Draw when asked.
    editor::RenderPreview Dialog(bool draw) {
        editor::RenderPreview preview;
        view.renderDialog = [&](const RenderValues& shown) -> std::optional<RenderValues> {
            opened = shown;
            preview = editor->PreviewRender(values);
            return draw ? std::optional(values) : std::nullopt;
        };
        editor->DrawGlyphsCommand();
        return preview;
    }

    // What gmftool render writes for the same values into copies of the files.
    std::pair<std::vector<std::byte>, std::vector<std::byte>> Rendered(const std::string& name = "font1.bmp") {
        std::filesystem::create_directory(PathOf("gm"));
        const std::filesystem::path copy = Write("gm/font1.gmf", fontBefore);
        const std::filesystem::path picture = Write("gm/" + name, textureBefore);
        const auto result = testing_support::RunGmftool(
            {"render", copy.string(), "--picture", picture.string(), "--ttf", RUNEPLOT_TEST_TTF, "--chars", "АБВ", "--at", "2", "--no-backup"});
        EXPECT_EQ(result.status, 0) << result.err;
        return {FileBytes(copy), FileBytes(picture)};
    }

    std::filesystem::path font;
    std::filesystem::path texture;
    std::vector<std::byte> fontBefore;
    std::vector<std::byte> textureBefore;
    RenderValues values;
    std::vector<picture::Rgba> shownBefore;
    std::optional<RenderValues> opened;
};

TEST_F(DrawGlyphs, TheDialogsValuesToThePlan) {
    view.MoveSelector(2);
    EXPECT_TRUE(Dialog(false).canDraw);
    EXPECT_EQ(opened->firstGlyph, 3) << "the selected glyph, counted from 1";
    EXPECT_TRUE(opened->typeface.empty()) << "none chosen yet";
    view.answers.push_back(std::filesystem::path(RUNEPLOT_TEST_TTF));
    EXPECT_EQ(editor->ChooseTypeface({}), std::filesystem::path(RUNEPLOT_TEST_TTF));
    Dialog(false);
    EXPECT_EQ(opened->typeface, std::filesystem::path(RUNEPLOT_TEST_TTF)) << "the last one chosen";

    struct Row {
        const char* what;
        void (*change)(RenderValues&);
        bool canDraw;
        bool shown;  // the texture around the glyphs shown in the preview
        std::string says;
    };
    const Row rows[] = {
        {"defaults, to the table's last glyph", [](RenderValues&) {}, true, true, "(наибольший"},
        {"a given size", [](RenderValues& v) { v.px = 12; }, true, true, "Размер 12 пикс., базовая линия"},
        {"a missing character", [](RenderValues& v) { v.firstGlyph = 1; v.characters = "А\u4E00Б\u4E01"; }, false, true, "'\u4E00' (U+4E00), '\u4E01' (U+4E01)"},
        {"the largest size", [](RenderValues& v) { v.px = 8192; v.baseline = 8192; }, false, true, "Нет места для"},
        {"past the largest size", [](RenderValues& v) { v.px = 8193; }, false, true, "от 1 до 8192 пикс."},
        {"no size", [](RenderValues& v) { v.px = 0; }, false, true, "от 1 до 8192 пикс."},
        {"a baseline above the cell", [](RenderValues& v) { v.baseline = -1; }, false, true, "от 0 до 8192"},
        {"no room", [](RenderValues& v) { v.px = 1000; }, false, true, "Нет места для: 2 'А' (U+0410), 3 'Б' (U+0411), 4 'В' (U+0412)"},
        {"from the last glyph, past the table", [](RenderValues& v) { v.firstGlyph = 4; }, false, true, "№ 6, а в шрифте их 4"},
        {"from past the table", [](RenderValues& v) { v.firstGlyph = 5; }, false, false, "№ 7, а в шрифте их 4"},
        {"no characters", [](RenderValues& v) { v.characters.clear(); }, false, true, "Нет символов"},
        {"a code page to the table's end", [](RenderValues& v) { v.fromCodePage = true; v.firstByte = 0xC0; }, true, true, "базовая линия"},
        {"no font file", [](RenderValues& v) { v.typeface.clear(); }, false, true, "Выберите файл шрифта"},
        {"not a font", [](RenderValues& v) { v.typeface = v.typeface.parent_path(); }, false, true, "Шрифт не прочитан"},
    };
    for (const Row& row : rows) {
        values = {};
        values.typeface = RUNEPLOT_TEST_TTF;
        values.characters = "АБВ";
        values.firstGlyph = 2;
        row.change(values);
        const editor::RenderPreview preview = editor->PreviewRender(values);
        EXPECT_EQ(preview.canDraw, row.canDraw) << row.what;
        EXPECT_EQ(preview.image.pixels[0] != picture::kBlack, row.shown) << row.what;
        EXPECT_TRUE(Says(preview.notes, row.says)) << row.what << ": " << (preview.notes.empty() ? "" : preview.notes.back());
    }
    EXPECT_EQ(FileBytes(font), fontBefore) << "a preview writes nothing";
    EXPECT_EQ(FileBytes(texture), textureBefore);
}

TEST(PreviewPicture, TheGlyphsOnTheTextureMagnifiedWithTheirBorders) {
    const picture::Rgba grey{16, 16, 16, 255}, red{255, 0, 0, 255};
    const picture::Picture texture{picture::Filled(512, 512, grey), {}};
    glyphs::RenderPlan plan;
    glyphs::PlannedGlyph& glyph = plan.glyphs.emplace_back();
    glyph.placement = glyphs::Placement::Moved;
    glyph.rect = {0, 0, 8, 8};
    glyph.oldRect = glyphs::PixelRect{600, 0, 640, 32};  // off the texture: nothing of it shows
    picture::Image preview = editor::PreviewPicture(texture, plan, red);
    // 12 x 12 pixels with the margin, at 8x.
    EXPECT_EQ(preview.At(0, 0), red);
    EXPECT_EQ(preview.At(63, 30), red);
    EXPECT_EQ(preview.At(30, 63), red);
    EXPECT_EQ(preview.At(64, 30), grey);
    EXPECT_EQ(preview.At(95, 95), grey);
    EXPECT_EQ(preview.At(96, 0), picture::kBlack);
    plan.glyphs[0].placement = glyphs::Placement::NoRoom;
    preview = editor::PreviewPicture(texture, plan, red);
    EXPECT_EQ(preview.At(editor::kPreviewWidth - 1, editor::kPreviewHeight - 1), grey) << "the texture from its top left";
}

// The TrueType file chosen with "…" or typed and drawn with is kept in the settings as the
// dialogs name files, and a new window offers it again.
TEST_F(DrawGlyphs, TheLastTypefaceIsKeptInTheSettings) {
    testing_support::FakeSettings settings;
    const auto start = [&] {
        editor = std::make_unique<editor::Editor>(view, separator, &settings);
        view.editor = editor.get();
        editor->OpenFromCommandLine(font);
    };
    start();
    const std::filesystem::path ttf(RUNEPLOT_TEST_TTF);
    view.answers.push_back(ttf.parent_path() / "." / ttf.filename());
    EXPECT_EQ(editor->ChooseTypeface({}), ttf);
    EXPECT_EQ(editor::ReadSettings(settings).typeface, ttf);
    const std::filesystem::path typed = Write("typed.ttf", FileBytes(ttf));
    values.typeface = typed.parent_path() / "." / typed.filename();
    Dialog(true);
    EXPECT_EQ(editor::ReadSettings(settings).typeface, typed);
    start();
    Dialog(false);
    EXPECT_EQ(opened->typeface, typed);
}

TEST_F(DrawGlyphs, DrawsAsGmftoolRenderInOneStepThatUndoAndRedoTakeWhole) {
    const auto [fontRendered, textureRendered] = Rendered();
    ASSERT_NE(textureRendered, textureBefore);
    Dialog(false);
    EXPECT_EQ(FileBytes(texture), textureBefore) << "cancelled: nothing written";
    const int shown = view.texturesShown;

    Dialog(true);
    EXPECT_TRUE(view.messages.empty()) << view.messages.back();
    EXPECT_EQ(FileBytes(font), fontRendered);
    EXPECT_EQ(FileBytes(texture), textureRendered);
    EXPECT_EQ(view.texturesShown, shown + 1);
    EXPECT_NE(view.texture->pixels, shownBefore) << "the drawn glyphs are shown";

    // The window's own write is no save to follow; the next save from elsewhere is.
    view.TakeCalls();
    editor->OnWatchedFileChanged();
    view.TimerRunsOut(editor::Timer::TextureSettled);
    EXPECT_EQ(view.TakeCalls(), (std::vector<std::string>{"start TextureSettled 250"}));

    editor->Undo();
    EXPECT_EQ(FileBytes(font), fontBefore);
    EXPECT_EQ(FileBytes(texture), textureBefore);
    EXPECT_EQ(view.texture->pixels, shownBefore) << "the texture shown as the file holds it again";
    view.TakeCalls();
    editor->OnWatchedFileChanged();
    view.TimerRunsOut(editor::Timer::TextureSettled);
    EXPECT_EQ(view.TakeCalls(), (std::vector<std::string>{"start TextureSettled 250"})) << "nor is the undo's";
    EXPECT_TRUE(view.IsEnabled(editor::Control::Redo));
    editor->Redo();
    EXPECT_EQ(FileBytes(font), fontRendered);
    EXPECT_EQ(FileBytes(texture), textureRendered);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(DrawGlyphs, OnTheGamesTgaWithAlphaAsGmftoolRenderToo) {
    texture = Write("font1.tga", testing_support::Tga32(picture::Filled(1024, 1024, {255, 255, 255, 0}), true));
    textureBefore = FileBytes(texture);
    editor->OpenFromCommandLine(font, texture);
    const auto [fontRendered, textureRendered] = Rendered("font1.tga");
    Dialog(true);
    EXPECT_EQ(FileBytes(font), fontRendered);
    EXPECT_EQ(FileBytes(texture), textureRendered);
}

TEST_F(DrawGlyphs, AnOutsideSaveOfTheTextureRefusesTheUndoAndIsFollowed) {
    Dialog(true);
    const std::vector<std::byte> fontDrawn = FileBytes(font);
    Write("font1.bmp", GreyBmp(512, 512, 0x20));
    std::filesystem::last_write_time(texture, std::filesystem::last_write_time(texture) + std::chrono::seconds(5));
    editor->Undo();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find(editor::TextOf(editor::Text::TextureChanged, editor::Language::Russian)), std::string::npos) << view.messages[0];
    EXPECT_EQ(FileBytes(font), fontDrawn) << "nothing written";
    EXPECT_EQ(FileBytes(texture), GreyBmp(512, 512, 0x20));

    editor->OnWatchedFileChanged();
    view.TimerRunsOut(editor::Timer::TextureSettled);
    EXPECT_EQ(view.texture->At(10, 10).r, 0x20);

    // Nothing is drawn for a character the font lacks, however the dialog was closed.
    values.characters = "\u4E00";
    Dialog(true);
    EXPECT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(FileBytes(font), fontDrawn);

    // An undo of a drawing into a texture no longer shown leaves the one shown alone.
    values.characters = "АБВ";
    Dialog(true);
    editor->DropFiles({Write("other.bmp", GreyBmp(512, 512, 0x30))});
    editor->Undo();
    EXPECT_EQ(FileBytes(texture), GreyBmp(512, 512, 0x20));
    EXPECT_EQ(view.texture->At(10, 10).r, 0x30);
}

}  // namespace
