// Multi-volume archives: blocked files made by the stock zip's -s option and
// renamed to the engine's volume names (name.001, name.002 ... and the last
// file, with the end record, under the archive's own name), removable disks
// simulated through the headless drive stand-in, and the ".zfc" side file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "TempDir.h"
#include "ZipTestSupport.h"
#include "archive/ZipHeaders.h"
#include "platform/headless/Driver.h"
#include "unzip/UnZipper.h"

namespace unzip {
namespace {

namespace headless = platform::headless;

// About 5 MB: compressible text, stored and deflated pseudo-random bytes that
// each run across volume ends, a small and an empty file, and a folder.
void MakeTree(const fs::path& root) {
  std::mt19937 rng(11);
  std::string text;
  while (text.size() < 2000000) text += "consignment " + std::to_string(rng() % 100000) + " left the depot\n";
  ziptest::WriteFile(root / "docs" / "manifest.txt", text);
  ziptest::WriteFile(root / "docs" / "readme.txt", "read me\n");
  const auto noise = testing_support::PseudoRandomBytes(3000000, 5);
  ziptest::WriteFile(root / "data" / "stored.bin", std::string(noise.begin(), noise.begin() + 1500000));
  ziptest::WriteFile(root / "data" / "noise.dat", std::string(noise.begin() + 1500000, noise.end()));
  ziptest::WriteFile(root / "data" / "empty.dat", "");
  fs::create_directories(root / "emptydir");
}

// Blocks `src` into `zip` with the stock tool, .bin files stored, with the
// archive comment "the set comment" (after the entries' comments in
// `entryComments` when the options ask for them), and renames name.z01,
// name.z02 ... (volumes 0, 1 ...) to name.001, name.002 ...
// Returns the number of volumes.
int MakeBlocked(const fs::path& src, const fs::path& zip, const std::string& options,
                const std::string& entryComments = "") {
  const fs::path comments = zip.parent_path() / "comments.txt";
  ziptest::WriteFile(comments, entryComments + "the set comment\n");
  const std::string command =
      "cd " + Q(src) + " && zip -q -r -n .bin -z " + options + " " + Q(zip) + " . < " + Q(comments);
  EXPECT_EQ(Shell(command), 0) << command;
  fs::remove(comments);
  int volumes = 1;
  for (;; ++volumes) {
    char ext[16];
    std::snprintf(ext, sizeof ext, ".z%02d", volumes);
    fs::path split = zip;
    if (!fs::exists(split.replace_extension(ext))) break;
    std::snprintf(ext, sizeof ext, ".%03d", volumes);
    fs::path renamed = zip;
    fs::rename(split, renamed.replace_extension(ext));
  }
  return volumes;
}

fs::path Volume(const fs::path& zip, int volume) {
  char ext[16];
  std::snprintf(ext, sizeof ext, ".%03d", volume + 1);
  fs::path p = zip;
  return p.replace_extension(ext);
}

// Runs the unzipper tool; its standard error goes to `err`.
int RunTool(const std::string& args, std::string* err = nullptr) {
  TempDir scratch;
  const fs::path errFile = scratch.Path() / "stderr";
  const int status = std::system((ziptest::Unzipper() + " " + args + " >/dev/null 2>" + Q(errFile)).c_str());
  if (err) *err = ziptest::ReadFile(errFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// No partly written file or leftover temporary: whatever is in `out` is
// complete and equal to its source.
void ExpectOnlyCompleteFiles(const fs::path& out, const std::map<std::string, std::string>& source) {
  for (const auto& [name, bytes] : ziptest::Tree(out)) {
    const auto want = source.find(name);
    ASSERT_NE(want, source.end()) << name;
    EXPECT_TRUE(bytes == want->second) << name << " is incomplete";
  }
}

class BlockedArchive : public ::testing::Test {
 protected:
  void SetUp() override {
    TW_REQUIRE_TOOL("zip");
    MakeTree(dir_.Path() / "src");
    source_ = ziptest::Tree(dir_.Path() / "src");
    zip_ = dir_.Path() / "set.zip";
    volumes_ = MakeBlocked(dir_.Path() / "src", zip_, "-s 1m");
    ASSERT_GE(volumes_, 4);
  }
  fs::path Out() const { return dir_.Path() / "out"; }

  TempDir dir_;
  std::map<std::string, std::string> source_;
  fs::path zip_;
  int volumes_ = 0;
};

TEST_F(BlockedArchive, ListsAndExtractsEveryEntryFromItsLastFile) {
  TUnZipper z;
  z.SetDoProcessMessages(false);
  std::vector<std::pair<int, std::string>> asked;
  auto standard = z.OnGetNextDisk;
  z.OnGetNextDisk = [&](TUnZipper& sender, int nextDisk, std::string& name) {
    standard(sender, nextDisk, name);
    asked.emplace_back(nextDisk, fs::path(name).filename().string());
  };
  z.SetZipName(zip_.string());
  z.ReadZip();
  EXPECT_EQ(z.SpanKind(), 2);
  EXPECT_EQ(z.EndCentral().ThisDisk, volumes_ - 1);
  EXPECT_EQ(z.ArchiveComment(), "the set comment");
  std::map<std::string, std::uint32_t> listed;
  for (int i = 0; i < z.EntryCount(); ++i) listed[z.Entry(i).StoredPath()] = z.Entry(i).UncompressedSize;
  EXPECT_EQ(listed.size(), 8u);
  EXPECT_EQ(listed["data\\noise.dat"], 1500000u);
  EXPECT_TRUE(listed.count("emptydir\\"));

  // A sorted view is walked in archive order for the run, and restored.
  z.SetSortMode(TZipSortMode::ByUnCompressedSize);
  z.SortEntries(TZipSortMode::ByUnCompressedSize);
  z.SetDoAll(true);
  z.SetRecreateDirs(true);
  z.SetDestDir(Out().string());
  int crcFailures = 0;
  z.OnBadCRC = [&](TUnZipper&, std::uint32_t, std::uint32_t, int) { ++crcFailures; };
  EXPECT_EQ(z.UnZip(), 8);
  EXPECT_EQ(crcFailures, 0);
  EXPECT_TRUE(ziptest::Tree(Out()) == source_);
  EXPECT_TRUE(fs::is_directory(Out() / "emptydir"));
  EXPECT_EQ(z.SortMode(), TZipSortMode::ByUnCompressedSize);
  // Every volume was asked for once, in order; the last one is the archive's own file.
  ASSERT_EQ(asked.size(), static_cast<std::size_t>(volumes_));
  for (int v = 0; v < volumes_; ++v) {
    EXPECT_EQ(asked[v].first, v + 1);
    EXPECT_EQ(asked[v].second, v + 1 < volumes_ ? Volume(zip_, v).filename().string() : "set.zip");
  }
  EXPECT_EQ(z.CurrentVolume(), volumes_ - 1);
}

TEST_F(BlockedArchive, TheToolListsTestsAndExtractsIt) {
  std::string err;
  EXPECT_EQ(RunTool("list " + Q(zip_), &err), 0) << err;
  EXPECT_EQ(RunTool("test " + Q(zip_), &err), 0) << err;
  EXPECT_EQ(RunTool("extract " + Q(zip_) + " -d " + Q(Out()), &err), 0) << err;
  EXPECT_TRUE(ziptest::Tree(Out()) == source_);
}

// A component that read an archive behind a self-extractor's stub (offsets
// not adjusted) reads the next archive it is given without that shift.
TEST_F(BlockedArchive, NothingOfTheArchiveReadBeforeCarriesOver) {
  const fs::path single = dir_.Path() / "single.zip";
  ASSERT_EQ(Shell("cd " + Q(dir_.Path() / "src" / "docs") + " && zip -q " + Q(single) + " readme.txt"), 0);
  ziptest::WriteFile(single, std::string(777, 'S') + ziptest::ReadFile(single));
  TUnZipper z;
  z.SetDoProcessMessages(false);
  z.SetDoAll(true);
  z.SetZipName(single.string());
  z.SetDestDir((dir_.Path() / "first").string());
  EXPECT_EQ(z.UnZip(), 1);
  z.SetZipName(zip_.string());
  z.SetDoAll(true);
  z.SetRecreateDirs(true);
  z.SetDestDir(Out().string());
  EXPECT_EQ(z.UnZip(), 8);
  EXPECT_TRUE(ziptest::Tree(Out()) == source_);
}

TEST_F(BlockedArchive, EncryptedEntriesAcrossVolumes) {
  fs::remove_all(dir_.Path() / "enc");
  const fs::path enc = dir_.Path() / "enc" / "locked.zip";
  fs::create_directories(enc.parent_path());
  ASSERT_GE(MakeBlocked(dir_.Path() / "src", enc, "-s 1m -P s3cret"), 4);
  std::string err;
  EXPECT_EQ(RunTool("extract " + Q(enc) + " -d " + Q(Out()) + " -P s3cret", &err), 0) << err;
  EXPECT_TRUE(ziptest::Tree(Out()) == source_);
}

TEST_F(BlockedArchive, AMissingVolumeFailsClearly) {
  fs::remove(Volume(zip_, 1));
  // The directory is on the last volume: listing still works.
  TUnZipper z;
  z.SetDoProcessMessages(false);
  z.SetZipName(zip_.string());
  z.ReadZip();
  EXPECT_EQ(z.EntryCount(), 8);
  z.SetDoAll(true);
  z.SetRecreateDirs(true);
  z.SetDestDir(Out().string());
  int asked = 0;
  auto standard = z.OnGetNextDisk;
  z.OnGetNextDisk = [&](TUnZipper& sender, int nextDisk, std::string& name) {
    ++asked;
    standard(sender, nextDisk, name);
  };
  try {
    z.UnZip();
    FAIL() << "extracted without volume 1";
  } catch (const EUserCanceled& e) {
    EXPECT_NE(std::string(e.what()).find("disk 2"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find(Volume(zip_, 1).string()), std::string::npos) << e.what();
  }
  // Disk 1, then disk 2 twice: the same missing name ends the request.
  EXPECT_EQ(asked, 3);
  ExpectOnlyCompleteFiles(Out(), source_);

  std::string err;
  EXPECT_EQ(RunTool("list " + Q(zip_), &err), 0) << err;
  fs::remove_all(Out());
  EXPECT_EQ(RunTool("extract " + Q(zip_) + " -d " + Q(Out()), &err), 2);
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  EXPECT_NE(err.find("set.002"), std::string::npos) << err;
  ExpectOnlyCompleteFiles(Out(), source_);
  EXPECT_EQ(RunTool("test " + Q(zip_), &err), 2) << err;
}

TEST_F(BlockedArchive, CancelledOrMissingVolumeRequests) {
  struct Case {
    const char* what;
    std::function<void(TUnZipper&, int, std::string&)> handler;
    bool userCanceled;
    const char* message;
  } cases[] = {
      {"emptied name", [](TUnZipper&, int, std::string& name) { name.clear(); }, true,
       "User canceled loading new disk."},
      {"no handler", nullptr, false,
       "Disk 1 of the multi-disk set is needed, but no OnGetNextDisk handler is set"},
      {"always the same missing file", [&](TUnZipper&, int, std::string& name) { name = (dir_.Path() / "nowhere.001").string(); },
       true, "Cannot find disk 1 of the multi-disk set: "},
  };
  for (const Case& c : cases) {
    fs::remove_all(Out());
    TUnZipper z;
    z.SetDoProcessMessages(false);
    z.SetZipName(zip_.string());
    z.ReadZip();
    ASSERT_EQ(z.EntryCount(), 8) << c.what;
    z.OnGetNextDisk = c.handler;
    z.SetDoAll(true);
    z.SetDestDir(Out().string());
    try {
      z.UnZip();
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EUserCanceled& e) {
      EXPECT_TRUE(c.userCanceled) << c.what;
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << c.what << ": " << e.what();
    } catch (const EFatalUnzipError& e) {
      EXPECT_FALSE(c.userCanceled) << c.what;
      EXPECT_STREQ(e.what(), c.message) << c.what;
    }
    EXPECT_TRUE(ziptest::Tree(Out()).empty()) << c.what;
  }
}

// Many small files blocked into 64 KiB files: the central directory starts
// on an earlier volume than the end record and runs over several volumes;
// without the last volume a side file stands in for the directory.
TEST(MultiVolume, DirectoryOverSeveralVolumesCutRecordsAndASideFile) {
  TW_REQUIRE_TOOL("zip");
  TempDir dir;
  for (int i = 0; i < 1500; ++i)
    ziptest::WriteFile(dir.Path() / "src" / ("a_rather_long_name_for_entry_" + std::to_string(i) + ".txt"),
                       "entry " + std::to_string(i) + "\n");
  const fs::path zip = dir.Path() / "many.zip";
  std::string notes;
  for (int i = 0; i < 1500; ++i) notes += "note " + std::to_string(i % 7) + "\n";
  const int volumes = MakeBlocked(dir.Path() / "src", zip, "-s 64k -c", notes);
  const auto source = ziptest::Tree(dir.Path() / "src");
  auto list = [&](const fs::path& archive) {
    TUnZipper z;
    z.SetDoProcessMessages(false);
    z.SetZipName(archive.string());
    z.ReadZip();
    std::set<std::string> names;
    for (int i = 0; i < z.EntryCount(); ++i) {
      names.insert(z.Entry(i).FileName);
      EXPECT_EQ(z.EntryComment(i).rfind("note ", 0), 0u) << z.Entry(i).FileName;
    }
    EXPECT_EQ(z.ArchiveComment(), "the set comment");
    return std::make_pair(z.EndCentral(), names);
  };
  const auto [end, names] = list(zip);
  ASSERT_LT(end.CentralStartDisk + 1, end.ThisDisk) << "the directory should span volumes";
  ASSERT_EQ(end.ThisDisk, volumes - 1);
  EXPECT_EQ(names.size(), 1500u);

  // The stock tool keeps records whole; move the end of the volume before the
  // last across the volume end, so that its last record is cut in its
  // signature, its fixed part, its name, its extra field or its comment. Only
  // central records live there, so no offset changes.
  const fs::path before = Volume(zip, end.ThisDisk - 1);
  const std::string original = ziptest::ReadFile(before);
  const std::string last = ziptest::ReadFile(zip);
  const std::size_t record = original.rfind("PK\x01\x02");
  ASSERT_NE(record, std::string::npos);
  const TCentralHeader header = TCentralHeader::Parse(reinterpret_cast<const std::uint8_t*>(original.data()) + record);
  const std::size_t nameEnd = kCentralHeaderSize + header.nameLength;
  const std::size_t extraEnd = nameEnd + header.extraLength;
  ASSERT_LT(nameEnd, extraEnd) << "the record should have an extra field";
  ASSERT_EQ(record + extraEnd + header.commentLength, original.size());
  for (const std::size_t cut : {std::size_t(2), std::size_t(20), nameEnd - 5, nameEnd + 2, extraEnd + 3}) {
    const std::size_t at = record + cut;
    ziptest::WriteFile(before, original.substr(0, at));
    ziptest::WriteFile(zip, original.substr(at) + last);
    EXPECT_TRUE(list(zip).second == names) << "cut at " << cut;
  }
  ziptest::WriteFile(before, original);
  ziptest::WriteFile(zip, last);
  std::string err;
  EXPECT_EQ(RunTool("extract " + Q(zip) + " -d " + Q(dir.Path() / "out"), &err), 0) << err;
  EXPECT_TRUE(ziptest::Tree(dir.Path() / "out") == source);

  // Without the last volume, the first one and a side file holding the
  // directory and the end record serve for the entries on the first volumes.
  std::string side = ziptest::ReadFile(Volume(zip, end.CentralStartDisk)).substr(end.CentralOffset);
  for (int v = int(end.CentralStartDisk) + 1; v < int(end.ThisDisk); ++v) side += ziptest::ReadFile(Volume(zip, v));
  ziptest::WriteFile(dir.Path() / "many.zfc", side + last);
  fs::remove(zip);
  const auto [sideEnd, sideNames] = list(Volume(zip, 0));
  EXPECT_EQ(sideEnd.ThisDisk, end.ThisDisk);
  EXPECT_TRUE(sideNames == names);
  fs::remove_all(dir.Path() / "out");
  EXPECT_EQ(RunTool("extract " + Q(Volume(zip, 0)) + " -d " + Q(dir.Path() / "out"), &err), 0) << err;
  EXPECT_TRUE(ziptest::Tree(dir.Path() / "out") == source);
}

TEST(MultiVolume, SideFileHoldsTheDirectoryWhenTheEndRecordIsMissing) {
  TW_REQUIRE_TOOL("zip");
  TempDir dir;
  ziptest::WriteFile(dir.Path() / "src" / "a.txt", std::string(40000, 'a'));
  ziptest::WriteFile(dir.Path() / "src" / "sub" / "b.bin", "bee\n");
  ASSERT_EQ(Shell("cd " + Q(dir.Path() / "src") + " && echo 'side comment' | zip -q -r -z ../full.zip ."), 0);
  const std::string full = ziptest::ReadFile(dir.Path() / "full.zip");
  const std::size_t end = full.rfind("PK\x05\x06");
  ASSERT_NE(end, std::string::npos);
  const auto* record = reinterpret_cast<const std::uint8_t*>(full.data()) + end;
  const std::uint32_t central = TEndRecord::Parse(record).centralOffset;
  // The archive loses its directory and end record; the side file holds both.
  const std::string archive = dir.Write("cut.zip", full.substr(0, central));

  TUnZipper z;
  z.SetDoProcessMessages(false);
  z.SetZipName(archive);
  z.ReadZip();
  EXPECT_EQ(z.EntryCount(), 0) << "without the side file the archive is incomplete";

  dir.Write("cut.zfc", full.substr(central));
  z.ClearArchive();
  z.SetZipName(archive);
  z.ReadZip();
  ASSERT_EQ(z.EntryCount(), 3);
  EXPECT_EQ(z.SpanKind(), 0);
  EXPECT_EQ(z.ArchiveComment(), "side comment");
  z.SetDoAll(true);
  z.SetRecreateDirs(true);
  z.SetDestDir((dir.Path() / "out").string());
  EXPECT_EQ(z.UnZip(), 3);
  EXPECT_TRUE(ziptest::Tree(dir.Path() / "out") == ziptest::Tree(dir.Path() / "src"));

  // A side file without an end record does not count.
  dir.Write("cut.zfc", full.substr(central, end - central));
  z.ClearArchive();
  z.SetZipName(archive);
  z.ReadZip();
  EXPECT_EQ(z.EntryCount(), 0);
}

// Removable disks: every volume is the same path on drive A:, the user is
// asked to insert each disk, and the disk's label must end in its number.
// The path "A:\set.zip" is a plain file name in the working folder here.
class RemovableDisks : public BlockedArchive {
 protected:
  void SetUp() override {
    BlockedArchive::SetUp();
    if (IsSkipped()) return;
    ASSERT_TRUE(getcwd(cwd_, sizeof cwd_));
    fs::create_directories(dir_.Path() / "drive");
    ASSERT_EQ(chdir((dir_.Path() / "drive").c_str()), 0);
    headless::Reset();
    headless::SetEcho(false);
    Insert(volumes_ - 1);
  }
  void TearDown() override {
    if (cwd_[0]) {
      EXPECT_EQ(chdir(cwd_), 0);
    }
    headless::Reset();
  }
  // Puts volume `v`'s disk into the drive, labelled with its number or not.
  void Insert(int v, bool numbered = true) {
    const fs::path from = v == volumes_ - 1 ? zip_ : Volume(zip_, v);
    fs::copy_file(from, kDisk, fs::copy_options::overwrite_existing);
    char label[24];
    std::snprintf(label, sizeof label, "BACKUP%03d", v + 1);
    headless::SetRemovableDrive("a:\\", numbered ? label : "BACKUP");
  }
  std::vector<std::string> Questions() const {
    std::vector<std::string> texts;
    for (const auto& box : headless::MessageBoxes()) {
      EXPECT_EQ(box.caption, "");
      EXPECT_EQ(box.buttons, platform::MessageButtons::OkCancel);
      texts.push_back(box.text);
    }
    return texts;
  }
  static std::string Question(int disk) { return "Please insert disk " + std::to_string(disk) + " of the multi-disk set."; }

  static constexpr char kDisk[] = "A:\\set.zip";
  char cwd_[4096] = {};
};

TEST_F(RemovableDisks, AWrongDiskIsRefusedAndTheQuestionRepeated) {
  TUnZipper z;
  z.SetDoProcessMessages(false);
  z.SetZipName(kDisk);
  z.ReadZip();
  ASSERT_EQ(z.SpanKind(), 1);
  // The user answers each question by inserting a disk; asked for disk 2 the
  // first time, they insert disk 1 again.
  bool wrongOnce = false;
  auto standard = z.OnGetNextDisk;
  z.OnGetNextDisk = [&](TUnZipper& sender, int nextDisk, std::string& name) {
    standard(sender, nextDisk, name);
    EXPECT_EQ(name, kDisk);
    if (nextDisk == 2 && !wrongOnce) {
      wrongOnce = true;
      Insert(0);
    } else {
      Insert(nextDisk - 1);
    }
  };
  z.SetDoAll(true);
  z.SetRecreateDirs(true);
  z.SetDestDir(Out().string());
  EXPECT_EQ(z.UnZip(), 8);
  EXPECT_TRUE(ziptest::Tree(Out()) == source_);
  std::vector<std::string> want = {Question(1), Question(2), Question(2)};
  for (int d = 3; d <= volumes_; ++d) want.push_back(Question(d));
  EXPECT_EQ(Questions(), want);

}

TEST_F(RemovableDisks, LabelsAreIgnoredWhenNotChecked) {
  TUnZipper z;
  z.SetDoProcessMessages(false);
  z.SetCheckVolumeLabels(false);
  z.SetZipName(kDisk);
  z.ReadZip();
  auto standard = z.OnGetNextDisk;
  z.OnGetNextDisk = [&](TUnZipper& sender, int nextDisk, std::string& name) {
    standard(sender, nextDisk, name);
    Insert(nextDisk - 1, false);
  };
  z.SetDoAll(true);
  z.SetRecreateDirs(true);
  z.SetDestDir(Out().string());
  EXPECT_EQ(z.UnZip(), 8);
  EXPECT_TRUE(ziptest::Tree(Out()) == source_);
  EXPECT_EQ(Questions().size(), static_cast<std::size_t>(volumes_));
}

TEST_F(RemovableDisks, CancelStopsWithUserCanceled) {
  TUnZipper z;
  z.SetDoProcessMessages(false);
  z.SetZipName(kDisk);
  z.ReadZip();
  auto standard = z.OnGetNextDisk;
  z.OnGetNextDisk = [&](TUnZipper& sender, int nextDisk, std::string& name) {
    standard(sender, nextDisk, name);
    if (!name.empty()) Insert(0);  // always the first disk
  };
  headless::QueueMessageBoxReply(platform::MessageResult::Ok);
  headless::QueueMessageBoxReply(platform::MessageResult::Ok);
  headless::QueueMessageBoxReply(platform::MessageResult::Cancel);
  z.SetDoAll(true);
  z.SetRecreateDirs(true);
  z.SetDestDir(Out().string());
  try {
    z.UnZip();
    FAIL() << "no cancel";
  } catch (const EUserCanceled& e) {
    EXPECT_STREQ(e.what(), "User canceled loading new disk.");
  }
  EXPECT_EQ(Questions(), (std::vector<std::string>{Question(1), Question(2), Question(2)}));
  ExpectOnlyCompleteFiles(Out(), source_);
}

}  // namespace
}  // namespace unzip
