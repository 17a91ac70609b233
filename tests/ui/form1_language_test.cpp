// "Вид" > "Язык / Language" in the Qt window: every text fits its control in either language.
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>

#include "tests/ui/window_fixture.h"

namespace {

using testing_support::WindowTest;

class LanguageMenu : public WindowTest {
protected:
    // Each caption within the part of its control that shows, by the font it is drawn in.
    void ExpectTextsFit(const char* language) {
        std::vector<QWidget*> captions;
        for (QLabel* label : window->findChildren<QLabel*>(QStringLiteral("Label3"))) captions.push_back(label);
        captions.push_back(Child("Label2"));
        captions.push_back(Child("Command1"));
        for (QWidget* control : captions) {
            const QString text = control->property("text").toString();
            const int shown = control->width() + std::min(control->x(), 0);  // Label3(4) starts left of its group
            const int margin = qobject_cast<QPushButton*>(control) ? 8 : 0;
            EXPECT_LE(QFontMetrics(control->font()).horizontalAdvance(text) + margin, shown) << language << ": " << text.toStdString();
        }
        auto* err = Child<QLabel>("err");
        const QRect needed = QFontMetrics(err->font()).boundingRect(err->rect(), Qt::TextWordWrap | Qt::AlignHCenter, err->text());
        EXPECT_LE(needed.height(), err->height()) << language << ": " << err->text().toStdString();
        EXPECT_LE(needed.width(), err->width()) << language;
    }

    QStringList MenuBar() const {
        QStringList titles;
        for (const QAction* action : window->menuBar()->actions()) titles << action->text();
        return titles;
    }
};

TEST_F(LanguageMenu, SwitchesEveryTextAndEachFits) {
    auto* languages = Child<QMenu>("LanguageMenu");
    auto* russian = Child<QAction>("Russian");
    auto* english = Child<QAction>("English");
    EXPECT_EQ(Child<QMenu>("ViewMenu")->actions().constLast(), languages->menuAction()) << "the menu's last entry";
    EXPECT_EQ(languages->title(), QStringLiteral("Язык / Language"));
    EXPECT_EQ(languages->actions(), (QList<QAction*>{russian, english}));
    EXPECT_TRUE(russian->isChecked());
    ExpectTextsFit("Russian");

    english->trigger();
    EXPECT_TRUE(english->isChecked());
    EXPECT_FALSE(russian->isChecked());
    EXPECT_EQ(MenuBar(), (QStringList{"Open", "Edit", "View"}));
    EXPECT_EQ(Child<QAction>("FitGlyph")->text(), QStringLiteral("Fit glyph to picture"));
    EXPECT_EQ(Child<QPushButton>("Command1")->text(), QStringLiteral("Save"));
    ExpectTextsFit("English");

    russian->trigger();
    EXPECT_EQ(MenuBar(), (QStringList{"Открыть", "Правка", "Вид"}));
    EXPECT_EQ(TextOf("err"), QStringLiteral("Ошибка.Недопустимая ширина буквы."));
}

}  // namespace
