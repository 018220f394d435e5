// TUnZipper: reads a zip archive's directory and extracts its entries to files.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "unzip/ZipContainers.h"
#include "unzip/ZipErrors.h"
#include "unzip/ZipRecords.h"

namespace unzip {

enum class TUZOverwriteMode { Prompt = 0, Always = 1, Never = 2, ifNewer = 3, ifOlder = 4 };
enum class TIncompleteZipMode { izAssumeMulti = 0, izAssumeBad = 1, izAssumeNotAZip = 2 };
// Why an entry was not extracted. Unsupported: encrypted with a method this
// build cannot decrypt (LastError tells which).
enum class TSkipReason { BadPassword = 0, NoOverwrite = 1, CantCreate = 3, Unsupported = 4 };

class TUnZipper {
 public:
  static constexpr int kThisVersion = 223;

  TUnZipper();
  ~TUnZipper();
  TUnZipper(const TUnZipper&) = delete;
  TUnZipper& operator=(const TUnZipper&) = delete;

  // --- Properties -------------------------------------------------------
  int ThisVersion() const { return kThisVersion; }
  void SetThisVersion(int) {}  // always 223

  const std::string& ZipName() const;
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
  // Code page of the names and comments stored without the UTF-8 flag (that
  // are not plain UTF-8 from a non-FAT host): GBK, the system's, by default.
  // With OEMConvert False, names from FAT hosts are read as GBK regardless.
  unsigned NamesCodePage() const { return namesCodePage_; }
  void SetNamesCodePage(unsigned codePage) { namesCodePage_ = codePage; }
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
  int EntryCount() const;
  TZipHeaderInfo& Entry(int index) const;
  std::string Filename(int index) const { return Entry(index).FileName; }
  std::string EntryComment(int index);
  std::string ArchiveComment();
  void SortEntries(TZipSortMode mode);
  void ClearArchive();
  const TEndCentral& EndCentral() const;
  // 0 a single archive, 1 spanned over removable disks, 2 blocked into files.
  int SpanKind() const;
  // The 0-based volume whose file is open as the archive stream.
  int CurrentVolume() const;

  // --- Extraction -------------------------------------------------------
  // Extracts the selected entries; returns how many succeeded.
  int UnZip();
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
  // Asks whether to replace the existing file FName. Set to the component's
  // own question (a Yes/No box) at creation; unassigned, it is asked too.
  std::function<void(TUnZipper& Sender, bool& OverWriteIt, int FileIndex, std::string& FName)> OnPromptForOverwrite;
  std::function<void(TUnZipper& Sender, TSkipReason Reason, const std::string& FName, int FileIndex, bool& Retry)>
      OnSkippingFile;
  std::function<void(TUnZipper& Sender, int FileIndex, std::string& NewPassword)> OnBadPassword;
  // An entry that is not encrypted failed: its CRC, or, with CalcCRC (the CRC
  // of what was decoded) then possibly equal to StoredCRC, a check that
  // EntryError names (data past the declared size, an unknown method).
  std::function<void(TUnZipper& Sender, std::uint32_t CalcCRC, std::uint32_t StoredCRC, int FileIndex)> OnBadCRC;
  std::function<void(TUnZipper& Sender, TIncompleteZipMode& IncompleteMode)> OnInCompleteZip;
  // Gives the path of volume NextDisk - 1 (arriving as the current name); an
  // emptied FName cancels. Set to the component's own handler at creation.
  std::function<void(TUnZipper& Sender, int NextDisk, std::string& FName)> OnGetNextDisk;
  // For handlers of OnGetNextDisk: names volume NextDisk - 1 of a blocked
  // archive in FName (its numbered file, or the last one as the archive was
  // opened); false for a spanned archive, whose disk someone must insert.
  bool NameBlockedVolume(int NextDisk, std::string& FName) const;
  std::function<void(TUnZipper& Sender, int FileCount)> OnUnZipComplete;
  std::function<void(TUnZipper& Sender, int Percent)> OnFilePercentDone;
  std::function<void(TUnZipper& Sender, int Percent)> OnTotalPercentDone;
  std::function<void(TUnZipper& Sender, std::uint8_t* buffer, int length, const std::string& Password)> OnDecrypt;
  // Tells of the first entry of a run compressed with Method, which this
  // build does not decode (the entry then fails). Set to the component's own
  // message box at creation.
  std::function<void(TUnZipper& Sender, std::uint16_t Method)> OnUnknownMethod;

 private:
  // The parts the component works with: the archive's volumes, the directory
  // reader, the run's entry decoder and worker pool (extract/UnZipperParts.h).
  struct TParts;

  // The prompts the component shows itself, installed as its handlers
  // (extract/ZipPrompts.cpp).
  void DefaultPromptForOverwrite(bool& overwrite, int index);
  void DefaultGetNextDisk(int nextDisk, std::string& name);
  void DefaultUnknownMethod();

  void OpenArchive();
  void CloseArchive(bool force = false);
  void ProcessMessages() const;
  int ExtractionRun();
  void SelectEntries(int& numFiles, std::uint64_t& largest);
  void ProcessEntry(int index, bool& retry);
  std::optional<std::string> DestinationFolder(const TZipHeaderInfo& e) const;
  // Whatever may need the user or a handler halfway (a password, a custom
  // decrypter, an unknown method's message) is decoded on the calling thread.
  bool DecodableAhead(const TZipHeaderInfo& e) const;
  // Takes the result of the worker that decoded entry `index` ahead, into
  // `temp`; false when it is to be decoded here after all.
  bool TakeAhead(int index, const TZipHeaderInfo& e, const std::string& temp, bool& complete, std::uint32_t& crc);
  // Asks OnBadPassword for another password; true when it gave a new one.
  bool AskNewPassword(int index);
  bool OverwriteAllowed(int index, const TZipHeaderInfo& e, std::string& target);
  // An entry refused before any of its bytes were decoded leaves the expected
  // total; one that fails later stays in it, its bytes counted as written.
  void Refuse(int index, TSkipReason reason, const std::string& name, const TZipHeaderInfo& e);
  void Skip(int index, TSkipReason reason, const std::string& name);
  // `n` more bytes written, `done` of the entry's `size`.
  void Progress(std::int64_t done, std::int64_t size, std::int64_t n);
  // Takes `n` bytes back off the written total: they are to be written again.
  void Uncount(std::int64_t n);

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
  unsigned namesCodePage_;
  bool testOnly_ = false;
  int threads_ = 1;
  std::string lastError_;
  std::string entryError_;
  std::unique_ptr<TParts> parts_;
};

}  // namespace unzip
