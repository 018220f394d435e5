// WinZip AES encryption (AE-1 and AE-2): the 0x9901 extra field, key
// derivation and password verifier, AES in counter mode and the HMAC-SHA1
// authentication code, all through libgcrypt.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace unzip {

// What an entry's 0x9901 extra field says.
struct TAesInfo {
  std::uint16_t version = 0;  // 1 (AE-1: the CRC is checked too) or 2 (AE-2: it is not stored)
  std::uint8_t strength = 0;  // 1, 2, 3: 128, 192, 256-bit keys
  std::uint16_t method = 0;   // the compression method of the data inside
  std::uint32_t SaltSize() const { return 4u + 4u * strength; }
};

// Finds the 0x9901 field among an extra field's records; nothing when absent or malformed.
std::optional<TAesInfo> FindAesExtra(const std::uint8_t* extra, std::size_t length);

// Bytes of the longest salt (256-bit keys), of the password verifier behind
// the salt, and of the authentication code after the data.
inline constexpr std::uint32_t kAesMaxSaltSize = 16;
inline constexpr std::uint32_t kAesVerifierSize = 2;
inline constexpr std::uint32_t kAesMacSize = 10;

class TAesDecrypter {
 public:
  TAesDecrypter();
  ~TAesDecrypter();
  TAesDecrypter(const TAesDecrypter&) = delete;
  TAesDecrypter& operator=(const TAesDecrypter&) = delete;

  // Derives the keys from `password` and the entry's salt; true when the
  // password verifier matches. Starts the counter and the authentication anew.
  bool Start(const std::string& password, const TAesInfo& info, const std::uint8_t* salt,
             const std::uint8_t* verifier);
  // Decrypts encrypted bytes in place, counting them into the authentication code.
  void Decrypt(std::uint8_t* data, std::size_t n);
  // Counts encrypted bytes the decoder left unread into the authentication code.
  void Authenticate(const std::uint8_t* data, std::size_t n);
  // Compares the authentication code of everything counted with the stored one.
  bool Verify(const std::uint8_t* storedMac);

 private:
  void Close();

  struct Handles;
  Handles* h_;
  std::uint64_t counter_ = 0;
  std::uint8_t keystream_[16] = {};
  std::size_t keystreamUsed_ = 16;
};

}  // namespace unzip
