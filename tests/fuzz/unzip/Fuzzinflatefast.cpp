// Feeds arbitrary bytes to both deflate decoders and requires the same
// verdict, for a sound stream the same bytes passed on in the same pieces,
// and never a byte past the declared size. The first two input bytes choose the declared size.
// The fast decoder's held pieces are copied only when released, so a buffer
// it reuses too early shows as different bytes.
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
#include "decode/Inflate.h"
#include "decode/InflateFast.h"
#include "unzip/ZipErrors.h"

namespace {

// The common fuzz input; the output is kept for comparison and limited to
// the declared size.
class RecordingIO : public fuzzing::FuzzIO {
 public:
  RecordingIO(unzip::TDecodeState& s, const std::uint8_t* data, std::size_t size, std::size_t declared)
      : fuzzing::FuzzIO(s, data, size), declared_(declared) {}
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
bool Decode(const std::uint8_t* data, std::size_t size, std::size_t declared, std::unique_ptr<RecordingIO>& io) {
  static unzip::TDecodeState state;
  static Decoder decoder;
  io = std::make_unique<RecordingIO>(state, data, size, declared);
  state.io = io.get();
  state.StartEntry(static_cast<std::int32_t>(size), static_cast<std::int32_t>(declared));
  return decoder.Inflate(state) == unzip::TDecodeResult::Ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // Declared sizes up to 4 MiB, in steps that reach both sides of the one-piece bound.
  const std::size_t declared = (std::size_t{data[0]} | std::size_t{data[1]} << 8) * 64;
  data += 2;
  size -= 2;
  std::unique_ptr<RecordingIO> slowIO;
  std::unique_ptr<RecordingIO> fastIO;
  const bool slow = Decode<unzip::TInflater>(data, size, declared, slowIO);
  const bool fast = Decode<unzip::TFastInflater>(data, size, declared, fastIO);
  // A bad stream may be found bad a few symbols apart (after refills at
  // different places), so only a sound one must come out the same.
  if (slow != fast) std::abort();
  if (slow && (slowIO->out != fastIO->out || slowIO->pieces != fastIO->pieces)) std::abort();
  if (fastIO->out.size() > declared || !fastIO->held.empty()) std::abort();
  return 0;
}
