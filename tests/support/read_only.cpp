#include "tests/support/read_only.h"

#if !defined(_WIN32)
#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <stdexcept>

namespace testing_support {
namespace {

void SetWriteBits(const std::string& folder, bool writable) {
    namespace fs = std::filesystem;
    const auto option = writable ? fs::perm_options::add : fs::perm_options::remove;
    const auto bits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    for (const auto& entry : fs::directory_iterator(folder)) fs::permissions(entry.path(), bits, option);
    fs::permissions(folder, bits, option);
}

#if !defined(_WIN32)
// Takes the two capabilities out of this process's effective and permitted sets for good.
bool GiveUpOverride() {
    if (geteuid() != 0) return true;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (syscall(SYS_capget, &header, data) != 0) return false;
    for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
        const auto bit = 1u << (capability % 32);
        data[capability / 32].effective &= ~bit;
        data[capability / 32].permitted &= ~bit;
        data[capability / 32].inheritable &= ~bit;
    }
    return syscall(SYS_capset, &header, data) == 0;
}

enum ChildExit { kBodyTrue = 0, kBodyFalse = 1, kNoDrop = 70, kThrew = 71 };
#endif

}  // namespace

ReadOnlyFolder::ReadOnlyFolder(std::string folder) : folder_(std::move(folder)) { SetWriteBits(folder_, false); }

ReadOnlyFolder::~ReadOnlyFolder() {
    try {
        SetWriteBits(folder_, true);
    } catch (const std::filesystem::filesystem_error& error) {
        std::fprintf(stderr, "cannot make %s writable again: %s\n", folder_.c_str(), error.what());
    }
}

#if defined(_WIN32)
// A read-only file binds every Windows user. Under Wine, whose files are the host's, the test
// program is started without CAP_DAC_OVERRIDE for the same effect.
bool InChildObeyingPermissions(const std::function<bool()>& body) { return body(); }
#else
bool InChildObeyingPermissions(const std::function<bool()>& body) {
    std::fflush(nullptr);  // nothing buffered is written twice
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (child == 0) {
        // _exit: the child must not run the parent's destructors or flush its state.
        if (!GiveUpOverride()) _exit(kNoDrop);
        try {
            const bool answer = body();
            std::fflush(nullptr);
            _exit(answer ? kBodyTrue : kBodyFalse);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "in the child: %s\n", error.what());
            _exit(kThrew);
        }
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) throw std::runtime_error(std::string("waitpid: ") + std::strerror(errno));
    }
    if (!WIFEXITED(status)) throw std::runtime_error("the child process did not finish");
    switch (WEXITSTATUS(status)) {
    case kBodyTrue: return true;
    case kBodyFalse: return false;
    case kNoDrop: throw std::runtime_error("the child could not give up CAP_DAC_OVERRIDE");
    default: throw std::runtime_error("the child process failed");
    }
}

#endif

}  // namespace testing_support
