#include "skSkinMenuItem.h"

#include "skMenuParts.h"

namespace skin {

TskSkinMenuItem::TskSkinMenuItem(TskMenuItemOwner& parent, const TskDataSkinMenuItem* skinItem,
                                 platform::MenuItem& item)
    : Parent(parent), SkinItem(skinItem), MenuItem(item) {
  if (skinItem) Picture = menuparts::ValidPicture(parent.ItemsSkinData(), skinItem->activepictureindex);
}

bool TskSkinMenuItem::NeedsMorphStep() {
  if (!Shown) {
    if (MorphFactor != 0) {
      Hot = Opened = false;
      MorphFactor = 0;
    }
    return false;
  }
  const bool s = Hot || Opened;
  return (s && MorphFactor < 1) || (!s && MorphFactor > 0);
}

void TskSkinMenuItem::Refresh() {
  if (SkinItem && SkinItem->morphing) {
    Parent.StartItemMorphing();
    return;
  }
  Parent.RepaintItems();
}

void TskSkinMenuItem::Enter(bool keyboard) {
  Hot = true;
  Parent.ItemEntered(*this, keyboard);
}

void TskSkinMenuItem::Leave() {
  Hot = false;
  if (!Opened) Refresh();
  Parent.ItemLeft(*this);
}

void TskSkinMenuItem::Activate() {
  if (!Opened && MenuItem.Enabled) Parent.ItemChosen(*this);
}

}  // namespace skin
