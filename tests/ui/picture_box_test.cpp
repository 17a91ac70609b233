#include "ui/picture_box.h"

#include <gtest/gtest.h>

#include <QPixmap>

namespace {

int PointsDrawn(const ui::PictureBox& box) {
    int drawn = 0;
    const QImage& drawing = box.drawing();
    for (int y = 0; y < drawing.height(); ++y) {
        for (int x = 0; x < drawing.width(); ++x) drawn += qAlpha(drawing.pixel(x, y)) != 0;
    }
    return drawn;
}

TEST(PictureBox, PSetLightsTheNearestPixelInsideThePicture) {
    ui::PictureBox box;
    box.PSet(10.4, 20.6, Qt::red);
    box.PSet(-0.4, 511.4, Qt::red);
    EXPECT_EQ(box.drawing().pixel(10, 21), qRgba(255, 0, 0, 255));
    EXPECT_EQ(box.drawing().pixel(0, 511), qRgba(255, 0, 0, 255));
    // Points that round to outside the picture, and ones no pixel can hold, draw nothing.
    for (const auto& [x, y] : {std::pair{-0.6, 5.0}, {511.5, 5.0}, {5.0, 512.0}, {1e300, 5.0}, {std::nan(""), 5.0}}) {
        box.PSet(x, y, Qt::red);
    }
    EXPECT_EQ(PointsDrawn(box), 2);
}

TEST(PictureBox, ClsClearsEveryPointDrawnAndKeepsThePicture) {
    ui::PictureBox box;
    QImage picture(512, 512, QImage::Format_RGB32);
    picture.fill(QColor(0x40, 0x40, 0x40));
    box.SetPicture(picture);
    box.resize(512, 512);

    // A few points, then more than the box keeps track of one by one.
    for (int count : {3, 2000, 6000, 512 * 512}) {
        for (int i = 0; i < count; ++i) box.PSet(i % 512, i / 512 % 512, Qt::red);
        box.PSet(7, 7, Qt::red);  // a point drawn twice
        ASSERT_GT(PointsDrawn(box), 0);
        box.Cls();
        EXPECT_EQ(PointsDrawn(box), 0) << count << " points";
    }
    EXPECT_EQ(box.picture().pixel(100, 100), QColor(0x40, 0x40, 0x40).rgb());

    // What is shown: the picture, and a point drawn over it after the clear.
    box.PSet(100, 100, Qt::red);
    const QImage shown = box.grab().toImage();
    EXPECT_EQ(shown.pixel(100, 100), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(101, 100), qRgb(0x40, 0x40, 0x40));
}

}  // namespace
