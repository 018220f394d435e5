// The unzipper tool as a user runs it: every option, the listing, the exit
// statuses, the password prompt on a terminal.
#include <gtest/gtest.h>

#include <cstdio>

#include "TempDir.h"
#include "ZipTestSupport.h"

namespace unzip {
namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

class Tool : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ziptest::HaveTool("zip")) GTEST_SKIP() << "zip is not installed";
    ziptest::WriteFile(src() / "a.txt", "alpha\n");
    ziptest::WriteFile(src() / "docs" / "b.txt", std::string(5000, 'b'));
    ziptest::WriteFile(src() / "docs" / "c.log", "log\n");
    EXPECT_EQ(Shell("cd " + Q(src()) + " && zip -q -r " + Q(archive()) + " a.txt docs"), 0);
  }
  fs::path src() const { return dir_.Path() / "src"; }
  fs::path archive() const { return dir_.Path() / "t.zip"; }
  fs::path out() const { return dir_.Path() / "out"; }
  Result Run(const std::string& args, const std::string& shellPrefix = "") {
    const fs::path o = dir_.Path() / "stdout", e = dir_.Path() / "stderr";
    const int status = std::system((shellPrefix + ziptest::Unzipper() + " " + args + " >" + Q(o) + " 2>" + Q(e)).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ziptest::ReadFile(o), ziptest::ReadFile(e)};
  }
  TempDir dir_;
};

TEST_F(Tool, HelpVersionAndBadUsage) {
  const Result help = Run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Exit status: 0 all well, 1 an entry failed, 2 the archive cannot be read, 3 bad usage"),
            std::string::npos);
  const Result version = Run("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("unzipper ", 0), 0u);
  for (const std::string bad : {"", "bogus t.zip", "extract", "extract -d", "list -o t.zip", "extract -o -n t.zip",
                                "test -j t.zip", "test -T 0 t.zip", "extract -T many t.zip", "list -T 2 t.zip"}) {
    const Result r = Run(bad);
    EXPECT_EQ(r.status, 3) << bad;
    EXPECT_NE(r.err.find("usage:"), std::string::npos) << bad;
  }
  EXPECT_EQ(Run("list " + Q(dir_.Path() / "missing.zip")).status, 2);
}

TEST_F(Tool, ListIsReadableWithTotalsAndTsvOnRequest) {
  const Result r = Run("list " + Q(archive()));
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Size"), std::string::npos);
  EXPECT_NE(r.out.find("Ratio"), std::string::npos);
  // b.txt compresses well; the method is named, the date shown, the totals summed.
  EXPECT_NE(r.out.find("deflate"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("docs/b.txt"), std::string::npos);
  EXPECT_NE(r.out.find("5010"), std::string::npos) << r.out;  // 6 + 5000 + 4 bytes
  EXPECT_NE(r.out.find("3 files"), std::string::npos) << r.out;
  const Result tsv = Run("list --tsv " + Q(archive()));
  EXPECT_EQ(tsv.status, 0);
  EXPECT_NE(tsv.out.find("a.txt\t6\t"), std::string::npos) << tsv.out;
  EXPECT_EQ(tsv.out.find("Ratio"), std::string::npos);
}

TEST_F(Tool, ExtractOptions) {
  struct Case {
    std::string args;
    std::vector<std::string> files;
  };
  const Case cases[] = {
      {"", {"a.txt", "docs/b.txt", "docs/c.log"}},
      {"'*.txt'", {"a.txt", "docs/b.txt"}},
      {"-x '*.log'", {"a.txt", "docs/b.txt"}},
      {"-x 'docs/*' -x a.txt", {}},
      {"-j 'docs/*'", {"b.txt", "c.log"}},
      {"-T 1", {"a.txt", "docs/b.txt", "docs/c.log"}},
      {"-T 3 -x a.txt", {"docs/b.txt", "docs/c.log"}},
  };
  for (const Case& c : cases) {
    fs::remove_all(out());
    const Result r = Run("extract " + Q(archive()) + " -d " + Q(out()) + " " + c.args);
    EXPECT_EQ(r.status, 0) << c.args << r.err;
    std::vector<std::string> got;
    for (const auto& [name, bytes] : ziptest::Tree(out())) got.push_back(name);
    EXPECT_EQ(got, c.files) << c.args;
  }
  // An excluded folder is not even created.
  fs::remove_all(out());
  EXPECT_EQ(Run("extract " + Q(archive()) + " -d " + Q(out()) + " -x 'docs/*'").status, 0);
  EXPECT_TRUE(fs::exists(out() / "a.txt"));
  EXPECT_FALSE(fs::exists(out() / "docs"));
  // Standard output gets the entries' bytes in archive order, and no file is written.
  const Result p = Run("extract -p " + Q(archive()) + " a.txt 'docs/c*'");
  EXPECT_EQ(p.status, 0);
  EXPECT_EQ(p.out, "alpha\nlog\n");
  // Decoded on several threads, they still come in archive order.
  const Result all = Run("extract -p -T 4 " + Q(archive()));
  EXPECT_EQ(all.status, 0);
  EXPECT_TRUE(all.out == "alpha\n" + std::string(5000, 'b') + "log\n");
  EXPECT_EQ(Run("test -q " + Q(archive())).status, 0);
}

TEST_F(Tool, OverwriteNeverAndQuiet) {
  ziptest::WriteFile(out() / "a.txt", "mine");
  // Default: kept, with a notice; -n: kept silently; -q: no notices; -o: replaced.
  Result r = Run("extract " + Q(archive()) + " -d " + Q(out()));
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("a.txt: exists, not overwritten"), std::string::npos) << r.err;
  EXPECT_EQ(ziptest::ReadFile(out() / "a.txt"), "mine");
  r = Run("extract -n " + Q(archive()) + " -d " + Q(out()));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  r = Run("extract -q " + Q(archive()) + " -d " + Q(out()));
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(ziptest::ReadFile(out() / "a.txt"), "mine");
  r = Run("extract -o " + Q(archive()) + " -d " + Q(out()));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(ziptest::ReadFile(out() / "a.txt"), "alpha\n");
  // Not a terminal: no progress on standard error.
  EXPECT_EQ(r.err, "");
}

TEST_F(Tool, PasswordIsAskedOnTheTerminalWithoutEcho) {
  TW_REQUIRE_TOOL("script");
  const fs::path enc = dir_.Path() / "e.zip";
  ASSERT_EQ(Shell("cd " + Q(src()) + " && zip -q -P Hidden77 " + Q(enc) + " a.txt"), 0);
  // Without a terminal there is nobody to ask.
  Result r = Run("extract " + Q(enc) + " -d " + Q(out()) + " </dev/null");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("give the password with -P"), std::string::npos) << r.err;
  // On a terminal (a pseudo-terminal from script) the typed password is used and not shown.
  const std::string command = ziptest::Unzipper() + " extract " + Q(enc) + " -d " + Q(out());
  const fs::path log = dir_.Path() / "typescript";
  const int status = std::system(("(sleep 1; printf 'Hidden77\\n') | script -qec \"" + command + "\" " + Q(log) +
                                  " >/dev/null 2>&1")
                                     .c_str());
  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
  const std::string screen = ziptest::ReadFile(log);
  EXPECT_NE(screen.find("a.txt password: "), std::string::npos) << screen;
  EXPECT_EQ(screen.find("Hidden77"), std::string::npos) << screen;
  EXPECT_EQ(ziptest::ReadFile(out() / "a.txt"), "alpha\n");
}

TEST_F(Tool, ProgressOnATerminalOnly) {
  TW_REQUIRE_TOOL("script");
  // Three incompressible megabytes, printed into a pipe that is read only
  // after two seconds: the run lasts long enough for progress to show.
  std::string noise(1 << 20, '\0');
  unsigned x = 1;
  for (char& c : noise) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
  for (const char* name : {"p1.bin", "p2.bin", "p3.bin"}) ziptest::WriteFile(src() / name, noise);
  const fs::path big = dir_.Path() / "big.zip";
  ASSERT_EQ(Shell("cd " + Q(src()) + " && zip -q -0 " + Q(big) + " p1.bin p2.bin p3.bin"), 0);
  const std::string command =
      ziptest::Unzipper() + " extract -p " + Q(big) + " | (sleep 2; cat >/dev/null)";
  const fs::path log = dir_.Path() / "typescript";
  ASSERT_EQ(Shell("script -qec \"" + command + "\" " + Q(log) + " </dev/null"), 0);
  const std::string screen = ziptest::ReadFile(log);
  EXPECT_NE(screen.find("/3 entries, "), std::string::npos) << screen;
  EXPECT_NE(screen.find(" s left"), std::string::npos) << screen;
  // The same run with standard error in a file shows nothing.
  const fs::path err = dir_.Path() / "err";
  ASSERT_EQ(Shell(ziptest::Unzipper() + " extract -p " + Q(big) + " 2>" + Q(err) + " | (sleep 2; cat >/dev/null)"), 0);
  EXPECT_EQ(ziptest::ReadFile(err), "");
}

}  // namespace
}  // namespace unzip
