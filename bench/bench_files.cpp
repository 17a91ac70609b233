#include "bench/bench_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "tests/support/font_bytes.h"

namespace bench {

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "runeplot-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
    root_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::string ScratchDir::Write(const std::string& name, const std::vector<std::byte>& bytes) const {
    const std::string path = (root_ / name).string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
    return path;
}

std::vector<std::byte> FontOfGlyphs(int glyphs) {
    std::vector<font::GlyphRecord> records;
    for (int i = 0; i < glyphs; ++i) {
        const float left = static_cast<float>(i % 16) / 16;
        const float top = static_cast<float>(i / 16 % 16) / 16;
        records.push_back(testing_support::Glyph(left, top, left + 0.03125f));
    }
    return testing_support::FontBytes::LayoutA(records).bytes();
}

void OpenReadClose(const std::string& path, std::size_t offset, std::size_t size) {
    std::vector<std::byte> buffer(size);
    const int fd = ::open(path.c_str(), O_RDWR);
    if (fd < 0) throw std::runtime_error("cannot open " + path);
    const auto got = ::pread(fd, buffer.data(), size, static_cast<off_t>(offset));
    ::close(fd);
    if (got < 0) throw std::runtime_error("cannot read " + path);
}

}  // namespace bench
