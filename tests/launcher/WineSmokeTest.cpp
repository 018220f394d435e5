// The Win32 launcher, started as a user would start it: in a folder without
// main.ini its window must look right, the failed open must be reported in the
// application's error box, and the program must end by itself; with a package
// database it must extract the product, start it and end.
#include <windows.h>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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

  Seen seen;
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

}  // namespace
