#include "extract/EntryPool.h"

#include <chrono>

namespace unzip {
namespace {

// How often a waiting calling thread wakes for its messages and progress events.
constexpr auto kTickInterval = std::chrono::milliseconds(20);

}  // namespace

TEntryPool::TEntryPool(std::vector<TWorker> workers) : workers_(std::move(workers)) {
  threads_.reserve(workers_.size());
  for (TWorker& worker : workers_) threads_.emplace_back([this, &worker] { Run(worker); });
}

TEntryPool::~TEntryPool() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    closing_ = true;
    for (TEntryJob* job : queue_) job->cancelled = true;
  }
  work_.notify_all();
  for (std::thread& t : threads_) t.join();
}

void TEntryPool::Submit(TEntryJob& job) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    queue_.push_back(&job);
  }
  work_.notify_one();
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
    if (!job->cancelled) worker(*job);
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
}

}  // namespace unzip
