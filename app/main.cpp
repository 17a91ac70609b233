#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLocale>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "ui/form1.h"
#include "ui/prompts.h"
#include "ui/settings_file.h"

namespace {

constexpr int kUsageError = 2;

// Qt aborts with a long story when there is no display; one clear line serves a user better.
// A platform named on the command line (-platform offscreen) needs none.
bool HasDisplay(bool platformGiven) {
#if defined(Q_OS_LINUX)
    const auto set = [](const char* name) { return std::getenv(name) && *std::getenv(name); };
    return platformGiven || set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
#else
    (void)platformGiven;
    return true;
#endif
}

// The options every Qt program takes (-style fusion, -platform offscreen, ...). The parser must
// know them to leave their values out of FONT and PICTURE; QApplication takes them out of argv.
struct QtOption {
    const char* name;
    const char* valueName;  // nullptr for a switch
    const char* description;
};
constexpr QtOption kQtOptions[] = {
    {"style", "style", "The widget style (fusion, windows, ...)."},
    {"stylesheet", "file", "A style sheet for the whole window."},
    {"platform", "name[:options]", "The window system plugin (xcb, wayland, offscreen, ...)."},
    {"platformpluginpath", "path", "Where to look for window system plugins."},
    {"platformtheme", "name", "The platform theme plugin."},
    {"plugin", "name", "An extra plugin to load (input devices)."},
    {"qwindowgeometry", "geometry", "The window's size and place, as WIDTHxHEIGHT+X+Y."},
    {"geometry", "geometry", "The same as -qwindowgeometry."},
    {"qwindowtitle", "title", "The window's title."},
    {"title", "title", "The same as -qwindowtitle."},
    {"qwindowicon", "file", "The window's icon."},
    {"icon", "file", "The same as -qwindowicon."},
    {"display", "name", "The X display to open the window on."},
    {"name", "name", "The application name the window system is given."},
    {"session", "id", "The session to restore."},
    {"qmljsdebugger", "port", "QML debugging."},
    {"reverse", nullptr, "Right-to-left layout."},
    {"widgetcount", nullptr, "Counts the widgets left at exit."},
    {"nograb", nullptr, "Never grabs the mouse or keyboard."},
    {"dograb", nullptr, "Grabs the mouse and keyboard even under a debugger."},
    {"sync", nullptr, "Runs X11 calls synchronously."},
};

QString QtOptionsHelp() {
    QString text = QStringLiteral("\nQt options:\n");
    for (const QtOption& option : kQtOptions) {
        QString usage = QStringLiteral("  -") + QLatin1String(option.name);
        if (option.valueName) usage += QLatin1Char(' ') + QLatin1String(option.valueName);
        text += usage.leftJustified(34) + QLatin1Char(' ') + QLatin1String(option.description) + QLatin1Char('\n');
    }
    return text;
}

// The parser takes "-platform=offscreen" as it takes "-platform offscreen", but Qt itself only
// the second: Qt is handed every one of its options that has a value in that form.
std::vector<std::string> ArgumentsForQt(int argc, char** argv) {
    std::vector<std::string> arguments(argv, argv + argc);
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string argument = arguments[i];
        if (argument == "--") break;  // file names from here on
        const std::size_t dashes = argument.starts_with("--") ? 2 : argument.starts_with("-") ? 1 : 0;
        const std::size_t equals = argument.find('=');
        if (dashes == 0 || equals == std::string::npos) continue;
        const std::string name = argument.substr(dashes, equals - dashes);
        const bool takesValue = std::any_of(std::begin(kQtOptions), std::end(kQtOptions),
                                            [&](const QtOption& option) { return option.valueName && name == option.name; });
        if (!takesValue) continue;
        arguments[i] = "-" + name;
        arguments.insert(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1, argument.substr(equals + 1));
        ++i;
    }
    return arguments;
}

struct Files {
    QString font;
    QString picture;
    bool platformGiven = false;
};

// Reads the command line before any window exists, so that --help and --version work without
// a display. Returns the exit status when the program is to end here.
std::optional<int> ReadCommandLine(int argc, char** argv, Files& files) {
    const QCoreApplication core(argc, argv);  // for the parser only
    QCoreApplication::setApplicationName(QStringLiteral("runeplot"));
    QCoreApplication::setApplicationVersion(QStringLiteral(RUNEPLOT_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runeplot: moves the glyph rectangles of a .gmf font to fit its texture."));
    // Qt's own options come with one dash, as every Qt program takes them.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    for (const QtOption& option : kQtOptions) {
        QCommandLineOption qtOption(QLatin1String(option.name), QLatin1String(option.description));
        if (option.valueName) qtOption.setValueName(QLatin1String(option.valueName));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
    parser.addPositionalArgument(QStringLiteral("FONT"), QStringLiteral("The .gmf font to open."), QStringLiteral("[FONT"));
    parser.addPositionalArgument(QStringLiteral("PICTURE"), QStringLiteral("Its texture: a 512 x 512 BMP or a TGA of any size (default: the BMP of the "
                                                "same name beside it, else the TGA)."),
                                 QStringLiteral("[PICTURE]]"));
    const bool parsed = parser.parse(QCoreApplication::arguments());
    if (parsed && (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")))) {
        QString help = parser.helpText();
        if (parser.isSet(QStringLiteral("help-all"))) help += QtOptionsHelp();
        std::fputs(qPrintable(help), stdout);
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
        std::fprintf(stderr, "runeplot: %s; usage: runeplot [--help] [--help-all] [--version] [Qt options] [FONT [PICTURE]]\n", qPrintable(why));
        return kUsageError;
    }
    files.font = positional.value(0);
    files.picture = positional.value(1);
    files.platformGiven = parser.isSet(QStringLiteral("platform"));
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    Files files;
    if (const auto status = ReadCommandLine(argc, argv, files)) return *status;
    if (!HasDisplay(files.platformGiven)) {
        std::fputs("runeplot: no display to open the window on (DISPLAY is not set); "
                   "start it from a desktop session.\n",
                   stderr);
        return 1;
    }
    std::vector<std::string> arguments = ArgumentsForQt(argc, argv);
    std::vector<char*> qtArgv;
    for (std::string& argument : arguments) qtArgv.push_back(argument.data());
    qtArgv.push_back(nullptr);
    int qtArgc = static_cast<int>(arguments.size());
    QApplication app(qtArgc, qtArgv.data());

    // The locale is read once, here; everything below takes its decimal separator.
    const char decimalSeparator = QLocale::system().decimalPoint() == QStringLiteral(",") ? ',' : '.';

    ui::QtPrompts prompts;
    ui::SettingsFile settings;
    ui::Form1 window(prompts, decimalSeparator, &settings);
    window.show();
    if (!files.font.isEmpty()) window.OpenFromCommandLine(files.font, files.picture);
    return app.exec();
}
