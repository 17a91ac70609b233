#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "glyphs/render_plan.h"
#include "picture/image.h"

// The dialog that draws characters of a TrueType or OpenType font into the texture: what it
// holds, what it says, and the preview it shows.
namespace editor {

struct RenderValues {
    std::filesystem::path typeface;
    bool fromCodePage = false;    // the code page's bytes rather than the typed characters
    std::string characters;       // UTF-8
    std::int32_t firstGlyph = 1;  // as the window numbers glyphs, from 1
    int codePage = 1251;
    int firstByte = 0xC0;
    std::optional<int> px;        // none: the largest whose ink fits the cell
    std::optional<int> baseline;  // none: the highest ink
    glyphs::Hinting hinting = glyphs::Hinting::Light;
    glyphs::WidthRule width = glyphs::WidthRule::Advance;
    bool operator==(const RenderValues&) const = default;
};

// Every text of the dialog, in the window's language.
struct RenderDialogTexts {
    std::string title;
    std::string typeface;     // the label over the file's box
    std::string browse;       // the button that opens the file dialog
    std::string characters;   // the choice of typed characters
    std::string firstGlyph;
    std::string codePage;     // the choice of a code page
    std::string firstByte;
    std::string size;
    std::string baseline;
    std::string automatic;    // what an empty size or baseline box means
    std::string hinting;
    std::string hintings[3];  // none, light, full
    std::string width;
    std::string widths[2];    // advance, ink
    std::string draw;
    std::string cancel;
};

// What the preview shows, this many pixels across and down.
inline constexpr int kPreviewWidth = 480;
inline constexpr int kPreviewHeight = 160;
inline constexpr int kLargestPreviewFactor = 8;

struct RenderPreview {
    picture::Image image;            // kPreviewWidth x kPreviewHeight
    std::vector<std::string> notes;  // lines under it: the size chosen, what moves, clips or has no place, or why nothing can be drawn
    bool canDraw = false;
};

// The texture region around the planned glyphs at the largest whole factor (up to
// kLargestPreviewFactor) that shows it, drawn over the checkerboard, with each drawn glyph's
// rectangle outlined; a region too large for the preview is shown from its top left. A plan of
// no glyphs shows the whole texture from its top left.
picture::Image PreviewPicture(const picture::Picture& drawn, const glyphs::RenderPlan& plan, picture::Rgba outline);

}  // namespace editor
