#pragma once

#include <filesystem>
#include <optional>
#include <string>

// runeplot.exe [FONT [PICTURE]], read from the wide command line so that any name arrives whole,
// Cyrillic ones included (Explorer starts the program so for a font dropped onto it).
namespace win32 {

struct CommandLine {
    std::filesystem::path font;     // empty: none given
    std::filesystem::path picture;  // empty: the font's own BMP, or the dialog asks
};

// Nothing when there are more than two arguments.
std::optional<CommandLine> ParseCommandLine(const wchar_t* commandLine);

inline constexpr const char* kUsage = "runeplot.exe [FONT [PICTURE]]";

}  // namespace win32
