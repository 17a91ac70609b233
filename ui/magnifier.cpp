#include "ui/magnifier.h"

#include <QCloseEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace ui {
namespace {

constexpr int kDefaultSide = 400;
const QColor kBackground(0x30, 0x30, 0x30);
const QColor kGrid(0x80, 0x80, 0x80, 0x80);
const QColor kOutline(0xFF, 0, 0);

int RoundedX(const editor::MagnifierPicture& shown, double texturePixels) {
    return static_cast<int>(std::lround(shown.ScreenX(texturePixels)));
}

int RoundedY(const editor::MagnifierPicture& shown, double texturePixels) {
    return static_cast<int>(std::lround(shown.ScreenY(texturePixels)));
}

}  // namespace

Magnifier::Magnifier(editor::Editor& editor, QWidget* owner) : QWidget(owner, Qt::Tool), editor_(editor) {
    setObjectName(QStringLiteral("Magnifier"));
    setWindowTitle(QStringLiteral("Лупа"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(kDefaultSide, kDefaultSide);
}

void Magnifier::ShowBesideOwner() {
    if (!placed_) {
        const QRect owner = parentWidget()->frameGeometry();
        move(owner.right() + 8, owner.top());
        placed_ = true;
    }
    show();
}

void Magnifier::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    const editor::MagnifierPicture shown = editor_.Magnifier();
    if (!shown.texture) return;

    // Only the part of the region that lies on the texture, scaled without smoothing: squares.
    const picture::Image& texture = *shown.texture;
    const QRect onTexture = QRect(shown.regionLeft, shown.regionTop, shown.regionWidth, shown.regionHeight)
                                .intersected(QRect(0, 0, texture.width, texture.height));
    if (!onTexture.isEmpty()) {
        const QImage pixels(reinterpret_cast<const uchar*>(texture.pixels.data()), texture.width, texture.height,
                            texture.width * static_cast<qsizetype>(sizeof(picture::Rgba)), QImage::Format_RGBA8888);
        const QRect target(RoundedX(shown, onTexture.left()), RoundedY(shown, onTexture.top()),
                           onTexture.width() * shown.factor, onTexture.height() * shown.factor);
        painter.drawImage(target, pixels, onTexture);
        if (shown.factor >= editor::kMagnifierGridFrom) {
            painter.setPen(kGrid);
            for (int x = onTexture.left() + 1; x <= onTexture.right(); ++x) {
                painter.drawLine(RoundedX(shown, x), target.top(), RoundedX(shown, x), target.bottom());
            }
            for (int y = onTexture.top() + 1; y <= onTexture.bottom(); ++y) {
                painter.drawLine(target.left(), RoundedY(shown, y), target.right(), RoundedY(shown, y));
            }
        }
    }
    // Two pixels wide, one each side of the boundary the edge lies on.
    painter.setPen(QPen(kOutline, 2));
    painter.drawRect(QRectF(QPointF(shown.ScreenX(shown.left), shown.ScreenY(shown.top)),
                            QPointF(shown.ScreenX(shown.right), shown.ScreenY(shown.bottom))));
}

void Magnifier::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    editor_.PressPicture(editor::Surface::Magnifier, at.x(), at.y());
}

void Magnifier::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    editor_.MovePicture(editor::Surface::Magnifier, at.x(), at.y());
}

void Magnifier::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    editor_.ReleasePicture(editor::Surface::Magnifier, at.x(), at.y());
}

void Magnifier::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) return event->ignore();
    const int notches = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
    if (notches != 0) editor_.ZoomMagnifier(notches);
}

void Magnifier::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: return editor_.ZoomMagnifier(+1);  // "+" without Shift on most layouts
    case Qt::Key_Minus: return editor_.ZoomMagnifier(-1);
    case Qt::Key_Escape: return editor_.CancelDrag();
    default: return QWidget::keyPressEvent(event);
    }
}

void Magnifier::resizeEvent(QResizeEvent*) { editor_.OnMagnifierResized(width(), height()); }

void Magnifier::changeEvent(QEvent* event) {
    // Another window taking the mouse away mid-drag puts the glyph back, as Escape does.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && editor_.Dragging()) editor_.CancelDrag();
    QWidget::changeEvent(event);
}

void Magnifier::closeEvent(QCloseEvent* event) {
    editor_.OnMagnifierClosed();
    event->accept();
}

}  // namespace ui
