#include "platform/Text.h"

#include <algorithm>

#include "PathRules.h"

namespace platform {

bool IsLeadByte(unsigned char byte, unsigned codePage) {
  // GBK lead bytes; the trail byte (0x40..0xFE) may be '\' (0x5C), which is why
  // separator searches must walk the string from its start.
  return codePage == kCodePageGbk && byte >= 0x81 && byte <= 0xFE;
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) { return CompareNoCase(a, b) == 0; }

int CompareNoCase(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(AsciiLower(a[i]));
    const auto y = static_cast<unsigned char>(AsciiLower(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

std::size_t LastDelimiter(std::string_view delimiters, std::string_view text, unsigned codePage) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(text[i]), codePage) && i + 1 < text.size()) {
      ++i;  // skip the trail byte
      continue;
    }
    if (delimiters.find(text[i]) != std::string_view::npos) found = i;
  }
  return found;
}

std::string ExtractFilePath(std::string_view path, unsigned codePage) {
  const std::size_t at = LastDelimiter(kPathDelimiters, path, codePage);
  return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at + 1));
}

std::string ExtractFileName(std::string_view path, unsigned codePage) {
  const std::size_t at = LastDelimiter(kPathDelimiters, path, codePage);
  return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

}  // namespace platform
