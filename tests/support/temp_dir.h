#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

// A folder of its own for each test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path(const std::string& name) const { return (root_ / name).string(); }
    std::string Write(const std::string& name, const std::vector<std::byte>& bytes) const;

private:
    std::filesystem::path root_;
};

std::vector<std::byte> ReadAll(const std::string& path);

}  // namespace testing_support
