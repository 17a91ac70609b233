// Run-length encoded BMPs decode to Qt's pixels, each row at one of the format's edges.
#include <gtest/gtest.h>

#include <vector>

#include "picture/bmp_header.h"
#include "picture/image.h"
#include "tests/support/bmp.h"
#include "tests/support/qt_bmp.h"

namespace {

using testing_support::RleBmp;
using Bytes = std::vector<std::byte>;

TEST(DecodeBmpBytes, RunLengthEncodingAsQtDecodesIt) {
    // 4 x 2 and a palette of 4 unless said; the first row stored is the bottom one.
    const struct { const char* what; RleBmp bmp; bool ownRules = false; } rows[] = {
        {"runs, end of line, end of bitmap", {.stream = {4, 1, 0, 0, 2, 2, 2, 3, 0, 1}}},
        {"an absolute run of 3 and its padding", {.stream = {0, 3, 1, 2, 3, 0, 1, 1, 0, 0, 4, 2, 0, 1}}},
        {"an absolute run of 4, no padding", {.stream = {0, 4, 3, 2, 1, 0, 0, 0, 0, 4, 1, 1, 2, 2, 0, 1}}},
        {"a delta right and up", {.height = 3, .stream = {1, 1, 0, 2, 1, 1, 2, 2, 0, 1}}},
        {"a delta past the row's end", {.height = 3, .stream = {1, 1, 0, 2, 9, 0, 1, 2, 0, 0, 4, 3, 0, 1}}},
        {"a delta past the last row", {.stream = {1, 1, 0, 2, 1, 9, 1, 2, 0, 1}}},
        {"a delta to the last column", {.stream = {1, 1, 0, 2, 2, 1, 1, 3, 0, 1}}},
        {"end of line early", {.stream = {2, 1, 0, 0, 1, 2, 0, 1}}},
        {"end of bitmap early", {.stream = {2, 1, 0, 1}}},
        {"end of line on the last row ends it", {.stream = {4, 1, 0, 0, 4, 2, 0, 0, 9, 9}}},
        {"the last pixel reached without end of bitmap", {.stream = {4, 1, 0, 0, 4, 2}}},
        {"an absolute run to the last pixel without its padding", {.width = 3, .height = 1, .stream = {0, 3, 1, 2, 3}}, true},
        {"a run past the first row's end", {.stream = {6, 1, 0, 0, 2, 2, 0, 1}}, true},
        {"a palette short of the indices", {.height = 1, .stream = {1, 0, 1, 1, 1, 2, 1, 255, 0, 1}, .coloursUsed = 2}},
        {"no colours used: as many as 8 bits name", {.stream = {2, 255, 2, 128, 0, 0, 4, 1, 0, 1}, .coloursUsed = 0}},
        {"rows from the top", {.height = -2, .stream = {4, 1, 0, 0, 2, 2, 0, 1}}},
        {"a V5 header", {.stream = {4, 1, 0, 0, 2, 2, 0, 1}, .infoSize = 124}},
        {"pixels said to begin inside the palette", {.stream = {4, 1, 0, 0, 2, 2, 0, 1}, .pixelsAtShift = -4}},
        {"four bits: runs of odd length", {.width = 5, .bits = 4, .stream = {5, 0x12, 0, 0, 3, 0x34, 2, 0x56, 0, 1}, .coloursUsed = 0}},
        {"four bits: absolute runs of 3, 5 and 6 and their padding",
         {.width = 14, .height = 1, .bits = 4,
          .stream = {0, 3, 0x12, 0x30, 0, 5, 0x45, 0x67, 0x80, 0, 0, 6, 0x9A, 0xBC, 0xDE, 0, 0, 1}, .coloursUsed = 0}},
    };
    for (const auto& row : rows) {
        const Bytes bytes = row.bmp.Build();
        const std::optional<picture::Image> qt = testing_support::DecodeWithQt(bytes);
        ASSERT_TRUE(qt) << row.what;
        EXPECT_EQ(picture::DecodeBmpBytes(bytes).pixels, qt->pixels) << row.what;
        // The fuzz target holds us to Qt only where none of our own rules were needed.
        EXPECT_EQ(picture::bmp::DecodeRle(bytes, *picture::bmp::ReadHeader(bytes)).ownRules, row.ownRules) << row.what;
    }
}

}  // namespace
