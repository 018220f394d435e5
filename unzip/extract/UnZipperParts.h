// The parts TUnZipper works with, and what they ask of it: the archive's
// volumes and the directory reader for as long as an archive is set, the
// entry decoder and the worker pool for one extraction run.
#pragma once
#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "archive/ZipDirectory.h"
#include "archive/ZipVolumes.h"
#include "extract/EntryDecoder.h"
#include "extract/EntryPool.h"
#include "unzip/UnZipper.h"

namespace unzip {

struct TUnZipper::TParts final : TZipVolumes::THost, TZipDirectory::THost, TEntryDecoder::THost {
  explicit TParts(TUnZipper& component) : owner(component), volumes(*this), directory(volumes, *this) {}

  // The volumes'.
  bool CanAskForVolume() const override { return owner.OnGetNextDisk != nullptr; }
  void AskForVolume(int nextDisk, std::string& path) override { owner.OnGetNextDisk(owner, nextDisk, path); }
  bool CheckVolumeLabels() const override { return owner.checkVolumeLabels_; }
  // The directory reader's.
  void ProcessMessages() override { owner.ProcessMessages(); }
  bool OemConvert() const override { return owner.oemConvert_; }
  unsigned NamesCodePage() const override { return owner.namesCodePage_; }
  void NoEndRecord() override;
  // The entry decoder's.
  void Refilling() override { owner.ProcessMessages(); }
  void Delivered(std::int64_t done, std::uint32_t n) override;
  bool Decrypt(std::uint8_t* data, std::uint32_t n) override;
  void UnknownMethod(std::uint16_t method) override;

  TUnZipper& owner;
  TZipVolumes volumes;
  TZipDirectory directory;

  // Run state.
  std::unique_ptr<TEntryDecoder> decoder;
  std::unique_ptr<TEntryPool> pool;
  std::int64_t totalToDo = 0;
  std::int64_t totalDone = 0;
  int count = 0;
  // Unsupported methods already reported in this run: one message each.
  std::set<std::uint16_t> reportedMethods;
};

}  // namespace unzip
