#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "tests/editor/fake_view.h"
#include "tests/support/font_bytes.h"
#include "tests/support/temp_dir.h"

namespace testing_support {

// A 24-bit BMP of the given size in one grey (0x40 by default).
std::vector<std::byte> GreyBmp(int width = 512, int height = 512, std::uint8_t grey = 0x40);
// The same bytes with the two size fields of the info header rewritten.
std::vector<std::byte> WithBmpSize(std::vector<std::byte> bytes, std::int32_t width, std::int32_t height);
// The bytes with one binary32 put in at an offset, as a whole-file expectation.
std::vector<std::byte> With(std::vector<std::byte> bytes, std::size_t offset, float value);

// The editor over real files in a folder of its own, in a window that is a fake.
class EditorTest : public ::testing::Test {
protected:
    explicit EditorTest(char decimalSeparator = '.') : separator(decimalSeparator) {}

    void SetUp() override {
        editor = std::make_unique<editor::Editor>(view, separator);
        view.editor = editor.get();
    }

    // Names may be Cyrillic: they are given as UTF-8 and made paths the system's way.
    std::filesystem::path PathOf(const std::string& name) const;
    std::filesystem::path Write(const std::string& name, const std::vector<std::byte>& bytes) const;
    std::vector<std::byte> FileBytes(const std::filesystem::path& path) const;

    // The open command with both dialogs answered (nothing: Cancel).
    void Open(const std::filesystem::path& font, const std::optional<std::filesystem::path>& picture);
    // Writes font1.gmf and a good font1.bmp beside it and opens them; returns the font's path.
    std::filesystem::path OpenFont(const FontBytes& font);

    void Type(editor::Box box, const std::string& text) { view.texts[box] = text; }
    const std::string& Shown(editor::Box box) { return view.texts[box]; }

    void ExpectStartUpState() const;

    char separator;
    TempDir dir;
    FakeView view;
    std::unique_ptr<editor::Editor> editor;
};

}  // namespace testing_support
