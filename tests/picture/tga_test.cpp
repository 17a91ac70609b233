// TGAs decoded to stb_image's pixels wherever stb reads the file as the format says; each row
// where we differ says why.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "picture/image.h"
#include "picture/tga_write.h"
#include "runtime/failure.h"
#include "tests/support/tga.h"

namespace {

using picture::Image;
using picture::Origin;
using picture::Rgba;
using testing_support::Tga;
using Bytes = std::vector<std::uint8_t>;

// Pixel (x, y), counted from the top left, of every test picture: each misplaced byte shows.
Rgba Colour(int x, int y) {
    return {static_cast<std::uint8_t>(40 * x), static_cast<std::uint8_t>(80 * y + 1), static_cast<std::uint8_t>(7 * x + y),
            static_cast<std::uint8_t>(100 + x + 10 * y)};
}

Image Opaque(int width, int height) {
    Image image = picture::Filled(width, height, picture::kBlack);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) image.At(x, y) = {Colour(x, y).r, Colour(x, y).g, Colour(x, y).b, 255};
    }
    return image;
}

// The pattern's pixels in the order a file stores them from `origin`, 24 or 32 bits, raw.
Bytes Stored(int width, int height, int bits, Origin origin) {
    const bool top = origin == Origin::TopLeft || origin == Origin::TopRight;
    const bool right = origin == Origin::BottomRight || origin == Origin::TopRight;
    Bytes bytes;
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            const Rgba p = Colour(right ? width - 1 - c : c, top ? r : height - 1 - r);
            bytes.insert(bytes.end(), {p.b, p.g, p.r});
            if (bits == 32) bytes.push_back(p.a);
        }
    }
    return bytes;
}

const auto& Text = testing_support::PixelsText;

Image Pixels(int width, const std::vector<Rgba>& pixels) { return {width, static_cast<int>(pixels.size()) / width, pixels}; }

constexpr Rgba kMap0{30, 20, 10, 255}, kMap2{90, 80, 70, 255};
const Bytes kMap24 = {10, 20, 30, 40, 50, 60, 70, 80, 90};

TEST(DecodeTgaBytes, EveryTypeDepthAndOrigin) {
    const Bytes top24 = Stored(3, 2, 24, Origin::TopLeft);
    const Image opaque = Opaque(3, 2);
    // 16 bits: 0x8000 is the alpha bit, then five bits each of red, green and blue.
    const Bytes words = {0x1F, 0x00, 0x00, 0xFC, 0x10, 0x82};
    const struct { const char* what; Tga tga; Image pixels; bool likeStb; const char* format; } rows[] = {
        // stb ignores the right-to-left bit.
        {"from the top right", {.descriptor = 0x30, .pixels = Stored(3, 2, 24, Origin::TopRight)}, opaque, false,
         "3 x 2 TGA, type 2 (true-colour), 24 bits, from the top right, no alpha"},
        // stb keeps the fourth byte as alpha where the file says it has none: often zeros, a picture all transparent.
        {"32 bits, no alpha bits", {.bits = 32, .descriptor = 0x20, .pixels = Stored(3, 2, 32, Origin::TopLeft)}, opaque, false,
         "3 x 2 TGA, type 2 (true-colour), 32 bits, from the top left, no alpha"},
        {"an ID field and a colour map skipped (stb refuses a map in a true-colour picture)",
         {.descriptor = 0x20, .pixels = top24, .id = "font", .mapType = 1, .mapEntryBits = 24, .map = kMap24}, opaque, false,
         "3 x 2 TGA, type 2 (true-colour), 24 bits, from the top left, no alpha"},
        {"15 bits", {.width = 3, .height = 1, .bits = 15, .descriptor = 0x20, .pixels = words}, Pixels(3, {{0, 0, 255, 255}, {255, 0, 0, 255}, {0, 131, 131, 255}}), true,
         "3 x 1 TGA, type 2 (true-colour), 15 bits, from the top left, no alpha"},
        // stb ignores the alpha bit even where the file counts it.
        {"16 bits, one of them alpha", {.width = 3, .height = 1, .bits = 16, .descriptor = 0x21, .pixels = words},
         Pixels(3, {{0, 0, 255, 0}, {255, 0, 0, 255}, {0, 131, 131, 255}}), false, "3 x 1 TGA, type 2 (true-colour), 16 bits, from the top left, with alpha"},
        {"grey and alpha", {.type = 3, .width = 2, .height = 1, .bits = 16, .descriptor = 0x28, .pixels = {7, 1, 200, 2}},
         Pixels(2, {{7, 7, 7, 1}, {200, 200, 200, 2}}), true, "2 x 1 TGA, type 3 (grey), 16 bits, from the top left, with alpha"},
        // stb skips the first index's number of bytes and reads index i as entry i.
        {"a map from index 5: an index below or past it black",
         {.type = 1, .width = 4, .height = 1, .bits = 8, .descriptor = 0x20, .pixels = {5, 7, 4, 8}, .mapType = 1, .mapFirst = 5, .mapEntryBits = 24, .map = kMap24},
         Pixels(4, {kMap0, kMap2, picture::kBlack, picture::kBlack}), false, "4 x 1 TGA, type 1 (colour-mapped), 8 bits, from the top left, no alpha"},
        {"16-bit indices, 32-bit entries with alpha",
         {.type = 1, .width = 2, .height = 1, .bits = 16, .descriptor = 0x28, .pixels = {1, 0, 0, 0}, .mapType = 1, .mapEntryBits = 32, .map = {1, 2, 3, 4, 5, 6, 7, 8}},
         Pixels(2, {{7, 6, 5, 8}, {3, 2, 1, 4}}), true, "2 x 1 TGA, type 1 (colour-mapped), 16 bits, from the top left, with alpha"},
        // Packets: a run of 4 from the top row into the next, then 2 raw pixels; a run of 1; raw ones of 1.
        {"run-length, a run past its row", {.type = 10, .descriptor = 0x20, .pixels = {0x83, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9}},
         Pixels(3, {{3, 2, 1, 255}, {3, 2, 1, 255}, {3, 2, 1, 255}, {3, 2, 1, 255}, {6, 5, 4, 255}, {9, 8, 7, 255}}), true,
         "3 x 2 TGA, type 10 (run-length true-colour), 24 bits, from the top left, no alpha"},
        {"run-length from the bottom, a raw packet past its row", {.type = 10, .width = 2, .pixels = {0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0x80, 10, 11, 12}},
         Pixels(2, {{9, 8, 7, 255}, {12, 11, 10, 255}, {3, 2, 1, 255}, {6, 5, 4, 255}}), true,
         "2 x 2 TGA, type 10 (run-length true-colour), 24 bits, from the bottom left, no alpha"},
    };
    for (const auto& row : rows) {
        const std::vector<std::byte> bytes = row.tga.Build();
        try {
            const picture::Picture decoded = picture::DecodeTgaBytes(bytes);
            EXPECT_EQ(Text(decoded.image), Text(row.pixels)) << row.what;
            EXPECT_EQ(picture::Describe(decoded.image, decoded.format), row.format) << row.what;
            const std::optional<Image> stb = testing_support::DecodeTgaWithStb(bytes);
            EXPECT_EQ(stb && Text(*stb) == Text(row.pixels), row.likeStb) << row.what << ": stb " << Text(stb);
        } catch (const runtime::Failure& failure) {
            ADD_FAILURE() << row.what << ": " << failure.what();
        }
    }
}

std::vector<std::byte> Cut(std::vector<std::byte> bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

// The size before anything is allocated, then what is not read, then bytes that end too soon.
TEST(DecodeTgaBytes, RefusesWhatItCannotRead) {
    using Kind = runtime::FailureKind;
    const struct { const char* what; std::vector<std::byte> bytes; Kind kind; const char* refusal; } rows[] = {
        {"type 32", Tga{.type = 32}.Build(), Kind::ReadFailed, "TGA type 32 is not read"},
        {"8-bit true-colour", Tga{.bits = 8}.Build(), Kind::ReadFailed, "a TGA of type 2 (true-colour) with 8 bits a pixel is not read"},
        {"colour-mapped without a map", Tga{.type = 1, .bits = 8}.Build(), Kind::ReadFailed, "a colour-mapped TGA without a colour map"},
        {"8-bit map entries", Tga{.type = 1, .bits = 8, .mapType = 1, .mapEntryBits = 8, .map = {1}}.Build(), Kind::ReadFailed,
         "a TGA colour map of 8-bit entries is not read"},
        {"wider than the limit", Tga{.width = 8193, .height = 1}.Build(), Kind::ReadFailed, "the picture is 8193 x 1: wider than 8,192 pixels"},
        {"taller than the limit", Tga{.width = 1, .height = 65535}.Build(), Kind::ReadFailed, "the picture is 1 x 65535: taller than 8,192 pixels"},
        {"no rows", Tga{.height = 0}.Build(), Kind::ReadFailed, "the picture is 3 x 0: it has no pixels"},
        {"cut inside the header", std::vector<std::byte>(17), Kind::Malformed, "the picture ends at byte 17; its pixels need 18"},
        {"the last pixel's last byte missing", Tga{.pixels = Bytes(17)}.Build(), Kind::Malformed, "the picture ends at byte 35; its pixels need 36"},
        {"cut inside the colour map", Cut(Tga{.pixels = Bytes(18), .mapType = 1, .mapEntryBits = 24, .map = kMap24}.Build(), 22), Kind::Malformed,
         "the picture ends at byte 22; its pixels need 45"},
        {"run-length: no packet", Tga{.type = 10}.Build(), Kind::Malformed, "the picture ends at byte 18; its pixels need 19"},
        {"run-length: a packet's pixel cut", Tga{.type = 10, .pixels = {0x84, 1, 2, 3, 0x00, 1, 2}}.Build(), Kind::Malformed,
         "the picture ends at byte 25; its pixels need 26"},
        {"run-length: stream ends early", Tga{.type = 10, .pixels = {0x84, 1, 2, 3}}.Build(), Kind::Malformed, "the picture ends at byte 22; its pixels need 23"},
        {"run-length: past the last pixel", Tga{.type = 10, .pixels = {0x86, 1, 2, 3}}.Build(), Kind::Malformed,
         "the run-length packet at byte 18 runs 1 pixels past the picture's end"},
    };
    for (const auto& row : rows) {
        try {
            picture::DecodeTgaBytes(row.bytes);
            ADD_FAILURE() << row.what << ": decoded";
        } catch (const runtime::Failure& failure) {
            EXPECT_EQ(failure.what(), std::string(row.refusal)) << row.what;
            EXPECT_EQ(failure.kind(), row.kind) << row.what;
        }
    }
}

// A file whose extension area's Author Name begins "R", and its footer pointing at it.
std::vector<std::byte> WithFooter(std::vector<std::byte> bytes) {
    const std::size_t extension = bytes.size();
    bytes.resize(extension + 495);
    bytes[extension] = std::byte{495 & 0xFF};
    bytes[extension + 1] = std::byte{495 >> 8};
    bytes[extension + 2] = std::byte{'R'};
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::byte>(extension >> (8 * i)));
    bytes.resize(bytes.size() + 4);
    for (const char c : std::string("TRUEVISION-XFILE.")) bytes.push_back(static_cast<std::byte>(c));
    bytes.push_back(std::byte{0});
    return bytes;
}

// One pixel changed: the file decodes to the new pixels in its own format, a raw one differs
// from the old in that pixel's bytes alone, and a footer still finds its extension area.
TEST(RewriteTgaPixels, OnlyTheChangedPixelInTheFilesOwnLayout) {
    const struct { const char* what; std::vector<std::byte> bytes; bool raw; } rows[] = {
        {"raw 24 bits from the top right", Tga{.descriptor = 0x30, .pixels = Stored(3, 2, 24, Origin::TopRight)}.Build(), true},
        {"raw 32 bits from the bottom, alpha bytes it does not count kept",
         Tga{.bits = 32, .pixels = Stored(3, 2, 32, Origin::BottomLeft)}.Build(), true},
        {"raw 32 bits with alpha after an ID field and a colour map",
         Tga{.bits = 32, .descriptor = 0x28, .pixels = Stored(3, 2, 32, Origin::BottomLeft), .id = "font", .mapType = 1, .mapEntryBits = 24, .map = kMap24}.Build(), true},
        {"run-length, a run past its row broken",
         Tga{.type = 10, .descriptor = 0x20, .pixels = {0x83, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9}}.Build(), false},
        {"run-length 32 bits with a footer", WithFooter(Tga{.type = 10, .bits = 32, .descriptor = 0x28, .pixels = {0x85, 1, 2, 3, 4}}.Build()), false},
    };
    for (const auto& row : rows) {
        const picture::Picture before = picture::DecodeTgaBytes(row.bytes);
        Image after = before.image;
        after.At(0, 0) = {11, 22, 33, before.format.alpha ? std::uint8_t{44} : std::uint8_t{255}};
        const std::vector<std::byte> written = picture::RewriteTgaPixels(row.bytes, before.image, after);
        const picture::Picture now = picture::DecodeTgaBytes(written);
        EXPECT_EQ(Text(now.image), Text(after)) << row.what;
        EXPECT_EQ(picture::Describe(now.image, now.format), picture::Describe(before.image, before.format)) << row.what;
        if (row.raw) {
            ASSERT_EQ(written.size(), row.bytes.size()) << row.what;
            int differ = 0;
            for (std::size_t i = 0; i < written.size(); ++i) differ += written[i] != row.bytes[i];
            EXPECT_EQ(differ, std::to_integer<int>(row.bytes[16]) / 8) << row.what;  // the pixel's bytes
        }
        if (row.bytes.size() > 495) {
            const std::size_t footer = written.size() - 26;
            const std::size_t extension = std::to_integer<std::size_t>(written[footer]) | std::to_integer<std::size_t>(written[footer + 1]) << 8;
            EXPECT_EQ(written[extension + 2], std::byte{'R'}) << row.what;
        }
    }
    EXPECT_THROW(picture::RequireRewritableTga(Tga{.type = 1, .bits = 8, .mapType = 1, .mapEntryBits = 24, .map = kMap24}.Build()), runtime::Failure);
    EXPECT_THROW(picture::RequireRewritableTga(Tga{.bits = 16, .pixels = Bytes(12)}.Build()), runtime::Failure);
}

}  // namespace
