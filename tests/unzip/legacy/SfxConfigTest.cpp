#include <gtest/gtest.h>

#include <cstring>

#include "unzip/legacy/SfxConfig.h"

namespace unzip {
namespace {

TEST(SfxConfig, ConstructionDefaultsAndHeader) {
  const TSFXConfig c;
  EXPECT_FALSE(c.UserCanDisableCmdLine || c.UserCanChooseFiles || c.UserCanChangeOverwrite || c.AutoExtract);
  EXPECT_EQ(c.OverwriteMode, TsfxOverwriteMode::omAlways);
  EXPECT_EQ(c.Caption, "Zipper Self Extracting Archive");
  EXPECT_TRUE(c.DefaultPath.empty() && c.CmdLine.empty() && c.InfoText.empty() && c.InfoTitle.empty());

  std::uint8_t raw[sizeof(TSfxHeader)];
  std::memcpy(raw, &c.Header(), sizeof raw);
  const std::uint8_t expected[10] = {0x4D, 0x50, 0x55, 0, 30, 0, 0, 0, 0, 0};
  EXPECT_EQ(0, std::memcmp(raw, expected, sizeof raw));
}

TEST(SfxConfig, HeaderKeepsTheLengthsOfConstruction) {
  TSFXConfig c;
  c.Caption = "Setup";
  c.InfoText = std::string(300, 'i');
  EXPECT_EQ(c.Header().CaptionLength, 30);
  EXPECT_EQ(c.Header().InfoTextLength[0], 0);
}

TEST(SfxConfig, StoredFormRestoresTheValues) {
  TSFXConfig c;
  c.UserCanChooseFiles = true;
  c.OverwriteMode = TsfxOverwriteMode::omNever;
  c.DefaultPath = "C:\\物流";
  c.InfoText = "请稍候";
  platform::FormData form("TSFXConfig", "SFXConfig1");
  c.WriteProperties(form);
  // Stored defaults are left out; the rest is always written.
  EXPECT_EQ(form.Find("AutoExtract"), nullptr);
  EXPECT_NE(form.Find("UserCanDisableCmdLine"), nullptr);

  TSFXConfig back;
  back.ReadProperties(platform::FormData::Load(form.Save()));
  EXPECT_TRUE(back.UserCanChooseFiles);
  EXPECT_EQ(back.OverwriteMode, TsfxOverwriteMode::omNever);
  EXPECT_EQ(back.DefaultPath, "C:\\物流");
  EXPECT_EQ(back.InfoText, "请稍候");
  EXPECT_EQ(back.Caption, "Zipper Self Extracting Archive");
}

// A form that sets the three UserCan... flags to False and keeps the caption.
TEST(SfxConfig, FormWithFlagsOffAndDefaultCaption) {
  platform::FormData form("TSFXConfig", "SFXConfig1");
  form.Set("UserCanDisableCmdLine", false);
  form.Set("UserCanChooseFiles", false);
  form.Set("UserCanChangeOverwrite", false);
  TSFXConfig c;
  c.ReadProperties(form);
  EXPECT_FALSE(c.UserCanDisableCmdLine || c.UserCanChooseFiles || c.UserCanChangeOverwrite || c.AutoExtract);
  EXPECT_EQ(c.OverwriteMode, TsfxOverwriteMode::omAlways);
  EXPECT_EQ(c.Caption, "Zipper Self Extracting Archive");
}

TEST(SfxConfig, BadStoredValueLeavesTheComponentUnchanged) {
  platform::FormData form("TSFXConfig", "SFXConfig1");
  form.Set("Caption", std::string("Changed"));
  form.Set("OverwriteMode", std::string("omSometimes"));
  TSFXConfig c;
  EXPECT_THROW(c.ReadProperties(form), platform::EFormDataError);
  EXPECT_EQ(c.Caption, "Zipper Self Extracting Archive");
}

}  // namespace
}  // namespace unzip
