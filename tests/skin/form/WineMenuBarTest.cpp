// Under Wine: the skinned main menu bar as a real child window of a skinned
// form, opening an item's popup on a press and running the keyboard menu mode
// from the system-menu key. Needs an X display (tools/with-xvfb).
#include <gtest/gtest.h>

#include "WineSkinnedForm.h"
#include "platform/Application.h"
#include "platform/Menu.h"
#include "platform/Window.h"
#include "skMainMenuBar.h"
// Last: its macros carry the same names as the frame's message constants.
#include <windows.h>

namespace {

TEST(WineMenuBar, RealBarOpensPopupsAndRunsTheKeyboardMode) {
  platform::Application app;
  formtest::WineSkinnedForm skinned({100, 100, 500, 400});
  platform::Window& form = skinned.form;
  skin::TskSkinData& data = *skinned.data;
  skin::TskSkinForm& skinForm = *skinned.skinForm;
  skin::TskSkinMainMenu menu;
  menu.Items.Add("&File").Add("&Open");
  menu.Items.Add("&Edit").Add("&Copy");
  skin::TskSkinMainMenuBar bar(form);
  bar.SetSkinData(&data);
  bar.SetSkinForm(&skinForm);
  skinForm.SetMainMenuBar(&bar);
  bar.SetMainMenu(&menu);

  // A child window across the top of the client area, as high as the skin's bar.
  HWND hwnd = static_cast<HWND>(bar.NativeHandle());
  ASSERT_NE(hwnd, nullptr);
  EXPECT_EQ(GetParent(hwnd), static_cast<HWND>(form.NativeHandle()));
  RECT r{};
  GetClientRect(hwnd, &r);
  EXPECT_EQ(r.bottom, bar.skinrect.Height());
  RECT client{};
  GetClientRect(static_cast<HWND>(form.NativeHandle()), &client);
  EXPECT_EQ(r.right, client.right);
  ASSERT_EQ(bar.ItemCount(), 2u);

  // A press on File opens its popup below it.
  const platform::Rect item = bar.Item(0)->ObjectRect;
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(item.left + 3, item.top + 3));
  ASSERT_TRUE(skinForm.SkinMenu().IsOpen);
  HWND popup = static_cast<HWND>(skinForm.SkinMenu().Levels.at(0)->NativeHandle());
  EXPECT_TRUE(IsWindowVisible(popup));
  RECT pr{};
  GetWindowRect(popup, &pr);
  POINT below{item.left, item.bottom};
  ClientToScreen(hwnd, &below);
  EXPECT_EQ(pr.top, below.y);
  SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(item.left + 3, item.top + 3));
  skinForm.LeaveMainMenuMode();
  EXPECT_FALSE(skinForm.SkinMenu().IsOpen);

  // The system-menu key starts the keyboard mode; the arrows move along the bar.
  HWND formWnd = static_cast<HWND>(form.NativeHandle());
  EXPECT_EQ(SendMessageW(formWnd, WM_SYSCOMMAND, SC_KEYMENU, 0), 0);
  EXPECT_TRUE(skinForm.MainMenuMode());
  EXPECT_TRUE(bar.Item(0)->Active);
  SendMessageW(formWnd, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_TRUE(bar.Item(1)->Active);
  SendMessageW(formWnd, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(skinForm.SkinMenu().IsOpen);
  SendMessageW(formWnd, WM_KEYDOWN, VK_ESCAPE, 0);
  SendMessageW(formWnd, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(skinForm.MainMenuMode());
  EXPECT_FALSE(skinForm.SkinMenu().IsOpen);
}

}  // namespace
