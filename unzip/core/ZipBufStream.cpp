#include "core/ZipBufStream.h"

#include <algorithm>
#include <cstring>

#include "unzip/ZipErrors.h"

namespace unzip {

std::int64_t TStream::Size() {
  const std::int64_t here = Seek(0, 1);
  const std::int64_t size = Seek(0, 2);
  Seek(here, 0);
  return size;
}

TS_BufferStream::TS_BufferStream(TStream* underlying, int bufferSize)
    : underlying_(underlying), buffer_(new std::uint8_t[bufferSize]), bufferSize_(bufferSize) {}

TS_BufferStream::~TS_BufferStream() { Finish(); }

void TS_BufferStream::Finish() {
  if (finished_) return;
  finished_ = true;
  if (state_ == State::Writing) WriteBack();
  if (flushOnDestroy_ && written_) FlushToDisk();
}

std::int64_t TS_BufferStream::LogicalPosition() {
  const std::int64_t base = underlying_->Seek(0, 1);
  if (state_ == State::Reading) return base - (end_ - current_);
  if (state_ == State::Writing) return base + (current_ - buffer_.get());
  return base;
}

bool TS_BufferStream::Refill() {
  const std::int64_t got = underlying_->Read(buffer_.get(), bufferSize_);
  current_ = buffer_.get();
  end_ = buffer_.get() + std::max<std::int64_t>(got, 0);
  state_ = got > 0 ? State::Reading : State::Empty;
  return got > 0;
}

bool TS_BufferStream::WriteBack() {
  const std::int64_t pending = current_ ? current_ - buffer_.get() : 0;
  const std::int64_t put = pending > 0 ? underlying_->Write(buffer_.get(), pending) : 0;
  current_ = buffer_.get();
  state_ = State::Empty;
  return put == pending;
}

std::int64_t TS_BufferStream::Read(void* buffer, std::int64_t count) {
  if (state_ == State::Writing) WriteBack();
  if (state_ != State::Reading) current_ = end_ = buffer_.get();
  auto* out = static_cast<std::uint8_t*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    if (current_ == end_ && !Refill()) break;
    const std::int64_t n = std::min<std::int64_t>(end_ - current_, count - done);
    std::memcpy(out + done, current_, static_cast<std::size_t>(n));
    current_ += n;
    done += n;
  }
  return done;
}

std::int64_t TS_BufferStream::Write(const void* buffer, std::int64_t count) {
  if (state_ != State::Writing) current_ = buffer_.get();
  end_ = buffer_.get() + bufferSize_;
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  std::int64_t done = 0;
  while (done < count) {
    const std::int64_t n = std::min<std::int64_t>(end_ - current_, count - done);
    std::memcpy(current_, in + done, static_cast<std::size_t>(n));
    current_ += n;
    done += n;
    if (current_ == end_ && !WriteBack()) break;
  }
  state_ = current_ != buffer_.get() ? State::Writing : State::Empty;
  written_ = true;
  return done;
}

std::int64_t TS_BufferStream::Seek(std::int64_t offset, int origin) {
  const std::int64_t here = LogicalPosition();
  std::int64_t target;
  switch (origin) {
    case 0: target = offset; break;
    case 1: target = here + offset; break;
    case 2: {
      const std::int64_t size = std::max(here, underlying_->Size() < 0 ? here : underlying_->Size());
      target = size - (offset < 0 ? -offset : offset);
      break;
    }
    default: throw platform::Exception(FormatMessage(kMsgInvalidSeekOrigin, origin));
  }
  if (target == here) return target;
  if (state_ == State::Writing && !WriteBack()) throw platform::Exception(kMsgSeekError);
  underlying_->Seek(target, 0);
  current_ = end_ = nullptr;
  state_ = State::Empty;
  return target;
}

TLFNFileStream::TLFNFileStream(const std::string& path, int bufferSize, bool flushOnClose, unsigned mode)
    : TLFNFileStream(std::make_unique<THandleStream>(path, mode), bufferSize, flushOnClose, mode) {}

TLFNFileStream::TLFNFileStream(std::unique_ptr<THandleStream> file, int bufferSize, bool flushOnClose,
                               unsigned mode)
    : TS_BufferStream(file.get(), bufferSize), file_(std::move(file)) {
  // Either of the two lowest bits means writing; the create mode has both.
  SetFlushOnDestroy(flushOnClose && (mode & 3) != 0);
}

TLFNFileStream::~TLFNFileStream() { Finish(); }

}  // namespace unzip
