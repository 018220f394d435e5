// Buffered streams: every archive and extracted file goes through one.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Files.h"

namespace unzip {

// Buffer of every archive and output file stream.
inline constexpr int kStreamBufferSize = 8192;

// The abstract stream the buffered streams sit on and present.
class TStream {
 public:
  virtual ~TStream() = default;
  virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
  // Origins 0 (start), 1 (current), 2 (end).
  virtual std::int64_t Seek(std::int64_t offset, int origin) = 0;
  std::int64_t Position() { return Seek(0, 1); }
  std::int64_t Size();
};

// A stream over an open platform file; owns the file.
class THandleStream : public TStream {
 public:
  THandleStream(const std::string& path, unsigned mode) : file_(path, mode) {}
  std::int64_t Read(void* buffer, std::int64_t count) override { return file_.Read(buffer, count); }
  std::int64_t Write(const void* buffer, std::int64_t count) override { return file_.Write(buffer, count); }
  std::int64_t Seek(std::int64_t offset, int origin) override { return file_.Seek(offset, origin); }
  platform::FileStream& File() { return file_; }

 private:
  platform::FileStream file_;
};

class TS_BufferStream : public TStream {
 public:
  TS_BufferStream(TStream* underlying, int bufferSize);
  ~TS_BufferStream() override;
  TS_BufferStream(const TS_BufferStream&) = delete;
  TS_BufferStream& operator=(const TS_BufferStream&) = delete;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, int origin) override;
  // Writes pending bytes out; false when the underlying stream took fewer.
  bool WriteBack();

 protected:
  bool Refill();
  void SetFlushOnDestroy(bool flush) { flushOnDestroy_ = flush; }
  // Asks the platform to force written data to disk (file streams only).
  virtual void FlushToDisk() {}
  // Runs the final write back; derived classes call it before their file goes.
  void Finish();

 private:
  enum class State : std::uint8_t { Empty, Reading, Writing };
  std::int64_t LogicalPosition();

  TStream* underlying_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::uint8_t* current_ = nullptr;
  std::uint8_t* end_ = nullptr;
  std::int32_t bufferSize_;
  State state_ = State::Empty;
  bool flushOnDestroy_ = false;
  bool written_ = false;
  bool finished_ = false;
};

// A buffered stream that owns the file it buffers.
class TLFNFileStream : public TS_BufferStream {
 public:
  // Throws platform::EFCreateError or EFOpenError.
  TLFNFileStream(const std::string& path, int bufferSize, bool flushOnClose, unsigned mode);
  ~TLFNFileStream() override;
  platform::FileStream& File() { return file_->File(); }

 protected:
  void FlushToDisk() override { file_->File().Flush(); }

 private:
  // Built before the base class uses it, through the constructor's helper.
  std::unique_ptr<THandleStream> file_;
  TLFNFileStream(std::unique_ptr<THandleStream> file, int bufferSize, bool flushOnClose, unsigned mode);
};

}  // namespace unzip
