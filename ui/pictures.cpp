#include "ui/pictures.h"

#include <QPainter>

#include "editor/pictures.h"

namespace ui {
namespace {

QImage ToQImage(const picture::Image& image) {
    QImage converted(image.width, image.height, QImage::Format_RGB32);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const picture::Rgba pixel = image.At(x, y);
            converted.setPixel(x, y, qRgb(pixel.r, pixel.g, pixel.b));
        }
    }
    return converted;
}

}  // namespace

QImage UpArrow() { return ToQImage(editor::ArrowPicture(editor::Arrow::Up)); }

QImage DownArrow() { return ToQImage(editor::ArrowPicture(editor::Arrow::Down)); }

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
