#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "editor/editor.h"
#include "editor/view.h"

namespace testing_support {

// A window without a toolkit: it keeps what the editor set, answers the dialogs from a script,
// and writes down every call but the single pixels, which it keeps as a set.
class FakeView final : public editor::View {
public:
    struct Question {
        std::string title;
        std::string filter;
        std::filesystem::path folder;
        std::filesystem::path lastFile;
    };

    // The editor that the selector's changes reach, as a real selector's would.
    editor::Editor* editor = nullptr;

    std::vector<std::string> calls;
    std::map<editor::Box, std::string> texts;
    std::map<editor::Label, std::string> captions;
    std::map<editor::Control, bool> visible;
    std::map<editor::Control, bool> enabled;
    std::map<editor::ControlText, std::string> controlTexts;
    std::optional<editor::Language> checkedLanguage;
    std::int32_t selectorMaximum = 0;
    std::int32_t selectorValue = 0;
    bool leftButtonDown = false;
    std::optional<picture::Image> texture;
    int texturesShown = 0;
    std::set<std::pair<int, int>> pixels;
    std::deque<std::optional<std::filesystem::path>> answers;  // nothing for Cancel
    std::vector<Question> questions;
    std::vector<std::string> messages;
    std::map<editor::Timer, int> running;  // timer: its milliseconds
    std::optional<std::filesystem::path> watched;
    // What the user does while a dialog or a message is open.
    std::function<void()> whilePromptOpen;
    std::map<editor::Surface, editor::Cursor> cursors;
    bool magnifierShown = false;
    // The user in the dialog that draws glyphs: nothing is Cancel. Without it the dialog is cancelled.
    std::function<std::optional<editor::RenderValues>(const editor::RenderValues&)> renderDialog;
    int magnifierRedraws = 0;

    void SetText(editor::Box box, const std::string& text) override;
    std::string Text(editor::Box box) const override;
    void SetCaption(editor::Label label, const std::string& caption) override;
    void SetVisible(editor::Control control, bool shown) override;
    void SetEnabled(editor::Control control, bool on) override;
    void SetControlText(editor::ControlText control, const std::string& text) override;
    void CheckLanguage(editor::Language language) override { checkedLanguage = language; }
    void SetSelectorMaximum(std::int32_t maximum) override;
    std::int32_t SelectorValue() const override { return selectorValue; }
    void SetSelectorValue(std::int32_t value) override;
    bool LeftButtonDown() const override { return leftButtonDown; }
    void ShowTexture(const picture::Image& shown) override;
    void ClearDrawing() override;
    void SetPixel(std::int32_t x, std::int32_t y, picture::Rgba colour) override;
    void SetCursor(editor::Surface surface, editor::Cursor cursor) override { cursors[surface] = cursor; }
    void ShowMagnifier(bool shown) override;
    void RedrawMagnifier() override { ++magnifierRedraws; }
    std::optional<std::filesystem::path> ChooseExistingFile(const std::string& title, const std::string& filter,
                                                            const std::filesystem::path& folder,
                                                            const std::filesystem::path& lastFile) override;
    void Exclaim(const std::string& prompt, const std::string& title) override;
    void Inform(const std::string& prompt, const std::string& title) override;
    std::optional<editor::RenderValues> AskRenderValues(const editor::RenderDialogTexts& texts, const editor::RenderValues& values) override;
    void StartTimer(editor::Timer timer, int milliseconds) override;
    void StopTimer(editor::Timer timer) override;
    void WatchFile(const std::filesystem::path& path) override;
    void StopWatching() override;

    // What a user or the system does to the window.
    void MoveSelector(std::int32_t value);  // as the selector's own clamp to its range
    void TimerRunsOut(editor::Timer timer);  // fails the test when the timer is not running

    // The calls since the last look, and forgets them.
    std::vector<std::string> TakeCalls() { return std::exchange(calls, {}); }

    bool IsVisible(editor::Control control) const { return visible.count(control) && visible.at(control); }
    bool IsEnabled(editor::Control control) const { return enabled.count(control) && enabled.at(control); }
};

// A settings file that is a map.
class FakeSettings final : public editor::SettingsStore {
public:
    std::map<std::string, std::string> values;

    std::optional<std::string> Value(const std::string& key) const override {
        return values.count(key) ? std::optional(values.at(key)) : std::nullopt;
    }
    void SetValue(const std::string& key, const std::string& value) override { values[key] = value; }
};

}  // namespace testing_support
