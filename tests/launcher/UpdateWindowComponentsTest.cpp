// The update window's components on the backend of the build (headless
// natively, Win32 under Wine): the stored skin carried in the program, the
// skin data loaded from it, and the skin form hooked to the frameless window.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/Application.h"
#include "skTypes.h"
#include "u_update.h"

namespace {

class UpdateWindowComponentsTest : public ::testing::Test {
 protected:
  UpdateWindowComponentsTest() { form.Timer1.SetEnabled(false); }  // no update sequence here

  platform::Application app;
  launcher::TForm1 form;
};

TEST_F(UpdateWindowComponentsTest, TheStoredSkinIsLoadedIntoTheSkinData) {
  EXPECT_EQ(form.skStoredSkin1.FileName(), "SKIN.INI");
  EXPECT_FALSE(form.skStoredSkin1.IsEmpty());
  EXPECT_EQ(form.skSkinData1.CompressedStoredSkin(), &form.skStoredSkin1);
  ASSERT_FALSE(form.skSkinData1.Empty);
  EXPECT_FALSE(form.skSkinData1.SkinObjects.empty());
  EXPECT_FALSE(form.skSkinData1.SkinControls.empty());
  EXPECT_FALSE(form.skSkinData1.Picture.Empty());
  EXPECT_NE(form.skSkinData1.GetObjectIndex("closebutton"), -1);
}

TEST_F(UpdateWindowComponentsTest, TheSkinFormHooksTheWindowButDrawsNoFrame) {
  EXPECT_EQ(form.skSkinForm1.SkinData(), &form.skSkinData1);
  EXPECT_TRUE(form.skSkinForm1.SkinActive());
  EXPECT_FALSE(form.skSkinForm1.FrameDrawn());
  EXPECT_FALSE(form.WindowRegion().has_value()) << "a frameless window is not cut to the skin's mask";
  EXPECT_EQ(form.ClientSize(), (platform::Point{launcher::kClientWidth, launcher::kClientHeight}));
  EXPECT_EQ(form.BoundsRect().Width(), launcher::kClientWidth);

  // The skin-change messages sent to the window reach the component.
  const auto data = reinterpret_cast<std::uintptr_t>(&form.skSkinData1);
  form.Perform(skin::SKM_BEFORECHANGE, data, 1000);
  EXPECT_FALSE(form.skSkinForm1.SkinActive());
  form.Perform(skin::SKM_CHANGE, data, 1000);
  EXPECT_TRUE(form.skSkinForm1.SkinActive());
}

TEST_F(UpdateWindowComponentsTest, ComponentsCarryTheirStoredSettings) {
  const skin::TskSkinForm& f = form.skSkinForm1;
  EXPECT_EQ(f.BorderIcons(), skin::TskBorderIcon::biMinimize | skin::TskBorderIcon::biMaximize);
  EXPECT_EQ(f.AlphaBlendValue(), 100);
  EXPECT_FALSE(f.AlphaBlend());
  EXPECT_EQ(f.MenusAlphaBlendValue(), 0);
  EXPECT_EQ(f.MagneticSize, 10);
  EXPECT_FALSE(f.UseDefaultSysMenu);
  EXPECT_EQ(f.DefCaptionFont().font.name, "宋体");
  EXPECT_EQ(f.DefCaptionFont().font.height, -12);
  EXPECT_EQ(f.DefInActiveCaptionFont().font.charset, 134);
  EXPECT_EQ(form.skSkinForm1.SkinMenu().ItemHeight, 20);
  EXPECT_EQ(form.skSkinForm1.SkinMenu().ItemFont.name, "宋体");

  EXPECT_FALSE(form.SFXConfig1.UserCanDisableCmdLine);
  EXPECT_FALSE(form.SFXConfig1.UserCanChooseFiles);
  EXPECT_FALSE(form.SFXConfig1.UserCanChangeOverwrite);
  EXPECT_EQ(form.SFXConfig1.Caption, "Zipper Self Extracting Archive");
  EXPECT_EQ(form.SFXConfig1.OverwriteMode, unzip::TsfxOverwriteMode::omAlways);
}

}  // namespace
