// The popup menu window and hint window records, each loaded from its fixed section.
#pragma once
#include <string>

#include "skDataRecord.h"

namespace skin {

class TskDataSkinPopupWindow final : public TskDataSkinWindowRecord {
 public:
  static constexpr const char* kSection = "POPUPWINDOW";
  TskDataSkinPopupWindow() : TskDataSkinWindowRecord(kSection) {}

  Rect itemsrect;
  Colour scrollmarkercolor = 0;
  Colour scrollmarkeractivecolor = 0;

 private:
  void Fields(TskFieldVisitor& v) override;
};

class TskDataSkinHintWindow final : public TskDataSkinWindowRecord, public TskFontKeys {
 public:
  static constexpr const char* kSection = "HINTWINDOW";
  TskDataSkinHintWindow() : TskDataSkinWindowRecord(kSection) {}

  Rect clientrect;

 private:
  void Fields(TskFieldVisitor& v) override;
};

}  // namespace skin
