#include "ZipWriter.h"

namespace testing_support {

namespace {

constexpr std::uint16_t kVersion = 20;           // 2.0: what stored entries need
constexpr std::uint16_t kMadeByUnix = 3 << 8;    // host byte 3: Unix modes in the high attribute half
constexpr std::uint16_t kUtf8Flag = 1 << 11;
constexpr std::uint32_t kOwnerWrite = 0200;
constexpr std::uint32_t kDosReadOnly = 0x01;

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

std::string MakeZip(const std::vector<ZipEntry>& entries) {
  std::string out, central;
  for (const ZipEntry& e : entries) {
    const std::uint32_t offset = std::uint32_t(out.size());
    const std::string& packed = e.packed ? *e.packed : e.data;
    const std::uint16_t flags = e.flags | (IsAscii(e.name) ? 0 : kUtf8Flag);
    // The fields both headers share, from the version needed on.
    std::string shared;
    Put16(shared, kVersion);
    Put16(shared, flags);
    Put16(shared, e.method);
    Put16(shared, kZipDosTime);
    Put16(shared, kZipDosDate);
    Put32(shared, e.crc.value_or(Crc32(e.data)));
    Put32(shared, std::uint32_t(packed.size()));
    Put32(shared, e.size.value_or(std::uint32_t(e.data.size())));
    Put16(shared, std::uint32_t(e.name.size()));
    Put16(shared, std::uint32_t(e.extra.size()));

    Put32(out, 0x04034B50);
    out += shared + e.name + e.extra + packed;

    Put32(central, 0x02014B50);
    Put16(central, kMadeByUnix | kVersion);
    central += shared;
    Put16(central, 0);  // comment
    Put16(central, 0);  // disk
    Put16(central, 0);  // internal attributes
    // As Info-ZIP does: a mode the owner cannot write is also read-only in the DOS half.
    Put32(central, e.unixMode << 16 | ((e.unixMode & kOwnerWrite) ? 0 : kDosReadOnly));
    Put32(central, offset);
    central += e.name + e.extra;
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
