#include "decode/ZipCrypt.h"

#include "core/Crc32.h"

namespace unzip {
namespace {
// Initial keys and the multiplier of the key-1 step, from the application note.
constexpr std::uint32_t kKey0Init = 0x12345678u;
constexpr std::uint32_t kKey1Init = 0x23456789u;
constexpr std::uint32_t kKey2Init = 0x34567890u;
constexpr std::uint32_t kKey1Multiplier = 134775813u;
}  // namespace

void TZipKeys::Init(std::string_view password) {
  key0_ = kKey0Init;
  key1_ = kKey1Init;
  key2_ = kKey2Init;
  for (char c : password) Update(static_cast<std::uint8_t>(c));
}

void TZipKeys::Update(std::uint8_t plain) {
  key0_ = Crc32Byte(key0_, plain);
  key1_ = (key1_ + (key0_ & 0xFF)) * kKey1Multiplier + 1;
  key2_ = Crc32Byte(key2_, static_cast<std::uint8_t>(key1_ >> 24));
}

void TZipKeys::Decrypt(std::uint8_t* data, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t c = data[i] ^ StreamByte();
    data[i] = c;
    Update(c);
  }
}

}  // namespace unzip
