// gmftool: the command-line companion of the Runeplot editor.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "gmftool/cli.h"
#include "gmftool/commands.h"
#include "runtime/failure.h"

namespace {

int Run(const std::vector<std::string>& arguments) {
    using namespace gmftool;
    try {
        const CommandLine line = ParseCommandLine(arguments);
        if (line.request == Request::Help) {
            std::fputs(HelpText(line.options.command).c_str(), stdout);
            return kExitOk;
        }
        if (line.request == Request::Version) {
            std::fputs("gmftool (Runeplot) " RUNEPLOT_VERSION "\n", stdout);
            return kExitOk;
        }
        const Options& options = line.options;
        const std::string& c = options.command;
        return c == "info"      ? Info(options)
               : c == "check"   ? Check(options)
               : c == "dump"    ? Dump(options)
               : c == "restore" ? Restore(options)
               : c == "diff"    ? Diff(options)
               : c == "overview" ? Overview(options)
                                 : Fit(options);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "gmftool: %s\n", error.what());
    } catch (const runtime::Failure& failure) {
        std::fprintf(stderr, "gmftool: %s\n", failure.what());
    } catch (const std::filesystem::filesystem_error& error) {
        std::fprintf(stderr, "gmftool: %s\n", error.what());
    }
    return kExitFailure;
}

}  // namespace

#if defined(_WIN32)
// Windows hands a narrow main its arguments in the ANSI code page, which loses Cyrillic names.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::u8string text = std::filesystem::path(argv[i]).u8string();
        arguments.emplace_back(text.begin(), text.end());
    }
    return Run(arguments);
}
#else
int main(int argc, char** argv) { return Run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
