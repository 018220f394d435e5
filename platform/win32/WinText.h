#pragma once
// UTF-8 <-> UTF-16 for the Win32 backend's W calls.
#include <string>
#include <string_view>

namespace platform {
std::wstring Widen(std::string_view bytes, unsigned codePage = 65001);
std::string Narrow(std::wstring_view wide, unsigned codePage = 65001);
}  // namespace platform
