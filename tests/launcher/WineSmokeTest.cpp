// The Win32 launcher, started as a user would start it: in a folder without
// main.ini its window must look right, the failed open must be reported in the
// application's error box, and the program must end by itself; with a package
// database it must extract the product, start it and end.
#include <windows.h>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TempDir.h"
#include "ZipWriter.h"

namespace {

namespace fs = std::filesystem;

constexpr wchar_t kCaption[] = L"正在从本地进行升级 . . .";
constexpr wchar_t kTitle[] = L"软件升级 . . .";
constexpr DWORD kPollMs = 20;
constexpr DWORD kPatienceMs = 20000;
constexpr int kStaticTextId = 0xFFFF;  // the message text in a message box

struct Seen {
  DWORD pid = 0;
  // The window is counted only once visible, unless this is false.
  bool visibleWindowOnly = true;
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
  const bool visible = IsWindowVisible(hwnd);
  if (text == kCaption && (visible || !seen->visibleWindowOnly)) seen->window = hwnd;
  if (text == kTitle && std::wstring(cls) == L"#32770" && visible) seen->box = hwnd;
  return TRUE;
}

// Waits for the process's visible update window.
HWND WaitForWindow(HANDLE process, DWORD pid) {
  Seen seen;
  seen.pid = pid;
  for (DWORD waited = 0; waited < kPatienceMs && !seen.window; waited += kPollMs) {
    if (WaitForSingleObject(process, kPollMs) == WAIT_OBJECT_0) break;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&seen));
  }
  return seen.window;
}

// The client area's pixels as they are on the screen, 0x00RRGGBB.
std::vector<std::uint32_t> CaptureClient(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = client.right;
  bi.bmiHeader.biHeight = -client.bottom;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(p, p + std::size_t(client.right) * std::size_t(client.bottom));
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  for (auto& px : pixels) px &= 0xFFFFFF;
  return pixels;
}

// Keeps a capture as a BMP file in the folder TW_SCREENSHOTS names, if any, for a person to look at.
void KeepCapture(const std::vector<std::uint32_t>& pixels, int width, int height, const std::string& name) {
  const char* folder = std::getenv("TW_SCREENSHOTS");
  if (!folder || pixels.empty()) return;
  std::ofstream out(fs::path(folder) / (name + ".bmp"), std::ios::binary);
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  ih.biSize = sizeof ih;
  ih.biWidth = width;
  ih.biHeight = -height;
  ih.biPlanes = 1;
  ih.biBitCount = 32;
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = DWORD(fh.bfOffBits + pixels.size() * 4);
  out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
  out.write(reinterpret_cast<const char*>(&ih), sizeof ih);
  out.write(reinterpret_cast<const char*>(pixels.data()), std::streamsize(pixels.size() * 4));
}

// An SQLite package database whose one row holds `package`, and main.ini naming it.
void WritePackageDatabase(testing_support::TempDir& dir, const std::string& package) {
  fs::remove(dir.Path() / "packages.db");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(dir.File("packages.db").c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "create table t_sys_soft (\"系统\" blob)", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_stmt* st = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "insert into t_sys_soft values (?)", -1, &st, nullptr), SQLITE_OK);
  sqlite3_bind_blob(st, 1, package.data(), int(package.size()), SQLITE_TRANSIENT);
  ASSERT_EQ(sqlite3_step(st), SQLITE_DONE);
  sqlite3_finalize(st);
  sqlite3_close(db);
  dir.Write("main.ini", "[database]\r\nProvider=SQLite;\r\nPassword=;\r\nPersist Security Info=False;\r\n"
                        "User ID=;\r\nInitial Catalog=;\r\nData Source=" + dir.File("packages.db") + "\r\n");
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Starts a program in `folder`; returns its process handle.
HANDLE Start(const fs::path& exe, const fs::path& folder, DWORD* pid = nullptr) {
  std::wstring command = L"\"" + exe.wstring() + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.wstring().c_str(), &si,
                      &pi))
    return nullptr;
  CloseHandle(pi.hThread);
  if (pid) *pid = pi.dwProcessId;
  return pi.hProcess;
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

  // The show handler fails before the window appears, and the first tick ends
  // the program while the error box is up: the window is looked at hidden. It is
  // born at its final size and place, so its first sight must show them.
  Seen seen;
  seen.visibleWindowOnly = false;
  HANDLE process = Start(exe, dir.Path(), &seen.pid);
  ASSERT_TRUE(process);
  RECT client{}, bounds{};
  LONG_PTR style = 0;
  std::wstring boxText, boxCaption;
  for (DWORD waited = 0; waited < kPatienceMs && (!seen.window || !seen.box); waited += kPollMs) {
    if (WaitForSingleObject(process, kPollMs) == WAIT_OBJECT_0) break;
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
  EXPECT_EQ(WaitForSingleObject(process, kPatienceMs), WAIT_OBJECT_0) << "the launcher did not end";
  TerminateProcess(process, 1);
  CloseHandle(process);
}

TEST(WineSmoke, LauncherExtractsAndStartsTheProductFromAnSqlitePackage) {
  const std::string product = "Tarnwick物流信息管理系统.exe";
  const fs::path productPath = fs::path(u8"Tarnwick物流信息管理系统.exe");
  testing_support::TempDir dir;
  fs::copy_file(ExeFolder() / "update.exe", dir.Path() / "update.exe");
  const std::string productBytes = ReadAll(ExeFolder() / "demo_product.exe");
  ASSERT_FALSE(productBytes.empty());

  const std::string package = testing_support::MakeStoredZip({{product, productBytes, 0100755}});
  WritePackageDatabase(dir, package);

  HANDLE process = Start(dir.Path() / "update.exe", dir.Path());
  ASSERT_TRUE(process);
  EXPECT_EQ(WaitForSingleObject(process, kPatienceMs), WAIT_OBJECT_0) << "the launcher did not end";
  TerminateProcess(process, 1);
  CloseHandle(process);

  const fs::path marker = dir.Path() / "product-started.txt";
  for (DWORD waited = 0; waited < kPatienceMs && !fs::exists(marker); waited += kPollMs) Sleep(kPollMs);
  EXPECT_TRUE(fs::exists(marker)) << "the product did not run";
  EXPECT_EQ(ReadAll(dir.Path() / productPath), productBytes);
  EXPECT_EQ(ReadAll(dir.Path() / fs::path(u8"Tarnwick物流信息管理系统.zip")), package);
}

// A package that is not a zip keeps the launcher retrying with its window up:
// photographed from the screen, the animation moves, centred in a frameless
// 474 × 271 window.
TEST(WineSmoke, LauncherWindowShowsTheAnimationMoving) {
  testing_support::TempDir dir;
  fs::copy_file(ExeFolder() / "update.exe", dir.Path() / "update.exe");
  WritePackageDatabase(dir, "this is not a zip archive");
  DWORD pid = 0;
  HANDLE process = Start(dir.Path() / "update.exe", dir.Path(), &pid);
  ASSERT_TRUE(process);
  HWND window = WaitForWindow(process, pid);
  ASSERT_TRUE(window) << "the update window never appeared";

  RECT client{}, bounds{};
  GetClientRect(window, &client);
  GetWindowRect(window, &bounds);
  EXPECT_EQ(client.right, 474);
  EXPECT_EQ(client.bottom, 271);
  EXPECT_EQ(bounds.right - bounds.left, 474) << "the window has a frame";
  EXPECT_EQ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION), 0) << "the window has a caption bar";
  EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 474) / 2, bounds.left) << "not centred";
  EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 271) / 2, bounds.top) << "not centred";

  // Four photographs a quarter of a second apart, the window brought to the top first.
  constexpr int kShots = 4;
  constexpr DWORD kShotGapMs = 250;
  SetForegroundWindow(window);
  Sleep(kShotGapMs);
  std::vector<std::vector<std::uint32_t>> shots;
  for (int i = 0; i < kShots; ++i) {
    shots.push_back(CaptureClient(window));
    std::string name = "launcher-";  // appended, not concatenated: GCC 12 warns wrongly on the latter
    name += std::to_string(i);
    KeepCapture(shots.back(), client.right, client.bottom, name);
    Sleep(kShotGapMs);
  }
  int changes = 0;
  for (int i = 1; i < kShots; ++i) changes += shots[std::size_t(i)] != shots[std::size_t(i - 1)];
  EXPECT_GE(changes, kShots - 2) << "the animation does not move";

  // What moves lies in the middle of the window: the clip is centred.
  const int w = client.right, h = client.bottom;
  int left = w, right = 0, top = h, bottom = 0;
  for (int i = 1; i < kShots; ++i)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const std::size_t at = std::size_t(y) * std::size_t(w) + std::size_t(x);
        if (shots[std::size_t(i)][at] == shots[0][at]) continue;
        left = std::min(left, x), right = std::max(right, x + 1);
        top = std::min(top, y), bottom = std::max(bottom, y + 1);
      }
  ASSERT_LT(left, right) << "nothing changed";
  EXPECT_NEAR((left + right) / 2, w / 2, w / 6) << "the moving part is not centred";
  EXPECT_NEAR((top + bottom) / 2, h / 2, h / 6) << "the moving part is not centred";

  EXPECT_EQ(WaitForSingleObject(process, 0), WAIT_TIMEOUT) << "the launcher ended instead of retrying";
  TerminateProcess(process, 1);
  WaitForSingleObject(process, kPatienceMs);
  CloseHandle(process);
}

BOOL CALLBACK FindOverwriteQuestion(HWND hwnd, LPARAM param) {
  if (IsWindowVisible(hwnd) && TextOf(hwnd) == L"File Exists Alert") *reinterpret_cast<bool*>(param) = true;
  return TRUE;
}

// Runs the launcher in `dir` to its end; fails the test when it asks a
// question or does not end.
void RunUpdate(const testing_support::TempDir& dir, const std::string& step) {
  SCOPED_TRACE(step);
  HANDLE process = Start(dir.Path() / "update.exe", dir.Path());
  ASSERT_TRUE(process);
  const bool ended = WaitForSingleObject(process, kPatienceMs) == WAIT_OBJECT_0;
  bool asked = false;
  EnumWindows(FindOverwriteQuestion, reinterpret_cast<LPARAM>(&asked));
  EXPECT_FALSE(asked) << "the launcher asks whether to replace the product";
  EXPECT_TRUE(ended) << "the launcher did not end";
  TerminateProcess(process, 1);
  CloseHandle(process);
}

// On Windows a running program's file may be renamed but not deleted, and a
// read-only file not deleted or overwritten; neither may stop later updates.
TEST(WineSmoke, AReadOnlyOrRunningProductDoesNotStopLaterUpdates) {
  const std::string productName = "Tarnwick物流信息管理系统.exe";
  testing_support::TempDir dir;
  fs::copy_file(ExeFolder() / "update.exe", dir.Path() / "update.exe");
  const std::string program = ReadAll(ExeFolder() / "demo_product.exe");
  ASSERT_FALSE(program.empty());
  // Builds of the product differ in a tail after the program image.
  auto build = [&](char tag) { return program + std::string(4096, tag); };
  const fs::path product = dir.Path() / fs::path(u8"Tarnwick物流信息管理系统.exe");
  auto update = [&](char tag, std::uint32_t mode) {
    WritePackageDatabase(dir, testing_support::MakeStoredZip({{productName, build(tag), mode}}));
    RunUpdate(dir, std::string("build ") + tag);
    EXPECT_TRUE(ReadAll(product) == build(tag)) << "build " << tag << " is not in place";
  };
  auto leftovers = [&] {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.Path())) {
      const std::u8string n = e.path().filename().u8string();
      if (n.find(u8".old") != std::u8string::npos || n.find(u8"~") != std::u8string::npos)
        names.emplace_back(n.begin(), n.end());
    }
    return names;
  };

  update('1', 0100555);
  EXPECT_NE(GetFileAttributesW(product.c_str()) & FILE_ATTRIBUTE_READONLY, 0u) << "the read-only mark is lost";
  update('2', 0100555);  // the read-only product moves aside and goes
  EXPECT_TRUE(leftovers().empty()) << leftovers()[0];

  // Build 2 runs while build 3 comes, and still runs when build 4 comes.
  std::wstring command = L"\"" + product.wstring() + L"\" --wait-seconds 60";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION running{};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             dir.Path().wstring().c_str(), &si, &running));
  CloseHandle(running.hThread);
  update('3', 0100755);
  update('4', 0100755);
  TerminateProcess(running.hProcess, 0);
  WaitForSingleObject(running.hProcess, kPatienceMs);
  CloseHandle(running.hProcess);

  update('5', 0100755);  // nothing runs any more: every kept copy goes
  EXPECT_TRUE(leftovers().empty()) << leftovers()[0];
}

}  // namespace
