#pragma once

#include <QIcon>
#include <QImage>

#include "picture/image.h"

namespace ui {

// The picture's pixels as Qt reads them, not copied: valid while the picture is unchanged.
QImage PixelsOf(const picture::Image& image);

// The 12 x 8 arrows of the edge buttons; the down arrow is the up arrow upside down.
QImage UpArrow();
QImage DownArrow();

// The window's 32 x 32 icon: a glyph cell outlined in red on a texture.
QImage IconImage();

}  // namespace ui
