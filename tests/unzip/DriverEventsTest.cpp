// The extraction driver's rules and events, case by case: the default
// overwrite question and its handler, the password check byte taken from the
// CRC when the sizes precede the data, a decryption handler taking over; a run
// stopped or ended by an error, the date rules, the archive kept open, where
// folders and renamed targets land, the file time and attributes, files forced
// to disk, the percent totals and the failures OnBadCRC tells of.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <zlib.h>

#include <ctime>
#include <mutex>
#include <typeinfo>

#include "DeflateTestSupport.h"
#include "TempDir.h"
#include "ZipTestSupport.h"
#include "ZipWriter.h"
#include "core/Crc32.h"
#include "decode/ZipCrypt.h"
#include "platform/headless/Driver.h"
#include "unzip/UnZipper.h"

// Every file forced to disk, by the path it had then: the engine's fsync
// calls, seen on their way to the system.
namespace {
std::mutex flushedLock;
std::vector<std::string> flushed;
}  // namespace

extern "C" int fsync(int fd) {
  std::error_code error;
  const auto path = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error);
  {
    std::lock_guard<std::mutex> hold(flushedLock);
    flushed.push_back(path.string());
  }
  return static_cast<int>(syscall(SYS_fsync, fd));
}

namespace unzip {
namespace {

// How many of this process's open files are `path`.
int OpenCount(const fs::path& path) {
  const fs::path want = fs::weakly_canonical(path);
  int n = 0;
  for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    n += fs::read_symlink(fd.path(), error) == want;
  }
  return n;
}

std::time_t LocalTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  tm.tm_isdst = -1;
  return std::mktime(&tm);
}

std::time_t WriteTime(const fs::path& p) {
  struct stat st {};
  ::stat(p.c_str(), &st);
  return st.st_mtime;
}

void SetWriteTime(const fs::path& p, std::time_t t) {
  const struct timespec times[2] = {{0, UTIME_OMIT}, {t, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), times, 0), 0) << p;
}

// Every folder below `root`, by relative path.
std::vector<std::string> Folders(const fs::path& root) {
  std::vector<std::string> folders;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_directory()) folders.push_back(fs::relative(e.path(), root).string());
  std::sort(folders.begin(), folders.end());
  return folders;
}

std::uint32_t Crc(const std::string& data) {
  const auto* bytes = reinterpret_cast<const Bytef*>(data.data());
  return static_cast<std::uint32_t>(crc32(0, bytes, static_cast<uInt>(data.size())));
}

// The traditional encryption, written here from the application note so that
// the engine's decryption is checked against an independent encoder (and the
// stock unzip checks the archives).
class TestCipher {
 public:
  explicit TestCipher(const std::string& password) {
    for (char c : password) Update(static_cast<std::uint8_t>(c));
  }
  std::string Encrypt(const std::string& plain) { return Apply(plain, false); }
  std::string Decrypt(const std::string& cipher) { return Apply(cipher, true); }

 private:
  std::string Apply(const std::string& in, bool decrypt) {
    std::string out;
    for (char c : in) {
      const std::uint32_t t = (k2_ & 0xFFFF) | 2;
      const auto x = static_cast<std::uint8_t>(static_cast<std::uint8_t>(c) ^ ((t * (t ^ 1)) >> 8));
      Update(decrypt ? x : static_cast<std::uint8_t>(c));
      out += static_cast<char>(x);
    }
    return out;
  }
  void Update(std::uint8_t p) {
    k0_ = Crc32Byte(k0_, p);
    k1_ = (k1_ + (k0_ & 0xFF)) * 134775813u + 1;
    k2_ = Crc32Byte(k2_, static_cast<std::uint8_t>(k1_ >> 24));
  }
  std::uint32_t k0_ = 0x12345678u, k1_ = 0x23456789u, k2_ = 0x34567890u;
};

// One deflated entry encrypted with `password`, general-purpose flag bit 3
// clear; the header's check byte is the CRC's high byte, or the time's high
// byte when `timeCheckByte` (what bit 3 would call for).
std::string EncryptedArchive(const std::string& name, const std::string& plain, const std::string& password,
                             bool timeCheckByte) {
  const std::uint32_t crc = ~UpdateCrc32(kCrcPreset, reinterpret_cast<const std::uint8_t*>(plain.data()), plain.size());
  std::string header = "0123456789a";
  header += static_cast<char>(timeCheckByte ? testing_support::kZipDosTime >> 8 : crc >> 24);
  testing_support::ZipEntry e{name, plain};
  e.method = 8;
  e.flags = 1;  // encrypted, sizes in the header
  e.packed = TestCipher(password).Encrypt(header + deflatetest::RawDeflate(plain, 6, Z_DEFAULT_STRATEGY));
  return testing_support::MakeZip({e});
}

const std::string kPlain = [] {
  std::string s;
  for (int i = 0; i < 3000; ++i) s += "route " + std::to_string(i % 97) + "\n";
  return s;
}();

class DriverEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    platform::headless::SetEcho(false);
    z_.SetDoProcessMessages(false);
    z_.SetDestDir((dir_.Path() / "out").string());
    z_.SetDoAll(true);
    z_.OnSkippingFile = [this](TUnZipper&, TSkipReason reason, const std::string& name, int, bool&) {
      skips_.push_back(std::to_string(static_cast<int>(reason)) + " " + fs::path(name).filename().string());
    };
  }
  void TearDown() override { platform::headless::Reset(); }

  std::string Out(const std::string& name) { return ziptest::ReadFile(dir_.Path() / "out" / name); }
  fs::path OutPath() const { return dir_.Path() / "out"; }
  // Fixture `kind` of fixtures.py as the archive.
  fs::path UseFixture(const std::string& kind) {
    const fs::path zip = dir_.Path() / (kind + ".zip");
    ziptest::MakeFixture(kind, zip);
    z_.SetZipName(zip.string());
    return zip;
  }

  TempDir dir_;
  TUnZipper z_;
  std::vector<std::string> skips_;
};

// Without a handler the user is asked "Replace existing file NAME?" in a
// "File Exists Alert" box with Yes and No: Yes replaces, No keeps the file.
TEST_F(DriverEvents, DefaultOverwriteQuestion) {
  ziptest::MakeFixture("dates", dir_.Path() / "d.zip");
  z_.SetZipName((dir_.Path() / "d.zip").string());
  ziptest::WriteFile(dir_.Path() / "out" / "A.txt", "old A");
  ziptest::WriteFile(dir_.Path() / "out" / "b.txt", "old b");
  platform::headless::QueueMessageBoxReply(platform::MessageResult::No);   // b.txt, first in the archive
  platform::headless::QueueMessageBoxReply(platform::MessageResult::Yes);  // A.txt
  EXPECT_EQ(z_.UnZip(), 2);
  const auto& boxes = platform::headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "Replace existing file b.txt?");
  EXPECT_EQ(boxes[1].text, "Replace existing file A.txt?");
  for (const auto& box : boxes) {
    EXPECT_EQ(box.caption, "File Exists Alert");
    EXPECT_EQ(box.buttons, platform::MessageButtons::YesNo);
  }
  EXPECT_EQ(Out("b.txt"), "old b");
  EXPECT_EQ(Out("A.txt"), std::string(10, 'a'));
  EXPECT_EQ(skips_, std::vector<std::string>{"1 b.txt"});
}

// A handler decides instead of the box, starting from "do not overwrite", and
// may send the entry elsewhere.
TEST_F(DriverEvents, OverwriteHandler) {
  ziptest::MakeFixture("dates", dir_.Path() / "d.zip");
  z_.SetZipName((dir_.Path() / "d.zip").string());
  ziptest::WriteFile(dir_.Path() / "out" / "A.txt", "old A");
  ziptest::WriteFile(dir_.Path() / "out" / "b.txt", "old b");
  std::vector<std::string> asked;
  z_.OnPromptForOverwrite = [&](TUnZipper& sender, bool& overwrite, int index, std::string& name) {
    EXPECT_FALSE(overwrite);
    asked.push_back(sender.Filename(index));
    if (sender.Filename(index) == "A.txt") name = (dir_.Path() / "out" / "A-new.txt").string();
    overwrite = sender.Filename(index) == "A.txt";
  };
  EXPECT_EQ(z_.UnZip(), 2);
  EXPECT_EQ(asked, (std::vector<std::string>{"b.txt", "A.txt"}));
  EXPECT_TRUE(platform::headless::MessageBoxes().empty());
  EXPECT_EQ(Out("A.txt"), "old A");
  EXPECT_EQ(Out("A-new.txt"), std::string(10, 'a'));
  EXPECT_EQ(Out("b.txt"), "old b");
}

// An entry of a method this build does not decode shows one box per method
// and run; a handler of its own takes the box's place, told the method.
TEST_F(DriverEvents, UnknownMethodBoxAndHandler) {
  std::vector<testing_support::ZipEntry> entries;
  for (const char* name : {"a.bin", "b.bin"}) {
    testing_support::ZipEntry e{name, "data"};
    e.method = 97;
    entries.push_back(e);
  }
  const fs::path zip = dir_.Path() / "m.zip";
  ziptest::WriteFile(zip, testing_support::MakeZip(entries));
  z_.SetZipName(zip.string());
  EXPECT_EQ(z_.UnZip(), 0);
  ASSERT_EQ(platform::headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(platform::headless::MessageBoxes()[0].text, "Unknown Compression Method");
  EXPECT_EQ(platform::headless::MessageBoxes()[0].caption, "Zip Error");
  platform::headless::Reset();
  std::vector<std::uint16_t> told;
  z_.OnUnknownMethod = [&](TUnZipper&, std::uint16_t method) { told.push_back(method); };
  z_.SetDoAll(true);
  EXPECT_EQ(z_.UnZip(), 0);
  EXPECT_EQ(told, std::vector<std::uint16_t>{97});
  EXPECT_TRUE(platform::headless::MessageBoxes().empty());
  EXPECT_EQ(z_.LastError(), "Unknown Compression Method");
  EXPECT_FALSE(fs::exists(dir_.Path() / "out" / "a.bin"));
}

// With flag bit 3 clear the password is checked against the CRC's high byte:
// the stock unzip agrees with the archive, the right password extracts it, a
// wrong one, or a check byte taken from the time, is refused.
TEST_F(DriverEvents, CheckByteFromTheCrc) {
  const fs::path good = dir_.Path() / "good.zip", timed = dir_.Path() / "timed.zip";
  ziptest::WriteFile(good, EncryptedArchive("secret.txt", kPlain, "pw", false));
  ziptest::WriteFile(timed, EncryptedArchive("timed.txt", kPlain, "pw", true));
  if (ziptest::HaveTool("unzip")) {
    EXPECT_EQ(ziptest::Shell("unzip -tq -P pw " + ziptest::Q(good)), 0);
  }
  z_.SetZipName(good.string());
  z_.SetPassword("wrong");
  EXPECT_EQ(z_.UnZip(), 0);
  z_.SetPassword("pw");
  z_.SetDoAll(true);
  EXPECT_EQ(z_.UnZip(), 1);
  EXPECT_TRUE(Out("secret.txt") == kPlain);
  z_.SetZipName(timed.string());
  z_.SetDoAll(true);
  EXPECT_EQ(z_.UnZip(), 0);
  EXPECT_FALSE(fs::exists(dir_.Path() / "out" / "timed.txt"));
  EXPECT_EQ(skips_, (std::vector<std::string>{"0 secret.txt", "0 timed.txt"}));
}

// OnDecrypt replaces the built-in decryption of the entry's data: it gets
// every compressed byte after the 12-byte header, in order, with the password.
TEST_F(DriverEvents, DecryptHandlerTakesOver) {
  const std::string archive = EncryptedArchive("secret.txt", kPlain, "pw", false);
  const fs::path zip = dir_.Path() / "e.zip";
  ziptest::WriteFile(zip, archive);
  z_.SetZipName(zip.string());
  z_.SetPassword("pw");
  TZipKeys keys;
  keys.Init("pw");
  // The handler's keys start where the header leaves them.
  const std::size_t dataAt = kLocalHeaderSize + std::string("secret.txt").size();
  std::string header = archive.substr(dataAt, kCryptHeaderSize);
  keys.Decrypt(reinterpret_cast<std::uint8_t*>(header.data()), header.size());
  std::size_t handed = 0;
  z_.OnDecrypt = [&](TUnZipper&, std::uint8_t* buffer, int length, const std::string& password) {
    EXPECT_EQ(password, "pw");
    handed += static_cast<std::size_t>(length);
    keys.Decrypt(buffer, static_cast<std::size_t>(length));
  };
  EXPECT_EQ(z_.UnZip(), 1);
  EXPECT_TRUE(Out("secret.txt") == kPlain);
  EXPECT_EQ(handed, deflatetest::RawDeflate(kPlain, 6, Z_DEFAULT_STRATEGY).size());
}


// A run that processes no entry, because OnStartUnZipInfo set StopNow or no
// pattern matched: the event still tells what was selected, OnUnZipComplete
// reports 0, the patterns are gone and nothing is written (though DestDir is
// made).
TEST_F(DriverEvents, RunsThatProcessNoEntry) {
  struct Case {
    const char* what;
    std::string pattern;
    bool stop;
    int numFiles;
    std::int64_t totalBytes;
  };
  const Case cases[] = {
      {"StopNow", "*", true, 3, 710},
      {"no pattern matches", "*.exe", false, 0, 0},
  };
  UseFixture("dates");
  z_.SetDoAll(false);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(OutPath());
    std::vector<std::string> events;
    z_.OnStartUnZipInfo = [&](TUnZipper&, int numFiles, std::int64_t totalBytes, bool& stop) {
      EXPECT_FALSE(stop);
      events.push_back("info " + std::to_string(numFiles) + " " + std::to_string(totalBytes));
      stop = c.stop;
    };
    z_.OnStartUnZip = [&](TUnZipper&, int, std::string& name, bool&) { events.push_back("start " + name); };
    z_.OnUnZipComplete = [&](TUnZipper&, int count) { events.push_back("complete " + std::to_string(count)); };
    z_.FilesList() = {c.pattern};
    EXPECT_EQ(z_.UnZip(), 0);
    EXPECT_EQ(events, (std::vector<std::string>{"info " + std::to_string(c.numFiles) + " " +
                                                    std::to_string(c.totalBytes),
                                                "complete 0"}));
    EXPECT_TRUE(z_.FilesList().empty());
    EXPECT_TRUE(fs::is_directory(OutPath()));
    EXPECT_TRUE(fs::is_empty(OutPath()));
  }
}

// ifNewer replaces a file only when the entry's time is later than the file's
// last-write time, ifOlder only when it is earlier; a file kept is reported
// with reason 1 and the target path.
TEST_F(DriverEvents, IfNewerAndIfOlderCompareTheEntryWithTheFile) {
  struct Case {
    TUZOverwriteMode mode;
    std::time_t existing;
    bool replaced;
  };
  const std::time_t entry = LocalTime(2022, 1, 1);  // A.txt's stored time
  const Case cases[] = {
      {TUZOverwriteMode::ifNewer, entry - 2, true},  {TUZOverwriteMode::ifNewer, entry, false},
      {TUZOverwriteMode::ifNewer, entry + 2, false}, {TUZOverwriteMode::ifOlder, entry - 2, false},
      {TUZOverwriteMode::ifOlder, entry, false},     {TUZOverwriteMode::ifOlder, entry + 2, true},
  };
  UseFixture("dates");
  z_.SetDoAll(false);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.mode)) + " existing at entry " +
                 std::to_string(c.existing - entry) + " s");
    skips_.clear();
    ziptest::WriteFile(OutPath() / "A.txt", "old");
    SetWriteTime(OutPath() / "A.txt", c.existing);
    z_.SetOverwriteMode(c.mode);
    z_.FilesList() = {"a.txt"};
    EXPECT_EQ(z_.UnZip(), c.replaced ? 1 : 0);
    EXPECT_EQ(Out("A.txt"), c.replaced ? std::string(10, 'a') : "old");
    EXPECT_EQ(WriteTime(OutPath() / "A.txt"), c.replaced ? entry : c.existing);
    EXPECT_EQ(skips_, c.replaced ? std::vector<std::string>{} : std::vector<std::string>{"1 A.txt"});
  }
}

// The archive stays open between operations with KeepZipOpen, and is closed
// after each one without it; a run keeps it open whatever the setting and
// gives the setting back; ClearArchive closes it in any case.
TEST_F(DriverEvents, KeepZipOpen) {
  const fs::path zip = UseFixture("dates");
  for (const bool keep : {false, true}) {
    SCOPED_TRACE(keep ? "KeepZipOpen" : "closed between operations");
    fs::remove_all(OutPath());
    z_.SetZipName(zip.string());
    z_.SetKeepZipOpen(keep);
    z_.ReadZip();
    EXPECT_EQ(OpenCount(zip), keep ? 1 : 0);
    z_.OnStartUnZip = [&](TUnZipper& sender, int, std::string&, bool&) {
      EXPECT_TRUE(sender.KeepZipOpen());
      EXPECT_EQ(OpenCount(zip), 1);
    };
    z_.SetDoAll(true);
    EXPECT_EQ(z_.UnZip(), 3);
    EXPECT_EQ(z_.KeepZipOpen(), keep);
    EXPECT_EQ(OpenCount(zip), keep ? 1 : 0);
    z_.ClearArchive();
    EXPECT_EQ(OpenCount(zip), 0);
  }
}

// Where entries land and which folders are made: without RecreateDirs every
// file goes directly into DestDir and folder entries make nothing, though with
// DoAll they are processed and counted (not selected: NumFiles leaves them
// out); with it the stored folders are made below DestDir, RootDir (in any
// letter case) dropped from the front of each.
TEST_F(DriverEvents, WhereFilesAndFoldersLand) {
  struct Case {
    const char* what;
    bool doAll;
    bool recreateDirs;
    std::string rootDir;
    int count;
    int numFiles;
    std::vector<std::string> files;
    std::vector<std::string> folders;
  };
  const std::vector<std::string> flat = {"readme.txt", "top.c", "x.c", "y.c", "z.c"};
  const Case cases[] = {
      {"DoAll, no folders", true, false, "", 10, 5, flat, {}},
      {"patterns, no folders", false, false, "", 5, 5, flat, {}},
      {"folders", true, true, "", 10, 10,
       {"SRC/lib/x.c", "other/z.c", "readme.txt", "src/top.c", "srcfoo/y.c"},
       {"SRC", "SRC/lib", "other", "src", "srcfoo"}},
      {"folders below RootDir", true, true, "src", 10, 10,
       {"lib/x.c", "other/z.c", "readme.txt", "srcfoo/y.c", "top.c"},
       {"lib", "other", "srcfoo"}},
  };
  UseFixture("folders");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(OutPath());
    int numFiles = -1;
    z_.OnStartUnZipInfo = [&](TUnZipper&, int n, std::int64_t, bool&) { numFiles = n; };
    int started = 0;
    z_.OnStartUnZip = [&](TUnZipper&, int, std::string&, bool&) { ++started; };
    z_.SetDoAll(c.doAll);
    z_.SetRecreateDirs(c.recreateDirs);
    z_.SetRootDir(c.rootDir);
    if (!c.doAll) z_.FilesList() = {"*"};
    EXPECT_EQ(z_.UnZip(), c.count);
    EXPECT_EQ(numFiles, c.numFiles);
    EXPECT_EQ(started, 5) << "OnStartUnZip is for files only";
    std::vector<std::string> files;
    for (const auto& [name, bytes] : ziptest::Tree(OutPath())) files.push_back(name);
    EXPECT_EQ(files, c.files);
    EXPECT_EQ(Folders(OutPath()), c.folders);
  }
}

// Two selected entries of one file name, folders not recreated: the second
// meets the overwrite rule, here the default question, also when entries are
// decoded ahead on worker threads.
TEST_F(DriverEvents, TwoEntriesOfOneNameMeetTheOverwriteRule) {
  struct Case {
    platform::MessageResult reply;
    int threads;
    std::string content;
  };
  const Case cases[] = {
      {platform::MessageResult::Yes, 1, "second\n"},
      {platform::MessageResult::No, 1, "first\n"},
      {platform::MessageResult::Yes, 2, "second\n"},
      {platform::MessageResult::No, 2, "first\n"},
  };
  UseFixture("twins");
  for (const Case& c : cases) {
    const bool yes = c.reply == platform::MessageResult::Yes;
    SCOPED_TRACE(std::string(yes ? "Yes" : "No") + " on " + std::to_string(c.threads) + " threads");
    platform::headless::Reset();
    fs::remove_all(OutPath());
    skips_.clear();
    z_.SetThreads(c.threads);
    z_.SetDoAll(false);
    z_.FilesList() = {"*x.txt"};
    platform::headless::QueueMessageBoxReply(c.reply);
    EXPECT_EQ(z_.UnZip(), yes ? 2 : 1);
    ASSERT_EQ(platform::headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(platform::headless::MessageBoxes()[0].text, "Replace existing file x.txt?");
    EXPECT_EQ(platform::headless::MessageBoxes()[0].caption, "File Exists Alert");
    EXPECT_EQ(Out("x.txt"), c.content);
    EXPECT_EQ(skips_, yes ? std::vector<std::string>{} : std::vector<std::string>{"1 x.txt"});
    EXPECT_EQ(ziptest::Tree(OutPath()).size(), 1u);
  }
}

// The last-write time is the stored DOS time (local time) whether or not the
// stored attributes are given; RetainAttributes is what makes a read-only
// entry a read-only file.
TEST_F(DriverEvents, FileTimeAndAttributes) {
  UseFixture("modes");
  for (const bool retain : {true, false}) {
    SCOPED_TRACE(retain ? "RetainAttributes" : "without RetainAttributes");
    fs::remove_all(OutPath());
    z_.SetRetainAttributes(retain);
    z_.SetDoAll(true);
    EXPECT_EQ(z_.UnZip(), 2);
    EXPECT_EQ(WriteTime(OutPath() / "ro.txt"), LocalTime(2022, 1, 1));
    EXPECT_EQ(WriteTime(OutPath() / "rw.txt"), LocalTime(2020, 6, 15, 13, 14, 16));
    const auto perms = [&](const char* name) { return fs::status(OutPath() / name).permissions(); };
    EXPECT_EQ(perms("ro.txt") & fs::perms::owner_write, retain ? fs::perms::none : fs::perms::owner_write);
    EXPECT_EQ(perms("rw.txt") & fs::perms::owner_write, fs::perms::owner_write);
    if (retain) {
      EXPECT_EQ(perms("ro.txt"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
  }
}

// A handler that cancels (EUserCanceled, which the decoders pass on) ends the
// run and UnZip, after the run's end: OnUnZipComplete with the count so far,
// the patterns cleared, the archive closed and KeepZipOpen given back. The
// entry it struck leaves no file, also when it struck in the middle of the
// data (a file written so far is not kept).
TEST_F(DriverEvents, ARunEndedByAnErrorStillCompletes) {
  const fs::path zip = UseFixture("dates");
  for (const bool halfway : {false, true}) {
    SCOPED_TRACE(halfway ? "OnFilePercentDone throws" : "OnStartUnZip throws");
    fs::remove_all(OutPath());
    z_.OnStartUnZip = [&](TUnZipper& sender, int index, std::string&, bool&) {
      if (!halfway && sender.Filename(index) == "A.txt") throw EUserCanceled("stopped");
    };
    int percents = 0;
    z_.OnFilePercentDone = [&](TUnZipper&, int) {
      if (halfway && ++percents == 2) throw EUserCanceled("stopped");
    };
    std::vector<int> completed;
    z_.OnUnZipComplete = [&](TUnZipper&, int count) { completed.push_back(count); };
    z_.SetDoAll(false);
    z_.FilesList() = {"*.txt"};
    EXPECT_THROW(z_.UnZip(), EUserCanceled);
    EXPECT_EQ(completed, std::vector<int>{1});
    EXPECT_TRUE(z_.FilesList().empty());
    EXPECT_FALSE(z_.KeepZipOpen());
    EXPECT_EQ(OpenCount(zip), 0);
    EXPECT_EQ(ziptest::Tree(OutPath()), (std::map<std::string, std::string>{{"b.txt", std::string(200, 'b')}}));
  }
}

// An archive whose directory cannot be read fails UnZip before any run: no
// run event, the patterns stay (a caller that adds them again has each twice,
// which selects the same entries), and the archive is closed, so that it may
// be replaced at once.
TEST_F(DriverEvents, DirectoryErrorsComeBeforeTheRun) {
  struct Case {
    const char* what;
    std::function<void(const fs::path&)> make;
    const std::type_info& error;
    std::string message;
  };
  const Case cases[] = {
      {"no end record", [](const fs::path& p) { ziptest::WriteFile(p, std::string(3000, 'x')); },
       typeid(EIncompleteZip), "Incomplete Zip File"},
      {"damaged directory", [](const fs::path& p) { ziptest::MakeFixture("broken_directory", p); },
       typeid(EBadZipFile), "Not a valid zip file!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path zip = dir_.Path() / (std::string(c.what) + ".zip");
    c.make(zip);
    std::vector<std::string> events;
    z_.OnStartUnZipInfo = [&](TUnZipper&, int, std::int64_t, bool&) { events.push_back("info"); };
    z_.OnUnZipComplete = [&](TUnZipper&, int) { events.push_back("complete"); };
    z_.SetDoAll(false);
    z_.SetZipName(zip.string());
    z_.FilesList() = {"*.txt"};
    try {
      z_.UnZip();
      ADD_FAILURE() << "no error";
    } catch (const std::exception& e) {
      EXPECT_TRUE(typeid(e) == c.error) << typeid(e).name();
      EXPECT_STREQ(e.what(), c.message.c_str());
    }
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(z_.FilesList(), std::vector<std::string>{"*.txt"});
    EXPECT_EQ(OpenCount(zip), 0);
    ziptest::MakeFixture("modes", zip);
    z_.SetZipName(zip.string());
    z_.FilesList().push_back("*.txt");
    EXPECT_EQ(z_.UnZip(), 2);
    EXPECT_EQ(events, (std::vector<std::string>{"info", "complete"}));
    EXPECT_TRUE(z_.FilesList().empty());
    fs::remove_all(OutPath());
  }
}

// OnStartUnZip may send an entry elsewhere: its folder is made, the
// overwrite rule and OnEndUnZip see the new name.
TEST_F(DriverEvents, OnStartUnZipChangesTheTarget) {
  UseFixture("dates");
  ziptest::WriteFile(OutPath() / "taken.txt", "taken");
  z_.SetOverwriteMode(TUZOverwriteMode::Never);
  z_.OnStartUnZip = [&](TUnZipper& sender, int index, std::string& name, bool&) {
    if (sender.Filename(index) == "b.txt") name = (OutPath() / "renamed" / "deeper" / "b-new.txt").string();
    if (sender.Filename(index) == "A.txt") name = (OutPath() / "taken.txt").string();
  };
  std::vector<std::string> ended;
  z_.OnEndUnZip = [&](TUnZipper&, int, const std::string& name) {
    ended.push_back(fs::relative(name, OutPath()).string());
  };
  EXPECT_EQ(z_.UnZip(), 2);
  EXPECT_EQ(ended, (std::vector<std::string>{"renamed/deeper/b-new.txt", "d.txt"}));
  EXPECT_EQ(skips_, std::vector<std::string>{"1 taken.txt"});
  std::string d;
  for (int i = 0; i < 50; ++i) d += "0123456789";
  EXPECT_EQ(ziptest::Tree(OutPath()), (std::map<std::string, std::string>{
                                          {"d.txt", d}, {"renamed/deeper/b-new.txt", std::string(200, 'b')},
                                          {"taken.txt", "taken"}}));
}

// FlushFilesOnClose forces every extracted file to disk as it is closed,
// whichever thread wrote it; without it none is.
TEST_F(DriverEvents, FlushFilesOnClose) {
  struct Case {
    bool flush;
    int threads;
    std::size_t flushed;
  };
  const Case cases[] = {{false, 1, 0}, {true, 1, 3}, {false, 2, 0}, {true, 2, 3}};
  UseFixture("dates");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.flush ? "flushed" : "not flushed") + " on " + std::to_string(c.threads) + " threads");
    fs::remove_all(OutPath());
    {
      std::lock_guard<std::mutex> hold(flushedLock);
      flushed.clear();
    }
    z_.SetFlushFilesOnClose(c.flush);
    z_.SetThreads(c.threads);
    z_.SetDoAll(true);
    EXPECT_EQ(z_.UnZip(), 3);
    const std::string out = fs::weakly_canonical(OutPath()).string() + "/";
    std::lock_guard<std::mutex> hold(flushedLock);
    const auto below = [&](const std::string& p) { return p.rfind(out, 0) == 0; };
    EXPECT_EQ(static_cast<std::size_t>(std::count_if(flushed.begin(), flushed.end(), below)), c.flushed);
  }
}

// The total percent counts the bytes written against the expected total. An
// entry refused before its data is decoded (wrong password, the overwrite
// rule) leaves the total; one skipped by OnStartUnZip stays in it, and so does
// one that fails once decoded, its bytes counted. An entry decoded again with
// a new password counts once.
TEST_F(DriverEvents, TotalPercentAndTheExpectedTotal) {
  TW_REQUIRE_TOOL("zip");
  const fs::path in = dir_.Path() / "in";
  ziptest::WriteFile(in / "a.bin", std::string(70000, 'a'));
  ziptest::WriteFile(in / "b.bin", std::string(70000, 'b'));
  ASSERT_EQ(Shell("cd " + Q(in) + " && zip -q -0 ../plain.zip a.bin b.bin && zip -q -0 -P pw ../enc.zip a.bin && "
                  "zip -q -0 ../enc.zip b.bin"),
            0);
  // The same archives with a.bin's CRC damaged in its central record.
  for (const char* name : {"plain", "enc"}) {
    std::string bytes = ziptest::ReadFile(dir_.Path() / (std::string(name) + ".zip"));
    bytes[bytes.find("PK\x01\x02") + 16] ^= 1;
    ziptest::WriteFile(dir_.Path() / (std::string(name) + "-badcrc.zip"), bytes);
  }
  // Passwords other than "pw" that a.bin's one check byte accepts and refuses.
  const std::string enc = ziptest::ReadFile(dir_.Path() / "enc.zip");
  const auto field = [&](std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(enc[at])) |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(enc[at + 1])) << 8;
  };
  const bool timeCheck = (field(6) & kFlagDataDescriptor) != 0;
  const auto check = static_cast<std::uint8_t>(timeCheck ? field(10) >> 8 : field(16) >> 8);
  const std::string header = enc.substr(kLocalHeaderSize + field(26) + field(28), kCryptHeaderSize);
  std::string accepted, refused;
  for (int n = 0; accepted.empty() || refused.empty(); ++n) {
    const std::string candidate = "p" + std::to_string(n);
    const bool passes = static_cast<std::uint8_t>(TestCipher(candidate).Decrypt(header).back()) == check;
    (passes ? accepted : refused) = candidate;
  }

  struct Case {
    const char* what;
    std::string zip;
    std::string password;
    bool skipFirst = false;
    bool keepExisting = false;
    std::string newPassword = "";  // what OnBadPassword offers
    std::vector<int> total = {};
  };
  const std::vector<int> whole = {23, 47, 50, 73, 97, 100};
  const Case cases[] = {
      {"all extracted", "plain", "", false, false, "", whole},
      {"skipped by OnStartUnZip", "plain", "", true, false, "", {23, 47, 50}},
      {"kept by the overwrite rule", "plain", "", false, true, "", {47, 94, 100}},
      {"wrong password", "enc", refused, false, false, "", {47, 94, 100}},
      {"CRC failure", "plain-badcrc", "", false, false, "", whole},
      {"CRC failure of an encrypted entry", "enc-badcrc", "pw", false, false, "", whole},
      {"decoded again with a new password", "enc", accepted, false, false, "pw", {23, 47, 50, 23, 47, 50, 73, 97, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(OutPath());
    if (c.keepExisting) ziptest::WriteFile(OutPath() / "a.bin", "old");
    z_.SetOverwriteMode(c.keepExisting ? TUZOverwriteMode::Never : TUZOverwriteMode::Always);
    z_.SetZipName((dir_.Path() / (c.zip + ".zip")).string());
    z_.SetPassword(c.password);
    z_.OnBadPassword = [&](TUnZipper&, int, std::string& next) {
      if (!c.newPassword.empty()) next = c.newPassword;
    };
    z_.OnStartUnZip = [&](TUnZipper& sender, int index, std::string&, bool& skip) {
      skip = c.skipFirst && sender.Filename(index) == "a.bin";
    };
    std::vector<int> total;
    z_.OnTotalPercentDone = [&](TUnZipper&, int percent) { total.push_back(percent); };
    z_.SetDoAll(true);
    z_.UnZip();
    EXPECT_EQ(total, c.total);
  }
}

// OnBadCRC tells of every entry that is not encrypted and fails, with the CRC
// of what was decoded: one that fails its CRC, and also one that failed for
// another reason although what came out matches the stored CRC (EntryError
// says why): data running past the declared size, a method this build does
// not decode. No such entry is extracted.
TEST_F(DriverEvents, OnBadCRCTellsOfEveryFailedEntry) {
  UseFixture("failing");
  std::string data;
  while (data.size() < 65536) data += "route 7 of the manifest\n";
  data.resize(65536);
  struct Told {
    std::string name;
    std::uint32_t calc, stored;
    std::string why;
  };
  std::vector<Told> told;
  z_.OnBadCRC = [&](TUnZipper& sender, std::uint32_t calc, std::uint32_t stored, int index) {
    told.push_back({sender.Filename(index), calc, stored, sender.EntryError()});
  };
  z_.OnUnknownMethod = nullptr;
  EXPECT_EQ(z_.UnZip(), 0);
  const std::vector<Told> expected = {
      {"long.txt", Crc(data), Crc(data), "File is larger than uncompressed size!"},
      {"empty97.txt", 0, 0, "unsupported compression method 97"},
      {"badcrc.txt", Crc(data), Crc(data.substr(0, data.size() - 1) + "?"), ""},
  };
  ASSERT_EQ(told.size(), expected.size());
  for (std::size_t i = 0; i < told.size(); ++i) {
    EXPECT_EQ(told[i].name, expected[i].name);
    EXPECT_EQ(told[i].calc, expected[i].calc) << told[i].name;
    EXPECT_EQ(told[i].stored, expected[i].stored) << told[i].name;
    EXPECT_EQ(told[i].why, expected[i].why) << told[i].name;
  }
  EXPECT_TRUE(fs::is_empty(OutPath()));
}
}  // namespace
}  // namespace unzip
