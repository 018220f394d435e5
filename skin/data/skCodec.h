// The skin value codec: reads and writes single values of a skin definition.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/Exception.h"
#include "skIniFile.h"
#include "skTypes.h"

namespace skin {

// A value that cannot be converted. The message names the bad field and, when the
// value came from a definition, its section, key and whole value.
class ESkinValueError : public platform::Exception {
 public:
  ESkinValueError(std::string message, std::string section, std::string key, std::string value);
  const std::string& Section() const { return section_; }
  const std::string& Key() const { return key_; }
  const std::string& Value() const { return value_; }

 private:
  std::string section_, key_, value_;
};

// Comma-separated fields of which only the digits count ("-" and blanks are
// skipped); extra fields are ignored. A field without digits, or too large for
// 32 bits, throws ESkinValueError "'<field>' is not a valid integer value".
Rect TextToRect(std::string_view text);
Point TextToPoint(std::string_view text);

Rect ReadRect(const TskIniFile& ini, std::string_view section, std::string_view key);
Point ReadPoint(const TskIniFile& ini, std::string_view section, std::string_view key);
bool ReadBoolean(const TskIniFile& ini, std::string_view section, std::string_view key);
TFontStyles ReadFontStyle(const TskIniFile& ini, std::string_view section, std::string_view key);
TAlignment ReadAlignment(const TskIniFile& ini, std::string_view section, std::string_view key);
TMorphKind ReadMorphKind(const TskIniFile& ini, std::string_view section, std::string_view key);
TInactiveEffect ReadInactiveEffect(const TskIniFile& ini, std::string_view section, std::string_view key);
TskStdCommand ReadCommand(const TskIniFile& ini, std::string_view section, std::string_view key);
// Appends the values of keys 0 .. n-1, n being the integer under "<listName>count".
void ReadStringList(const TskIniFile& ini, std::string_view section, std::string_view listName,
                    std::vector<std::string>& list);

void WriteRect(TskIniFile& ini, std::string_view section, std::string_view key, const Rect& value);
void WritePoint(TskIniFile& ini, std::string_view section, std::string_view key, const Point& value);
void WriteBoolean(TskIniFile& ini, std::string_view section, std::string_view key, bool value);
void WriteFontStyle(TskIniFile& ini, std::string_view section, std::string_view key, TFontStyles value);
void WriteAlignment(TskIniFile& ini, std::string_view section, std::string_view key, TAlignment value);
void WriteMorphKind(TskIniFile& ini, std::string_view section, std::string_view key, TMorphKind value);
void WriteInactiveEffect(TskIniFile& ini, std::string_view section, std::string_view key, TInactiveEffect value);
void WriteCommand(TskIniFile& ini, std::string_view section, std::string_view key, TskStdCommand value);

const char* MorphKindName(TMorphKind kind);
const char* InactiveEffectName(TInactiveEffect effect);
const char* CommandName(TskStdCommand command);

// Splits a list entry "name:kind" at its first ":"; no ":" gives two empty texts.
void SplitListEntry(std::string_view entry, std::string& name, std::string& kind);

}  // namespace skin
