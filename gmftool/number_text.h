#pragma once

#include <string>
#include <string_view>

// Numbers as gmftool writes and reads them: "." notation whatever the locale, and exact, so that
// every binary32 value comes back bit for bit. A not-a-number is written as its bits
// (nan:0x7fc00000), since its payload is part of the file.
namespace gmftool {

// A position in edit units (the stored value x 256, as the window shows it), in the fewest
// digits that read back to the same value.
std::string EditText(float textureUnits);
// The same for a sum of two stored values, which is seldom a binary32 value itself: rounded to
// one, a bottom just past the texture's edge would read as the edge.
std::string EditText(double textureUnits);
// A value as stored, without a unit (FontSize, Aspect).
std::string StoredText(float value);

// Fail as Malformed, saying what is wrong, for a text that is no number, a bare "nan", or a value
// beyond binary32 (too large, or so small that it would read as zero).
float ParseEditText(std::string_view text);
float ParseStoredText(std::string_view text);

}  // namespace gmftool
