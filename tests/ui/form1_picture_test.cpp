// The mouse on Picture1 and the magnifier in the Qt window: what the view adds to the core.
#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "tests/ui/window_fixture.h"

namespace {

using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::WindowTest;

// Glyph 1: columns 128 to 157, rows 256 to 288.
class PictureMouse : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        path = OpenFont(FontBytes::LayoutA({Glyph(0.75f, 0.75f, 0.8f), Glyph(0.25f, 0.5f, 0.3125f)}));
    }
    std::string path;
};

TEST_F(PictureMouse, AClickSelectsAndADragOfAnEdgeStoresIt) {
    // At 200% the right half of column 157, the glyph's last, comes as 157.5.
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent half(type, QPointF(157.5, 270), Picture()->mapToGlobal(QPointF(157.5, 270)), Qt::LeftButton,
                         type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, {});
        QApplication::sendEvent(Picture(), &half);
    }
    EXPECT_EQ(Selector()->value(), 1);
    Selector()->setValue(0);
    QTest::mouseClick(Picture(), Qt::LeftButton, {}, {140, 270});
    EXPECT_EQ(Selector()->value(), 1);
    EXPECT_EQ(TextOf("Text1"), "64");

    const auto before = FileBytes(path);
    QTest::mouseMove(Picture(), {128, 270});
    EXPECT_EQ(Picture()->cursor().shape(), Qt::SizeHorCursor);
    // The press comes as the second of a double click.
    QMouseEvent press(QEvent::MouseButtonDblClick, QPointF(128, 270), Picture()->mapToGlobal(QPointF(128, 270)),
                      Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(Picture(), &press);
    QTest::mouseMove(Picture(), {134, 270});
    EXPECT_EQ(TextOf("Text1"), "67");
    EXPECT_TRUE(IsRed(134, 270)) << "the outline where the edge would be";
    EXPECT_EQ(FileBytes(path), before);
    QTest::mouseRelease(Picture(), Qt::LeftButton, {}, {134, 270});
    EXPECT_NE(FileBytes(path), before);
    EXPECT_EQ(TextOf("Text1"), "67");
}

TEST_F(PictureMouse, TheMagnifierOpensBesideTheWindowAndClosingItUnchecks) {
    auto* item = Child<QAction>("MagnifierItem");
    item->trigger();
    auto* magnifier = Child<QWidget>("Magnifier");
    ASSERT_TRUE(magnifier->isVisible());
    EXPECT_EQ(magnifier->windowTitle(), QStringLiteral("Лупа"));
    EXPECT_TRUE(item->isChecked());
    EXPECT_GT(magnifier->x(), window->x()) << "beside the main window";
    // The texture magnified, between the lines of its grid.
    const QImage shown = magnifier->grab().toImage();
    int texture = 0, grid = 0;
    for (int x = shown.width() / 2 - 32; x < shown.width() / 2 + 32; ++x) {
        const QColor colour = shown.pixelColor(x, shown.height() / 2 + 1);
        if (colour == QColor(0x40, 0x40, 0x40)) ++texture;
        else if (colour.red() > 0x40 && colour.red() < 0x80) ++grid;
    }
    EXPECT_EQ(grid, 8) << "one line every 8 pixels";
    EXPECT_EQ(texture, 56);
    magnifier->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(magnifier));
    QTest::keyClick(magnifier, Qt::Key_L, Qt::ControlModifier);
    EXPECT_FALSE(magnifier->isVisible()) << "Ctrl+L closes it from inside too";
    item->trigger();
    magnifier->close();
    EXPECT_FALSE(item->isChecked());
}

}  // namespace
