#include "font/texture.h"

#include "runtime/binary_file.h"

namespace font {
namespace {

// The 14-byte file header (with the file's length at 2), then the info header's own size, then
// width and height.
constexpr std::uint64_t kBmpFileSizeOffset = 2;
constexpr std::uint64_t kBmpWidthOffset = 18;
constexpr std::uint64_t kBmpHeightOffset = 22;

}  // namespace

PictureSize ReadBmpSize(const std::filesystem::path& picture) {
    runtime::BinaryFile file = runtime::BinaryFile::OpenForReading(picture);
    return {file.ReadInt32(kBmpWidthOffset), file.ReadInt32(kBmpHeightOffset)};
}

bool IsWholeBmp(const std::filesystem::path& picture) {
    runtime::BinaryFile file = runtime::BinaryFile::OpenForReading(picture);
    const auto declared = static_cast<std::uint32_t>(file.ReadInt32(kBmpFileSizeOffset));
    return file.Size() >= declared;
}

std::filesystem::path DefaultPicturePath(const std::filesystem::path& font) {
    const std::u8string name = font.filename().u8string();
    const std::u8string base = name.size() >= 4 ? name.substr(0, name.size() - 4) : name;
    return font.parent_path() / std::filesystem::path(base + u8".bmp");
}

}  // namespace font
