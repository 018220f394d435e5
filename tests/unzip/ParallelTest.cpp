// Decoding on worker threads: a run with Threads above 1 must look to its
// caller exactly like a run on one thread: the same files, the same events in
// the same order on the calling thread, nothing left of failed entries.
#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "TempDir.h"
#include "ZipTestSupport.h"
#include "unzip/UnZipper.h"

namespace unzip {
namespace {

// Patches the archive with Python's zipfile for its offsets: `flip` corrupts
// the named entry's data in the middle; `endless` makes a stored entry's
// recorded sizes run far past the end of the archive.
void Patch(const fs::path& zip, const std::string& how, const std::string& name) {
  const std::string script =
      "import sys,zipfile,struct\n"
      "p,how,name=sys.argv[1:]\n"
      "z=zipfile.ZipFile(p); i=z.getinfo(name); z.close()\n"
      "b=bytearray(open(p,'rb').read())\n"
      "if how=='flip':\n"
      "  n,e=struct.unpack('<HH',b[i.header_offset+26:i.header_offset+30])\n"
      "  at=i.header_offset+30+n+e+i.compress_size//2\n"
      "  for k in range(8): b[at+k]^=0x5a\n"
      "else:\n"
      "  c=b.find(b'PK\\x01\\x02')\n"
      "  while b[c+46:c+46+struct.unpack('<H',b[c+28:c+30])[0]]!=name.encode(): c=b.find(b'PK\\x01\\x02',c+4)\n"
      "  b[c+20:c+28]=struct.pack('<II',0x10000000,0x10000000)\n"
      "open(p,'wb').write(b)\n";
  const fs::path file = zip.parent_path() / "patch.py";
  ziptest::WriteFile(file, script);
  ASSERT_EQ(Shell("python3 " + Q(file) + " " + Q(zip) + " " + how + " " + Q(name)), 0) << how << " " << name;
}

// A product-like tree: many files of very different sizes in folders, some
// that compress well and some that do not.
void MakeTree(const fs::path& root) {
  std::mt19937 rng(11);
  for (int i = 0; i < 40; ++i) {
    std::string data;
    // Some larger than the fast decoder's span, whose bytes are checked and
    // written on another thread while they are decoded.
    const std::size_t size = i % 7 == 0 ? 0 : i % 5 == 0 ? 600000 + rng() % 2000000 : rng() % 90000;
    if (i % 3 == 0) {
      data.resize(size);
      for (char& c : data) c = static_cast<char>(rng());
    } else {
      while (data.size() < size) data += "waybill " + std::to_string(rng() % 100000) + " loaded\n";
    }
    std::string folder(1, 'd'), file(1, 'f');
    folder += std::to_string(i % 4);
    file += std::to_string(i) + ".dat";
    ziptest::WriteFile(root / folder / file, data);
  }
}

struct RunLog {
  std::vector<std::string> events;  // in the order they came
  std::map<int, std::vector<int>> filePercent;
  std::vector<int> totalPercent;
  bool otherThread = false;
  int result = -1;
  std::string error;
};

// Extracts `zip` into `dest` on `threads` threads, recording every event.
RunLog Extract(const fs::path& zip, const fs::path& dest, int threads, bool testOnly = false,
           TUZOverwriteMode mode = TUZOverwriteMode::Always) {
  RunLog log;
  const auto caller = std::this_thread::get_id();
  TUnZipper z;
  z.SetZipName(zip.string());
  z.SetDestDir(dest.string());
  z.SetRecreateDirs(true);
  z.SetOverwriteMode(mode);
  z.SetTestOnly(testOnly);
  z.SetThreads(threads);
  z.SetDoProcessMessages(false);
  int current = -1;
  auto note = [&](const std::string& what) {
    if (std::this_thread::get_id() != caller) log.otherThread = true;
    log.events.push_back(what);
  };
  z.OnStartUnZip = [&](TUnZipper& u, int i, std::string& name, bool& skip) {
    current = i;
    const std::string entry = u.Filename(i);
    note("start " + entry);
    if (entry == "f13.dat") skip = true;
    if (entry == "f14.dat") name = (dest / "renamed" / "fourteen.dat").string();
  };
  z.OnEndUnZip = [&](TUnZipper& u, int i, const std::string&) { note("end " + u.Filename(i)); };
  z.OnBadCRC = [&](TUnZipper& u, std::uint32_t, std::uint32_t, int i) { note("crc " + u.Filename(i)); };
  z.OnSkippingFile = [&](TUnZipper& u, TSkipReason r, const std::string&, int i, bool&) {
    note("skip " + u.Filename(i) + " " + std::to_string(static_cast<int>(r)));
  };
  z.OnBadPassword = [&](TUnZipper& u, int i, std::string& next) {
    note("password " + u.Filename(i));
    next = "secret";
  };
  z.OnFilePercentDone = [&](TUnZipper&, int p) { log.filePercent[current].push_back(p); };
  z.OnTotalPercentDone = [&](TUnZipper&, int p) { log.totalPercent.push_back(p); };
  z.SetDoAll(true);
  try {
    log.result = z.UnZip();
  } catch (const std::exception& e) {
    log.error = e.what();
  }
  return log;
}

// Every file below `root` by relative path, with its size and a hash of its
// bytes: short enough to print when two trees differ.
std::map<std::string, std::string> Digest(const fs::path& root) {
  std::map<std::string, std::string> digest;
  for (const auto& [name, bytes] : ziptest::Tree(root))
    digest[name] = std::to_string(bytes.size()) + ":" + std::to_string(std::hash<std::string>()(bytes));
  return digest;
}

std::vector<fs::path> Leftovers(const fs::path& root) {
  std::vector<fs::path> found;
  if (!fs::exists(root)) return found;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.path().string().find(".tw~") != std::string::npos) found.push_back(e.path());
  return found;
}

class Parallel : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ziptest::HaveTool("zip")) GTEST_SKIP() << "zip is not installed";
    MakeTree(dir_.Path() / "src");
    // Mostly deflated, some stored, one entry encrypted, two corrupt (one of
    // them large).
    ASSERT_EQ(Shell("cd " + Q(dir_.Path() / "src") + " && zip -q -r -n .dat:f1.dat ../a.zip d0 d1 && zip -q -r ../a.zip d2 d3 " +
                    "&& echo 'classified manifest' > s.txt && zip -q -P secret ../a.zip s.txt"),
              0);
    Patch(dir_.Path() / "a.zip", "flip", "d1/f9.dat");
    Patch(dir_.Path() / "a.zip", "flip", "d2/f10.dat");
  }
  TempDir dir_;
};

TEST_F(Parallel, SameFilesAndEventsAsOneThread) {
  const RunLog one = Extract(dir_.Path() / "a.zip", dir_.Path() / "one", 1);
  ASSERT_EQ(one.error, "");
  // The corrupt entries fail, the skipped one is not counted, the rest extract.
  EXPECT_EQ(one.result, 40 - 3 + 1 + 4);  // and the four folders
  for (int threads : {2, 4, 0}) {
    SCOPED_TRACE("threads " + std::to_string(threads));
    const fs::path dest = dir_.Path() / ("t" + std::to_string(threads));
    const RunLog many = Extract(dir_.Path() / "a.zip", dest, threads);
    EXPECT_EQ(many.error, "");
    EXPECT_EQ(many.result, one.result);
    EXPECT_EQ(many.events, one.events);
    EXPECT_FALSE(many.otherThread);
    EXPECT_EQ(Digest(dest), Digest(dir_.Path() / "one"));
    EXPECT_TRUE(Leftovers(dest).empty());
    // Each entry's percentages rise to where one thread's end (100, short of
    // it for a corrupt entry); so do the total's (short of 100: a skipped
    // and failed entries).
    for (const auto& [entry, percents] : many.filePercent) {
      EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end())) << entry;
      EXPECT_EQ(percents.back(), one.filePercent.at(entry).back()) << entry;
    }
    EXPECT_TRUE(std::is_sorted(many.totalPercent.begin(), many.totalPercent.end()));
    EXPECT_EQ(many.totalPercent.back(), one.totalPercent.back());
  }
  // What was extracted is what zip was given.
  const auto src = ziptest::Tree(dir_.Path() / "src");
  const auto out = ziptest::Tree(dir_.Path() / "one");
  EXPECT_EQ(out.count("d1/f9.dat"), 0u);
  EXPECT_EQ(out.count("d2/f10.dat"), 0u);
  EXPECT_TRUE(out.at("d2/f30.dat") == src.at("d2/f30.dat"));
  EXPECT_EQ(out.count("d1/f13.dat"), 0u);
  EXPECT_TRUE(out.at("renamed/fourteen.dat") == src.at("d2/f14.dat"));
  EXPECT_TRUE(out.at("s.txt") == src.at("s.txt"));
  EXPECT_TRUE(out.at("d1/f5.dat") == src.at("d1/f5.dat"));
}

TEST_F(Parallel, TestRunsGiveTheSameVerdicts) {
  const RunLog one = Extract(dir_.Path() / "a.zip", dir_.Path() / "none", 1, true);
  const RunLog many = Extract(dir_.Path() / "a.zip", dir_.Path() / "none", 3, true);
  EXPECT_EQ(many.events, one.events);
  EXPECT_EQ(many.result, one.result);
  EXPECT_FALSE(fs::exists(dir_.Path() / "none" / "d0"));
  EXPECT_TRUE(Leftovers(dir_.Path() / "none").empty());
}

TEST_F(Parallel, ExistingFilesKeptWithoutOverwrite) {
  std::map<int, RunLog> runs;
  for (int threads : {1, 4}) {
    const fs::path dest = dir_.Path() / ("kept" + std::to_string(threads));
    ziptest::WriteFile(dest / "d3" / "f3.dat", "mine");
    runs[threads] = Extract(dir_.Path() / "a.zip", dest, threads, false, TUZOverwriteMode::Never);
    EXPECT_EQ(ziptest::ReadFile(dest / "d3" / "f3.dat"), "mine");
    EXPECT_TRUE(Leftovers(dest).empty());
  }
  EXPECT_EQ(runs[4].events, runs[1].events);
  EXPECT_EQ(runs[4].result, runs[1].result);
  EXPECT_EQ(Digest(dir_.Path() / "kept4"), Digest(dir_.Path() / "kept1"));
}

// An entry whose data runs past the end of the archive ends the run with an
// error; the entries decoded ahead of it on other threads leave nothing.
TEST_F(Parallel, ArchiveEndingEarlyStopsTheRunCleanly) {
  ASSERT_EQ(Shell("cd " + Q(dir_.Path() / "src") + " && zip -q -r -0 ../cut.zip d0 && zip -q -r ../cut.zip d1 d2 d3"), 0);
  Patch(dir_.Path() / "cut.zip", "endless", "d0/f8.dat");
  const RunLog one = Extract(dir_.Path() / "cut.zip", dir_.Path() / "one", 1);
  const RunLog many = Extract(dir_.Path() / "cut.zip", dir_.Path() / "many", 4);
  ASSERT_NE(one.error, "");
  EXPECT_EQ(many.error, one.error);
  EXPECT_EQ(many.events, one.events);
  EXPECT_EQ(Digest(dir_.Path() / "many"), Digest(dir_.Path() / "one"));
  EXPECT_TRUE(Leftovers(dir_.Path() / "many").empty());
}

}  // namespace
}  // namespace unzip
