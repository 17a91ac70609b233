#pragma once

#include <stdexcept>
#include <string>

namespace runtime {

enum class FailureKind {
    NotANumber,
    Overflow,
    DivisionByZero,
    InvalidOperation,
    FileNotOpened,
    ReadFailed,
    WriteFailed,
    NoSuchGlyph,    // an index outside the glyph table
    WouldEndTable,  // a store that would write an empty record
    WouldChangeLayout,  // writes after which a load would find the table elsewhere
    TextTooLong,    // a text past the length the program scans
    Malformed,      // a text or file that does not follow its format
    ChangedOutside, // the file no longer holds what the program wrote there
    TextureChanged, // the texture no longer holds what the program drew or showed
    FileTooShort,   // a file that ends before what is to be written, or before its own table does
};

// Every failure of the program: thrown where it is detected, caught only where the user is told.
class Failure : public std::runtime_error {
public:
    Failure(FailureKind kind, const std::string& message)
        : std::runtime_error(message), kind_(kind) {}

    FailureKind kind() const noexcept { return kind_; }

private:
    FailureKind kind_;
};

}  // namespace runtime
