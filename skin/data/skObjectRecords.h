// Skin object records: the parts of a window frame and of menus, one record per
// [SKINOBJECTS] entry. Each field is named after the definition key that fills it.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "skDataRecord.h"

namespace skin {

class TskDataSkinObject : public TskDataSkinRecord {
 public:
  using TskDataSkinRecord::TskDataSkinRecord;

  std::string hint;
  bool skinrectinapicture = false;
  Rect skinrect;
  Rect activeskinrect;
  std::int32_t activepictureindex = kNoPicture;
  bool morphing = false;
  TMorphKind morphkind = TMorphKind::mkDefault;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

// Only `skinrect`; the group's other keys are not read.
class TskDataUserObject : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinButton : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  Rect downrect;
  Rect disableskinrsect;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinStdButton : public TskDataSkinButton {
 public:
  using TskDataSkinButton::TskDataSkinButton;
  TskStdCommand command = TskStdCommand::cmDefault;
  Rect restorerect;
  Rect restoreactiverect;
  Rect restoredownrect;
  Rect restoreinactiverect;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinMainMenuBarButton : public TskDataSkinStdButton {
 public:
  using TskDataSkinStdButton::TskDataSkinStdButton;
};

class TskDataSkinMenuItem : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  Rect dividerrect;
  std::int32_t dividerleftoffset = 0;
  std::int32_t dividerrightoffset = 0;
  std::int32_t itemleftoffset = 0;
  std::int32_t itemrightoffset = 0;
  std::string fontname = kDefaultFontName;
  std::int32_t fontheight = kDefaultFontHeight;
  TFontStyles fontstyle = 0;
  Colour unenabledfontcolor = 0;
  Colour fontcolor = 0;
  Colour activefontcolor = 0;
  Rect textrect;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinMainMenuItem : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  Rect downrect;
  std::string fontname = kDefaultFontName;
  std::int32_t fontheight = kDefaultFontHeight;
  TFontStyles fontstyle = 0;
  Colour fontcolor = 0;
  Colour activefontcolor = 0;
  Colour downfontcolor = 0;
  Colour unenabledfontColor = 0;
  Rect textrect;
  std::int32_t itemleftoffset = 0;
  std::int32_t itemrightoffset = 0;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinMainMenuBarItem : public TskDataSkinMainMenuItem {
 public:
  using TskDataSkinMainMenuItem::TskDataSkinMainMenuItem;
};

class TskDataSkinCaption : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  std::string fontname = kDefaultFontName;
  std::int32_t fontheight = kDefaultFontHeight;
  TFontStyles fontstyle = 0;
  Colour fontcolor = 0;
  Colour activefontcolor = 0;
  Colour shadowcolor = 0;
  Colour activeshadowcolor = 0;
  bool shadow = false;
  TAlignment alignment = TAlignment::taCenter;
  Rect textrect;
  Rect framerect;
  Rect activeframerect;
  std::int32_t frameleftoffset = 0;
  std::int32_t framerightoffset = 0;
  Rect frametextrect;

 protected:
  void Fields(TskFieldVisitor& v) override;
};

// The record for a [SKINOBJECTS] kind, or nullptr for an unknown kind.
std::unique_ptr<TskDataSkinObject> CreateSkinObject(std::string_view kind, std::string name);

}  // namespace skin
