#include "skWindowRecords.h"

namespace skin {

void TskDataSkinPopupWindow::LoadFromIni(const TskIniFile& ini) {
  TskIniLoader loader(ini, kSection);
  Fields(loader);
}

void TskDataSkinPopupWindow::SaveToIni(TskIniFile& ini) {
  TskIniSaver saver(ini, kSection);
  Fields(saver);
}

void TskDataSkinPopupWindow::Fields(TskFieldVisitor& v) {
  v.IntegerField("windowpictureindex", windowpictureindex, kNoPicture);
  v.IntegerField("maskpictureindex", maskpictureindex, kNoPicture);
  v.PointField("lefttoppoint", lefttoppoint);
  v.PointField("righttoppoint", righttoppoint);
  v.PointField("leftbottompoint", leftbottompoint);
  v.PointField("rightbottompoint", rightbottompoint);
  v.RectField("itemsrect", itemsrect);
  v.IntegerField("scrollmarkercolor", scrollmarkercolor, 0);
  v.IntegerField("scrollmarkeractivecolor", scrollmarkeractivecolor, 0);
}

void TskDataSkinHintWindow::LoadFromIni(const TskIniFile& ini) {
  TskIniLoader loader(ini, kSection);
  Fields(loader);
}

void TskDataSkinHintWindow::SaveToIni(TskIniFile& ini) {
  TskIniSaver saver(ini, kSection);
  Fields(saver);
}

void TskDataSkinHintWindow::Fields(TskFieldVisitor& v) {
  v.IntegerField("windowpictureindex", windowpictureindex, kNoPicture);
  v.IntegerField("maskpictureindex", maskpictureindex, kNoPicture);
  v.PointField("lefttoppoint", lefttoppoint);
  v.PointField("righttoppoint", righttoppoint);
  v.PointField("leftbottompoint", leftbottompoint);
  v.PointField("rightbottompoint", rightbottompoint);
  v.RectField("clientrect", clientrect);
  v.TextField("fontname", fontname, kDefaultFontName);
  v.FontStyleField("fontstyle", fontstyle);
  v.IntegerField("fontheight", fontheight, kDefaultFontHeight);
  v.IntegerField("fontcolor", fontcolor, 0);
}

}  // namespace skin
