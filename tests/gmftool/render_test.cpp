// gmftool render over files the tests make, with Debian's DejaVu Sans.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "font/geometry.h"
#include "picture/image.h"
#include "tests/gmftool/run_gmftool.h"
#include "tests/support/bmp.h"
#include "tests/support/font_bytes.h"
#include "tests/support/read_only.h"
#include "tests/support/temp_dir.h"
#include "tests/support/tga.h"

namespace {

using testing_support::ReadAll;
using Bytes = std::vector<std::byte>;
namespace fs = std::filesystem;

constexpr float kCellHeight = 24 / 512.0f;

Bytes FontFile() {
    std::vector<font::GlyphRecord> glyphs;
    for (int i = 0; i < 6; ++i) glyphs.push_back(testing_support::Glyph(12 * i / 256.0f, 0, (12 * i + 10) / 256.0f));
    return testing_support::FontBytes::LayoutA(glyphs).Header(16, kCellHeight, 0.03125f).bytes();
}

// Grey levels in an uncompressed 8-bit palette BMP, rows from the bottom, white.
Bytes Grey8Bmp() {
    constexpr std::uint32_t kPixelsAt = 54 + 256 * 4, kSize = kPixelsAt + 512 * 512;
    Bytes bytes(kSize, std::byte{255});
    const auto put = [&](std::size_t at, std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<std::byte>(value >> (8 * i));
    };
    put(0, 0x4D42, 2), put(2, kSize, 4), put(6, 0, 4), put(10, kPixelsAt, 4), put(14, 40, 4), put(18, 512, 4), put(22, 512, 4);
    put(26, 1, 2), put(28, 8, 2), put(30, 0, 4), put(34, 512 * 512, 4), put(38, 0, 4), put(42, 0, 4), put(46, 256, 4), put(50, 0, 4);
    for (std::uint32_t i = 0; i < 256; ++i) put(54 + 4 * i, i * 0x010101, 4);
    std::fill_n(bytes.begin() + kPixelsAt, 512 * 8, std::byte{0});  // black ink in the bottom rows
    return bytes;
}

// A collection of two faces, both the given font: the header, then its table directory with every
// offset moved past the header.
Bytes Collection(const Bytes& font) {
    constexpr std::uint32_t kHeader = 20;
    Bytes out{std::byte{'t'}, std::byte{'t'}, std::byte{'c'}, std::byte{'f'}, std::byte{0}, std::byte{1}, std::byte{0}, std::byte{0},
              std::byte{0}, std::byte{0}, std::byte{0}, std::byte{2}};
    for (int face = 0; face < 2; ++face) out.insert(out.end(), {std::byte{0}, std::byte{0}, std::byte{0}, std::byte{kHeader}});
    out.insert(out.end(), font.begin(), font.end());
    const auto tables = std::to_integer<std::uint32_t>(font[4]) << 8 | std::to_integer<std::uint32_t>(font[5]);
    for (std::uint32_t t = 0; t < tables; ++t) {
        const std::size_t at = kHeader + 12 + 16 * t + 8;
        std::uint32_t offset = 0;
        for (int i = 0; i < 4; ++i) offset = offset << 8 | std::to_integer<std::uint32_t>(out[at + static_cast<std::size_t>(i)]);
        offset += kHeader;
        for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<std::byte>(offset >> (24 - 8 * i));
    }
    return out;
}

struct Files {
    testing_support::TempDir dir;
    std::string font = dir.Write("f.gmf", FontFile());
    std::string texture;
    std::string ttf = dir.Write("face.ttf", ReadAll(RUNEPLOT_TEST_TTF));
    explicit Files(const Bytes& bytes = testing_support::InkOnWhite(512, {}), const char* name = "f.bmp") : texture(dir.Write(name, bytes)) {}
    testing_support::GmftoolResult Render(std::vector<std::string> more) const {
        std::vector<std::string> call{"render", font, "--ttf", ttf};
        call.insert(call.end(), more.begin(), more.end());
        return testing_support::RunGmftool(call);
    }
};

struct Refusal {
    const char* name;
    std::function<void(Files&)> setUp;
    std::vector<std::string> arguments;
    const char* said;
    bool obeyPermissions = false;
};

class RenderRefuses : public testing::TestWithParam<Refusal> {};

TEST_P(RenderRefuses, WithStatusTwoAndNothingWritten) {
    const Refusal& r = GetParam();
    Files files;
    r.setUp(files);
    const Bytes font = ReadAll(files.font);
    const Bytes texture = fs::exists(files.texture) ? ReadAll(files.texture) : Bytes{};
    std::vector<std::string> arguments = r.arguments;
    std::replace(arguments.begin(), arguments.end(), std::string("MAP"), files.dir.Path("m.txt"));
    const auto refused = [&] {
        const auto result = files.Render(arguments);
        return result.status == 2 && result.err.find(r.said) != std::string::npos;
    };
    if (r.obeyPermissions) {
        EXPECT_TRUE(testing_support::InChildObeyingPermissions(refused));
    } else {
        EXPECT_TRUE(refused()) << files.Render(arguments).err;
    }
    EXPECT_EQ(ReadAll(files.font), font);
    EXPECT_TRUE(texture.empty() || ReadAll(files.texture) == texture);
    EXPECT_FALSE(fs::exists(files.font + ".bak"));
}

INSTANTIATE_TEST_SUITE_P(Cases, RenderRefuses, testing::Values(
    Refusal{"GarbledFont", [](Files& f) { Bytes b = ReadAll(f.ttf); std::fill(b.begin() + 16, b.begin() + 400, std::byte{0xFF}); f.dir.Write("face.ttf", b); },
            {"--chars", "A", "--at", "1"}, "face.ttf: not a TrueType or OpenType font, or one garbled"},
    Refusal{"CutShortFont", [](Files& f) { Bytes b = ReadAll(f.ttf); b.resize(b.size() / 3); f.dir.Write("face.ttf", b); },
            {"--chars", "AЖ", "--at", "1"}, "face.ttf: "},
    Refusal{"NotAFont", [](Files& f) { f.dir.Write("face.ttf", testing_support::TextBytes(std::string(300, 'g'))); }, {"--chars", "A", "--at", "1"},
            "face.ttf: not a TrueType or OpenType font"},
    Refusal{"CollectionWithoutFace", [](Files& f) { f.dir.Write("face.ttf", Collection(ReadAll(f.ttf))); }, {"--chars", "A", "--at", "1"},
            "a collection of 2 faces: name one with --face 0 to 1"},
    Refusal{"FacePastCollection", [](Files& f) { f.dir.Write("face.ttf", Collection(ReadAll(f.ttf))); }, {"--chars", "A", "--at", "1", "--face", "2"},
            "has no face 2 (it holds 2)"},
    Refusal{"MissingCharactersAllNamed", [](Files&) {}, {"--chars", "A一ཀ", "--at", "1"}, "no glyph for '一' (U+4E00), 'ཀ' (U+0F40)"},
    Refusal{"MapLine", [](Files& f) { f.dir.Write("m.txt", testing_support::TextBytes("1=A\n1=B\n")); }, {"--map", "MAP"}, "m.txt: line 2: glyph 1 is named twice"},
    Refusal{"NoRoom", [](Files& f) {
                std::vector<testing_support::InkBlock> lines;
                for (int y = 10; y < 512; y += 20) lines.push_back({0, 511, y, y});
                f.dir.Write("f.bmp", testing_support::InkOnWhite(512, lines));
            }, {"--chars", "W", "--at", "1", "--px", "30", "--clip"}, "no room for glyph 1 'W' (U+0057); nothing written"},
    Refusal{"InkOutsideTheCell", [](Files&) {}, {"--chars", "Ay", "--at", "1", "--px", "30"}, "ink falls outside the rectangle of glyph 2 'y' (U+0079) ("},
    Refusal{"TextureMissing", [](Files& f) { fs::remove(f.texture); }, {"--chars", "A", "--at", "1"}, "f.bmp"},
    Refusal{"TextureOfAnotherKind", [](Files& f) { f.dir.Write("f.bmp", testing_support::Bmp32V5(512, 512, std::vector<std::uint8_t>(512 * 512 * 4, 255))); },
            {"--chars", "A", "--at", "1"}, "f.bmp: the texture is a compressed BMP (compression 3)"},
    Refusal{"ReadOnlyTexture", [](Files& f) { fs::permissions(f.texture, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write, fs::perm_options::remove); },
            {"--chars", "A", "--at", "1", "--dry-run"}, "f.bmp: the file is read-only", true},
    Refusal{"ReadOnlyFont", [](Files& f) { fs::permissions(f.font, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write, fs::perm_options::remove); },
            {"--chars", "A", "--at", "1"}, "f.gmf: the file is read-only", true}),
    [](const auto& info) { return std::string(info.param.name); });

struct Kept {
    const char* name;
    std::function<Bytes()> texture;
    const char* file = "f.bmp";
};

// The game's texture at twice the window's size, with alpha, in run-length packets.
Bytes Tga1024() { return testing_support::Tga32(picture::DecodeBmpBytes(testing_support::InkOnWhite(1024, {{800, 900, 800, 900}})), true); }

class RenderWrites : public testing::TestWithParam<Kept> {};

TEST_P(RenderWrites, TheTexturesFormatTheRecordsAndBackups) {
    const Bytes bmp = GetParam().texture();
    const bool tga = fs::path(GetParam().file).extension() == ".tga";
    Files files(bmp, GetParam().file);
    const Bytes font = ReadAll(files.font);
    const auto dry = files.Render({"--chars", "Жi", "--at", "2", "--dry-run"});
    EXPECT_EQ(dry.status, 0) << dry.err;
    EXPECT_EQ(ReadAll(files.font), font);

    const auto real = files.Render({"--chars", "Жi", "--at", "2"});
    ASSERT_EQ(real.status, 0) << real.err;
    EXPECT_EQ(real.out.substr(0, dry.out.find("(dry run")), dry.out.substr(0, dry.out.find("(dry run")));
    EXPECT_EQ(ReadAll(files.font + ".bak"), font);
    EXPECT_EQ(ReadAll(files.texture + ".bak"), bmp);
    const Bytes written = ReadAll(files.texture);
    if (!tga) {  // run-length packets may pack otherwise
        ASSERT_EQ(written.size(), bmp.size());
    }
    const std::size_t pixelsAt = tga ? 18 : std::to_integer<std::size_t>(bmp[10]) | std::to_integer<std::size_t>(bmp[11]) << 8;
    EXPECT_TRUE(std::equal(bmp.begin(), bmp.begin() + static_cast<std::ptrdiff_t>(pixelsAt), written.begin()));
    const picture::Picture was = picture::DecodePicture(files.dir.Write(tga ? "was.tga" : "was.bmp", bmp));
    const picture::Picture now = picture::DecodePicture(files.texture);
    EXPECT_EQ(picture::Describe(now.image, now.format), picture::Describe(was.image, was.format));
    // Glyph 2 moved to 71, 0 edit units: its rows of pixels now hold ink; glyph 1's cell holds none;
    // the rows below the cell, the texture's ink among them, are as they were.
    const int scale = now.image.width / 512;
    int inkMoved = 0, inkFirst = 0, changedBelow = 0;
    for (int y = 0; y < 24 * scale; ++y) {
        for (int x = 142 * scale; x < 170 * scale; ++x) inkMoved += now.image.At(x, y).r < 128;
        for (int x = 0; x < 20 * scale; ++x) inkFirst += now.image.At(x, y).r < 255;
    }
    for (int y = 24 * scale; y < now.image.height; ++y) {
        for (int x = 0; x < now.image.width; ++x) changedBelow += now.image.At(x, y) != was.image.At(x, y);
    }
    EXPECT_GT(inkMoved, 20 * scale * scale);
    EXPECT_EQ(inkFirst, 0);
    EXPECT_EQ(changedBelow, 0);
    const auto info = testing_support::RunGmftool({"dump", files.font});
    EXPECT_NE(info.out.find("glyph 2: left 71 top 0 right "), std::string::npos) << info.out;
}

INSTANTIATE_TEST_SUITE_P(Formats, RenderWrites, testing::Values(
    Kept{"Bmp24", [] { return testing_support::InkOnWhite(512, {{400, 450, 400, 450}}); }},
    Kept{"Bmp8Palette", Grey8Bmp},
    Kept{"Tga32RunLength1024", Tga1024, "f.tga"}),
    [](const auto& info) { return std::string(info.param.name); });

// Sizes, baseline and placement in the texture's own pixels: the same records at twice the size.
TEST(RenderTga, TwiceTheSizeAtTwiceTheEmGivesTheBmpsRecords) {
    const Files bmp(testing_support::InkOnWhite(512, {{400, 450, 400, 450}}));
    const Files tga(Tga1024(), "f.tga");
    const std::string before = testing_support::RunGmftool({"dump", bmp.font}).out;
    ASSERT_EQ(bmp.Render({"--chars", "Жiy", "--at", "2", "--px", "16", "--hinting", "none"}).status, 0);
    const auto drawn = tga.Render({"--chars", "Жiy", "--at", "2", "--px", "32", "--hinting", "none"});
    ASSERT_EQ(drawn.status, 0) << drawn.err;
    const std::string records = testing_support::RunGmftool({"dump", bmp.font}).out;
    EXPECT_EQ(testing_support::RunGmftool({"dump", tga.font}).out, records);
    EXPECT_NE(records, before);
}

}  // namespace
