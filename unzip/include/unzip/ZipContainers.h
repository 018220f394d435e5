// Object lists: an ordered list, a sorted one, and the sorted list of
// directory records.
#pragma once
#include <cstdint>
#include <vector>

#include "unzip/ZipRecords.h"

namespace unzip {

class TObjectList : public TPersistent {
 public:
  // Requested capacities above this are refused.
  static constexpr int kMaxCapacity = 536870910;

  TObjectList() = default;
  ~TObjectList() override;
  TObjectList(const TObjectList&) = delete;
  TObjectList& operator=(const TObjectList&) = delete;
  const char* ClassName() const override { return "TObjectList"; }

  int Count() const { return static_cast<int>(items_.size()); }
  int Capacity() const { return capacity_; }
  void SetCapacity(int capacity);
  bool OwnsObjects = true;

  TPersistent* Get(int index) const;
  virtual void Put(int index, TPersistent* item);
  virtual int Add(TPersistent* item);
  // Forgets all items (without freeing them).
  virtual void Clear();
  virtual int IndexOf(const TPersistent* item) const;
  virtual void Insert(int index, TPersistent* item);
  TPersistent* First() const { return items_.empty() ? nullptr : items_.front(); }
  TPersistent* Last() const { return items_.empty() ? nullptr : items_.back(); }
  // The item after `item` (forward) or before it; First/Last when `item` is null.
  TPersistent* Neighbour(const TPersistent* item, bool forward) const;

 protected:
  [[noreturn]] void Error(const char* format, long long value) const;
  void Grow();
  void InsertAt(int index, TPersistent* item);
  std::vector<TPersistent*> items_;

 private:
  int capacity_ = 0;
};

enum class TDuplicates { Ignore = 0, Accept = 1, Error = 2 };

class TSortedObjectList : public TObjectList {
 public:
  const char* ClassName() const override { return "TSortedObjectList"; }
  TDuplicates Duplicates = TDuplicates::Ignore;

  void Put(int index, TPersistent* item) override;
  // Both insert at the sorted position; Add returns 0.
  int Add(TPersistent* item) override;
  void Insert(int index, TPersistent* item) override;
  int IndexOf(const TPersistent* item) const override;

  virtual const TPersistent* KeyOf(const TPersistent* item) const { return item; }
  // Negative places `b` after `a`.
  virtual int Compare(const TPersistent* a, const TPersistent* b) const = 0;
  // Binary search; `index` is where the key belongs.
  virtual bool Find(const TPersistent* key, int& index) const;
};

enum class TZipSortMode {
  ByName = 0,
  ByFileName = 1,
  ByDirectoryName = 2,
  ByDate = 3,
  ByCompressedSize = 4,
  ByUnCompressedSize = 5,
  ByRate = 6,
  ByNone = 7,
};

class TSortedZip : public TSortedObjectList {
 public:
  explicit TSortedZip(TZipSortMode mode = TZipSortMode::ByNone) : SortMode(mode) {}
  const char* ClassName() const override { return "TSortedZip"; }
  int Compare(const TPersistent* a, const TPersistent* b) const override;
  TZipHeaderInfo* Item(int index) const { return static_cast<TZipHeaderInfo*>(Get(index)); }
  TZipSortMode SortMode;
};

}  // namespace unzip
