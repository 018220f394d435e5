#include "ZipWriter.h"

namespace testing_support {

namespace {

constexpr std::uint16_t kVersion = 20;           // 2.0: what stored entries need
constexpr std::uint16_t kMadeByUnix = 3 << 8;    // host byte 3: Unix modes in the high attribute half
constexpr std::uint16_t kUtf8Flag = 1 << 11;
constexpr std::uint32_t kOwnerWrite = 0200;
constexpr std::uint32_t kDosReadOnly = 0x01;
constexpr std::uint16_t kDosTime = 0x6000;       // 12:00:00
constexpr std::uint16_t kDosDate = 0x5A21;       // 2025-01-01

std::uint32_t Crc32(const std::string& data) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (unsigned char c : data) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
  }
  return ~crc;
}

void Put16(std::string& out, std::uint32_t v) {
  out += char(v & 0xFF);
  out += char((v >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

bool IsAscii(const std::string& s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

std::string MakeStoredZip(const std::vector<ZipEntry>& entries) {
  std::string out, central;
  for (const ZipEntry& e : entries) {
    const std::uint32_t offset = std::uint32_t(out.size());
    const std::uint32_t crc = Crc32(e.data);
    const std::uint16_t flags = IsAscii(e.name) ? 0 : kUtf8Flag;
    Put32(out, 0x04034B50);
    Put16(out, kVersion);
    Put16(out, flags);
    Put16(out, 0);
    Put16(out, kDosTime);
    Put16(out, kDosDate);
    Put32(out, crc);
    Put32(out, std::uint32_t(e.data.size()));
    Put32(out, std::uint32_t(e.data.size()));
    Put16(out, std::uint32_t(e.name.size()));
    Put16(out, 0);
    out += e.name;
    out += e.data;

    Put32(central, 0x02014B50);
    Put16(central, kMadeByUnix | kVersion);
    Put16(central, kVersion);
    Put16(central, flags);
    Put16(central, 0);
    Put16(central, kDosTime);
    Put16(central, kDosDate);
    Put32(central, crc);
    Put32(central, std::uint32_t(e.data.size()));
    Put32(central, std::uint32_t(e.data.size()));
    Put16(central, std::uint32_t(e.name.size()));
    Put16(central, 0);
    Put16(central, 0);
    Put16(central, 0);
    Put16(central, 0);
    // As Info-ZIP does: a mode the owner cannot write is also read-only in the DOS half.
    Put32(central, e.unixMode << 16 | ((e.unixMode & kOwnerWrite) ? 0 : kDosReadOnly));
    Put32(central, offset);
    central += e.name;
  }
  const std::uint32_t centralOffset = std::uint32_t(out.size());
  out += central;
  Put32(out, 0x06054B50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, std::uint32_t(entries.size()));
  Put16(out, std::uint32_t(entries.size()));
  Put32(out, std::uint32_t(central.size()));
  Put32(out, centralOffset);
  Put16(out, 0);
  return out;
}

}  // namespace testing_support
