#include "skCodec.h"

#include <array>
#include <limits>

namespace skin {

namespace {

constexpr std::array<const char*, 7> kMorphKindNames = {
    "mkdefault", "mkgradient", "mkleftgradient", "mkrightgradient", "mkleftslide", "mkrightslide", "mkpush"};
constexpr std::array<const char*, 6> kInactiveEffectNames = {
    "iebrightness", "iedarkness", "iegrayscale", "ienoise", "iesplitblur", "ieinvert"};
constexpr std::array<const char*, 6> kCommandNames = {
    "cmclose", "cmmaximize", "cmminimize", "cmsysmenu", "cmdefault", "cmrollup"};
constexpr std::array<std::pair<const char*, TFontStyles>, 4> kFontStyleNames = {{
    {"fsbold", fsBold}, {"fsitalic", fsItalic}, {"fsunderline", fsUnderline}, {"fsstrikeout", fsStrikeOut}}};

// Splits into digit-only fields; fills `out` with the first `count` of them.
template <std::size_t N>
std::array<std::int32_t, N> ParseFields(std::string_view text) {
  std::array<std::int32_t, N> out{};
  std::size_t field = 0;
  std::string digits;
  auto close = [&] {
    if (field < N) {
      std::int64_t v = 0;
      bool ok = !digits.empty();
      for (char c : digits) {
        v = v * 10 + (c - '0');
        if (v > std::numeric_limits<std::int32_t>::max()) {
          ok = false;
          break;
        }
      }
      if (!ok) throw ESkinValueError("'" + digits + "' is not a valid integer value", "", "", std::string(text));
      out[field] = std::int32_t(v);
    }
    ++field;
    digits.clear();
  };
  for (char c : text) {
    if (c == ',') {
      close();
    } else if (c >= '0' && c <= '9') {
      digits.push_back(c);
    }
  }
  close();
  if (field < N) throw ESkinValueError("'' is not a valid integer value", "", "", std::string(text));
  return out;
}

// Reads a value with `fallback` and converts it, naming section and key on failure.
template <typename F>
auto Convert(const TskIniFile& ini, std::string_view section, std::string_view key, std::string_view fallback,
             F convert) {
  const std::string value = ini.ReadString(section, key, fallback);
  try {
    return convert(value);
  } catch (const ESkinValueError& e) {
    throw ESkinValueError(std::string(e.what()) + " in [" + std::string(section) + "] " + std::string(key) + "=" +
                              value,
                          std::string(section), std::string(key), value);
  }
}

template <std::size_t N, typename E>
E FindName(const std::array<const char*, N>& names, std::string_view text, E fallback) {
  for (std::size_t i = 0; i < N; ++i) {
    if (text == names[i]) return E(i);
  }
  return fallback;
}

}  // namespace

ESkinValueError::ESkinValueError(std::string message, std::string section, std::string key, std::string value)
    : platform::Exception(std::move(message)),
      section_(std::move(section)),
      key_(std::move(key)),
      value_(std::move(value)) {}

Rect TextToRect(std::string_view text) {
  const auto f = ParseFields<4>(text);
  return {f[0], f[1], f[2], f[3]};
}

Point TextToPoint(std::string_view text) {
  const auto f = ParseFields<2>(text);
  return {f[0], f[1]};
}

Rect ReadRect(const TskIniFile& ini, std::string_view section, std::string_view key) {
  return Convert(ini, section, key, "0,0,0,0", [](const std::string& v) { return TextToRect(v); });
}

Point ReadPoint(const TskIniFile& ini, std::string_view section, std::string_view key) {
  return Convert(ini, section, key, "0,0", [](const std::string& v) { return TextToPoint(v); });
}

bool ReadBoolean(const TskIniFile& ini, std::string_view section, std::string_view key) {
  return ini.ReadInteger(section, key, 0) == 1;
}

TFontStyles ReadFontStyle(const TskIniFile& ini, std::string_view section, std::string_view key) {
  const std::string value = ini.ReadString(section, key, "");
  TFontStyles styles = 0;
  for (const auto& [name, flag] : kFontStyleNames) {
    if (value.find(name) != std::string::npos) styles |= flag;
  }
  return styles;
}

TAlignment ReadAlignment(const TskIniFile& ini, std::string_view section, std::string_view key) {
  const std::string value = ini.ReadString(section, key, "tacenter");
  if (value == "tacenter") return TAlignment::taCenter;
  if (value == "taleftjustify") return TAlignment::taLeftJustify;
  return TAlignment::taRightJustify;
}

TMorphKind ReadMorphKind(const TskIniFile& ini, std::string_view section, std::string_view key) {
  return FindName(kMorphKindNames, ini.ReadString(section, key, "mkdefault"), TMorphKind::mkDefault);
}

TInactiveEffect ReadInactiveEffect(const TskIniFile& ini, std::string_view section, std::string_view key) {
  return FindName(kInactiveEffectNames, ini.ReadString(section, key, "iebrightness"), TInactiveEffect::ieBrightness);
}

TskStdCommand ReadCommand(const TskIniFile& ini, std::string_view section, std::string_view key) {
  return FindName(kCommandNames, ini.ReadString(section, key, "cmdefault"), TskStdCommand::cmRollUp);
}

void ReadStringList(const TskIniFile& ini, std::string_view section, std::string_view listName,
                    std::vector<std::string>& list) {
  const std::int32_t count = ini.ReadInteger(section, std::string(listName) + "count", 0);
  for (std::int32_t i = 0; i < count; ++i) list.push_back(ini.ReadString(section, std::to_string(i), ""));
}

void WriteRect(TskIniFile& ini, std::string_view section, std::string_view key, const Rect& v) {
  ini.WriteString(section, key,
                  std::to_string(v.left) + "," + std::to_string(v.top) + "," + std::to_string(v.right) + "," +
                      std::to_string(v.bottom));
}

void WritePoint(TskIniFile& ini, std::string_view section, std::string_view key, const Point& v) {
  ini.WriteString(section, key, std::to_string(v.x) + "," + std::to_string(v.y));
}

void WriteBoolean(TskIniFile& ini, std::string_view section, std::string_view key, bool value) {
  ini.WriteString(section, key, value ? "1" : "0");
}

void WriteFontStyle(TskIniFile& ini, std::string_view section, std::string_view key, TFontStyles value) {
  std::string text;
  for (const auto& [name, flag] : kFontStyleNames) {
    if (!(value & flag)) continue;
    if (!text.empty()) text += ",";
    text += name;
  }
  ini.WriteString(section, key, text);
}

void WriteAlignment(TskIniFile& ini, std::string_view section, std::string_view key, TAlignment value) {
  const char* name = value == TAlignment::taCenter        ? "tacenter"
                     : value == TAlignment::taRightJustify ? "tarightjustify"
                                                           : "taleftjustify";
  ini.WriteString(section, key, name);
}

void WriteMorphKind(TskIniFile& ini, std::string_view section, std::string_view key, TMorphKind value) {
  ini.WriteString(section, key, MorphKindName(value));
}

void WriteInactiveEffect(TskIniFile& ini, std::string_view section, std::string_view key, TInactiveEffect value) {
  ini.WriteString(section, key, InactiveEffectName(value));
}

void WriteCommand(TskIniFile& ini, std::string_view section, std::string_view key, TskStdCommand value) {
  ini.WriteString(section, key, CommandName(value));
}

const char* MorphKindName(TMorphKind kind) { return kMorphKindNames.at(std::size_t(kind)); }
const char* InactiveEffectName(TInactiveEffect effect) { return kInactiveEffectNames.at(std::size_t(effect)); }
const char* CommandName(TskStdCommand command) { return kCommandNames.at(std::size_t(command)); }

void SplitListEntry(std::string_view entry, std::string& name, std::string& kind) {
  const std::size_t colon = entry.find(':');
  if (colon == std::string_view::npos) {
    name.clear();
    kind.clear();
    return;
  }
  name = std::string(entry.substr(0, colon));
  kind = std::string(entry.substr(colon + 1));
}

}  // namespace skin
