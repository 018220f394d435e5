#include "TextLayout.h"

namespace platform::textlayout {

std::vector<Line> Split(std::string_view text, bool singleLine, bool prefix) {
  std::vector<Line> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (!singleLine && (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))) {
      if (c == '\r') ++i;
      lines.emplace_back();
      continue;
    }
    if (prefix && c == '&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != '&' && lines.back().underline < 0) lines.back().underline = int(lines.back().text.size());
    }
    lines.back().text += text[i];
  }
  return lines;
}

}  // namespace platform::textlayout
