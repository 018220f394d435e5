// Splitting a text into lines and prefix-processed runs, shared by both
// backends' text drawing.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace platform::textlayout {

struct Line {
  std::string text;        // with the prefix characters removed
  int underline = -1;      // byte offset of the underlined character, -1 none
};

// Lines break at "\n" (a "\r" before it is dropped); with `prefix`, "&x"
// underlines x and "&&" gives "&".
std::vector<Line> Split(std::string_view text, bool singleLine, bool prefix);

}  // namespace platform::textlayout
