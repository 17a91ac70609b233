#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "gmftool/commands.h"
#include "runtime/failure.h"

namespace gmftool {

namespace {

int RunCommand(const std::vector<std::string>& arguments) {
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
               : c == "render"  ? Render(options)
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

int StandardOutputFailed(int error) {
    std::fprintf(stderr, "gmftool: cannot write standard output: %s\n", std::generic_category().message(error ? error : EIO).c_str());
    return kExitFailure;
}

}  // namespace

int Run(const std::vector<std::string>& arguments) {
    const int status = RunCommand(arguments);
    // Data that never reached its reader is no success: a dump into a full disk is no backup.
    // A command that failed has said why already.
    errno = 0;
    if (status != kExitFailure && (std::fflush(stdout) != 0 || std::ferror(stdout))) return StandardOutputFailed(errno);
    return status;
}

int CloseStandardOutput(int status) {
    errno = 0;
    if (std::fclose(stdout) != 0 && status != kExitFailure) return StandardOutputFailed(errno);
    return status;
}

}  // namespace gmftool
