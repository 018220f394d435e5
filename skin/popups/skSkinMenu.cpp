#include "skSkinMenu.h"

#include <algorithm>

#include "platform/Input.h"

namespace skin {

namespace {
constexpr std::uint32_t kSubmenuDelayMs = 500;
}  // namespace

TskSkinMenu::TskSkinMenu(platform::Window* form) : NotifyForm(form) {
  SubmenuTimer.SetEnabled(false);
  SubmenuTimer.SetInterval(kSubmenuDelayMs);
  SubmenuTimer.SetOnTimer([this] {
    SubmenuTimer.SetEnabled(false);
    if (TskSkinMenuItem* item = PendingItem) HandleItem(*PendingLevel_, *item, true, false);
  });
  ReapTimer_.SetEnabled(false);
  ReapTimer_.SetInterval(1);
  ReapTimer_.SetOnTimer([this] { FreeRetired(); });
}

TskSkinMenu::~TskSkinMenu() {
  CloseLevelsFrom(0);
  Retired_.clear();
}

void TskSkinMenu::FreeRetired() {
  ReapTimer_.SetEnabled(false);
  Retired_.clear();
}

void TskSkinMenu::StopSubmenuTimer() {
  SubmenuTimer.SetEnabled(false);
  PendingItem = nullptr;
  PendingLevel_ = nullptr;
}

void TskSkinMenu::ShowMenu(platform::Window* control, TskSkinData* skinData, int startIndex, const Rect& rect,
                           platform::MenuItem& item, bool popupToUp) {
  FirstLevel = !IsOpen;
  // The menu being replaced tells the control that opened it; the new control
  // is kept for the new menu's own closing.
  if (!Levels.empty()) CloseLevelsFrom(0);
  NotifyControl = control;
  WorkArea = platform::WorkArea();
  if (SkinData != skinData && skinData) FreeNotification(skinData);
  SkinData = skinData;
  if (item.Count() > 0) {
    IsOpen = true;
    OpenLevel(rect, item, startIndex, false, popupToUp);
    FirstLevel = false;
  }
}

void TskSkinMenu::OpenLevel(const Rect& rect, platform::MenuItem& item, int startIndex, bool submenu,
                            bool popupToUp) {
  const TskDataSkinPopupWindow* record = SkinData && !SkinData->Empty ? &SkinData->PopupWindow : nullptr;
  Levels.push_back(std::make_unique<TskSkinPopupWindow>(*this, record));
  Levels.back()->Display(rect, item, startIndex, submenu, popupToUp);
}

void TskSkinMenu::CloseLevelsFrom(int n) {
  n = std::max(n, 0);
  while (int(Levels.size()) > n) {
    std::unique_ptr<TskSkinPopupWindow> level = std::move(Levels.back());
    Levels.pop_back();
    if (PendingItem && PendingLevel_ == level.get()) StopSubmenuTimer();
    level->StopTimers();
    level->Hide();
    Retired_.push_back(std::move(level));
    ReapTimer_.SetEnabled(true);
  }
  if (n == 0) {
    IsOpen = false;
    SubmenuTimer.SetEnabled(false);
    if (platform::Window* control = NotifyControl) {
      NotifyControl = nullptr;
      control->Perform(SKM_SKINMENUCLOSED, 0, 0);
    }
  }
}

void TskSkinMenu::CloseAllMenus() {
  CloseLevelsFrom(0);
  StopSubmenuTimer();
  if (NotifyForm) NotifyForm->Perform(SKM_SKINMENUCLOSED, 0, 0);
}

int TskSkinMenu::LevelIndex(const TskSkinPopupWindow* window) const {
  for (std::size_t i = 0; i < Levels.size(); ++i)
    if (Levels[i].get() == window) return int(i);
  return int(Levels.size());
}

void TskSkinMenu::HandleItem(TskSkinPopupWindow& window, TskSkinMenuItem& item, bool click, bool keyboard) {
  platform::MenuItem& m = item.MenuItem;
  const bool children = m.Count() > 0;
  const auto dispatch = [&m] {
    if (platform::Menu* menu = m.GetParentMenu()) menu->DispatchCommand(m);
    else m.Click();
  };
  if (!children && !click) {
    StopSubmenuTimer();
    CloseLevelsFrom(LevelIndex(&window) + 1);
  } else if (!children) {
    StopSubmenuTimer();
    CloseAllMenus();
    dispatch();
  } else if (!click && !keyboard) {
    StopSubmenuTimer();
    CloseLevelsFrom(LevelIndex(&window) + 1);
    PendingItem = &item;
    PendingLevel_ = &window;
    SubmenuTimer.SetEnabled(true);
  } else if (click) {
    dispatch();
    StopSubmenuTimer();
    item.Opened = true;
    const platform::Point origin = window.ClientToScreen({0, 0});
    Rect r = item.ItemRect;
    r = {r.left + origin.x, r.top + origin.y, r.right + origin.x, r.bottom + origin.y};
    OpenLevel(r, m, 0, true, false);
  }
}

void TskSkinMenu::Notification(TskComponent* removed) {
  if (removed == SkinData) {
    CloseLevelsFrom(0);
    SkinData = nullptr;
  }
}

bool IsMenuCloseMessage(std::uint32_t message) {
  switch (message) {
    case msg::kMove: case msg::kSize: case msg::kActivate: case msg::kKillFocus: case msg::kCancelMode:
    case msg::kMouseActivate: case msg::kNCLButtonDown: case msg::kNCRButtonDown: case msg::kNCMButtonDown:
    case msg::kLButtonDown: case msg::kRButtonDown: case msg::kMButtonDown: case msg::kParentNotify:
      return true;
    default:
      return false;
  }
}

}  // namespace skin
