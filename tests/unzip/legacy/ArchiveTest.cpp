// Whole archives of shrunk, reduced and imploded entries, extracted by
// TUnZipper: every entry arrives byte-exact, a damaged one is not kept.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "LegacyDecode.h"
#include "LegacyEncoders.h"
#include "TempDir.h"
#include "unzip/UnZipper.h"

namespace legacytest {
namespace {

namespace fs = std::filesystem;

struct TArchiveEntry {
  std::string name;
  int method;
  std::uint16_t flags;
  Bytes plain;
  Bytes packed;
};

void Put16(std::string& out, unsigned v) {
  out += char(v & 0xFF);
  out += char((v >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// Local headers with the data, the central directory, the end record.
std::string MakeArchive(const std::vector<TArchiveEntry>& entries) {
  constexpr unsigned kVersion = 20;
  constexpr unsigned kDosTime = 12u << 11, kDosDate = ((2026u - 1980) << 9) | (1 << 5) | 1;
  std::string out, central;
  for (const TArchiveEntry& e : entries) {
    const std::uint32_t offset = std::uint32_t(out.size());
    auto common = [&](std::string& to) {
      Put16(to, kVersion);
      Put16(to, e.flags);
      Put16(to, unsigned(e.method));
      Put16(to, kDosTime);
      Put16(to, kDosDate);
      Put32(to, Crc32Of(e.plain));
      Put32(to, std::uint32_t(e.packed.size()));
      Put32(to, std::uint32_t(e.plain.size()));
      Put16(to, unsigned(e.name.size()));
      Put16(to, 0);  // extra field
    };
    Put32(out, 0x04034B50);
    common(out);
    out += e.name;
    out.append(e.packed.begin(), e.packed.end());

    Put32(central, 0x02014B50);
    Put16(central, kVersion);  // made by, FAT host
    common(central);
    Put16(central, 0);  // comment
    Put16(central, 0);  // disk
    Put16(central, 0);  // internal attributes
    Put32(central, 0);  // external attributes
    Put32(central, offset);
    central += e.name;
  }
  const std::uint32_t centralOffset = std::uint32_t(out.size());
  out += central;
  Put32(out, 0x06054B50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, unsigned(entries.size()));
  Put16(out, unsigned(entries.size()));
  Put32(out, std::uint32_t(central.size()));
  Put32(out, centralOffset);
  Put16(out, 0);
  return out;
}

std::vector<TArchiveEntry> LegacyEntries() {
  Bytes text;
  for (int i = 0; i < 70000; ++i) text.push_back(std::uint8_t("consignment note \x90 warehouse 7\n"[i % 31] + (i / 4000) % 3));
  std::vector<TArchiveEntry> entries;
  entries.push_back({"shrunk.txt", 1, 0, text, Shrink(text)});
  for (int f = 1; f <= 4; ++f)
    entries.push_back({"reduced" + std::to_string(f) + ".txt", 1 + f, 0, text, Reduce(text, f)});
  for (unsigned v = 0; v < 4; ++v) {
    const bool big = v & 1, lit = v & 2;
    entries.push_back({"imploded" + std::to_string(v) + ".txt", 6, ImplodeFlags(big, lit), text, Implode(text, big, lit)});
  }
  entries.push_back({"empty.txt", 1, 0, {}, Shrink({})});
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
    EXPECT_EQ(ReadAll(dir.Path() / "out" / e.name), e.plain);
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
  Bytes far(LegacyEntries().front().plain);
  far.insert(far.end(), binary.begin(), binary.begin() + 9000);
  const Bytes head(far.begin(), far.begin() + 20000);
  far.insert(far.end(), head.begin(), head.end());
  const Bytes shapes[] = {{}, {0x41}, {144}, Bytes(5000, 'x'), binary, far};
  std::vector<TArchiveEntry> entries = LegacyEntries();
  int n = 0;
  for (const Bytes& data : shapes) {
    entries.push_back({"s" + std::to_string(n++), 1, 0, data, Shrink(data)});
    for (unsigned v = 0; v < 4; ++v) {
      const bool big = v & 1, lit = v & 2;
      entries.push_back({"i" + std::to_string(n++), 6, ImplodeFlags(big, lit), data, Implode(data, big, lit)});
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
    if (e.packed.size() > 100) e.packed[e.packed.size() / 2] ^= 0x5A;
  std::vector<std::string> badCrc;
  z.OnBadCRC = [&](unzip::TUnZipper& sender, std::uint32_t, std::uint32_t, int index) {
    badCrc.push_back(sender.Filename(index));
  };
  Extract(MakeArchive(entries), dir.Path(), z);
  for (const TArchiveEntry& e : entries) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(fs::exists(dir.Path() / "out" / e.name), e.plain.empty());
  }
  EXPECT_EQ(badCrc.size(), entries.size() - 1);
}

// A decoder that finds the data damaged says so, as the other methods'
// decoders do; data that merely decodes to other bytes fails its CRC.
TEST(LegacyArchive, DamageIsNamedByItsMethod) {
  const Bytes plain = LegacyEntries().front().plain;
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
      {{"wide.shrunk", 1, 0, plain, wide.Finish()}, "corrupt shrunk data"},
      {{"cut.shrunk", 1, 0, plain, half(Shrink(plain))}, ""},
      {{"cut.reduced", 3, 0, plain, half(Reduce(plain, 2))}, "corrupt reduced data"},
      {{"cut.imploded", 6, ImplodeFlags(true, false), plain, half(Implode(plain, true, false))},
       "corrupt imploded data"},
      {{"tree.imploded", 6, ImplodeFlags(false, true), plain, badTree}, "corrupt imploded data"},
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
