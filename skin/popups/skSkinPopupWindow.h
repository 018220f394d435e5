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

class TskSkinMenu;

class TskSkinPopupWindow : public platform::Window {
 public:
  TskSkinPopupWindow(TskSkinMenu& owner, const TskDataSkinPopupWindow* record);
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
  TskSkinMenu& OwnerMenu;
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
