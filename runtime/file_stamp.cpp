#include "runtime/file_stamp.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <system_error>

namespace runtime {
namespace {

// The identity fields, by the wide name on Windows so that no name goes through a code page.
#if defined(_WIN32)
using Status = struct _stat64;
bool Stat(const std::filesystem::path& path, Status& status) { return _wstat64(path.c_str(), &status) == 0; }
#else
using Status = struct stat;
bool Stat(const std::filesystem::path& path, Status& status) { return ::stat(path.c_str(), &status) == 0; }
#endif

}  // namespace

FileStamp StampOf(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return {};
    FileStamp stamp;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return {};
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error) return {};
    Status status{};
    if (!Stat(path, status)) return {};
    stamp.exists = true;
    stamp.size = size;
    stamp.modified = static_cast<std::int64_t>(modified.time_since_epoch().count());
    stamp.device = static_cast<std::uint64_t>(status.st_dev);
    stamp.inode = static_cast<std::uint64_t>(status.st_ino);
    stamp.changed = static_cast<std::int64_t>(status.st_ctime);
    return stamp;
}

}  // namespace runtime
