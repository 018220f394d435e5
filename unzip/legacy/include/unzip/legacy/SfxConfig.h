// The settings of a self-extracting archive, kept as stored properties of a
// form. Nothing in the engine reads or writes self-extracting archives; the
// component only holds the settings and the header record describing them.
#pragma once
#include <cstdint>
#include <string>

#include "platform/FormData.h"

namespace unzip {

enum class TsfxOverwriteMode : std::uint8_t { omPrompt = 0, omAlways = 1, omNever = 2 };

// The header record, packed little-endian.
struct TSfxHeader {
  std::uint8_t Signature[3];
  // Bits 0 to 2: three one-bit flags; bits 3 to 7: a five-bit field.
  std::uint8_t Flags;
  std::uint8_t CaptionLength;
  std::uint8_t DefaultPathLength;
  std::uint8_t CmdLineLength;
  std::uint8_t InfoTextLength[2];
  std::uint8_t InfoTitleLength;
};
static_assert(sizeof(TSfxHeader) == 10);

class TSFXConfig {
 public:
  static constexpr const char* kClassName = "TSFXConfig";
  static constexpr const char* kDefaultCaption = "Zipper Self Extracting Archive";
  static constexpr std::uint8_t kSignature[3] = {0x4D, 0x50, 0x55};

  // Fills the header record with the lengths of the strings as constructed.
  TSFXConfig();

  bool UserCanDisableCmdLine = false;
  bool UserCanChooseFiles = false;
  bool UserCanChangeOverwrite = false;
  bool AutoExtract = false;
  TsfxOverwriteMode OverwriteMode = TsfxOverwriteMode::omAlways;
  std::string Caption = kDefaultCaption;
  std::string DefaultPath;
  std::string CmdLine;
  std::string InfoText;
  std::string InfoTitle;

  // Prepared at construction; later changes of the strings leave it as it is.
  const TSfxHeader& Header() const { return Header_; }

  // Form data: every property, except AutoExtract and OverwriteMode while they
  // hold their stored defaults (False, omAlways). The mode is stored by name.
  void WriteProperties(platform::FormData& data) const;
  // Applies the stored properties; absent ones keep their values. Throws
  // platform::EFormDataError for a value of the wrong kind or an unknown mode.
  void ReadProperties(const platform::FormData& data);

 private:
  TSfxHeader Header_;
};

}  // namespace unzip
