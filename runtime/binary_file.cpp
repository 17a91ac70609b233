#include "runtime/binary_file.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <system_error>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

#include "runtime/failure.h"
#include "runtime/little_endian.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace runtime {
namespace {

namespace fs = std::filesystem;

std::string Reason(int error) { return std::generic_category().message(error); }

bool IsRegularFile(const fs::path& path) {
    std::error_code ignored;
    return !path.empty() && fs::is_regular_file(path, ignored);
}

// The system's own reasons for a folder differ ("Is a directory", "Permission denied"), and
// neither says what the user gave.
std::string WhyNotOpened(const fs::path& path, const std::string& otherwise) {
    if (path.empty()) return otherwise;
    std::error_code ignored;
    const fs::file_status status = fs::status(path, ignored);
    if (fs::is_directory(status)) return "it is a folder";
    // A pipe or a device has no bytes to keep in place.
    if (fs::exists(status) && !fs::is_regular_file(status)) return "it is not a regular file";
    return otherwise;
}

// Names go to the system as they are: wide on Windows, never through a narrow code page.
enum class Mode { Read, Update, Create, CreateNew };
std::FILE* OpenFile(const fs::path& path, Mode mode) {
#if defined(_WIN32)
    if (mode == Mode::CreateNew) {
        // msvcrt's fopen knows no "x": the exclusive create goes through _wopen.
        const int fd = _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (fd < 0) return nullptr;
        std::FILE* file = _fdopen(fd, "wb");
        if (!file) _close(fd);
        return file;
    }
    return _wfopen(path.c_str(), mode == Mode::Read ? L"rb" : mode == Mode::Update ? L"r+b" : L"wb");
#else
    constexpr const char* kModes[] = {"rb", "r+b", "wb", "wbx"};
    return std::fopen(path.c_str(), kModes[static_cast<int>(mode)]);
#endif
}

struct Closer {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

std::FILE* Unbuffered(std::FILE* file) {
    // Every access is a few bytes at a known offset: a buffer would only add system calls.
    if (file) std::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

bool Reachable(std::uint64_t offset) { return offset <= static_cast<std::uint64_t>(std::numeric_limits<long>::max()); }

// Transfers at an offset: one system call where the system has pread and pwrite, a seek and a
// transfer elsewhere. A read returns fewer bytes only at the end of the file; false leaves errno.
bool ReadAt(std::FILE* file, std::uint64_t offset, std::span<std::byte> bytes, std::size_t& got) {
#if defined(_WIN32)
    got = 0;
    if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) return false;
    got = std::fread(bytes.data(), 1, bytes.size(), file);
    if (!std::ferror(file)) return true;
    const int error = errno;
    std::clearerr(file);
    errno = error;
    return false;
#else
    got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::pread(fileno(file), bytes.data() + got, bytes.size() - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return true;
#endif
}

bool WriteAt(std::FILE* file, std::uint64_t offset, std::span<const std::byte> bytes) {
#if defined(_WIN32)
    // Flushed at once: the caller reports success only once the bytes have left the process.
    if (std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0 &&
        std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0) {
        return true;
    }
    const int error = errno;
    std::clearerr(file);
    errno = error;
    return false;
#else
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fileno(file), bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
#endif
}

// Closing is part of writing: a full disk may show only there.
void WriteAndClose(std::FILE* opened, std::span<const std::byte> bytes, const fs::path& shown) {
    std::unique_ptr<std::FILE, Closer> file(opened);
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() || std::fflush(file.get()) != 0 ||
        std::fclose(file.release()) != 0) {
        const int error = errno;
        throw Failure(FailureKind::WriteFailed, "cannot write " + DisplayPath(shown) + ": " + Reason(error));
    }
}

// The file beside the target that becomes it; removed unless it was renamed into place.
class PendingFile {
public:
    explicit PendingFile(fs::path path) : path_(std::move(path)) {}
    ~PendingFile() {
        std::error_code ignored;  // a leftover is all that a failure here can cost
        if (!placed_) fs::remove(path_, ignored);
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    void RenameTo(const fs::path& target) {
        std::error_code error;
        fs::rename(path_, target, error);
        if (error) throw Failure(FailureKind::WriteFailed, "cannot replace " + DisplayPath(target) + ": " + error.message());
        placed_ = true;
    }

private:
    fs::path path_;
    bool placed_ = false;
};

// A name as UTF-8 text. UTF-16 is converted by hand: the library's conversion throws on a
// lone surrogate, which a Windows name may hold, and a message must never fail for its name.
template <typename Char>
std::string NameAsUtf8(const std::basic_string<Char>& name) {
    if constexpr (sizeof(Char) == 1) {
        return std::string(name.begin(), name.end());  // the system's bytes, UTF-8 as a rule
    } else {
        std::string text;
        for (std::size_t i = 0; i < name.size(); ++i) {
            std::uint32_t c = static_cast<std::uint16_t>(name[i]);
            const auto low = [&](std::size_t at) {
                return at < name.size() && static_cast<std::uint16_t>(name[at]) >= 0xDC00 &&
                       static_cast<std::uint16_t>(name[at]) < 0xE000;
            };
            if (c >= 0xD800 && c < 0xDC00 && low(i + 1)) {
                c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<std::uint16_t>(name[++i]) - 0xDC00u);
            } else if (c >= 0xD800 && c < 0xE000) {
                c = 0xFFFD;
            }
            if (c < 0x80) {
                text += static_cast<char>(c);
            } else if (c < 0x800) {
                text += static_cast<char>(0xC0 | (c >> 6));
                text += static_cast<char>(0x80 | (c & 0x3F));
            } else if (c < 0x10000) {
                text += static_cast<char>(0xE0 | (c >> 12));
                text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                text += static_cast<char>(0x80 | (c & 0x3F));
            } else {
                text += static_cast<char>(0xF0 | (c >> 18));
                text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
                text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                text += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        return text;
    }
}

std::vector<std::byte> ReadStream(std::FILE* file, const std::string& shown, std::size_t limit) {
    std::vector<std::byte> bytes;
    std::array<std::byte, 64 * 1024> chunk;
    std::size_t got = chunk.size();
    int error = 0;
    while (got == chunk.size()) {  // fread stops short only at the end or on an error
        got = std::fread(chunk.data(), 1, chunk.size(), file);
        error = errno;
        if (got > limit - bytes.size()) {
            throw Failure(FailureKind::TextTooLong, shown + ": more than " + std::to_string(limit) + " bytes");
        }
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(got));
    }
    if (std::ferror(file)) throw Failure(FailureKind::ReadFailed, "cannot read " + shown + ": " + Reason(error));
    return bytes;
}

}  // namespace

std::vector<std::byte> ReadToEnd(const fs::path& path, std::size_t limit) {
    std::error_code ignored;
    // "rb" would open a folder on some systems, and fail with a reason that names none on others.
    if (fs::is_directory(path, ignored)) throw Failure(FailureKind::FileNotOpened, "cannot open " + DisplayPath(path) + ": it is a folder");
    std::unique_ptr<std::FILE, Closer> file(OpenFile(path, Mode::Read));
    if (!file) {
        const int error = errno;
        throw Failure(FailureKind::FileNotOpened, "cannot open " + DisplayPath(path) + ": " + Reason(error));
    }
    return ReadStream(file.get(), DisplayPath(path), limit);
}

std::vector<std::byte> ReadStandardInput(std::size_t limit) { return ReadStream(stdin, "standard input", limit); }

void WriteNewFile(const fs::path& path, std::span<const std::byte> bytes) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);  // through links
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        // Renaming over a pipe or a device would put a file in its place.
        std::FILE* file = OpenFile(path, Mode::Create);
        const int openError = errno;
        if (!file) throw Failure(FailureKind::FileNotOpened, "cannot create " + DisplayPath(path) + ": " + WhyNotOpened(path, Reason(openError)));
        WriteAndClose(file, bytes, path);
        return;
    }
    // A link stays, and the file it names is replaced.
    fs::path target = fs::is_symlink(fs::symlink_status(path, error)) ? fs::canonical(path, error) : path;
    if (error) target = path;
    fs::file_status old = fs::status(target, error);
    if (fs::exists(old)) {
        // A file the user may not write is not replaced either.
        std::FILE* check = OpenFile(target, Mode::Update);
        const int checkError = errno;
        if (!check) throw Failure(FailureKind::FileNotOpened, "cannot write " + DisplayPath(path) + ": " + Reason(checkError));
        std::fclose(check);
    }

    std::random_device random;
    for (int attempt = 0;; ++attempt) {
        std::array<char, 16> suffix;
        std::snprintf(suffix.data(), suffix.size(), ".%08x.tmp", static_cast<unsigned>(random()));
        fs::path temporary = target;
        temporary += suffix.data();
        std::FILE* file = OpenFile(temporary, Mode::CreateNew);
        const int createError = errno;
        if (!file && createError == EEXIST && attempt < 8) continue;
        if (!file) throw Failure(FailureKind::FileNotOpened, "cannot create " + DisplayPath(path) + ": " + Reason(createError));
        PendingFile pending(temporary);
        WriteAndClose(file, bytes, path);
        if (fs::exists(old)) {
            fs::permissions(temporary, old.permissions(), error);
            if (error) throw Failure(FailureKind::WriteFailed, "cannot write " + DisplayPath(path) + ": " + error.message());
        }
        pending.RenameTo(target);
        return;
    }
}

std::string DisplayPath(const fs::path& path) { return NameAsUtf8(path.native()); }

bool IsLongPathForSystem(const fs::path& path) {
#if defined(_WIN32)
    constexpr std::size_t kMaxPath = 260;
    return path.native().size() >= kMaxPath;
#else
    static_cast<void>(path);
    return false;
#endif
}

BinaryFile BinaryFile::Open(const std::filesystem::path& path) {
    // "r+b" never creates a file and refuses a folder; only a read-only file needs a second try.
    if (std::FILE* file = Unbuffered(OpenFile(path, Mode::Update))) return BinaryFile(path, file, true);
    const int writeError = errno;
    if (IsRegularFile(path)) {
        if (std::FILE* file = Unbuffered(OpenFile(path, Mode::Read))) return BinaryFile(path, file, false);
    }
    throw Failure(FailureKind::FileNotOpened, "cannot open " + DisplayPath(path) + ": " + WhyNotOpened(path, Reason(writeError)));
}

BinaryFile BinaryFile::OpenForReading(const std::filesystem::path& path) {
    // "rb" would open a folder, which is no file to read.
    if (!IsRegularFile(path)) {
        throw Failure(FailureKind::FileNotOpened, "cannot open " + DisplayPath(path) + ": " + WhyNotOpened(path, "no such file"));
    }
    if (std::FILE* file = Unbuffered(OpenFile(path, Mode::Read))) return BinaryFile(path, file, false);
    throw Failure(FailureKind::FileNotOpened, "cannot open " + DisplayPath(path) + ": " + Reason(errno));
}

void BinaryFile::Read(std::uint64_t offset, std::span<std::byte> bytes) {
    if (!Reachable(offset)) {
        throw Failure(FailureKind::ReadFailed, "cannot reach offset " + std::to_string(offset) + " of " + DisplayPath(path_));
    }
    std::size_t got = 0;
    if (!ReadAt(file_.get(), offset, bytes, got)) {
        const int error = errno;
        throw Failure(FailureKind::ReadFailed, "cannot read " + DisplayPath(path_) + " at offset " +
                                                   std::to_string(offset) + ": " + Reason(error));
    }
    std::memset(bytes.data() + got, 0, bytes.size() - got);
}

void BinaryFile::CheckWrite(std::uint64_t offset, std::uint64_t size) {
    if (!writable_) {
        throw Failure(FailureKind::WriteFailed, "cannot write " + DisplayPath(path_) + ": it is read-only");
    }
    // Only bytes that are there are rewritten: a write past the end would grow the file, and one
    // that starts past it would fill the gap with bytes nobody wrote.
    const std::uint64_t fileSize = Size();
    if (offset > fileSize || size > fileSize - offset) {
        throw Failure(FailureKind::FileTooShort, "cannot write " + DisplayPath(path_) + " at offset " +
                                                     std::to_string(offset) + ": past the end of the file");
    }
}

std::uint64_t BinaryFile::Size() {
#if defined(_WIN32)
    const long size = std::fseek(file_.get(), 0, SEEK_END) == 0 ? std::ftell(file_.get()) : -1;
#else
    struct stat info {};
    const long long size = ::fstat(fileno(file_.get()), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
#endif
    if (size < 0) throw Failure(FailureKind::ReadFailed, "cannot tell the size of " + DisplayPath(path_));
    return static_cast<std::uint64_t>(size);
}

std::vector<std::byte> BinaryFile::ReadAll() {
    std::vector<std::byte> bytes(Size());
    Read(0, bytes);
    return bytes;
}

void BinaryFile::Write(std::uint64_t offset, std::span<const std::byte> bytes) {
    CheckWrite(offset, bytes.size());
    if (!Reachable(offset)) {
        throw Failure(FailureKind::WriteFailed, "cannot reach offset " + std::to_string(offset) + " of " + DisplayPath(path_));
    }
    if (!WriteAt(file_.get(), offset, bytes)) {
        const int error = errno;
        throw Failure(FailureKind::WriteFailed, "cannot write " + DisplayPath(path_) + " at offset " +
                                                    std::to_string(offset) + ": " + Reason(error));
    }
}

float BinaryFile::ReadSingle(std::uint64_t offset) {
    std::array<std::byte, 4> bytes;
    Read(offset, bytes);
    return LoadSingle(bytes);
}

std::int32_t BinaryFile::ReadInt32(std::uint64_t offset) {
    std::array<std::byte, 4> bytes;
    Read(offset, bytes);
    return LoadInt32(bytes);
}

void BinaryFile::WriteSingle(std::uint64_t offset, float value) {
    std::array<std::byte, 4> bytes;
    StoreSingle(value, bytes);
    Write(offset, bytes);
}

}  // namespace runtime
