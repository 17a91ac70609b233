// "Нарисовать символы из шрифта…" in the Qt window: its dialog driven by keys and clicks.
#include <QAction>
#include <QComboBox>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include "tests/gmftool/run_gmftool.h"
#include "tests/ui/window_fixture.h"
#include "ui/render_dialog.h"

namespace {

using testing_support::FontBytes;
using testing_support::WindowTest;

FontBytes SixGlyphs() {
    std::vector<font::GlyphRecord> glyphs;
    for (int i = 0; i < 6; ++i) glyphs.push_back(testing_support::Glyph(12 * i / 256.0f, 0, (12 * i + 10) / 256.0f));
    return std::move(FontBytes::LayoutA(glyphs).Header(16, 24 / 512.0f, 0.03125f));
}

// Characters as a keyboard layout types them, Cyrillic included.
void Type(QWidget* box, const QString& text) {
    for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

class DrawGlyphsDialog : public WindowTest {
protected:
    void OpenSixGlyphs() {
        font = OpenFont(SixGlyphs());
        fontBefore = FileBytes(font);
        textureBefore = FileBytes(texture);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // The steps run once the dialog is open; a dialog they leave open is cancelled.
    void WhenOpen(std::function<void(ui::RenderDialog&)> steps) {
        QTimer::singleShot(0, window.get(), [steps] {
            auto* dialog = qobject_cast<ui::RenderDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << "no dialog opened";
            steps(*dialog);
            if (dialog->isVisible()) dialog->reject();
        });
    }

    template <typename Widget = QWidget>
    static Widget* In(const ui::RenderDialog& dialog, const char* name) { return dialog.findChild<Widget*>(QString::fromLatin1(name)); }

    void ExpectFilesKept() const {
        EXPECT_EQ(FileBytes(font), fontBefore);
        EXPECT_EQ(FileBytes(texture), textureBefore);
    }

    std::string font, texture = dir.Path("font1.bmp");
    std::vector<std::byte> fontBefore, textureBefore;
};

TEST_F(DrawGlyphsDialog, DrawsWhatGmftoolRendersAndOneUndoTakesItBack) {
    OpenSixGlyphs();
    const std::string twinFont = dir.Write("twin.gmf", fontBefore);
    const std::string twinTexture = dir.Write("twin.bmp", textureBefore);
    const auto rendered = testing_support::RunGmftool(
        {"render", twinFont, "--ttf", RUNEPLOT_TEST_TTF, "--chars", "АБВ", "--at", "2", "--no-backup"});
    ASSERT_EQ(rendered.status, 0) << rendered.err;

    WhenOpen([&](ui::RenderDialog& dialog) {
        auto* draw = In<QPushButton>(dialog, "draw");
        EXPECT_FALSE(draw->isEnabled()) << "no font chosen yet";
        QTest::keyClicks(In(dialog, "typeface"), QStringLiteral(RUNEPLOT_TEST_TTF));
        auto* first = In<QSpinBox>(dialog, "firstGlyph");
        first->selectAll();
        QTest::keyClicks(first, QStringLiteral("2"));
        auto* size = In<QLineEdit>(dialog, "size");
        QTest::keyClicks(size, QStringLiteral("08193"));
        EXPECT_EQ(size->text(), QStringLiteral("819")) << "neither 0 px nor more than the largest texture";
        size->clear();
        Type(In(dialog, "characters"), QStringLiteral("АБВ"));
        // Painted as the editor drew it, pixel for pixel, colours in their places.
        const editor::RenderPreview preview = window->Editor().PreviewRender(dialog.Values());
        ASSERT_TRUE(preview.canDraw);
        const QImage shown = In(dialog, "preview")->grab().toImage();
        ASSERT_EQ(shown.size(), QSize(preview.image.width, preview.image.height));
        int outlined = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const picture::Rgba drawn = preview.image.At(x, y);
                ASSERT_EQ(shown.pixelColor(x, y), QColor(drawn.r, drawn.g, drawn.b)) << x << "," << y;
                outlined += drawn == picture::Rgba{255, 0, 0, 255};
            }
        }
        EXPECT_GT(outlined, 0) << "the new glyphs' outlines";
        ASSERT_TRUE(draw->isEnabled());
        QTest::mouseClick(draw, Qt::LeftButton, {}, draw->rect().center());
        EXPECT_FALSE(dialog.isVisible());
    });
    QTest::keyClick(window.get(), Qt::Key_R, Qt::ControlModifier);

    EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front().prompt.toStdString();
    EXPECT_EQ(FileBytes(font), FileBytes(twinFont));
    EXPECT_EQ(FileBytes(texture), FileBytes(twinTexture));
    Child<QAction>("Undo")->trigger();
    ExpectFilesKept();
}

TEST_F(DrawGlyphsDialog, EveryTextFitsInBothLanguagesAndCancelWritesNothing) {
    OpenSixGlyphs();
    const QString ttf = QStringLiteral(RUNEPLOT_TEST_TTF);
    for (QAction* language : {Child<QAction>("Russian"), Child<QAction>("English")}) {
        language->trigger();
        const std::string name = language->objectName().toStdString();
        WhenOpen([&](ui::RenderDialog& dialog) {
            prompts.answers.push_back(ttf);
            QTest::mouseClick(In<QAbstractButton>(dialog, "browse"), Qt::LeftButton);
            EXPECT_EQ(In<QLineEdit>(dialog, "typeface")->text(), ttf) << name;
            Type(In(dialog, "characters"), QStringLiteral("АБВ"));
            EXPECT_FALSE(In<QLabel>(dialog, "notes")->text().isEmpty()) << name;
            // What the style needs to show each text whole, by the font it is drawn in.
            for (QWidget* control : dialog.findChildren<QWidget*>()) {
                const bool captioned = qobject_cast<QLabel*>(control) || qobject_cast<QAbstractButton*>(control) ||
                                       qobject_cast<QComboBox*>(control);
                if (!captioned || !control->isVisible() || control == In(dialog, "preview") || control == In(dialog, "notes")) continue;
                EXPECT_GE(control->width(), control->sizeHint().width()) << name << ": " << control->property("text").toString().toStdString();
            }
            QTest::keyClick(&dialog, Qt::Key_Escape);
            EXPECT_FALSE(dialog.isVisible()) << name;
        });
        Child<QAction>("DrawGlyphs")->trigger();
        ExpectFilesKept();
    }
}

}  // namespace
