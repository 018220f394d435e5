// TskSkinMenuItem: one item of an open menu level, as the level shows it: its
// rectangle, its hot and opened state and its morph towards the active look.
#pragma once
#include "platform/Bitmap.h"
#include "platform/Menu.h"
#include "skSkinData.h"

namespace skin {

class TskSkinPopupWindow;

class TskSkinMenuItem {
 public:
  TskSkinMenuItem(TskSkinPopupWindow& parent, const TskDataSkinMenuItem* skinItem, platform::MenuItem& item);
  virtual ~TskSkinMenuItem() = default;
  TskSkinMenuItem(const TskSkinMenuItem&) = delete;
  TskSkinMenuItem& operator=(const TskSkinMenuItem&) = delete;

  TskSkinPopupWindow& Parent;
  const TskDataSkinMenuItem* SkinItem;
  const platform::Bitmap* Picture = nullptr;
  double MorphFactor = 0;
  platform::MenuItem& MenuItem;
  Rect ItemRect;
  bool Hot = false;
  bool Opened = false;
  bool Shown = true;

  // Whether the next morph tick moves this item towards its current look.
  virtual bool NeedsMorphStep();

  bool Active() const { return Hot || Opened; }
  void Enter(bool keyboard);
  void Leave();
  void Activate();
  // Repaints at once, or starts the level's morphing.
  void Refresh();
  // The item at its rectangle on a canvas of the level's size.
  void Paint(platform::Bitmap& canvas) const;

 private:
  void PaintSkinLook(platform::Bitmap& out, bool active) const;
  void PaintPlain(platform::Bitmap& out) const;
};

}  // namespace skin
