#include "skUtils.h"

namespace skin {

namespace {
constexpr const char kEllipsis[] = "...";
}  // namespace

void FitTextWithEllipsis(const TskTextWidth& textWidth, std::string& text, int width) {
  if (textWidth(text) <= width) return;
  while (!text.empty()) {
    // Drop one whole UTF-8 character: its continuation bytes, then its lead byte.
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80) text.pop_back();
    if (!text.empty()) text.pop_back();
    if (text.empty() || textWidth(text + kEllipsis) <= width) break;
  }
  text += kEllipsis;
}

}  // namespace skin
