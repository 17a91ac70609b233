// "Правка": undo and redo of the window's writes, and the fit to the ink, over real files.
#include <gtest/gtest.h>

#include <filesystem>

#include "gmftool/commands.h"
#include "runtime/binary_file.h"
#include "tests/editor/editor_fixture.h"
#include "tests/support/bmp.h"

namespace {

using editor::Box;
using editor::Control;
using testing_support::EditorTest;
using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::InkBlock;
using Bytes = std::vector<std::byte>;

float Edit(float editUnits) { return editUnits / 256; }

// Five glyphs in cells of 32 preview rows: the first, second and fifth have ink a little off
// their edges, the third none, and the fourth's ink fills it exactly, though its Aspect is not
// the one a store would write.
FontBytes FiveGlyphs() {
    return FontBytes::LayoutA({Glyph(Edit(10), Edit(0), Edit(30)), Glyph(Edit(40), Edit(32), Edit(60)),
                               Glyph(Edit(70), Edit(64), Edit(90)), Glyph(Edit(100), Edit(96), Edit(120)),
                               Glyph(Edit(130), Edit(128), Edit(150))});
}
const std::vector<InkBlock> kInk = {{24, 49, 5, 20}, {84, 111, 70, 90}, {200, 239, 195, 210}, {264, 289, 260, 280}};

void Poke(const std::filesystem::path& path, std::uint64_t offset, std::byte value) {
    runtime::BinaryFile::Open(path).Write(offset, Bytes{value});
}

class EditMenu : public EditorTest {
protected:
    void OpenFiveGlyphs() {
        font = Write("font1.gmf", FiveGlyphs().bytes());
        picture = Write("font1.bmp", testing_support::InkOnWhite(512, kInk));
        Open(font, picture);
        original = FileBytes(font);
    }

    // What gmftool fit writes into a copy of the font as it is now.
    Bytes GmftoolFit(const std::vector<std::string>& glyphs) {
        const std::filesystem::path copy = Write("copy.gmf", FileBytes(font));
        std::vector<std::string> arguments = {"fit", copy.string(), "--picture", picture.string()};
        arguments.insert(arguments.end(), glyphs.begin(), glyphs.end());
        testing::internal::CaptureStdout();
        const int status = gmftool::Run(arguments);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(status, 0);
        return FileBytes(copy);
    }

    bool Enabled(Control control) const { return view.IsEnabled(control); }

    std::filesystem::path font;
    std::filesystem::path picture;
    Bytes original;
};

TEST_F(EditMenu, UndoAndRedoOfEachKindOfStepRestoreTheExactBytesAndShowWhatChanged) {
    OpenFiveGlyphs();
    editor->ClickArrow(Control::Command5);  // glyph 1: left 10 -> 11
    const Bytes stored = FileBytes(font);
    Type(Box::Text4, "20");
    Type(Box::Text5, "10");
    editor->SaveFontParameters();
    const Bytes saved = FileBytes(font);
    view.MoveSelector(1);
    editor->FitGlyph();  // glyph 2
    const Bytes fitted = FileBytes(font);
    view.MoveSelector(2);
    editor->FitAllGlyphs();  // glyphs 1 and 5: glyphs 2 and 4 fit already, glyph 3 has no ink
    const Bytes fittedAll = FileBytes(font);
    ASSERT_TRUE(view.messages.size() == 1 && view.messages[0].find("Подогнано символов: 2 из 5.") == 0) << view.messages[0];
    for (const Bytes* step : {&stored, &saved, &fitted, &fittedAll}) ASSERT_NE(*step, original);

    // Each undo: the bytes before the step, and the selector on the glyph it changed.
    const struct { const Bytes& bytes; std::int32_t selected; } undos[] = {
        {fitted, 0}, {saved, 1}, {stored, 1}, {original, 0}};
    for (const auto& undo : undos) {
        editor->Undo();
        EXPECT_EQ(FileBytes(font), undo.bytes);
        EXPECT_EQ(view.selectorValue, undo.selected);
    }
    EXPECT_EQ(Shown(Box::Text1), "10") << "the view shows what the file holds";
    EXPECT_EQ(Shown(Box::Text4), "16") << "the header's restored values";
    EXPECT_EQ(Shown(Box::Text5), "8");
    EXPECT_FALSE(Enabled(Control::Undo));
    EXPECT_TRUE(Enabled(Control::Redo));

    for (const Bytes* redone : {&stored, &saved, &fitted, &fittedAll}) {
        editor->Redo();
        EXPECT_EQ(FileBytes(font), *redone);
    }
    EXPECT_EQ(Shown(Box::Text4), "20");
    EXPECT_EQ(Shown(Box::Text5), "10");
    EXPECT_EQ(view.selectorValue, 0);
    EXPECT_EQ(Shown(Box::Text1), "12");
    EXPECT_TRUE(Enabled(Control::Undo));
    EXPECT_FALSE(Enabled(Control::Redo));
    EXPECT_EQ(view.messages.size(), 1u) << "no message but the fit's report";
}

TEST_F(EditMenu, AFontChangedOutsideTheWindowIsNotTouched) {
    OpenFiveGlyphs();
    editor->ClickArrow(Control::Command3);  // glyph 1: right 30 -> 29, bytes 44 to 59
    const Bytes stored = FileBytes(font);
    Type(Box::Text4, "20");
    editor->SaveFontParameters();  // bytes 8 to 11 and 20 to 23
    const Bytes saved = FileBytes(font);

    // The last byte of the header step's second value.
    Poke(font, 23, std::byte{0x55});
    const Bytes changed = FileBytes(font);
    editor->Undo();
    EXPECT_EQ(FileBytes(font), changed);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("изменён вне окна"), std::string::npos) << view.messages[0];
    EXPECT_TRUE(Enabled(Control::Undo)) << "the history stays as it was";

    // Put back, the step is taken back; the store's step is refused while its record differs.
    Poke(font, 23, saved[23]);
    editor->Undo();
    EXPECT_EQ(FileBytes(font), stored);
    Poke(font, 59, std::byte{0x55});
    editor->Undo();
    EXPECT_EQ(view.messages.size(), 2u);
    Poke(font, 59, stored[59]);
    editor->Undo();
    EXPECT_EQ(FileBytes(font), original);
    EXPECT_EQ(view.messages.size(), 2u);
}

TEST_F(EditMenu, AnUndoOrRedoIsRefusedWhereAStoreWouldBe) {
    // In layout A bytes 48 to 63, which decide the layout, are glyph 1's top, right and Aspect
    // and glyph 2's left; here the first three are 0.
    font = OpenFont(FontBytes::LayoutA({Glyph(Edit(10), 0, 0, 0), Glyph(Edit(1), Edit(32), Edit(20))}));
    original = FileBytes(font);
    editor->ClickArrow(Control::Command2);  // glyph 1's right edge and Aspect no longer 0

    // Another program sets glyph 2's left edge to 0: the undo would leave all four at 0.
    runtime::BinaryFile::Open(font).Write(60, Bytes(4));
    const Bytes changed = FileBytes(font);
    editor->Undo();
    EXPECT_EQ(FileBytes(font), changed);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], "Не удалось отменить: такая запись изменила бы разметку таблицы символов шрифта.");
    runtime::BinaryFile::Open(font).Write(60, Bytes(original.begin() + 60, original.begin() + 64));

    // The redo of glyph 2's left edge set to 0, after another program set glyph 1's right and Aspect to 0.
    view.MoveSelector(1);
    editor->ClickArrow(Control::Command4);
    editor->Undo();
    runtime::BinaryFile::Open(font).Write(52, Bytes(8));
    const Bytes changedAgain = FileBytes(font);
    editor->Redo();
    EXPECT_EQ(FileBytes(font), changedAgain);
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view.messages[1], "Не удалось повторить: такая запись изменила бы разметку таблицы символов шрифта.");
    EXPECT_TRUE(Enabled(Control::Redo)) << "the history stays as it was";
}

TEST_F(EditMenu, FollowsTheStateAndBelongsToTheOpenedFont) {
    for (const Control item : {Control::EditMenu, Control::Undo, Control::Redo, Control::FitGlyph, Control::FitAllGlyphs, Control::DrawGlyphs}) {
        EXPECT_FALSE(Enabled(item)) << "start-up";
    }
    OpenFiveGlyphs();
    EXPECT_TRUE(Enabled(Control::EditMenu) && Enabled(Control::FitGlyph) && Enabled(Control::FitAllGlyphs) && Enabled(Control::DrawGlyphs));
    EXPECT_FALSE(Enabled(Control::Undo) || Enabled(Control::Redo));
    editor->ClickArrow(Control::Command5);
    EXPECT_TRUE(Enabled(Control::Undo));
    editor->Undo();
    EXPECT_TRUE(Enabled(Control::Redo));
    editor->ClickArrow(Control::Command4);  // a new step ends the undone one
    EXPECT_FALSE(Enabled(Control::Redo));
    editor->Redo();
    EXPECT_EQ(Shown(Box::Text1), "9");

    // The same font opened again: nothing to undo, and an undo writes nothing.
    Open(font, picture);
    const Bytes reopened = FileBytes(font);
    EXPECT_FALSE(Enabled(Control::Undo));
    editor->Undo();
    EXPECT_EQ(FileBytes(font), reopened);

    // A picture of another size: the arrows still write into the loaded font, so its history stays
    // within reach, also of the next rejected open; the fits need a texture shown.
    view.MoveSelector(1);
    editor->ClickArrow(Control::Command5);  // glyph 2: left 40 -> 41
    view.MoveSelector(0);
    const std::filesystem::path small = Write("small.bmp", testing_support::GreyBmp(256, 256));
    Open(font, small);
    EXPECT_TRUE(Enabled(Control::EditMenu) && Enabled(Control::Undo));
    EXPECT_FALSE(Enabled(Control::FitGlyph) || Enabled(Control::FitAllGlyphs) || Enabled(Control::DrawGlyphs));
    editor->FitGlyph();  // no step: the picture is not shown
    editor->FitAllGlyphs();
    editor->ClickArrow(Control::Command5);  // glyph 1
    Open(font, small);
    editor->Undo();
    editor->Undo();
    EXPECT_EQ(FileBytes(font), reopened);
    EXPECT_EQ(view.selectorValue, 1);
    EXPECT_EQ(Shown(Box::Text1), "40") << "the glyph undone is shown, though the selector is disabled";
    editor->Redo();
    EXPECT_EQ(Shown(Box::Text1), "41");

    // Back to the start-up state (the picture dialog cancelled): the menu goes with the history.
    Open(font, std::nullopt);
    EXPECT_FALSE(Enabled(Control::EditMenu) || Enabled(Control::Undo));
    editor->Undo();
    EXPECT_NE(FileBytes(font), reopened) << "the click stays in the file";

    // A font without glyphs has none to fit.
    Open(Write("empty.gmf", FontBytes::LayoutA({}).bytes()), picture);
    EXPECT_TRUE(Enabled(Control::EditMenu));
    EXPECT_FALSE(Enabled(Control::FitGlyph) || Enabled(Control::FitAllGlyphs) || Enabled(Control::DrawGlyphs));
}

TEST_F(EditMenu, AFitOfOneGlyphWritesWhatGmftoolFitWrites) {
    OpenFiveGlyphs();
    for (const std::int32_t index : {0, 1}) {
        const Bytes expected = GmftoolFit({"--glyphs", std::to_string(index + 1)});
        ASSERT_NE(expected, FileBytes(font));
        view.MoveSelector(index);
        editor->FitGlyph();
        EXPECT_EQ(FileBytes(font), expected) << index;
    }
    EXPECT_EQ(Shown(Box::Text1), "42") << "the glyph is shown again";
    EXPECT_EQ(Shown(Box::Text3), "56");
    EXPECT_TRUE(view.messages.empty());

    // Fitted already: nothing written and no step, so one undo takes back the second glyph's fit.
    const Bytes fitted = FileBytes(font);
    editor->FitGlyph();
    EXPECT_EQ(FileBytes(font), fitted);
    editor->Undo();
    editor->Undo();
    EXPECT_EQ(FileBytes(font), original);
    EXPECT_FALSE(Enabled(Control::Undo));

    // No ink: the glyph is named, nothing written, no step.
    view.MoveSelector(2);
    editor->FitGlyph();
    EXPECT_EQ(FileBytes(font), original);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].find("Символ № 3 "), 0u) << view.messages[0];
    EXPECT_FALSE(Enabled(Control::Undo));
}

TEST_F(EditMenu, AFitOfAllGlyphsWritesWhatGmftoolFitWritesAsOneStep) {
    OpenFiveGlyphs();
    const Bytes expected = GmftoolFit({});
    editor->FitAllGlyphs();
    EXPECT_EQ(FileBytes(font), expected);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], "Подогнано символов: 3 из 5.\nБез изображения на рисунке, не изменены: № 3.");
    EXPECT_EQ(view.calls.back(), "inform Подгонка символов: " + view.messages[0]) << "news, not a warning";
    EXPECT_EQ(Shown(Box::Text1), "12") << "the selected glyph shown again";

    editor->Undo();
    EXPECT_EQ(FileBytes(font), original);
    EXPECT_FALSE(Enabled(Control::Undo));
    EXPECT_EQ(view.selectorValue, 0);

    // Another table than the one loaded: nothing is fitted into it.
    runtime::BinaryFile::Open(font).Write(44 + 2 * 16, Bytes(16));  // the table ends before the third glyph
    const Bytes shorter = FileBytes(font);
    editor->FitAllGlyphs();
    EXPECT_EQ(FileBytes(font), shorter);
    EXPECT_NE(view.messages.back().find("изменён вне окна"), std::string::npos) << view.messages.back();
}

TEST_F(EditMenu, AFontCutInsideItsTableIsFittedByNeitherProgram) {
    // The last glyph's Aspect loses its last byte; the font still loads with all five glyphs.
    font = Write("font1.gmf", FiveGlyphs().Truncate(44 + 5 * 16 - 1).bytes());
    picture = Write("font1.bmp", testing_support::InkOnWhite(512, kInk));
    Open(font, picture);
    original = FileBytes(font);
    ASSERT_EQ(view.selectorMaximum, 4);

    testing::internal::CaptureStderr();
    EXPECT_EQ(gmftool::Run({"fit", Write("copy.gmf", original).string(), "--picture", picture.string()}), 2);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("inside the glyph table"), std::string::npos);
    editor->FitAllGlyphs();
    editor->FitGlyph();
    EXPECT_EQ(FileBytes(font), original);
    const std::string why = "файл шрифта " + runtime::DisplayPath(font) + " короче, чем указано в его таблице символов (файл обрезан или не является шрифтом).";
    EXPECT_EQ(view.messages, (std::vector<std::string>{"Символы не подогнаны: " + why, "Символ не подогнан: " + why}));

    // Whole again to its last record's last byte, it is fitted.
    std::filesystem::resize_file(font, 44 + 5 * 16);
    const Bytes whole = FileBytes(font);
    editor->FitGlyph();
    EXPECT_NE(FileBytes(font), whole);
    EXPECT_EQ(view.messages.size(), 2u);
}

TEST(FitAllReport, NamesAFewGlyphsWithoutInk) {
    EXPECT_EQ(editor::FitAllReport(3, 3, {}), "Подогнано символов: 3 из 3.");
    EXPECT_EQ(editor::FitAllReport(0, 9, {1, 2, 3, 4, 9}),
              "Подогнано символов: 0 из 9.\nБез изображения на рисунке, не изменены: № 1, 2, 3, 4, 9.");
    EXPECT_EQ(editor::FitAllReport(0, 9, {1, 2, 3, 4, 5, 9}),
              "Подогнано символов: 0 из 9.\nБез изображения на рисунке, не изменены: № 1, 2, 3, 4, 5 и ещё 1.");
}

TEST_F(EditMenu, AFitLooksAtTheTextureAsShownNow) {
    OpenFiveGlyphs();
    editor->FitAllGlyphs();  // the ink of the first texture is found
    editor->Undo();
    // The texture saved anew, ink only for the third glyph.
    Write("font1.bmp", testing_support::InkOnWhite(512, {{150, 169, 130, 140}}));
    std::filesystem::last_write_time(picture, std::filesystem::last_write_time(picture) + std::chrono::seconds(5));
    editor->OnWatchedFileChanged();
    view.TimerRunsOut(editor::Timer::TextureSettled);
    view.messages.clear();
    view.MoveSelector(0);
    editor->FitGlyph();
    EXPECT_EQ(FileBytes(font), original);
    EXPECT_EQ(view.messages.at(0).find("Символ № 1 "), 0u);
    view.MoveSelector(2);
    editor->FitGlyph();
    EXPECT_EQ(Shown(Box::Text1), "75");
    EXPECT_EQ(Shown(Box::Text3), "85");
}

}  // namespace
