// What the launcher relies on in the extraction driver: the default overwrite
// question and its handler, the password check byte taken from the CRC when
// the sizes precede the data, and a decryption handler taking over.
#include <gtest/gtest.h>
#include <zlib.h>

#include "DeflateTestSupport.h"
#include "TempDir.h"
#include "ZipTestSupport.h"
#include "ZipWriter.h"
#include "core/Crc32.h"
#include "decode/ZipCrypt.h"
#include "platform/headless/Driver.h"
#include "unzip/UnZipper.h"

namespace unzip {
namespace {

// The traditional encryption, written here from the application note so that
// the engine's decryption is checked against an independent encoder (and the
// stock unzip checks the archives).
class TestCipher {
 public:
  explicit TestCipher(const std::string& password) {
    for (char c : password) Update(static_cast<std::uint8_t>(c));
  }
  std::string Encrypt(const std::string& plain) {
    std::string out;
    for (char c : plain) {
      const auto p = static_cast<std::uint8_t>(c);
      const std::uint32_t t = (k2_ & 0xFFFF) | 2;
      out += static_cast<char>(p ^ static_cast<std::uint8_t>((t * (t ^ 1)) >> 8));
      Update(p);
    }
    return out;
  }

 private:
  void Update(std::uint8_t p) {
    k0_ = Crc32Byte(k0_, p);
    k1_ = (k1_ + (k0_ & 0xFF)) * 134775813u + 1;
    k2_ = Crc32Byte(k2_, static_cast<std::uint8_t>(k1_ >> 24));
  }
  std::uint32_t k0_ = 0x12345678u, k1_ = 0x23456789u, k2_ = 0x34567890u;
};

// One deflated entry encrypted with `password`, general-purpose flag bit 3
// clear; the header's check byte is the CRC's high byte, or the time's high
// byte when `timeCheckByte` (what bit 3 would call for).
std::string EncryptedArchive(const std::string& name, const std::string& plain, const std::string& password,
                             bool timeCheckByte) {
  const std::uint32_t crc = ~UpdateCrc32(kCrcPreset, reinterpret_cast<const std::uint8_t*>(plain.data()), plain.size());
  std::string header = "0123456789a";
  header += static_cast<char>(timeCheckByte ? testing_support::kZipDosTime >> 8 : crc >> 24);
  testing_support::ZipEntry e{name, plain};
  e.method = 8;
  e.flags = 1;  // encrypted, sizes in the header
  e.packed = TestCipher(password).Encrypt(header + deflatetest::RawDeflate(plain, 6, Z_DEFAULT_STRATEGY));
  return testing_support::MakeZip({e});
}

const std::string kPlain = [] {
  std::string s;
  for (int i = 0; i < 3000; ++i) s += "route " + std::to_string(i % 97) + "\n";
  return s;
}();

class DriverEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Reset();
    platform::headless::SetEcho(false);
    z_.SetDoProcessMessages(false);
    z_.SetDestDir((dir_.Path() / "out").string());
    z_.SetDoAll(true);
    z_.OnSkippingFile = [this](TUnZipper&, TSkipReason reason, const std::string& name, int, bool&) {
      skips_.push_back(std::to_string(static_cast<int>(reason)) + " " + fs::path(name).filename().string());
    };
  }
  void TearDown() override { platform::headless::Reset(); }

  std::string Out(const std::string& name) { return ziptest::ReadFile(dir_.Path() / "out" / name); }

  TempDir dir_;
  TUnZipper z_;
  std::vector<std::string> skips_;
};

// Without a handler the user is asked "Replace existing file NAME?" in a
// "File Exists Alert" box with Yes and No: Yes replaces, No keeps the file.
TEST_F(DriverEvents, DefaultOverwriteQuestion) {
  ziptest::MakeFixture("dates", dir_.Path() / "d.zip");
  z_.SetZipName((dir_.Path() / "d.zip").string());
  ziptest::WriteFile(dir_.Path() / "out" / "A.txt", "old A");
  ziptest::WriteFile(dir_.Path() / "out" / "b.txt", "old b");
  platform::headless::QueueMessageBoxReply(platform::MessageResult::No);   // b.txt, first in the archive
  platform::headless::QueueMessageBoxReply(platform::MessageResult::Yes);  // A.txt
  EXPECT_EQ(z_.UnZip(), 2);
  const auto& boxes = platform::headless::MessageBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, "Replace existing file b.txt?");
  EXPECT_EQ(boxes[1].text, "Replace existing file A.txt?");
  for (const auto& box : boxes) {
    EXPECT_EQ(box.caption, "File Exists Alert");
    EXPECT_EQ(box.buttons, platform::MessageButtons::YesNo);
  }
  EXPECT_EQ(Out("b.txt"), "old b");
  EXPECT_EQ(Out("A.txt"), std::string(10, 'a'));
  EXPECT_EQ(skips_, std::vector<std::string>{"1 b.txt"});
}

// A handler decides instead of the box, starting from "do not overwrite", and
// may send the entry elsewhere.
TEST_F(DriverEvents, OverwriteHandler) {
  ziptest::MakeFixture("dates", dir_.Path() / "d.zip");
  z_.SetZipName((dir_.Path() / "d.zip").string());
  ziptest::WriteFile(dir_.Path() / "out" / "A.txt", "old A");
  ziptest::WriteFile(dir_.Path() / "out" / "b.txt", "old b");
  std::vector<std::string> asked;
  z_.OnPromptForOverwrite = [&](TUnZipper& sender, bool& overwrite, int index, std::string& name) {
    EXPECT_FALSE(overwrite);
    asked.push_back(sender.Filename(index));
    if (sender.Filename(index) == "A.txt") name = (dir_.Path() / "out" / "A-new.txt").string();
    overwrite = sender.Filename(index) == "A.txt";
  };
  EXPECT_EQ(z_.UnZip(), 2);
  EXPECT_EQ(asked, (std::vector<std::string>{"b.txt", "A.txt"}));
  EXPECT_TRUE(platform::headless::MessageBoxes().empty());
  EXPECT_EQ(Out("A.txt"), "old A");
  EXPECT_EQ(Out("A-new.txt"), std::string(10, 'a'));
  EXPECT_EQ(Out("b.txt"), "old b");
}

// An entry of a method this build does not decode shows one box per method
// and run; a handler of its own takes the box's place, told the method.
TEST_F(DriverEvents, UnknownMethodBoxAndHandler) {
  std::vector<testing_support::ZipEntry> entries;
  for (const char* name : {"a.bin", "b.bin"}) {
    testing_support::ZipEntry e{name, "data"};
    e.method = 97;
    entries.push_back(e);
  }
  const fs::path zip = dir_.Path() / "m.zip";
  ziptest::WriteFile(zip, testing_support::MakeZip(entries));
  z_.SetZipName(zip.string());
  EXPECT_EQ(z_.UnZip(), 0);
  ASSERT_EQ(platform::headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(platform::headless::MessageBoxes()[0].text, "Unknown Compression Method");
  EXPECT_EQ(platform::headless::MessageBoxes()[0].caption, "Zip Error");
  platform::headless::Reset();
  std::vector<std::uint16_t> told;
  z_.OnUnknownMethod = [&](TUnZipper&, std::uint16_t method) { told.push_back(method); };
  z_.SetDoAll(true);
  EXPECT_EQ(z_.UnZip(), 0);
  EXPECT_EQ(told, std::vector<std::uint16_t>{97});
  EXPECT_TRUE(platform::headless::MessageBoxes().empty());
  EXPECT_EQ(z_.LastError(), "Unknown Compression Method");
  EXPECT_FALSE(fs::exists(dir_.Path() / "out" / "a.bin"));
}

// With flag bit 3 clear the password is checked against the CRC's high byte:
// the stock unzip agrees with the archive, the right password extracts it, a
// wrong one, or a check byte taken from the time, is refused.
TEST_F(DriverEvents, CheckByteFromTheCrc) {
  const fs::path good = dir_.Path() / "good.zip", timed = dir_.Path() / "timed.zip";
  ziptest::WriteFile(good, EncryptedArchive("secret.txt", kPlain, "pw", false));
  ziptest::WriteFile(timed, EncryptedArchive("timed.txt", kPlain, "pw", true));
  if (ziptest::HaveTool("unzip")) {
    EXPECT_EQ(ziptest::Shell("unzip -tq -P pw " + ziptest::Q(good)), 0);
  }
  z_.SetZipName(good.string());
  z_.SetPassword("wrong");
  EXPECT_EQ(z_.UnZip(), 0);
  z_.SetPassword("pw");
  z_.SetDoAll(true);
  EXPECT_EQ(z_.UnZip(), 1);
  EXPECT_TRUE(Out("secret.txt") == kPlain);
  z_.SetZipName(timed.string());
  z_.SetDoAll(true);
  EXPECT_EQ(z_.UnZip(), 0);
  EXPECT_FALSE(fs::exists(dir_.Path() / "out" / "timed.txt"));
  EXPECT_EQ(skips_, (std::vector<std::string>{"0 secret.txt", "0 timed.txt"}));
}

// OnDecrypt replaces the built-in decryption of the entry's data: it gets
// every compressed byte after the 12-byte header, in order, with the password.
TEST_F(DriverEvents, DecryptHandlerTakesOver) {
  const std::string archive = EncryptedArchive("secret.txt", kPlain, "pw", false);
  const fs::path zip = dir_.Path() / "e.zip";
  ziptest::WriteFile(zip, archive);
  z_.SetZipName(zip.string());
  z_.SetPassword("pw");
  TZipKeys keys;
  keys.Init("pw");
  // The handler's keys start where the header leaves them.
  const std::size_t dataAt = kLocalHeaderSize + std::string("secret.txt").size();
  std::string header = archive.substr(dataAt, kCryptHeaderSize);
  keys.Decrypt(reinterpret_cast<std::uint8_t*>(header.data()), header.size());
  std::size_t handed = 0;
  z_.OnDecrypt = [&](TUnZipper&, std::uint8_t* buffer, int length, const std::string& password) {
    EXPECT_EQ(password, "pw");
    handed += static_cast<std::size_t>(length);
    keys.Decrypt(buffer, static_cast<std::size_t>(length));
  };
  EXPECT_EQ(z_.UnZip(), 1);
  EXPECT_TRUE(Out("secret.txt") == kPlain);
  EXPECT_EQ(handed, deflatetest::RawDeflate(kPlain, 6, Z_DEFAULT_STRATEGY).size());
}

}  // namespace
}  // namespace unzip
