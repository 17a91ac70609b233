#pragma once

#include <filesystem>
#include <optional>
#include <string>

// runeplot.exe [--help] [--version] [FONT [PICTURE]], read from the wide command line so that any
// name arrives whole, Cyrillic ones included (Explorer starts the program so for a font dropped
// onto it).
namespace win32 {

struct CommandLine {
    std::filesystem::path font;     // empty: none given
    std::filesystem::path picture;  // empty: the font's own BMP, or the dialog asks
    bool help = false;              // tell how to start the program, and end
    bool version = false;           // tell the version, and end
};

// Nothing when there are more than two files. Help or version anywhere on the line is taken
// before the files, whatever they are.
std::optional<CommandLine> ParseCommandLine(const wchar_t* commandLine);

inline constexpr const char* kProgramName = "runeplot.exe";

}  // namespace win32
