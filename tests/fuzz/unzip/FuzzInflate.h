// The deflate fuzz targets' check: arbitrary bytes through the engine's
// decoder and the reference decoder, which must give the same verdict, for a
// sound stream the same bytes passed on in the same pieces, and never a byte
// past the declared size. The first two input bytes choose the declared size.
// The engine's held pieces are copied only when released, so a buffer it
// reuses too early shows as different bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FuzzIO.h"
#include "ReferenceInflater.h"
#include "decode/InflateFast.h"
#include "unzip/ZipErrors.h"

namespace fuzzing {

// The common fuzz input; the output is kept for comparison and limited to
// the declared size.
class RecordingIO : public FuzzIO {
 public:
  RecordingIO(unzip::TDecodeState& s, const std::uint8_t* data, std::size_t size, std::size_t declared)
      : FuzzIO(s, data, size), declared_(declared) {}
  void FlushOutput() override {
    if (s_.outCount == 0) return;  // as the driver: an empty flush passes nothing on
    if (out.size() + s_.outCount > declared_) throw unzip::EBiggerThanUncompressed("declared size");
    out.append(reinterpret_cast<const char*>(s_.outBuf.get()), s_.outCount);
    pieces.push_back(s_.outCount);
    s_.outCount = 0;
    s_.outPtr = s_.outBuf.get();
  }
  void Hold(unzip::TDecodeState&, const std::uint8_t* data, std::uint32_t n) override { held.push_back({data, n}); }
  void Release(std::uint64_t upTo) override {
    while (!held.empty() && out.size() + held.front().second <= upTo) {
      if (out.size() + held.front().second > declared_) std::abort();
      out.append(reinterpret_cast<const char*>(held.front().first), held.front().second);
      pieces.push_back(held.front().second);
      held.pop_front();
    }
  }
  std::deque<std::pair<const std::uint8_t*, std::uint32_t>> held;
  std::string out;
  std::vector<std::uint32_t> pieces;

 private:
  std::size_t declared_;
};

template <typename Decoder>
bool Decode(Decoder& decoder, const std::uint8_t* data, std::size_t size, std::size_t declared,
            std::unique_ptr<RecordingIO>& io) {
  static unzip::TDecodeState state;
  io = std::make_unique<RecordingIO>(state, data, size, declared);
  state.io = io.get();
  state.StartEntry(static_cast<std::int32_t>(size), static_cast<std::int32_t>(declared));
  return decoder.Inflate(state) == unzip::TDecodeResult::Ok;
}

// Aborts when the two decoders of `variant` disagree on the input.
template <unzip::TInflateVariant variant>
void CompareInflaters(const std::uint8_t* data, std::size_t size) {
  static unzip::TReferenceInflater reference(variant);
  static unzip::TFastInflater engine(variant);
  if (size < 2) return;
  // Declared sizes up to 4 MiB, in steps that reach both sides of the one-piece bound.
  const std::size_t declared = (std::size_t{data[0]} | std::size_t{data[1]} << 8) * 64;
  data += 2;
  size -= 2;
  std::unique_ptr<RecordingIO> referenceIO;
  std::unique_ptr<RecordingIO> engineIO;
  const bool good = Decode(reference, data, size, declared, referenceIO);
  // A bad stream may be found bad a few symbols apart (after refills at
  // different places), so only a sound one must come out the same.
  if (Decode(engine, data, size, declared, engineIO) != good) std::abort();
  if (good && (referenceIO->out != engineIO->out || referenceIO->pieces != engineIO->pieces)) std::abort();
  if (engineIO->out.size() > declared || !engineIO->held.empty()) std::abort();
}

}  // namespace fuzzing
