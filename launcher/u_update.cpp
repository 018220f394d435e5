#include "u_update.h"

#include "MainIni.h"
#include "platform/FormData.h"
#include "platform/Resources.h"
#include "platform/SysColors.h"

namespace launcher {

namespace {
// The clip's frames, one-based, and endless repetition.
constexpr int kAnimateStartFrame = 1, kAnimateStopFrame = 31, kAnimateEndless = 0;

// The skin form's settings: the window's own font for captions and menus.
constexpr char kFontName[] = "宋体";
constexpr int kFontHeight = -12;
constexpr int kGb2312Charset = 134;
constexpr std::uint8_t kAlphaBlendValue = 100;
constexpr std::uint8_t kMenusAlphaBlendValue = 0;
constexpr int kMenuItemHeight = 20;
constexpr std::uint8_t kMagneticSize = 10;

platform::Font WindowFont() { return {kFontName, kFontHeight, 0, kGb2312Charset}; }

platform::FormPlacement Placement() {
  return {kWindowCaption, platform::BorderStyle::None, kClientWidth, kClientHeight};
}
}  // namespace

TForm1::TForm1() : platform::Window(Placement()), Animate1(*this), skSkinData1(this), skSkinForm1(*this) {
  OnShow = [this] { FormShow(); };

  Animate1.SetCommonClip(platform::Animate::CommonClip::CopyFiles);
  Animate1.SetFrames(kAnimateStartFrame, kAnimateStopFrame);
  Animate1.SetRepetitions(kAnimateEndless);
  Animate1.SetCentered(true);
  Animate1.SetTransparent(true);

  t_sys_soft.SetSQL(kPackageSql);
  t_sys_soft.SetBlobField(kPackageColumn);
  t_sys_soft.BeforeOpen = [this](db::Query& q) { t_sys_softBeforeOpen(q); };

  LoadSkin();

  // Attaching the handler starts the timer: the first tick is due a second
  // after the window was created, shown or not.
  Timer1.SetInterval(kUpdateIntervalMs);
  Timer1.SetOnTimer([this] { Timer1Timer(); });

  SFXConfig1.UserCanDisableCmdLine = false;
  SFXConfig1.UserCanChooseFiles = false;
  SFXConfig1.UserCanChangeOverwrite = false;

  // The animation starts when loading completes.
  Animate1.SetActive(true);
}

void TForm1::LoadSkin() {
  // A skin that cannot be read leaves the window plain; the update goes on.
  try {
    skStoredSkin1.ReadProperties(platform::FormData::Load(platform::ProgramResource(TW_STORED_SKIN_RESOURCE)));
    skSkinData1.SetCompressedStoredSkin(&skStoredSkin1);
  } catch (const std::exception&) {
    skSkinData1.ClearSkin();
  }

  skSkinForm1.SkinMenu().UseItemSkinFont = true;
  skSkinForm1.SetShowIcon(false);
  skSkinForm1.MaximizeOnFullScreen = false;
  skSkinForm1.SetAlphaBlend(false);
  skSkinForm1.AlphaBlendAnimation = false;
  skSkinForm1.SetAlphaBlendValue(kAlphaBlendValue);
  skSkinForm1.ShowObjectHint = false;
  skSkinForm1.SetMenusAlphaBlend(false);
  skSkinForm1.SetMenusAlphaBlendAnimation(false);
  skSkinForm1.SetMenusAlphaBlendValue(kMenusAlphaBlendValue);
  skSkinForm1.SetDefCaptionFont({WindowFont(), platform::SysColor(platform::SysColour::BtnText)});
  skSkinForm1.SetDefInActiveCaptionFont({WindowFont(), platform::SysColor(platform::SysColour::BtnShadow)});
  skSkinForm1.SkinMenu().ItemHeight = kMenuItemHeight;
  skSkinForm1.SkinMenu().ItemFont = WindowFont();
  skSkinForm1.UseDefaultSysMenu = false;
  skSkinForm1.MinHeight = 0;
  skSkinForm1.MinWidth = 0;
  skSkinForm1.Magnetic = false;
  skSkinForm1.MagneticSize = kMagneticSize;
  skSkinForm1.SetBorderIcons(skin::TskBorderIcon::biMinimize | skin::TskBorderIcon::biMaximize);
  // A stored form assigns component references after every property.
  skSkinForm1.SetSkinData(&skSkinData1);
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
