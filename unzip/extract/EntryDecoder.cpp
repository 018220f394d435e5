#include "extract/EntryDecoder.h"

#include <algorithm>
#include <vector>

#include "archive/ZipHeaders.h"
#include "archive/ZipVolumes.h"
#include "core/Crc32.h"
#include "core/ZipBufStream.h"
#include "decode/InflateFast.h"
#include "decode/ZipAes.h"
#include "extract/MethodTable.h"
#include "extract/OutputPipe.h"
#include "unzip/ZipErrors.h"
#include "unzip/ZipMethods.h"

namespace unzip {

TEntryDecoder::TEntryDecoder(TZipVolumes& archive, THost& host)
    : archive_(archive), host_(host), inflater_(std::make_unique<TFastInflater>()) {
  state_.io = this;
}

TEntryDecoder::~TEntryDecoder() = default;

void TEntryDecoder::Open(const TZipHeaderInfo& entry) {
  cur_.Assign(entry);
  aes_.reset();
  archive_.Seek(static_cast<int>(cur_.DiskNumberStart), static_cast<std::int64_t>(cur_.LocalHeaderOffset));
  std::uint8_t h[kLocalHeaderSize];
  if (archive_.Read(h, kLocalHeaderSize) < kLocalHeaderSize) throw EFatalUnzipError(kMsgPrematureEnd);
  const TLocalHeader local = TLocalHeader::Parse(h);
  dataOffset_ = local.DataOffset(cur_.LocalHeaderOffset);
  if (cur_.Method == kMethodAes) {
    // The real method and the key strength are in the local extra field.
    std::vector<std::uint8_t> extra(local.extraLength);
    archive_.Skip(local.nameLength);
    extra.resize(static_cast<std::size_t>(std::max<std::int64_t>(0, archive_.Read(extra.data(), local.extraLength))));
    aes_ = FindAesExtra(extra.data(), extra.size());
    if (aes_) {
      cur_.Method = aes_->method;
      cur_.Flags |= kFlagEncrypted;
    }
  }
  archive_.Seek(static_cast<int>(cur_.DiskNumberStart), static_cast<std::int64_t>(dataOffset_));
}

std::uint32_t TEntryDecoder::EncryptionHeaderSize() const {
  if (aes_) return AesSaltSize(aes_->strength) + kAesVerifierSize;
  return (cur_.Flags & kFlagEncrypted) ? kCryptHeaderSize : 0;
}

bool TEntryDecoder::CheckPassword(const std::string& password, const std::function<bool()>& another) {
  return aes_ ? CheckAesPassword(password, another) : CheckTraditionalPassword(password, another);
}

bool TEntryDecoder::CheckTraditionalPassword(const std::string& password, const std::function<bool()>& another) {
  for (;;) {
    std::uint8_t header[kCryptHeaderSize];
    archive_.ReadData(header, kCryptHeaderSize);
    cur_.CompressedSize -= std::min<std::uint64_t>(cur_.CompressedSize, kCryptHeaderSize);
    keys_.Init(password);
    keys_.Decrypt(header, kCryptHeaderSize);
    // Only one byte is checked: the high byte of the time when the sizes
    // follow the data, else of the CRC.
    const std::uint8_t check = (cur_.Flags & kFlagDataDescriptor) ? static_cast<std::uint8_t>(cur_.DosDateTime >> 8)
                                                                  : static_cast<std::uint8_t>(cur_.CRC32 >> 24);
    if (header[kCryptHeaderSize - 1] == check) return true;
    if (!another()) return false;
    archive_.Seek(static_cast<int>(cur_.DiskNumberStart), static_cast<std::int64_t>(dataOffset_));
    cur_.CompressedSize += kCryptHeaderSize;
  }
}

bool TEntryDecoder::CheckAesPassword(const std::string& password, const std::function<bool()>& another) {
  const std::uint32_t salt = AesSaltSize(aes_->strength);
  cur_.CompressedSize -= salt + kAesVerifierSize + kAesMacSize;
  if (!aesDecrypter_) aesDecrypter_ = std::make_unique<TAesDecrypter>();
  for (;;) {
    std::uint8_t header[kAesMaxSaltSize + kAesVerifierSize];
    archive_.ReadData(header, salt + kAesVerifierSize);
    if (aesDecrypter_->Start(password, aes_->strength, header, header + salt)) return true;
    if (!another()) return false;
    archive_.Seek(static_cast<int>(cur_.DiskNumberStart), static_cast<std::int64_t>(dataOffset_));
  }
}

bool TEntryDecoder::AuthenticateAes() {
  // Bytes a decoder left unread still count into the authentication code.
  while (cur_.CompressedSize > 0) {
    const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(kChunkSize, cur_.CompressedSize));
    cur_.CompressedSize -= n;
    archive_.ReadData(state_.inBuf.get(), n);
    aesDecrypter_->Authenticate(state_.inBuf.get(), n);
  }
  std::uint8_t mac[kAesMacSize];
  archive_.ReadData(mac, kAesMacSize);
  return aesDecrypter_->Verify(mac);
}

void TEntryDecoder::Decode(TLFNFileStream* out, bool overlap) {
  out_ = out;
  complete_ = authentic_ = true;
  error_.clear();
  const std::uint64_t start = dataOffset_ + EncryptionHeaderSize();
  archive_.Seek(static_cast<int>(cur_.DiskNumberStart), static_cast<std::int64_t>(start));
  // Smaller entries are decoded in one piece: nothing to overlap. Without
  // writing, the check alone is too quick to be worth a hand-over.
  piping_ = overlap && out && cur_.Method == kMethodDeflated && cur_.UncompressedSize > TFastInflater::kSpan;
  try {
    if (piping_) {
      if (!pipe_)
        pipe_ = std::make_unique<TOutputPipe>([this](const std::uint8_t* data, std::uint32_t n) {
          Deliver(state_, data, n);
        });
      pipe_->Start();
    }
    Dispatch();
    piping_ = false;
    if (aes_) authentic_ = AuthenticateAes();
    if (out_ && !out_->WriteBack()) throw ECantWriteUCF(ZipMessage(ZipMsg::CantWriteUCF));
  } catch (...) {
    piping_ = false;
    out_ = nullptr;
    throw;
  }
  out_ = nullptr;
}

void TEntryDecoder::Dispatch() {
  crc_ = kCrcPreset;
  state_.StartEntry(static_cast<std::int64_t>(cur_.CompressedSize), static_cast<std::int64_t>(cur_.UncompressedSize));
  const TMethod* method = FindMethod(cur_.Method);
  if (!method || !method->decode) {
    // Nothing was decoded: not even an entry whose stored CRC is 0 (an empty
    // file, or an AE-2 entry) may pass as extracted.
    complete_ = false;
    error_ = "unsupported compression method " + std::to_string(cur_.Method);
    host_.UnknownMethod(cur_.Method);
    return;
  }
  TDecodeResult result;
  try {
    result = method->decode(*this);
  } catch (const EBiggerThanUncompressed& e) {
    complete_ = false;
    error_ = e.what();
    return;
  }
  // The verdict tells more than the CRC mismatch that follows from it.
  if (result == TDecodeResult::NoMemory) {
    error_ = std::string(method->dataName) + " data needs more memory than the engine allows";
  } else if (!Sound(result)) {
    error_ = std::string("corrupt ") + method->dataName + " data";
  }
}

TFastInflater& TEntryDecoder::Inflater64() {
  if (!inflater64_) inflater64_ = std::make_unique<TFastInflater>(TInflateVariant::Deflate64);
  return *inflater64_;
}

TDecodeResult TEntryDecoder::UnStore() {
  while (cur_.CompressedSize > 0) {
    host_.Refilling();
    const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(kChunkSize, cur_.CompressedSize));
    cur_.CompressedSize -= n;
    archive_.ReadData(state_.outBuf.get(), n);
    state_.outCount = n;
    FlushOutput();
  }
  return TDecodeResult::Ok;
}

bool TEntryDecoder::FillInput() {
  state_.inCount = FillInputAt(state_, state_.inBuf.get());
  return state_.inCount > 0;
}

std::uint32_t TEntryDecoder::FillInputAt(TDecodeState&, std::uint8_t* to) {
  host_.Refilling();
  const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(kChunkSize, cur_.CompressedSize));
  cur_.CompressedSize -= n;
  if (n == 0) return 0;
  archive_.ReadData(to, n);
  if (aes_) {
    aesDecrypter_->Decrypt(to, n);
  } else if ((cur_.Flags & kFlagEncrypted) && !host_.Decrypt(to, n)) {
    keys_.Decrypt(to, n);
  }
  return n;
}

void TEntryDecoder::FlushOutput() {
  const std::uint32_t c = state_.outCount;
  if (c == 0) return;
  // Stored data is decrypted as it goes out, and never by the application.
  std::uint8_t* out = state_.outBuf.get();
  if (cur_.Method == kMethodStored && aes_) {
    aesDecrypter_->Decrypt(out, c);
  } else if (cur_.Method == kMethodStored && (cur_.Flags & kFlagEncrypted)) {
    keys_.Decrypt(out, c);
  }
  Deliver(state_, out, c);
}

void TEntryDecoder::Hold(TDecodeState& s, const std::uint8_t* data, std::uint32_t n) {
  if (piping_) {
    pipe_->Put(data, n);
  } else {
    Deliver(s, data, n);
  }
}

void TEntryDecoder::Release(std::uint64_t upTo) {
  if (piping_) pipe_->Release(upTo);
}

void TEntryDecoder::Deliver(TDecodeState& s, const std::uint8_t* data, std::uint32_t c) {
  if (static_cast<std::uint64_t>(s.bytesWritten) + c > cur_.UncompressedSize)
    throw EBiggerThanUncompressed(ZipMessage(ZipMsg::BiggerThanUncompressed));
  if (out_ && out_->Write(data, c) < c) throw ECantWriteUCF(ZipMessage(ZipMsg::CantWriteUCF));
  crc_ = UpdateCrc32(crc_, data, c);
  s.bytesWritten += c;
  host_.Delivered(s.bytesWritten, c);
  s.outCount = 0;
  s.outPtr = s.outBuf.get();
}

}  // namespace unzip
