#include "extract/EntryPool.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

#include "archive/ZipVolumes.h"
#include "core/ZipBufStream.h"
#include "extract/EntryDecoder.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "unzip/ZipErrors.h"

namespace unzip {
namespace {

// How often a waiting calling thread wakes for its messages and progress events.
constexpr auto kTickInterval = std::chrono::milliseconds(20);
// Entries handed to worker threads and not yet taken, per worker: enough to
// keep every worker busy while the calling thread moves files into place,
// and few enough that finished but untaken entries stay a handful.
constexpr std::size_t kJobsPerWorker = 2;

}  // namespace

// A worker thread's archive file and entry decoder. It never asks for a
// volume (the pool serves single archives only), never meets an encrypted
// entry, and reports its progress to the job it decodes.
class TEntryPool::TWorker final : private TZipVolumes::THost, private TEntryDecoder::THost {
 public:
  TWorker(const std::string& archive, bool testOnly, bool flushFiles)
      : testOnly_(testOnly), flushFiles_(flushFiles), archive_(*this), decoder_(archive_, *this) {
    archive_.SetName(archive);
    archive_.Open();
  }

  void Decode(TEntryJob& job) {
    job_ = &job;
    try {
      decoder_.Open(job.entry);
      std::unique_ptr<TLFNFileStream> out;
      if (!testOnly_) {
        try {
          out = std::make_unique<TLFNFileStream>(job.temp, kStreamBufferSize, flushFiles_, platform::kFmCreate);
        } catch (const platform::Exception&) {
          return;  // the calling thread tries again and reports it
        }
      }
      job.created = true;
      decoder_.Decode(out.get(), true);
      out.reset();
      job.complete = decoder_.Complete();
      job.crc = decoder_.Crc();
      job.error = decoder_.Error();
    } catch (...) {
      job.failure = std::current_exception();
    }
  }

 private:
  bool CanAskForVolume() const override { return false; }
  void AskForVolume(int, std::string&) override {}
  bool CheckVolumeLabels() const override { return false; }
  void Refilling() override {}
  void Delivered(std::int64_t done, std::uint32_t) override {
    job_->done.store(done, std::memory_order_relaxed);
    if (job_->cancelled.load(std::memory_order_relaxed)) throw EUserCanceled("decoding ahead was cancelled");
  }
  bool Decrypt(std::uint8_t*, std::uint32_t) override { return false; }
  void UnknownMethod(std::uint16_t) override {}

  const bool testOnly_;
  const bool flushFiles_;
  TZipVolumes archive_;
  TEntryDecoder decoder_;
  TEntryJob* job_ = nullptr;
};

TEntryPool::TEntryPool(int threads, const std::string& archive, const std::string& destDir, bool testOnly,
                       bool flushFiles)
    : testOnly_(testOnly) {
  for (int t = 0; t < threads; ++t) workers_.push_back(std::make_unique<TWorker>(archive, testOnly, flushFiles));
  if (!testOnly) {
    // Decoded entries wait in a folder of their own in the destination, where
    // moving them into place is a rename. Its random name keeps every entry,
    // and every entry's own temporary file, out of it.
    std::random_device random;
    std::string scratch;
    do {
      char name[32];
      std::snprintf(name, sizeof name, "~%08x%08x", random(), random());
      scratch = destDir + platform::PathSeparator() + name + platform::kPartialFileSuffix;
    } while (platform::DirectoryExists(scratch));
    if (!platform::ForceDirectories(scratch)) return;  // not Ready: no threads
    scratch_ = scratch;
  }
  threads_.reserve(workers_.size());
  for (auto& worker : workers_) threads_.emplace_back([this, w = worker.get()] { Run(*w); });
}

TEntryPool::~TEntryPool() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    closing_ = true;
    for (auto& [index, job] : jobs_) job->cancelled = true;
  }
  work_.notify_all();
  for (std::thread& t : threads_) t.join();
  // No temporary file is open now.
  for (auto& [index, job] : jobs_)
    if (!job->temp.empty()) platform::DeleteFile(job->temp);
  if (!scratch_.empty()) platform::RemoveDir(scratch_);
}

void TEntryPool::Ahead(int from, int count, const std::function<const TZipHeaderInfo*(int)>& wanted) {
  handedUpTo_ = std::max(handedUpTo_, from);
  while (handedUpTo_ < count && jobs_.size() < kJobsPerWorker * workers_.size()) {
    const int index = handedUpTo_++;
    const TZipHeaderInfo* e = wanted(index);
    if (!e) continue;
    auto job = std::make_unique<TEntryJob>();
    job->index = index;
    job->entry.Assign(*e);
    if (!testOnly_) job->temp = scratch_ + platform::PathSeparator() + std::to_string(index);
    {
      std::lock_guard<std::mutex> hold(lock_);
      queue_.push_back(job.get());
    }
    work_.notify_one();
    jobs_[index] = std::move(job);
  }
}

TEntryJob* TEntryPool::Find(int index) {
  const auto it = jobs_.find(index);
  return it == jobs_.end() ? nullptr : it->second.get();
}

void TEntryPool::Run(TWorker& worker) {
  for (;;) {
    TEntryJob* job = nullptr;
    {
      std::unique_lock<std::mutex> hold(lock_);
      work_.wait(hold, [this] { return closing_ || !queue_.empty(); });
      if (closing_) return;
      job = queue_.front();
      queue_.pop_front();
    }
    if (!job->cancelled) worker.Decode(*job);
    {
      std::lock_guard<std::mutex> hold(lock_);
      job->finished = true;
    }
    finished_.notify_all();
  }
}

void TEntryPool::Wait(TEntryJob& job, const std::function<void()>& tick) {
  for (;;) {
    {
      std::unique_lock<std::mutex> hold(lock_);
      if (finished_.wait_for(hold, kTickInterval, [&job] { return job.finished; })) break;
    }
    tick();
  }
  tick();
  job.taken = true;
}

void TEntryPool::Discard(int index, const std::function<void()>& tick) {
  const auto it = jobs_.find(index);
  if (it == jobs_.end()) return;
  TEntryJob& job = *it->second;
  if (!job.taken) {
    // Skipped before its result was taken.
    job.cancelled = true;
    Wait(job, tick);
    if (!job.temp.empty()) platform::DeleteFile(job.temp);
  }
  jobs_.erase(it);
}

}  // namespace unzip
