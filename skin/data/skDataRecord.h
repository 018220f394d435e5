// The roots of the skin records: how a record meets its section of a skin
// definition. The element records (objects and controls) are named after their
// section and replace it when saved; the popup and hint window records have a
// fixed section and write into it as it stands. Both list their keys once, in
// Fields, for reading and writing alike.
#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "skFields.h"

namespace skin {

class TskDataSkinRecord {
 public:
  explicit TskDataSkinRecord(std::string name) : IDName(std::move(name)) {}
  virtual ~TskDataSkinRecord() = default;
  TskDataSkinRecord(const TskDataSkinRecord&) = delete;
  TskDataSkinRecord& operator=(const TskDataSkinRecord&) = delete;

  // Reads the record's keys from the section IDName.
  virtual void LoadFromIni(const TskIniFile& ini);
  // Erases the section IDName and writes the same keys.
  virtual void SaveToIni(TskIniFile& ini);

  std::string IDName;

 protected:
  // Visits every field the record reads, base class fields first.
  virtual void Fields(TskFieldVisitor& v) = 0;
};

class TskDataSkinWindowRecord {
 public:
  void LoadFromIni(const TskIniFile& ini);
  // Writes the keys into the section as it is: only the generator saves these
  // records, into a definition of its own.
  void SaveToIni(TskIniFile& ini);

  std::int32_t windowpictureindex = kNoPicture;
  std::int32_t maskpictureindex = kNoPicture;
  Point lefttoppoint;
  Point righttoppoint;
  Point leftbottompoint;
  Point rightbottompoint;

 protected:
  explicit TskDataSkinWindowRecord(const char* section) : section_(section) {}
  ~TskDataSkinWindowRecord() = default;
  TskDataSkinWindowRecord(const TskDataSkinWindowRecord&) = default;
  TskDataSkinWindowRecord& operator=(const TskDataSkinWindowRecord&) = default;
  virtual void Fields(TskFieldVisitor& v);

 private:
  const char* section_;
};

// A list kind and the record class it stands for.
template <class Base>
struct TskRecordKind {
  const char* kind;
  std::unique_ptr<Base> (*make)(std::string name);
};
template <class Base, class Record>
std::unique_ptr<Base> MakeRecord(std::string name) {
  return std::make_unique<Record>(std::move(name));
}
// The record for `kind` named `name`, or nullptr for a kind not in the table.
template <class Base, std::size_t N>
std::unique_ptr<Base> CreateRecord(const TskRecordKind<Base> (&kinds)[N], std::string_view kind, std::string name) {
  for (const auto& k : kinds)
    if (kind == k.kind) return k.make(std::move(name));  // kinds compare exactly, with case
  return nullptr;
}

}  // namespace skin
