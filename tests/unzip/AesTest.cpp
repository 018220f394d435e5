// WinZip AES entries written by 7-Zip: every key strength, a wrong password
// through the password events, and tampered data caught by the authentication code.
#include <gtest/gtest.h>

#include <random>

#include "TempDir.h"
#include "ZipTestSupport.h"
#include "unzip/UnZipper.h"

namespace unzip {
namespace {

constexpr char kPassword[] = "Tarn-wick 7";

class Aes : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ziptest::HaveTool("7zz")) GTEST_SKIP() << "7zz is not installed";
    std::mt19937 rng(17);
    std::string text;
    while (text.size() < 100000) text += "waybill " + std::to_string(rng() % 9999) + "\n";
    std::string noise(40000, '\0');
    for (char& c : noise) c = static_cast<char>(rng());
    ziptest::WriteFile(src() / "text.txt", text);
    ziptest::WriteFile(src() / "sub" / "noise.bin", noise);
    ziptest::WriteFile(src() / "tiny.txt", "x");
  }
  fs::path src() const { return dir_.Path() / "src"; }
  fs::path Make(const std::string& name, const std::string& options) {
    const fs::path out = dir_.Path() / name;
    EXPECT_EQ(Shell("cd " + Q(src()) + " && 7zz a -tzip " + options + " -p'" + kPassword + "' " + Q(out) + " ."), 0);
    return out;
  }
  TempDir dir_;
};

TEST_F(Aes, EveryStrengthAndMethodExtractsByteExact) {
  for (const std::string strength : {"AES128", "AES192", "AES256"}) {
    for (const std::string method : {"Deflate", "Copy", "BZip2", "Deflate64"}) {
      const std::string what = strength + " " + method;
      const fs::path zip = Make("a.zip", "-mem=" + strength + " -mm=" + method);
      const fs::path out = dir_.Path() / "out";
      fs::remove_all(out);
      EXPECT_EQ(Shell(ziptest::Unzipper() + " extract " + Q(zip) + " -d " + Q(out) + " -P '" + kPassword + "'"), 0)
          << what;
      EXPECT_TRUE(ziptest::Tree(out) == ziptest::Tree(src())) << what;
      fs::remove(zip);
    }
  }
}

TEST_F(Aes, WrongPasswordGoesThroughThePasswordEvents) {
  const fs::path zip = Make("w.zip", "-mem=AES256");
  const fs::path out = dir_.Path() / "out";
  TUnZipper z;
  z.SetDoProcessMessages(false);
  z.SetZipName(zip.string());
  z.SetDestDir(out.string());
  z.SetRecreateDirs(true);
  z.SetPassword("wrong");
  int skipped = 0;
  z.OnSkippingFile = [&](TUnZipper&, TSkipReason reason, const std::string&, int, bool&) {
    EXPECT_EQ(reason, TSkipReason::BadPassword);
    ++skipped;
  };
  z.SetDoAll(true);
  EXPECT_EQ(z.UnZip(), 1);  // only the folder entry
  EXPECT_EQ(skipped, 3);
  EXPECT_TRUE(ziptest::Tree(out).empty());
  // A handler that answers with the right password gets every entry out, asked once.
  int asked = 0;
  z.OnBadPassword = [&](TUnZipper&, int, std::string& next) {
    ++asked;
    next = kPassword;
  };
  z.SetPassword("wrong");
  z.SetDoAll(true);
  EXPECT_EQ(z.UnZip(), 4);
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(ziptest::Tree(out) == ziptest::Tree(src()));
}

TEST_F(Aes, TamperedEntriesAreDamagedNotWrongPasswords) {
  const fs::path zip = Make("t.zip", "-mem=AES128 -mm=Copy");
  TUnZipper z;
  z.SetDoProcessMessages(false);
  z.SetZipName(zip.string());
  z.ReadZip();
  // Offsets of text.txt's encrypted data and of its authentication code.
  std::uint32_t dataStart = 0, dataEnd = 0;
  for (int i = 0; i < z.EntryCount(); ++i) {
    const TZipHeaderInfo& e = z.Entry(i);
    if (e.FileName != "text.txt") continue;
    const std::string bytes = ziptest::ReadFile(zip);
    const auto* h = reinterpret_cast<const std::uint8_t*>(bytes.data() + e.LocalHeaderOffset);
    dataStart = e.LocalHeaderOffset + 30 + (h[26] | h[27] << 8) + (h[28] | h[29] << 8);
    dataEnd = dataStart + e.CompressedSize;
  }
  ASSERT_GT(dataEnd, dataStart + 1000);
  const std::uint32_t spots[] = {dataStart + 500, dataEnd - 3};  // ciphertext, authentication code
  for (const std::uint32_t spot : spots) {
    std::string bytes = ziptest::ReadFile(zip);
    bytes[spot] = static_cast<char>(bytes[spot] ^ 0x20);
    const fs::path bad = dir_.Path() / "bad.zip";
    ziptest::WriteFile(bad, bytes);
    const fs::path out = dir_.Path() / "out";
    fs::remove_all(out);
    TUnZipper u;
    u.SetDoProcessMessages(false);
    u.SetZipName(bad.string());
    u.SetDestDir(out.string());
    u.SetPassword(kPassword);
    std::vector<std::string> damaged;
    u.OnBadCRC = [&](TUnZipper& s, std::uint32_t, std::uint32_t, int index) {
      damaged.push_back(s.Entry(index).FileName + ": " + s.EntryError());
    };
    u.OnBadPassword = [&](TUnZipper&, int, std::string&) { ADD_FAILURE() << "asked for a password"; };
    u.SetDoAll(true);
    EXPECT_EQ(u.UnZip(), 3);
    EXPECT_EQ(damaged, (std::vector<std::string>{
                           "text.txt: authentication code mismatch: the entry is damaged or was altered"}));
    EXPECT_FALSE(fs::exists(out / "text.txt"));
    EXPECT_TRUE(fs::exists(out / "tiny.txt"));
  }
}

TEST_F(Aes, AnEntryTooShortForItsHeaderIsDamaged) {
  const fs::path zip = Make("s.zip", "-mem=AES128 -mm=Copy");
  TUnZipper z;
  z.SetDoProcessMessages(false);
  z.SetZipName(zip.string());
  z.ReadZip();
  // tiny.txt holds 8 + 2 + 1 + 10 bytes; both headers now claim 12.
  std::string bytes = ziptest::ReadFile(zip);
  for (int i = 0; i < z.EntryCount(); ++i) {
    const TZipHeaderInfo& e = z.Entry(i);
    if (e.FileName != "tiny.txt") continue;
    bytes[e.LocalHeaderOffset + 18] = 12;
    bytes[e.CentralRecordOffset + 20] = 12;
  }
  ziptest::WriteFile(zip, bytes);
  TUnZipper u;
  u.SetDoProcessMessages(false);
  u.SetZipName(zip.string());
  u.SetTestOnly(true);
  u.SetPassword(kPassword);
  std::vector<std::string> damaged;
  u.OnBadCRC = [&](TUnZipper& s, std::uint32_t, std::uint32_t, int index) {
    damaged.push_back(s.Entry(index).FileName + ": " + s.EntryError());
  };
  u.OnSkippingFile = [&](TUnZipper&, TSkipReason, const std::string&, int, bool&) { ADD_FAILURE() << "skipped"; };
  u.SetDoAll(true);
  EXPECT_EQ(u.UnZip(), 3);
  EXPECT_EQ(damaged, (std::vector<std::string>{"tiny.txt: damaged AES entry: shorter than its salt, password "
                                               "verifier and authentication code"}));
}

TEST_F(Aes, WithoutItsAesFieldAnEntryIsUnsupportedNotAWrongPassword) {
  const fs::path zip = Make("n.zip", "-mem=AES256 -mm=Copy");
  std::string bytes = ziptest::ReadFile(zip);
  // Rename every 0x9901 field, so that no entry says how it was encrypted.
  for (std::size_t at = 0; (at = bytes.find(std::string("\x01\x99\x07\x00", 4), at)) != std::string::npos; ++at)
    bytes[at] = '\x02';
  ziptest::WriteFile(zip, bytes);
  TUnZipper z;
  z.SetDoProcessMessages(false);
  z.SetZipName(zip.string());
  z.SetTestOnly(true);
  z.SetPassword(kPassword);
  std::vector<std::string> failures;
  z.OnSkippingFile = [&](TUnZipper& s, TSkipReason reason, const std::string&, int, bool&) {
    EXPECT_EQ(reason, TSkipReason::Unsupported);
    failures.push_back(s.LastError());
  };
  z.OnBadPassword = [&](TUnZipper&, int, std::string&) { ADD_FAILURE() << "asked for a password"; };
  z.SetDoAll(true);
  EXPECT_EQ(z.UnZip(), 1);  // the folder entry
  EXPECT_EQ(failures, std::vector<std::string>(3, "encrypted with a method this build does not support"));
}

}  // namespace
}  // namespace unzip
