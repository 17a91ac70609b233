#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLocale>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "ui/form1.h"
#include "ui/prompts.h"

namespace {

constexpr int kUsageError = 2;

// Qt aborts with a long story when there is no display; one clear line serves a user better.
bool HasDisplay() {
#if defined(Q_OS_LINUX)
    const auto set = [](const char* name) { return std::getenv(name) && *std::getenv(name); };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

struct Files {
    QString font;
    QString picture;
};

// Reads the command line before any window exists, so that --help and --version work without
// a display. Returns the exit status when the program is to end here.
std::optional<int> ReadCommandLine(int argc, char** argv, Files& files) {
    const QCoreApplication core(argc, argv);  // for the parser only
    QCoreApplication::setApplicationName(QStringLiteral("runeplot"));
    QCoreApplication::setApplicationVersion(QStringLiteral(RUNEPLOT_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runeplot: moves the glyph rectangles of a .gmf font to fit its texture."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FONT"), QStringLiteral("The .gmf font to open."), QStringLiteral("[FONT"));
    parser.addPositionalArgument(QStringLiteral("PICTURE"), QStringLiteral("Its 512 x 512 BMP texture (default: the BMP of the same name beside it)."),
                                 QStringLiteral("[PICTURE]]"));
    const bool parsed = parser.parse(QCoreApplication::arguments());
    if (parsed && (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return EXIT_SUCCESS;
    }
    if (parsed && parser.isSet(QStringLiteral("version"))) {
        std::printf("runeplot %s\n", RUNEPLOT_VERSION);
        return EXIT_SUCCESS;
    }
    const QStringList positional = parser.positionalArguments();
    if (!parsed || positional.size() > 2) {
        QString why = parsed ? QStringLiteral("too many arguments") : parser.errorText();
        if (why.endsWith(QLatin1Char('.'))) why.chop(1);
        std::fprintf(stderr, "runeplot: %s; usage: runeplot [--help] [--version] [FONT [PICTURE]]\n", qPrintable(why));
        return kUsageError;
    }
    files.font = positional.value(0);
    files.picture = positional.value(1);
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    Files files;
    if (const auto status = ReadCommandLine(argc, argv, files)) return *status;
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
    if (!files.font.isEmpty()) window.OpenFromCommandLine(files.font, files.picture);
    return app.exec();
}
