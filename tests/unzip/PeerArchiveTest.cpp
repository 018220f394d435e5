// Archives written at test time by the programs that write them in the wild
// (Info-ZIP zip, 7-Zip, bsdtar, jar, Python's zipfile): every one extracts
// byte-exact with its names, times and permissions; with their directory lost,
// those written with data descriptors are repaired without loss; and data put
// in front of an archive, offsets adjusted or not, loses nothing either.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>

#include "TempDir.h"
#include "ZipTestSupport.h"
#include "unzip/UnZipper.h"

namespace unzip {
namespace {

// Every file of the source tree was last written at 2021-06-15 10:20:30 UTC.
constexpr std::int64_t kStamp = 1623752430;
constexpr char kLinkTarget[] = "a.txt";

// What an archiver does with the symbolic link "link".
enum class LinkKind { Stored, Followed, Left };

struct Peer {
  const char* name;
  const char* tool;
  const char* command;  // run in the source folder; OUT is the archive
  LinkKind link;
  bool unixModes;    // the archiver keeps Unix permissions
  bool descriptors;  // sizes follow the data: the archive is also repaired
};

const Peer kPeers[] = {
    {"zip", "zip", "zip -q -r -y OUT .", LinkKind::Stored, true, false},
    {"zip -fz", "zip", "zip -q -r -y -fz OUT .", LinkKind::Stored, true, false},
    {"zip to a pipe", "zip", "zip -q -r - . | cat > OUT", LinkKind::Followed, true, true},
    {"7-Zip", "7zz", "7zz a -tzip -snl OUT . >/dev/null", LinkKind::Stored, true, false},
    {"bsdtar", "bsdtar", "bsdtar --format zip -cf OUT .", LinkKind::Stored, true, false},
    {"bsdtar to a pipe", "bsdtar", "bsdtar --format zip -cf - . | cat > OUT", LinkKind::Stored, true, true},
    {"jar", "jar", "jar cfM OUT .", LinkKind::Followed, false, true},
    {"Python zipfile, Zip64 forced", "python3", "python3 '" TW_ZIP_PEERS "' tree . OUT", LinkKind::Left, true,
     false},
};

std::string Replace(std::string s, const std::string& what, const std::string& with) {
  for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + with.size()))
    s.replace(at, what.size(), with);
  return s;
}

// Text, a script, binary data, an empty file, UTF-8 names and a symbolic link.
void MakeTree(const fs::path& root) {
  std::mt19937 rng(11);
  std::string text;
  while (text.size() < 150000) text += "consignment " + std::to_string(rng() % 100000) + " for depot 7\n";
  std::string binary(70000, '\0');
  for (char& c : binary) c = static_cast<char>(rng());
  ziptest::WriteFile(root / "a.txt", text);
  ziptest::WriteFile(root / "run.sh", "#!/bin/sh\necho ready\n");
  ziptest::WriteFile(root / "sub" / "bin.dat", binary);
  ziptest::WriteFile(root / "empty.txt", "");
  ziptest::WriteFile(root / "caf\xC3\xA9.txt", "cafe\n");
  ziptest::WriteFile(root / "\xE4\xB8\xAD\xE6\x96\x87.txt", "zh\n");
  fs::permissions(root / "a.txt", fs::perms(0640));
  fs::permissions(root / "run.sh", fs::perms(0755));
  fs::create_symlink(kLinkTarget, root / "link");
  ASSERT_EQ(Shell("find " + Q(root) + " -exec touch -h -d @" + std::to_string(kStamp) + " {} +"), 0);
}

// The files an archive of the tree must extract to.
std::map<std::string, std::string> Expected(const fs::path& root, LinkKind link) {
  auto files = ziptest::Tree(root);
  if (link == LinkKind::Followed) files["link"] = files["a.txt"];
  if (link == LinkKind::Stored) files["link"] = kLinkTarget;
  if (link == LinkKind::Left) files.erase("link");
  return files;
}

std::vector<std::string> Names(const std::map<std::string, std::string>& files) {
  std::vector<std::string> names;
  for (const auto& f : files) names.push_back(f.first);
  return names;
}

struct Outcome {
  int count = 0;
  std::vector<std::string> problems;
};

Outcome ExtractAll(const fs::path& zip, const fs::path& dest, TIncompleteZipMode mode) {
  Outcome o;
  TUnZipper z;
  z.SetDoProcessMessages(false);
  z.SetIncompleteZipMode(mode);
  z.SetDoAll(true);
  z.SetRecreateDirs(true);
  z.OnBadCRC = [&](TUnZipper& s, std::uint32_t, std::uint32_t, int i) { o.problems.push_back("CRC " + s.Filename(i)); };
  z.OnSkippingFile = [&](TUnZipper&, TSkipReason, const std::string& name, int, bool&) {
    o.problems.push_back("skipped " + name);
  };
  try {
    z.SetZipName(zip.string());
    z.SetDestDir(dest.string());
    z.ReadZip();
    o.count = z.UnZip();
  } catch (const std::exception& e) {
    o.problems.push_back(e.what());
  }
  return o;
}

unsigned Mode(const fs::path& p) {
  struct stat st {};
  return ::lstat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

std::int64_t MTime(const fs::path& p) {
  struct stat st {};
  return ::lstat(p.c_str(), &st) == 0 ? st.st_mtime : -1;
}

class PeerArchives : public ::testing::Test {
 protected:
  void SetUp() override { MakeTree(src_); }

  // Extracts `zip` and compares with the tree as `peer` stores it.
  void Check(const fs::path& zip, const Peer& peer, TIncompleteZipMode mode = TIncompleteZipMode::izAssumeMulti) {
    const fs::path out = dir_.Path() / "out";
    fs::remove_all(out);
    const Outcome o = ExtractAll(zip, out, mode);
    EXPECT_EQ(o.problems, std::vector<std::string>());
    const auto expected = Expected(src_, peer.link);
    const auto got = ziptest::Tree(out);
    EXPECT_EQ(Names(got), Names(expected));
    for (const auto& [name, bytes] : expected) {
      SCOPED_TRACE(name);
      EXPECT_TRUE(got.count(name) && got.at(name) == bytes) << "content differs";
      EXPECT_FALSE(fs::is_symlink(out / name)) << "links are never created";
      EXPECT_EQ(MTime(out / name), kStamp);
    }
    if (peer.unixModes) {
      EXPECT_EQ(Mode(out / "a.txt"), 0640u);
      EXPECT_EQ(Mode(out / "run.sh"), 0755u);
    }
    if (peer.link == LinkKind::Stored) {
      EXPECT_EQ(Mode(out / "link"), 0644u);
    }
  }

  fs::path Make(const Peer& peer) {
    const fs::path zip = dir_.Path() / "peer.zip";
    fs::remove(zip);
    // In a subshell, so that the command's own output redirection stands.
    EXPECT_EQ(Shell("(cd " + Q(src_) + " && " + Replace(peer.command, "OUT", Q(zip)) + ")"), 0) << peer.command;
    return zip;
  }

  TempDir dir_;
  fs::path src_ = dir_.Path() / "src";
};

TEST_F(PeerArchives, EveryArchiverExtractsExactly) {
  for (const Peer& peer : kPeers) {
    SCOPED_TRACE(peer.name);
    if (!ziptest::HaveTool(peer.tool)) {
      std::printf("skipped %s: %s is not installed\n", peer.name, peer.tool);
      continue;
    }
    const fs::path zip = Make(peer);
    Check(zip, peer);
    if (!peer.descriptors) continue;
    // The directory lost: the entries are found again from their local
    // headers, their ends from their data descriptors. Permissions are kept
    // in the directory only, so they are lost with it.
    const std::string whole = ziptest::ReadFile(zip);
    const fs::path cut = dir_.Path() / "cut.zip";
    ziptest::WriteFile(cut, whole.substr(0, whole.find("PK\x01\x02")));
    Peer local = peer;
    local.unixModes = false;
    Check(cut, local, TIncompleteZipMode::izAssumeBad);
  }
}

// Info-ZIP's zip reading standard input into standard output: a Zip64 entry
// with a data descriptor, named "-".
TEST_F(PeerArchives, ZipFromStandardInput) {
  TW_REQUIRE_TOOL("zip");
  const fs::path zip = dir_.Path() / "stdin.zip";
  ASSERT_EQ(Shell("(zip -q - - < " + Q(src_ / "a.txt") + " | cat > " + Q(zip) + ")"), 0);
  const Outcome o = ExtractAll(zip, dir_.Path() / "out", TIncompleteZipMode::izAssumeMulti);
  EXPECT_EQ(o.problems, std::vector<std::string>());
  EXPECT_EQ(o.count, 1);
  EXPECT_EQ(ziptest::ReadFile(dir_.Path() / "out" / "-"), ziptest::ReadFile(src_ / "a.txt"));
}

// A self-extractor's stub put in front of an archive, with the offsets
// adjusted (zip -A) or not: names, times and permissions all survive, also
// for a stub far smaller than any fixed guess of its size.
TEST_F(PeerArchives, PrependedStub) {
  TW_REQUIRE_TOOL("zip");
  const Peer& peer = kPeers[0];
  const std::string archive = ziptest::ReadFile(Make(peer));
  for (std::size_t stubSize : {std::size_t{600}, std::size_t{5000}, std::size_t{40000}}) {
    std::string stub(stubSize, '\0');
    std::mt19937 rng{static_cast<unsigned>(stubSize)};
    for (char& c : stub) c = static_cast<char>(rng());
    const fs::path raw = dir_.Path() / "raw.exe", adjusted = dir_.Path() / "adjusted.exe";
    ziptest::WriteFile(raw, stub + archive);
    ziptest::WriteFile(adjusted, stub + archive);
    ASSERT_EQ(Shell("zip -q -A " + Q(adjusted)), 0);
    for (const fs::path& exe : {raw, adjusted}) {
      SCOPED_TRACE(exe.filename().string() + " after a stub of " + std::to_string(stubSize));
      Check(exe, peer);
    }
    // Without its directory the whole file is scanned for local headers,
    // whatever the stub's size.
    SCOPED_TRACE("no directory after a stub of " + std::to_string(stubSize));
    const fs::path cut = dir_.Path() / "cut.exe";
    ziptest::WriteFile(cut, stub + archive.substr(0, archive.find("PK\x01\x02")));
    Peer local = peer;
    local.unixModes = false;
    Check(cut, local, TIncompleteZipMode::izAssumeBad);
  }
}

}  // namespace
}  // namespace unzip
