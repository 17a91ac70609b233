// The shown texture followed while it is painted: read again only when the picture changed.
#include <chrono>
#include <filesystem>

#include "runtime/binary_file.h"
#include "runtime/little_endian.h"
#include "tests/editor/editor_fixture.h"
#include "tests/support/tga.h"

namespace {

using editor::Timer;
using testing_support::EditorTest;
using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::GreyBmp;
using testing_support::WithBmpSize;

// The first 100 bytes of a good picture: a file still being written.
std::vector<std::byte> HalfWritten() {
    std::vector<std::byte> bytes = GreyBmp();
    bytes.resize(100);
    return bytes;
}

class FollowedTexture : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        font = Write("font1.gmf", FontBytes::LayoutA({Glyph(0.25f, 0.5f, 0.3125f), Glyph(0.5f, 0.5f, 0.5625f)}).bytes());
        Write("font1.bmp", GreyBmp(512, 512, 0x10));
        editor->OpenFromCommandLine(font);
        view.MoveSelector(1);
        fontBefore = FileBytes(font);
        shownBefore = view.texturesShown;
    }

    // A picture saved as image editors do: a new file renamed over the old one. Saves lie
    // seconds apart, as a person makes them; a file system's clock may not tick between two
    // writes of a test, and Windows knows a file by its times alone.
    void SaveByRenaming(const std::vector<std::byte>& bytes, const std::string& name = "font1.bmp") {
        SaveInPlace("saving.tmp", bytes);
        std::filesystem::rename(PathOf("saving.tmp"), PathOf(name));
        Settle();
    }
    void SaveInPlace(const std::string& name, const std::vector<std::byte>& bytes) {
        std::error_code missing;
        if (std::filesystem::file_size(PathOf(name), missing) == bytes.size()) {
            runtime::BinaryFile::Open(PathOf(name)).Write(0, bytes);  // the same file, written over
        } else {
            Write(name, bytes);
        }
        std::filesystem::last_write_time(PathOf(name), std::filesystem::last_write_time(PathOf(name)) +
                                                           std::chrono::seconds(++saves));
    }
    // The watch reports a change, and the picture then stays as it is for a moment.
    void Settle() {
        editor->OnWatchedFileChanged();
        ASSERT_EQ(view.running[Timer::TextureSettled], editor::Editor::kTextureSettleMilliseconds);
        view.TimerRunsOut(Timer::TextureSettled);
    }
    std::uint8_t ShownGrey() const { return view.texture->At(10, 10).r; }

    std::filesystem::path font;
    std::vector<std::byte> fontBefore;
    int shownBefore = 0;
    int saves = 0;
};

TEST_F(FollowedTexture, TheFileIsWatchedFromASuccessfulOpenOn) {
    EXPECT_EQ(view.watched, PathOf("font1.bmp"));
    EXPECT_EQ(ShownGrey(), 0x10);
}

TEST_F(FollowedTexture, AGoodPictureIsShownAgainAndTheViewStays) {
    view.TakeCalls();
    SaveByRenaming(GreyBmp(512, 512, 0x20));
    EXPECT_EQ(ShownGrey(), 0x20);
    EXPECT_EQ(view.TakeCalls(), (std::vector<std::string>{"start TextureSettled 250", "ShowTexture 512x512"}))
        << "the outline, the boxes and the selection stay; the font is not read";
    EXPECT_EQ(FileBytes(font), fontBefore);
}

TEST_F(FollowedTexture, EachChangeStartsTheWaitAnew) {
    editor->OnWatchedFileChanged();
    SaveInPlace("font1.bmp", GreyBmp(512, 512, 0x30));
    editor->OnWatchedFileChanged();
    EXPECT_EQ(view.calls.back(), "start TextureSettled 250");
    view.TimerRunsOut(Timer::TextureSettled);
    EXPECT_EQ(view.texturesShown, shownBefore + 1) << "one decode for the burst";
}

TEST_F(FollowedTexture, OtherFilesInTheFolderCostNothing) {
    // An image editor's temporary file, another font saved beside it.
    Write("~font1.bmp.tmp", GreyBmp(512, 512, 0x50));
    Settle();
    Write("font2.gmf", fontBefore);
    Settle();
    std::filesystem::remove(PathOf("~font1.bmp.tmp"));
    Settle();
    EXPECT_EQ(view.texturesShown, shownBefore);
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(FollowedTexture, EachTroubleIsToldOnceAndTheTextureStays) {
    SaveByRenaming(GreyBmp(512, 512, 0x20));
    const struct { std::vector<std::byte> bytes; const char* says; int messages; } steps[] = {
        {WithBmpSize(GreyBmp(512, 512, 0x60), 256, 256), "512x512", 1},
        {HalfWritten(), "", 1},  // half written: no second box
        {GreyBmp(512, 512, 0x70), "", 1},                                             // good again
        {HalfWritten(), "BMP", 2},  // a new trouble is told
    };
    for (const auto& step : steps) {
        SaveByRenaming(step.bytes);
        ASSERT_EQ(static_cast<int>(view.messages.size()), step.messages);
        if (*step.says) {
            EXPECT_NE(view.messages.back().find(step.says), std::string::npos) << view.messages.back();
        }
    }
    EXPECT_EQ(ShownGrey(), 0x70);

    // Gone, then the same absence again: told once; back, shown.
    std::filesystem::remove(PathOf("font1.bmp"));
    Settle();
    EXPECT_EQ(ShownGrey(), 0x70);
    Settle();
    EXPECT_EQ(view.messages.size(), 2u) << "the half-written trouble was still on";
    SaveInPlace("font1.bmp", GreyBmp(512, 512, 0x80));
    Settle();
    EXPECT_EQ(ShownGrey(), 0x80);
    std::filesystem::remove(PathOf("font1.bmp"));
    Settle();
    ASSERT_EQ(view.messages.size(), 3u);
    EXPECT_NE(view.messages.back().find("не найден"), std::string::npos);
    EXPECT_EQ(FileBytes(font), fontBefore) << "the font is never written";
}

// A header that gives no length is no proof the pixels are all there.
TEST_F(FollowedTexture, APictureCutShortIsRefusedWhateverItsHeaderSaysOfItsLength) {
    std::vector<std::byte> bytes = GreyBmp(512, 512, 0x20);
    bytes.pop_back();
    runtime::StoreUint32(0, std::span<std::byte, 4>(bytes.data() + 2, 4));
    SaveByRenaming(bytes);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages.back().find("BMP"), std::string::npos) << view.messages.back();
    EXPECT_EQ(ShownGrey(), 0x10);
}

TEST_F(FollowedTexture, InPlaceWritesOfTheSameSizeAreSeen) {
    SaveInPlace("font1.bmp", GreyBmp(512, 512, 0x90));
    Settle();
    EXPECT_EQ(ShownGrey(), 0x90);
}

TEST_F(FollowedTexture, NothingIsFollowedOnceThePictureIsGone) {
    view.answers = {font, std::nullopt};
    editor->OpenCommand();  // the picture dialog cancelled: back to the start-up state
    EXPECT_FALSE(view.watched);
    EXPECT_FALSE(view.running.count(Timer::TextureSettled));
    editor->OnWatchedFileChanged();  // a change that was already on its way
    EXPECT_FALSE(view.running.count(Timer::TextureSettled));
    editor->OnTimer(Timer::TextureSettled);
    EXPECT_EQ(view.texturesShown, shownBefore);
}

// The game's own texture, painted in four channels at twice the size: white everywhere, the
// glyphs told from the rest by alpha alone.
picture::Image GameTexture(int inkLeft) {
    picture::Image image = picture::Filled(1024, 1024, {255, 255, 255, 0});
    for (int y = 516; y < 530; ++y) {
        for (int x = inkLeft; x < inkLeft + 20; ++x) image.At(x, y).a = 255;
    }
    return image;
}

TEST_F(FollowedTexture, TheGamesTgaIsTakenWhenTheFontHasNoBmpAndIsFollowedAndFitted) {
    // Beside a BMP, the BMP is still the one.
    Write("font1.tga", testing_support::Tga32(GameTexture(272), true));
    editor->OpenFromCommandLine(font);
    EXPECT_EQ(view.watched, PathOf("font1.bmp"));

    std::filesystem::remove(PathOf("font1.bmp"));
    editor->OpenFromCommandLine(font);
    EXPECT_EQ(view.watched, PathOf("font1.tga"));
    ASSERT_EQ(view.texture->width, 512);
    EXPECT_EQ(view.texture->At(136, 258), (picture::Rgba{255, 255, 255, 255})) << "ink";
    EXPECT_EQ(view.texture->At(0, 0), (picture::Rgba{0x30, 0x30, 0x30, 255})) << "clear, over the board";

    // Fitted on alpha, in the TGA's own pixels: four to an edit unit.
    view.MoveSelector(0);
    editor->FitGlyph();
    EXPECT_EQ(Shown(editor::Box::Text1), "68");
    EXPECT_EQ(Shown(editor::Box::Text3), "73");
    const std::vector<std::byte> fitted = FileBytes(font);

    // Saved again: shown again, the font untouched; cut short: refused once, the texture stays.
    std::vector<std::byte> cut = testing_support::Tga32(GameTexture(280), false);
    cut.resize(cut.size() - 1);
    SaveByRenaming(cut, "font1.tga");
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages.back().find("TGA"), std::string::npos) << view.messages.back();
    EXPECT_EQ(view.texture->At(136, 258).r, 255);
    SaveByRenaming(testing_support::Tga32(GameTexture(280), true), "font1.tga");
    EXPECT_EQ(view.texture->At(136, 258).r, 0x48);
    EXPECT_EQ(view.texture->At(140, 258).r, 255);
    EXPECT_EQ(FileBytes(font), fitted);
    editor->FitGlyph();
    EXPECT_EQ(Shown(editor::Box::Text1), "70") << "the fit looks at the texture shown";
    EXPECT_EQ(Shown(editor::Box::Text3), "75");
    EXPECT_EQ(view.messages.size(), 1u);
}

}  // namespace
