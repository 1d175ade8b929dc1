#pragma once
// The program keeps every text and path as UTF-8; Windows takes UTF-16. Both
// directions convert here, at the call into the system, and nowhere else.
// Text that is not valid in its encoding gives an empty result, so a mangled
// path opens nothing rather than some other file.

#include <string>
#include <string_view>

namespace kr7 {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace kr7
