// LZMA (method 14) and XZ (method 95) entries, read through liblzma.
#include <lzma.h>

#include <algorithm>

#include "core/ZipBytes.h"
#include "decode/LibraryDecoders.h"
#include "decode/StreamPump.h"

namespace unzip {
namespace {

// The zip LZMA header: encoder version (2 bytes), properties size (2 bytes,
// always 5), then the properties: lc/lp/pb in one byte and the dictionary size.
constexpr unsigned kLzmaHeaderSize = 4;
constexpr unsigned kLzmaPropertiesSize = 5;
// lc/lp/pb packed as (pb * 5 + lp) * 9 + lc.
constexpr unsigned kLcValues = 9, kLpValues = 5, kPbValues = 5;
// Room for the XZ decoder's own tables besides its dictionary.
constexpr std::uint64_t kXzOverheadBytes = std::uint64_t{4} << 20;

// Owns the library's state for one entry, whatever leaves the decoder.
class LzmaStream {
 public:
  LzmaStream() = default;
  ~LzmaStream() { lzma_end(&z_); }
  LzmaStream(const LzmaStream&) = delete;
  LzmaStream& operator=(const LzmaStream&) = delete;
  lzma_stream& z() { return z_; }

 private:
  lzma_stream z_ = LZMA_STREAM_INIT;
};

TDecodeResult Pump(TDecodeState& s, lzma_stream& z) {
  return PumpStream(s, [&](const std::uint8_t*& in, std::size_t& inAvail, std::uint8_t*& out, std::size_t& outAvail,
                           bool inputEnded) -> std::optional<TDecodeResult> {
    z.next_in = in;
    z.avail_in = inAvail;
    z.next_out = out;
    z.avail_out = outAvail;
    const lzma_ret r = lzma_code(&z, inputEnded ? LZMA_FINISH : LZMA_RUN);
    in = z.next_in;
    inAvail = z.avail_in;
    out = z.next_out;
    outAvail = z.avail_out;
    switch (r) {
      case LZMA_OK: return std::nullopt;
      case LZMA_STREAM_END: return TDecodeResult::Ok;
      case LZMA_MEM_ERROR:
      case LZMA_MEMLIMIT_ERROR: return TDecodeResult::NoMemory;
      // Out of input before the end: Pump sees no progress and calls it cut short.
      case LZMA_BUF_ERROR: return std::nullopt;
      default: return TDecodeResult::BadData;
    }
  });
}

}  // namespace

TDecodeResult UnLzma(TDecodeState& s) {
  std::uint8_t header[kLzmaHeaderSize + kLzmaPropertiesSize];
  for (std::uint8_t& b : header)
    if (s.ReadByte(b) == 0) return TDecodeResult::BadData;
  const unsigned propertiesSize = Get16(header + 2);
  const std::uint8_t* p = header + kLzmaHeaderSize;
  if (propertiesSize != kLzmaPropertiesSize || p[0] >= kLcValues * kLpValues * kPbValues)
    return TDecodeResult::BadData;

  lzma_options_lzma options{};
  options.lc = p[0] % kLcValues;
  options.lp = (p[0] / kLcValues) % kLpValues;
  options.pb = p[0] / (kLcValues * kLpValues);
  // The entry's size bounds every distance, so a larger dictionary is never
  // needed: it is cut to that size (and to the engine's limit) before the
  // decoder allocates it.
  const std::uint64_t declared = Get32(p + 1);
  const std::uint64_t size = s.uncompressedSize > 0 ? static_cast<std::uint64_t>(s.uncompressedSize) : 0;
  const std::uint64_t dictionary = std::min({declared, std::max<std::uint64_t>(size, LZMA_DICT_SIZE_MIN),
                                             kMaxDictionaryBytes});
  if (size > dictionary && declared > kMaxDictionaryBytes) return TDecodeResult::NoMemory;
  options.dict_size = static_cast<std::uint32_t>(std::max<std::uint64_t>(dictionary, LZMA_DICT_SIZE_MIN));
  // The data ends at the entry's size, or at an end marker just before it;
  // writers should set flag bit 1 for the marker, but not all do, so a marker
  // is accepted either way.
  options.ext_flags = LZMA_LZMA1EXT_ALLOW_EOPM;
  options.ext_size_low = static_cast<std::uint32_t>(size);
  options.ext_size_high = static_cast<std::uint32_t>(size >> 32);

  const lzma_filter filters[] = {{LZMA_FILTER_LZMA1EXT, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
  LzmaStream stream;
  const lzma_ret r = lzma_raw_decoder(&stream.z(), filters);
  if (r == LZMA_MEM_ERROR) return TDecodeResult::NoMemory;
  if (r != LZMA_OK) return TDecodeResult::BadData;
  return Pump(s, stream.z());
}

TDecodeResult UnXz(TDecodeState& s) {
  LzmaStream stream;
  // The dictionary comes from the stream's block headers: the memory limit
  // refuses one past the engine's limit before it is allocated.
  if (lzma_stream_decoder(&stream.z(), kMaxDictionaryBytes + kXzOverheadBytes, 0) != LZMA_OK)
    return TDecodeResult::NoMemory;
  return Pump(s, stream.z());
}

}  // namespace unzip
