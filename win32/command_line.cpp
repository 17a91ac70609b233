#include "win32/command_line.h"

#include <string>
#include <string_view>
#include <vector>

namespace win32 {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The arguments as Windows' own CommandLineToArgvW splits them, without loading the shell for
// it: quotes group, backslashes count only before a quote, and the program's name, first, takes
// everything up to its closing quote as it is.
std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
    std::vector<std::wstring> arguments;
    std::size_t at = 0;
    std::wstring program;
    if (at < line.size() && line[at] == L'"') {
        for (++at; at < line.size() && line[at] != L'"'; ++at) program += line[at];
        if (at < line.size()) ++at;
    } else {
        for (; at < line.size() && !IsBlank(line[at]); ++at) program += line[at];
    }
    arguments.push_back(std::move(program));

    for (;;) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at == line.size()) break;
        std::wstring argument;
        int quotes = 0;  // odd while inside quotes
        std::size_t backslashes = 0;
        for (; at < line.size() && !(IsBlank(line[at]) && quotes == 0); ++at) {
            const wchar_t c = line[at];
            if (c == L'\\') {
                argument += c;
                ++backslashes;
                continue;
            }
            if (c != L'"') {
                argument += c;
                backslashes = 0;
                continue;
            }
            // 2n backslashes and a quote are n and a quote that groups; 2n + 1 are n and a quote.
            argument.resize(argument.size() - backslashes / 2 - backslashes % 2);
            if (backslashes % 2 == 0) ++quotes;
            else argument += L'"';
            backslashes = 0;
            // Of quotes in a row, every third is a quote of the argument's own.
            for (; at + 1 < line.size() && line[at + 1] == L'"'; ++at) {
                if (++quotes == 3) {
                    argument += L'"';
                    quotes = 0;
                }
            }
            if (quotes == 2) quotes = 0;
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(const wchar_t* commandLine) {
    CommandLine parsed;
    if (commandLine == nullptr || *commandLine == L'\0') return parsed;
    const std::vector<std::wstring> arguments = SplitCommandLine(commandLine);
    // The first argument is the program's own name.
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        parsed.help |= argument == L"--help" || argument == L"-h" || argument == L"-?" || argument == L"/?";
        parsed.version |= argument == L"--version" || argument == L"-v";
    }
    if (parsed.help || parsed.version) return parsed;
    if (arguments.size() > 3) return std::nullopt;
    if (arguments.size() > 1) parsed.font = arguments[1];
    if (arguments.size() > 2) parsed.picture = arguments[2];
    return parsed;
}

}  // namespace win32
