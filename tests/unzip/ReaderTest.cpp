// The directory reader, the containers and the buffered stream.
#include <gtest/gtest.h>

#include <algorithm>

#include "TempDir.h"
#include "ZipTestSupport.h"
#include "core/ZipBufStream.h"
#include "platform/Text.h"
#include "unzip/UnZipper.h"

namespace unzip {
namespace {

using ziptest::MakeFixture;

TEST(ReadZip, EmptyAndTinyFiles) {
  TempDir dir;
  TUnZipper z;
  z.SetZipName(dir.Write("empty.zip", ""));
  z.ReadZip();
  EXPECT_EQ(z.EntryCount(), 0);
  // A 1..21-byte file has no end record: by default that is an incomplete
  // (multi-volume) archive, which ReadZip absorbs.
  z.SetZipName(dir.Write("tiny.zip", "PK\x05\x06 short"));
  z.ReadZip();
  EXPECT_EQ(z.EntryCount(), 0);
  EXPECT_THROW(z.UnZip(), EIncompleteZip);
  z.SetIncompleteZipMode(TIncompleteZipMode::izAssumeNotAZip);
  EXPECT_THROW(z.ReadZip(), ENotAZipFile);
  EXPECT_EQ(z.ZipName(), "");  // every reading error clears the archive
}

TEST(ReadZip, MissingFileAndJunk) {
  TempDir dir;
  TUnZipper z;
  z.SetZipName(dir.File("missing.zip"));
  EXPECT_THROW(z.ReadZip(), platform::Exception);
  z.SetIncompleteZipMode(TIncompleteZipMode::izAssumeBad);
  z.SetZipName(dir.Write("junk.zip", std::string(5000, 'j')));
  try {
    z.ReadZip();
    FAIL() << "junk read as an archive";
  } catch (const EBadZipFile& e) {
    EXPECT_STREQ(e.what(), "Not a valid zip file!");
  }
}

TEST(ReadZip, RebuildsFromLocalHeadersWhenTheEndRecordIsMissing) {
  TW_REQUIRE_TOOL("zip");
  TempDir dir;
  ziptest::WriteFile(dir.Path() / "in" / "a.txt", "alpha\n");
  ziptest::WriteFile(dir.Path() / "in" / "b.txt", std::string(5000, 'b'));
  ASSERT_EQ(ziptest::Shell("cd " + ziptest::Q(dir.Path() / "in") + " && zip -q ../x.zip a.txt b.txt"), 0);
  std::string bytes = ziptest::ReadFile(dir.Path() / "x.zip");
  bytes.resize(bytes.size() - kEndRecordSize);  // cut the end record off
  const std::string cut = dir.Write("cut.zip", bytes);

  TUnZipper z;
  z.SetZipName(cut);
  int asked = 0;
  z.OnInCompleteZip = [&](TUnZipper&, TIncompleteZipMode& mode) {
    ++asked;
    mode = TIncompleteZipMode::izAssumeBad;
  };
  z.ReadZip();
  EXPECT_EQ(asked, 1);
  ASSERT_EQ(z.EntryCount(), 2);
  EXPECT_EQ(z.Entry(1).FileName, "b.txt");
  EXPECT_NE(z.Entry(1).CentralRecordOffset, 0u);  // merged with its central record
  z.SetDestDir(dir.File("out"));
  z.SetDoAll(true);
  EXPECT_EQ(z.UnZip(), 2);
  EXPECT_EQ(ziptest::ReadFile(dir.Path() / "out" / "b.txt"), std::string(5000, 'b'));
}

TEST(ReadZip, DuplicateLocalOffsetsRebuild) {
  TempDir dir;
  MakeFixture("dup_central", dir.Path() / "d.zip");
  TUnZipper z;
  z.SetZipName(dir.File("d.zip"));
  z.ReadZip();
  ASSERT_EQ(z.EntryCount(), 2);
  EXPECT_EQ(z.Entry(0).FileName, "one.txt");  // the local header's name stands
  EXPECT_EQ(z.Entry(1).FileName, "two.txt");
  z.SetDestDir(dir.File("out"));
  z.SetDoAll(true);
  EXPECT_EQ(z.UnZip(), 2);
  EXPECT_EQ(ziptest::ReadFile(dir.Path() / "out" / "one.txt"), "one\n");
}

// Entries whose local header and data share bytes with another entry's, or
// with the directory, are refused as a whole: that is how a zip bomb makes a
// few kilobytes extract to gigabytes. Entries that merely abut are not.
TEST(ReadZip, OverlappingEntriesAreRefused) {
  TempDir dir;
  const struct {
    const char* kind;
    const char* error;  // none: the archive is read
  } cases[] = {
      {"shared", "Not a valid zip file! (its entries \"bomb00.bin\" and \"bomb01.bin\" overlap: possibly a zip bomb)"},
      {"runs_over", "Not a valid zip file! (its entries \"first.txt\" and \"second.txt\" overlap: possibly a zip bomb)"},
      {"directory", "Not a valid zip file! (its entry \"second.txt\" overlaps its directory)"},
      {"apart", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    const fs::path zip = dir.Path() / (std::string(c.kind) + ".zip");
    MakeFixture(std::string("overlap_") + c.kind, zip);
    TUnZipper z;
    z.SetZipName(zip.string());
    if (!c.error) {
      z.ReadZip();
      z.SetTestOnly(true);
      z.SetDoAll(true);
      EXPECT_EQ(z.UnZip(), 2);
      continue;
    }
    try {
      z.ReadZip();
      ADD_FAILURE() << "read";
    } catch (const EBadZipFile& e) {
      EXPECT_STREQ(e.what(), c.error);
    }
    EXPECT_EQ(z.EntryCount(), 0);
  }
}

TEST(ReadZip, NamesDatesAndSortOrders) {
  TempDir dir;
  MakeFixture("dates", dir.Path() / "d.zip");
  TUnZipper z;
  z.SetZipName(dir.File("d.zip"));
  z.ReadZip();
  ASSERT_EQ(z.EntryCount(), 3);
  EXPECT_EQ(z.Entry(2).Directory, "c\\");
  EXPECT_EQ(z.Entry(2).FileName, "d.txt");
  // Month 0, day 0 and 25:61:62 read as 1 January, 23:59:58.
  EXPECT_EQ(z.Entry(2).DosDateTime, (41u << 25) | (1u << 21) | (1u << 16) | (23u << 11) | (59u << 5) | 29u);

  struct Case {
    TZipSortMode mode;
    const char* order;
  };
  const Case cases[] = {
      {TZipSortMode::ByName, "A.txt b.txt d.txt"},
      {TZipSortMode::ByDate, "A.txt d.txt b.txt"},
      {TZipSortMode::ByUnCompressedSize, "d.txt b.txt A.txt"},
      {TZipSortMode::ByNone, "b.txt A.txt d.txt"},
  };
  for (const Case& c : cases) {
    z.SortEntries(c.mode);
    std::string order;
    for (int i = 0; i < z.EntryCount(); ++i) order += (i ? " " : "") + z.Entry(i).FileName;
    EXPECT_EQ(order, c.order) << static_cast<int>(c.mode);
  }
  try {
    z.Entry(3);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "Index 3 is out of range");
  }
  // The same path in another letter case keeps the loaded directory.
  std::string upper = dir.File("d.zip");
  upper.back() = 'P';
  z.SetZipName(upper);
  EXPECT_EQ(z.EntryCount(), 3);
}

TEST(ReadZip, GbkAndUtf8Names) {
  TempDir dir;
  MakeFixture("gbk_fat", dir.Path() / "g.zip");
  MakeFixture("utf8_flag", dir.Path() / "u.zip");
  TUnZipper z;
  z.SetZipName(dir.File("g.zip"));
  z.ReadZip();
  ASSERT_EQ(z.EntryCount(), 1);
  EXPECT_EQ(z.Entry(0).StoredPath(), "dir\\中文名.txt");
  z.SetZipName(dir.File("u.zip"));
  z.ReadZip();
  ASSERT_EQ(z.EntryCount(), 1);
  EXPECT_EQ(z.Entry(0).StoredPath(), "目录\\文件.txt");
}

TEST(ReadZip, NamesCodePageForNamesWithoutTheUtf8Flag) {
  // Two entries from MS-DOS hosts and one from a Unix host, all in code page
  // 866: the names' code page reads them all; without OEMConvert the MS-DOS
  // ones are GBK bytes, as the system's own names are.
  TempDir dir;
  MakeFixture("cp866_names", dir.Path() / "r.zip");
  TUnZipper z;
  EXPECT_EQ(z.NamesCodePage(), 936u);
  const auto names = [&] {
    z.ClearArchive();
    z.SetZipName(dir.File("r.zip"));
    z.ReadZip();
    std::vector<std::string> got;
    for (int i = 0; i < z.EntryCount(); ++i) got.push_back(z.Entry(i).StoredPath());
    return got;
  };
  z.SetNamesCodePage(866);
  EXPECT_EQ(names(), (std::vector<std::string>{"Документы\\Отчёт.txt", "Ёлка.txt", "Привет\\мир.txt"}));
  z.SetOEMConvert(false);
  const std::vector<std::string> gbk = names();
  ASSERT_EQ(gbk.size(), 3u);
  std::string asGbk = platform::ToUtf8(platform::FromUtf8("Документы/Отчёт.txt", 866), 936);
  std::replace(asGbk.begin(), asGbk.end(), '/', '\\');
  EXPECT_EQ(gbk[0], asGbk);
  EXPECT_EQ(gbk[2], "Привет\\мир.txt");
}

TEST(ReadZip, CommentsAndASignatureInsideTheComment) {
  TW_REQUIRE_TOOL("zip");
  TempDir dir;
  ziptest::WriteFile(dir.Path() / "a.txt", "a\n");
  ASSERT_EQ(ziptest::Shell("cd " + ziptest::Q(dir.Path()) + " && echo 'archive note' | zip -q -z c.zip a.txt"), 0);
  TUnZipper z;
  z.SetZipName(dir.File("c.zip"));
  z.ReadZip();
  ASSERT_EQ(z.EntryCount(), 1);
  EXPECT_EQ(z.ArchiveComment(), "archive note");
  EXPECT_EQ(z.EntryComment(0), "");
  // A signature inside the comment is nearer the end: it is the one taken.
  MakeFixture("comment_sig", dir.Path() / "s.zip");
  z.SetZipName(dir.File("s.zip"));
  z.ReadZip();
  EXPECT_EQ(z.EntryCount(), 0);
}

TEST(Containers, SortedListRules) {
  TSortedZip list(TZipSortMode::ByName);
  list.Duplicates = TDuplicates::Error;
  auto* a = new TZipHeaderInfo;
  a->SetName("a");
  auto* b = new TZipHeaderInfo;
  b->SetName("B");
  EXPECT_EQ(list.Add(b), 0);
  EXPECT_EQ(list.Add(a), 0);
  EXPECT_EQ(list.Item(0), a);
  auto dup = std::make_unique<TZipHeaderInfo>();
  dup->SetName("A");
  EXPECT_THROW(list.Add(dup.get()), EListError);
  EXPECT_THROW(list.Put(0, a), EListError);
  EXPECT_EQ(list.Neighbour(a, true), b);
  EXPECT_EQ(list.Neighbour(b, true), nullptr);
  EXPECT_THROW(list.Neighbour(dup.get(), true), EListError);
  EXPECT_THROW(list.Get(2), EListError);
}

TEST(BufferStream, SeeksAndWrites) {
  TempDir dir;
  std::string bytes;
  for (int i = 0; i < 20000; ++i) bytes.push_back(static_cast<char>(i * 7));
  const std::string path = dir.Write("data.bin", bytes);
  {
    TLFNFileStream s(path, 8192, false, platform::kFmOpenRead);
    char buf[30];
    ASSERT_EQ(s.Read(buf, 30), 30);
    EXPECT_EQ(s.Seek(40, 1), 70);
    ASSERT_EQ(s.Read(buf, 1), 1);
    EXPECT_EQ(buf[0], bytes[70]);
    EXPECT_EQ(s.Seek(0, 2), 20000);
    EXPECT_EQ(s.Seek(22, 2), 20000 - 22);
    EXPECT_EQ(s.Seek(-22, 2), 20000 - 22);
    EXPECT_THROW(s.Seek(0, 3), platform::Exception);
  }
  const std::string out = dir.File("out.bin");
  {
    TLFNFileStream s(out, 8192, true, platform::kFmCreate);
    EXPECT_EQ(s.Write(bytes.data(), 20000), 20000);
    EXPECT_EQ(std::filesystem::file_size(out), 16384u);  // two full blocks so far
  }
  EXPECT_EQ(ziptest::ReadFile(out), bytes);
}

}  // namespace
}  // namespace unzip
