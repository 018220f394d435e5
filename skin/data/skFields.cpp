#include "skFields.h"

#include "skCodec.h"

namespace skin {

void TskFieldVisitor::FontFields(const std::string& prefix, std::string& name, TFontStyles& style,
                                 std::int32_t& height, Colour& colour) {
  TextField((prefix + "fontname").c_str(), name, kDefaultFontName);
  FontStyleField((prefix + "fontstyle").c_str(), style);
  IntegerField((prefix + "fontheight").c_str(), height, kDefaultFontHeight);
  IntegerField((prefix + "fontcolor").c_str(), colour, 0);
}

void TskIniLoader::RectField(const char* key, Rect& value) { value = ReadRect(ini_, section_, key); }
void TskIniLoader::PointField(const char* key, Point& value) { value = ReadPoint(ini_, section_, key); }
void TskIniLoader::IntegerField(const char* key, std::int32_t& value, std::int32_t fallback) {
  value = ini_.ReadInteger(section_, key, fallback);
}
void TskIniLoader::BooleanField(const char* key, bool& value) { value = ReadBoolean(ini_, section_, key); }
void TskIniLoader::TextField(const char* key, std::string& value, const char* fallback) {
  value = ini_.ReadString(section_, key, fallback);
}
void TskIniLoader::FontStyleField(const char* key, TFontStyles& value) { value = ReadFontStyle(ini_, section_, key); }
void TskIniLoader::AlignmentField(const char* key, TAlignment& value) { value = ReadAlignment(ini_, section_, key); }
void TskIniLoader::MorphKindField(const char* key, TMorphKind& value) { value = ReadMorphKind(ini_, section_, key); }
void TskIniLoader::CommandField(const char* key, TskStdCommand& value) { value = ReadCommand(ini_, section_, key); }

void TskIniLoader::InactiveEffectField(const char* key, TInactiveEffect& value) {
  value = ReadInactiveEffect(ini_, section_, key);
}

void TskIniSaver::RectField(const char* key, Rect& value) { WriteRect(ini_, section_, key, value); }
void TskIniSaver::PointField(const char* key, Point& value) { WritePoint(ini_, section_, key, value); }
void TskIniSaver::IntegerField(const char* key, std::int32_t& value, std::int32_t) {
  ini_.WriteInteger(section_, key, value);
}
void TskIniSaver::BooleanField(const char* key, bool& value) { WriteBoolean(ini_, section_, key, value); }
void TskIniSaver::TextField(const char* key, std::string& value, const char*) {
  ini_.WriteString(section_, key, value);
}
void TskIniSaver::FontStyleField(const char* key, TFontStyles& value) { WriteFontStyle(ini_, section_, key, value); }
void TskIniSaver::AlignmentField(const char* key, TAlignment& value) { WriteAlignment(ini_, section_, key, value); }
void TskIniSaver::MorphKindField(const char* key, TMorphKind& value) { WriteMorphKind(ini_, section_, key, value); }
void TskIniSaver::CommandField(const char* key, TskStdCommand& value) { WriteCommand(ini_, section_, key, value); }

void TskIniSaver::InactiveEffectField(const char* key, TInactiveEffect& value) {
  WriteInactiveEffect(ini_, section_, key, value);
}

}  // namespace skin
