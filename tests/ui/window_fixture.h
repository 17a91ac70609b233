#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "tests/support/font_bytes.h"
#include "tests/support/temp_dir.h"
#include "ui/form1.h"
#include "ui/picture_box.h"
#include "ui/prompts.h"

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace testing_support {

// Dialogs answered from a script, and every question and message written down.
class FakePrompts final : public ui::Prompts {
public:
    struct Question {
        QString title;
        QString filter;
        QString folder;
        QString lastFile;
    };
    struct Message {
        QString prompt;
        QString title;
    };

    std::deque<QString> answers;  // an empty text for Cancel
    std::vector<Question> questions;
    std::vector<Message> messages;

    QString ChooseExistingFile(QWidget*, const QString& title, const QString& filter, const QString& folder,
                               const QString& lastFile) override {
        questions.push_back({title, filter, folder, lastFile});
        if (answers.empty()) {
            ADD_FAILURE() << "an unexpected dialog: " << title.toStdString();
            return {};
        }
        const QString answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void Exclaim(QWidget*, const QString& prompt, const QString& title) override {
        messages.push_back({prompt, title});
    }
    void Inform(QWidget*, const QString& prompt, const QString& title) override { messages.push_back({prompt, title}); }
};

// A 24-bit BMP of the given size and colour (a grey texture by default), made by Qt's own writer.
std::vector<std::byte> TextureBmp(int width = 512, int height = 512, QColor colour = QColor(0x40, 0x40, 0x40));
// The same bytes with the two size fields of the info header rewritten.
std::vector<std::byte> WithBmpSize(std::vector<std::byte> bytes, std::int32_t width, std::int32_t height);

// The real window over real files, with fake dialogs.
class WindowTest : public ::testing::Test {
protected:
    explicit WindowTest(char decimalSeparator = '.') : separator(decimalSeparator) {}

    void SetUp() override {
        window = std::make_unique<ui::Form1>(prompts, separator);
        window->show();
    }

    template <typename Widget = QWidget>
    Widget* Child(const char* name) const {
        auto* child = window->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    QString TextOf(const char* name) const;
    ui::PictureBox* Picture() const { return Child<ui::PictureBox>("Picture1"); }
    QScrollBar* Selector() const { return Child<QScrollBar>("scr"); }

    // Writes the font and its texture and opens them through the menu, answering both dialogs.
    std::string WriteFont(const FontBytes& font, const std::string& name = "font1.gmf");
    void Open(const std::string& fontPath, const std::optional<std::string>& picturePath);
    std::string OpenFont(const FontBytes& font);
    void ClickMenu();
    void Click(const char* button);

    // The red pixels drawn over the picture, as (column, row).
    std::vector<std::pair<int, int>> RedPixels() const;
    bool IsRed(int column, int row) const;

    // Whether the start-up routine's state holds.
    void ExpectStartUpState() const;

    std::vector<std::byte> FileBytes(const std::string& path) const { return ReadAll(path); }

    char separator;
    TempDir dir;
    FakePrompts prompts;
    std::unique_ptr<ui::Form1> window;
};

}  // namespace testing_support
