#include "ui/pictures.h"

#include <QPainter>

namespace ui {
namespace {

constexpr QRgb kBackground = 0xFFD8D8D8;
constexpr QRgb kOutline = 0xFF008000;
constexpr QRgb kFill = 0xFF00FF00;

// Rows of the up arrow, top to bottom: 'o' outline, 'f' fill, '.' background.
constexpr const char* kUpArrowRows[] = {
    "............",
    ".....oo.....",
    "....offo....",
    "....offo....",
    "...offffo...",
    "...offffo...",
    "..offffffo..",
    "..oooooooo..",
};

}  // namespace

QImage UpArrow() {
    QImage image(12, 8, QImage::Format_RGB32);
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 12; ++column) {
            const char cell = kUpArrowRows[row][column];
            image.setPixel(column, row, cell == 'o' ? kOutline : cell == 'f' ? kFill : kBackground);
        }
    }
    return image;
}

QImage DownArrow() { return UpArrow().mirrored(false, true); }

QImage IconImage() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(QColor(0x20, 0x20, 0x20));
    QPainter painter(&image);
    painter.setPen(QColor(0xE0, 0xE0, 0xE0));
    QFont font;
    font.setPixelSize(24);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("R"));
    painter.setPen(QColor(255, 0, 0));
    painter.drawRect(6, 3, 19, 25);
    return image;
}

}  // namespace ui
