#include "ui/pictures.h"

#include <QPainter>

#include "editor/pictures.h"

namespace ui {

QImage PixelsOf(const picture::Image& image) {
    return QImage(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                  image.width * static_cast<qsizetype>(sizeof(picture::Rgba)), QImage::Format_RGBA8888);
}

QImage UpArrow() { return PixelsOf(editor::ArrowPicture(editor::Arrow::Up)).convertToFormat(QImage::Format_RGB32); }

QImage DownArrow() { return PixelsOf(editor::ArrowPicture(editor::Arrow::Down)).convertToFormat(QImage::Format_RGB32); }

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
