// The update sequence: one run per timer tick until it succeeds.
//
// The old product is never deleted before a new one is in place: it is moved
// aside, and moved back when the package yields no product, so a failed update
// leaves the workstation with the product it had. The new product arrives
// whole (the extractor writes a temporary file and renames it after the CRC
// check), so it is started only when it is complete.
#include "MainIni.h"
#include "platform/Files.h"
#include "platform/Shell.h"
#include "u_update.h"

namespace launcher {

namespace {

// Spare names for kept copies that cannot be removed yet.
constexpr int kSpareKeptNames = 9;

std::string SpareKeptName(const std::string& kept, int n) { return kept + "." + std::to_string(n); }

// Removes a file even when it is marked read-only (a product may come read-only
// from its package and keep that attribute).
bool RemoveFile(const std::string& path) {
  if (!platform::FileExists(path)) return true;
  if (const auto attr = platform::FileGetAttr(path); attr && (*attr & platform::kFaReadOnly))
    platform::FileSetAttr(path, *attr & ~platform::kFaReadOnly);
  return platform::DeleteFile(path);
}

// Empties the kept product's place. A kept copy that is still running cannot be
// deleted on Windows, but it can be renamed: it moves to a spare name, removed
// by a later run once it has ended, so that it never blocks the next update.
void FreeKeptPlace(const std::string& kept) {
  if (RemoveFile(kept)) return;
  for (int n = 1; n <= kSpareKeptNames; ++n) {
    const std::string spare = SpareKeptName(kept, n);
    if (!platform::FileExists(spare) && platform::RenameFile(kept, spare)) return;
  }
}

void RemoveSpareKeptCopies(const std::string& kept) {
  for (int n = 1; n <= kSpareKeptNames; ++n) RemoveFile(SpareKeptName(kept, n));
}

// Puts the old product back when no new one arrived (also mends a run that
// was cut short between moving it aside and settling).
void RestoreKeptProduct(const std::string& product, const std::string& kept) {
  if (!platform::FileExists(product) && platform::FileExists(kept)) platform::RenameFile(kept, product);
}

// After extraction: a new product makes the kept one redundant.
void SettleKeptProduct(const std::string& product, const std::string& kept) {
  if (platform::FileExists(product))
    FreeKeptPlace(kept);
  else
    RestoreKeptProduct(product, kept);
}

}  // namespace

void TForm1::Timer1Timer() {
  const std::string folder = LauncherFolder();
  const std::string package = folder + kPackageFileName;
  const std::string product = folder + kProductFileName;
  const std::string kept = product + kKeptProductSuffix;
  try {
    Timer1.SetEnabled(false);
    RestoreKeptProduct(product, kept);
    RemoveSpareKeptCopies(kept);
    if (platform::FileExists(package)) platform::DeleteFile(package);
    t_sys_soft.SaveBlobToFile(package);

    // Out of the way rather than deleted (a running program may be renamed on
    // Windows); one that cannot be moved stays, and the extraction then asks
    // whether to replace it.
    if (platform::FileExists(product)) {
      FreeKeptPlace(kept);
      platform::RenameFile(product, kept);
    }

    unzipper.SetZipName(package);
    unzipper.ReadZip();
    unzipper.FilesList().push_back(kProductPattern);
    unzipper.SetDoAll(false);
    unzipper.SetDestDir(folder);
    unzipper.SetRecreateDirs(false);
    unzipper.SetRetainAttributes(true);
    unzipper.UnZip();
    SettleKeptProduct(product, kept);

    platform::ShellExecute(this, product);
    Close();
  } catch (...) {
    // Swallowed by design: put the old product back and try again next tick.
    RestoreKeptProduct(product, kept);
    Timer1.SetEnabled(true);
  }
}

}  // namespace launcher
