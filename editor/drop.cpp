#include "editor/drop.h"

#include <algorithm>
#include <string>
#include <system_error>

namespace editor {
namespace {

constexpr std::size_t kMostFiles = 2;  // FONT and PICTURE

// The extensions of the textures the window reads.
constexpr std::u8string_view kTextureExtensions[] = {u8".bmp", u8".tga"};

std::u8string LowerExtension(const std::filesystem::path& file) {
    std::u8string extension = file.extension().u8string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char8_t c) { return c >= u8'A' && c <= u8'Z' ? static_cast<char8_t>(c - u8'A' + u8'a') : c; });
    return extension;
}

bool IsFolder(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::is_directory(file, error);
}

bool IsFontName(const std::filesystem::path& file) { return LowerExtension(file) == u8".gmf"; }

}  // namespace

bool IsTextureName(const std::filesystem::path& file) {
    const std::u8string extension = LowerExtension(file);
    return std::find(std::begin(kTextureExtensions), std::end(kTextureExtensions), extension) != std::end(kTextureExtensions);
}

Drop ReadDrop(const std::vector<std::filesystem::path>& files, bool fontLoaded) {
    if (files.empty() || files.size() > kMostFiles || std::any_of(files.begin(), files.end(), IsFolder)) return {};
    std::vector<std::filesystem::path> fonts;
    std::vector<std::filesystem::path> pictures;
    for (const std::filesystem::path& file : files) {
        if (IsFontName(file)) fonts.push_back(file);
        else if (IsTextureName(file)) pictures.push_back(file);
        else return {};
    }
    if (fonts.size() == 1 && pictures.size() <= 1) {
        return {Drop::Kind::Font, fonts.front(), pictures.empty() ? std::filesystem::path() : pictures.front()};
    }
    if (fonts.empty() && pictures.size() == 1 && fontLoaded) return {Drop::Kind::Texture, {}, pictures.front()};
    return {};
}

}  // namespace editor
