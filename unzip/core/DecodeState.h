// The decoding state shared by the extraction driver and every decoder: three
// buffers allocated once per run, the input and output cursors, and the
// per-entry counters.
#pragma once
#include <cstdint>
#include <cstring>
#include <memory>

namespace unzip {

// Sizes of the run's buffers: the work area holds a 32 KiB window plus room the
// legacy decoders use for their tables; input and output move 32 KiB chunks.
inline constexpr std::uint32_t kWorkAreaSize = 32780;
inline constexpr std::uint32_t kChunkSize = 32768;
inline constexpr std::uint32_t kBufferSize = kChunkSize + 1;
inline constexpr std::uint32_t kWindowSize = 32768;

class TDecodeState;

// Where the decoders' bytes come from and go to.
class TDecodeIO {
 public:
  virtual ~TDecodeIO() = default;
  // Refills the input buffer with the entry's next chunk; false when the
  // entry's compressed bytes are used up.
  virtual bool FillInput() = 0;
  // The same into `to` (room for a chunk) instead of the input buffer, for a
  // decoder that keeps its input elsewhere; returns the bytes given, 0 when
  // they are used up. By default through the input buffer.
  virtual std::uint32_t FillInputAt(TDecodeState& s, std::uint8_t* to);
  // Passes the output buffer's pending bytes on and empties it.
  virtual void FlushOutput() = 0;
  // Passes on `n` (at most one chunk) decoded bytes kept outside the output
  // buffer, exactly as FlushOutput passes the buffer's; by default they are
  // moved into the output buffer first.
  virtual void Deliver(TDecodeState& s, const std::uint8_t* data, std::uint32_t n);
  // The same for a decoder that leaves `data` untouched until it calls
  // Release: the bytes may be passed on later, on another thread.
  virtual void Hold(TDecodeState& s, const std::uint8_t* data, std::uint32_t n) { Deliver(s, data, n); }
  // Returns once the entry's held bytes before offset `upTo` are passed on,
  // and throws what passing them on threw (once).
  virtual void Release(std::uint64_t /*upTo*/) {}
};

class TDecodeState {
 public:
  TDecodeState()
      : workArea(new std::uint8_t[kWorkAreaSize]),
        inBuf(new std::uint8_t[kBufferSize]),
        outBuf(new std::uint8_t[kBufferSize]) {}

  // Per-entry reset, before a decoder is called.
  void StartEntry(std::int64_t compressedSize, std::int64_t uncompressed) {
    bitCount = 0;
    bitBuf = 0;
    bytesWritten = 0;
    inCount = 0;
    outCount = 0;
    inPtr = inBuf.get();
    outPtr = outBuf.get();
    compressedLeft = compressedSize;
    uncompressedSize = uncompressed;
    endOfInput = false;
    lastByte = 0;  // never a byte of an earlier entry
  }

  // The next compressed byte: returns 8 (bits delivered) or 0 when none is left.
  int ReadByte(std::uint8_t& b) {
    if (compressedLeft-- <= 0) return 0;
    if (inCount == 0) {
      if (!io->FillInput() || inCount == 0) return 0;
      inPtr = inBuf.get();
    }
    b = *inPtr++;
    --inCount;
    lastByte = b;
    return 8;
  }

  void OutputByte(std::uint8_t b) {
    *outPtr++ = b;
    if (++outCount == kChunkSize) io->FlushOutput();
  }

  // Moves the first `n` bytes of the work area to the output buffer.
  void FlushWindow(std::uint32_t n) { FlushWindow(workArea.get(), n); }
  // The same from a window of the decoder's own (Deflate64's is larger than the work area).
  void FlushWindow(const std::uint8_t* from, std::uint32_t n) {
    while (n > 0) {
      const std::uint32_t piece = n < kChunkSize - outCount ? n : kChunkSize - outCount;
      std::memcpy(outPtr, from, piece);
      outPtr += piece;
      outCount += piece;
      from += piece;
      n -= piece;
      if (outCount == kChunkSize) io->FlushOutput();
    }
  }

  TDecodeIO* io = nullptr;
  std::unique_ptr<std::uint8_t[]> workArea;
  std::unique_ptr<std::uint8_t[]> inBuf;
  std::unique_ptr<std::uint8_t[]> outBuf;
  std::uint8_t* inPtr = nullptr;
  std::uint32_t inCount = 0;
  std::uint8_t* outPtr = nullptr;
  std::uint32_t outCount = 0;
  // Entries may be larger than 4 GiB (Zip64), so the counters are 64-bit.
  std::int64_t compressedLeft = 0;
  std::int64_t uncompressedSize = 0;
  std::int64_t bytesWritten = 0;
  std::uint32_t bitBuf = 0;
  std::uint16_t bitCount = 0;
  bool endOfInput = false;
  std::uint16_t lastByte = 0;
  std::uint16_t tableCount = 0;
};

inline std::uint32_t TDecodeIO::FillInputAt(TDecodeState& s, std::uint8_t* to) {
  if (!FillInput()) return 0;
  const std::uint32_t n = s.inCount;
  std::memcpy(to, s.inBuf.get(), n);
  s.inCount = 0;
  return n;
}

inline void TDecodeIO::Deliver(TDecodeState& s, const std::uint8_t* data, std::uint32_t n) {
  std::memcpy(s.outBuf.get(), data, n);
  s.outPtr = s.outBuf.get() + n;
  s.outCount = n;
  FlushOutput();
}

}  // namespace unzip
