// The Win32 launcher, started as a user would start it, in a folder without
// main.ini: its window must look right, the failed open must be reported in the
// application's error box, and the program must end by itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempDir.h"

namespace {

namespace fs = std::filesystem;

constexpr wchar_t kCaption[] = L"正在从本地进行升级 . . .";
constexpr wchar_t kTitle[] = L"软件升级 . . .";
constexpr DWORD kPollMs = 20;
constexpr DWORD kPatienceMs = 20000;
constexpr int kStaticTextId = 0xFFFF;  // the message text in a message box

struct Seen {
  DWORD pid = 0;
  HWND window = nullptr, box = nullptr;
};

std::wstring TextOf(HWND hwnd) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(hwnd, buffer, 1024);
  return buffer;
}

BOOL CALLBACK Collect(HWND hwnd, LPARAM param) {
  auto* seen = reinterpret_cast<Seen*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != seen->pid) return TRUE;
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  const std::wstring text = TextOf(hwnd);
  if (text == kCaption) seen->window = hwnd;
  if (text == kTitle && std::wstring(cls) == L"#32770") seen->box = hwnd;
  return TRUE;
}

fs::path ExeFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path();
}

TEST(WineSmoke, LauncherShowsItsWindowReportsTheMissingSettingsAndEnds) {
  testing_support::TempDir dir;
  const fs::path exe = dir.Path() / "update.exe";
  fs::copy_file(ExeFolder() / "update.exe", exe);

  std::wstring command = L"\"" + exe.wstring() + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             dir.Path().wstring().c_str(), &si, &pi));

  Seen seen;
  seen.pid = pi.dwProcessId;
  RECT client{}, bounds{};
  LONG_PTR style = 0;
  std::wstring boxText, boxCaption;
  for (DWORD waited = 0; waited < kPatienceMs && (!seen.window || !seen.box); waited += kPollMs) {
    if (WaitForSingleObject(pi.hProcess, kPollMs) == WAIT_OBJECT_0) break;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&seen));
    if (seen.window && !style) {
      GetClientRect(seen.window, &client);
      GetWindowRect(seen.window, &bounds);
      style = GetWindowLongPtrW(seen.window, GWL_STYLE);
    }
    if (seen.box && boxText.empty()) {
      boxCaption = TextOf(seen.box);
      boxText = TextOf(GetDlgItem(seen.box, kStaticTextId));
    }
  }

  EXPECT_TRUE(seen.window) << "the update window never appeared";
  EXPECT_EQ(client.right, 474);
  EXPECT_EQ(client.bottom, 271);
  EXPECT_EQ(bounds.right - bounds.left, 474) << "the window has a frame";
  EXPECT_EQ(style & WS_CAPTION, 0) << "the window has a caption bar";
  EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 474) / 2, bounds.left) << "not centred";

  EXPECT_TRUE(seen.box) << "no error box";
  EXPECT_EQ(boxCaption, kTitle);
  EXPECT_FALSE(boxText.empty());

  // The first tick runs while the box is up, finds no package and ends the program.
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, kPatienceMs), WAIT_OBJECT_0) << "the launcher did not end";
  TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

}  // namespace
