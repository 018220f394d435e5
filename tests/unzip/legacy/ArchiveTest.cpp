// Whole archives of shrunk, reduced and imploded entries, extracted by
// TUnZipper: every entry arrives byte-exact, a damaged one is not kept.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "LegacyEncoders.h"
#include "TempDir.h"
#include "ZipWriter.h"
#include "unzip/UnZipper.h"

namespace legacytest {
namespace {

namespace fs = std::filesystem;

using TArchiveEntry = testing_support::ZipEntry;

// An entry of `method` (1 to 6) holding `plain`, packed as `packed`.
TArchiveEntry Entry(const std::string& name, int method, std::uint16_t flags, const Bytes& plain, const Bytes& packed) {
  TArchiveEntry e{name, std::string(plain.begin(), plain.end())};
  e.method = std::uint16_t(method);
  e.flags = flags;
  e.packed = std::string(packed.begin(), packed.end());
  return e;
}

std::string MakeArchive(const std::vector<TArchiveEntry>& entries) { return testing_support::MakeZip(entries); }

std::vector<TArchiveEntry> LegacyEntries() {
  Bytes text;
  for (int i = 0; i < 70000; ++i) text.push_back(std::uint8_t("consignment note \x90 warehouse 7\n"[i % 31] + (i / 4000) % 3));
  std::vector<TArchiveEntry> entries;
  entries.push_back(Entry("shrunk.txt", 1, 0, text, Shrink(text)));
  for (int f = 1; f <= 4; ++f)
    entries.push_back(Entry("reduced" + std::to_string(f) + ".txt", 1 + f, 0, text, Reduce(text, f)));
  for (unsigned v = 0; v < 4; ++v) {
    const bool big = v & 1, lit = v & 2;
    entries.push_back(Entry("imploded" + std::to_string(v) + ".txt", 6, ImplodeFlags(big, lit), text, Implode(text, big, lit)));
  }
  entries.push_back(Entry("empty.txt", 1, 0, {}, Shrink({})));
  return entries;
}

std::string Extract(const std::string& archive, const fs::path& dir, unzip::TUnZipper& z) {
  const fs::path zip = dir / "legacy.zip";
  std::ofstream(zip, std::ios::binary) << archive;
  z.SetZipName(zip.string());
  z.SetDestDir((dir / "out").string());
  z.SetDoAll(true);
  z.ReadZip();
  z.UnZip();
  return z.LastError();
}

Bytes ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

TEST(LegacyArchive, EveryLegacyEntryExtracts) {
  testing_support::TempDir dir;
  unzip::TUnZipper z;
  const auto entries = LegacyEntries();
  EXPECT_EQ(Extract(MakeArchive(entries), dir.Path(), z), "");
  for (const TArchiveEntry& e : entries) {
    SCOPED_TRACE(e.name);
    ASSERT_TRUE(fs::exists(dir.Path() / "out" / e.name));
    EXPECT_EQ(ReadAll(dir.Path() / "out" / e.name), Bytes(e.data.begin(), e.data.end()));
  }
}

// The stock unzip reads shrink and implode: an archive of the test encoders'
// output must pass its test too, so that encoder and decoder cannot agree on a
// mistake. Every implode variant meets data that fills its trees.
TEST(LegacyArchive, StockUnzipAcceptsTheEncodersArchives) {
  if (std::system("command -v unzip >/dev/null 2>&1") != 0) GTEST_SKIP() << "unzip is not installed";
  Bytes binary;
  for (int i = 0; i < 90000; ++i) binary.push_back(std::uint8_t((i * 7919u) >> (i % 11)));
  // Text that recurs beyond every window, so that the longest distances occur.
  const std::string first = LegacyEntries().front().data;
  Bytes far(first.begin(), first.end());
  far.insert(far.end(), binary.begin(), binary.begin() + 9000);
  const Bytes head(far.begin(), far.begin() + 20000);
  far.insert(far.end(), head.begin(), head.end());
  const Bytes shapes[] = {{}, {0x41}, {144}, Bytes(5000, 'x'), binary, far};
  std::vector<TArchiveEntry> entries = LegacyEntries();
  int n = 0;
  for (const Bytes& data : shapes) {
    entries.push_back(Entry("s" + std::to_string(n++), 1, 0, data, Shrink(data)));
    for (unsigned v = 0; v < 4; ++v) {
      const bool big = v & 1, lit = v & 2;
      entries.push_back(Entry("i" + std::to_string(n++), 6, ImplodeFlags(big, lit), data, Implode(data, big, lit)));
    }
  }
  testing_support::TempDir dir;
  const fs::path zip = dir.Path() / "legacy.zip";
  // Reduce has no reference decoder: those entries are left out.
  std::erase_if(entries, [](const TArchiveEntry& e) { return e.method >= 2 && e.method <= 5; });
  std::ofstream(zip, std::ios::binary) << MakeArchive(entries);
  const std::string command = "unzip -tq '" + zip.string() + "' >'" + (dir.Path() / "log").string() + "' 2>&1";
  const int status = std::system(command.c_str());
  const Bytes log = ReadAll(dir.Path() / "log");
  EXPECT_EQ(status, 0) << std::string(log.begin(), log.end());
}

TEST(LegacyArchive, DamagedEntryIsNotKept) {
  testing_support::TempDir dir;
  unzip::TUnZipper z;
  auto entries = LegacyEntries();
  for (TArchiveEntry& e : entries)
    if (e.packed->size() > 100) (*e.packed)[e.packed->size() / 2] ^= 0x5A;
  std::vector<std::string> badCrc;
  z.OnBadCRC = [&](unzip::TUnZipper& sender, std::uint32_t, std::uint32_t, int index) {
    badCrc.push_back(sender.Filename(index));
  };
  Extract(MakeArchive(entries), dir.Path(), z);
  for (const TArchiveEntry& e : entries) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(fs::exists(dir.Path() / "out" / e.name), e.data.empty());
  }
  EXPECT_EQ(badCrc.size(), entries.size() - 1);
}

// A decoder that finds the data damaged says so, as the other methods'
// decoders do; data that merely decodes to other bytes fails its CRC.
TEST(LegacyArchive, DamageIsNamedByItsMethod) {
  const std::string text = LegacyEntries().front().data;
  const Bytes plain(text.begin(), text.end());
  const auto half = [](const Bytes& packed) { return Bytes(packed.begin(), packed.begin() + packed.size() / 2); };
  // Codes wider than 13 bits: 'A', then five times 256 1 (9 to 14 bits).
  TBitWriter wide;
  wide.Put('A', 9);
  for (unsigned width = 9; width < 14; ++width) {
    wide.Put(256, width);
    wide.Put(1, width);
  }
  // A literal tree description of 255 lengths where 256 are needed.
  Bytes badTree = DescribeTree(std::vector<std::uint8_t>(255, 8));
  badTree.resize(badTree.size() + 100, 0x5A);
  const struct {
    TArchiveEntry entry;
    const char* error;
  } cases[] = {
      {Entry("wide.shrunk", 1, 0, plain, wide.Finish()), "corrupt shrunk data"},
      {Entry("cut.shrunk", 1, 0, plain, half(Shrink(plain))), ""},
      {Entry("cut.reduced", 3, 0, plain, half(Reduce(plain, 2))), "corrupt reduced data"},
      {Entry("cut.imploded", 6, ImplodeFlags(true, false), plain, half(Implode(plain, true, false))),
       "corrupt imploded data"},
      {Entry("tree.imploded", 6, ImplodeFlags(false, true), plain, badTree), "corrupt imploded data"},
  };
  std::vector<TArchiveEntry> entries;
  for (const auto& c : cases) entries.push_back(c.entry);
  testing_support::TempDir dir;
  unzip::TUnZipper z;
  std::map<std::string, std::string> errors;
  z.OnBadCRC = [&](unzip::TUnZipper& sender, std::uint32_t, std::uint32_t, int index) {
    errors[sender.Filename(index)] = sender.EntryError();
  };
  Extract(MakeArchive(entries), dir.Path(), z);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry.name);
    ASSERT_TRUE(errors.count(c.entry.name));
    EXPECT_EQ(errors[c.entry.name], c.error);
    EXPECT_FALSE(fs::exists(dir.Path() / "out" / c.entry.name));
  }
}

}  // namespace
}  // namespace legacytest
