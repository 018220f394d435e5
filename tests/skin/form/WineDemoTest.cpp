// Under Wine: the skin demo, started as a user would start it, shows a skinned
// window cut to the skin's mask; a right click opens its skinned popup menu,
// Escape closes it, and closing the window ends the program. In this process,
// the demo's window puts its icon into the notification area and takes it out,
// its main menu bar opens a skinned popup, and its controls are real child
// windows.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "SkinDemo.h"
#include "TempDir.h"
#include "platform/Application.h"
// Last: its macros carry the same names as the frame's message constants.
#include <windows.h>

namespace {

namespace fs = std::filesystem;

constexpr wchar_t kCaption[] = L"Tarnwick 皮肤演示";
constexpr DWORD kPollMs = 20;
constexpr DWORD kPatienceMs = 20000;

struct Found {
  DWORD pid = 0;
  HWND form = nullptr, popup = nullptr;
};

BOOL CALLBACK Collect(HWND hwnd, LPARAM param) {
  auto* found = reinterpret_cast<Found*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != found->pid || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t text[256] = {};
  GetWindowTextW(hwnd, text, 256);
  if (std::wstring(text) == kCaption) found->form = hwnd;
  else if ((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_POPUP) && (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST))
    found->popup = hwnd;
  return TRUE;
}

template <typename F>
bool WaitFor(Found& found, F done) {
  for (DWORD waited = 0; waited < kPatienceMs; waited += kPollMs) {
    found.form = found.popup = nullptr;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&found));
    if (done()) return true;
    Sleep(kPollMs);
  }
  return false;
}

fs::path ExeFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path();
}

TEST(WineDemo, SkinnedWindowWithItsRegionAndPopupMenuEndsWhenClosed) {
  std::wstring command = L"\"" + (ExeFolder() / "skindemo.exe").wstring() + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  CloseHandle(pi.hThread);
  Found found;
  found.pid = pi.dwProcessId;

  ASSERT_TRUE(WaitFor(found, [&] { return found.form != nullptr; })) << "the demo window never appeared";
  const HWND form = found.form;
  EXPECT_EQ(GetWindowLongPtrW(form, GWL_STYLE) & WS_THICKFRAME, WS_THICKFRAME) << "not sizable";
  // Cut to the skin's mask: the rounded top-left corner is outside.
  RECT bounds{};
  GetWindowRect(form, &bounds);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(form, rgn), ERROR) << "no window region";
  EXPECT_FALSE(PtInRegion(rgn, 0, 0));
  EXPECT_TRUE(PtInRegion(rgn, (bounds.right - bounds.left) / 2, (bounds.bottom - bounds.top) / 2));
  DeleteObject(rgn);

  PostMessageW(form, WM_RBUTTONUP, 0, MAKELPARAM(40, 30));
  ASSERT_TRUE(WaitFor(found, [&] { return found.popup != nullptr; })) << "no popup menu";
  HRGN menuRgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(found.popup, menuRgn), ERROR) << "the menu has the skin's shape";
  DeleteObject(menuRgn);
  PostMessageW(found.popup, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitFor(found, [&] { return found.popup == nullptr; })) << "Escape left the menu open";

  PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, kPatienceMs), WAIT_OBJECT_0) << "the demo did not end";
  TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
}

TEST(WineDemo, TrayIconIsAddedAndRemoved) {
  platform::Application app;
  testing_support::TempDir dir;
  auto demo = std::make_unique<skindemo::SkinDemo>(dir.File("skin"));
  EXPECT_TRUE(demo->tray.IconVisible());
  // The shell only modifies an icon it holds.
  EXPECT_TRUE(demo->tray.UpdateIcon()) << "the icon is not in the notification area";
  demo->tray.SetIconVisible(false);
  EXPECT_FALSE(demo->tray.UpdateIcon()) << "the icon is still in the notification area";
  demo->tray.SetIconVisible(true);
  EXPECT_TRUE(demo->tray.UpdateIcon());
}

}  // namespace

TEST(WineDemo, MainMenuBarOpensASkinnedPopup) {
  platform::Application app;
  testing_support::TempDir dir;
  auto demo = std::make_unique<skindemo::SkinDemo>(dir.File("skin"));
  demo->form.Show();
  ASSERT_GT(demo->menuBar.ItemCount(), 0u);
  const platform::Rect item = demo->menuBar.Item(0)->ObjectRect;
  HWND bar = static_cast<HWND>(demo->menuBar.NativeHandle());
  SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(item.left + 3, item.top + 3));
  skin::TskSkinMenu& menus = demo->skinForm.SkinMenu();
  ASSERT_TRUE(menus.IsOpen);
  HWND level = static_cast<HWND>(menus.Levels.at(0)->NativeHandle());
  EXPECT_TRUE(IsWindowVisible(level));
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(level, rgn), ERROR) << "the popup has the skin's shape";
  DeleteObject(rgn);
  SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(item.left + 3, item.top + 3));
  menus.CloseAllMenus();
  EXPECT_FALSE(menus.IsOpen);
}

TEST(WineDemo, ControlsAreChildWindowsInsideTheForm) {
  platform::Application app;
  testing_support::TempDir dir;
  auto demo = std::make_unique<skindemo::SkinDemo>(dir.File("skin"));
  demo->form.Show();
  ASSERT_FALSE(demo->controls.empty());
  for (const auto& control : demo->controls) {
    HWND hwnd = static_cast<HWND>(control->NativeHandle());
    ASSERT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(GetParent(hwnd), static_cast<HWND>(control->Parent()->NativeHandle()));
    EXPECT_TRUE(IsWindowVisible(hwnd));
    RECT r{};
    GetClientRect(hwnd, &r);
    EXPECT_EQ(r.right, control->Width());
    EXPECT_EQ(r.bottom, control->Height());
  }
}
