// The generated sample skin, loaded into a TskSkinData.
#pragma once
#include "SkinGenerator.h"
#include "TempDir.h"
#include "skSkinData.h"

namespace popuptest {

struct LoadedSkin {
  LoadedSkin() {
    stored.LoadFromSkinFile(skingen::GenerateSkinFolder(dir.File("skin")));
    data.LoadFromStoredSkin(stored);
  }
  skin::TskDataSkinMenuItem& MenuItemRecord() {
    for (auto& o : data.SkinObjects)
      if (auto* r = dynamic_cast<skin::TskDataSkinMenuItem*>(o.get())) return *r;
    throw std::runtime_error("the sample skin has no menu item record");
  }
  const platform::Bitmap& Picture(int index) { return *data.GetActivePicture(index); }

  testing_support::TempDir dir;
  skin::TskStoredSkin stored;
  skin::TskSkinData data;
};

}  // namespace popuptest
