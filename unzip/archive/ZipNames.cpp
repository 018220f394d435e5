#include "archive/ZipNames.h"

#include <algorithm>

#include "platform/Text.h"

namespace unzip {

bool IsValidUtf8(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    const int trail = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (trail < 0 || (trail == 1 && c < 0xC2) || (trail > 0 && i + trail >= s.size())) return false;
    for (int k = 1; k <= trail; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += trail + 1;
  }
  return true;
}

std::string ConvertEntryName(const std::string& raw, bool utf8Flag, bool fatHost, unsigned codePage) {
  std::string name;
  if (utf8Flag || (!fatHost && IsValidUtf8(raw))) {
    name = raw;
  } else {
    name = platform::ToUtf8(raw, codePage);
  }
  std::replace(name.begin(), name.end(), '/', '\\');
  return name;
}

}  // namespace unzip
