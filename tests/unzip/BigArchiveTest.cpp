// Archives beyond the classic format's limits, made at test time as streams in
// a temporary folder: an entry past 4 GiB, an entry stored past a 4 GiB
// offset, and 70,000 entries, with and without the Zip64 end record.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "ZipTestSupport.h"
#include "unzip/UnZipper.h"

namespace unzip {
namespace {

constexpr std::uint64_t kPastFourGiB = (std::uint64_t(1) << 32) + (1 << 20);
constexpr int kManyEntries = 70000;
constexpr char kAfterData[] = "written after the big entry\n";

void Peers(const std::string& args) { ASSERT_EQ(Shell("python3 '" TW_ZIP_PEERS "' " + args), 0) << args; }

TUnZipper& Quiet(TUnZipper& z) {
  z.SetDoProcessMessages(false);
  z.OnBadCRC = [](TUnZipper& s, std::uint32_t, std::uint32_t, int i) { ADD_FAILURE() << "bad CRC " << s.Filename(i); };
  return z;
}

// Zeros deflated by Python's zipfile: sizes and progress past 32 bits; every
// byte is decoded and checked against the CRC, none is written.
TEST(BigArchive, EntryPastFourGiB) {
  TempDir dir;
  const fs::path zip = dir.Path() / "big.zip";
  Peers("big " + Q(zip) + " " + std::to_string(kPastFourGiB));
  TUnZipper z;
  Quiet(z).SetZipName(zip.string());
  z.ReadZip();
  ASSERT_EQ(z.EntryCount(), 2);
  EXPECT_EQ(z.Entry(0).UncompressedSize, kPastFourGiB);
  std::int64_t total = 0;
  int lastPercent = -1;
  z.OnStartUnZipInfo = [&](TUnZipper&, int, std::int64_t bytes, bool&) { total = bytes; };
  z.OnTotalPercentDone = [&](TUnZipper&, int percent) {
    EXPECT_GE(percent, lastPercent);
    lastPercent = percent;
  };
  z.SetTestOnly(true);
  z.SetDoAll(true);
  EXPECT_EQ(z.UnZip(), 2);
  EXPECT_EQ(total, static_cast<std::int64_t>(kPastFourGiB + sizeof kAfterData - 1));
  EXPECT_EQ(lastPercent, 100);
}

// A stored entry of zeros left as a hole in a sparse file, and a small entry
// behind it at an offset only Zip64 can express: only the small one is read.
TEST(BigArchive, EntryBeyondFourGiBOffset) {
  TempDir dir;
  const fs::path zip = dir.Path() / "offset.zip";
  Peers("offset " + Q(zip) + " " + std::to_string(kPastFourGiB));
  if (ziptest::HaveTool("unzip")) {
    EXPECT_EQ(Shell("unzip -p " + Q(zip) + " after.txt | cmp -s - " + Q(dir.Write("expected", kAfterData))), 0)
        << "the reference reads the archive";
  }
  TUnZipper z;
  Quiet(z).SetZipName(zip.string());
  z.SetDestDir((dir.Path() / "out").string());
  z.SetFilesList({"after.txt"});
  EXPECT_EQ(z.UnZip(), 1);
  ASSERT_EQ(z.EntryCount(), 2);
  EXPECT_GT(z.Entry(1).LocalHeaderOffset, std::uint64_t(0xFFFFFFFF));
  EXPECT_EQ(ziptest::ReadFile(dir.Path() / "out" / "after.txt"), kAfterData);
}

// 70,000 entries: with the Zip64 end record, and as writers without Zip64
// leave them, the count cut to its low 16 bits. None is lost either way.
TEST(BigArchive, SeventyThousandEntries) {
  TempDir dir;
  for (const char* variant : {"", " wrap"}) {
    SCOPED_TRACE(*variant ? "count cut to 16 bits" : "Zip64 end record");
    const fs::path zip = dir.Path() / "many.zip";
    Peers("many " + Q(zip) + " " + std::to_string(kManyEntries) + variant);
    TUnZipper z;
    Quiet(z).SetZipName(zip.string());
    z.ReadZip();
    ASSERT_EQ(z.EntryCount(), kManyEntries);
    EXPECT_EQ(z.Entry(kManyEntries - 1).StoredPath(), "d69\\69999.txt");
    z.SetTestOnly(true);
    z.SetDoAll(true);
    EXPECT_EQ(z.UnZip(), kManyEntries);
    z.SetTestOnly(false);
    z.SetDoAll(false);
    const fs::path out = dir.Path() / "out";
    z.SetDestDir(out.string());
    z.SetFilesList({"d69\\6999?.txt"});
    EXPECT_EQ(z.UnZip(), 10);
    EXPECT_EQ(ziptest::ReadFile(out / "69999.txt"), "69999\n");
    fs::remove_all(out);
  }
}

}  // namespace
}  // namespace unzip
