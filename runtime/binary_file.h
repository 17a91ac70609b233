#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace runtime {

// One access to an existing file, by full path, at absolute byte offsets.
// The file is never created, and it is closed when the access goes out of scope.
class BinaryFile {
public:
    // Opens for reading and writing; a file that can only be read opens for reading, and a
    // write through it then fails, so a read-only font can still be viewed.
    static BinaryFile Open(const std::filesystem::path& path);
    static BinaryFile OpenForReading(const std::filesystem::path& path);

    // Bytes past the end of the file read as zero.
    void Read(std::uint64_t offset, std::span<std::byte> bytes);
    void Write(std::uint64_t offset, std::span<const std::byte> bytes);
    // Fails as Write would, without writing: for callers that must write all or nothing. A write
    // past the end fails as FileTooShort: the caller took those bytes to be there.
    void CheckWrite(std::uint64_t offset, std::uint64_t size);

    std::uint64_t Size();
    std::vector<std::byte> ReadAll();

    // 4-byte little-endian values at an absolute offset.
    float ReadSingle(std::uint64_t offset);
    std::int32_t ReadInt32(std::uint64_t offset);
    void WriteSingle(std::uint64_t offset, float value);

    bool writable() const noexcept { return writable_; }
    const std::filesystem::path& path() const noexcept { return path_; }

private:
    struct Closer {
        void operator()(std::FILE* file) const noexcept { std::fclose(file); }
    };

    BinaryFile(std::filesystem::path path, std::FILE* file, bool writable)
        : path_(std::move(path)), file_(file), writable_(writable) {}

    std::filesystem::path path_;
    std::unique_ptr<std::FILE, Closer> file_;
    bool writable_;
};

// Creates the file, or replaces an existing one, with the bytes; for a tool's own outputs, never
// for a font, which is only ever written in place. A file is written beside it under another name
// and renamed over it once whole, so that a failure leaves the old one as it was. A target that is
// no file (a pipe, a device) is written to as it is.
void WriteNewFile(const std::filesystem::path& path, std::span<const std::byte> bytes);

// Every byte of a file read once from its start to its end, whatever it is: a pipe or a device
// too, for an input such as a dump, never for a font. More than limit bytes fail as TextTooLong,
// so that an endless device is no endless read.
std::vector<std::byte> ReadToEnd(const std::filesystem::path& path, std::size_t limit);
std::vector<std::byte> ReadStandardInput(std::size_t limit);

// A path as UTF-8 text for messages, whatever the system's own encoding of names.
std::string DisplayPath(const std::filesystem::path& path);

// Whether the system opens a file by this name only where long paths are enabled: Windows'
// MAX_PATH, 260 characters with the terminator.
bool IsLongPathForSystem(const std::filesystem::path& path);

}  // namespace runtime
