#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "tests/ui/window_fixture.h"
#include "ui/pictures.h"

namespace {

using testing_support::WindowTest;

class Layout : public WindowTest {};

TEST_F(Layout, EveryControlInItsPlaceInPixels) {
    const struct { const char* name; const char* container; QRect geometry; } controls[] = {
        {"Frame1", "client", {0, 0, 529, 537}},      {"Picture1", "Frame1", {8, 16, 512, 512}},
        {"err", "Picture1", {48, 192, 417, 81}},     {"Shape1", "Frame1", {8, 16, 513, 513}},
        {"Frame3", "client", {529, 0, 248, 81}},     {"Label1", "Frame3", {16, 16, 217, 25}},
        {"scr", "Frame3", {8, 56, 233, 17}},         {"Frame2", "client", {529, 75, 249, 137}},
        {"Text1", "Frame2", {176, 24, 49, 27}},      {"Command5", "Frame2", {224, 24, 17, 13}},
        {"Command4", "Frame2", {224, 38, 17, 13}},   {"Text2", "Frame2", {176, 56, 49, 27}},
        {"Command7", "Frame2", {224, 56, 17, 13}},   {"Command6", "Frame2", {224, 70, 17, 13}},
        {"Text3", "Frame2", {176, 88, 49, 27}},      {"Command2", "Frame2", {224, 88, 17, 13}},
        {"Command3", "Frame2", {224, 102, 17, 13}},  {"Frame4", "client", {529, 206, 248, 97}},
        {"Label2", "Frame4", {48, 8, 169, 17}},      {"Text4", "Frame4", {104, 32, 57, 27}},
        {"Text5", "Frame4", {104, 64, 57, 27}},      {"Command1", "Frame4", {168, 32, 73, 57}},
        {"Frame5", "client", {529, 297, 248, 57}},   {"Label4", "Frame5", {8, 16, 233, 17}},
        {"Label5", "Frame5", {8, 32, 233, 17}},      {"info", "client", {529, 355, 248, 179}},
    };
    for (const auto& c : controls) {
        QWidget* control = Child(c.name);
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(control->geometry(), c.geometry) << c.name;
        EXPECT_EQ(control->parentWidget()->objectName(), QString::fromLatin1(c.container)) << c.name;
    }
    EXPECT_EQ(Child("client")->size(), QSize(777, 536));
}

TEST_F(Layout, TheFiveLabelsOfLabel3ByIndex) {
    const struct { int index; const char* container; QString text; QRect geometry; } labels[] = {
        {0, "Frame2", QStringLiteral("Положение буквы по вертикали"), {0, 59, 169, 17}},
        {1, "Frame2", QStringLiteral("Правая граница области буквы"), {0, 88, 169, 17}},
        {2, "Frame4", QStringLiteral("Размер шрифта"), {0, 40, 89, 17}},
        {3, "Frame2", QStringLiteral("Левая граница области буквы"), {8, 32, 161, 17}},
        {4, "Frame4", QStringLiteral("Ширина пробелов"), {-8, 72, 105, 17}},
    };
    const auto found = window->findChildren<QLabel*>(QStringLiteral("Label3"));
    ASSERT_EQ(found.size(), 5);
    for (const auto& c : labels) {
        const auto it = std::find_if(found.begin(), found.end(),
                                     [&](QLabel* label) { return label->property("Index").toInt() == c.index; });
        ASSERT_NE(it, found.end()) << c.index;
        EXPECT_EQ((*it)->text(), c.text);
        EXPECT_EQ((*it)->geometry(), c.geometry) << c.index;
        EXPECT_EQ((*it)->parentWidget()->objectName(), QString::fromLatin1(c.container));
        EXPECT_TRUE((*it)->alignment() & Qt::AlignRight);
    }
}

TEST_F(Layout, CaptionsLooksAndTheMenu) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Runeplot 1.1"));
    EXPECT_EQ(window->windowIcon().availableSizes().value(0), QSize(32, 32));
    const auto actions = window->menuBar()->actions();
    ASSERT_EQ(actions.size(), 3);  // "Вид", third
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Открыть"));
    EXPECT_EQ(actions[0]->menu(), nullptr) << "a command in the bar, no submenu";
    EXPECT_EQ(actions[0]->objectName(), QStringLiteral("opp"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("Правка"));
    ASSERT_NE(actions[1]->menu(), nullptr);
    QStringList items;
    for (const QAction* item : actions[1]->menu()->actions()) {
        if (!item->isSeparator()) items << item->text() + QLatin1Char('\t') + QKeySequence::listToString(item->shortcuts());
    }
    EXPECT_EQ(items, (QStringList{QStringLiteral("Отменить\tCtrl+Z"), QStringLiteral("Повторить\tCtrl+Y; Ctrl+Shift+Z"),
                                  QStringLiteral("Подогнать символ по рисунку\tCtrl+F"),
                                  QStringLiteral("Подогнать все символы\tCtrl+Shift+F"),
                                  QStringLiteral("Нарисовать символы из шрифта…\tCtrl+R")}));
    EXPECT_EQ(actions[2]->text(), QStringLiteral("Вид"));
    ASSERT_NE(actions[2]->menu(), nullptr);
    const QAction* magnifier = actions[2]->menu()->actions().value(0);
    ASSERT_NE(magnifier, nullptr);
    EXPECT_EQ(magnifier->text() + QLatin1Char('\t') + magnifier->shortcut().toString(), QStringLiteral("Лупа\tCtrl+L"));
    EXPECT_TRUE(magnifier->isCheckable());
    EXPECT_FALSE(magnifier->isChecked());

    EXPECT_EQ(TextOf("err"), QStringLiteral("Ошибка.Недопустимая ширина буквы."));
    EXPECT_EQ(TextOf("Label2"), QStringLiteral("Дополнительные параметры"));
    EXPECT_EQ(Child<QPushButton>("Command1")->text(), QStringLiteral("Сохранить"));
    EXPECT_TRUE(Child<QPushButton>("Command1")->font().bold());
    EXPECT_EQ(Child<QLabel>("err")->font().pointSizeF(), 24);
    EXPECT_EQ(Child<QLabel>("Label1")->font().pointSizeF(), 18);
    EXPECT_EQ(Child<QLabel>("err")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(Child<QLabel>("Label2")->palette().color(QPalette::WindowText), QColor(0x80, 0, 0));
    for (const char* frame : {"Frame1", "Frame2", "Frame3", "Frame4", "Frame5"}) {
        EXPECT_EQ(Child(frame)->palette().color(QPalette::Window), QColor(0xE0, 0xE0, 0xE0)) << frame;
        EXPECT_TRUE(Child<QGroupBox>(frame)->title().isEmpty()) << frame;
    }
    for (const char* box : {"Text1", "Text2", "Text3"}) EXPECT_TRUE(Child<QLineEdit>(box)->isReadOnly()) << box;
    for (const char* box : {"Text4", "Text5"}) EXPECT_FALSE(Child<QLineEdit>(box)->isReadOnly()) << box;
    for (const char* box : {"Text1", "Text2", "Text3", "Text4", "Text5"}) {
        EXPECT_EQ(Child<QLineEdit>(box)->alignment(), Qt::AlignCenter) << box;
        EXPECT_EQ(Child<QLineEdit>(box)->font().pointSizeF(), 12) << box;
    }
    // The fonts cover Cyrillic whatever the substitute.
    EXPECT_TRUE(QFontMetrics(Child<QLabel>("Label2")->font()).inFont(QChar(0x0414)));
}

TEST_F(Layout, GroupsAndTheHelpBoxAreFlatE0E0E0) {
    // Points inside each group that no control covers; the style must not shade them.
    const struct { const char* name; QPoint point; } insides[] = {
        {"Frame1", {3, 5}}, {"Frame1", {524, 532}}, {"Frame2", {10, 10}}, {"Frame2", {120, 128}},
        {"Frame3", {5, 5}}, {"Frame4", {20, 90}},   {"Frame5", {240, 50}},
    };
    for (const auto& inside : insides) {
        EXPECT_EQ(Child(inside.name)->grab().toImage().pixelColor(inside.point), QColor(0xE0, 0xE0, 0xE0))
            << inside.name << " at " << inside.point.x() << "," << inside.point.y();
    }
    QWidget* help = Child<QPlainTextEdit>("info")->viewport();
    EXPECT_EQ(help->grab().toImage().pixelColor(1, help->height() - 2), QColor(0xE0, 0xE0, 0xE0));
}

TEST_F(Layout, StartUpState) {
    ExpectStartUpState();
    for (const char* box : {"Text1", "Text2", "Text3", "Text4", "Text5"}) EXPECT_EQ(TextOf(box), "0") << box;
    EXPECT_EQ(TextOf("Label4"), QString());
    EXPECT_EQ(TextOf("Label5"), QString());
    EXPECT_FALSE(Child("err")->isVisible());
    EXPECT_EQ(Selector()->value(), 0);
    EXPECT_EQ(Selector()->minimum(), 0);
    EXPECT_TRUE(Child("Frame1")->isEnabled());
    EXPECT_TRUE(Child("Frame3")->isEnabled());
    EXPECT_TRUE(Child("Frame5")->isEnabled());
    EXPECT_TRUE(window->findChild<QAction*>(QStringLiteral("opp"))->isEnabled());
    // A disabled group refuses input to what it holds.
    for (const char* control : {"Text4", "Command1", "Command5", "Text1"}) {
        EXPECT_FALSE(Child(control)->isEnabled()) << control;
    }
}

TEST_F(Layout, HelpBoxShowsSeventeenLines) {
    auto* help = Child<QPlainTextEdit>("info");
    EXPECT_EQ(help->document()->blockCount(), 17);
    EXPECT_TRUE(help->isReadOnly());
    EXPECT_EQ(help->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(help->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

TEST(ArrowPictures, UpArrowByTheTableAndDownArrowUpsideDown) {
    const QImage up = ui::UpArrow();
    ASSERT_EQ(up.size(), QSize(12, 8));
    const QRgb background = qRgb(0xD8, 0xD8, 0xD8), outline = qRgb(0, 0x80, 0), fill = qRgb(0, 0xFF, 0);
    const auto expect = [&](int row, std::initializer_list<int> outlines, std::initializer_list<int> fills) {
        for (int column = 0; column < 12; ++column) {
            QRgb want = background;
            if (std::find(outlines.begin(), outlines.end(), column) != outlines.end()) want = outline;
            if (std::find(fills.begin(), fills.end(), column) != fills.end()) want = fill;
            EXPECT_EQ(up.pixel(column, row) & 0xFFFFFF, want & 0xFFFFFF) << row << "," << column;
        }
    };
    expect(0, {}, {});
    expect(1, {5, 6}, {});
    expect(2, {4, 7}, {5, 6});
    expect(3, {4, 7}, {5, 6});
    expect(4, {3, 8}, {4, 5, 6, 7});
    expect(5, {3, 8}, {4, 5, 6, 7});
    expect(6, {2, 9}, {3, 4, 5, 6, 7, 8});
    expect(7, {2, 3, 4, 5, 6, 7, 8, 9}, {});
    const QImage down = ui::DownArrow();
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 12; ++column) EXPECT_EQ(down.pixel(column, row), up.pixel(column, 7 - row));
    }
}

TEST_F(Layout, ArrowButtonsShowTheirArrowsAndNoCaption) {
    for (const char* up : {"Command2", "Command5", "Command7"}) {
        auto* button = Child<QPushButton>(up);
        EXPECT_TRUE(button->text().isEmpty());
        EXPECT_EQ(button->icon().pixmap(12, 8).toImage().convertToFormat(QImage::Format_RGB32),
                  ui::UpArrow().convertToFormat(QImage::Format_RGB32)) << up;
    }
    for (const char* down : {"Command3", "Command4", "Command6"}) {
        EXPECT_EQ(Child<QPushButton>(down)->icon().pixmap(12, 8).toImage().convertToFormat(QImage::Format_RGB32),
                  ui::DownArrow().convertToFormat(QImage::Format_RGB32)) << down;
    }
}

TEST_F(Layout, TabOrderFollowsTheNumbers) {
    const char* order[] = {"Picture1", "Command7", "Command6", "Command5", "Command4", "Command3", "Command2",
                           "Text3", "Text2", "Text1", "scr", "Text4", "Command1", "info", "Text5"};
    // The next control that Tab reaches: the chain also holds widgets that take no focus.
    const auto nextTabStop = [](QWidget* widget) {
        do widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus));
        return widget;
    };
    for (std::size_t i = 1; i < std::size(order); ++i) {
        EXPECT_EQ(nextTabStop(Child(order[i - 1]))->objectName(), QString::fromLatin1(order[i])) << order[i - 1];
    }
    EXPECT_NE(Selector()->focusPolicy() & Qt::TabFocus, 0) << "the selector takes focus";
}

}  // namespace
