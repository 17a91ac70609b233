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
    return ReadBmpSize(file);
}

PictureSize ReadBmpSize(runtime::BinaryFile& picture) {
    return {picture.ReadInt32(kBmpWidthOffset), picture.ReadInt32(kBmpHeightOffset)};
}

bool IsWholeBmp(const std::filesystem::path& picture) {
    runtime::BinaryFile file = runtime::BinaryFile::OpenForReading(picture);
    const auto declared = static_cast<std::uint32_t>(file.ReadInt32(kBmpFileSizeOffset));
    return file.Size() >= declared;
}

std::optional<std::filesystem::path> FontBaseName(const std::filesystem::path& font) {
    // The name is cut as the system spells it, so no conversion can fail on an odd one.
    using Native = std::filesystem::path::string_type;
    const Native name = font.filename().native();
    std::size_t end = name.size();
    for (int cut = 0; cut < 4; ++cut) {
        if (end == 0) return std::nullopt;
        --end;
        if constexpr (sizeof(Native::value_type) == 1) {
            // Back to the first byte of a UTF-8 sequence: continuation bytes are 10xxxxxx.
            while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
        }
    }
    return std::filesystem::path(name.substr(0, end));
}

std::filesystem::path DefaultPicturePath(const std::filesystem::path& font, const char* extension) {
    std::filesystem::path name = FontBaseName(font).value_or(font.filename());
    name += extension;
    return font.parent_path() / name;
}

}  // namespace font
