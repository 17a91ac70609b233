#include "win32/command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

namespace win32 {

std::optional<CommandLine> ParseCommandLine(const wchar_t* commandLine) {
    CommandLine parsed;
    // An empty line would make CommandLineToArgvW name this program itself.
    if (commandLine == nullptr || *commandLine == L'\0') return parsed;
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> arguments(CommandLineToArgvW(commandLine, &count), &LocalFree);
    if (!arguments) return parsed;
    // The first argument is the program's own name.
    if (count > 3) return std::nullopt;
    if (count > 1) parsed.font = arguments.get()[1];
    if (count > 2) parsed.picture = arguments.get()[2];
    return parsed;
}

}  // namespace win32
