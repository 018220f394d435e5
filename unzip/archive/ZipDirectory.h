// Reads an archive's directory into its entry list: finds the end record and
// the Zip64 end record, allows for data put in front of the archive, walks
// the central directory (across volumes, or from the ".zfc" side file), and
// rebuilds the entries from their local headers when it is missing or
// damaged.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "unzip/ZipContainers.h"
#include "unzip/ZipRecords.h"

namespace unzip {

class TZipVolumes;
struct TExtraFields;

class TZipDirectory {
 public:
  // What the reader asks of the component that reads.
  class THost {
   public:
    virtual ~THost() = default;
    // Lets the application process its pending messages, if it should.
    virtual void ProcessMessages() = 0;
    // Names and comments stored without the UTF-8 flag are read in the names'
    // code page; with OemConvert false, those of FAT hosts are read as GBK.
    virtual bool OemConvert() const = 0;
    virtual unsigned NamesCodePage() const = 0;
    // The archive has no end record: returns when its entries are to be
    // rebuilt from their local headers, throws otherwise.
    virtual void NoEndRecord() = 0;
  };

  TZipDirectory(TZipVolumes& volumes, THost& host) : volumes_(volumes), host_(host) {}
  TZipDirectory(const TZipDirectory&) = delete;
  TZipDirectory& operator=(const TZipDirectory&) = delete;

  // Reads the directory from the open archive and sorts the entries by `mode`.
  // A damaged archive leaves no directory and no archive behind.
  void Read(TZipSortMode mode);
  bool Empty() const { return master_ == nullptr; }
  // Forgets the directory.
  void Clear();

  int Count() const { return view_ ? view_->Count() : 0; }
  // The entry at `index` of the sorted view; throws EListError out of range.
  TZipHeaderInfo& Entry(int index) const;
  // Sorts the view (the entries themselves stay in archive order).
  void Sort(TZipSortMode mode);
  const TEndCentral& EndRecord() const { return end_; }

  // Comments are read when first asked for, unless the volume that holds them
  // may be gone by then; `keepOpen` keeps an archive opened for it open.
  std::string EntryComment(int index, bool keepOpen);
  std::string ArchiveComment(bool keepOpen);

 private:
  void ReadRecords(TZipSortMode mode);
  [[noreturn]] void Fail(const std::string& why);
  [[noreturn]] void NotAZip();
  bool LocateEndRecord();
  bool LocatePlausibleEndRecord();
  bool EnterSideFile();
  void ReadZip64EndRecord(std::int64_t endPosition);
  bool CentralSignatureAt(std::int64_t position);
  void FindPrependedData();
  void ReadCentralDirectory();
  void CheckLocalHeaders();
  bool ReadCentral(TZipHeaderInfo& rec, TExtraFields& extra);
  std::int64_t TakeComment(TZipHeaderInfo& rec, const TExtraFields& extra);
  bool ReadLocal(TZipHeaderInfo& rec);
  bool FindDataDescriptor(TZipHeaderInfo& rec);
  bool RebuildFromLocalHeaders();
  void NewList();
  std::unique_ptr<TZipHeaderInfo> NewRecord() const;
  // The entry's name: its Unicode path, or the stored name in UTF-8 or a code page.
  void SetName(TZipHeaderInfo& rec, const std::string& raw, const TExtraFields& extra, bool fatHost) const;
  // The local header's Unicode path, at `name` behind the stored name, names
  // `rec` when the directory's record had none.
  void NameFromLocalHeader(TZipHeaderInfo& rec, const std::uint8_t* name, std::uint16_t nameLength,
                           std::uint16_t extraLength) const;
  std::string DecodeComment(const std::string& raw, bool utf8) const;

  TZipVolumes& volumes_;
  THost& host_;
  // The entries in archive order, and the sorted view of them when there is one.
  std::unique_ptr<TSortedZip> master_;
  std::unique_ptr<TSortedZip> sorted_;
  TSortedZip* view_ = nullptr;
  TEndCentral end_;
  // Where the central directory ends (at the Zip64 end record when there is
  // one, else at the end record), and by how much data put in front of the
  // archive without adjusting its offsets shifted every one of them.
  std::int64_t directoryEnd_ = 0;
  std::uint64_t offsetShift_ = 0;
  bool rebuildTried_ = false;
  // Why the directory cannot be trusted when two of its records claim one
  // local header, should the rebuild not find every entry.
  std::string sharedHeader_;
};

}  // namespace unzip
