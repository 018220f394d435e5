#include "skObjectRecords.h"

namespace skin {

void TskDataSkinObject::Fields(TskFieldVisitor& v) {
  v.TextField("hint", hint, "");
  v.BooleanField("skinrectinapicture", skinrectinapicture);
  v.RectField("skinrect", skinrect);
  v.RectField("activeskinrect", activeskinrect);
  v.IntegerField("activepictureindex", activepictureindex, kNoPicture);
  v.BooleanField("morphing", morphing);
  v.MorphKindField("morphkind", morphkind);
}

void TskDataUserObject::Fields(TskFieldVisitor& v) { v.RectField("skinrect", skinrect); }

void TskDataSkinButton::Fields(TskFieldVisitor& v) {
  TskDataSkinObject::Fields(v);
  v.RectField("downrect", downrect);
  v.RectField("disableskinrsect", disableskinrsect);
}

void TskDataSkinStdButton::Fields(TskFieldVisitor& v) {
  TskDataSkinButton::Fields(v);
  v.CommandField("command", command);
  v.RectField("restorerect", restorerect);
  v.RectField("restoreactiverect", restoreactiverect);
  v.RectField("restoredownrect", restoredownrect);
  v.RectField("restoreinactiverect", restoreinactiverect);
}

void TskDataSkinMenuItem::Fields(TskFieldVisitor& v) {
  TskDataSkinObject::Fields(v);
  v.RectField("dividerrect", dividerrect);
  v.IntegerField("dividerleftoffset", dividerleftoffset, 0);
  v.IntegerField("dividerrightoffset", dividerrightoffset, 0);
  v.IntegerField("itemleftoffset", itemleftoffset, 0);
  v.IntegerField("itemrightoffset", itemrightoffset, 0);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("unenabledfontcolor", unenabledfontcolor, 0);
  v.IntegerField("fontcolor", fontcolor, 0);
  v.IntegerField("activefontcolor", activefontcolor, 0);
  v.RectField("textrect", textrect);
}

void TskDataSkinMainMenuItem::Fields(TskFieldVisitor& v) {
  TskDataSkinObject::Fields(v);
  v.RectField("downrect", downrect);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontcolor", fontcolor, 0);
  v.IntegerField("activefontcolor", activefontcolor, 0);
  v.IntegerField("downfontcolor", downfontcolor, 0);
  v.IntegerField("unenabledfontcolor", unenabledfontColor, 0);
  v.RectField("textrect", textrect);
  v.IntegerField("itemleftoffset", itemleftoffset, 0);
  v.IntegerField("itemrightoffset", itemrightoffset, 0);
}

void TskDataSkinCaption::Fields(TskFieldVisitor& v) {
  TskDataSkinObject::Fields(v);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontcolor", fontcolor, 0);
  v.IntegerField("activefontcolor", activefontcolor, 0);
  v.IntegerField("shadowcolor", shadowcolor, 0);
  v.IntegerField("activeshadowcolor", activeshadowcolor, 0);
  v.BooleanField("shadow", shadow);
  v.AlignmentField("alignment", alignment);
  v.RectField("textrect", textrect);
  v.RectField("framerect", framerect);
  v.RectField("activeframerect", activeframerect);
  v.IntegerField("frameleftoffset", frameleftoffset, 0);
  v.IntegerField("framerightoffset", framerightoffset, 0);
  v.RectField("frametextrect", frametextrect);
}

std::unique_ptr<TskDataSkinObject> CreateSkinObject(std::string_view kind, std::string name) {
  using B = TskDataSkinObject;
  static const TskRecordKind<B> kKinds[] = {
      {"menuitem", MakeRecord<B, TskDataSkinMenuItem>},
      {"mainmenubaritem", MakeRecord<B, TskDataSkinMainMenuBarItem>},
      {"stdbutton", MakeRecord<B, TskDataSkinStdButton>},
      {"mainmenubarbutton", MakeRecord<B, TskDataSkinMainMenuBarButton>},
      {"button", MakeRecord<B, TskDataSkinButton>},
      {"caption", MakeRecord<B, TskDataSkinCaption>},
      {"userobject", MakeRecord<B, TskDataUserObject>},
  };
  return CreateRecord(kKinds, kind, std::move(name));
}

}  // namespace skin
