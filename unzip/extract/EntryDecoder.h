// Decodes one entry of an archive: reads its local header, checks the
// password of an encrypted entry, and passes the data through the decoder of
// its method, the decryption, the size check and the CRC-32 into an output
// file. All that a worker thread needs to decode an entry, and what the
// calling thread's run decodes with.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "archive/ZipExtra.h"
#include "core/DecodeResult.h"
#include "core/DecodeState.h"
#include "decode/ZipCrypt.h"
#include "unzip/ZipRecords.h"

namespace unzip {

class TAesDecrypter;
class TFastInflater;
class TLFNFileStream;
class TOutputPipe;
class TZipVolumes;

class TEntryDecoder final : private TDecodeIO {
 public:
  // What the decoder asks of whoever runs it.
  class THost {
   public:
    virtual ~THost() = default;
    // Before each refill of input: the application may process its messages.
    virtual void Refilling() = 0;
    // After each piece of output went on: `done` bytes of the entry so far,
    // `n` of them in this piece. May throw to stop the entry.
    virtual void Delivered(std::int64_t done, std::uint32_t n) = 0;
    // The application's own decryption of `n` bytes read (OnDecrypt); false
    // when it has none.
    virtual bool Decrypt(std::uint8_t* data, std::uint32_t n) = 0;
    // The entry's compression method is not one this build decodes.
    virtual void UnknownMethod(std::uint16_t method) = 0;
  };

  // Reads from `archive`; its decoding buffers live as long as it does.
  TEntryDecoder(TZipVolumes& archive, THost& host);
  ~TEntryDecoder() override;
  TEntryDecoder(const TEntryDecoder&) = delete;
  TEntryDecoder& operator=(const TEntryDecoder&) = delete;

  // Reads `entry`'s local header, leaving the archive at the entry's data. A
  // WinZip AES entry takes its inner method and the encrypted flag from the
  // AES field there.
  void Open(const TZipHeaderInfo& entry);
  const TZipHeaderInfo& Entry() const { return cur_; }
  // The entry's AES field, when it has one.
  const std::optional<TAesInfo>& Aes() const { return aes_; }
  // Checks `password` against the encryption header at the start of the data
  // (traditional or AES); after each failure `another` may change `password`
  // and return true to have it checked in turn. True once one passes.
  bool CheckPassword(const std::string& password, const std::function<bool()>& another);
  // Decodes the data behind the encryption header into `out` (none: only
  // checks it), and checks an AES entry's authentication code. With
  // `overlap`, a large deflated entry's output is checked and written on a
  // thread of its own while decoding goes on.
  void Decode(TLFNFileStream* out, bool overlap = false);

  // The outcome of Decode: whether the decoder reached the data's end without
  // a fault, whether the authentication code matched (always for an entry
  // without one), the CRC-32 of the output as stored, and why the entry
  // failed when more is known than a CRC mismatch tells.
  bool Complete() const { return complete_; }
  bool Authentic() const { return authentic_; }
  std::uint32_t Crc() const { return ~crc_; }
  // AE-2 stores no CRC: its authentication code stands for it.
  bool CrcStored() const { return !aes_ || aes_->version == 1; }
  const std::string& Error() const { return error_; }

  // What the decoders of the method table work with.
  TDecodeState& State() { return state_; }
  TFastInflater& Inflater() { return *inflater_; }
  TFastInflater& Inflater64();
  TDecodeResult UnStore();

 private:
  std::uint32_t EncryptionHeaderSize() const;
  bool CheckTraditionalPassword(const std::string& password, const std::function<bool()>& another);
  bool CheckAesPassword(const std::string& password, const std::function<bool()>& another);
  bool AuthenticateAes();
  void Dispatch();
  bool FillInput() override;
  std::uint32_t FillInputAt(TDecodeState& s, std::uint8_t* to) override;
  void FlushOutput() override;
  void Deliver(TDecodeState& s, const std::uint8_t* data, std::uint32_t n) override;
  void Hold(TDecodeState& s, const std::uint8_t* data, std::uint32_t n) override;
  void Release(std::uint64_t upTo) override;

  TZipVolumes& archive_;
  THost& host_;
  TDecodeState state_;
  std::unique_ptr<TFastInflater> inflater_;
  std::unique_ptr<TFastInflater> inflater64_;  // made at the first Deflate64 entry
  TZipHeaderInfo cur_;
  std::uint64_t dataOffset_ = 0;
  std::optional<TAesInfo> aes_;
  std::unique_ptr<TAesDecrypter> aesDecrypter_;  // made at the first AES entry
  TZipKeys keys_;
  TLFNFileStream* out_ = nullptr;
  std::uint32_t crc_ = 0;
  bool complete_ = true;
  bool authentic_ = true;
  std::string error_;
  // Output passed on through the pipe's thread, while `piping_`.
  std::unique_ptr<TOutputPipe> pipe_;
  bool piping_ = false;
};

}  // namespace unzip
