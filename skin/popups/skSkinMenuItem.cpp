#include "skSkinMenuItem.h"

#include "skMenuParts.h"
#include "skSkinMenu.h"

namespace skin {

TskSkinMenuItem::TskSkinMenuItem(TskSkinPopupWindow& parent, const TskDataSkinMenuItem* skinItem,
                                 platform::MenuItem& item)
    : Parent(parent), SkinItem(skinItem), MenuItem(item) {
  if (skinItem) Picture = menuparts::ValidPicture(parent.SkinData, skinItem->activepictureindex);
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
    Parent.ItemMorphTimer.SetEnabled(true);
    return;
  }
  Parent.Invalidate();
}

void TskSkinMenuItem::Enter(bool keyboard) {
  Hot = true;
  TskSkinMenu& menu = Parent.OwnerMenu;
  for (auto& other : Parent.LevelItems)
    if (other.get() != this && other->Opened) {
      other->Opened = false;
      other->Refresh();
    }
  const int level = menu.LevelIndex(&Parent);
  if (Opened && level + 2 < int(menu.Levels.size())) {
    menu.CloseLevelsFrom(level + 2);
    for (auto& sub : menu.Levels[std::size_t(level + 1)]->LevelItems)
      if (sub->Opened) {
        sub->Opened = false;
        sub->Refresh();
      }
  }
  if (!Opened) {
    Refresh();
    menu.HandleItem(Parent, *this, false, keyboard);
  }
}

void TskSkinMenuItem::Leave() {
  Hot = false;
  if (!Opened) Refresh();
  TskSkinMenu& menu = Parent.OwnerMenu;
  if (menu.PendingItem == this) {
    menu.SubmenuTimer.SetEnabled(false);
    menu.PendingItem = nullptr;
  }
}

void TskSkinMenuItem::Activate() {
  if (!Opened && MenuItem.Enabled) Parent.OwnerMenu.HandleItem(Parent, *this, true, false);
}

}  // namespace skin
