#include "skDataRecord.h"

namespace skin {

void TskDataSkinRecord::LoadFromIni(const TskIniFile& ini) {
  TskIniLoader loader(ini, IDName);
  Fields(loader);
}

void TskDataSkinRecord::SaveToIni(TskIniFile& ini) {
  ini.EraseSection(IDName);
  TskIniSaver saver(ini, IDName);
  Fields(saver);
}

void TskDataSkinWindowRecord::LoadFromIni(const TskIniFile& ini) {
  TskIniLoader loader(ini, section_);
  Fields(loader);
}

void TskDataSkinWindowRecord::SaveToIni(TskIniFile& ini) {
  TskIniSaver saver(ini, section_);
  Fields(saver);
}

void TskDataSkinWindowRecord::Fields(TskFieldVisitor& v) {
  v.IntegerField("windowpictureindex", windowpictureindex, kNoPicture);
  v.IntegerField("maskpictureindex", maskpictureindex, kNoPicture);
  v.PointField("lefttoppoint", lefttoppoint);
  v.PointField("righttoppoint", righttoppoint);
  v.PointField("leftbottompoint", leftbottompoint);
  v.PointField("rightbottompoint", rightbottompoint);
}

}  // namespace skin
