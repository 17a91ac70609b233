#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "glyphs/render_plan.h"

namespace gmftool {

// Exit statuses that scripts rely on.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFound = 1;     // diff: differences; check: problems
inline constexpr int kExitFailure = 2;   // a usage error or a file that cannot be used; nothing written

// A command line that asks for something gmftool does not do.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What render is given beyond the common options.
struct RenderOptions {
    std::optional<std::filesystem::path> ttf;
    std::optional<int> face;
    std::optional<std::string> chars;
    std::optional<std::filesystem::path> map;
    std::optional<int> codePage;
    std::optional<int> at;
    std::optional<int> from;
    glyphs::RenderSettings settings;
    bool clip = false;
    bool space = false;
    bool noBackup = false;
};

struct Options {
    std::string command;
    std::vector<std::filesystem::path> files;
    std::optional<std::filesystem::path> picture;
    std::optional<std::filesystem::path> output;
    std::optional<std::string> glyphs;
    bool json = false;
    bool dryRun = false;
    int margin = 0;
    int reach = 16;
    int threshold = 0;
    int scale = 1;
    RenderOptions render;
};

// What the command line asks for. Arguments are UTF-8.
enum class Request { Run, Help, Version };
struct CommandLine {
    Request request = Request::Run;
    Options options;  // for Help, command names the subcommand, or is empty for the overview
};
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

std::string HelpText(const std::string& command);

// A path from UTF-8 text, on every system.
std::filesystem::path PathFromUtf8(const std::string& text);

}  // namespace gmftool
