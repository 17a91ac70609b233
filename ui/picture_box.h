#pragma once

#include <QImage>
#include <QWidget>
#include <cstddef>
#include <vector>

namespace ui {

// Shows a picture unscaled at its top left, with single pixels drawn over it at run time.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSize = 512;

    explicit PictureBox(QWidget* parent = nullptr);

    void SetPicture(const QImage& picture);
    // Clears what was drawn; the picture stays.
    void Cls();
    // One pixel at picture coordinates; a fractional coordinate lights the nearest pixel,
    // and a point outside the picture has no effect.
    void PSet(double x, double y, QColor colour);

    const QImage& picture() const { return picture_; }
    const QImage& drawing() const { return drawing_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr std::size_t kMaxTrackedPoints = 4096;

    void RequestPaint();

    QImage picture_;
    // The drawing's pixels are ours, so a point is a single store; drawing_ shows them to Qt.
    std::vector<QRgb> pixels_;
    QImage drawing_;
    std::vector<std::size_t> drawn_;  // indexes drawn since the last Cls, to clear just those
    bool drawnTooMany_ = false;
    bool paintRequested_ = false;
};

}  // namespace ui
