// A headless desktop with a form, a menu controller and a small menu tree, for
// the popup tests; the clock is virtual so that the menu timers fire on demand.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "platform/Input.h"
#include "platform/Menu.h"
#include "platform/Window.h"
#include "platform/headless/Driver.h"
#include "skSkinMenus.h"

namespace popuptest {

namespace headless = platform::headless;

class MenuFixture : public testing::Test {
 protected:
  MenuFixture() {
    headless::Reset();
    headless::SetEcho(false);
    headless::UseVirtualClock(true);
    headless::SetDesktopSize(800, 600);
    form.SetBorderStyle(platform::BorderStyle::None);
    form.SetPosition(0, 0);
    form.SetClientSize(800, 600);
    form.Show();
    form.AddMessageHook([this](platform::Window&, platform::Message& m) {
      if (m.msg == skin::SKM_SKINMENUCLOSED) ++formClosedNotices;
      // What a skinned frame does with the messages that close menus.
      if (skin::IsMenuCloseMessage(m.msg)) menu.CloseAllMenus();
      return false;
    });
    Build();
  }
  ~MenuFixture() override { headless::UseVirtualClock(false); }

  // Open, Save, a divider, Recent (with One and Two), a disabled Print, Exit.
  void Build() {
    Add(tree.Items, "&Open").ShortCut = "Ctrl+O";
    Add(tree.Items, "&Save");
    tree.Items.Add("-");
    platform::MenuItem& recent = Add(tree.Items, "&Recent");
    Add(recent, "&One");
    Add(recent, "&Two");
    Add(tree.Items, "&Print").Enabled = false;
    Add(tree.Items, "E&xit");
  }

  platform::MenuItem& Add(platform::MenuItem& parent, const std::string& caption) {
    return parent.Add(caption, [this, caption](platform::MenuItem&) {
      ++clicks[caption];
      if (menu.IsOpen || !menu.Levels.empty()) openAtClick.insert(caption);
    });
  }

  void Open(int x = 100, int y = 100) { menu.ShowMenu(nullptr, nullptr, 0, {x, y, x, y}, tree.Items, false); }

  skin::TskSkinPopupWindow& Level(std::size_t i) { return *menu.Levels.at(i); }
  // Screen point in the middle of an item of a level.
  platform::Point ItemCentre(std::size_t level, int index) {
    skin::TskSkinPopupWindow& l = Level(level);
    const Rect r = l.LevelItems.at(std::size_t(index))->ItemRect;
    return l.ClientToScreen({r.left + r.Width() / 2, r.top + r.Height() / 2});
  }
  // Moves the mouse and lets the 50 ms tracking timer see it.
  void HoverOn(platform::Point p) {
    headless::MouseAt(p);
    headless::AdvanceTime(50);
  }
  void Key(std::uint32_t vk) { headless::PressKey(*menu.DeepestLevel(), vk); }
  int VisiblePopups() {
    int n = 0;
    for (platform::Window* w : headless::VisibleWindows()) n += w->Kind() == platform::WindowKind::Popup;
    return n;
  }

  using Rect = platform::Rect;
  platform::Window form;
  skin::TskSkinMenu menu{&form};
  platform::Menu tree;
  std::map<std::string, int> clicks;
  std::set<std::string> openAtClick;
  int formClosedNotices = 0;
};

}  // namespace popuptest
