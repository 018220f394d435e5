// The profile-string reader of the headless backend, following the rules of the
// Win32 reader so that the same main.ini reads the same on both.
#include "platform/Profile.h"

#include <fstream>
#include <iterator>
#include <string_view>

#include "platform/Text.h"

namespace platform {

namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

std::string_view Unquote(std::string_view value) {
  if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) const {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return defaultValue;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string_view rest(text);
  if (rest.substr(0, kUtf8Bom.size()) == kUtf8Bom) rest.remove_prefix(kUtf8Bom.size());

  bool inSection = false;
  while (!rest.empty()) {
    const std::size_t eol = rest.find('\n');
    const std::string_view line = Trim(rest.substr(0, eol));
    rest = eol == std::string_view::npos ? std::string_view() : rest.substr(eol + 1);
    if (line.empty()) continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      const std::string_view name = Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
      inSection = EqualsNoCase(name, section);
      continue;
    }
    if (!inSection) continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || !EqualsNoCase(Trim(line.substr(0, eq)), key)) continue;
    const std::string_view value = Unquote(Trim(line.substr(eq + 1)));
    return std::string(value.substr(0, kProfileValueMax));
  }
  return defaultValue;
}

}  // namespace platform
