// Names, comments, times and permissions as their writers meant them, and the
// messages for what this build cannot extract.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TempDir.h"
#include "ZipTestSupport.h"
#include "unzip/UnZipper.h"

namespace unzip {
namespace {

struct stat StatOf(const fs::path& p) {
  struct stat st {};
  ::lstat(p.c_str(), &st);
  return st;
}

TEST(Metadata, NamesCommentsTimesAndPermissions) {
  TempDir dir;
  ziptest::MakeFixture("metadata", dir.Path() / "m.zip");
  TUnZipper z;
  z.SetDoProcessMessages(false);
  z.SetZipName((dir.Path() / "m.zip").string());
  z.SetDestDir((dir.Path() / "out").string());
  z.SetDoAll(true);
  z.ReadZip();
  std::map<std::string, int> at;
  for (int i = 0; i < z.EntryCount(); ++i) at[z.Entry(i).StoredPath()] = i;
  // A Unicode path whose CRC matches the stored name replaces it; one that
  // belongs to another name is ignored.
  const std::vector<std::string> names = {"caf\xC3\xA9-unicode.txt", "comment.txt", "ntfs.txt", "stale.txt",
                                          "suid",  "ut.txt", "utf8.txt"};
  std::vector<std::string> got;
  for (const auto& [name, index] : at) got.push_back(name);
  EXPECT_EQ(got, names);
  // Comments of UTF-8 entries are UTF-8 too, and so is the archive comment of
  // an archive of UTF-8 entries; a Unicode comment replaces the stored one.
  EXPECT_EQ(z.EntryComment(at["utf8.txt"]), "\xE5\xA4\x87\xE6\xB3\xA8 caf\xC3\xA9");
  EXPECT_EQ(z.EntryComment(at["comment.txt"]), "\xD0\xBD\xD0\xBE\xD0\xB2\xD1\x8B\xD0\xB9");
  EXPECT_EQ(z.ArchiveComment(), "\xE5\xBD\x92\xE6\xA1\xA3 comment");
  EXPECT_EQ(z.UnZip(), 7);
  const fs::path out = dir.Path() / "out";
  // Times from the extended timestamp and the NTFS field, in UTC.
  EXPECT_EQ(StatOf(out / "ut.txt").st_mtime, 1700000000);
  EXPECT_EQ(StatOf(out / "ntfs.txt").st_mtime, 1600000000);
  // Permissions without setuid.
  EXPECT_EQ(StatOf(out / "suid").st_mode & 07777, 0755u);
}

// Folders that only their MS-DOS attribute marks are folders (a file with
// data keeps its data, whatever its attribute); a Unicode Path field whose
// CRC matches the stored name names the entry, in the directory's record or
// the local header, flagged UTF-8 or not; an entry without a name fails.
TEST(Metadata, FoldersByAttributeUnicodePathsAndEmptyNames) {
  TempDir dir;
  const std::string oe = "\xC3\xB6";  // "ö"
  const struct {
    const char* kind;
    std::map<std::string, std::string> files;  // what lands in the destination, folders ending in "/"
    std::vector<std::string> failures;
  } cases[] = {
      {"dos_folders", {{"NTDIR/", ""}, {"def/", ""}, {"def/foo", "foo\n"}, {"notdir.txt", "data\n"}}, {}},
      {"unicode_paths",
       {{"File 1 - " + oe + ".txt", "1\n"},
        {"File 2 - " + oe + ".txt", "2\n"},
        {"File 3 - " + oe + ".txt", "3\n"},
        {"File 4 - " + oe + ".txt", "4\n"}},
       {}},
      {"empty_name", {{"named.txt", "named\n"}}, {": empty name, not extracted"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    const fs::path zip = dir.Path() / (std::string(c.kind) + ".zip");
    const fs::path out = dir.Path() / c.kind;
    ziptest::MakeFixture(c.kind, zip);
    TUnZipper z;
    z.SetDoProcessMessages(false);
    z.SetZipName(zip.string());
    z.SetDestDir(out.string());
    z.SetRecreateDirs(true);
    z.FilesList().push_back("*");
    std::vector<std::string> failures;
    z.OnSkippingFile = [&](TUnZipper& u, TSkipReason, const std::string& name, int, bool&) {
      failures.push_back(name + ": " + u.LastError());
    };
    EXPECT_EQ(z.UnZip(), static_cast<int>(c.files.size()));
    EXPECT_EQ(failures, c.failures);
    std::map<std::string, std::string> got;
    for (const auto& e : fs::recursive_directory_iterator(out)) {
      const std::string name = fs::relative(e.path(), out).string();
      got[e.is_directory() ? name + "/" : name] = e.is_directory() ? "" : ziptest::ReadFile(e.path());
    }
    EXPECT_EQ(got, c.files);
    // The tool fails for an entry without a name, in a test run too.
    EXPECT_EQ(Shell(ziptest::Unzipper() + " test " + Q(zip)), c.failures.empty() ? 0 : 1);
  }
}

// The tool names each failure for what it is: damaged data of a legacy method,
// one message per unsupported method, and strong or AES encryption as such,
// never as a wrong password.
TEST(Metadata, MessagesSayWhatFailed) {
  TempDir dir;
  ziptest::MakeFixture("messages", dir.Path() / "m.zip");
  const fs::path log = dir.Path() / "log";
  const int rc = ziptest::Shell("(" + ziptest::Unzipper() + " test " + ziptest::Q(dir.Path() / "m.zip") + " 2>" +
                                ziptest::Q(log) + ")");
  EXPECT_EQ(rc, 1);
  const std::string text = ziptest::ReadFile(log);
  auto count = [&](const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("legacy.txt: corrupt imploded data"), 1) << text;
  EXPECT_EQ(count("unsupported compression method 97"), 1) << text;
  // The tool shows no box for it.
  EXPECT_EQ(count("Unknown Compression Method"), 0) << text;
  EXPECT_EQ(count("aes.txt: encrypted with a method this build does not support"), 1) << text;
  EXPECT_EQ(count("strong.txt: encrypted with a method this build does not support"), 1) << text;
  EXPECT_EQ(count("password"), 0) << text;
}

}  // namespace
}  // namespace unzip
