// The tray icon through the headless notification area: what the shell is
// told, click and double-click timing, the menu, cycling and a taskbar restart.
#include <gtest/gtest.h>

#include <string>

#include "platform/Application.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "platform/headless/Driver.h"
#include "skTrayIcon.h"

namespace popuptest {
namespace {

namespace headless = platform::headless;
using Op = headless::TrayRequest::Op;
using platform::Bitmap;

// A form hosting a menu controller, so that the tray's popup menu can open.
class TrayFixture : public testing::Test, public skin::TskSkinMenuHost {
 protected:
  TrayFixture() {
    headless::Reset();
    headless::SetEcho(false);
    headless::UseVirtualClock(true);
    form.Show();
    skin::RegisterMenuHost(form, this);
    tray.OnClick = [this](skin::TskTrayIcon&) { ++clicks; };
    tray.OnDblClick = [this](skin::TskTrayIcon&) { ++dblClicks; };
  }
  ~TrayFixture() override {
    skin::UnregisterMenuHost(form);
    headless::UseVirtualClock(false);
  }
  skin::TskSkinMenu& SkinMenu() override { return menuController; }
  skin::TskSkinData* MenusSkinData() const override { return nullptr; }
  skin::TskSkinData* SkinData() const override { return nullptr; }

  int Count(Op op) const {
    int n = 0;
    for (const auto& r : headless::TrayRequests()) n += r.op == op;
    return n;
  }

  platform::Window form;
  skin::TskSkinMenu menuController{&form};
  skin::TskTrayIcon tray{&form};
  int clicks = 0, dblClicks = 0;
};

TEST_F(TrayFixture, ShowingAndHidingTellsTheShellAndTheDefaultIconIsTheApplications) {
  EXPECT_FALSE(tray.IconVisible());
  EXPECT_EQ(tray.Icon(), platform::ApplicationIcon());
  tray.SetHint("Tarnwick");
  tray.SetIconVisible(true);
  EXPECT_TRUE(tray.IconVisible());
  EXPECT_EQ(headless::TrayIconsShown(), 1);
  ASSERT_EQ(headless::TrayRequests().back().op, Op::Add);
  EXPECT_EQ(headless::TrayRequests().back().tip, "Tarnwick");
  tray.SetShowHint(false);
  EXPECT_EQ(headless::TrayRequests().back().op, Op::Modify);
  EXPECT_EQ(headless::TrayRequests().back().tip, "");
  tray.SetIconVisible(false);
  EXPECT_FALSE(tray.IconVisible());
  EXPECT_EQ(headless::TrayIconsShown(), 0);
}

TEST_F(TrayFixture, DestroyingTheComponentTakesTheIconAway) {
  {
    skin::TskTrayIcon other(&form);
    other.SetIconVisible(true);
    EXPECT_EQ(headless::TrayIconsShown(), 1);
  }
  EXPECT_EQ(headless::TrayRequests().back().op, Op::Delete);
  EXPECT_EQ(headless::TrayIconsShown(), 0);
}

TEST_F(TrayFixture, LongHintsAreCutTo127CharactersWithoutSplittingOne) {
  tray.SetHint(std::string(200, 'a'));
  tray.SetIconVisible(true);
  EXPECT_EQ(headless::TrayRequests().back().tip, std::string(127, 'a'));
  std::string wide;
  for (int i = 0; i < 130; ++i) wide += "物";
  tray.SetHint(wide);
  std::string expected;
  for (int i = 0; i < 127; ++i) expected += "物";
  EXPECT_EQ(headless::TrayRequests().back().tip, expected);
}

TEST_F(TrayFixture, TaskbarRestartBringsBackOnlyAVisibleIcon) {
  headless::RestartTaskbar();
  EXPECT_EQ(headless::TrayIconsShown(), 0) << "a hidden icon stays hidden";
  EXPECT_EQ(Count(Op::Add), 0);
  tray.SetIconVisible(true);
  headless::RestartTaskbar();
  EXPECT_EQ(headless::TrayIconsShown(), 1);
  EXPECT_EQ(Count(Op::Add), 2);
}

TEST_F(TrayFixture, ASingleClickFiresOnceTheDoubleClickTimeHasPassed) {
  const std::uint32_t dbl = platform::DoubleClickTime();
  // Released at once: the click waits for the timer.
  headless::SendTrayMouse(platform::msg::kLButtonDown);
  headless::SendTrayMouse(platform::msg::kLButtonUp);
  EXPECT_EQ(clicks, 0);
  headless::AdvanceTime(dbl - 1);
  EXPECT_EQ(clicks, 0);
  headless::AdvanceTime(1);
  EXPECT_EQ(clicks, 1);
  // Held past the double-click time: the click comes with the release.
  headless::SendTrayMouse(platform::msg::kLButtonDown);
  headless::AdvanceTime(dbl + 100);
  EXPECT_EQ(clicks, 1);
  headless::SendTrayMouse(platform::msg::kLButtonUp);
  EXPECT_EQ(clicks, 2);
  headless::AdvanceTime(dbl);
  EXPECT_EQ(clicks, 2);
}

TEST_F(TrayFixture, AQuickDoubleClickGivesOnlyTheDoubleClick) {
  headless::SendTrayMouse(platform::msg::kLButtonDown);
  headless::SendTrayMouse(platform::msg::kLButtonUp);
  headless::SendTrayMouse(platform::msg::kLButtonDblClk);
  headless::SendTrayMouse(platform::msg::kLButtonUp);
  headless::AdvanceTime(2 * platform::DoubleClickTime());
  EXPECT_EQ(dblClicks, 1);
  EXPECT_EQ(clicks, 0);
}

TEST_F(TrayFixture, MouseEventsCarryButtonShiftAndTheCursor) {
  headless::MouseAt({30, 40});
  headless::SetKeyboardShiftState(platform::shiftstate::kCtrl);
  std::vector<std::tuple<skin::TMouseButton, skin::TShiftState, int, int>> downs;
  tray.OnMouseDown = [&](skin::TskTrayIcon&, skin::TMouseButton b, skin::TShiftState s, int x, int y) {
    downs.emplace_back(b, s, x, y);
  };
  headless::SendTrayMouse(platform::msg::kMButtonDown);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0], std::make_tuple(skin::TMouseButton::mbMiddle,
                                      skin::TShiftState(platform::shiftstate::kCtrl | platform::shiftstate::kMiddle), 30, 40));
  tray.Enabled = false;
  headless::SendTrayMouse(platform::msg::kMButtonDown);
  EXPECT_EQ(downs.size(), 1u) << "a disabled icon ignores the mouse";
}

TEST_F(TrayFixture, RightButtonOpensThePopupMenuAtTheCursorAndDoubleClickRunsTheDefaultItem) {
  skin::TskSkinPopupMenu menu(&form);
  int opens = 0, defaults = 0;
  menu.Items.Add("&Show");
  menu.Items.Add("&Restore", [&](platform::MenuItem&) { ++defaults; }).Default = true;
  menu.OnPopup = [&](skin::TskSkinPopupMenu&) { ++opens; };
  tray.SetPopupMenu(&menu);
  headless::MouseAt({200, 150});
  headless::SendTrayMouse(platform::msg::kRButtonDown);
  EXPECT_EQ(opens, 1);
  ASSERT_EQ(menuController.Levels.size(), 1u);
  EXPECT_EQ(menuController.Levels[0]->BoundsRect().left, 200);
  menuController.CloseAllMenus();
  headless::SendTrayMouse(platform::msg::kLButtonDblClk);
  EXPECT_EQ(defaults, 1);
  EXPECT_EQ(opens, 1) << "the left button opens the menu only with PopupByLeftButton";
  tray.PopupByLeftButton = true;
  headless::SendTrayMouse(platform::msg::kLButtonDown);
  EXPECT_EQ(opens, 2);
  menuController.CloseAllMenus();
}

TEST_F(TrayFixture, AMenuWithoutAutoPopupStaysShutAndKeepsItsDefaultItem) {
  skin::TskSkinPopupMenu menu(&form);
  int opens = 0, defaults = 0;
  menu.Items.Add("&Restore", [&](platform::MenuItem&) { ++defaults; }).Default = true;
  menu.OnPopup = [&](skin::TskSkinPopupMenu&) { ++opens; };
  menu.AutoPopup = false;
  tray.SetPopupMenu(&menu);
  headless::SendTrayMouse(platform::msg::kRButtonDown);
  headless::SendTrayMouse(platform::msg::kLButtonDblClk);
  EXPECT_EQ(opens, 0);
  EXPECT_EQ(defaults, 0);
  EXPECT_EQ(menu.PopupComponent, nullptr);
  menu.AutoPopup = true;
  headless::SendTrayMouse(platform::msg::kRButtonDown);
  EXPECT_EQ(opens, 1);
  EXPECT_EQ(menu.PopupComponent, &tray) << "the menu knows who opened it";
  EXPECT_EQ(headless::ForegroundWindow(), &form) << "the owner comes forward with its menu";
  menuController.CloseAllMenus();
}

// The owner's focused control gets the focus back when the owner is activated
// again, unless the activation comes from that control's parent.
TEST_F(TrayFixture, ReactivatingTheOwnerGivesTheFocusBackToItsControl) {
  constexpr std::uintptr_t kActive = 1;
  platform::Window panel(form), edit(panel), other;
  edit.TakeFocus();
  form.Perform(platform::msg::kActivate, platform::msg::kInactive, 0);
  other.TakeFocus();  // the user works elsewhere meanwhile
  form.Perform(platform::msg::kActivate, kActive, 0);
  EXPECT_EQ(platform::FocusedWindow(), &edit);
  other.TakeFocus();
  form.Perform(platform::msg::kActivate, kActive, reinterpret_cast<std::intptr_t>(panel.NativeHandle()));
  EXPECT_EQ(platform::FocusedWindow(), &other) << "activated from the control's own parent";
  // A control that has gone is never touched.
  {
    platform::Window gone(form);
    gone.TakeFocus();
    form.Perform(platform::msg::kActivate, platform::msg::kInactive, 0);
  }
  other.TakeFocus();
  form.Perform(platform::msg::kActivate, kActive, 0);
  EXPECT_EQ(platform::FocusedWindow(), &other);
}

// Shown by the program while hidden in the tray: the application comes back and
// the owner to the front; shown because its own owner appeared (lParam set), nothing.
TEST_F(TrayFixture, ShowingTheOwnerRestoresTheApplicationAndBringsItForward) {
  platform::Application app;
  platform::Window mainForm;
  mainForm.Show();
  skin::TskTrayIcon own(&mainForm);
  app.Minimize();
  app.HideTaskButton();
  constexpr std::intptr_t kParentOpening = 3;  // SW_PARENTOPENING
  mainForm.Perform(platform::msg::kShowWindow, 1, kParentOpening);
  EXPECT_TRUE(app.Minimized());
  EXPECT_NE(headless::ForegroundWindow(), &mainForm);
  mainForm.Perform(platform::msg::kShowWindow, 1, 0);
  EXPECT_FALSE(app.Minimized());
  EXPECT_TRUE(app.TaskButtonVisible());
  EXPECT_EQ(headless::ForegroundWindow(), &mainForm);
}

TEST_F(TrayFixture, ARemovedPopupMenuIsForgotten) {
  {
    skin::TskSkinPopupMenu menu(&form);
    tray.SetPopupMenu(&menu);
  }
  EXPECT_EQ(tray.PopupMenu(), nullptr);
  headless::SendTrayMouse(platform::msg::kRButtonDown);  // must not touch the dead menu
}

TEST_F(TrayFixture, IconIndexFollowsTheListAndCyclingWrapsRound) {
  const skin::TskTrayIconList icons = {Bitmap(16, 16, 1), Bitmap(16, 16, 2), Bitmap(16, 16, 3)};
  tray.SetIconIndex(5);
  EXPECT_EQ(tray.IconIndex(), 0) << "no list: the index stays 0";
  tray.SetIconList(&icons);
  tray.SetIconIndex(7);
  EXPECT_EQ(tray.IconIndex(), 2);
  EXPECT_EQ(tray.Icon(), icons[2]);

  std::vector<int> next;
  tray.OnCycle = [&](skin::TskTrayIcon&, int n) { next.push_back(n); };
  tray.SetIconVisible(true);
  tray.SetCycleIcons(true);
  EXPECT_EQ(tray.IconIndex(), 0);
  headless::AdvanceTime(1000);
  EXPECT_TRUE(next.empty()) << "no interval, no cycling";
  tray.SetAnimateTimerInterval(100);
  headless::AdvanceTime(300);
  EXPECT_EQ(next, (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(tray.IconIndex(), 0);
  EXPECT_EQ(headless::TrayRequests().back().icon, icons[0]);
}

TEST_F(TrayFixture, MinimizeToTrayHidesTheMainFormAndShowsTheIcon) {
  platform::Application app;
  platform::Window mainForm;
  mainForm.Show();
  skin::TskTrayIcon own(&mainForm);
  own.MinimizeToTray = true;
  app.Minimize();
  EXPECT_FALSE(mainForm.Visible());
  EXPECT_FALSE(app.TaskButtonVisible());
  EXPECT_TRUE(own.IconVisible());
  own.RestoreMainForm();
  EXPECT_TRUE(mainForm.Visible());
  EXPECT_FALSE(app.Minimized());
  EXPECT_TRUE(app.TaskButtonVisible());
}

TEST_F(TrayFixture, MinimizedOnStartHidesTheOwnerWhenLoaded) {
  form.Show();
  tray.MinimizedOnStart = true;
  tray.SetIconVisible(true);
  tray.Loaded();
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(headless::TrayIconsShown(), 1);
}

}  // namespace
}  // namespace popuptest
