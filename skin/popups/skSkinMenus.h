// Skinned popup menus: the menu controller TskSkinMenu that opens a menu tree
// in windows of its own, the menu levels TskSkinPopupWindow, their displayed
// items TskSkinMenuItem, and the popup menu component TskSkinPopupMenu. With a
// skin the levels and items are drawn from the skin's popup window record and
// its first menu item record; without one in a plain look of system colours.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Font.h"
#include "platform/Menu.h"
#include "platform/Region.h"
#include "platform/Timer.h"
#include "platform/Window.h"
#include "skComponent.h"
#include "skSkinData.h"

namespace skin {

class TskSkinMenu;
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

class TskSkinMenu : public TskComponent {
 public:
  explicit TskSkinMenu(platform::Window* form);
  ~TskSkinMenu() override;

  bool UseItemSkinFont = true;
  bool FirstLevel = false;
  int ItemHeight = 20;
  platform::Font ItemFont{"Arial", 14, 0, 1};
  platform::Window* NotifyControl = nullptr;
  platform::Window* NotifyForm;
  platform::Timer SubmenuTimer;
  TskSkinMenuItem* PendingItem = nullptr;
  Rect WorkArea;
  bool IsOpen = false;
  TskSkinData* SkinData = nullptr;
  std::vector<std::unique_ptr<TskSkinPopupWindow>> Levels;
  bool BlendOn = false;
  std::uint8_t BlendValue = 150;
  bool BlendAnimation = false;

  void ShowMenu(platform::Window* control, TskSkinData* skinData, int startIndex, const Rect& rect,
                platform::MenuItem& item, bool popupToUp);
  void CloseAllMenus();
  void CloseLevelsFrom(int n);
  int LevelIndex(const TskSkinPopupWindow* window) const;
  void HandleItem(TskSkinPopupWindow& window, TskSkinMenuItem& item, bool click, bool keyboard);
  // The deepest open level, or nullptr.
  TskSkinPopupWindow* DeepestLevel() const { return Levels.empty() ? nullptr : Levels.back().get(); }

 protected:
  void Notification(TskComponent* removed) override;

 private:
  void OpenLevel(const Rect& rect, platform::MenuItem& item, int startIndex, bool submenu, bool popupToUp);
  void StopSubmenuTimer();
  void FreeRetired();

  // Closed levels wait here until the message that closed them has returned:
  // a level may close itself from its own key, click or timer handling.
  std::vector<std::unique_ptr<TskSkinPopupWindow>> retired_;
  platform::Timer reapTimer_;
};

// Where a skinned frame keeps its menu controller: TskSkinPopupMenu finds it
// through the form that hosts (or owns) the menu.
class TskSkinMenuHost {
 public:
  virtual ~TskSkinMenuHost() = default;
  virtual TskSkinMenu& SkinMenu() = 0;
  virtual TskSkinData* MenusSkinData() const = 0;
  virtual TskSkinData* SkinData() const = 0;
  // The frame's menu-opening step, run before a popup menu shows.
  virtual void MenuOpening() {}
};
void RegisterMenuHost(platform::Window& form, TskSkinMenuHost* host);
void UnregisterMenuHost(platform::Window& form);
TskSkinMenuHost* FindMenuHost(const platform::Window* form);

class TskSkinPopupMenu : public platform::Menu, public TskComponent {
 public:
  // `ownerForm`: the form that holds the component, or nullptr.
  explicit TskSkinPopupMenu(platform::Window* ownerForm = nullptr) : OwnerForm(ownerForm) {}

  TskSkinData* SkinData() const { return SkinData_; }
  void SetSkinData(TskSkinData* value);
  platform::Window* HostForm = nullptr;
  platform::Window* OwnerForm;
  std::function<void(TskSkinPopupMenu&)> OnPopup;
  // Whether the component the menu is attached to (a tray icon) opens it by
  // itself; off, the menu only opens when the program calls Popup.
  bool AutoPopup = true;
  // The component that opened the menu last.
  TskComponent* PopupComponent = nullptr;

  // Shows the items at a screen point through the host form's SkinMenu.
  void Popup(int x, int y);

 protected:
  void Notification(TskComponent* removed) override;

 private:
  friend void SkinPopupInRect(TskSkinPopupMenu& menu, const Rect& rect, bool popupToUp);
  void PopupAt(const Rect& rect, bool popupToUp);
  TskSkinData* SkinData_ = nullptr;
};

void SkinPopupInRect(TskSkinPopupMenu& menu, const Rect& rect, bool popupToUp);

// Messages on which a skinned form closes its open menus.
bool IsMenuCloseMessage(std::uint32_t message);

}  // namespace skin
