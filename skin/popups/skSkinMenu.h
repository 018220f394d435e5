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

class TskSkinMenu : public TskComponent, public TskMenuLevelOwner {
 public:
  explicit TskSkinMenu(platform::Window* form);
  ~TskSkinMenu() override;

  platform::Window* NotifyControl = nullptr;
  platform::Window* NotifyForm;
  platform::Timer SubmenuTimer;
  TskSkinMenuItem* PendingItem = nullptr;
  bool IsOpen = false;
  std::vector<std::unique_ptr<TskSkinPopupWindow>> Levels;

  void ShowMenu(platform::Window* control, TskSkinData* skinData, int startIndex, const Rect& rect,
                platform::MenuItem& item, bool popupToUp);
  void CloseAllMenus();
  void CloseLevelsFrom(int n) override;
  int LevelIndex(const TskSkinPopupWindow* window) const override;
  void HandleItem(TskSkinPopupWindow& window, TskSkinMenuItem& item, bool click, bool keyboard) override;
  TskSkinPopupWindow* DeepestLevel() const override { return Levels.empty() ? nullptr : Levels.back().get(); }

 protected:
  void Notification(TskComponent* removed) override;

 private:
  int LevelCount() const override { return int(Levels.size()); }
  TskSkinPopupWindow& Level(int index) const override { return *Levels[std::size_t(index)]; }
  void ForgetPendingItem(const TskSkinMenuItem& item) override {
    if (PendingItem == &item) StopSubmenuTimer();
  }

  void OpenLevel(const Rect& rect, platform::MenuItem& item, int startIndex, bool submenu, bool popupToUp);
  void StopSubmenuTimer();
  void FreeRetired();

  // Closed levels wait here until the message that closed them has returned:
  // a level may close itself from its own key, click or timer handling.
  std::vector<std::unique_ptr<TskSkinPopupWindow>> Retired_;
  platform::Timer ReapTimer_;
  // The level that shows PendingItem.
  TskSkinPopupWindow* PendingLevel_ = nullptr;
};

// Messages on which a skinned form closes its open menus.
bool IsMenuCloseMessage(std::uint32_t message);

}  // namespace skin
