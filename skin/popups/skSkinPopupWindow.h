// TskSkinPopupWindow: one open level of a menu tree in a popup window of its
// own. It lays its items out, places itself beside the rectangle it opens
// against, scrolls when it is taller than the work area, and takes the mouse
// and the keys. With a skin it is drawn from the skin's popup window record and
// its first menu item record; without one in a plain look of system colours.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Font.h"
#include "platform/Menu.h"
#include "platform/Timer.h"
#include "platform/Window.h"
#include "skSkinData.h"
#include "skSkinMenuItem.h"

namespace skin {

class TskSkinPopupWindow;

// What a level needs of the menu controller that opened it (a TskSkinMenu): the
// menus' settings, which a level reads as it opens, and the controller's
// handling of its levels and of the items it opens and runs.
class TskMenuLevelOwner {
 public:
  bool UseItemSkinFont = true;
  bool FirstLevel = false;
  int ItemHeight = 20;
  platform::Font ItemFont{"Arial", 14, 0, 1};
  Rect WorkArea;
  TskSkinData* SkinData = nullptr;
  bool BlendOn = false;
  std::uint8_t BlendValue = 150;
  bool BlendAnimation = false;

  virtual int LevelCount() const = 0;
  virtual TskSkinPopupWindow& Level(int index) const = 0;
  // The open level's index, or LevelCount when it is not open.
  virtual int LevelIndex(const TskSkinPopupWindow* window) const = 0;
  // The deepest open level, or nullptr.
  virtual TskSkinPopupWindow* DeepestLevel() const = 0;
  virtual void CloseLevelsFrom(int n) = 0;
  virtual void HandleItem(TskSkinPopupWindow& window, TskSkinMenuItem& item, bool click, bool keyboard) = 0;
  // An item is hot no more: a submenu it was about to open opens no more either.
  virtual void ForgetPendingItem(const TskSkinMenuItem& item) = 0;

 protected:
  ~TskMenuLevelOwner() = default;
};

class TskSkinPopupWindow : public platform::Window, public TskMenuItemOwner {
 public:
  TskSkinPopupWindow(TskMenuLevelOwner& owner, const TskDataSkinPopupWindow* record);
  ~TskSkinPopupWindow() override;

  const TskDataSkinMenuItem* SkinItem = nullptr;
  int ShownCount = 0;
  int TopIndex = 0;
  bool Scrolling = false;
  int ScrollDir = 0;  // 0 none, 1 up, 2 down
  Point LTPoint, RTPoint, LBPoint, RBPoint;
  Rect ItemsArea;
  Point ShowPos;
  Point LastMouse{-1, -1};
  const platform::ImageList* Images = nullptr;
  int GlyphColumn = 0;
  const platform::Bitmap* FramePicture = nullptr;
  const platform::Bitmap* FrameMask = nullptr;
  int PrevHotIndex = -1;
  platform::Timer TrackTimer;
  platform::Timer ItemMorphTimer;
  TskMenuLevelOwner& OwnerMenu;
  TskSkinData* SkinData;
  const TskDataSkinPopupWindow* PopupRecord = nullptr;
  std::vector<std::unique_ptr<TskSkinMenuItem>> LevelItems;
  int HotIndex = -1;

  // The canvas font of the items.
  platform::Font ItemCanvasFont;

  bool Skinned() const { return PopupRecord != nullptr; }
  void Display(const Rect& rect, platform::MenuItem& item, int startIndex, bool submenu, bool popupToUp);
  void HandleKey(std::uint32_t key);
  void HoverAt(int x, int y);
  // One tick of mouse tracking; the timer calls it every 50 ms.
  void TrackMouse();
  // Stops every timer of a level that is closing.
  void StopTimers();

  int ItemHeight(const platform::MenuItem& item) const;
  bool CanScrollUp() const { return TopIndex > 0; }
  bool CanScrollDown() const { return TopIndex + ShownCount - 1 < int(LevelItems.size()) - 1; }
  void ScrollUpOne(bool wrap);
  void ScrollDownOne(bool wrap);
  Rect UpMarkerRect() const;
  Rect DownMarkerRect() const;

 protected:
  void WndProc(platform::Message& message) override;

 private:
  // The items' owner.
  TskSkinData* ItemsSkinData() const override { return SkinData; }
  const platform::ImageList* ItemImages() const override { return Images; }
  int ItemGlyphColumn() const override { return GlyphColumn; }
  const platform::Font& ItemsFont() const override { return ItemCanvasFont; }
  void StartItemMorphing() override { ItemMorphTimer.SetEnabled(true); }
  void RepaintItems() override { Invalidate(); }
  void ItemEntered(TskSkinMenuItem& item, bool keyboard) override;
  void ItemLeft(TskSkinMenuItem& item) override { OwnerMenu.ForgetPendingItem(item); }
  void ItemChosen(TskSkinMenuItem& item) override { OwnerMenu.HandleItem(*this, item, true, false); }

  void LoadItems(platform::MenuItem& item, int startIndex);
  void SizeWindow();
  void ArrangeItems();
  void Place(const Rect& r, bool submenu, bool popupToUp);
  int LastPageIndex() const;
  void StartScroll();
  void StopScroll();
  void ScrollTick();
  void MorphTick();
  void NextItem();
  void PrevItem();
  void ClickAt(int x, int y);
  void PaintLevel(platform::Bitmap& canvas) const;

  platform::Timer ScrollTimer;  // automatic scrolling, every 100 ms
  platform::Point size_;
};

}  // namespace skin
