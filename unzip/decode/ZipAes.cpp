#include "decode/ZipAes.h"

#include <gcrypt.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace unzip {
namespace {

// Key derivation: PBKDF2 with HMAC-SHA1 and this many iterations.
constexpr unsigned long kKdfIterations = 1000;
constexpr std::size_t kBlockSize = 16;
// Counter blocks enciphered per library call.
constexpr std::size_t kBatchBlocks = 2048;
constexpr std::size_t kSha1Size = 20;
constexpr std::size_t kMaxKeySize = 32;

void InitLibrary() {
  static const bool ready = [] {
    gcry_check_version(nullptr);
    gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
    return true;
  }();
  (void)ready;
}

}  // namespace

struct TAesDecrypter::Handles {
  gcry_cipher_hd_t cipher = nullptr;
  gcry_mac_hd_t mac = nullptr;
  std::vector<std::uint8_t> batch = std::vector<std::uint8_t>(kBatchBlocks * kBlockSize);
};

TAesDecrypter::TAesDecrypter() : h_(new Handles) { InitLibrary(); }

TAesDecrypter::~TAesDecrypter() {
  Close();
  delete h_;
}

void TAesDecrypter::Close() {
  if (h_->cipher) gcry_cipher_close(h_->cipher);
  if (h_->mac) gcry_mac_close(h_->mac);
  h_->cipher = nullptr;
  h_->mac = nullptr;
}

bool TAesDecrypter::Start(const std::string& password, std::uint8_t strength, const std::uint8_t* salt,
                          const std::uint8_t* verifier) {
  Close();
  const std::size_t keySize = 8u + 8u * strength;
  // The derived bytes: the cipher key, the authentication key, the verifier.
  std::uint8_t derived[2 * kMaxKeySize + kAesVerifierSize];
  const std::size_t derivedSize = 2 * keySize + kAesVerifierSize;
  if (gcry_kdf_derive(password.data(), password.size(), GCRY_KDF_PBKDF2, GCRY_MD_SHA1, salt, AesSaltSize(strength),
                      kKdfIterations, derivedSize, derived) != 0)
    return false;
  if (std::memcmp(derived + 2 * keySize, verifier, kAesVerifierSize) != 0) return false;
  const int algorithm = strength == 1 ? GCRY_CIPHER_AES128 : strength == 2 ? GCRY_CIPHER_AES192
                                                                                     : GCRY_CIPHER_AES256;
  if (gcry_cipher_open(&h_->cipher, algorithm, GCRY_CIPHER_MODE_ECB, 0) != 0 ||
      gcry_cipher_setkey(h_->cipher, derived, keySize) != 0 ||
      gcry_mac_open(&h_->mac, GCRY_MAC_HMAC_SHA1, 0, nullptr) != 0 ||
      gcry_mac_setkey(h_->mac, derived + keySize, keySize) != 0) {
    Close();
    return false;
  }
  counter_ = 0;
  keystreamUsed_ = kBlockSize;
  return true;
}

void TAesDecrypter::Authenticate(const std::uint8_t* data, std::size_t n) {
  if (h_->mac) gcry_mac_write(h_->mac, data, n);
}

void TAesDecrypter::Decrypt(std::uint8_t* data, std::size_t n) {
  if (!h_->cipher) return;
  Authenticate(data, n);
  while (n > 0) {
    if (keystreamUsed_ < kBlockSize) {
      *data++ ^= keystream_[keystreamUsed_++];
      --n;
      continue;
    }
    // Counter blocks: a 128-bit little-endian counter starting at 1.
    const std::size_t blocks = std::min(kBatchBlocks, (n + kBlockSize - 1) / kBlockSize);
    std::uint8_t* batch = h_->batch.data();
    std::memset(batch, 0, blocks * kBlockSize);
    for (std::size_t b = 0; b < blocks; ++b) {
      const std::uint64_t c = ++counter_;
      for (int i = 0; i < 8; ++i) batch[b * kBlockSize + i] = static_cast<std::uint8_t>(c >> (8 * i));
    }
    gcry_cipher_encrypt(h_->cipher, batch, blocks * kBlockSize, nullptr, 0);
    const std::size_t whole = std::min(n, blocks * kBlockSize);
    for (std::size_t i = 0; i < whole; ++i) data[i] ^= batch[i];
    data += whole;
    n -= whole;
    // A partial last block keeps the rest of its keystream for the next call.
    const std::size_t tail = whole % kBlockSize;
    if (tail != 0) {
      std::memcpy(keystream_, batch + whole - tail, kBlockSize);
      keystreamUsed_ = tail;
    }
  }
}

bool TAesDecrypter::Verify(const std::uint8_t* storedMac) {
  if (!h_->mac) return false;
  std::uint8_t full[kSha1Size];
  std::size_t length = sizeof full;
  if (gcry_mac_read(h_->mac, full, &length) != 0 || length < kAesMacSize) return false;
  return std::memcmp(full, storedMac, kAesMacSize) == 0;
}

}  // namespace unzip
