#include "unzip/legacy/SfxConfig.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace unzip {
namespace {

constexpr std::array<std::string_view, 3> kModeNames = {"omPrompt", "omAlways", "omNever"};

std::uint8_t ByteLength(const std::string& s) { return std::uint8_t(std::min<std::size_t>(s.size(), 0xFF)); }

}  // namespace

TSFXConfig::TSFXConfig() : Header_{} {
  std::copy(std::begin(kSignature), std::end(kSignature), Header_.Signature);
  Header_.CaptionLength = ByteLength(Caption);
  Header_.DefaultPathLength = ByteLength(DefaultPath);
  Header_.CmdLineLength = ByteLength(CmdLine);
  const std::size_t info = std::min<std::size_t>(InfoText.size(), 0xFFFF);
  Header_.InfoTextLength[0] = std::uint8_t(info & 0xFF);
  Header_.InfoTextLength[1] = std::uint8_t(info >> 8);
  Header_.InfoTitleLength = ByteLength(InfoTitle);
}

void TSFXConfig::WriteProperties(platform::FormData& data) const {
  data.Set("UserCanDisableCmdLine", UserCanDisableCmdLine);
  data.Set("UserCanChooseFiles", UserCanChooseFiles);
  data.Set("UserCanChangeOverwrite", UserCanChangeOverwrite);
  if (AutoExtract) data.Set("AutoExtract", true);
  if (OverwriteMode != TsfxOverwriteMode::omAlways)
    data.Set("OverwriteMode", std::string(kModeNames[std::size_t(OverwriteMode)]));
  data.Set("Caption", Caption);
  data.Set("DefaultPath", DefaultPath);
  data.Set("CmdLine", CmdLine);
  data.Set("InfoText", InfoText);
  data.Set("InfoTitle", InfoTitle);
}

void TSFXConfig::ReadProperties(const platform::FormData& data) {
  // Read everything first so that a bad value leaves the component unchanged.
  TSFXConfig read = *this;
  read.UserCanDisableCmdLine = data.Boolean("UserCanDisableCmdLine", UserCanDisableCmdLine);
  read.UserCanChooseFiles = data.Boolean("UserCanChooseFiles", UserCanChooseFiles);
  read.UserCanChangeOverwrite = data.Boolean("UserCanChangeOverwrite", UserCanChangeOverwrite);
  read.AutoExtract = data.Boolean("AutoExtract", AutoExtract);
  if (data.Find("OverwriteMode")) {
    const std::string name = data.String("OverwriteMode");
    const auto it = std::find(kModeNames.begin(), kModeNames.end(), name);
    if (it == kModeNames.end()) throw platform::EFormDataError("Invalid property value: OverwriteMode = " + name);
    read.OverwriteMode = TsfxOverwriteMode(it - kModeNames.begin());
  }
  read.Caption = data.String("Caption", Caption);
  read.DefaultPath = data.String("DefaultPath", DefaultPath);
  read.CmdLine = data.String("CmdLine", CmdLine);
  read.InfoText = data.String("InfoText", InfoText);
  read.InfoTitle = data.String("InfoTitle", InfoTitle);
  *this = read;
}

}  // namespace unzip
