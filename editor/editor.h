#pragma once

#include <filesystem>
#include <memory>

#include "editor/view.h"

// The window's state and its handlers, for any toolkit: a view forwards each event to the
// handler named after the user's action and carries out what the editor asks of it.
namespace editor {

class Editor {
public:
    // decimalSeparator is the user's, read once at program start. Runs the start-up routine.
    Editor(View& view, char decimalSeparator);
    ~Editor();
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    void OpenCommand();                                   // "Открыть"
    // A font named on the command line, as if the font dialog had returned it; the picture is
    // the named one, else the font's BMP beside it when there is one, else the dialog asks.
    void OpenFromCommandLine(const std::filesystem::path& font, const std::filesystem::path& picture = {});
    void OnSelectorChanged();                             // scr's value changed
    void OnSelectorPressed();                             // the left button went down on scr
    void OnSelectorReleased();                            // ... and up again
    void ClickArrow(Control command);                     // Command2 .. Command7
    void SaveFontParameters();                            // Command1
    void Undo();                                          // "Отменить"
    void Redo();                                          // "Повторить"
    void FitGlyph();                                      // "Подогнать символ по рисунку"
    void FitAllGlyphs();                                  // "Подогнать все символы"
    void OnTimer(Timer timer);
    void OnWatchedFileChanged();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace editor
