#pragma once

#include <string>
#include <vector>

#include "gmftool/cli.h"
#include "gmftool/dump_format.h"

// The subcommands, each returning the exit status.
namespace gmftool {

// The whole program on its arguments (UTF-8, without the program's name): the exit status.
// Data goes to standard output, a diagnostic to standard error.
// Standard output is flushed and checked before the status is returned.
int Run(const std::vector<std::string>& arguments);
// Closes standard output at the program's end: a failure to close is a failure to write.
int CloseStandardOutput(int status);

int Info(const Options& options);
int Check(const Options& options);
int Dump(const Options& options);
int Restore(const Options& options);
int Diff(const Options& options);
int Overview(const Options& options);
int Fit(const Options& options);
int Render(const Options& options);

// One line for each header value and glyph that differs from one dump to the other.
std::vector<std::string> Differences(const FontDump& from, const FontDump& to);

}  // namespace gmftool
