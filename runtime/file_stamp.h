#pragma once

#include <cstdint>
#include <filesystem>

namespace runtime {

// What tells one state of a file from another without reading it: whether it is there, its
// size, its modification time and its identity (a file renamed over it is another file).
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // the system's own clock ticks
    std::uint64_t device = 0;
    std::uint64_t inode = 0;   // 0 where the system has none; the creation time stands in
    std::int64_t changed = 0;  // status change time, or creation time where there is no inode
    bool operator==(const FileStamp&) const = default;
};

// Never fails: a file that cannot be looked at is stamped as not there.
FileStamp StampOf(const std::filesystem::path& path);

}  // namespace runtime
