#pragma once

#include "picture/image.h"

// The pictures the window's layout fixes, the same in every toolkit's window.
namespace editor {

enum class Arrow { Up, Down };

inline constexpr int kArrowWidth = 12;
inline constexpr int kArrowHeight = 8;

// The up arrow of the edge buttons, rows from the top: 'o' outline, 'f' fill, '.' background.
inline constexpr const char* kUpArrowRows[kArrowHeight] = {
    "............",
    ".....oo.....",
    "....offo....",
    "....offo....",
    "...offffo...",
    "...offffo...",
    "..offffffo..",
    "..oooooooo..",
};

inline constexpr picture::Rgba kArrowBackground{0xD8, 0xD8, 0xD8, 255};
inline constexpr picture::Rgba kArrowOutline{0x00, 0x80, 0x00, 255};
inline constexpr picture::Rgba kArrowFill{0x00, 0xFF, 0x00, 255};

// The down arrow is the up arrow upside down.
inline picture::Image ArrowPicture(Arrow arrow) {
    picture::Image image = picture::Filled(kArrowWidth, kArrowHeight, kArrowBackground);
    for (int row = 0; row < kArrowHeight; ++row) {
        const char* cells = kUpArrowRows[arrow == Arrow::Up ? row : kArrowHeight - 1 - row];
        for (int column = 0; column < kArrowWidth; ++column) {
            if (cells[column] == 'o') image.At(column, row) = kArrowOutline;
            if (cells[column] == 'f') image.At(column, row) = kArrowFill;
        }
    }
    return image;
}

}  // namespace editor
