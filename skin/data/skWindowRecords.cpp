#include "skWindowRecords.h"

namespace skin {

void TskDataSkinPopupWindow::Fields(TskFieldVisitor& v) {
  TskDataSkinWindowRecord::Fields(v);
  v.RectField("itemsrect", itemsrect);
  v.IntegerField("scrollmarkercolor", scrollmarkercolor, 0);
  v.IntegerField("scrollmarkeractivecolor", scrollmarkeractivecolor, 0);
}

void TskDataSkinHintWindow::Fields(TskFieldVisitor& v) {
  TskDataSkinWindowRecord::Fields(v);
  v.RectField("clientrect", clientrect);
  v.FontFields(*this);
}

}  // namespace skin
