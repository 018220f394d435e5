// The Zip64 end record and the reader's answers to damaged directories: every
// one a clear error naming what is wrong, none a crash, a huge allocation or a
// partial directory passed off as whole.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "ZipTestSupport.h"
#include "unzip/UnZipper.h"

namespace unzip {
namespace {

// The end record's fields marked, the values in the Zip64 end record: the
// archive reads like any other.
TEST(Zip64, EndRecordHoldsTheDirectory) {
  TempDir dir;
  ziptest::MakeFixture("z64_end_ok", dir.Path() / "a.zip");
  TUnZipper z;
  z.SetDoProcessMessages(false);
  z.SetZipName((dir.Path() / "a.zip").string());
  z.SetDestDir((dir.Path() / "out").string());
  z.SetDoAll(true);
  EXPECT_EQ(z.UnZip(), 2);
  EXPECT_EQ(z.EndCentral().TotalEntries, 2u);
  std::string two;
  for (int i = 0; i < 50; ++i) two += "two\n";
  EXPECT_EQ(ziptest::ReadFile(dir.Path() / "out" / "two.txt"), two);
}

// The directory lost, sizes after the data: each entry's end is where a data
// descriptor with matching size stands, with or without its signature, with
// 4- or 8-byte sizes.
TEST(Zip64, RepairFindsEveryDataDescriptor) {
  for (const char* fixture : {"streamed_no_dir", "streamed_no_sig"}) {
    SCOPED_TRACE(fixture);
    TempDir dir;
    ziptest::MakeFixture(fixture, dir.Path() / "s.zip");
    TUnZipper z;
    z.SetDoProcessMessages(false);
    z.SetIncompleteZipMode(TIncompleteZipMode::izAssumeBad);
    z.SetZipName((dir.Path() / "s.zip").string());
    z.SetDestDir((dir.Path() / "out").string());
    z.SetDoAll(true);
    z.OnBadCRC = [](TUnZipper& s, std::uint32_t, std::uint32_t, int i) { ADD_FAILURE() << s.Filename(i); };
    EXPECT_EQ(z.UnZip(), 3);
    std::string wide, narrow, stored;
    for (int i = 0; i < 300; ++i) wide += "wide\n", narrow += "narrow\n";
    for (int i = 0; i < 30; ++i) stored += "stored\n";
    EXPECT_TRUE(ziptest::ReadFile(dir.Path() / "out" / "wide.txt") == wide);
    EXPECT_TRUE(ziptest::ReadFile(dir.Path() / "out" / "narrow.txt") == narrow);
    EXPECT_TRUE(ziptest::ReadFile(dir.Path() / "out" / "stored.txt") == stored);
  }
}

struct BadCase {
  const char* fixture;
  TIncompleteZipMode mode;
  const char* says;  // part of the error message
};

const BadCase kBadCases[] = {
    {"z64_end_contradicts", TIncompleteZipMode::izAssumeMulti, "contradicts"},
    {"z64_count_overflow", TIncompleteZipMode::izAssumeMulti, "entries were found"},
    {"z64_extra_short", TIncompleteZipMode::izAssumeMulti, "one.txt: its Zip64 sizes are missing"},
    {"promises_more", TIncompleteZipMode::izAssumeMulti, "only 2 of its 3 entries were found"},
    {"descriptors_no_dir", TIncompleteZipMode::izAssumeBad, "second.txt: the end of its data cannot be found"},
};

TEST(Zip64, DamagedDirectoriesAreClearErrors) {
  for (const BadCase& c : kBadCases) {
    SCOPED_TRACE(c.fixture);
    TempDir dir;
    ziptest::MakeFixture(c.fixture, dir.Path() / "bad.zip");
    TUnZipper z;
    z.SetDoProcessMessages(false);
    z.SetIncompleteZipMode(c.mode);
    z.SetZipName((dir.Path() / "bad.zip").string());
    try {
      z.ReadZip();
      ADD_FAILURE() << "read without an error, " << z.EntryCount() << " entries";
    } catch (const EBadZipFile& e) {
      EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
    }
    EXPECT_EQ(z.EntryCount(), 0);
    EXPECT_EQ(z.ZipName(), "");
    // The tool says the archive cannot be read.
    EXPECT_EQ(ziptest::Shell(ziptest::Unzipper() + " test " + ziptest::Q(dir.Path() / "bad.zip")), 2);
  }
}

}  // namespace
}  // namespace unzip
