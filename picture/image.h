#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "font/geometry.h"

// Decoded pixels in a plain array, and the few things the tools do with them.
namespace picture {

struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;
    bool operator==(const Rgba&) const = default;
};

inline constexpr Rgba kBlack{0, 0, 0, 255};

// Row by row from the top, each row left to right.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;

    Rgba& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
    const Rgba& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
};

Image Filled(int width, int height, Rgba colour);

// The largest side any decoder here takes. Each checks the sides its header claims against it
// before it allocates anything: a header of a few bytes must not cost a gigabyte.
inline constexpr std::int64_t kLargestSide = 8192;
// Refuses, as a read failure, sides below 1 or above kLargestSide ("wider than 8,192 pixels").
void RequireSidesWithinLimit(std::int64_t width, std::int64_t height);

// How a texture's file stores its pixels, as gmftool check names it.
enum class Origin { BottomLeft, TopLeft, BottomRight, TopRight };  // where the first pixel stored goes
enum class PictureKind { Bmp, Tga };
struct PictureFormat {
    PictureKind kind = PictureKind::Bmp;
    int type = 0;  // the TGA's image type; 0 for a BMP
    int bits = 0;  // a stored pixel's (a palette index's in a colour-mapped picture)
    Origin origin = Origin::BottomLeft;
    bool alpha = false;  // the pixels keep an alpha channel the file gives
};
// "1024 x 1024 TGA, type 10 (run-length true-colour), 32 bits, from the top left, with alpha"
std::string Describe(const Image& image, const PictureFormat& format);

// A decoded texture at its own size, and how its file held it.
struct Picture {
    Image image;
    PictureFormat format;
};

// Whether the name ends in .tga, in any case: the window takes such a picture at any size.
bool NamedTga(const std::filesystem::path& path);

// A TGA: image types 1, 2 and 3 and their run-length forms 9, 10 and 11, any origin, sides of
// 1 to kLargestSide. Fails as a malformed file for a picture whose bytes end before its pixels do,
// or whose run-length packets run past its last pixel; as a read failure for anything else that
// cannot be read, with the reason.
Picture DecodeTgaBytes(std::span<const std::byte> bytes);

// A BMP or a TGA: a file that begins as a BMP does is one; a name ending in .tga (any case) is
// a TGA; anything else is taken for a BMP. Failures name the file.
Picture DecodePicture(const std::filesystem::path& path);

// Fails, naming the file, as a read failure for anything the decoders cannot read, and as a
// malformed file for a picture whose bytes end before its pixels do ("the picture ends at byte N;
// its pixels need M"): a file still being written, or cut off.
Image DecodeBmp(const std::filesystem::path& path);
// The same for a BMP's bytes, the reasons without a file name.
Image DecodeBmpBytes(std::span<const std::byte> bytes);
// The general decoder alone, which DecodeBmpBytes leaves the uncommon kinds of BMP to; it reads
// bytes past the end as zeros, and reads no run-length encoding.
std::optional<Image> DecodeBmpInGeneral(std::span<const std::byte> bytes);
// The font's texture: a BMP's size fields must say 512 x 512, as the window asks, before it is
// decoded; a TGA may have any size DecodeTgaBytes takes.
Picture LoadTexture(const std::filesystem::path& path);

// The texture on the window's 512 x 512 picture: a BMP as it is; a TGA of any size stretched to
// the square (each texture unit the same share of it whatever the size, a larger one averaged),
// its clear parts over a dark checkerboard of 8 x 8 squares, as image editors show them.
Image ShownTexture(const Picture& texture);
// The same pixels and checkerboard at the texture's own size, for the magnifier.
Image OverCheckerboard(const Picture& texture);
// The same for the part of it from (left, top) up to (right, bottom), not including them.
Image OverCheckerboard(const Picture& texture, int left, int top, int right, int bottom);

std::vector<std::byte> EncodePng(const Image& image);

// Each pixel becomes a factor x factor block.
Image ScaleUp(const Image& image, int factor);

// The outline's pixels exactly as the window lights them on its 512 x 512 picture; on a picture of
// another size each of them covers the texture pixels under it (a 2 x 2 block on 1,024 x 1,024).
void DrawOutline(Image& image, const font::OutlinePlan& plan, Rgba colour);

}  // namespace picture
