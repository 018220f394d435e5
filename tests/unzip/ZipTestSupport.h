// Helpers for the zip engine's tests: shell commands, files and fixtures.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "TempDir.h"

namespace ziptest {

inline int Shell(const std::string& command) {
  const int status = std::system((command + " >/dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline bool HaveTool(const std::string& name) { return Shell("command -v " + name) == 0; }

#define TW_REQUIRE_TOOL(name) \
  if (!::ziptest::HaveTool(name)) GTEST_SKIP() << name << " is not installed"

// `p` in single quotes, for the shell.
inline std::string Q(const std::filesystem::path& p) {
  std::string quoted(1, '\'');
  quoted += p.string();
  return quoted += '\'';
}

inline std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteFile(const std::filesystem::path& p, const std::string& bytes) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

// Makes fixture `kind` of fixtures.py at `out`.
inline void MakeFixture(const std::string& kind, const std::filesystem::path& out) {
  ASSERT_EQ(Shell("python3 '" TW_ZIP_FIXTURES "' " + kind + " " + Q(out)), 0) << kind;
}

inline std::string Unzipper() { return TW_UNZIPPER; }

// Every regular file below `root`, by relative path, with its bytes.
inline std::map<std::string, std::string> Tree(const std::filesystem::path& root) {
  std::map<std::string, std::string> files;
  if (!std::filesystem::exists(root)) return files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root))
    if (e.is_regular_file()) files[std::filesystem::relative(e.path(), root).string()] = ReadFile(e.path());
  return files;
}

}  // namespace ziptest

// The names every test of the engine uses.
namespace unzip {
namespace fs = std::filesystem;
using testing_support::TempDir;
using ziptest::Q;
using ziptest::Shell;
}  // namespace unzip
