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

// Puts the old product back when no new one arrived (also mends a run that
// was cut short between moving it aside and settling).
void RestoreKeptProduct(const std::string& product, const std::string& kept) {
  if (!platform::FileExists(product) && platform::FileExists(kept)) platform::RenameFile(kept, product);
}

// After extraction: a new product makes the kept one redundant.
void SettleKeptProduct(const std::string& product, const std::string& kept) {
  if (platform::FileExists(product))
    platform::DeleteFile(kept);  // may fail while the old product runs; cleared next time
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
    if (platform::FileExists(package)) platform::DeleteFile(package);
    t_sys_soft.SaveBlobToFile(package);

    // Out of the way rather than deleted; one that cannot be moved (it is
    // running) stays, and the extraction then asks whether to replace it.
    if (platform::FileExists(product)) {
      platform::DeleteFile(kept);
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
