#include "editor/drop.h"

#include <algorithm>
#include <system_error>

namespace editor {
namespace {

constexpr std::size_t kMostFiles = 2;  // FONT and PICTURE

bool IsBmpName(const std::filesystem::path& file) {
    std::u8string extension = file.extension().u8string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char8_t c) { return c >= u8'A' && c <= u8'Z' ? static_cast<char8_t>(c - u8'A' + u8'a') : c; });
    return extension == u8".bmp";
}

bool IsFolder(const std::filesystem::path& file) {
    std::error_code error;
    return std::filesystem::is_directory(file, error);
}

}  // namespace

Drop ReadDrop(const std::vector<std::filesystem::path>& files, bool fontShown) {
    if (files.empty() || files.size() > kMostFiles || std::any_of(files.begin(), files.end(), IsFolder)) return {};
    std::vector<std::filesystem::path> fonts;
    std::vector<std::filesystem::path> pictures;
    for (const std::filesystem::path& file : files) (IsBmpName(file) ? pictures : fonts).push_back(file);
    if (fonts.size() == 1 && pictures.size() <= 1) {
        return {Drop::Kind::Font, fonts.front(), pictures.empty() ? std::filesystem::path() : pictures.front()};
    }
    if (fonts.empty() && pictures.size() == 1 && fontShown) return {Drop::Kind::Texture, {}, pictures.front()};
    return {};
}

}  // namespace editor
