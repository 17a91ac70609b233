// Any text as a dump: it parses or is refused as malformed, and whatever parses is written
// back to a dump that parses to the same values, bit for bit.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "gmftool/dump_format.h"
#include "gmftool/tool_io.h"
#include "runtime/failure.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    gmftool::FontDump dump;
    try {
        dump = gmftool::ParseDump(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const runtime::Failure& failure) {
        Check(failure.kind() == runtime::FailureKind::Malformed);
        return 0;
    }
    const gmftool::FontDump again = gmftool::ParseDump(gmftool::WriteDump(dump));
    Check(again.layout == dump.layout && again.glyphCount == dump.glyphCount);
    Check(gmftool::SameBits(again.fontSize, dump.fontSize) && gmftool::SameBits(again.cellHeight, dump.cellHeight) &&
          gmftool::SameBits(again.spaceWidth, dump.spaceWidth));
    Check(again.glyphs.size() == dump.glyphs.size());
    for (std::size_t i = 0; i < dump.glyphs.size(); ++i) Check(gmftool::SameBits(again.glyphs[i], dump.glyphs[i]));
    return 0;
}
