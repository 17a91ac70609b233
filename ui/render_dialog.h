#pragma once

#include <QDialog>

#include "editor/editor.h"
#include "editor/render_dialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace ui {

// "Нарисовать символы из шрифта": the values in controls, and under them the editor's preview of
// what they would draw, asked again at every change. The editor decides what can be drawn.
class RenderDialog final : public QDialog {
    Q_OBJECT

public:
    RenderDialog(editor::Editor& editor, const editor::RenderDialogTexts& texts, const editor::RenderValues& values,
                 QWidget* parent);

    editor::RenderValues Values() const;

private:
    void BuildControls(const editor::RenderDialogTexts& texts);
    void ShowValues(const editor::RenderValues& values);
    void ForwardEvents();
    void ShowChoice();
    void ShowPreview();
    void ChooseTypeface();

    editor::Editor& editor_;
    editor::RenderValues shown_;  // what the dialog has no control for passes through as given

    QLineEdit* typeface_ = nullptr;
    QToolButton* browse_ = nullptr;
    QRadioButton* charactersChoice_ = nullptr;
    QLineEdit* characters_ = nullptr;
    QLabel* firstGlyphLabel_ = nullptr;
    QSpinBox* firstGlyph_ = nullptr;
    QRadioButton* codePageChoice_ = nullptr;
    QComboBox* codePage_ = nullptr;
    QLabel* firstByteLabel_ = nullptr;
    QSpinBox* firstByte_ = nullptr;
    QLineEdit* size_ = nullptr;
    QLineEdit* baseline_ = nullptr;
    QComboBox* hinting_ = nullptr;
    QComboBox* width_ = nullptr;
    QLabel* preview_ = nullptr;
    QLabel* notes_ = nullptr;
    QPushButton* draw_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace ui
