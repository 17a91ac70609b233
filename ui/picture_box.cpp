#include "ui/picture_box.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace ui {

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent),
      pixels_(static_cast<std::size_t>(kSize) * kSize, 0),
      drawing_(reinterpret_cast<const uchar*>(pixels_.data()), kSize, kSize, kSize * sizeof(QRgb),
               QImage::Format_ARGB32) {}

void PictureBox::SetPicture(const QImage& picture) {
    picture_ = picture;
    RequestPaint();
}

void PictureBox::Cls() {
    // Clearing the points drawn costs far less than clearing the whole drawing.
    if (drawnTooMany_) {
        std::fill(pixels_.begin(), pixels_.end(), 0);
    } else {
        for (const std::size_t index : drawn_) pixels_[index] = 0;
    }
    drawn_.clear();
    drawnTooMany_ = false;
    RequestPaint();
}

void PictureBox::PSet(double x, double y, QColor colour) {
    const double column = std::floor(x + 0.5);
    const double row = std::floor(y + 0.5);
    if (!(column >= 0 && column < kSize && row >= 0 && row < kSize)) return;
    const auto index = static_cast<std::size_t>(row) * kSize + static_cast<std::size_t>(column);
    pixels_[index] = colour.rgba();
    if (drawn_.size() < kMaxTrackedPoints) drawn_.push_back(index);
    else drawnTooMany_ = true;
    RequestPaint();
}

void PictureBox::RequestPaint() {
    // One request for a whole outline: each update() costs more than the pixel it is for.
    if (paintRequested_) return;
    paintRequested_ = true;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    paintRequested_ = false;
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawImage(0, 0, picture_);
    painter.drawImage(0, 0, drawing_);
}

}  // namespace ui
