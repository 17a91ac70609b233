#include "tests/support/read_only.h"

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace testing_support {
namespace {

void Check(bool ok, const std::string& what) {
    if (!ok) throw std::runtime_error(what + ": " + std::strerror(errno));
}

void EnterPrivateMountNamespace() {
    static bool entered = false;
    if (entered || geteuid() != 0) return;
    Check(unshare(CLONE_NEWNS) == 0, "unshare(CLONE_NEWNS)");
    Check(mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0, "make / private");
    entered = true;
}

void SetWriteBits(const std::string& folder, bool writable) {
    namespace fs = std::filesystem;
    const auto option = writable ? fs::perm_options::add : fs::perm_options::remove;
    const auto bits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    for (const auto& entry : fs::directory_iterator(folder)) fs::permissions(entry.path(), bits, option);
    fs::permissions(folder, bits, option);
}

}  // namespace

void PrepareReadOnlyFolders() { EnterPrivateMountNamespace(); }

ReadOnlyFolder::ReadOnlyFolder(std::string folder) : folder_(std::move(folder)) {
    if (geteuid() != 0) {
        SetWriteBits(folder_, false);
        return;
    }
    EnterPrivateMountNamespace();
    Check(mount(folder_.c_str(), folder_.c_str(), nullptr, MS_BIND, nullptr) == 0, "bind " + folder_);
    mounted_ = true;
    Check(mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0,
          "remount " + folder_ + " read-only");
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (mounted_) {
        umount2(folder_.c_str(), MNT_DETACH);
    } else if (geteuid() != 0) {
        SetWriteBits(folder_, true);
    }
}

}  // namespace testing_support
