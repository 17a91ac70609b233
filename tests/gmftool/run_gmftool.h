#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gmftool/commands.h"

namespace testing_support {

struct GmftoolResult {
    int status = -1;
    std::string out;
    std::string err;
};

// gmftool in this process, as a user runs it, with what it says on each stream.
inline GmftoolResult RunGmftool(const std::vector<std::string>& arguments) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    GmftoolResult result;
    result.status = gmftool::Run(arguments);
    result.out = testing::internal::GetCapturedStdout();
    result.err = testing::internal::GetCapturedStderr();
    return result;
}

inline std::vector<std::byte> TextBytes(const std::string& text) {
    const auto* bytes = reinterpret_cast<const std::byte*>(text.data());
    return {bytes, bytes + text.size()};
}

}  // namespace testing_support
