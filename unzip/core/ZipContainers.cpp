#include "unzip/ZipContainers.h"

#include <cmath>
#include <string>

#include "core/DosDateTime.h"
#include "platform/Text.h"
#include "unzip/ZipErrors.h"

namespace unzip {

TObjectList::~TObjectList() {
  if (OwnsObjects)
    for (TPersistent* item : items_) delete item;
}

void TObjectList::Error(const char* format, long long value) const {
  throw EListError(FormatMessage(format, value));
}

void TObjectList::SetCapacity(int capacity) {
  if (capacity < Count() || capacity > kMaxCapacity) Error(kMsgListIndex, capacity);
  capacity_ = capacity;
  items_.reserve(static_cast<std::size_t>(capacity));
}

void TObjectList::Grow() {
  // Small lists grow by 4, middling ones by 8, the rest by 16.
  const int delta = capacity_ > 8 ? 16 : capacity_ > 4 ? 8 : 4;
  SetCapacity(capacity_ + delta);
}

TPersistent* TObjectList::Get(int index) const {
  if (index < 0 || index >= Count()) Error(kMsgListIndex, index);
  return items_[static_cast<std::size_t>(index)];
}

void TObjectList::Put(int index, TPersistent* item) {
  if (index < 0 || index >= Count()) Error(kMsgListIndex, index);
  items_[static_cast<std::size_t>(index)] = item;
}

void TObjectList::InsertAt(int index, TPersistent* item) {
  if (index < 0 || index > Count()) Error(kMsgListIndex, index);
  if (Count() == capacity_) Grow();
  items_.insert(items_.begin() + index, item);
}

int TObjectList::Add(TPersistent* item) {
  InsertAt(Count(), item);
  return Count() - 1;
}

void TObjectList::Clear() {
  items_.clear();
  items_.shrink_to_fit();
  capacity_ = 0;
}

int TObjectList::IndexOf(const TPersistent* item) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<std::size_t>(i)] == item) return i;
  return -1;
}

void TObjectList::Insert(int index, TPersistent* item) { InsertAt(index, item); }

TPersistent* TObjectList::Neighbour(const TPersistent* item, bool forward) const {
  if (!item) return forward ? First() : Last();
  const int at = TObjectList::IndexOf(item);
  if (at < 0) throw EListError(FormatMessage(kMsgNotInList, std::string(item->ClassName())));
  const int next = forward ? at + 1 : at - 1;
  return next < 0 || next >= Count() ? nullptr : items_[static_cast<std::size_t>(next)];
}

void TSortedObjectList::Put(int, TPersistent*) { throw EListError(kMsgSortedPut); }

int TSortedObjectList::Add(TPersistent* item) {
  Insert(0, item);
  return 0;
}

void TSortedObjectList::Insert(int, TPersistent* item) {
  int index = 0;
  if (Find(KeyOf(item), index)) {
    if (Duplicates == TDuplicates::Ignore) return;
    if (Duplicates == TDuplicates::Error) throw EListError(kMsgDuplicate);
  }
  InsertAt(index, item);
}

int TSortedObjectList::IndexOf(const TPersistent* item) const {
  int index = 0;
  return Find(KeyOf(item), index) ? index : -1;
}

bool TSortedObjectList::Find(const TPersistent* key, int& index) const {
  int lo = 0;
  int hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    const int mid = (lo + hi) / 2;
    const int c = Compare(KeyOf(items_[static_cast<std::size_t>(mid)]), key);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (Duplicates != TDuplicates::Accept) lo = mid;
      }
    }
  }
  index = lo;
  return found;
}

namespace {

// Compressed size as a percentage of the uncompressed size, at most 100.
int Rate(const TZipHeaderInfo& e) {
  // Sizes are 64-bit: an entry past 2 GiB has a rate like any other.
  if (e.UncompressedSize == 0) return 0;
  const double rate =
      std::nearbyint(100.0 * static_cast<double>(e.CompressedSize) / static_cast<double>(e.UncompressedSize));
  return rate > 100 ? 100 : static_cast<int>(rate);
}

// A date-time that does not decode counts as 0.
std::uint32_t DateKey(std::uint32_t dos) { return RepairDosDateTime(dos) == dos ? dos : 0; }

}  // namespace

int TSortedZip::Compare(const TPersistent* a, const TPersistent* b) const {
  const auto& x = *static_cast<const TZipHeaderInfo*>(a);
  const auto& y = *static_cast<const TZipHeaderInfo*>(b);
  switch (SortMode) {
    case TZipSortMode::ByName: return platform::CompareNoCase(x.StoredPath(), y.StoredPath());
    case TZipSortMode::ByFileName: return platform::CompareNoCase(x.FileName, y.FileName);
    case TZipSortMode::ByDirectoryName: return platform::CompareNoCase(x.Directory, y.Directory);
    case TZipSortMode::ByDate: return DateKey(y.DosDateTime) > DateKey(x.DosDateTime) ? 1 : -1;
    case TZipSortMode::ByCompressedSize: return y.CompressedSize > x.CompressedSize ? 1 : -1;
    case TZipSortMode::ByUnCompressedSize: return y.UncompressedSize > x.UncompressedSize ? 1 : -1;
    case TZipSortMode::ByRate: return Rate(y) - Rate(x);
    case TZipSortMode::ByNone:
      if (x.DiskNumberStart != y.DiskNumberStart) return x.DiskNumberStart < y.DiskNumberStart ? -1 : 1;
      return x.LocalHeaderOffset < y.LocalHeaderOffset ? -1 : x.LocalHeaderOffset == y.LocalHeaderOffset ? 0 : 1;
  }
  return 0;
}

}  // namespace unzip
