// A parsed skin definition: INI text whose section names and keys match without
// regard to case, the first section or key of a name winning.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skin {

class TskIniFile {
 public:
  TskIniFile() = default;
  explicit TskIniFile(const std::vector<std::string>& lines);
  // Splits at CR, LF or CR LF.
  static std::vector<std::string> SplitLines(std::string_view text);

  bool SectionExists(std::string_view section) const;
  // The value as it stands (trimmed), or nullopt when the key is absent.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  // Decimal with optional sign, or hexadecimal after "0x", "0X" or "$"; absent,
  // empty or invalid values give `fallback`.
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t fallback) const;

  // The keys "0", "1", ... below `limit` that the section holds, each with its
  // first value, in ascending order: what reading keys 0 .. limit-1 one by one
  // finds, without walking numbers that have no key.
  std::vector<std::pair<std::int32_t, std::string>> NumberedValues(std::string_view section,
                                                                   std::int32_t limit) const;
  // Number of key lines in the section (0 when absent).
  std::size_t KeyCount(std::string_view section) const;

  // Replaces the key's first occurrence, or appends it (and the section).
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
  void EraseSection(std::string_view section);

  std::vector<std::string> ToLines() const;

 private:
  struct Line {
    std::string key;  // empty for a line without "="
    std::string value;
    bool hasKey = false;
  };
  struct Section {
    std::string name;
    std::vector<Line> lines;
  };
  const Section* FindSection(std::string_view name) const;
  Section* FindSection(std::string_view name);

  std::vector<Section> sections_;
};

// True when all five sections that make a definition a skin are present:
// [VERSION], [PICTURES], [FORMINFO], [SKINOBJECTS] and [SKINCONTROLS].
bool IsSkinDefinition(const TskIniFile& ini);

// Definition text as UTF-8: kept (without a byte-order mark) when it already is
// valid UTF-8, otherwise read as the Chinese ANSI code page skins were written in.
std::string DefinitionTextToUtf8(std::string_view bytes);

// Parses an integer of the definition syntax; nullopt when invalid or out of range.
std::optional<std::int32_t> ParseInteger(std::string_view text);

}  // namespace skin
