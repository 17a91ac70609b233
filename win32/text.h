#pragma once

#include <string>
#include <string_view>

// The editor speaks UTF-8; Windows' W functions speak UTF-16.
namespace win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace win32
