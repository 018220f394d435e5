#include "extract/OutputPipe.h"

#include <algorithm>

namespace unzip {

TOutputPipe::TOutputPipe(TSink sink) : sink_(std::move(sink)), thread_([this] { Run(); }) {}

TOutputPipe::~TOutputPipe() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    closing_ = true;
  }
  work_.notify_one();
  thread_.join();
}

void TOutputPipe::Start() {
  std::lock_guard<std::mutex> hold(lock_);
  put_ = passed_ = 0;
  failure_ = nullptr;
  broken_ = false;
}

void TOutputPipe::Put(const std::uint8_t* data, std::uint32_t n) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    queue_.push_back({data, n});
    put_ += n;
  }
  work_.notify_one();
}

void TOutputPipe::Release(std::uint64_t upTo) {
  std::unique_lock<std::mutex> hold(lock_);
  const std::uint64_t target = std::min(upTo, put_);
  done_.wait(hold, [&] { return passed_ >= target; });
  if (failure_) {
    std::exception_ptr failure = failure_;
    failure_ = nullptr;
    std::rethrow_exception(failure);
  }
}

void TOutputPipe::Run() {
  std::unique_lock<std::mutex> hold(lock_);
  for (;;) {
    work_.wait(hold, [this] { return closing_ || !queue_.empty(); });
    if (queue_.empty()) return;
    const Piece piece = queue_.front();
    queue_.pop_front();
    const bool broken = broken_;
    hold.unlock();
    std::exception_ptr failure;
    if (!broken) {
      try {
        sink_(piece.data, piece.n);
      } catch (...) {
        failure = std::current_exception();
      }
    }
    hold.lock();
    if (failure) {
      failure_ = failure;
      broken_ = true;
    }
    passed_ += piece.n;
    done_.notify_all();
  }
}

}  // namespace unzip
