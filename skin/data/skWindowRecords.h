// The popup menu window and hint window records, each loaded from its fixed section.
#pragma once
#include <string>

#include "skFields.h"

namespace skin {

class TskDataSkinPopupWindow {
 public:
  static constexpr const char* kSection = "POPUPWINDOW";
  void LoadFromIni(const TskIniFile& ini);
  void SaveToIni(TskIniFile& ini);

  std::int32_t windowpictureindex = kNoPicture;
  std::int32_t maskpictureindex = kNoPicture;
  Point lefttoppoint;
  Point righttoppoint;
  Point leftbottompoint;
  Point rightbottompoint;
  Rect itemsrect;
  Colour scrollmarkercolor = 0;
  Colour scrollmarkeractivecolor = 0;

 private:
  void Fields(TskFieldVisitor& v);
};

class TskDataSkinHintWindow {
 public:
  static constexpr const char* kSection = "HINTWINDOW";
  void LoadFromIni(const TskIniFile& ini);
  void SaveToIni(TskIniFile& ini);

  std::int32_t windowpictureindex = kNoPicture;
  std::int32_t maskpictureindex = kNoPicture;
  Point lefttoppoint;
  Point righttoppoint;
  Point leftbottompoint;
  Point rightbottompoint;
  Rect clientrect;
  std::string fontname = kDefaultFontName;
  TFontStyles fontstyle = 0;
  std::int32_t fontheight = kDefaultFontHeight;
  Colour fontcolor = 0;

 private:
  void Fields(TskFieldVisitor& v);
};

}  // namespace skin
