#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <cstdlib>

#include "ui/form1.h"
#include "ui/prompts.h"

namespace {

// Qt aborts with a long story when there is no display; one clear line serves a user better.
bool HasDisplay() {
#if defined(Q_OS_LINUX)
    const auto set = [](const char* name) { return std::getenv(name) && *std::getenv(name); };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (!HasDisplay()) {
        std::fputs("runeplot: no display to open the window on (DISPLAY is not set); "
                   "start it from a desktop session.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);

    // The locale is read once, here; everything below takes its decimal separator.
    const char decimalSeparator = QLocale::system().decimalPoint() == QStringLiteral(",") ? ',' : '.';

    ui::QtPrompts prompts;
    ui::Form1 window(prompts, decimalSeparator);
    window.show();
    return app.exec();
}
