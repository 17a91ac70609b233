#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

// A folder of the benchmark's own, removed afterwards.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string Write(const std::string& name, const std::vector<std::byte>& bytes) const;

private:
    std::filesystem::path root_;
};

// A layout A font of the given number of glyphs, each a plausible cell.
std::vector<std::byte> FontOfGlyphs(int glyphs);

// The bare file work every refresh or load must do at least, straight on the system calls.
void OpenReadClose(const std::string& path, std::size_t offset, std::size_t size);

}  // namespace bench
