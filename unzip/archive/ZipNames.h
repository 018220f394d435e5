// Entry names and comments as stored: UTF-8, or bytes of a code page.
#pragma once
#include <string>

namespace unzip {

bool IsValidUtf8(const std::string& s);

// A stored entry name in UTF-8 with "\" separators. Names flagged as UTF-8, and
// names from non-FAT hosts that already are valid UTF-8, are taken as they are;
// the rest are converted from `codePage` (the OEM code page when `oem`).
std::string ConvertEntryName(const std::string& raw, bool utf8Flag, bool fatHost, unsigned codePage);

}  // namespace unzip
