// WinZip AES decryption (AE-1 and AE-2): key derivation and password
// verifier, AES in counter mode and the HMAC-SHA1 authentication code, all
// through libgcrypt. The entry's 0x9901 extra field gives the key strength
// (archive/ZipExtra.h).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace unzip {

// The salt in front of the data of an entry with keys of `strength` 1, 2 or 3
// (128, 192, 256 bits).
inline std::uint32_t AesSaltSize(std::uint8_t strength) { return 4u + 4u * strength; }

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

  // Derives the keys of `strength` from `password` and the entry's salt; true
  // when the password verifier matches. Starts the counter and the
  // authentication anew.
  bool Start(const std::string& password, std::uint8_t strength, const std::uint8_t* salt,
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
