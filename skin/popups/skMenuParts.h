// What a menu level and its painting share: the plain look's sizes and the
// pictures' lookup.
#pragma once
#include "skSkinData.h"

namespace skin::menuparts {

// Height of the band at the top and bottom of a scrolling level where its scroll markers sit.
constexpr int kMarkerBand = 10;
// Plain look: the frame round the items.
constexpr int kPlainInset = 2;
// Plain look without images: the glyph column left of the captions (the
// level's background band also covers the frame).
constexpr int kPlainGlyphColumn = 19;
// The submenu arrow's room right of the captions.
constexpr int kArrowRoom = 19;

// Picture `index` of the skin, or nullptr without a skin or for an index outside the list.
inline const platform::Bitmap* ValidPicture(const TskSkinData* data, int index) {
  return data ? data->GetActivePicture(index) : nullptr;
}

}  // namespace skin::menuparts
