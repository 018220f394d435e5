#include "skStoredSkin.h"

#include <zlib.h>

#include <cstring>

#include "platform/BmpFile.h"
#include "platform/Text.h"
#include "skCodec.h"
#include "skIniFile.h"

namespace skin {

namespace {

constexpr std::uint8_t kPictureAbsent = 1;
constexpr std::uint8_t kPicturePresent = 0;
// The smallest BMP file: file header, the 12-byte core header and one pixel row.
constexpr std::size_t kMinBmpFile = 14 + 12 + 4;
// Work buffer between the compressor and the byte buffer.
constexpr std::size_t kDeflateBuffer = 64 * 1024;
// Inflated output is appended in blocks of this size.
constexpr std::size_t kInflateBlock = 4096;
// zlib-format stream (window bits 15, with header) and memory level 8.
constexpr int kWindowBits = 15;
constexpr int kMemLevel = 8;
constexpr const char* kCompressionError = "compression error";
// The definition's file name when a component was filled without one.
constexpr const char* kDefaultDefinitionName = "SKIN.INI";

void PutInt32(Bytes& out, std::int32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(std::uint32_t(v) >> (8 * i)));
}

void WriteBitmap(const platform::Bitmap& b, Bytes& out) {
  const Bytes bmp = platform::WriteBmp(b);
  out.insert(out.end(), bmp.begin(), bmp.end());
}

platform::Bitmap ReadBitmap(std::span<const std::uint8_t> data, std::size_t& pos) {
  std::size_t used = 0;
  platform::Bitmap b = platform::ReadBmp(data.subspan(pos), &used);
  pos += used;
  return b;
}

platform::Bitmap LoadPicture(const std::string& folder, const std::string& name) {
  return platform::LoadBmpFile(folder + name);
}

}  // namespace

void WritePictureSet(const TskPictureSet& set, Bytes& out) {
  for (const platform::Bitmap* b : {&set.Picture, &set.InactivePicture, &set.MaskPicture}) {
    out.push_back(b->Empty() ? kPictureAbsent : kPicturePresent);
    if (!b->Empty()) WriteBitmap(*b, out);
  }
  PutInt32(out, std::int32_t(set.ActivePictures.size()));
  for (const platform::Bitmap& b : set.ActivePictures) WriteBitmap(b, out);
}

TskPictureSet ReadPictureSet(std::span<const std::uint8_t> data, std::size_t& pos) {
  TskPictureSet set;
  for (platform::Bitmap* b : {&set.Picture, &set.InactivePicture, &set.MaskPicture}) {
    if (pos >= data.size()) throw platform::EInvalidBitmap("Invalid bitmap: the picture data ends early");
    const std::uint8_t flag = data[pos++];
    if (flag == kPicturePresent) {
      *b = ReadBitmap(data, pos);
    } else if (flag != kPictureAbsent) {
      throw platform::EInvalidBitmap("Invalid bitmap: bad picture flag " + std::to_string(flag));
    }
  }
  if (data.size() - pos < 4) throw platform::EInvalidBitmap("Invalid bitmap: the picture count is missing");
  std::uint32_t raw = 0;
  for (int i = 0; i < 4; ++i) raw |= std::uint32_t(data[pos + std::size_t(i)]) << (8 * i);
  pos += 4;
  const auto count = std::int32_t(raw);
  if (count < 0 || std::size_t(count) > (data.size() - pos) / kMinBmpFile)
    throw platform::EInvalidBitmap("Invalid bitmap: picture count " + std::to_string(count) + " does not fit the data");
  set.ActivePictures.reserve(std::size_t(count));
  for (std::int32_t i = 0; i < count; ++i) set.ActivePictures.push_back(ReadBitmap(data, pos));
  return set;
}

TskPictureSet LoadSkinPictures(const TskIniFile& ini, const std::string& folder) {
  TskPictureSet set;
  const std::pair<const char*, platform::Bitmap*> frame[] = {
      {"picture", &set.Picture}, {"inactivepicture", &set.InactivePicture}, {"mask", &set.MaskPicture}};
  for (const auto& [key, bitmap] : frame) {
    const std::string name = ini.ReadString("PICTURES", key, "");
    if (!name.empty()) *bitmap = LoadPicture(folder, name);
  }
  // A count beyond the keys present means a name is missing: fail before the
  // list of empty names is built, however large the count.
  const std::int32_t count = ini.ReadInteger("PICTURES", "activepicturescount", 0);
  if (count > 0 && std::size_t(count) > ini.KeyCount("PICTURES")) {
    const auto present = ini.NumberedValues("PICTURES", count);
    std::int32_t missing = 0;
    while (std::size_t(missing) < present.size() && present[std::size_t(missing)].first == missing) ++missing;
    throw platform::Exception("Picture " + std::to_string(missing) + " of the skin's picture list has no file name");
  }
  std::vector<std::string> names;
  ReadStringList(ini, "PICTURES", "activepictures", names);
  for (std::size_t i = 0; i < names.size(); ++i) {
    // An empty name would name the folder itself.
    if (names[i].empty())
      throw platform::Exception("Picture " + std::to_string(i) + " of the skin's picture list has no file name");
    set.ActivePictures.push_back(LoadPicture(folder, names[i]));
  }
  return set;
}

std::vector<std::string> ReadDefinitionLines(const std::string& path) {
  const Bytes bytes = platform::ReadFileBytes(path);
  return TskIniFile::SplitLines(
      DefinitionTextToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
}

namespace {

void CheckPictureName(const std::string& name) {
  const bool bare = !name.empty() && name != "." && name != ".." && name.find_first_of("/\\:") == std::string::npos;
  if (!bare) throw platform::Exception("The picture name \"" + name + "\" is not a plain file name");
}

std::string JoinFolder(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.back() == '/' || folder.back() == '\\') return folder + name;
  return folder + platform::PathSeparator() + name;
}

}  // namespace

void WriteSkinFolder(const std::vector<std::string>& lines, const TskPictureSet& pictures, const std::string& folder,
                     const std::string& definitionName) {
  const TskIniFile ini(lines);
  std::vector<std::pair<std::string, const platform::Bitmap*>> files;
  const std::pair<const char*, const platform::Bitmap*> frame[] = {
      {"picture", &pictures.Picture}, {"inactivepicture", &pictures.InactivePicture}, {"mask", &pictures.MaskPicture}};
  for (const auto& [key, bitmap] : frame) {
    const std::string name = ini.ReadString("PICTURES", key, "");
    if (!name.empty() && !bitmap->Empty()) files.emplace_back(name, bitmap);
  }
  const std::int32_t count = ini.ReadInteger("PICTURES", "activepicturescount", 0);
  if (count != std::int32_t(pictures.ActivePictures.size()))
    throw platform::Exception("The skin lists " + std::to_string(count) + " pictures but holds " +
                              std::to_string(pictures.ActivePictures.size()));
  for (const auto& [number, name] : ini.NumberedValues("PICTURES", count))
    files.emplace_back(name, &pictures.ActivePictures[std::size_t(number)]);
  CheckPictureName(definitionName);
  for (const auto& file : files) CheckPictureName(file.first);

  platform::CreateFolders(folder);
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  platform::WriteFileBytes(JoinFolder(folder, definitionName),
                           std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  for (const auto& [name, bitmap] : files) platform::SaveBmpFile(*bitmap, JoinFolder(folder, name));
}

// --- TskStoredSkin

void TskStoredSkin::SetFileName(const std::string& value) {
  if (!Designing()) {
    FileName_ = value;
    return;
  }
  LoadFromSkinFile(value);
  FileName_ = platform::ExtractFileName(value);
}

void TskStoredSkin::LoadFromSkinFile(const std::string& path) {
  std::vector<std::string> lines = ReadDefinitionLines(path);
  const TskIniFile ini(lines);
  TskPictureSet pictures = LoadSkinPictures(ini, platform::ExtractFilePath(path));
  IniStrings_ = std::move(lines);
  pictures_ = std::move(pictures);
}

void TskStoredSkin::SaveToSkinFolder(const std::string& folder) const {
  WriteSkinFolder(IniStrings_, pictures_, folder, FileName_.empty() ? kDefaultDefinitionName : FileName_);
}

Bytes TskStoredSkin::PicturesBlob() const {
  Bytes out;
  WritePictureSet(pictures_, out);
  return out;
}

void TskStoredSkin::ReadPicturesBlob(std::span<const std::uint8_t> blob) {
  std::size_t pos = 0;
  TskPictureSet set = ReadPictureSet(blob, pos);
  if (pos != blob.size()) throw platform::EInvalidBitmap("Invalid bitmap: extra bytes after the pictures");
  pictures_ = std::move(set);
}

void TskStoredSkin::WriteProperties(platform::FormData& data) const {
  data.Set("FileName", FileName_);
  data.Set("IniStrings", IniStrings_);
  data.Set(kPicturesProperty, PicturesBlob());
}

void TskStoredSkin::ReadProperties(const platform::FormData& data) {
  std::vector<std::string> lines = data.StringList("IniStrings");
  if (const Bytes* blob = data.Binary(kPicturesProperty)) ReadPicturesBlob(*blob);
  FileName_ = data.String("FileName");
  IniStrings_ = std::move(lines);
}

// --- TskCompressedStoredSkin

Bytes DeflateSkin(std::span<const std::uint8_t> data) {
  z_stream z{};
  if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, kWindowBits, kMemLevel, Z_DEFAULT_STRATEGY) != Z_OK)
    throw ECompressionError(kCompressionError);
  Bytes out;
  std::vector<std::uint8_t> buffer(kDeflateBuffer);
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = uInt(data.size());
  int rc;
  do {
    z.next_out = buffer.data();
    z.avail_out = uInt(buffer.size());
    rc = deflate(&z, Z_FINISH);
    if (rc == Z_STREAM_ERROR) {
      deflateEnd(&z);
      throw ECompressionError(kCompressionError);
    }
    out.insert(out.end(), buffer.data(), buffer.data() + (buffer.size() - z.avail_out));
  } while (rc != Z_STREAM_END);
  deflateEnd(&z);
  return out;
}

void TskCompressedStoredSkin::SetFileName(const std::string& value) {
  if (!Designing()) {
    FileName_ = value;
    return;
  }
  PackSkinFile(value);
  FileName_ = platform::ExtractFileName(value);
}

void TskCompressedStoredSkin::DecompressTo(Bytes& target, std::size_t limit) const {
  z_stream z{};
  if (inflateInit2(&z, kWindowBits) != Z_OK) throw EDecompressionError(kCompressionError);
  z.next_in = const_cast<Bytef*>(CompressedData_.data());
  z.avail_in = uInt(CompressedData_.size());
  const std::size_t start = target.size();
  int rc = Z_OK;
  while (rc != Z_STREAM_END) {
    if (target.size() - start > limit) {
      inflateEnd(&z);
      target.resize(start);
      throw EDecompressionError(std::string(kCompressionError) + ": the skin inflates to more than " +
                                std::to_string(limit) + " bytes");
    }
    std::uint8_t block[kInflateBlock];
    z.next_out = block;
    z.avail_out = sizeof block;
    rc = inflate(&z, Z_NO_FLUSH);
    // A stream that ends before its final block is as broken as a bad one.
    if (rc != Z_OK && rc != Z_STREAM_END) {
      inflateEnd(&z);
      target.resize(start);
      throw EDecompressionError(kCompressionError);
    }
    target.insert(target.end(), block, block + (sizeof block - z.avail_out));
  }
  inflateEnd(&z);
}

bool TskCompressedStoredSkin::PackSkinFile(const std::string& path) {
  const std::vector<std::string> lines = ReadDefinitionLines(path);
  const TskIniFile ini(lines);
  if (!IsSkinDefinition(ini)) return false;
  // Everything is built aside first: a picture that fails leaves the old data.
  Bytes raw;
  PutInt32(raw, kFormatNumber);
  WritePictureSet(LoadSkinPictures(ini, platform::ExtractFilePath(path)), raw);
  for (const std::string& line : lines) {
    raw.insert(raw.end(), line.begin(), line.end());
    raw.push_back('\r');
    raw.push_back('\n');
  }
  CompressedData_ = DeflateSkin(raw);
  return true;
}

void TskCompressedStoredSkin::UnpackSkinFile(const std::string& folder) const {
  Bytes raw;
  DecompressTo(raw);
  if (raw.size() < 4 || raw[0] != kFormatNumber || raw[1] != 0 || raw[2] != 0 || raw[3] != 0)
    throw platform::Exception("The compressed skin is not of format " + std::to_string(kFormatNumber));
  std::size_t pos = 4;
  const TskPictureSet pictures = ReadPictureSet(raw, pos);
  const std::string text =
      DefinitionTextToUtf8(std::string_view(reinterpret_cast<const char*>(raw.data() + pos), raw.size() - pos));
  WriteSkinFolder(TskIniFile::SplitLines(text), pictures, folder, FileName_.empty() ? kDefaultDefinitionName : FileName_);
}

void TskCompressedStoredSkin::WriteProperties(platform::FormData& data) const {
  data.Set("FileName", FileName_);
  data.Set(kCompressedDataProperty, CompressedData_);
}

void TskCompressedStoredSkin::ReadProperties(const platform::FormData& data) {
  const Bytes* blob = data.Binary(kCompressedDataProperty);
  CompressedData_ = blob ? *blob : Bytes{};
  FileName_ = data.String("FileName");
}

}  // namespace skin
