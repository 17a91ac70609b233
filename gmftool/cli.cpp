#include "gmftool/cli.h"

#include <algorithm>
#include <charconv>

namespace gmftool {
namespace {

struct Subcommand {
    const char* name;
    const char* usage;
    std::size_t files;  // positional arguments
    std::vector<std::string> options;
    const char* description;
};

const std::vector<Subcommand>& Subcommands() {
    static const std::vector<Subcommand> subcommands = {
        {"info", "info FONT [--json]", 1, {"--json"},
         "Shows the layout (A: table at 44, B: at 552), the glyph count, FontSize, CellHeight and SpaceWidth\n"
         "(both in edit units) and the file's size. --json writes one JSON object, in which a value that is\n"
         "infinite or no number is a string as the dump writes it: \"inf\", \"-inf\", \"nan:0x7fc00000\" (its bits)."},
        {"check", "check FONT [--picture FILE]", 1, {"--picture"},
         "Reports every problem, one line each (glyph N: ... or font: ...): glyphs narrower than 4 edit units,\n"
         "a right edge left of the left one, rectangles outside the texture, a stale aspect, values that are\n"
         "no number or infinite (glyphs and header), a not-a-number that ends the table before more records,\n"
         "overlapping glyphs, a file that ends inside the table; with the picture, glyphs that hold no ink\n"
         "and ink that runs on past a glyph's left or right edge, after a first line that names a TGA\n"
         "(texture: its size, type, bits a pixel, origin and alpha), which is no problem.\n"
         "Exit status 1 when there is a problem."},
        {"dump", "dump FONT [-o FILE]", 1, {"-o"},
         "Writes the header values and the whole glyph table as text, one glyph a line, in edit units.\n"
         "gmftool restore makes a font byte-identical to the dump again."},
        {"restore", "restore FONT DUMP [--dry-run]", 2, {"--dry-run"},
         "Writes back the glyphs, FontSize and SpaceWidth that differ from the dump, in place, as the\n"
         "window writes them, and nothing else. Everything is checked first; on any fault nothing is written.\n"
         "DUMP - reads the dump from standard input. --dry-run says what would change and writes nothing,\n"
         "after the same checks, a font that cannot be written included."},
        {"diff", "diff FONT_A FONT_B", 2, {},
         "Lists the header values and glyphs that differ, one line each. Exit status 1 when they differ."},
        {"overview", "overview FONT [--picture FILE] -o PNG [--scale N]", 1, {"--picture", "-o", "--scale"},
         "Draws every glyph's outline on the texture as the window draws the selected one (narrow glyphs\n"
         "in yellow), on black when there is no picture, scaled up N times (1 to 16), into a PNG."},
        {"fit", "fit FONT [--picture FILE] [--glyphs LIST] [--margin N] [--reach N] [--threshold N] [--dry-run]", 1,
         {"--picture", "--glyphs", "--margin", "--reach", "--threshold", "--dry-run"},
         "Moves the left and right edges of each glyph (LIST: 1-based numbers and ranges, such as 3,5-9;\n"
         "all by default) to the ink of its image on the texture: the background is the most frequent\n"
         "colour, ink differs from it by more than --threshold (0 to 255, default 0) in a channel (on a TGA\n"
         "with an alpha channel that is not opaque everywhere: ink has alpha over --threshold); the ink\n"
         "is followed up to --reach pixels (default 16, of the 512 x 512 picture) past the old edges, and --margin edit units\n"
         "(default 0) are added on both sides. Each glyph is stored exactly as the window stores it.\n"
         "--dry-run says what would change and writes nothing, after the checks of a real run."},
        {"render",
         "render FONT [--picture FILE] --ttf FILE (--chars TEXT --at N | --map FILE | --codepage CP --at N --from BYTE)\n"
         "       [--face N] [--px N] [--baseline N] [--clip] [--hinting none|light|full] [--mono] [--width advance|ink]\n"
         "       [--pad N] [--spacing N] [--color RRGGBB] [--space] [--no-backup] [--dry-run]",
         1,
         {"--picture", "--ttf", "--face", "--chars", "--at", "--map", "--codepage", "--from", "--px", "--baseline", "--clip",
          "--hinting", "--mono", "--width", "--pad", "--spacing", "--color", "--space", "--no-backup", "--dry-run"},
         "Draws characters from a TrueType or OpenType font (FreeType) into the texture and sets their glyphs'\n"
         "rectangles. Which character goes to which glyph: --chars TEXT --at N (UTF-8; glyphs N, N+1, ...),\n"
         "--map FILE (one GLYPH=CHAR a line, such as 2=А or 2=U+0410; # starts a comment), or --codepage\n"
         "1250|1251|1252 --at N --from BYTE (glyph N gets the code page's character for BYTE, and so on to 255).\n"
         "--px N: the em square in texture pixels; by default the largest at which every character's ink fits\n"
         "the cell (CellHeight). --baseline N: rows from each rectangle's top; by default the highest ink. Ink\n"
         "outside the cell is refused unless --clip. --width advance (default: the font's advance, widened to\n"
         "ink that reaches past it) or ink (the ink plus --pad N pixels each side). A glyph is drawn in its\n"
         "own place, from its Left and Top, when its new rectangle covers no other glyph; else in the first\n"
         "free space from the top left, --spacing N pixels (default 2) from anything, its old place cleared.\n"
         "--color: the ink (default: the texture's most frequent ink colour, white without one). --space\n"
         "sets SpaceWidth from the font's space. --face N picks a face of a collection.\n"
         "The texture keeps its format: an uncompressed 24-bit or 8-bit palette BMP, or a 24- or 32-bit TGA,\n"
         "raw or run-length, at its own size (sizes, baseline and spacing in its pixels; with alpha, the ink\n"
         "colour with the coverage as alpha). The previous font and texture are kept as FONT.bak and\n"
         "PICTURE.bak unless --no-backup. --dry-run shows the plan and writes nothing. A missing\n"
         "character, a glyph without room, or a font or texture that cannot be used or written: exit 2,\n"
         "nothing written.\n"
         "Example: gmftool render font1.gmf --ttf DejaVuSans.ttf --codepage 1251 --at 161 --from 192"},
    };
    return subcommands;
}

const Subcommand* Find(const std::string& name) {
    const auto& all = Subcommands();
    const auto it = std::find_if(all.begin(), all.end(), [&](const Subcommand& s) { return name == s.name; });
    return it == all.end() ? nullptr : &*it;
}

picture::Rgba Colour(const std::string& text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.size() != 6 || error != std::errc() || end != text.data() + text.size()) {
        throw UsageError("--color takes six hex digits RRGGBB, not '" + text + "'");
    }
    return {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value), 255};
}

template <typename T>
T OneOf(const std::string& option, const std::string& text, std::initializer_list<std::pair<const char*, T>> choices) {
    std::string names;
    for (const auto& [name, value] : choices) {
        if (text == name) return value;
        names.append(names.empty() ? "" : "|").append(name);
    }
    throw UsageError(option + " takes " + names + ", not '" + text + "'");
}

int WholeNumber(const std::string& option, const std::string& text, int lowest, int highest) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest) {
        throw UsageError(option + " takes a whole number from " + std::to_string(lowest) + " to " + std::to_string(highest) +
                         ", not '" + text + "'");
    }
    return value;
}

template <typename Value>
void ParseRenderOption(const std::string& argument, Value&& value, RenderOptions& render) {
    glyphs::RenderSettings& settings = render.settings;
    if (argument == "--ttf") render.ttf = PathFromUtf8(value());
    else if (argument == "--face") render.face = WholeNumber(argument, value(), 0, 65535);
    else if (argument == "--chars") render.chars = value();
    else if (argument == "--map") render.map = PathFromUtf8(value());
    else if (argument == "--codepage") render.codePage = OneOf<int>(argument, value(), {{"1250", 1250}, {"1251", 1251}, {"1252", 1252}});
    else if (argument == "--at") render.at = WholeNumber(argument, value(), 1, 1001);
    else if (argument == "--from") render.from = WholeNumber(argument, value(), 0, 255);
    else if (argument == "--px") settings.px = WholeNumber(argument, value(), 1, static_cast<int>(picture::kLargestSide));
    else if (argument == "--baseline") settings.baseline = WholeNumber(argument, value(), 0, static_cast<int>(picture::kLargestSide));
    else if (argument == "--clip") render.clip = true;
    else if (argument == "--hinting") settings.hinting = OneOf(argument, value(), {std::pair{"none", glyphs::Hinting::None}, {"light", glyphs::Hinting::Light}, {"full", glyphs::Hinting::Full}});
    else if (argument == "--mono") settings.mono = true;
    else if (argument == "--width") settings.width = OneOf(argument, value(), {std::pair{"advance", glyphs::WidthRule::Advance}, {"ink", glyphs::WidthRule::Ink}});
    else if (argument == "--pad") settings.pad = WholeNumber(argument, value(), 0, 64);
    else if (argument == "--spacing") settings.spacing = WholeNumber(argument, value(), 0, 64);
    else if (argument == "--color") settings.colour = Colour(value());
    else if (argument == "--space") render.space = true;
    else if (argument == "--no-backup") render.noBackup = true;
}

}  // namespace

std::filesystem::path PathFromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    if (arguments.empty()) throw UsageError("no subcommand (see gmftool --help)");
    const std::string& first = arguments[0];
    if (first == "--help" || first == "-h" || first == "help") {
        line.request = Request::Help;
        if (arguments.size() > 1) line.options.command = arguments[1];
        if (!line.options.command.empty() && !Find(line.options.command)) throw UsageError("no subcommand '" + line.options.command + "'");
        return line;
    }
    if (first == "--version") {
        line.request = Request::Version;
        return line;
    }
    const Subcommand* subcommand = Find(first);
    if (!subcommand) throw UsageError("no subcommand '" + first + "' (see gmftool --help)");
    Options& options = line.options;
    options.command = first;

    const auto allowed = [&](const std::string& option) {
        return std::find(subcommand->options.begin(), subcommand->options.end(), option) != subcommand->options.end();
    };
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            line.request = Request::Help;
            return line;
        }
        if (argument.size() < 2 || argument[0] != '-') {
            options.files.push_back(PathFromUtf8(argument));
            continue;
        }
        if (!allowed(argument)) throw UsageError(first + " has no option " + argument);
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) throw UsageError(argument + " needs a value");
            return arguments[++i];
        };
        if (argument == "--json") options.json = true;
        else if (argument == "--dry-run") options.dryRun = true;
        else if (argument == "--picture") options.picture = PathFromUtf8(value());
        else if (argument == "-o") options.output = PathFromUtf8(value());
        else if (argument == "--glyphs") options.glyphs = value();
        else if (argument == "--margin") options.margin = WholeNumber(argument, value(), -256, 256);
        else if (argument == "--reach") options.reach = WholeNumber(argument, value(), 0, 512);
        else if (argument == "--threshold") options.threshold = WholeNumber(argument, value(), 0, 255);
        else if (argument == "--scale") options.scale = WholeNumber(argument, value(), 1, 16);
        else ParseRenderOption(argument, value, options.render);
    }
    if (options.files.size() != subcommand->files) {
        throw UsageError(std::string("usage: gmftool ") + subcommand->usage);
    }
    if (options.command == "overview" && !options.output) throw UsageError("overview needs -o PNG");
    if (options.command == "render") {
        const RenderOptions& render = options.render;
        if (!render.ttf) throw UsageError("render needs --ttf FILE");
        const int sources = !!render.chars + !!render.map + !!render.codePage;
        if (sources != 1) throw UsageError("render takes one of --chars, --map and --codepage");
        if ((render.chars || render.codePage) && !render.at) throw UsageError(std::string(render.chars ? "--chars" : "--codepage") + " needs --at N");
        if (render.codePage && !render.from) throw UsageError("--codepage needs --from BYTE");
        if (render.map && render.at) throw UsageError("--map names its glyphs itself: no --at");
        if (!render.codePage && render.from) throw UsageError("--from goes with --codepage");
    }
    return line;
}

std::string HelpText(const std::string& command) {
    if (const Subcommand* subcommand = Find(command)) {
        return std::string("usage: gmftool ") + subcommand->usage + "\n\n" + subcommand->description + "\n";
    }
    std::string text =
        "gmftool: the command-line companion of Runeplot, for the glyph tables of .gmf fonts.\n\n"
        "usage: gmftool SUBCOMMAND ARGUMENTS, gmftool SUBCOMMAND --help, gmftool --version\n\n";
    for (const Subcommand& subcommand : Subcommands()) text += std::string("  gmftool ") + subcommand.usage + "\n";
    text +=
        "\nGlyph numbers count from 1, as the window shows them. Positions are in edit units (texture\n"
        "units x 256). Where a picture is needed and --picture is not given, it is the font's name with\n"
        ".bmp in the font's folder, else with .tga. A BMP must be 512 x 512; a TGA may have any size up to\n"
        "8,192 pixels a side.\n"
        "Exit status: 0 success; 1 differences (diff) or problems (check) found; 2 a usage error, a\n"
        "file that cannot be used or an output that cannot be written, and then nothing has been written\n"
        "(restore and fit write the font before their report). A file that -o names is replaced only\n"
        "once it is whole.\n";
    return text;
}

}  // namespace gmftool
