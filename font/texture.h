#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "runtime/binary_file.h"

// The texture picture that goes with a font. Only its size is the font's business: the pixels
// are the picture decoder's.
namespace font {

inline constexpr std::int32_t kTextureSize = 512;

struct PictureSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool IsTextureSize() const { return width == kTextureSize && height == kTextureSize; }
};

// The width and height fields of a BMP's info header, as stored; nothing else of the file is
// read, so a decoder's own idea of the size plays no part.
PictureSize ReadBmpSize(const std::filesystem::path& picture);
// The same through an access already open, for a caller that reads the rest of the file too.
PictureSize ReadBmpSize(runtime::BinaryFile& picture);

// Whether the file is as long as its BMP header says (a file still being written is shorter).
// A header that gives no length (0) is taken at its word.
bool IsWholeBmp(const std::filesystem::path& picture);

// The font's name without its folder, less its last four characters, whatever they are (the
// ".gmf" as a rule): characters are code points, or UTF-16 units where the system names files
// in them. Nothing when the name is shorter than four.
std::optional<std::filesystem::path> FontBaseName(const std::filesystem::path& font);

// The picture that goes with a font when none is named: its base name with the extension
// (".bmp" unless told), in the font's folder (a name shorter than four characters is kept whole).
std::filesystem::path DefaultPicturePath(const std::filesystem::path& font, const char* extension = ".bmp");

}  // namespace font
