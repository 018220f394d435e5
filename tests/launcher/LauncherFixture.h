// A launcher in a folder of its own on the headless backend: virtual clock,
// nothing really started, boxes recorded; and what tests look at afterwards.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "TempDir.h"
#include "platform/Application.h"
#include "platform/headless/Driver.h"
#include "u_update.h"

namespace launcher_testing {

namespace fs = std::filesystem;
namespace headless = platform::headless;

inline const std::string kNewProduct = "new product build 2";
inline const std::string kOldProduct = "old product build 1";

inline std::optional<std::string> ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class LauncherTest : public ::testing::Test {
 protected:
  LauncherTest() {
    headless::Reset();
    headless::UseVirtualClock(true);
    headless::SetEcho(false);
    headless::SetShellStartsPrograms(false);
    headless::SetExeName(dir.File("update"));
    app.SetTitle(launcher::kApplicationTitle);
  }
  ~LauncherTest() override { headless::Reset(); }

  // main.ini with every value but the last ending in its own separator.
  void WriteSettings(const std::string& provider, const std::string& user, const std::string& password,
                     const std::string& catalog, const std::string& source) {
    dir.Write("main.ini", "[database]\nProvider=" + provider + ";\nPassword=" + password +
                              ";\nPersist Security Info=False;\nUser ID=" + user + ";\nInitial Catalog=" + catalog +
                              ";\nData Source=" + source + "\n");
  }
  void OldProduct() { dir.Write(launcher::kProductFileName, kOldProduct); }
  fs::path Product() const { return dir.Path() / testing_support::PathFromUtf8(launcher::kProductFileName); }
  fs::path Package() const { return dir.Path() / testing_support::PathFromUtf8(launcher::kPackageFileName); }
  fs::path KeptProduct() const {
    return dir.Path() /
           testing_support::PathFromUtf8(std::string(launcher::kProductFileName) + launcher::kKeptProductSuffix);
  }
  bool ProductStarted() const {
    for (const std::string& r : headless::ShellRequests())
      if (r == dir.File(launcher::kProductFileName)) return true;
    return false;
  }
  // Shows the window and lets the first tick run.
  void RunFirstTick(launcher::TForm1& form) {
    form.Show();
    headless::AdvanceTime(launcher::kUpdateIntervalMs);
  }

  testing_support::TempDir dir;
  platform::Application app;
};

}  // namespace launcher_testing
