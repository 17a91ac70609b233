#pragma once

#include <QFileSystemWatcher>
#include <QMainWindow>
#include <QTimer>
#include <array>
#include <memory>

#include "editor/editor.h"
#include "editor/view.h"
#include "ui/prompts.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QWidget;

namespace ui {

class Magnifier;
class PictureBox;

// The one window in Qt: its controls, and the editor's requests carried out on them. Every
// event goes to the editor, which decides what happens.
class Form1 : public QMainWindow, public editor::View {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 777;
    static constexpr int kClientHeight = 536;

    // decimalSeparator is the user's, read once at program start.
    // settings, when given, keeps the language between runs.
    Form1(Prompts& prompts, char decimalSeparator, editor::SettingsStore* settings = nullptr, QWidget* parent = nullptr);
    ~Form1() override;

    editor::Editor& Editor() { return *editor_; }
    // The font (and picture) named on the command line, in Qt's spelling of the names.
    void OpenFromCommandLine(const QString& fontPath, const QString& picturePath = QString());

    // editor::View
    void SetText(editor::Box box, const std::string& text) override;
    std::string Text(editor::Box box) const override;
    void SetCaption(editor::Label label, const std::string& caption) override;
    void SetVisible(editor::Control control, bool visible) override;
    void SetEnabled(editor::Control control, bool enabled) override;
    void SetControlText(editor::ControlText control, const std::string& text) override;
    void CheckLanguage(editor::Language language) override;
    void SetSelectorMaximum(std::int32_t maximum) override;
    std::int32_t SelectorValue() const override;
    void SetSelectorValue(std::int32_t value) override;
    bool LeftButtonDown() const override;
    void ShowTexture(const picture::Image& texture) override;
    void ClearDrawing() override;
    void SetPixel(std::int32_t x, std::int32_t y, picture::Rgba colour) override;
    std::optional<std::filesystem::path> ChooseExistingFile(const std::string& title, const std::string& filter,
                                                            const std::filesystem::path& folder,
                                                            const std::filesystem::path& lastFile) override;
    void Exclaim(const std::string& prompt, const std::string& title) override;
    void Inform(const std::string& prompt, const std::string& title) override;
    std::optional<editor::RenderValues> AskRenderValues(const editor::RenderDialogTexts& texts,
                                                        const editor::RenderValues& values) override;
    void StartTimer(editor::Timer timer, int milliseconds) override;
    void StopTimer(editor::Timer timer) override;
    void WatchFile(const std::filesystem::path& path) override;
    void StopWatching() override;
    void SetCursor(editor::Surface surface, editor::Cursor cursor) override;
    void ShowMagnifier(bool shown) override;
    void RedrawMagnifier() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildControls();
    void ForwardEvents();
    QWidget* ControlWidget(editor::Control control) const;
    QAction* MenuAction(editor::Control control) const;
    bool IsBoxOwnUndoKey(QObject* watched, QEvent* event) const;
    void ForwardPictureMouse(QEvent* event);
    QTimer& TimerFor(editor::Timer timer);
    void OnWatchedPathChanged();

    Prompts& prompts_;
    std::unique_ptr<editor::Editor> editor_;

    QTimer messageTimer_;
    QTimer textureSettledTimer_;
    QFileSystemWatcher watcher_;
    QString watchedFile_;

    QAction* opp = nullptr;
    QMenu* EditMenu = nullptr;  // "Правка"
    QAction* Undo = nullptr;
    QAction* Redo = nullptr;
    QAction* FitGlyph = nullptr;
    QAction* FitAllGlyphs = nullptr;
    QAction* DrawGlyphs = nullptr;
    QMenu* ViewMenu = nullptr;      // "Вид"
    QAction* MagnifierItem = nullptr;
    Magnifier* magnifier_ = nullptr;
    QMenu* LanguageMenu = nullptr;  // "Язык / Language"
    QAction* Russian = nullptr;
    QAction* English = nullptr;
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
