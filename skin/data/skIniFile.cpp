#include "skIniFile.h"

#include <algorithm>
#include <array>

#include "platform/Text.h"
#include <limits>
#include <utility>

namespace skin {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  bool hex = false;
  if (text.starts_with('$')) {
    hex = true;
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    hex = true;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    const int digit = hex ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (digit < 0) return std::nullopt;
    value = value * (hex ? 16 : 10) + std::uint64_t(digit);
    if (value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  }
  if (hex) {
    // Hexadecimal covers all 32 bits: $FFFFFFFF is -1.
    const auto bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return negative ? std::int32_t(0u - std::uint32_t(bits)) : bits;
  }
  if (negative) {
    if (value > std::uint64_t(std::numeric_limits<std::int32_t>::max()) + 1) return std::nullopt;
    return std::int32_t(-std::int64_t(value));
  }
  if (value > std::uint64_t(std::numeric_limits<std::int32_t>::max())) return std::nullopt;
  return std::int32_t(value);
}

bool IsSkinDefinition(const TskIniFile& ini) {
  static constexpr std::array<const char*, 5> kRequired = {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS",
                                                           "SKINCONTROLS"};
  return std::all_of(kRequired.begin(), kRequired.end(), [&](const char* s) { return ini.SectionExists(s); });
}

namespace {

bool IsValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n;
  }
  return true;
}

}  // namespace

std::string DefinitionTextToUtf8(std::string_view bytes) {
  constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";  // written by some editors
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  return IsValidUtf8(bytes) ? std::string(bytes) : platform::ToUtf8(bytes, platform::kCodePageGbk);
}

std::vector<std::string> TskIniFile::SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

TskIniFile::TskIniFile(const std::vector<std::string>& lines) {
  Section* current = nullptr;
  for (const std::string& raw : lines) {
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      sections_.push_back({std::string(Trim(line.substr(1, line.size() - 2))), {}});
      current = &sections_.back();
      continue;
    }
    if (!current) continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      current->lines.push_back({std::string(), std::string(line), false});
    } else {
      current->lines.push_back({std::string(Trim(line.substr(0, eq))), std::string(Trim(line.substr(eq + 1))), true});
    }
  }
}

const TskIniFile::Section* TskIniFile::FindSection(std::string_view name) const {
  for (const Section& s : sections_) {
    if (platform::EqualsNoCase(s.name, name)) return &s;
  }
  return nullptr;
}

TskIniFile::Section* TskIniFile::FindSection(std::string_view name) {
  return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

bool TskIniFile::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

std::optional<std::string> TskIniFile::Value(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (!s) return std::nullopt;
  for (const Line& l : s->lines) {
    if (l.hasKey && platform::EqualsNoCase(l.key, key)) return l.value;
  }
  return std::nullopt;
}

std::vector<std::pair<std::int32_t, std::string>> TskIniFile::NumberedValues(std::string_view section,
                                                                             std::int32_t limit) const {
  std::vector<std::pair<std::int32_t, std::string>> out;
  const Section* s = FindSection(section);
  if (!s) return out;
  for (const Line& l : s->lines) {
    if (!l.hasKey) continue;
    // Only the key text that a number's decimal form matches: no sign, no leading zero.
    const auto n = ParseInteger(l.key);
    if (!n || *n < 0 || *n >= limit || std::to_string(*n) != l.key) continue;
    out.emplace_back(*n, l.value);
  }
  // Stable: of two equal keys the first stays first, and only it is kept.
  std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  out.erase(std::unique(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
            out.end());
  return out;
}

std::size_t TskIniFile::KeyCount(std::string_view section) const {
  const Section* s = FindSection(section);
  if (!s) return 0;
  return std::size_t(std::count_if(s->lines.begin(), s->lines.end(), [](const Line& l) { return l.hasKey; }));
}

std::string TskIniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  auto v = Value(section, key);
  return v ? std::move(*v) : std::string(fallback);
}

std::int32_t TskIniFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const {
  const auto v = Value(section, key);
  if (!v) return fallback;
  return ParseInteger(*v).value_or(fallback);
}

void TskIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  Section* s = FindSection(section);
  if (!s) {
    sections_.push_back({std::string(section), {}});
    s = &sections_.back();
  }
  for (Line& l : s->lines) {
    if (l.hasKey && platform::EqualsNoCase(l.key, key)) {
      l.value = std::string(Trim(value));
      return;
    }
  }
  s->lines.push_back({std::string(key), std::string(Trim(value)), true});
}

void TskIniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TskIniFile::EraseSection(std::string_view section) {
  // Every section of the name goes, so that a rewrite is found first afterwards.
  std::erase_if(sections_, [&](const Section& s) { return platform::EqualsNoCase(s.name, section); });
}

std::vector<std::string> TskIniFile::ToLines() const {
  std::vector<std::string> out;
  for (const Section& s : sections_) {
    out.push_back("[" + s.name + "]");
    for (const Line& l : s.lines) out.push_back(l.hasKey ? l.key + "=" + l.value : l.value);
  }
  return out;
}

}  // namespace skin
