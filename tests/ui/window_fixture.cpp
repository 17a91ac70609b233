#include "tests/ui/window_fixture.h"

#include <QAction>
#include <QBuffer>
#include <QGroupBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

#include "editor/messages.h"

namespace testing_support {

std::vector<std::byte> TextureBmp(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(colour);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    std::vector<std::byte> bytes(static_cast<std::size_t>(data.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::byte>(data[static_cast<qsizetype>(i)]);
    return bytes;
}

std::vector<std::byte> WithBmpSize(std::vector<std::byte> bytes, std::int32_t width, std::int32_t height) {
    runtime::StoreUint32(static_cast<std::uint32_t>(width), std::span<std::byte, 4>(bytes.data() + 18, 4));
    runtime::StoreUint32(static_cast<std::uint32_t>(height), std::span<std::byte, 4>(bytes.data() + 22, 4));
    return bytes;
}

QString WindowTest::TextOf(const char* name) const {
    if (auto* box = window->findChild<QLineEdit*>(QString::fromLatin1(name))) return box->text();
    return Child<QLabel>(name)->text();
}

std::string WindowTest::WriteFont(const FontBytes& font, const std::string& name) {
    return dir.Write(name, font.bytes());
}

void WindowTest::ClickMenu() {
    auto* bar = window->menuBar();
    QAction* open = window->findChild<QAction*>(QStringLiteral("opp"));
    ASSERT_NE(open, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(open).center());
}

void WindowTest::Open(const std::string& fontPath, const std::optional<std::string>& picturePath) {
    prompts.answers.push_back(QString::fromStdString(fontPath));
    if (picturePath) prompts.answers.push_back(QString::fromStdString(*picturePath));
    else prompts.answers.push_back(QString());
    ClickMenu();
    EXPECT_TRUE(prompts.answers.empty()) << "a dialog was not asked";
    prompts.answers.clear();
}

std::string WindowTest::OpenFont(const FontBytes& font) {
    const std::string path = WriteFont(font);
    Open(path, dir.Write("font1.bmp", TextureBmp()));
    return path;
}

void WindowTest::Click(const char* button) {
    auto* widget = Child<QPushButton>(button);
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

std::vector<std::pair<int, int>> WindowTest::RedPixels() const {
    std::vector<std::pair<int, int>> red;
    const QImage& drawing = Picture()->drawing();
    for (int y = 0; y < drawing.height(); ++y) {
        for (int x = 0; x < drawing.width(); ++x) {
            if (IsRed(x, y)) red.emplace_back(x, y);
        }
    }
    return red;
}

bool WindowTest::IsRed(int column, int row) const {
    return Picture()->drawing().pixel(column, row) == qRgba(255, 0, 0, 255);
}

void WindowTest::ExpectStartUpState() const {
    EXPECT_FALSE(Child<QGroupBox>("Frame2")->isEnabled());
    EXPECT_FALSE(Child<QGroupBox>("Frame4")->isEnabled());
    EXPECT_FALSE(Selector()->isEnabled());
    EXPECT_TRUE(Child("Shape1")->isVisible());
    EXPECT_FALSE(Picture()->isVisible());
    EXPECT_EQ(TextOf("Label1"), QString());
    EXPECT_EQ(Child<QPlainTextEdit>("info")->toPlainText(), QString::fromStdString(editor::HelpText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

}  // namespace testing_support
