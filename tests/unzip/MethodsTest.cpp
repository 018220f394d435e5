// Deflate64, bzip2, LZMA, XZ, Zstandard and PPMd entries, written by the
// tools that write them in the wild, and damaged streams of each.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "TempDir.h"
#include "ZipTestSupport.h"
#include "unzip/UnZipper.h"

namespace unzip {
namespace {

// Files that reach every corner of the methods: Deflate64's long lengths (a
// run of zeros) and distances past 32 KiB (a 40 KiB random block repeated).
void MakeSources(const fs::path& root) {
  std::mt19937 rng(11);
  std::string text;
  while (text.size() < 300000) text += "consignment " + std::to_string(rng() % 100000) + " to depot\n";
  std::string block(40000, '\0');
  for (char& c : block) c = static_cast<char>(rng());
  ziptest::WriteFile(root / "text.txt", text);
  ziptest::WriteFile(root / "far" / "repeats.bin", block + block + block + block);
  ziptest::WriteFile(root / "zeros.bin", std::string(200000, '\0'));
  ziptest::WriteFile(root / "empty.dat", "");
}

TEST(Methods, PeerArchivesExtractByteExact) {
  TempDir dir;
  const fs::path src = dir.Path() / "src";
  MakeSources(src);
  const std::string python =
      "python3 -c \"import sys, os, zipfile\n"
      "with zipfile.ZipFile(sys.argv[1], 'w', getattr(zipfile, sys.argv[2])) as z:\n"
      "  for d, _, fs in os.walk('.'):\n"
      "    for f in fs: z.write(os.path.join(d, f))\" ";
  struct Case {
    std::string what;
    std::string tool;
    std::string command;  // run in the source folder with the archive's path appended, or a fixture
  };
  const Case cases[] = {
      {"7-Zip Deflate64", "7zz", "7zz a -tzip -mm=Deflate64 -mx=9 ARCHIVE ."},
      {"7-Zip bzip2", "7zz", "7zz a -tzip -mm=BZip2 ARCHIVE ."},
      {"7-Zip LZMA", "7zz", "7zz a -tzip -mm=LZMA -mx=9 ARCHIVE ."},
      // PPMd's orders 2 to 16; its two restoration methods, restart (the
      // default) and cut-off (-mx=9), run when a 1 MiB model fills up.
      {"7-Zip PPMd order 2", "7zz", "7zz a -tzip -mm=PPMd -mo=2 -mmem=1m ARCHIVE ."},
      {"7-Zip PPMd order 16, model full", "7zz", "7zz a -tzip -mm=PPMd -mo=16 -mmem=1m ARCHIVE ."},
      {"7-Zip PPMd cut-off, model full", "7zz", "7zz a -tzip -mm=PPMd -mx=9 -mmem=1m ARCHIVE ."},
      {"7-Zip PPMd order 6, 64 MiB", "7zz", "7zz a -tzip -mm=PPMd -mo=6 -mmem=64m ARCHIVE ."},
      {"Python bzip2", "python3", python + "ARCHIVE ZIP_BZIP2"},
      {"Python LZMA", "python3", python + "ARCHIVE ZIP_LZMA"},
      {"zstd frames", "zstd", "fixture zstd_framed"},
      {"zstd frames, id 20", "zstd", "fixture zstd_old_id"},
      {"xz streams", "xz", "fixture xz_framed"},
  };
  for (const Case& c : cases) {
    if (!ziptest::HaveTool(c.tool)) {
      ADD_FAILURE() << c.tool << " is not installed (tools/setup-debian installs it)";
      continue;
    }
    const fs::path archive = dir.Path() / "a.zip";
    const fs::path out = dir.Path() / "out";
    fs::remove(archive);
    fs::remove_all(out);
    fs::path expected = src;
    if (c.command.rfind("fixture ", 0) == 0) {
      ziptest::MakeFixture(c.command.substr(8), archive);
      expected = archive.string() + ".plain";
    } else {
      std::string command = c.command;
      command.replace(command.find("ARCHIVE"), 7, Q(archive));
      ASSERT_EQ(Shell("cd " + Q(src) + " && " + command), 0) << c.what;
    }
    EXPECT_EQ(Shell(ziptest::Unzipper() + " extract " + Q(archive) + " -d " + Q(out)), 0) << c.what;
    EXPECT_TRUE(ziptest::Tree(out) == ziptest::Tree(expected)) << c.what;
    EXPECT_EQ(Shell(ziptest::Unzipper() + " test " + Q(archive)), 0) << c.what;
    fs::remove_all(expected.string() + ".plain");
  }
}

// Runs the engine over `archive` into `dest`; returns each failed entry's reason.
std::map<std::string, std::string> ExtractAll(const fs::path& archive, const fs::path& dest, int& extracted) {
  std::map<std::string, std::string> failures;
  TUnZipper z;
  z.SetDoProcessMessages(false);
  z.SetZipName(archive.string());
  z.SetDestDir(dest.string());
  z.SetDoAll(true);
  z.OnBadCRC = [&](TUnZipper& u, std::uint32_t, std::uint32_t, int index) {
    failures[u.Entry(index).FileName] = u.EntryError().empty() ? "CRC" : u.EntryError();
  };
  extracted = z.UnZip();
  return failures;
}

TEST(Methods, DamagedStreamsFailTheirEntryAlone) {
  TW_REQUIRE_TOOL("zstd");
  TW_REQUIRE_TOOL("7zz");
  TempDir dir;
  ziptest::MakeFixture("damaged", dir.Path() / "d.zip");
  int extracted = 0;
  const auto failures = ExtractAll(dir.Path() / "d.zip", dir.Path() / "out", extracted);
  EXPECT_EQ(extracted, 5);
  // Each method's entry names, and what its damage messages call its data.
  const std::pair<std::string, std::string> methods[] = {
      {"bzip2", "bzip2"}, {"lzma", "lzma"}, {"xz", "xz"}, {"zstd", "zstd"}, {"ppmd", "PPMd"}};
  for (const auto& [method, data] : methods) {
    EXPECT_TRUE(fs::exists(dir.Path() / "out" / (method + "-good.txt"))) << method;
    for (const std::string kind : {"flipped", "cut", "long"}) {
      const std::string name = method + "-" + kind + ".txt";
      EXPECT_TRUE(failures.count(name)) << name;
      EXPECT_FALSE(fs::exists(dir.Path() / "out" / name)) << name;
    }
    // A stream cut short is named for what it is.
    EXPECT_EQ(failures.at(method + "-cut.txt"), "corrupt " + data + " data") << method;
  }
  // A damaged PPMd model strays into symbols that mean nothing, or past the data's end.
  EXPECT_EQ(failures.at("ppmd-flipped.txt"), "corrupt PPMd data");
  // Output past the declared size is cut; LZMA, told the size, finds no end
  // there; PPMd stops at the size, and its CRC tells.
  EXPECT_EQ(failures.at("bzip2-long.txt"), "File is larger than uncompressed size!");
  EXPECT_EQ(failures.at("zstd-long.txt"), "File is larger than uncompressed size!");
  EXPECT_EQ(failures.at("lzma-long.txt"), "corrupt lzma data");
  EXPECT_EQ(failures.at("ppmd-long.txt"), "CRC");
}

// The PPMd header's fields: an order below 2 and the freezing restoration
// method (which no writer uses) are refused; the largest model the header
// can name is within the engine's limit.
TEST(Methods, PpmdHeaderFields) {
  TW_REQUIRE_TOOL("7zz");
  TempDir dir;
  ziptest::MakeFixture("ppmd_headers", dir.Path() / "h.zip");
  int extracted = 0;
  const auto failures = ExtractAll(dir.Path() / "h.zip", dir.Path() / "out", extracted);
  EXPECT_EQ(failures, (std::map<std::string, std::string>{{"order-1.txt", "corrupt PPMd data"},
                                                          {"freeze.txt", "corrupt PPMd data"}}));
  EXPECT_EQ(extracted, 2);
  EXPECT_EQ(ziptest::Tree(dir.Path() / "out"), ziptest::Tree(dir.Path() / "h.zip.plain"));
}

TEST(Methods, DictionariesAreCappedBeforeAllocation) {
  TempDir dir;
  for (const std::string kind : {"xz_huge_dictionary", "lzma_huge_dictionary"}) {
    ziptest::MakeFixture(kind, dir.Path() / (kind + ".zip"));
    int extracted = 0;
    const auto failures = ExtractAll(dir.Path() / (kind + ".zip"), dir.Path() / "out", extracted);
    EXPECT_EQ(extracted, 0) << kind;
    ASSERT_TRUE(failures.count("huge.txt")) << kind;
    EXPECT_NE(failures.at("huge.txt").find("needs more memory than the engine allows"), std::string::npos)
        << kind << ": " << failures.at("huge.txt");
  }
  // Zstandard frames asking for a 1 GiB window (written from a pipe, so the
  // encoder could not shrink it to the data) are refused the same way.
  TW_REQUIRE_TOOL("zstd");
  ASSERT_EQ(Shell("cd " + Q(dir.Path()) + " && printf 'data\\n' | zstd -q --long=30 -c > w.zst && " +
                  "python3 -c \"import sys, zipfile; sys.path.insert(0, '" + fs::path(TW_ZIP_FIXTURES).parent_path().string() +
                  "'); import fixtures, zlib; fixtures.raw_zip('w.zip', [('w.txt', 93, b'data\\\\n', open('w.zst','rb').read())])\""),
            0);
  int extracted = 0;
  const auto failures = ExtractAll(dir.Path() / "w.zip", dir.Path() / "out", extracted);
  ASSERT_TRUE(failures.count("w.txt"));
  EXPECT_EQ(failures.at("w.txt"), "zstd data needs more memory than the engine allows");
}

}  // namespace
}  // namespace unzip
