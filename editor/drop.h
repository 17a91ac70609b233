#pragma once

#include <filesystem>
#include <vector>

// Files dropped on the window, read as the command line reads its arguments: a font, then
// perhaps its picture. The order of a drop means nothing, so each is told by its name.
namespace editor {

// A name ending as a texture the window reads, in any case.
bool IsTextureName(const std::filesystem::path& file);

struct Drop {
    enum class Kind {
        Nothing,  // a folder, any other file, two fonts or two pictures, more than two files, or none
        Font,     // as runeplot FONT [PICTURE]
        Texture,  // a lone picture, for the font loaded
    };
    Kind kind = Kind::Nothing;
    std::filesystem::path font;
    std::filesystem::path picture;  // empty: the font's own BMP or TGA, or the dialog asks
};

// A lone picture is a texture only while a font is loaded, and nothing is ever taken for a font
// but a .gmf: whatever is taken for one is written into at the first click.
Drop ReadDrop(const std::vector<std::filesystem::path>& files, bool fontLoaded);

}  // namespace editor
