// What the peer testers (the references for `unzipper test`) share: the
// archive mapped into memory, its local headers walked in order, and each
// deflated or stored entry handed to a peer's whole-buffer decoder with an
// output buffer allocated once for the largest entry and never cleared, so
// that nothing but decoding and the CRC is timed. Reads archives whose local
// headers carry the sizes, as zip writes them for files.
#pragma once
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace bench {

// Decodes `packed` raw deflate bytes into exactly `size` bytes at `out` and
// returns their CRC-32; false when the data is bad.
using TPeerInflate = bool (*)(const std::uint8_t* packed, std::size_t packedSize, std::uint8_t* out,
                              std::size_t size, std::uint32_t& crc);
using TPeerCrc = std::uint32_t (*)(const std::uint8_t* data, std::size_t n);

inline std::uint32_t Le(const std::uint8_t* p, int n) {
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

// Exit status 0 when every entry is sound, 1 when one is not, 2 on bad use.
inline int TestArchive(int argc, char** argv, const char* name, TPeerInflate inflate, TPeerCrc crcOf) {
  constexpr std::uint32_t kLocalSignature = 0x04034b50;
  constexpr std::size_t kLocalHeaderSize = 30;
  constexpr unsigned kStored = 0;
  constexpr unsigned kDeflated = 8;
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s ARCHIVE\n", name);
    return 2;
  }
  const int fd = open(argv[1], O_RDONLY);
  struct stat st {};
  if (fd < 0 || fstat(fd, &st) != 0 || st.st_size == 0) {
    std::perror(argv[1]);
    return 2;
  }
  const auto zipSize = static_cast<std::size_t>(st.st_size);
  void* map = mmap(nullptr, zipSize, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  if (map == MAP_FAILED) {
    std::perror(argv[1]);
    return 2;
  }
  const auto* z = static_cast<const std::uint8_t*>(map);
  // A first walk finds the largest entry, for the one output buffer.
  std::size_t largest = 0;
  for (std::size_t at = 0; at + kLocalHeaderSize <= zipSize && Le(z + at, 4) == kLocalSignature;) {
    largest = std::max<std::size_t>(largest, Le(z + at + 22, 4));
    at += kLocalHeaderSize + Le(z + at + 26, 2) + Le(z + at + 28, 2) + Le(z + at + 18, 4);
  }
  std::unique_ptr<std::uint8_t[]> out(new std::uint8_t[largest + 1]);
  int bad = 0;
  std::size_t at = 0;
  while (at + kLocalHeaderSize <= zipSize && Le(z + at, 4) == kLocalSignature) {
    const unsigned method = Le(z + at + 8, 2);
    const std::uint32_t stored = Le(z + at + 14, 4);
    const std::size_t packed = Le(z + at + 18, 4);
    const std::size_t size = Le(z + at + 22, 4);
    const std::size_t data = at + kLocalHeaderSize + Le(z + at + 26, 2) + Le(z + at + 28, 2);
    if (data + packed > zipSize) return 2;
    std::uint32_t crc = 0;
    bool ok = false;
    if (method == kDeflated) {
      ok = inflate(z + data, packed, out.get(), size, crc);
    } else if (method == kStored && packed == size) {
      crc = crcOf(z + data, size);
      ok = true;
    }
    if (!ok || crc != stored) ++bad;
    at = data + packed;
  }
  munmap(map, zipSize);
  close(fd);
  if (bad) std::fprintf(stderr, "%d bad entries\n", bad);
  return bad ? 1 : 0;
}

}  // namespace bench
