#include <cstdio>
#include <filesystem>

#include "gmftool/commands.h"
#include "runtime/failure.h"

namespace gmftool {

int Run(const std::vector<std::string>& arguments) {
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

}  // namespace gmftool
