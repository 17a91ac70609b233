#include "tests/editor/editor_fixture.h"

#include "runtime/binary_file.h"
#include "runtime/little_endian.h"
#include "tests/support/bmp.h"

namespace testing_support {

std::vector<std::byte> GreyBmp(int width, int height, std::uint8_t grey) {
    return Bmp24(width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, grey));
}

std::vector<std::byte> WithBmpSize(std::vector<std::byte> bytes, std::int32_t width, std::int32_t height) {
    runtime::StoreUint32(static_cast<std::uint32_t>(width), std::span<std::byte, 4>(bytes.data() + 18, 4));
    runtime::StoreUint32(static_cast<std::uint32_t>(height), std::span<std::byte, 4>(bytes.data() + 22, 4));
    return bytes;
}

std::vector<std::byte> With(std::vector<std::byte> bytes, std::size_t offset, float value) {
    runtime::StoreSingle(value, std::span<std::byte, 4>(bytes.data() + offset, 4));
    return bytes;
}

std::filesystem::path EditorTest::PathOf(const std::string& name) const {
    return std::filesystem::path(dir.Path("")) / std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::filesystem::path EditorTest::Write(const std::string& name, const std::vector<std::byte>& bytes) const {
    const std::filesystem::path path = PathOf(name);
    runtime::WriteNewFile(path, bytes);
    return path;
}

std::vector<std::byte> EditorTest::FileBytes(const std::filesystem::path& path) const {
    return runtime::BinaryFile::OpenForReading(path).ReadAll();
}

void EditorTest::Open(const std::filesystem::path& font, const std::optional<std::filesystem::path>& picture) {
    view.answers = {font, picture};
    editor->OpenCommand();
    EXPECT_TRUE(view.answers.empty()) << "a dialog was not asked";
    view.answers.clear();
}

std::filesystem::path EditorTest::OpenFont(const FontBytes& font) {
    const std::filesystem::path path = Write("font1.gmf", font.bytes());
    Open(path, Write("font1.bmp", GreyBmp()));
    return path;
}

void EditorTest::ExpectStartUpState() const {
    using editor::Control;
    EXPECT_FALSE(view.IsEnabled(Control::Frame2));
    EXPECT_FALSE(view.IsEnabled(Control::Frame4));
    EXPECT_FALSE(view.IsEnabled(Control::scr));
    EXPECT_TRUE(view.IsVisible(Control::Shape1));
    EXPECT_FALSE(view.IsVisible(Control::Picture1));
    EXPECT_EQ(view.captions.at(editor::Label::Label1), "");
    EXPECT_EQ(view.texts.at(editor::Box::info), editor::HelpText());
    EXPECT_FALSE(view.watched) << "no picture followed";
}

}  // namespace testing_support
