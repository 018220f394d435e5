// Compression method numbers of the zip format and their names.
#pragma once
#include <cstdint>
#include <string>

#include "unzip/ZipRecords.h"  // kMethodAes

namespace unzip {

inline constexpr std::uint16_t kMethodStored = 0;
inline constexpr std::uint16_t kMethodShrunk = 1;
inline constexpr std::uint16_t kMethodReduced1 = 2;
inline constexpr std::uint16_t kMethodReduced4 = 5;
inline constexpr std::uint16_t kMethodImploded = 6;
inline constexpr std::uint16_t kMethodDeflated = 8;
inline constexpr std::uint16_t kMethodDeflate64 = 9;
inline constexpr std::uint16_t kMethodBzip2 = 12;
inline constexpr std::uint16_t kMethodLzma = 14;
// Zstandard's id before the format note assigned 93; early writers used it.
inline constexpr std::uint16_t kMethodZstdOld = 20;
inline constexpr std::uint16_t kMethodZstd = 93;
inline constexpr std::uint16_t kMethodXz = 95;
inline constexpr std::uint16_t kMethodPpmd = 98;

// A short name ("deflate", "bzip2"), or "method N" for one without a name.
std::string MethodName(std::uint16_t method);

}  // namespace unzip
