#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace bench {

// A folder of the benchmark's own, removed afterwards.
using ScratchDir = testing_support::TempDir;

// A layout A font of the given number of glyphs, each a plausible cell.
std::vector<std::byte> FontOfGlyphs(int glyphs);

// The bare file work every refresh or load must do at least, straight on the system calls.
void OpenReadClose(const std::string& path, std::size_t offset, std::size_t size);

}  // namespace bench
