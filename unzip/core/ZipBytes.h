// The little-endian fields of the zip format's records.
#pragma once
#include <cstdint>

namespace unzip {

inline std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t Get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint64_t Get64(const std::uint8_t* p) { return Get32(p) | (std::uint64_t{Get32(p + 4)} << 32); }

// Takes a record's fields one after another, in the order the format lists them.
class TFieldReader {
 public:
  explicit TFieldReader(const std::uint8_t* p) : p_(p) {}
  std::uint8_t U8() { return *p_++; }
  std::uint16_t U16() { return Take<std::uint16_t>(Get16(p_), 2); }
  std::uint32_t U32() { return Take<std::uint32_t>(Get32(p_), 4); }
  std::uint64_t U64() { return Take<std::uint64_t>(Get64(p_), 8); }

 private:
  template <typename T>
  T Take(T value, int size) {
    p_ += size;
    return value;
  }
  const std::uint8_t* p_;
};

}  // namespace unzip
