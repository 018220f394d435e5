// TUnZipper: reads a zip archive's directory and extracts its entries to files.
#pragma once
#include <cstdint>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "archive/ZipExtra.h"
#include "core/DecodeState.h"
#include "core/ZipBufStream.h"
#include "decode/Inflate.h"
#include "decode/InflateFast.h"
#include "decode/ZipAes.h"
#include "decode/ZipCrypt.h"
#include "extract/EntryPool.h"
#include "extract/OutputPipe.h"
#include "unzip/ZipContainers.h"
#include "unzip/ZipErrors.h"
#include "unzip/ZipRecords.h"

namespace unzip {

enum class TUZOverwriteMode { Prompt = 0, Always = 1, Never = 2, ifNewer = 3, ifOlder = 4 };
enum class TIncompleteZipMode { izAssumeMulti = 0, izAssumeBad = 1, izAssumeNotAZip = 2 };
// Why an entry was not extracted. Unsupported: encrypted with a method this
// build cannot decrypt (LastError tells which).
enum class TSkipReason { BadPassword = 0, NoOverwrite = 1, CantCreate = 3, Unsupported = 4 };

class TUnZipper : private TDecodeIO {
 public:
  static constexpr int kThisVersion = 223;
  // Buffer of every archive and output file stream.
  static constexpr int kStreamBufferSize = 8192;

  TUnZipper();
  ~TUnZipper() override;
  TUnZipper(const TUnZipper&) = delete;
  TUnZipper& operator=(const TUnZipper&) = delete;

  // --- Properties -------------------------------------------------------
  int ThisVersion() const { return kThisVersion; }
  void SetThisVersion(int) {}  // always 223

  const std::string& ZipName() const { return zipName_; }
  // A name ending in "?" asks the user for the archive.
  void SetZipName(const std::string& name);
  const std::string& DestDir() const { return destDir_; }
  // "?" lets the user choose the folder; one trailing separator is removed.
  void SetDestDir(const std::string& dir);
  const std::string& RootDir() const { return rootDir_; }
  void SetRootDir(const std::string& dir);
  TZipSortMode SortMode() const { return sortMode_; }
  void SetSortMode(TZipSortMode mode) { sortMode_ = mode; }
  bool RecreateDirs() const { return recreateDirs_; }
  void SetRecreateDirs(bool value) { recreateDirs_ = value; }
  TUZOverwriteMode OverwriteMode() const { return overwriteMode_; }
  void SetOverwriteMode(TUZOverwriteMode mode) { overwriteMode_ = mode; }
  std::vector<std::string>& FilesList() { return filesList_; }
  void SetFilesList(const std::vector<std::string>& list) { filesList_ = list; }
  // Patterns of entries left out although FilesList selects them (folder
  // entries too); without DoAll only. Cleared at the end of every run.
  std::vector<std::string>& ExcludeList() { return excludeList_; }
  bool DoAll() const { return doAll_; }
  void SetDoAll(bool value) { doAll_ = value; }
  TIncompleteZipMode IncompleteZipMode() const { return incompleteMode_; }
  void SetIncompleteZipMode(TIncompleteZipMode mode) { incompleteMode_ = mode; }
  bool KeepZipOpen() const { return keepZipOpen_; }
  void SetKeepZipOpen(bool value) { keepZipOpen_ = value; }
  bool DoProcessMessages() const { return doProcessMessages_; }
  void SetDoProcessMessages(bool value) { doProcessMessages_ = value; }
  bool RetainAttributes() const { return retainAttributes_; }
  void SetRetainAttributes(bool value) { retainAttributes_ = value; }
  bool ReplaceReadOnly() const { return replaceReadOnly_; }
  void SetReplaceReadOnly(bool value) { replaceReadOnly_ = value; }
  bool FlushFilesOnClose() const { return flushFilesOnClose_; }
  void SetFlushFilesOnClose(bool value) { flushFilesOnClose_ = value; }
  bool OEMConvert() const { return oemConvert_; }
  void SetOEMConvert(bool value) { oemConvert_ = value; }
  bool CheckVolumeLabels() const { return checkVolumeLabels_; }
  void SetCheckVolumeLabels(bool value) { checkVolumeLabels_ = value; }
  const std::string& Password() const { return password_; }
  void SetPassword(const std::string& password) { password_ = password; }
  // Code page of names stored without the UTF-8 flag (GBK by default).
  unsigned OemCodePage() const { return oemCodePage_; }
  void SetOemCodePage(unsigned codePage) { oemCodePage_ = codePage; }
  // Decode and check entries without writing any file.
  bool TestOnly() const { return testOnly_; }
  void SetTestOnly(bool value) { testOnly_ = value; }
  // How many threads decode entries: 1 (the default) decodes each in turn on
  // the calling thread; more decode independent entries ahead on worker
  // threads; 0 takes one per processor. Events come on the calling thread in
  // entry order either way, and a failed entry leaves no file.
  int Threads() const { return threads_; }
  void SetThreads(int value) { threads_ = value < 0 ? 1 : value; }

  // --- Directory --------------------------------------------------------
  void ReadZip();
  int EntryCount() const { return master_ ? master_->Count() : 0; }
  TZipHeaderInfo& Entry(int index) const;
  std::string Filename(int index) const { return Entry(index).FileName; }
  std::string EntryComment(int index);
  std::string ArchiveComment();
  void SortEntries(TZipSortMode mode);
  void ClearArchive();
  const TEndCentral& EndCentral() const { return ecrec_; }
  // 0 a single archive, 1 spanned over removable disks, 2 blocked into files.
  int SpanKind() const { return spanKind_; }
  // The 0-based volume whose file is open as the archive stream.
  int CurrentVolume() const { return currentDisk_; }

  // --- Extraction -------------------------------------------------------
  // Extracts the selected entries; returns how many succeeded.
  int UnZip();
  // Whether this build decodes compression method `method`.
  static bool MethodSupported(std::uint16_t method);
  // Whether this build decrypts the entry's encryption: traditional, and
  // WinZip AES once the entry's AES field was read (its method is then the
  // inner one); not PKWARE's strong encryption.
  static bool EncryptionSupported(const TZipHeaderInfo& e);
  // The last message shown or recorded by the engine (unknown method, an
  // unsafe entry name, a failed rename).
  const std::string& LastError() const { return lastError_; }
  // Why the entry being processed failed, when its decoder or its checks
  // know more than a CRC mismatch tells ("corrupt bzip2 data"); empty
  // otherwise. Read it from the failure events.
  const std::string& EntryError() const { return entryError_; }

  // --- Events -----------------------------------------------------------
  std::function<void(TUnZipper& Sender, int NumFiles, std::int64_t TotalBytes, bool& StopNow)> OnStartUnZipInfo;
  std::function<void(TUnZipper& Sender, int FileIndex, std::string& FName, bool& Skip)> OnStartUnZip;
  std::function<void(TUnZipper& Sender, int FileIndex, const std::string& FName)> OnEndUnZip;
  std::function<void(TUnZipper& Sender, bool& OverWriteIt, int FileIndex, std::string& FName)> OnPromptForOverwrite;
  std::function<void(TUnZipper& Sender, TSkipReason Reason, const std::string& FName, int FileIndex, bool& Retry)>
      OnSkippingFile;
  std::function<void(TUnZipper& Sender, int FileIndex, std::string& NewPassword)> OnBadPassword;
  std::function<void(TUnZipper& Sender, std::uint32_t CalcCRC, std::uint32_t StoredCRC, int FileIndex)> OnBadCRC;
  std::function<void(TUnZipper& Sender, TIncompleteZipMode& IncompleteMode)> OnInCompleteZip;
  // Gives the path of volume NextDisk - 1 (arriving as the current name); an
  // emptied FName cancels. Set to the component's own handler at creation.
  std::function<void(TUnZipper& Sender, int NextDisk, std::string& FName)> OnGetNextDisk;
  std::function<void(TUnZipper& Sender, int FileCount)> OnUnZipComplete;
  std::function<void(TUnZipper& Sender, int Percent)> OnFilePercentDone;
  std::function<void(TUnZipper& Sender, int Percent)> OnTotalPercentDone;
  std::function<void(TUnZipper& Sender, std::uint8_t* buffer, int length, const std::string& Password)> OnDecrypt;

 private:
  // Directory reading.
  void OpenArchive();
  void CloseArchive(bool force = false);
  void ReadDirectory();
  void ReadDirectoryRecords();
  bool LocateEndRecord();
  bool LocatePlausibleEndRecord();
  void ReadZip64EndRecord(std::int64_t endPosition);
  bool CentralSignatureAt(std::int64_t position);
  void FindPrependedData();
  void ReadCentralDirectory();
  bool ReadCentral(TZipHeaderInfo& rec, TExtraFields& extra);
  std::int64_t TakeComment(TZipHeaderInfo& rec, const TExtraFields& extra);
  bool ReadLocal(TZipHeaderInfo& rec);
  bool FindDataDescriptor(TZipHeaderInfo& rec);
  bool RebuildFromLocalHeaders();
  [[noreturn]] void FailArchive(const std::string& why);
  std::string DecodeComment(const std::string& raw, bool utf8) const;
  void FreeLists();
  void ResetArchiveState();
  void ProcessMessages() const;
  std::string ConvertName(const std::string& raw, std::uint16_t flags, bool fatHost) const;
  TSortedZip* View() const { return view_; }
  std::string ReadCommentAt(std::int64_t position, std::uint16_t length);

  // Volumes of multi-volume archives.
  void DefaultGetNextDisk(int nextDisk, std::string& name);
  bool VolumeLabelMatches(int nextDisk) const;
  void OpenVolume(int nextDisk);
  void EnsureVolume(int volume);
  bool CanSpan() const;
  std::int64_t ReadSpanning(void* into, std::int64_t count);
  void SkipSpanning(std::int64_t count);
  void SeekSpanning(int volume, std::int64_t offset);
  bool OpenSideFile();
  void LeaveSideFile();

  // Extraction.
  int ExtractionRun();
  // Decoding ahead on worker threads.
  void StartPool(int threads);
  void StopPool();
  void DispatchAhead(int from);
  bool Dispatchable(const TZipHeaderInfo& e);
  void DecodeJob(TEntryJob& job);
  bool AdoptJob(TEntryJob& job, const std::string& temp, bool& complete);
  void DiscardJob(int index);
  void ProcessEntry(int index, bool& retry);
  std::optional<std::string> DestinationFolder(const TZipHeaderInfo& e);
  // Asks OnBadPassword for another password; true when it gave a new one.
  bool AskNewPassword(int index);
  bool CheckPassword(int index, std::int64_t dataOffset);
  bool CheckAesPassword(int index, std::int64_t dataOffset);
  bool AuthenticateAesEntry();
  bool OverwriteAllowed(int index, std::string& target);
  void Decode(bool& complete);
  void UnStore();
  void ReadChunk(std::uint8_t* into, std::uint32_t n);
  void Skip(int index, TSkipReason reason, const std::string& name);
  int Percent(std::int64_t done, std::int64_t total) const;
  bool FillInput() override;
  void FlushOutput() override;
  void Deliver(TDecodeState& s, const std::uint8_t* data, std::uint32_t n) override;
  void Hold(TDecodeState& s, const std::uint8_t* data, std::uint32_t n) override;
  void Release(std::uint64_t upTo) override;

  std::string zipName_;
  std::string destDir_;
  std::string rootDir_;
  TZipSortMode sortMode_ = TZipSortMode::ByNone;
  bool recreateDirs_ = false;
  TUZOverwriteMode overwriteMode_ = TUZOverwriteMode::Prompt;
  std::vector<std::string> filesList_;
  std::vector<std::string> excludeList_;
  bool doAll_ = false;
  TIncompleteZipMode incompleteMode_ = TIncompleteZipMode::izAssumeMulti;
  bool keepZipOpen_ = false;
  bool doProcessMessages_ = true;
  bool retainAttributes_ = true;
  bool replaceReadOnly_ = false;
  bool flushFilesOnClose_ = false;
  bool oemConvert_ = true;
  bool checkVolumeLabels_ = true;
  std::string password_;
  unsigned oemCodePage_;
  bool testOnly_ = false;
  int threads_ = 1;
  std::string lastError_;
  std::string entryError_;

  std::unique_ptr<TLFNFileStream> zipStream_;
  std::unique_ptr<TSortedZip> master_;
  TSortedZip* view_ = nullptr;  // the master list itself, or an owned sorted view
  TEndCentral ecrec_;
  std::optional<std::uint32_t> zipDate_;
  // Where the central directory ends (at the Zip64 end record when there is
  // one, else at the end record), and by how much data put in front of the
  // archive without adjusting its offsets shifted every one of them.
  std::int64_t directoryEnd_ = 0;
  std::uint64_t offsetShift_ = 0;
  bool rebuilding_ = false;
  bool rebuildTried_ = false;
  int spanKind_ = 0;
  int currentDisk_ = 0;
  // The file that held the end record: the last volume of a blocked archive.
  std::string endVolumeName_;
  // Set by the default handler when it asked the user for a disk.
  bool askedUser_ = false;
  // While the directory is read from the ".zfc" side file, the archive's own
  // stream waits here.
  bool sideFile_ = false;
  std::unique_ptr<TLFNFileStream> asideStream_;

  // Run state.
  std::unique_ptr<TDecodeState> ds_;
  std::unique_ptr<TFastInflater> inflater_;
  std::unique_ptr<TInflater> inflater64_;  // made at the run's first Deflate64 entry
  TZipHeaderInfo cur_;
  std::unique_ptr<TLFNFileStream> out_;
  TZipKeys keys_;
  // The current entry's WinZip AES field, and the decrypter (made at the first AES entry).
  std::optional<TAesInfo> aesInfo_;
  std::unique_ptr<TAesDecrypter> aes_;
  std::uint32_t crc_ = 0;
  std::int64_t totalToDo_ = 0;
  std::int64_t totalDone_ = 0;
  int count_ = 0;
  // Unsupported methods already reported in this run: one message each.
  std::set<std::uint16_t> reportedMethods_;

  // Worker state: each worker thread decodes through a TUnZipper of its own,
  // whose Deliver reports progress here and stops once its job is cancelled.
  std::vector<std::unique_ptr<TUnZipper>> workers_;
  std::unique_ptr<TEntryPool> pool_;
  std::map<int, std::unique_ptr<TEntryJob>> jobs_;  // handed out and not yet taken, by entry index
  int dispatchedUpTo_ = 0;                          // entries before it were considered
  std::string scratch_;                             // the folder decoded entries wait in
  std::atomic<std::int64_t>* progress_ = nullptr;
  const std::atomic<bool>* cancel_ = nullptr;
  // A worker passes a large deflated entry's bytes on through its pipe, so
  // that checking and writing overlap decoding.
  std::unique_ptr<TOutputPipe> pipe_;
  bool piping_ = false;
};

}  // namespace unzip
