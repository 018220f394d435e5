// Components that carry a skin inside a program's form data: TskStoredSkin keeps
// the definition lines and the pictures, TskCompressedStoredSkin one deflated blob.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Exception.h"
#include "platform/FormData.h"
#include "skComponent.h"
#include "skIniFile.h"

namespace skin {

using Bytes = std::vector<std::uint8_t>;

class EZlibError : public platform::Exception {
 public:
  using Exception::Exception;
};
class ECompressionError : public EZlibError {
 public:
  using EZlibError::EZlibError;
};
class EDecompressionError : public EZlibError {
 public:
  using EZlibError::EZlibError;
};

// The frame pictures and the picture list, as both storage layouts hold them.
struct TskPictureSet {
  platform::Bitmap Picture;
  platform::Bitmap InactivePicture;
  platform::Bitmap MaskPicture;
  std::vector<platform::Bitmap> ActivePictures;
};

// The "Pictures" layout: per frame picture a flag byte (1 absent, 0 present) and
// the BMP file when present, then a signed 32-bit count and that many BMP files.
void WritePictureSet(const TskPictureSet& set, Bytes& out);
// Reads the layout from `data` at `pos`, advancing it. Throws
// platform::EInvalidBitmap when the flags or sizes do not match the layout.
TskPictureSet ReadPictureSet(std::span<const std::uint8_t> data, std::size_t& pos);

// Reads the pictures a definition names, from the folder of the definition.
TskPictureSet LoadSkinPictures(const TskIniFile& ini, const std::string& folder);
// The definition file's lines, as UTF-8.
std::vector<std::string> ReadDefinitionLines(const std::string& path);

// Writes a skin back out as a folder: the definition under `definitionName` and
// every picture under the file name the definition gives it. Picture names must
// be bare file names (no folder part, no ".."), so that nothing is written outside
// `folder`; every name is checked before the first file is written.
void WriteSkinFolder(const std::vector<std::string>& lines, const TskPictureSet& pictures, const std::string& folder,
                     const std::string& definitionName);

class TskStoredSkin : public TskComponent {
 public:
  static constexpr const char* kPicturesProperty = "Pictures";

  const std::string& FileName() const { return FileName_; }
  // In the designer: keeps the bare file name and fills the component from the
  // path. Otherwise only stores the value.
  void SetFileName(const std::string& value);
  const std::vector<std::string>& IniStrings() const { return IniStrings_; }
  void SetIniStrings(const std::vector<std::string>& lines) { IniStrings_ = lines; }

  const platform::Bitmap& Picture() const { return pictures_.Picture; }
  const platform::Bitmap& InactivePicture() const { return pictures_.InactivePicture; }
  const platform::Bitmap& MaskPicture() const { return pictures_.MaskPicture; }
  const std::vector<platform::Bitmap>& ActivePictures() const { return pictures_.ActivePictures; }

  // Reads the definition and every picture it names. On failure the component
  // keeps its previous content.
  void LoadFromSkinFile(const std::string& path);

  // Writes the definition and pictures into `folder` (see WriteSkinFolder).
  void SaveToSkinFolder(const std::string& folder) const;

  // Form data: "FileName", "IniStrings" and the binary "Pictures".
  void WriteProperties(platform::FormData& data) const;
  void ReadProperties(const platform::FormData& data);
  Bytes PicturesBlob() const;
  void ReadPicturesBlob(std::span<const std::uint8_t> blob);

 private:
  std::string FileName_;
  std::vector<std::string> IniStrings_;
  TskPictureSet pictures_;
};

// Largest inflated skin accepted: far above any real skin, a guard against a
// corrupt or hostile blob inflating without end.
constexpr std::size_t kMaxInflatedSkin = std::size_t(256) << 20;

class TskCompressedStoredSkin : public TskComponent {
 public:
  static constexpr const char* kCompressedDataProperty = "CompressedData";
  // The layout's format number, first in the inflated data.
  static constexpr std::int32_t kFormatNumber = 1;

  const std::string& FileName() const { return FileName_; }
  void SetFileName(const std::string& value);
  const Bytes& CompressedData() const { return CompressedData_; }
  void SetCompressedData(Bytes data) { CompressedData_ = std::move(data); }

  bool IsEmpty() const { return CompressedData_.empty(); }
  // Inflates all of CompressedData and appends it to `target`. Throws
  // EDecompressionError, appending nothing, for data that is not one complete
  // zlib stream or that inflates to more than `limit` bytes.
  void DecompressTo(Bytes& target, std::size_t limit = kMaxInflatedSkin) const;
  // Packs a skin folder. Returns false, keeping the previous data, when the
  // definition lacks a required section; throws (also keeping it) when a picture
  // cannot be read.
  bool PackSkinFile(const std::string& path);

  // Unpacks into `folder` what PackSkinFile packed (see WriteSkinFolder).
  void UnpackSkinFile(const std::string& folder) const;

  void WriteProperties(platform::FormData& data) const;
  void ReadProperties(const platform::FormData& data);

 private:
  std::string FileName_;
  Bytes CompressedData_;
};

// Deflates with the storage parameters (level 9, zlib header, 32 KiB window,
// memory level 8, default strategy).
Bytes DeflateSkin(std::span<const std::uint8_t> data);

}  // namespace skin
