// gmftool: the command-line companion of the Runeplot editor.
#include <filesystem>
#include <string>
#include <vector>

#include "gmftool/commands.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>

#include <cstdio>

// Windows hands a narrow main its arguments in the ANSI code page, which loses Cyrillic names.
int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // a dump on standard output has the same bytes everywhere
    _setmode(_fileno(stdin), _O_BINARY);   // and one on standard input is read as it is, a Ctrl+Z byte too
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::u8string text = std::filesystem::path(argv[i]).u8string();
        arguments.emplace_back(text.begin(), text.end());
    }
    return gmftool::CloseStandardOutput(gmftool::Run(arguments));
}
#else
int main(int argc, char** argv) {
    return gmftool::CloseStandardOutput(gmftool::Run(std::vector<std::string>(argv + 1, argv + argc)));
}
#endif
