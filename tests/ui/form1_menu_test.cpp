// "Правка" in the Qt window: which keys are the window's.
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "tests/ui/window_fixture.h"

namespace {

using testing_support::FontBytes;
using testing_support::Glyph;
using testing_support::WindowTest;

class EditMenuKeys : public WindowTest {
protected:
    void OpenAndStore() {
        path = OpenFont(FontBytes::LayoutA({Glyph(100.0f / 256, 0.5f, 110.0f / 256)}));
        before = FileBytes(path);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        Click("Command5");
        stored = FileBytes(path);
        ASSERT_NE(stored, before);
    }

    void Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        widget->setFocus();
        QTest::keyClick(widget, key, modifiers);
    }

    std::string path;
    std::vector<std::byte> before;
    std::vector<std::byte> stored;
};

TEST_F(EditMenuKeys, TheMenuIsDisabledAtStartUp) {
    QAction* menu = Child<QMenu>("EditMenu")->menuAction();
    EXPECT_FALSE(menu->isEnabled());
    OpenAndStore();
    EXPECT_TRUE(menu->isEnabled());
}

TEST_F(EditMenuKeys, InAFontParameterBoxCtrlZAndCtrlYAreTheBoxsOwn) {
    OpenAndStore();
    for (const char* name : {"Text4", "Text5"}) {
        auto* box = Child<QLineEdit>(name);
        const QString shown = box->text();
        box->setFocus();
        box->end(false);
        QTest::keyClick(box, Qt::Key_0);
        Key(box, Qt::Key_Z);
        EXPECT_EQ(box->text(), shown) << name;
        Key(box, Qt::Key_Y);
        EXPECT_EQ(box->text(), shown + QLatin1Char('0')) << name;
        Key(box, Qt::Key_Z);
        Key(box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(box->text(), shown + QLatin1Char('0')) << name;
        EXPECT_EQ(FileBytes(path), stored) << name << ": the font is not the box's to undo";
    }
}

TEST_F(EditMenuKeys, EverywhereElseTheKeysAreTheWindows) {
    OpenAndStore();
    Key(Child("Text1"), Qt::Key_Z);  // a read-only box has no typing to undo
    EXPECT_EQ(FileBytes(path), before);
    Key(Selector(), Qt::Key_Y);
    EXPECT_EQ(FileBytes(path), stored);
    Key(Selector(), Qt::Key_Z);
    Key(Selector(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(FileBytes(path), stored);
}

}  // namespace
