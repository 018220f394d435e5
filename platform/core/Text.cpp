#include "platform/Text.h"

#include "PathRules.h"

namespace platform {

bool IsLeadByte(unsigned char byte, unsigned codePage) {
  // GBK lead bytes; the trail byte (0x40..0xFE) may be '\' (0x5C), which is why
  // separator searches must walk the string from its start.
  return codePage == kCodePageGbk && byte >= 0x81 && byte <= 0xFE;
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
