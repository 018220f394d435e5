// Decoding of independent entries on worker threads while the calling thread
// keeps the run's order: it hands entries out ahead of its own position and
// takes each result when it reaches that entry. Each worker reads the archive
// through a file of its own with an entry decoder of its own.
#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
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
  // Starts `threads` workers on the archive at `archive`; throws
  // platform::Exception when it cannot be opened again. Decoded entries wait
  // in a folder of their own below `destDir` (none in a test run), which
  // `Ready` tells whether it could be made.
  TEntryPool(int threads, const std::string& archive, const std::string& destDir, bool testOnly, bool flushFiles);
  // Cancels what is queued or running, waits for the threads, and removes
  // every result not taken and the folder.
  ~TEntryPool();
  TEntryPool(const TEntryPool&) = delete;
  TEntryPool& operator=(const TEntryPool&) = delete;
  bool Ready() const { return testOnly_ || !scratch_.empty(); }

  // Hands out entries from index `from` on, as far as there are workers to
  // keep busy: those for which `wanted(index)` gives the entry.
  void Ahead(int from, int count, const std::function<const TZipHeaderInfo*(int)>& wanted);
  // The job of entry `index`, once handed out and not yet discarded.
  TEntryJob* Find(int index);
  // Waits until `job` is finished, calling `tick` on this thread every few
  // milliseconds meanwhile and once at the end; the job is then taken.
  void Wait(TEntryJob& job, const std::function<void()>& tick);
  // Forgets the job of entry `index`: one skipped before its result was taken
  // is cancelled, waited for, and its file removed.
  void Discard(int index, const std::function<void()>& tick);

 private:
  class TWorker;
  void Run(TWorker& worker);

  const bool testOnly_;
  std::string scratch_;  // the folder decoded entries wait in
  std::vector<std::unique_ptr<TWorker>> workers_;
  std::vector<std::thread> threads_;
  std::map<int, std::unique_ptr<TEntryJob>> jobs_;  // handed out and not yet discarded, by entry index
  int handedUpTo_ = 0;                              // entries before it were considered
  std::mutex lock_;
  std::condition_variable work_;
  std::condition_variable finished_;
  std::deque<TEntryJob*> queue_;
  bool closing_ = false;
};

}  // namespace unzip
