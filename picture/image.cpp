#include "picture/image.h"

#include <cstring>
#include <memory>
#include <string>

#include "font/texture.h"
#include "runtime/binary_file.h"
#include "runtime/failure.h"

// The decoder and the encoder are compiled here, only for the formats the tools use.
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace picture {
namespace {

constexpr int kChannels = 4;

runtime::Failure Unusable(const std::filesystem::path& path, const std::string& reason) {
    return runtime::Failure(runtime::FailureKind::ReadFailed, runtime::DisplayPath(path) + ": " + reason);
}

}  // namespace

Image Filled(int width, int height, Rgba colour) {
    return {width, height, std::vector<Rgba>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), colour)};
}

Image DecodeBmp(const std::filesystem::path& path) {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> decoded(nullptr, &stbi_image_free);
    {
        // The file's bytes go as soon as they are decoded: a texture costs its pixels, not more.
        const std::vector<std::byte> bytes = runtime::BinaryFile::OpenForReading(path).ReadAll();
        decoded.reset(stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()),
                                            &width, &height, &channels, kChannels));
    }
    if (!decoded) throw Unusable(path, std::string("not a BMP that can be decoded (") + stbi_failure_reason() + ")");
    // The decoder's buffer holds the pixels as they are laid out here: one copy, no fill first.
    static_assert(sizeof(Rgba) == kChannels, "a pixel is the decoder's four bytes");
    const auto* first = reinterpret_cast<const Rgba*>(decoded.get());
    return {width, height, std::vector<Rgba>(first, first + static_cast<std::size_t>(width) * static_cast<std::size_t>(height))};
}

Image LoadTexture(const std::filesystem::path& path) {
    const font::PictureSize size = font::ReadBmpSize(path);
    if (!size.IsTextureSize()) {
        throw Unusable(path, "the picture is " + std::to_string(size.width) + " x " + std::to_string(size.height) +
                                 ", not " + std::to_string(font::kTextureSize) + " x " + std::to_string(font::kTextureSize));
    }
    Image image = DecodeBmp(path);
    if (image.width != font::kTextureSize || image.height != font::kTextureSize) {
        throw Unusable(path, "the picture decodes to " + std::to_string(image.width) + " x " + std::to_string(image.height));
    }
    return image;
}

std::vector<std::byte> EncodePng(const Image& image) {
    std::vector<std::byte> png;
    const auto append = [](void* context, void* data, int size) {
        auto* out = static_cast<std::vector<std::byte>*>(context);
        const auto* bytes = static_cast<const std::byte*>(data);
        out->insert(out->end(), bytes, bytes + size);
    };
    if (!stbi_write_png_to_func(append, &png, image.width, image.height, kChannels, image.pixels.data(),
                                image.width * kChannels)) {
        throw runtime::Failure(runtime::FailureKind::WriteFailed, "the PNG encoder failed");
    }
    return png;
}

Image ScaleUp(const Image& image, int factor) {
    Image scaled = Filled(image.width * factor, image.height * factor, kBlack);
    for (int y = 0; y < scaled.height; ++y) {
        for (int x = 0; x < scaled.width; ++x) scaled.At(x, y) = image.At(x / factor, y / factor);
    }
    return scaled;
}

void DrawOutline(Image& image, const font::OutlinePlan& plan, Rgba colour) {
    font::ForEachOutlinePixel(plan, [&](std::int32_t x, std::int32_t y) {
        if (x < image.width && y < image.height) image.At(x, y) = colour;
    });
}

}  // namespace picture
