// Passes decoded bytes on (check, write) on a thread of its own while the
// decoder goes on, for entries large enough that the two can overlap.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace unzip {

class TOutputPipe {
 public:
  using TSink = std::function<void(const std::uint8_t* data, std::uint32_t n)>;

  explicit TOutputPipe(TSink sink);
  ~TOutputPipe();
  TOutputPipe(const TOutputPipe&) = delete;
  TOutputPipe& operator=(const TOutputPipe&) = delete;

  // A new entry: its offsets count from 0 again.
  void Start();
  // Queues `n` bytes at `data`, which the caller leaves untouched until a
  // Release covers them.
  void Put(const std::uint8_t* data, std::uint32_t n);
  // Waits until the entry's bytes before offset `upTo` (or all that were put)
  // went to the sink; throws what the sink threw, once. After a failure the
  // rest of the entry's bytes are dropped.
  void Release(std::uint64_t upTo);

 private:
  struct Piece {
    const std::uint8_t* data;
    std::uint32_t n;
  };
  void Run();

  TSink sink_;
  std::mutex lock_;
  std::condition_variable work_;
  std::condition_variable done_;
  std::deque<Piece> queue_;
  std::uint64_t put_ = 0;
  std::uint64_t passed_ = 0;
  std::exception_ptr failure_;  // not yet thrown by Release
  bool broken_ = false;         // the sink failed in this entry
  bool closing_ = false;
  std::thread thread_;
};

}  // namespace unzip
