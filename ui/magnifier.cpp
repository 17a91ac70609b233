#include "ui/magnifier.h"

#include <QCloseEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <optional>

#include "ui/pictures.h"

namespace ui {
namespace {

constexpr int kDefaultSide = 400;

QRect ToQt(const editor::MagnifierDrawing::Rect& rect) {
    return QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
}

QColor ToQt(picture::Rgba colour) { return QColor(colour.r, colour.g, colour.b, colour.a); }

// The magnifier's pixel under the pointer: at a device pixel ratio above 1 the position has fractions.
QPoint PixelAt(const QMouseEvent* event) {
    return {editor::PixelUnder(event->position().x(), 1), editor::PixelUnder(event->position().y(), 1)};
}

std::optional<editor::Key> KeyOf(int key) {
    switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: return editor::Key::Plus;  // "+" without Shift on most layouts
    case Qt::Key_Minus: return editor::Key::Minus;
    case Qt::Key_Escape: return editor::Key::Escape;
    default: return std::nullopt;
    }
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
    const editor::MagnifierDrawing drawing = editor_.DrawMagnifier();
    painter.fillRect(rect(), ToQt(drawing.background));
    if (drawing.texture) {
        painter.drawImage(ToQt(drawing.target), PixelsOf(*drawing.texture), ToQt(drawing.source));  // no smoothing: squares
    }
    for (const editor::MagnifierDrawing::Fill& fill : drawing.over) painter.fillRect(ToQt(fill.rect), ToQt(fill.colour));
}

void Magnifier::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = PixelAt(event);
    editor_.PressPicture(editor::Surface::Magnifier, at.x(), at.y());
}

void Magnifier::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = PixelAt(event);
    editor_.MovePicture(editor::Surface::Magnifier, at.x(), at.y());
}

void Magnifier::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = PixelAt(event);
    editor_.ReleasePicture(editor::Surface::Magnifier, at.x(), at.y());
}

void Magnifier::wheelEvent(QWheelEvent* event) {
    const bool control = event->modifiers() & Qt::ControlModifier;
    if (!editor_.TurnWheel(editor::Surface::Magnifier, event->angleDelta().y(), control)) event->ignore();
}

void Magnifier::keyPressEvent(QKeyEvent* event) {
    const std::optional<editor::Key> key = KeyOf(event->key());
    if (!key || !editor_.PressKey(editor::Surface::Magnifier, *key)) QWidget::keyPressEvent(event);
}

void Magnifier::resizeEvent(QResizeEvent*) { editor_.OnMagnifierResized(width(), height()); }

void Magnifier::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) editor_.LostMouse(editor::Surface::Magnifier);
    QWidget::changeEvent(event);
}

void Magnifier::closeEvent(QCloseEvent* event) {
    editor_.OnMagnifierClosed();
    event->accept();
}

}  // namespace ui
