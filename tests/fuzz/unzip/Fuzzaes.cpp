// The WinZip AES path of the driver: the input is one AES entry's strength,
// inner method and version (three bytes) and its data (salt, verifier,
// encrypted data, authentication code), wrapped in an archive and tested with
// the password "pw".
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "unzip/UnZipper.h"

namespace {

constexpr std::uint32_t kDeclaredSize = 1 << 20;
constexpr std::uint16_t kMethods[] = {0, 8, 9, 12, 14, 93, 95, 1, 6};

void Put16(std::string& s, std::uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

// One entry "e" in both headers, with the 0x9901 field in both.
std::string Archive(std::uint8_t strength, std::uint16_t method, std::uint16_t version, const std::uint8_t* data,
                    std::size_t size) {
  std::string extra;
  Put16(extra, 0x9901);
  Put16(extra, 7);
  Put16(extra, version);
  extra += "AE";
  extra += static_cast<char>(strength);
  Put16(extra, method);
  std::string fields;
  Put16(fields, 51);  // version needed
  Put16(fields, 1);   // encrypted
  Put16(fields, 99);
  Put32(fields, 0x52640000);
  Put32(fields, 0);  // CRC: AE-2 stores none
  Put32(fields, static_cast<std::uint32_t>(size));
  Put32(fields, kDeclaredSize);
  Put16(fields, 1);  // name length
  Put16(fields, static_cast<std::uint32_t>(extra.size()));
  std::string zip = "PK\x03\x04" + fields + "e" + extra;
  zip.append(reinterpret_cast<const char*>(data), size);
  const std::size_t central = zip.size();
  zip += "PK\x01\x02";
  Put16(zip, 51);
  zip += fields;
  Put16(zip, 0);  // comment
  Put16(zip, 0);  // disk
  Put16(zip, 0);  // internal attributes
  Put32(zip, 0x20);
  Put32(zip, 0);  // local header offset
  zip += "e" + extra;
  const std::size_t end = zip.size();
  zip += "PK\x05\x06";
  Put32(zip, 0);
  Put16(zip, 1);
  Put16(zip, 1);
  Put32(zip, static_cast<std::uint32_t>(end - central));
  Put32(zip, static_cast<std::uint32_t>(central));
  Put16(zip, 0);
  return zip;
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
