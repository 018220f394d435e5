// The update sequence: one run per timer tick until it succeeds.
#include <cstdio>

#include "MainIni.h"
#include "platform/Application.h"
#include "platform/Shell.h"
#include "u_update.h"

namespace launcher {

void TForm1::Timer1Timer() {
  try {
    Timer1.SetEnabled(false);
    const std::string folder = LauncherFolder();
    const std::string package = folder + kPackageFileName;
    std::remove(package.c_str());
    t_sys_soft.SaveBlobToFile(package);
    platform::ShellExecute(this, folder + kProductFileName);
    Close();
  } catch (const std::exception&) {
    // Swallowed by design: the next tick tries again.
    Timer1.SetEnabled(true);
  }
}

}  // namespace launcher
