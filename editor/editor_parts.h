#pragma once

#include <filesystem>
#include <system_error>

// What the Editor's handlers share across its source files.
namespace editor {

// A path as the dialogs give it: absolute and without "." or "..". One that cannot be made
// absolute is kept as it is; opening it will say what is wrong.
inline std::filesystem::path Chosen(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal();
}

// Counts a modal prompt for as long as it is open, however it ends.
class PromptCount {
public:
    explicit PromptCount(int& open) : open_(++open) {}
    ~PromptCount() { --open_; }
    PromptCount(const PromptCount&) = delete;
    PromptCount& operator=(const PromptCount&) = delete;

private:
    int& open_;
};

}  // namespace editor
