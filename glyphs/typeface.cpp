#include "glyphs/typeface.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <utility>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MODULE_H

#include "runtime/binary_file.h"
#include "runtime/failure.h"

namespace glyphs {
namespace {

// Fonts come from anywhere; a larger one is no font a modder means.
constexpr std::uint64_t kLargestFontFile = std::uint64_t{64} << 20;

void* Allocate(FT_Memory, long size) { return std::malloc(static_cast<std::size_t>(size)); }
void Free(FT_Memory, void* block) { std::free(block); }
void* Reallocate(FT_Memory, long, long size, void* block) { return std::realloc(block, static_cast<std::size_t>(size)); }

int RoundedPixels(FT_Pos pos26_6) { return static_cast<int>((pos26_6 + 32) >> 6); }

FT_Int32 LoadFlags(const RasterStyle& style) {
    if (style.mono) return style.hinting == Hinting::None ? FT_LOAD_NO_HINTING | FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_MONO;
    switch (style.hinting) {
        case Hinting::None: return FT_LOAD_NO_HINTING | FT_LOAD_TARGET_NORMAL;
        case Hinting::Light: return FT_LOAD_TARGET_LIGHT;
        case Hinting::Full: return FT_LOAD_TARGET_NORMAL;
    }
    return FT_LOAD_TARGET_LIGHT;
}

}  // namespace

struct Typeface::Face {
    std::string name;
    std::vector<std::byte> bytes;  // FreeType reads the face from them for as long as it lives
    FT_MemoryRec_ memory{nullptr, Allocate, Free, Reallocate};
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    int px = 0;
    RasterStyle drawnStyle;
    std::unordered_map<std::uint32_t, GlyphImage> drawn;

    ~Face() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_Library(library);
    }

    runtime::Failure Unreadable(const std::string& why) const {
        return runtime::Failure(runtime::FailureKind::Malformed, name + ": " + why);
    }

    FT_GlyphSlot Load(std::uint32_t glyph, const RasterStyle& style, FT_Int32 extra) {
        if (style.px != px) {
            if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(style.px)) != 0) {
                throw Unreadable("the face cannot be drawn at " + std::to_string(style.px) + " px");
            }
            px = style.px;
        }
        if (const FT_Error error = FT_Load_Glyph(face, glyph, LoadFlags(style) | extra)) {
            throw Unreadable("glyph " + std::to_string(glyph) + " of the face cannot be read (FreeType error " +
                             std::to_string(error) + "): the file is garbled or cut short");
        }
        return face->glyph;
    }
};

Typeface::Typeface(std::unique_ptr<Face> face) : face_(std::move(face)) {}
Typeface::Typeface(Typeface&&) noexcept = default;
Typeface& Typeface::operator=(Typeface&&) noexcept = default;
Typeface::~Typeface() = default;

Typeface Typeface::Open(const std::filesystem::path& path, std::optional<int> face) {
    runtime::BinaryFile file = runtime::BinaryFile::OpenForReading(path);
    const std::string name = runtime::DisplayPath(path);
    if (file.Size() > kLargestFontFile) {
        throw runtime::Failure(runtime::FailureKind::Malformed, name + ": larger than any font (" + std::to_string(file.Size()) + " bytes)");
    }
    return FromBytes(file.ReadAll(), face, name);
}

Typeface Typeface::FromBytes(std::vector<std::byte> bytes, std::optional<int> faceIndex, const std::string& name) {
    auto face = std::make_unique<Face>();
    face->name = name;
    face->bytes = std::move(bytes);
    // Built by hand rather than by FT_Init_FreeType, which would let FREETYPE_PROPERTIES in the
    // environment change the hinting: the same font must draw the same pixels everywhere.
    if (FT_New_Library(&face->memory, &face->library) != 0) throw face->Unreadable("FreeType cannot start");
    FT_Add_Default_Modules(face->library);
    const auto* data = reinterpret_cast<const FT_Byte*>(face->bytes.data());
    const auto size = static_cast<FT_Long>(face->bytes.size());
    const int index = faceIndex.value_or(0);
    const FT_Error error = FT_New_Memory_Face(face->library, data, size, index < 0 ? 0 : index, &face->face);
    if (error == FT_Err_Unknown_File_Format) throw face->Unreadable("not a TrueType or OpenType font, or one garbled past reading");
    if (error == FT_Err_Invalid_Argument && index > 0) {
        FT_Face probe = nullptr;  // with -1 FreeType only counts the faces
        const FT_Long faces = FT_New_Memory_Face(face->library, data, size, -1, &probe) == 0 ? probe->num_faces : 0;
        if (probe) FT_Done_Face(probe);
        throw face->Unreadable("has no face " + std::to_string(index) + " (it holds " + std::to_string(faces) + ")");
    }
    if (error != 0) throw face->Unreadable("the font is garbled or cut short (FreeType error " + std::to_string(error) + ")");
    const FT_Long faces = face->face->num_faces;
    if (!faceIndex && faces > 1) {
        throw face->Unreadable("a collection of " + std::to_string(faces) + " faces: name one with --face 0 to " + std::to_string(faces - 1));
    }
    if (index < 0 || index >= faces) {
        throw face->Unreadable("has no face " + std::to_string(index) + " (it holds " + std::to_string(faces) + ")");
    }
    FT_Select_Charmap(face->face, FT_ENCODING_UNICODE);  // a face without one maps no character
    return Typeface(std::move(face));
}

const std::string& Typeface::name() const { return face_->name; }

std::uint32_t Typeface::GlyphFor(char32_t character) const {
    if (!face_->face->charmap) return 0;
    return FT_Get_Char_Index(face_->face, character);
}

GlyphBox Typeface::Measure(std::uint32_t glyph, const RasterStyle& style) const {
    // Without FT_LOAD_RENDER FreeType still sets the bitmap's place and size as drawing would.
    const FT_GlyphSlot slot = face_->Load(glyph, style, 0);
    return {slot->bitmap_left, slot->bitmap_top, static_cast<int>(slot->bitmap.width), static_cast<int>(slot->bitmap.rows),
            RoundedPixels(slot->advance.x)};
}

const GlyphImage& Typeface::Draw(std::uint32_t glyph, const RasterStyle& style) const {
    if (!(style == face_->drawnStyle)) {
        face_->drawn.clear();
        face_->drawnStyle = style;
    }
    if (const auto found = face_->drawn.find(glyph); found != face_->drawn.end()) return found->second;
    const FT_GlyphSlot slot = face_->Load(glyph, style, FT_LOAD_RENDER);
    const FT_Bitmap& bitmap = slot->bitmap;
    GlyphImage image;
    image.box = {slot->bitmap_left, slot->bitmap_top, static_cast<int>(bitmap.width), static_cast<int>(bitmap.rows),
                 RoundedPixels(slot->advance.x)};
    const auto width = static_cast<std::size_t>(bitmap.width);
    image.coverage.resize(width * bitmap.rows);
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const unsigned char* in = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
        std::uint8_t* out = image.coverage.data() + row * width;
        if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.num_grays == 256) {  // FreeType's usual: as it is
            std::copy_n(in, width, out);
            continue;
        }
        for (std::size_t x = 0; x < width; ++x) {
            switch (bitmap.pixel_mode) {
                case FT_PIXEL_MODE_MONO: out[x] = (in[x / 8] >> (7 - x % 8) & 1) ? 255 : 0; break;
                case FT_PIXEL_MODE_GRAY:
                    if (bitmap.num_grays >= 2) {
                        out[x] = static_cast<std::uint8_t>(std::min(in[x] * 255 / (bitmap.num_grays - 1), 255));
                        break;
                    }
                    [[fallthrough]];
                default: throw face_->Unreadable("glyph " + std::to_string(glyph) + " is a kind of image that cannot be drawn here");
            }
        }
    }
    return face_->drawn.emplace(glyph, std::move(image)).first->second;
}

}  // namespace glyphs
