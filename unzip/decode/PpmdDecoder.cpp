// PPMd entries (method 98): PPMd variant I, revision 1, read through the LZMA
// SDK's decoder (built from Debian's 7zip sources).
#include <Ppmd8.h>

#include <cstdlib>
#include <memory>

#include "decode/LibraryDecoders.h"
#include "decode/StreamPump.h"

namespace unzip {
namespace {

// The data starts with 16 bits: the model order minus 1 (bits 0-3), the
// model's memory in MiB minus 1 (bits 4-11), the restoration method (bits
// 12-15). The memory the header can name never exceeds the engine's limit.
constexpr unsigned kOrderBits = 4, kMemoryBits = 8;
constexpr unsigned kMemoryUnitShift = 20;
static_assert((std::uint64_t{1} << (kMemoryBits + kMemoryUnitShift)) <= kMaxDictionaryBytes);

void* Allocate(ISzAllocPtr, std::size_t size) { return std::malloc(size); }
void Release(ISzAllocPtr, void* p) { std::free(p); }
const ISzAlloc kAllocator = {Allocate, Release};

// The range decoder's byte source: the entry's compressed bytes, then zeros,
// noting that it asked for more than there was.
struct TByteSource {
  IByteIn vt;  // first, so that the library's pointer to it is one to the whole
  TDecodeState* s;
  bool exhausted;
};

Byte ReadSource(IByteInPtr p) {
  auto* source = reinterpret_cast<TByteSource*>(const_cast<IByteIn*>(p));
  std::uint8_t b = 0;
  if (source->s->ReadByte(b) == 0) source->exhausted = true;
  return b;
}

// Owns the model's memory, whatever leaves the decoder.
class TModel {
 public:
  TModel() { Ppmd8_Construct(&p_); }
  ~TModel() { Ppmd8_Free(&p_, &kAllocator); }
  TModel(const TModel&) = delete;
  TModel& operator=(const TModel&) = delete;
  CPpmd8& p() { return p_; }

 private:
  CPpmd8 p_;
};

}  // namespace

TDecodeResult UnPpmd(TDecodeState& s) {
  std::uint8_t header[2];
  for (std::uint8_t& b : header)
    if (s.ReadByte(b) == 0) return TDecodeResult::BadData;
  const unsigned fields = header[0] | header[1] << 8;
  const unsigned order = (fields & ((1u << kOrderBits) - 1)) + 1;
  const auto memory = static_cast<std::uint32_t>(((fields >> kOrderBits) & ((1u << kMemoryBits) - 1)) + 1)
                      << kMemoryUnitShift;
  const unsigned restoration = fields >> (kOrderBits + kMemoryBits);
  // Freezing the model, the third method, is left out of the decoder: 7-Zip
  // and its encoder do not support it either.
  if (order < PPMD8_MIN_ORDER || restoration >= PPMD8_RESTORE_METHOD_UNSUPPPORTED) return TDecodeResult::BadData;
  if (s.uncompressedSize <= 0) return TDecodeResult::Ok;

  const auto model = std::make_unique<TModel>();
  CPpmd8& p = model->p();
  if (!Ppmd8_Alloc(&p, memory, &kAllocator)) return TDecodeResult::NoMemory;
  TByteSource source{{ReadSource}, &s, false};
  p.Stream.In = &source.vt;
  if (!Ppmd8_Init_RangeDec(&p) || source.exhausted) return TDecodeResult::BadData;
  Ppmd8_Init(&p, order, restoration);
  // The data ends at the entry's size; the end marker that 7-Zip writes
  // behind it is not needed.
  for (std::int64_t left = s.uncompressedSize; left > 0; --left) {
    const int symbol = Ppmd8_DecodeSymbol(&p);
    if (symbol < 0 || source.exhausted) return TDecodeResult::BadData;
    s.OutputByte(static_cast<std::uint8_t>(symbol));
  }
  s.io->FlushOutput();
  return TDecodeResult::Ok;
}

}  // namespace unzip
