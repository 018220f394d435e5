// Extraction against the stock unzip: the same bytes on well-formed archives,
// the same verdicts on bad ones; and the safety rules for names and failures.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "TempDir.h"
#include "ZipTestSupport.h"
#include "unzip/UnZipper.h"

namespace unzip {
namespace {

// A source tree with text, binary, empty files, folders and a GBK file name.
void MakeTree(const fs::path& root) {
  std::mt19937 rng(3);
  std::string text;
  while (text.size() < 200000) text += "line " + std::to_string(rng() % 1000) + " of the manifest\n";
  std::string binary(70000, '\0');
  for (char& c : binary) c = static_cast<char>(rng());
  ziptest::WriteFile(root / "text.txt", text);
  ziptest::WriteFile(root / "bin" / "blob.bin", binary);
  ziptest::WriteFile(root / "bin" / "empty.dat", "");
  ziptest::WriteFile(root / "exact" / "32k.bin", binary.substr(0, 32768));
  fs::create_directories(root / "emptydir");
  ziptest::WriteFile(root / "cn" / "\xD6\xD0\xCE\xC4.txt", "gbk name\n");  // "中文" in GBK
}

int Unzipper(const std::string& args) { return Shell(ziptest::Unzipper() + " " + args); }

class ExtractVsUnzip : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ziptest::HaveTool("zip") || !ziptest::HaveTool("unzip")) GTEST_SKIP() << "zip/unzip not installed";
    MakeTree(dir_.Path() / "src");
  }
  fs::path Zip(const std::string& name, const std::string& options) {
    const fs::path out = dir_.Path() / name;
    EXPECT_EQ(Shell("cd " + Q(dir_.Path() / "src") + " && zip -q -r " + options + " " + Q(out) + " ."), 0);
    return out;
  }
  TempDir dir_;
};

TEST_F(ExtractVsUnzip, SameBytesForEveryLevelAndEncryption) {
  const std::string options[] = {"-0", "-1", "-5", "-9", "-6 -P s3cret"};
  for (const std::string& o : options) {
    const fs::path zip = Zip("t.zip", o);
    const fs::path mine = dir_.Path() / "mine";
    const fs::path ref = dir_.Path() / "ref";
    fs::remove_all(mine);
    fs::remove_all(ref);
    EXPECT_EQ(Unzipper("extract " + Q(zip) + " -d " + Q(mine) + " -P s3cret"), 0) << o;
    EXPECT_EQ(Shell("unzip -q -P s3cret " + Q(zip) + " -d " + Q(ref)), 0) << o;
    const auto got = ziptest::Tree(mine);
    auto want = ziptest::Tree(ref);
    // unzip keeps the GBK bytes of the name; the engine converts it to UTF-8.
    const auto gbk = want.find("cn/\xD6\xD0\xCE\xC4.txt");
    ASSERT_NE(gbk, want.end());
    want["cn/中文.txt"] = gbk->second;
    want.erase(gbk);
    EXPECT_TRUE(got == want) << o;
    EXPECT_TRUE(fs::is_directory(mine / "emptydir")) << o;
    EXPECT_EQ(Unzipper("test " + Q(zip) + " -P s3cret"), 0) << o;
    fs::remove(zip);
  }
}

TEST_F(ExtractVsUnzip, SameVerdictsOnBadArchives) {
  const fs::path good = Zip("g.zip", "-9");
  const fs::path enc = Zip("e.zip", "-P right");
  std::string flipped = ziptest::ReadFile(good);
  flipped[1000] = static_cast<char>(flipped[1000] ^ 0xFF);  // inside text.txt's data
  ziptest::WriteFile(dir_.Path() / "flip.zip", flipped);
  ziptest::WriteFile(dir_.Path() / "junk.zip", std::string(3000, 'x'));
  struct Case {
    std::string what;
    std::string archive;
    std::string password;
    bool ok;
  };
  const Case cases[] = {
      {"good", good.string(), "", true},
      {"right password", enc.string(), "right", true},
      {"wrong password", enc.string(), "wrong", false},
      {"flipped data byte", (dir_.Path() / "flip.zip").string(), "", false},
      {"junk", (dir_.Path() / "junk.zip").string(), "", false},
  };
  for (const Case& c : cases) {
    fs::remove_all(dir_.Path() / "o1");
    fs::remove_all(dir_.Path() / "o2");
    const std::string pw = c.password.empty() ? "" : " -P " + c.password;
    const int mine = Unzipper("extract " + Q(c.archive) + " -d " + Q(dir_.Path() / "o1") + pw);
    const int ref = Shell("unzip -q -o" + pw + " " + Q(c.archive) + " -d " + Q(dir_.Path() / "o2"));
    EXPECT_EQ(mine == 0, c.ok) << c.what << " exit " << mine;
    EXPECT_EQ(ref == 0, c.ok) << c.what << " (stock unzip) exit " << ref;
    EXPECT_EQ(Unzipper("test " + Q(c.archive) + pw) == 0, c.ok) << c.what;
  }
  EXPECT_EQ(Unzipper("list " + Q(dir_.Path() / "junk.zip")), 2);
  // A failed entry leaves nothing half-written behind.
  EXPECT_FALSE(fs::exists(dir_.Path() / "o1" / "text.txt"));
}

TEST_F(ExtractVsUnzip, PatternsAndJunkedPaths) {
  const fs::path zip = Zip("p.zip", "-6");
  const fs::path out = dir_.Path() / "p";
  EXPECT_EQ(Unzipper("extract " + Q(zip) + " -d " + Q(out) + " -j '*.bin'"), 0);
  const auto got = ziptest::Tree(out);
  std::vector<std::string> names;
  for (const auto& [name, bytes] : got) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"32k.bin", "blob.bin"}));
}

TEST(Extract, UnsafeNamesStayInsideTheDestination) {
  TempDir dir;
  ziptest::MakeFixture("unsafe", dir.Path() / "u.zip");
  const fs::path dest = dir.Path() / "deep" / "dest";
  TUnZipper z;
  z.SetZipName((dir.Path() / "u.zip").string());
  z.SetDestDir(dest.string());
  z.SetRecreateDirs(true);
  z.SetDoAll(true);
  std::vector<std::string> refused;
  z.OnSkippingFile = [&](TUnZipper&, TSkipReason reason, const std::string& name, int, bool&) {
    EXPECT_EQ(reason, TSkipReason::CantCreate);
    refused.push_back(name);
  };
  EXPECT_EQ(z.UnZip(), 4);
  EXPECT_EQ(refused, (std::vector<std::string>{"..\\escape-up.txt", "sub\\..\\..\\escape-sub.txt"}));
  for (const auto& e : fs::recursive_directory_iterator(dir.Path())) {
    if (!e.is_regular_file() || e.path().filename() == "u.zip") continue;
    const std::string rel = fs::relative(e.path(), dest).string();
    EXPECT_NE(rel.substr(0, 2), "..") << e.path();
  }
  EXPECT_TRUE(fs::exists(dest / "abs-root.txt"));
  EXPECT_TRUE(fs::exists(dest / "drive.txt"));
  EXPECT_TRUE(fs::exists(dest / "ok" / "fine.txt"));
}

TEST(Extract, FailedEntriesKeepWhatWasOnDisk) {
  TempDir dir;
  ziptest::MakeFixture("oversize", dir.Path() / "o.zip");
  ziptest::MakeFixture("unknown_method", dir.Path() / "m.zip");
  const fs::path dest = dir.Path() / "out";
  ziptest::WriteFile(dest / "big.txt", "precious");
  TUnZipper z;
  z.SetOverwriteMode(TUZOverwriteMode::Always);
  z.SetDestDir(dest.string());
  int badCrc = 0;
  z.OnBadCRC = [&](TUnZipper&, std::uint32_t, std::uint32_t, int) { ++badCrc; };
  z.SetZipName((dir.Path() / "o.zip").string());
  z.SetDoAll(true);
  EXPECT_EQ(z.UnZip(), 0);
  EXPECT_EQ(ziptest::ReadFile(dest / "big.txt"), "precious");
  z.SetZipName((dir.Path() / "m.zip").string());
  z.SetDoAll(true);
  EXPECT_EQ(z.UnZip(), 1);  // method 97 fails, the deflated entry extracts
  EXPECT_EQ(z.LastError(), "Unknown Compression Method");
  EXPECT_FALSE(fs::exists(dest / "m97.txt"));
  EXPECT_EQ(badCrc, 2);
  for (const auto& e : fs::directory_iterator(dest))
    EXPECT_EQ(e.path().string().find(".tw~"), std::string::npos) << e.path();
}

TEST(Extract, TruncatedArchivesEndCleanly) {
  TW_REQUIRE_TOOL("zip");
  TempDir dir;
  std::string data;
  std::mt19937 rng(5);
  while (data.size() < 300000) data += std::to_string(rng()) + "\n";
  ziptest::WriteFile(dir.Path() / "in" / "d.txt", data);
  ASSERT_EQ(Shell("cd " + Q(dir.Path() / "in") + " && zip -q ../s.zip d.txt && zip -q -0 ../z.zip d.txt"), 0);
  for (const char* name : {"s.zip", "z.zip"}) {
    const std::string whole = ziptest::ReadFile(dir.Path() / name);
    for (std::size_t cut : {std::size_t{40}, whole.size() / 3, whole.size() - 30}) {
      const std::string path = dir.Write(std::string("cut-") + name, whole.substr(0, cut));
      fs::remove_all(dir.Path() / "out");
      const int rc = Unzipper("extract " + Q(path) + " -d " + Q(dir.Path() / "out"));
      if (cut == whole.size() - 30) {
        // Only the directory is cut: the entry is recovered from its local header.
        EXPECT_EQ(rc, 0) << name;
        EXPECT_EQ(ziptest::ReadFile(dir.Path() / "out" / "d.txt"), data) << name;
        continue;
      }
      // Cut inside its local header (name and extra field) the archive cannot
      // be read at all; cut inside the data, the entry fails.
      EXPECT_EQ(rc, cut == 40 ? 2 : 1) << name << " cut at " << cut;
      EXPECT_FALSE(fs::exists(dir.Path() / "out" / "d.txt")) << name << " cut at " << cut;
    }
  }
}

TEST(Extract, OverwriteRulesAndReadOnlyTargets) {
  TempDir dir;
  ziptest::MakeFixture("dates", dir.Path() / "d.zip");
  const fs::path dest = dir.Path() / "out";
  ziptest::WriteFile(dest / "A.txt", "old");
  fs::permissions(dest / "A.txt", fs::perms::owner_read);
  TUnZipper z;
  z.SetZipName((dir.Path() / "d.zip").string());
  z.SetDestDir(dest.string() + "/");
  EXPECT_EQ(z.DestDir(), dest.string());
  z.SetOverwriteMode(TUZOverwriteMode::Always);
  std::vector<int> reasons;
  z.OnSkippingFile = [&](TUnZipper&, TSkipReason r, const std::string&, int, bool&) {
    reasons.push_back(static_cast<int>(r));
  };
  z.FilesList() = {"a.txt"};
  EXPECT_EQ(z.UnZip(), 0);
  EXPECT_EQ(reasons, std::vector<int>{3});
  EXPECT_TRUE(z.FilesList().empty());
  z.SetReplaceReadOnly(true);
  z.FilesList() = {"a.txt"};
  EXPECT_EQ(z.UnZip(), 1);
  EXPECT_EQ(ziptest::ReadFile(dest / "A.txt"), std::string(10, 'a'));
  // The file time is the stored DOS time: 2022-01-01 00:00:00 local.
  std::tm tm{};
  tm.tm_year = 122;
  tm.tm_mon = 0;
  tm.tm_mday = 1;
  tm.tm_isdst = -1;
  const auto stamp = fs::last_write_time(dest / "A.txt");
  const auto secs = std::chrono::duration_cast<std::chrono::seconds>(
      std::chrono::file_clock::to_sys(stamp).time_since_epoch()).count();
  EXPECT_EQ(secs, std::mktime(&tm));

  z.SetOverwriteMode(TUZOverwriteMode::Never);
  reasons.clear();
  z.FilesList() = {"*.txt"};
  EXPECT_EQ(z.UnZip(), 2);  // c\d.txt: without RecreateDirs it lands in DestDir
  EXPECT_EQ(reasons, std::vector<int>{1});
  EXPECT_TRUE(fs::exists(dest / "d.txt"));
}

TEST(Extract, PasswordEvents) {
  TW_REQUIRE_TOOL("zip");
  TempDir dir;
  ziptest::WriteFile(dir.Path() / "in" / "a.txt", std::string(3000, 'q'));
  ziptest::WriteFile(dir.Path() / "in" / "b.txt", "short\n");
  ASSERT_EQ(Shell("cd " + Q(dir.Path() / "in") + " && zip -q -P pw ../e.zip a.txt && zip -q -0 -P pw ../e.zip b.txt"), 0);
  TUnZipper z;
  z.SetZipName((dir.Path() / "e.zip").string());
  z.SetDestDir((dir.Path() / "out").string());
  z.SetPassword("nope");
  std::vector<std::string> offered = {"still-wrong", "pw"};
  int asked = 0;
  z.OnBadPassword = [&](TUnZipper&, int, std::string& next) {
    next = asked < 2 ? offered[static_cast<std::size_t>(asked)] : next;
    ++asked;
  };
  z.SetDoAll(true);
  EXPECT_EQ(z.UnZip(), 2);
  EXPECT_EQ(z.Password(), "pw");
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(ziptest::ReadFile(dir.Path() / "out" / "b.txt"), "short\n");
}


TEST(Extract, PercentEventsAndEntryBoundaries) {
  TW_REQUIRE_TOOL("zip");
  TempDir dir;
  ziptest::WriteFile(dir.Path() / "in" / "a32k.bin", std::string(32768, 'x'));
  ziptest::WriteFile(dir.Path() / "in" / "b70k.bin", std::string(70000, 'y'));
  ziptest::WriteFile(dir.Path() / "in" / "c0.txt", "");
  ASSERT_EQ(Shell("cd " + Q(dir.Path() / "in") + " && zip -q -0 ../p.zip a32k.bin b70k.bin c0.txt"), 0);
  TUnZipper z;
  z.SetZipName((dir.Path() / "p.zip").string());
  z.SetDestDir((dir.Path() / "out").string());
  std::vector<int> file;
  std::vector<int> total;
  z.OnFilePercentDone = [&](TUnZipper&, int p) { file.push_back(p); };
  z.OnTotalPercentDone = [&](TUnZipper&, int p) { total.push_back(p); };
  std::vector<std::string> started;
  z.OnStartUnZip = [&](TUnZipper&, int, std::string& name, bool& skip) {
    started.push_back(fs::path(name).filename().string());
    skip = started.back() == "c0.txt";
  };
  int completed = -1;
  z.OnUnZipComplete = [&](TUnZipper&, int count) { completed = count; };
  z.SetDoAll(true);
  EXPECT_EQ(z.UnZip(), 2);
  EXPECT_EQ(completed, 2);
  // 32 KiB: one write; 70,000 bytes: two full chunks and the rest.
  EXPECT_EQ(file, (std::vector<int>{100, 47, 94, 100}));
  EXPECT_EQ(total.back(), 100);
  EXPECT_EQ(started, (std::vector<std::string>{"a32k.bin", "b70k.bin", "c0.txt"}));
  EXPECT_FALSE(fs::exists(dir.Path() / "out" / "c0.txt"));
}

TEST(Extract, CancelledChoosersRaiseUserCanceled) {
  TUnZipper z;
  struct Case {
    std::function<void()> act;
    const char* message;
  };
  const Case cases[] = {
      {[&] { z.SetZipName("/nowhere/?"); }, "User canceled setting zip file name."},
      {[&] { z.SetDestDir("?"); }, "User canceled Set Desination Directory"},
  };
  for (const Case& c : cases) {
    try {
      c.act();
      ADD_FAILURE() << c.message;
    } catch (const EUserCanceled& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  z.SetRootDir("src");
  EXPECT_EQ(z.RootDir(), "src\\");
}

TEST(Extract, ExcludeListLeavesOutFilesAndFolders) {
  TW_REQUIRE_TOOL("zip");
  TempDir dir;
  ziptest::WriteFile(dir.Path() / "src" / "keep.txt", "keep\n");
  ziptest::WriteFile(dir.Path() / "src" / "logs" / "a.log", "log\n");
  ziptest::WriteFile(dir.Path() / "src" / "b.log", "log\n");
  ASSERT_EQ(Shell("cd " + Q(dir.Path() / "src") + " && zip -q -r ../x.zip ."), 0);
  TUnZipper z;
  z.SetDoProcessMessages(false);
  z.SetZipName((dir.Path() / "x.zip").string());
  z.SetDestDir((dir.Path() / "out").string());
  z.SetRecreateDirs(true);
  z.FilesList().push_back("*");
  z.ExcludeList() = {"logs\\*", "*.LOG"};
  int numFiles = -1;
  z.OnStartUnZipInfo = [&](TUnZipper&, int n, std::int64_t, bool&) { numFiles = n; };
  EXPECT_EQ(z.UnZip(), 1);
  EXPECT_EQ(numFiles, 1);
  EXPECT_TRUE(fs::exists(dir.Path() / "out" / "keep.txt"));
  EXPECT_FALSE(fs::exists(dir.Path() / "out" / "logs"));
  EXPECT_FALSE(fs::exists(dir.Path() / "out" / "b.log"));
  EXPECT_TRUE(z.ExcludeList().empty());
}

}  // namespace
}  // namespace unzip
