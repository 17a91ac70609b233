#include "tests/editor/fake_view.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace testing_support {
namespace {

const char* Name(editor::Box box) {
    switch (box) {
    case editor::Box::Text1: return "Text1";
    case editor::Box::Text2: return "Text2";
    case editor::Box::Text3: return "Text3";
    case editor::Box::Text4: return "Text4";
    case editor::Box::Text5: return "Text5";
    case editor::Box::info: return "info";
    }
    return "?";
}

const char* Name(editor::Label label) {
    switch (label) {
    case editor::Label::Label1: return "Label1";
    case editor::Label::Label4: return "Label4";
    case editor::Label::Label5: return "Label5";
    }
    return "?";
}

const char* Name(editor::Control control) {
    using editor::Control;
    switch (control) {
    case Control::Frame2: return "Frame2";
    case Control::Frame4: return "Frame4";
    case Control::scr: return "scr";
    case Control::Picture1: return "Picture1";
    case Control::Shape1: return "Shape1";
    case Control::err: return "err";
    case Control::Command2: return "Command2";
    case Control::Command3: return "Command3";
    case Control::Command4: return "Command4";
    case Control::Command5: return "Command5";
    case Control::Command6: return "Command6";
    case Control::Command7: return "Command7";
    case Control::EditMenu: return "EditMenu";
    case Control::Undo: return "Undo";
    case Control::Redo: return "Redo";
    case Control::FitGlyph: return "FitGlyph";
    case Control::FitAllGlyphs: return "FitAllGlyphs";
    case Control::DrawGlyphs: return "DrawGlyphs";
    }
    return "?";
}

const char* Name(editor::Timer timer) { return timer == editor::Timer::Message ? "Message" : "TextureSettled"; }

}  // namespace

void FakeView::SetText(editor::Box box, const std::string& text) {
    // The help text is long: its call says only that it was set.
    calls.push_back(std::string(Name(box)) + (box == editor::Box::info ? " = help" : " = " + text));
    texts[box] = text;
}

std::string FakeView::Text(editor::Box box) const { return texts.count(box) ? texts.at(box) : "0"; }

void FakeView::SetCaption(editor::Label label, const std::string& caption) {
    calls.push_back(std::string(Name(label)) + " = " + caption);
    captions[label] = caption;
}

void FakeView::SetVisible(editor::Control control, bool shown) {
    calls.push_back(std::string(shown ? "show " : "hide ") + Name(control));
    visible[control] = shown;
}

void FakeView::SetEnabled(editor::Control control, bool on) {
    // "Правка" follows every refresh and every write: it is kept, not written down, or the
    // tables of every other sequence would be about the menu.
    using editor::Control;
    const bool editMenu = control == Control::EditMenu || control == Control::Undo || control == Control::Redo ||
                          control == Control::FitGlyph || control == Control::FitAllGlyphs || control == Control::DrawGlyphs;
    if (!editMenu) calls.push_back(std::string(on ? "enable " : "disable ") + Name(control));
    enabled[control] = on;
}

void FakeView::SetControlText(editor::ControlText control, const std::string& text) {
    // Set all at once when the editor starts and when the language changes: kept, not written down.
    controlTexts[control] = text;
}

void FakeView::SetSelectorMaximum(std::int32_t maximum) {
    calls.push_back("scr.Max = " + std::to_string(maximum));
    selectorMaximum = std::max(maximum, 0);
    if (selectorValue > selectorMaximum) {
        selectorValue = selectorMaximum;
        if (editor) editor->OnSelectorChanged();
    }
}

void FakeView::SetSelectorValue(std::int32_t value) {
    calls.push_back("scr.Value = " + std::to_string(value));
    MoveSelector(value);
}

void FakeView::MoveSelector(std::int32_t value) {
    value = std::clamp(value, 0, selectorMaximum);
    if (value == selectorValue) return;
    selectorValue = value;
    if (editor) editor->OnSelectorChanged();
}

void FakeView::ShowTexture(const picture::Image& shown) {
    calls.push_back("ShowTexture " + std::to_string(shown.width) + "x" + std::to_string(shown.height));
    texture = shown;
    ++texturesShown;
}

void FakeView::ClearDrawing() {
    calls.push_back("Cls");
    pixels.clear();
}

void FakeView::SetPixel(std::int32_t x, std::int32_t y, picture::Rgba colour) {
    EXPECT_EQ(colour, (picture::Rgba{255, 0, 0, 255})) << "the outline is pure red";
    EXPECT_TRUE(x >= 0 && x < 512 && y >= 0 && y < 512) << x << "," << y << " lies outside the picture";
    pixels.emplace(x, y);
}

void FakeView::ShowMagnifier(bool shown) {
    calls.push_back(shown ? "show Magnifier" : "hide Magnifier");
    magnifierShown = shown;
}

std::optional<std::filesystem::path> FakeView::ChooseExistingFile(const std::string& title, const std::string& filter,
                                                                  const std::filesystem::path& folder,
                                                                  const std::filesystem::path& lastFile) {
    calls.push_back("ask " + title);
    questions.push_back({title, filter, folder, lastFile});
    if (whilePromptOpen) whilePromptOpen();
    if (answers.empty()) {
        ADD_FAILURE() << "an unexpected dialog: " << title;
        return std::nullopt;
    }
    auto answer = answers.front();
    answers.pop_front();
    return answer;
}

namespace {

// A message's title is one of the table's, in either language.
void ExpectTitle(const std::string& title, editor::Text text) {
    EXPECT_TRUE(title == editor::TextOf(text, editor::Language::Russian) ||
                title == editor::TextOf(text, editor::Language::English))
        << title;
}

}  // namespace

void FakeView::Exclaim(const std::string& prompt, const std::string& title) {
    calls.push_back("message " + title + ": " + prompt);
    messages.push_back(prompt);
    if (whilePromptOpen) whilePromptOpen();
    ExpectTitle(title, editor::Text::ErrorTitle);
}

void FakeView::Inform(const std::string& prompt, const std::string& title) {
    calls.push_back("inform " + title + ": " + prompt);
    messages.push_back(prompt);
    if (whilePromptOpen) whilePromptOpen();
    ExpectTitle(title, editor::Text::FitTitle);
}

std::optional<editor::RenderValues> FakeView::AskRenderValues(const editor::RenderDialogTexts& texts, const editor::RenderValues& values) {
    calls.push_back("ask " + texts.title);
    if (whilePromptOpen) whilePromptOpen();
    return renderDialog ? renderDialog(values) : std::nullopt;
}

void FakeView::StartTimer(editor::Timer timer, int milliseconds) {
    calls.push_back(std::string("start ") + Name(timer) + " " + std::to_string(milliseconds));
    running[timer] = milliseconds;
}

void FakeView::StopTimer(editor::Timer timer) { running.erase(timer); }

void FakeView::WatchFile(const std::filesystem::path& path) {
    calls.push_back("watch " + path.filename().string());
    watched = path;
}

void FakeView::StopWatching() { watched.reset(); }

void FakeView::TimerRunsOut(editor::Timer timer) {
    ASSERT_TRUE(running.count(timer)) << Name(timer) << " is not running";
    running.erase(timer);
    editor->OnTimer(timer);
}

}  // namespace testing_support
