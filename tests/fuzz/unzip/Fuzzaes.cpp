// The WinZip AES path of the driver: the input is one AES entry's strength,
// inner method and version (three bytes) and its data (salt, verifier,
// encrypted data, authentication code), wrapped in an archive and tested with
// the password "pw".
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "ZipWriter.h"
#include "unzip/UnZipper.h"

namespace {

constexpr std::uint32_t kDeclaredSize = 1 << 20;
constexpr std::uint16_t kMethods[] = {0, 8, 9, 12, 14, 93, 95, 1, 6, 98};

// One entry "e" with the 0x9901 field in both headers.
std::string Archive(std::uint8_t strength, std::uint16_t method, std::uint16_t version, const std::uint8_t* data,
                    std::size_t size) {
  testing_support::ZipEntry e{"e", ""};
  e.method = 99;
  e.flags = 1;  // encrypted
  e.extra = std::string("\x01\x99\x07\x00", 4);
  e.extra += static_cast<char>(version);
  e.extra += '\0';
  e.extra += "AE";
  e.extra += static_cast<char>(strength);
  e.extra += static_cast<char>(method & 0xFF);
  e.extra += static_cast<char>(method >> 8);
  e.packed = std::string(reinterpret_cast<const char*>(data), size);
  e.crc = 0;  // AE-2 stores none
  e.size = kDeclaredSize;
  return testing_support::MakeZip({e});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  static const std::string path = "/tmp/tw-fuzz-aes-" + std::to_string(getpid()) + ".zip";
  const std::string zip = Archive(static_cast<std::uint8_t>(data[0] % 4), kMethods[data[1] % std::size(kMethods)],
                                  static_cast<std::uint16_t>(1 + data[2] % 2), data + 3, size - 3);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(zip.data(), 1, zip.size(), f);
  std::fclose(f);
  unzip::TUnZipper z;
  z.SetDoProcessMessages(false);
  z.SetTestOnly(true);
  z.SetDoAll(true);
  z.SetPassword("pw");
  try {
    z.SetZipName(path);
    z.UnZip();
  } catch (const platform::Exception&) {
    // Documented errors are the expected outcome for most inputs.
  }
  return 0;
}
