#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <exception>

#include "font/font_file.h"
#include "ui/messages.h"
#include "ui/prompts.h"
#include "ui/texture_watcher.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QWidget;

namespace ui {

class PictureBox;

// The one window. It owns all state; each user action is one handler named after it.
class Form1 : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 777;
    static constexpr int kClientHeight = 536;

    // decimalSeparator is the user's, read once at program start.
    Form1(Prompts& prompts, char decimalSeparator, QWidget* parent = nullptr);

    // The handlers of the user's actions.
    void OpenCommand();
    // A font named on the command line, as if the font dialog had returned it; the picture is
    // the named one, else the font's BMP beside it when there is one, else the dialog asks.
    void OpenFromCommandLine(const QString& fontPath, const QString& picturePath = QString());
    void SaveFontParameters();
    void NudgeEdge(QLineEdit* box, int step, bool guarded);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void StartUp();
    void OpenChosenFont(const QString& picturePath);
    void ShowPictureAgain();
    void StopFollowingPicture();

    // The window's steps of a load.
    void LoadFont();
    void SetSelectorRange();
    void ShowFontParameters();

    void RefreshGlyphView();
    void ShowSelectedGlyph();
    void ShowNoGlyph();
    void DrawOutline();
    void ShowWidthWarning();
    void OnSelectorChanged();

    void StoreGlyph();
    void NormaliseDecimalPoint(QLineEdit* box);

    // The arrows store only a glyph that the view has shown as the file holds it.
    void SetGlyphShown(bool shown);
    void ShowFailure(Action action, const runtime::Failure& failure);
    void ReportAfterEvent(const QString& message);

    Prompts& prompts_;
    const char decimalSeparator_;

    // The font whose layout font_ holds: it changes only when a load starts on a chosen file,
    // so a store or a save never writes into a file that was not loaded.
    QString fontPath_;
    font::FontState font_;
    std::int32_t x0_ = 0;
    std::int32_t y0_ = 0;
    std::int32_t x1_ = 0;

    // A refresh that fails inside the load belongs to the load.
    bool loading_ = false;
    std::exception_ptr loadFailure_;
    // A message for a click on the selector waits for the button's release.
    bool selectorPressed_ = false;
    QString pendingMessage_;

    // The shown picture's file, read again when it is saved anew; a trouble with it is told once.
    TextureWatcher pictureWatcher_;
    QString picturePath_;
    bool pictureTroubleShown_ = false;

    CommonDialog CommonDialog1;
    CommonDialog CommonDialog2;

    QAction* opp = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QGroupBox* Frame5 = nullptr;
    PictureBox* Picture1 = nullptr;
    QLabel* err = nullptr;
    QWidget* Shape1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    std::array<QLabel*, 5> Label3{};
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QScrollBar* scr = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLineEdit* Text5 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    QPlainTextEdit* info = nullptr;
};

}  // namespace ui
