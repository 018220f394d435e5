// Under Wine: a skinned menu level is a real topmost popup window that shows
// without taking the focus, paints its frame, and goes away on Escape.
#include <windows.h>

#include <gtest/gtest.h>

#include "SampleSkin.h"
#include "platform/Application.h"
#include "platform/Font.h"
#include "platform/Window.h"
#include "skSkinHint.h"
#include "skSkinMenus.h"

namespace popuptest {
namespace {

// Lets the message loop run until `done` or about two seconds have passed.
template <typename F>
bool PumpUntil(F done) {
  for (int i = 0; i < 200 && !done(); ++i) {
    platform::Application::ProcessMessages();
    Sleep(10);
  }
  return done();
}

TEST(WinePopup, ASkinnedLevelOpensAsATopmostPopupAndEscapeClosesIt) {
  platform::Application app;
  platform::Window form;
  form.SetClientSize(300, 200);
  form.Show();
  LoadedSkin skin;
  platform::Menu tree;
  tree.Items.Add("&Open");
  tree.Items.Add("-");
  tree.Items.Add("E&xit");
  skin::TskSkinMenu menu(&form);
  menu.ShowMenu(nullptr, &skin.data, 0, {120, 120, 120, 120}, tree.Items, false);
  ASSERT_EQ(menu.Levels.size(), 1u);
  HWND level = static_cast<HWND>(menu.Levels[0]->NativeHandle());
  ASSERT_TRUE(IsWindow(level));
  EXPECT_TRUE(IsWindowVisible(level));
  EXPECT_TRUE(GetWindowLongPtrW(level, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(GetWindowLongPtrW(level, GWL_STYLE) & WS_POPUP);
  EXPECT_NE(GetForegroundWindow(), level) << "a level never takes the focus";
  RECT r{};
  GetWindowRect(level, &r);
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.top, 120);
  EXPECT_EQ(menu.Levels[0]->BoundsRect().Height(), r.bottom - r.top);
  // Text goes through GDI: the skin's font measures to a real size.
  EXPECT_GT(platform::TextExtent(menu.Levels[0]->ItemCanvasFont, "Open").x, 0);
  PumpUntil([] { return false; });
  // The level painted its skin frame through the DIB copy.
  const platform::Bitmap& frame = skin.Picture(skin.data.PopupWindow.windowpictureindex);
  HDC dc = GetDC(level);
  const COLORREF top = GetPixel(dc, frame.Width() / 2, 0);
  ReleaseDC(level, dc);
  EXPECT_EQ(platform::Colour(top), frame.Pixel(frame.Width() / 2, 0));

  PostMessageW(level, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(PumpUntil([&] { return menu.Levels.empty(); }));
  EXPECT_FALSE(menu.IsOpen);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(level); })) << "the closed level's window is destroyed";
}

TEST(WinePopup, AHintWindowShowsTopmostInItsSkinShape) {
  platform::Application app;
  platform::Window form;
  LoadedSkin skin;
  skin::TskSkinHint hint(&form);
  hint.SetSkinData(&skin.data);
  skin::TskSkinHintWindow window;
  window.ActivateHint({200, 200, 200, 200}, "提示");
  HWND hwnd = static_cast<HWND>(window.NativeHandle());
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(hwnd, rgn), ERROR) << "shaped by the skin's mask";
  DeleteObject(rgn);
  window.Hide();
  EXPECT_FALSE(IsWindowVisible(hwnd));
}

}  // namespace
}  // namespace popuptest
