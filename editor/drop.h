#pragma once

#include <filesystem>
#include <vector>

// Files dropped on the window, read as the command line reads its arguments: a font, then
// perhaps its picture. The order of a drop means nothing, so the picture is told by its name.
namespace editor {

struct Drop {
    enum class Kind {
        Nothing,  // a folder, two fonts or two pictures, more than two files, or none
        Font,     // as runeplot FONT [PICTURE]
        Texture,  // a lone BMP, for the font shown
    };
    Kind kind = Kind::Nothing;
    std::filesystem::path font;
    std::filesystem::path picture;  // empty: the font's own BMP, or the dialog asks
};

// A lone BMP is a texture only while a font is shown: it is never taken for a font, which would
// be written into at the first click.
Drop ReadDrop(const std::vector<std::filesystem::path>& files, bool fontShown);

}  // namespace editor
