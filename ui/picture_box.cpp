#include "ui/picture_box.h"

#include <QPainter>
#include <cmath>

namespace ui {

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent), drawing_(kSize, kSize, QImage::Format_ARGB32) {
    drawing_.fill(Qt::transparent);
}

void PictureBox::SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void PictureBox::Cls() {
    drawing_.fill(Qt::transparent);
    update();
}

void PictureBox::PSet(double x, double y, QColor colour) {
    const double column = std::floor(x + 0.5);
    const double row = std::floor(y + 0.5);
    if (!(column >= 0 && column < kSize && row >= 0 && row < kSize)) return;
    drawing_.setPixelColor(static_cast<int>(column), static_cast<int>(row), colour);
    update();  // one repaint for a whole outline, not one per pixel
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawImage(0, 0, picture_);
    painter.drawImage(0, 0, drawing_);
}

}  // namespace ui
