#include "u_update.h"

#include "MainIni.h"

namespace launcher {

namespace {
// The clip's frames, one-based, and endless repetition.
constexpr int kAnimateStartFrame = 1, kAnimateStopFrame = 31, kAnimateEndless = 0;
}  // namespace

TForm1::TForm1() : Animate1(*this) {
  SetCaption(kWindowCaption);
  SetBorderStyle(platform::BorderStyle::None);
  SetClientSize(kClientWidth, kClientHeight);
  CenterOnDesktop();
  OnShow = [this] { FormShow(); };

  Animate1.SetCommonClip(platform::Animate::CommonClip::CopyFiles);
  Animate1.SetFrames(kAnimateStartFrame, kAnimateStopFrame);
  Animate1.SetRepetitions(kAnimateEndless);
  Animate1.SetCentered(true);
  Animate1.SetTransparent(true);

  t_sys_soft.SetSQL(kPackageSql);
  t_sys_soft.SetBlobField(kPackageColumn);
  t_sys_soft.BeforeOpen = [this](db::Query& q) { t_sys_softBeforeOpen(q); };

  // Attaching the handler starts the timer: the first tick is due a second
  // after the window was created, shown or not.
  Timer1.SetInterval(kUpdateIntervalMs);
  Timer1.SetOnTimer([this] { Timer1Timer(); });

  // The animation starts when loading completes.
  Animate1.SetActive(true);
}

void TForm1::FormShow() {
  t_sys_soft.Open();
  Timer1.SetEnabled(true);
}

void TForm1::t_sys_softBeforeOpen(db::Query&) {
  const platform::ProfileFile settings(LauncherFolder() + kSettingsFileName);
  t_sys_soft.SetConnectionString(BuildConnectionString(settings));
}

}  // namespace launcher
