// The field visitor through which every skin record loads and saves its keys:
// each record lists its fields once, with key and kind, and the same list drives
// reading from and writing to a definition.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "skIniFile.h"
#include "skTypes.h"

namespace skin {

constexpr std::int32_t kNoPicture = -1;
constexpr const char* kDefaultFontName = "Arial";
constexpr std::int32_t kDefaultFontHeight = 14;

// The font keys most records carry, with the format's defaults.
struct TskFontKeys {
  std::string fontname = kDefaultFontName;
  TFontStyles fontstyle = 0;
  std::int32_t fontheight = kDefaultFontHeight;
  Colour fontcolor = 0;
};

class TskFieldVisitor {
 public:
  virtual ~TskFieldVisitor() = default;
  // The four font keys PREFIXfontname, PREFIXfontstyle, PREFIXfontheight and
  // PREFIXfontcolor, in that order.
  void FontFields(const std::string& prefix, std::string& name, TFontStyles& style, std::int32_t& height,
                  Colour& colour);
  void FontFields(TskFontKeys& font) { FontFields("", font.fontname, font.fontstyle, font.fontheight, font.fontcolor); }

  virtual void RectField(const char* key, Rect& value) = 0;
  virtual void PointField(const char* key, Point& value) = 0;
  // Integers, colours and picture indexes.
  virtual void IntegerField(const char* key, std::int32_t& value, std::int32_t fallback = 0) = 0;
  virtual void BooleanField(const char* key, bool& value) = 0;
  // Texts, font names and element names.
  virtual void TextField(const char* key, std::string& value, const char* fallback = "") = 0;
  virtual void FontStyleField(const char* key, TFontStyles& value) = 0;
  virtual void AlignmentField(const char* key, TAlignment& value) = 0;
  virtual void MorphKindField(const char* key, TMorphKind& value) = 0;
  virtual void CommandField(const char* key, TskStdCommand& value) = 0;
  virtual void InactiveEffectField(const char* key, TInactiveEffect& value) = 0;
};

// Reads every visited field from one section with the codec.
class TskIniLoader final : public TskFieldVisitor {
 public:
  TskIniLoader(const TskIniFile& ini, std::string_view section) : ini_(ini), section_(section) {}
  void RectField(const char* key, Rect& value) override;
  void PointField(const char* key, Point& value) override;
  void IntegerField(const char* key, std::int32_t& value, std::int32_t fallback) override;
  void BooleanField(const char* key, bool& value) override;
  void TextField(const char* key, std::string& value, const char* fallback) override;
  void FontStyleField(const char* key, TFontStyles& value) override;
  void AlignmentField(const char* key, TAlignment& value) override;
  void MorphKindField(const char* key, TMorphKind& value) override;
  void CommandField(const char* key, TskStdCommand& value) override;
  void InactiveEffectField(const char* key, TInactiveEffect& value) override;

 private:
  const TskIniFile& ini_;
  std::string section_;
};

// Writes every visited field into one section with the codec.
class TskIniSaver final : public TskFieldVisitor {
 public:
  TskIniSaver(TskIniFile& ini, std::string_view section) : ini_(ini), section_(section) {}
  void RectField(const char* key, Rect& value) override;
  void PointField(const char* key, Point& value) override;
  void IntegerField(const char* key, std::int32_t& value, std::int32_t fallback) override;
  void BooleanField(const char* key, bool& value) override;
  void TextField(const char* key, std::string& value, const char* fallback) override;
  void FontStyleField(const char* key, TFontStyles& value) override;
  void AlignmentField(const char* key, TAlignment& value) override;
  void MorphKindField(const char* key, TMorphKind& value) override;
  void CommandField(const char* key, TskStdCommand& value) override;
  void InactiveEffectField(const char* key, TInactiveEffect& value) override;

 private:
  TskIniFile& ini_;
  std::string section_;
};

}  // namespace skin
