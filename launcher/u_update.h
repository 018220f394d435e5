// The update window: a frameless panel with the copy-files animation, owning
// every component of the launcher. Its timer runs the update sequence.
#pragma once
#include <string>

#include "db/Query.h"
#include "platform/Animate.h"
#include "platform/Timer.h"
#include "platform/Window.h"
#include "skSkinData.h"
#include "skSkinForm.h"
#include "skStoredSkin.h"
#include "unzip/UnZipper.h"
#include "unzip/legacy/SfxConfig.h"

namespace launcher {

// The system's own texts.
inline constexpr char kApplicationTitle[] = "软件升级 . . .";
inline constexpr char kWindowCaption[] = "正在从本地进行升级 . . .";
inline constexpr int kClientWidth = 474, kClientHeight = 271;
inline constexpr std::uint32_t kUpdateIntervalMs = 1000;
inline constexpr char kPackageSql[] = "select * from t_sys_soft";
inline constexpr char kPackageColumn[] = "系统";
inline constexpr char kPackageFileName[] = "Tarnwick物流信息管理系统.zip";
inline constexpr char kProductFileName[] = "Tarnwick物流信息管理系统.exe";
inline constexpr char kProductPattern[] = "*.exe";
// The old product waits under this name until a new one is in place.
inline constexpr char kKeptProductSuffix[] = ".old";

class TForm1 : public platform::Window {
 public:
  TForm1();

  // Components, in the order they are created. The window is frameless, so
  // the skin form hooks it but draws no frame.
  platform::Animate Animate1;
  db::Query t_sys_soft;
  skin::TskCompressedStoredSkin skStoredSkin1;
  skin::TskSkinData skSkinData1;
  skin::TskSkinForm skSkinForm1;
  platform::Timer Timer1;
  unzip::TSFXConfig SFXConfig1;
  unzip::TUnZipper unzipper;

  // Handlers.
  void FormShow();
  void t_sys_softBeforeOpen(db::Query& dataSet);
  void Timer1Timer();

 private:
  // The stored skin from the program's stored form data, the skin data bound to
  // it and the skin form's settings.
  void LoadSkin();
};

}  // namespace launcher
