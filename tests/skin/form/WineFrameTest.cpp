// Under Wine: the frame component on a real sizable window cuts the window to the
// skin's mask, gives it the skin's client area and answers its hit tests, and
// its window behaviours work on the real desktop.
// Needs an X display (tools/with-xvfb).
#include <gtest/gtest.h>

#include "WineSkinnedForm.h"
#include "platform/Application.h"
#include "platform/Window.h"
// Last: its macros carry the same names as the frame's message constants.
#include <windows.h>

namespace {

constexpr int kLeft = 100, kTop = 100, kWidth = 300, kHeight = 200;

TEST(WineFrame, SkinnedWindowHasTheMaskRegionClientAreaAndHitTests) {
  platform::Application app;
  formtest::WineSkinnedForm skinned({kLeft, kTop, kLeft + kWidth, kTop + kHeight});
  platform::Window& form = skinned.form;
  skin::TskSkinForm& skinForm = *skinned.skinForm;
  HWND hwnd = static_cast<HWND>(form.NativeHandle());

  ASSERT_TRUE(skinForm.SkinActive());
  ASSERT_TRUE(skinForm.WindowRegion());
  EXPECT_EQ(skinForm.Layout().Width, kWidth);
  // The region is the mask's: the rounded top-left corner is cut away.
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(hwnd, rgn), ERROR);
  RECT box{};
  GetRgnBox(rgn, &box);
  EXPECT_EQ(box.right - box.left, kWidth);
  EXPECT_EQ(box.bottom - box.top, kHeight);
  EXPECT_FALSE(PtInRegion(rgn, 0, 0));
  EXPECT_TRUE(PtInRegion(rgn, kWidth / 2, 0));
  DeleteObject(rgn);

  // The client area is the skin's: 5 pixels of border, a 29-pixel caption.
  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, kWidth - 10);
  EXPECT_EQ(client.bottom, kHeight - 34);

  auto hit = [&](int x, int y) {
    return SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(kLeft + x, kTop + y));
  };
  EXPECT_EQ(hit(150, 100), HTCLIENT);
  EXPECT_EQ(hit(150, 15), HTCAPTION);
  EXPECT_EQ(hit(1, 1), HTTOPLEFT);
  EXPECT_EQ(hit(298, 198), HTBOTTOMRIGHT);
  EXPECT_EQ(hit(285, 15), HTOBJECT);  // the close button
  // The system never paints its own caption over the skinned one.
  EXPECT_EQ(SendMessageW(hwnd, WM_NCACTIVATE, 1, 0), 1);
}

// Maximize fills the real work area, the application minimizes and restores
// through its task-bar window, and alpha blending makes the window layered.
TEST(WineFrame, WindowBehavioursOnARealDesktop) {
  platform::Application app;
  platform::Window mainForm;
  mainForm.Show();
  formtest::WineSkinnedForm skinned({kLeft, kTop, kLeft + kWidth, kTop + kHeight});
  platform::Window& form = skinned.form;
  skin::TskSkinForm& skinForm = *skinned.skinForm;
  HWND hwnd = static_cast<HWND>(form.NativeHandle());

  RECT work{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  skinForm.SetSkinWindowState(skin::TWindowState::wsMaximized);
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, work.left);
  EXPECT_EQ(r.top, work.top);
  EXPECT_EQ(r.right, work.right);
  EXPECT_EQ(r.bottom, work.bottom);
  // The system's move loop asks before moving: a maximized window stays put.
  RECT proposed{r.left + 40, r.top + 40, r.right + 40, r.bottom + 40};
  SendMessageW(hwnd, WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&proposed));
  EXPECT_EQ(proposed.left, work.left);
  skinForm.SetSkinWindowState(skin::TWindowState::wsNormal);
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, kLeft);
  EXPECT_EQ(r.right - r.left, kWidth);
  EXPECT_EQ(r.bottom - r.top, kHeight);

  // The caption's double click and the system's state commands change the
  // frame's own state: the platform's state stays normal.
  const LPARAM caption = MAKELPARAM(kLeft + kWidth / 2, kTop + 15);
  SendMessageW(hwnd, WM_NCLBUTTONDBLCLK, HTCAPTION, caption);
  EXPECT_EQ(skinForm.SkinWindowState(), skin::TWindowState::wsMaximized);
  EXPECT_FALSE(IsZoomed(hwnd));
  SendMessageW(hwnd, WM_NCLBUTTONDBLCLK, HTCAPTION, caption);
  EXPECT_EQ(skinForm.SkinWindowState(), skin::TWindowState::wsNormal);
  EXPECT_FALSE(IsZoomed(hwnd));
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_EQ(skinForm.SkinWindowState(), skin::TWindowState::wsMaximized);
  EXPECT_FALSE(IsZoomed(hwnd));
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(skinForm.SkinWindowState(), skin::TWindowState::wsMinimized);
  EXPECT_FALSE(IsIconic(hwnd));
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, kLeft);
  EXPECT_EQ(r.bottom - r.top, kHeight);

  app.Minimize();
  EXPECT_TRUE(app.Minimized());
  app.Restore();
  EXPECT_FALSE(app.Minimized());
  EXPECT_TRUE(IsWindowVisible(hwnd));

  if (platform::LayeredWindowsAvailable()) {
    skinForm.SetAlphaBlend(true);
    EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, skinForm.AlphaBlendValue());
    skinForm.SetAlphaBlend(false);
    EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  }
}

}  // namespace
