// The real launcher program, killed at random moments of its work: after each
// kill a restart must still leave a complete product, byte-exact, and start it,
// and nothing left by the killed runs may pile up in the folder. Ten folders
// run side by side, ten updates each, so that the one-second wait before each
// update does not add up.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <future>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "TempDir.h"
#include "ZipWriter.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kFolders = 10, kRunsPerFolder = 10;
// The product is the demo product with a tail that tells the builds apart and
// makes the save and the extraction take long enough to be hit.
constexpr std::size_t kProductTail = 1 << 20;
// Most kills strike at a random moment of the work itself, which begins when
// the package file changes; every tenth at a random moment of the wait before it.
constexpr int kEarlyKillEvery = 10;
constexpr auto kWait = std::chrono::milliseconds(1000);
constexpr auto kRunPatience = std::chrono::seconds(20);
// The package file as the test leaves it before each run: one byte.
const std::string kPackageStandIn = "x";

const std::string kProduct = "Tarnwick物流信息管理系统.exe";
const std::string kPackage = "Tarnwick物流信息管理系统.zip";
const std::string kMarker = "product-started.txt";

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void StorePackage(const std::string& dbPath, const std::string& package) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(dbPath.c_str(), &db), SQLITE_OK);
  sqlite3_exec(db, "drop table if exists t_sys_soft; create table t_sys_soft (\"系统\" blob)", nullptr, nullptr,
               nullptr);
  sqlite3_stmt* st = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "insert into t_sys_soft values (?)", -1, &st, nullptr), SQLITE_OK);
  sqlite3_bind_blob64(st, 1, package.data(), package.size(), SQLITE_TRANSIENT);
  ASSERT_EQ(sqlite3_step(st), SQLITE_DONE);
  sqlite3_finalize(st);
  sqlite3_close(db);
}

pid_t StartLauncher(const fs::path& exe) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const std::string path = exe.string();
  char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Waits for the process to end by itself; kills it when it takes too long.
bool Finishes(pid_t pid) {
  const auto deadline = Clock::now() + kRunPatience;
  while (Clock::now() < deadline) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return false;
}

struct LaneResult {
  std::vector<std::string> faults;
  int caughtAtWork = 0;  // kills that struck after the update had begun to change files
};

// Waits until the launcher begins its work: the package file is deleted or rewritten.
bool WorkBegins(const fs::path& packageFile, pid_t pid) {
  const auto deadline = Clock::now() + kRunPatience;
  while (Clock::now() < deadline) {
    std::error_code ec;
    const auto size = fs::file_size(packageFile, ec);
    if (ec || size != kPackageStandIn.size()) return true;
    if (waitpid(pid, nullptr, WNOHANG) == pid) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return false;
}

// One folder's runs.
LaneResult RunFolder(int lane, const std::string& productProgram, Clock::duration workSpan) {
  LaneResult result;
  std::vector<std::string>& faults = result.faults;
  testing_support::TempDir dir("kill-" + std::to_string(lane));
  const fs::path exe = dir.Path() / "update";
  fs::copy_file(TW_UPDATE_PROGRAM, exe);
  const std::string db = dir.File("packages.db");
  dir.Write("main.ini", "[database]\nProvider=SQLite;\nPassword=;\nPersist Security Info=False;\nUser ID=;\n"
                        "Initial Catalog=;\nData Source=" + db + "\n");
  const fs::path product = dir.Path() / fs::path(std::u8string(kProduct.begin(), kProduct.end()));
  const fs::path marker = dir.Path() / kMarker;
  const fs::path packageFile = dir.Path() / fs::path(std::u8string(kPackage.begin(), kPackage.end()));
  std::mt19937 random(std::uint32_t(1234 + lane));
  using us = std::chrono::microseconds;
  std::uniform_int_distribution<long> workMoment(0, std::chrono::duration_cast<us>(workSpan).count());
  std::uniform_int_distribution<long> waitMoment(0, std::chrono::duration_cast<us>(kWait).count());

  std::string old = productProgram + std::string(kProductTail, char('a' + lane));
  std::ofstream(product, std::ios::binary) << old;
  fs::permissions(product, fs::perms::owner_all);
  // What a finished update leaves: nothing else may stay.
  const std::set<std::string> usual{"update", "main.ini", "packages.db", kProduct, kPackage, kMarker};
  for (int run = 0; run < kRunsPerFolder; ++run) {
    const std::string build = productProgram + std::string(kProductTail, char('A' + (run % 26)));
    const std::string package = testing_support::MakeStoredZip({{kProduct, build, 0100755}});
    StorePackage(db, package);
    const std::string where = "folder " + std::to_string(lane) + ", run " + std::to_string(run) + ": ";

    std::ofstream(packageFile, std::ios::binary) << kPackageStandIn;
    const pid_t victim = StartLauncher(exe);
    if (run % kEarlyKillEvery == kEarlyKillEvery - 1)
      std::this_thread::sleep_for(us(waitMoment(random)));
    else if (WorkBegins(packageFile, victim))
      std::this_thread::sleep_for(us(workMoment(random)));
    kill(victim, SIGKILL);
    waitpid(victim, nullptr, 0);
    // Whether the kill caught the update at work: something had already changed.
    bool atWork = ReadAll(product) != old || ReadAll(packageFile) != kPackageStandIn;
    for (const std::string& f : dir.List()) atWork = atWork || !usual.contains(f);
    result.caughtAtWork += atWork;

    fs::remove(marker);
    if (!Finishes(StartLauncher(exe))) faults.push_back(where + "the restarted launcher did not end by itself");
    const std::string now = ReadAll(product);
    if (now != build) faults.push_back(where + (now == old ? "the old product is left" : "the product is damaged"));
    if (!fs::exists(marker)) faults.push_back(where + "the product was not started");
    old = build;

    for (const std::string& f : dir.List())
      if (!usual.contains(f)) faults.push_back(where + "a file is left behind: " + f);
  }
  return result;
}

TEST(LauncherKill, EveryKilledUpdateLeavesACompleteProductAndNothingPilesUp) {
  const std::string productProgram = ReadAll(TW_PRODUCT_PROGRAM);
  ASSERT_FALSE(productProgram.empty());

  // How long the work of one update takes here, so that the kills land inside it.
  testing_support::TempDir probe("kill-probe");
  const fs::path exe = probe.Path() / "update";
  fs::copy_file(TW_UPDATE_PROGRAM, exe);
  StorePackage(probe.File("packages.db"),
               testing_support::MakeStoredZip({{kProduct, productProgram + std::string(kProductTail, 'x'), 0100755}}));
  probe.Write("main.ini", "[database]\nProvider=SQLite;\nData Source=" + probe.File("packages.db") + "\n");
  const fs::path probePackage = probe.Path() / fs::path(std::u8string(kPackage.begin(), kPackage.end()));
  std::ofstream(probePackage, std::ios::binary) << kPackageStandIn;
  const pid_t pid = StartLauncher(exe);
  ASSERT_TRUE(WorkBegins(probePackage, pid));
  const auto began = Clock::now();
  ASSERT_TRUE(Finishes(pid));
  // Room for the lanes slowing each other down.
  const Clock::duration workSpan = (Clock::now() - began) * 2;

  std::vector<std::future<LaneResult>> lanes;
  for (int lane = 0; lane < kFolders; ++lane)
    lanes.push_back(std::async(std::launch::async, RunFolder, lane, productProgram, workSpan));
  int caughtAtWork = 0;
  for (auto& lane : lanes) {
    const LaneResult r = lane.get();
    for (const std::string& fault : r.faults) ADD_FAILURE() << fault;
    caughtAtWork += r.caughtAtWork;
  }
  std::printf("kills drawn over %lld ms of work; kills that caught it at work: %d of %d\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(workSpan).count()),
              caughtAtWork, kFolders * kRunsPerFolder);
  // A test whose kills all land before the work begins tests nothing.
  EXPECT_GE(caughtAtWork, kFolders * kRunsPerFolder / 2);
}

}  // namespace
