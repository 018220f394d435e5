// Decoding of independent entries on worker threads while the calling thread
// keeps the run's order: it hands entries out ahead of its own position and
// takes each result when it reaches that entry.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "unzip/ZipRecords.h"

namespace unzip {

// One entry decoded by a worker: to `temp` (none in a test run), checked, and
// left for the calling thread to move into place or throw away.
struct TEntryJob {
  int index = 0;
  TZipHeaderInfo entry;
  std::string temp;
  // Decoded bytes so far, for the calling thread's progress events.
  std::atomic<std::int64_t> done{0};
  // Set by the calling thread when it no longer wants the result.
  std::atomic<bool> cancelled{false};
  // The calling thread's own: it waited for the job and took its result.
  bool taken = false;
  // The rest is the worker's and is read only once `finished` (under the pool's lock).
  bool finished = false;
  bool created = false;   // the temporary file could be made (always true in a test run)
  bool complete = false;  // the decoder reached the entry's end without a fault
  std::uint32_t crc = 0;
  std::string error;
  std::exception_ptr failure;  // what would have ended a sequential run
};

class TEntryPool {
 public:
  // Decodes one job on a worker thread; each thread has its own.
  using TWorker = std::function<void(TEntryJob&)>;

  explicit TEntryPool(std::vector<TWorker> workers);
  // Cancels what is queued or running and waits for the threads.
  ~TEntryPool();
  TEntryPool(const TEntryPool&) = delete;
  TEntryPool& operator=(const TEntryPool&) = delete;

  void Submit(TEntryJob& job);
  // Waits until `job` is finished, calling `tick` on this thread every few
  // milliseconds meanwhile and once at the end.
  void Wait(TEntryJob& job, const std::function<void()>& tick);

 private:
  void Run(TWorker& worker);

  std::vector<TWorker> workers_;
  std::vector<std::thread> threads_;
  std::mutex lock_;
  std::condition_variable work_;
  std::condition_variable finished_;
  std::deque<TEntryJob*> queue_;
  bool closing_ = false;
};

}  // namespace unzip
