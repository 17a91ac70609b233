// Any text through the parses and back: parse, show, parse again must agree.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/conversions.h"
#include "runtime/failure.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

bool Close(double a, double b, double relative) { return a == b || std::fabs(a - b) <= std::fabs(a) * relative; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (char separator : {'.', ','}) {
        try {
            const double value = runtime::TextToDouble(text, separator);
            Check(std::isfinite(value));
            const double again = runtime::TextToDouble(runtime::DoubleToText(value, separator), separator);
            Check(Close(value, again, 1e-14));
        } catch (const runtime::Failure& failure) {
            Check(failure.kind() == runtime::FailureKind::NotANumber || failure.kind() == runtime::FailureKind::Overflow);
        }
        try {
            const float single = runtime::TextToSingle(text, separator);
            Check(std::isfinite(single));
            const std::string shown = runtime::SingleToText(single, separator);
            Check(Close(single, runtime::TextToDouble(shown, separator), 1e-6));
        } catch (const runtime::Failure& failure) {
            Check(failure.kind() == runtime::FailureKind::NotANumber || failure.kind() == runtime::FailureKind::Overflow);
        }
    }
    try {
        Check(std::isfinite(runtime::Val(text)));
    } catch (const runtime::Failure& failure) {
        Check(failure.kind() == runtime::FailureKind::Overflow);
    }
    const std::string trimmed = runtime::Trim(text);
    Check(trimmed.empty() || (trimmed.front() != ' ' && trimmed.back() != ' '));
    return 0;
}
