#pragma once

#include <QWidget>

#include "editor/editor.h"

namespace ui {

// The tool window "Лупа": what the editor's magnifier holds, each texture pixel a square of the
// factor's size, with a grid from kMagnifierGridFrom on and the outline where the record puts it.
// The mouse and the zoom keys go to the editor.
class Magnifier final : public QWidget {
    Q_OBJECT

public:
    Magnifier(editor::Editor& editor, QWidget* owner);

    // Shown beside the owner the first time, then wherever the user left it.
    void ShowBesideOwner();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    editor::Editor& editor_;
    bool placed_ = false;
};

}  // namespace ui
