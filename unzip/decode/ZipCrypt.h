// The traditional PKWARE encryption: three keys driven by CRC-32 and a linear
// congruential step. Only decryption is needed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace unzip {

// Bytes of the encryption header in front of an encrypted entry's data.
inline constexpr int kCryptHeaderSize = 12;

class TZipKeys {
 public:
  // Resets the keys and feeds the password's bytes through them.
  void Init(std::string_view password);
  // Decrypts in place, carrying the key state on.
  void Decrypt(std::uint8_t* data, std::size_t n);

 private:
  void Update(std::uint8_t plain);
  std::uint8_t StreamByte() const {
    const std::uint32_t t = (key2_ & 0xFFFF) | 2;
    return static_cast<std::uint8_t>((t * (t ^ 1)) >> 8);
  }
  std::uint32_t key0_ = 0;
  std::uint32_t key1_ = 0;
  std::uint32_t key2_ = 0;
};

}  // namespace unzip
