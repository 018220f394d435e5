// TskSkinMenuItem: one item of an open menu level, as the level shows it: its
// rectangle, its hot and opened state and its morph towards the active look.
#pragma once
#include "platform/Bitmap.h"
#include "platform/Font.h"
#include "platform/Menu.h"
#include "skSkinData.h"

namespace skin {

class TskSkinMenuItem;

// What an item needs of the level that shows it (a TskSkinPopupWindow): the
// level's skin, images, glyph column and font, its repaint and morph steps, and
// its handling of an item that becomes hot, stops being hot or is chosen.
class TskMenuItemOwner {
 public:
  virtual TskSkinData* ItemsSkinData() const = 0;
  virtual const platform::ImageList* ItemImages() const = 0;
  virtual int ItemGlyphColumn() const = 0;
  virtual const platform::Font& ItemsFont() const = 0;
  virtual void StartItemMorphing() = 0;
  virtual void RepaintItems() = 0;
  virtual void ItemEntered(TskSkinMenuItem& item, bool keyboard) = 0;
  virtual void ItemLeft(TskSkinMenuItem& item) = 0;
  virtual void ItemChosen(TskSkinMenuItem& item) = 0;

 protected:
  ~TskMenuItemOwner() = default;
};

class TskSkinMenuItem {
 public:
  TskSkinMenuItem(TskMenuItemOwner& parent, const TskDataSkinMenuItem* skinItem, platform::MenuItem& item);
  virtual ~TskSkinMenuItem() = default;
  TskSkinMenuItem(const TskSkinMenuItem&) = delete;
  TskSkinMenuItem& operator=(const TskSkinMenuItem&) = delete;

  TskMenuItemOwner& Parent;
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
