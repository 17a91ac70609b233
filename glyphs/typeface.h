#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A TrueType or OpenType face and what the drawing needs of it: which glyph draws a character,
// and each glyph's box and coverage at a size. FreeType stays behind this header.
namespace glyphs {

enum class Hinting { None, Light, Full };

struct RasterStyle {
    int px = 0;  // the em square, in texture pixels
    Hinting hinting = Hinting::Light;
    bool mono = false;  // 1-bit coverage, fully hinted unless Hinting::None
    bool operator==(const RasterStyle&) const = default;
};

// A glyph's image box in whole pixels from its origin on the baseline: left and right from the
// origin, top as rows above the baseline, exactly as the drawing will lay it; advance rounded.
struct GlyphBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    int advance = 0;
    bool HasInk() const { return width > 0 && rows > 0; }
    int Right() const { return left + width; }
    int Bottom() const { return top - rows; }  // the lowest ink row's top, relative to the baseline
};

// Coverage 0..255 row by row from the top, width x rows.
struct GlyphImage {
    GlyphBox box;
    std::vector<std::uint8_t> coverage;
};

class Typeface {
public:
    // Fails as a malformed file, naming it, for what FreeType cannot read as a face: a garbled or
    // cut-short file, or no font at all; and for a collection when no face is named (or one past
    // its end is).
    static Typeface Open(const std::filesystem::path& path, std::optional<int> face);
    static Typeface FromBytes(std::vector<std::byte> bytes, std::optional<int> face, const std::string& name);
    Typeface(Typeface&&) noexcept;
    Typeface& operator=(Typeface&&) noexcept;
    ~Typeface();

    const std::string& name() const;
    // 0 when the face has no glyph for the character.
    std::uint32_t GlyphFor(char32_t character) const;
    // Without drawing: what Draw would give as its box. Fails as a malformed file for a glyph the
    // face cannot load (a font cut short past its tables).
    GlyphBox Measure(std::uint32_t glyph, const RasterStyle& style) const;
    // Drawn once for each style and kept, so that a plan and its drawing load each glyph once.
    // The reference holds until a glyph is drawn in another style.
    const GlyphImage& Draw(std::uint32_t glyph, const RasterStyle& style) const;

private:
    struct Face;
    explicit Typeface(std::unique_ptr<Face> face);
    std::unique_ptr<Face> face_;
};

}  // namespace glyphs
