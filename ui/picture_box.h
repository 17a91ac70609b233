#pragma once

#include <QImage>
#include <QWidget>

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
    QImage picture_;
    QImage drawing_;
};

}  // namespace ui
