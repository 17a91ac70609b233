#include "bench/bench_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>

#include "tests/support/font_bytes.h"

namespace bench {

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
