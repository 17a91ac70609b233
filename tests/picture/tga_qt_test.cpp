// TGAs that ImageMagick writes, in every type and origin it writes, decode to the pixels
// ImageMagick reads back, to stb_image's and, where it reads the type, to Qt's.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "picture/image.h"
#include "tests/support/qt_tga.h"
#include "tests/support/temp_dir.h"
#include "tests/support/tga.h"

namespace {

using picture::Image;
using picture::Rgba;

const auto& Text = testing_support::PixelsText;

TEST(DecodeTgaBytes, AsImageMagickWritesAndStbAndQtRead) {
    if (std::system("convert -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick's convert is not installed";
    const testing_support::TempDir dir;
    // 7 x 5, every pixel its own colour, alpha from opaque to clear, but a palette's 256 colours.
    Image source = picture::Filled(7, 5, picture::kBlack);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) source.At(x, y) = {static_cast<std::uint8_t>(36 * x), static_cast<std::uint8_t>(60 * y), 90, static_cast<std::uint8_t>(255 - 12 * (x + 7 * y))};
    }
    const std::string png = dir.Write("source.png", picture::EncodePng(source));
    const struct { const char* what; const char* options; int type; bool likeStb; bool likeQt; } rows[] = {
        {"32 bits from the bottom", "", 2, true, true},
        {"32 bits from the top", "-orient TopLeft", 2, true, true},
        // Neither stb nor Qt reads the right-to-left bit: both show such a picture mirrored.
        {"32 bits from the top right", "-orient TopRight", 2, false, false},
        {"32 bits from the bottom right", "-orient BottomRight", 2, false, false},
        {"24 bits", "-alpha off", 2, true, true},
        {"run-length, 32 bits", "-compress RLE", 10, true, false},
        {"run-length from the top", "-compress RLE -orient TopLeft", 10, true, false},
        {"grey", "-type Grayscale -alpha off", 3, true, false},
        {"run-length grey", "-type Grayscale -alpha off -compress RLE", 11, true, false},
        {"colour-mapped", "-type Palette -alpha off", 1, true, false},
        {"run-length colour-mapped", "-type Palette -alpha off -compress RLE", 9, true, false},
    };
    for (const auto& row : rows) {
        const std::string tga = dir.Path("texture.tga"), back = dir.Path("back.rgba");
        ASSERT_EQ(std::system(("convert " + png + " " + row.options + " " + tga + " && convert " + tga + " -depth 8 rgba:" + back).c_str()), 0) << row.what;
        const std::vector<std::byte> bytes = testing_support::ReadAll(tga);
        const std::vector<std::byte> rgba = testing_support::ReadAll(back);
        // ImageMagick reads the pixels back in the order stored, and so does -orient only say
        // where the first goes: the descriptor's two bits place them.
        const auto descriptor = std::to_integer<std::uint8_t>(bytes.at(17));
        Image expected = picture::Filled(7, 5, picture::kBlack);
        ASSERT_EQ(rgba.size(), expected.pixels.size() * 4) << row.what;
        for (int i = 0; i < 7 * 5; ++i) {
            const auto c = [&](int k) { return std::to_integer<std::uint8_t>(rgba[static_cast<std::size_t>(4 * i + k)]); };
            const int x = descriptor & 0x10 ? 6 - i % 7 : i % 7, y = descriptor & 0x20 ? i / 7 : 4 - i / 7;
            expected.At(x, y) = {c(0), c(1), c(2), c(3)};
        }
        const picture::Picture ours = picture::DecodeTgaBytes(bytes);
        EXPECT_EQ(ours.format.type, row.type) << row.what;
        EXPECT_EQ(Text(ours.image), Text(expected)) << row.what;
        EXPECT_EQ(Text(testing_support::DecodeTgaWithStb(bytes)) == Text(expected), row.likeStb) << row.what;
        EXPECT_EQ(Text(testing_support::DecodeTgaWithQt(bytes)) == Text(expected), row.likeQt) << row.what;
    }
}

}  // namespace
