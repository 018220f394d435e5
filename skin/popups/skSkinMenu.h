// TskSkinMenu: the menu controller that opens a menu tree in popup windows of
// its own, one TskSkinPopupWindow per level, opens submenus after a delay,
// runs the items' commands and tells the control and the form that opened the
// menus when they close (SKM_SKINMENUCLOSED).
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Font.h"
#include "platform/Menu.h"
#include "platform/Timer.h"
#include "platform/Window.h"
#include "skComponent.h"
#include "skSkinData.h"
#include "skSkinPopupWindow.h"

namespace skin {

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

// Messages on which a skinned form closes its open menus.
bool IsMenuCloseMessage(std::uint32_t message);

}  // namespace skin
