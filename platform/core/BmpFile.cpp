#include "platform/BmpFile.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <unordered_map>

namespace platform {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;  // OS/2 1.x header: 16-bit sizes, RGB triples
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kMaxInfoHeaderSize = 124;  // the largest header version (V5)
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

std::uint32_t U16(const std::uint8_t* p) { return std::uint32_t(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}

[[noreturn]] void Fail(const std::string& what) { throw EInvalidBitmap("Invalid bitmap: " + what); }

// Position and width of a channel mask, so that a masked value scales to 0..255.
struct Channel {
  int shift = 0;
  std::uint32_t max = 0;
  explicit Channel(std::uint32_t mask) {
    if (mask == 0) return;
    while (!(mask & 1u)) {
      mask >>= 1;
      ++shift;
    }
    max = mask;
  }
  std::uint32_t Get(std::uint32_t v) const { return max ? ((v >> shift) & max) * 255u / max : 0; }
};

void Put(Bytes& out, std::uint32_t v, int n) {
  for (int i = 0; i < n; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

}  // namespace

Bitmap ReadBmp(std::span<const std::uint8_t> data, std::size_t* consumed) {
  if (data.size() < kFileHeaderSize + 4) Fail("the data is too short for a BMP header");
  const std::uint8_t* p = data.data();
  if (p[0] != 'B' || p[1] != 'M') Fail("missing the \"BM\" signature");
  const std::uint32_t fileSize = U32(p + 2);
  const std::uint32_t pixelOffset = U32(p + 10);
  if (fileSize > data.size()) Fail("the file size field exceeds the available data");
  const std::uint32_t headerSize = U32(p + kFileHeaderSize);
  if (headerSize != kCoreHeaderSize && (headerSize < kInfoHeaderSize || headerSize > kMaxInfoHeaderSize))
    Fail("unknown info header size " + std::to_string(headerSize));
  if (kFileHeaderSize + headerSize > fileSize) Fail("the info header passes the end of the file");
  const std::uint8_t* h = p + kFileHeaderSize;

  std::int64_t width, height;
  std::uint32_t planes, bits, compression = kBiRgb, colorsUsed = 0;
  std::size_t paletteEntrySize = 4;
  if (headerSize == kCoreHeaderSize) {
    width = U16(h + 4);
    height = std::int16_t(U16(h + 6));
    planes = U16(h + 8);
    bits = U16(h + 10);
    paletteEntrySize = 3;
  } else {
    width = std::int32_t(U32(h + 4));
    height = std::int32_t(U32(h + 8));
    planes = U16(h + 12);
    bits = U16(h + 14);
    compression = U32(h + 16);
    colorsUsed = U32(h + 32);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (planes != 1) Fail("plane count must be 1");
  if (width <= 0 || height <= 0 || width > Bitmap::kMaxSide || height > Bitmap::kMaxSide ||
      width * height > Bitmap::kMaxPixels)
    Fail("dimensions " + std::to_string(width) + " x " + std::to_string(height) + " are out of range");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    Fail(std::to_string(bits) + " bits per pixel is not supported");
  if (!(compression == kBiRgb || (compression == kBiBitfields && (bits == 16 || bits == 32))))
    Fail("compression " + std::to_string(compression) + " is not supported");

  // Channel masks: defaults, or three masks after a 40-byte header (inside larger ones).
  std::uint32_t masks[3] = {0, 0, 0};
  std::size_t tableStart = kFileHeaderSize + headerSize;
  if (bits == 16) {
    masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F;
  } else if (bits == 32) {
    masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF;
  }
  if (compression == kBiBitfields) {
    // The three masks follow the 40-byte header, inside or after a larger one.
    if (headerSize < kInfoHeaderSize || kFileHeaderSize + kInfoHeaderSize + 12 > fileSize)
      Fail("the colour masks pass the end of the file");
    if (headerSize == kInfoHeaderSize) {
      if (tableStart + 12 > fileSize) Fail("the colour masks pass the end of the file");
      tableStart += 12;
    }
    for (int i = 0; i < 3; ++i) masks[i] = U32(p + kFileHeaderSize + kInfoHeaderSize + 4 * i);
  }

  std::vector<Colour> palette;
  if (bits <= 8) {
    const std::uint32_t maxColours = 1u << bits;
    const std::uint32_t n = colorsUsed == 0 ? maxColours : colorsUsed;
    if (n > maxColours) Fail("the colour table has more entries than the bit depth allows");
    if (tableStart + std::uint64_t(n) * paletteEntrySize > fileSize) Fail("the colour table passes the end of the file");
    palette.resize(maxColours, 0);
    for (std::uint32_t i = 0; i < n; ++i) {
      const std::uint8_t* e = p + tableStart + i * paletteEntrySize;
      palette[i] = Rgb(e[2], e[1], e[0]);
    }
  }

  const std::uint64_t stride = ((std::uint64_t(width) * bits + 31) / 32) * 4;
  if (pixelOffset < tableStart || pixelOffset > fileSize || stride * std::uint64_t(height) > fileSize - pixelOffset)
    Fail("the pixel data passes the end of the file");

  Bitmap bitmap{int(width), int(height)};
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = p + pixelOffset + stride * std::uint64_t(topDown ? y : height - 1 - y);
    Colour* out = bitmap.Row(y);
    switch (bits) {
      case 1:
      case 4:
      case 8: {
        const unsigned perByte = 8 / bits, mask = (1u << bits) - 1;
        for (int x = 0; x < width; ++x) {
          const unsigned shift = 8 - bits * (x % perByte + 1);
          out[x] = palette[(row[x / perByte] >> shift) & mask];
        }
        break;
      }
      case 16:
        for (int x = 0; x < width; ++x) {
          const std::uint32_t v = U16(row + 2 * x);
          out[x] = Rgb(std::uint8_t(red.Get(v)), std::uint8_t(green.Get(v)), std::uint8_t(blue.Get(v)));
        }
        break;
      case 24:
        for (int x = 0; x < width; ++x) out[x] = Rgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        break;
      case 32:
        for (int x = 0; x < width; ++x) {
          const std::uint32_t v = U32(row + 4 * x);
          out[x] = Rgb(std::uint8_t(red.Get(v)), std::uint8_t(green.Get(v)), std::uint8_t(blue.Get(v)));
        }
        break;
    }
  }
  if (consumed) *consumed = fileSize;
  return bitmap;
}

Bytes WriteBmp(const Bitmap& bitmap) {
  if (bitmap.Empty()) throw EInvalidBitmap("Invalid bitmap: an empty picture cannot be written");
  const int w = bitmap.Width(), h = bitmap.Height();
  constexpr std::size_t kMaxPalette = 256;
  std::vector<Colour> palette;
  std::unordered_map<Colour, std::uint8_t> index;
  for (int y = 0; y < h && palette.size() <= kMaxPalette; ++y) {
    for (int x = 0; x < w; ++x) {
      const Colour c = bitmap.Row(y)[x];
      if (index.count(c)) continue;
      if (palette.size() == kMaxPalette) {
        palette.push_back(c);  // one too many: write 24 bits
        break;
      }
      index.emplace(c, std::uint8_t(palette.size()));
      palette.push_back(c);
    }
  }
  const bool indexed = palette.size() <= kMaxPalette;
  const std::uint32_t bits = indexed ? 8 : 24;
  const std::uint32_t stride = ((std::uint32_t(w) * bits + 31) / 32) * 4;
  const std::uint32_t tableSize = indexed ? std::uint32_t(palette.size()) * 4 : 0;
  const std::uint32_t offset = std::uint32_t(kFileHeaderSize) + kInfoHeaderSize + tableSize;
  const std::uint32_t size = offset + stride * std::uint32_t(h);

  Bytes out;
  out.reserve(size);
  out.push_back('B');
  out.push_back('M');
  Put(out, size, 4);
  Put(out, 0, 4);
  Put(out, offset, 4);
  Put(out, kInfoHeaderSize, 4);
  Put(out, std::uint32_t(w), 4);
  Put(out, std::uint32_t(h), 4);  // bottom-up, as most readers expect
  Put(out, 1, 2);
  Put(out, bits, 2);
  Put(out, kBiRgb, 4);
  Put(out, stride * std::uint32_t(h), 4);
  Put(out, 0, 4);
  Put(out, 0, 4);
  Put(out, indexed ? std::uint32_t(palette.size()) : 0, 4);
  Put(out, 0, 4);
  if (indexed) {
    for (Colour c : palette) {
      out.push_back(std::uint8_t(c >> 16));
      out.push_back(std::uint8_t(c >> 8));
      out.push_back(std::uint8_t(c));
      out.push_back(0);
    }
  }
  for (int y = h - 1; y >= 0; --y) {
    const Colour* row = bitmap.Row(y);
    const std::size_t start = out.size();
    for (int x = 0; x < w; ++x) {
      if (indexed) {
        out.push_back(index[row[x]]);
      } else {
        out.push_back(std::uint8_t(row[x] >> 16));
        out.push_back(std::uint8_t(row[x] >> 8));
        out.push_back(std::uint8_t(row[x]));
      }
    }
    out.resize(start + stride, 0);
  }
  return out;
}

Bytes ReadFileBytes(const std::string& path) {
  const std::filesystem::path fsPath(std::u8string(path.begin(), path.end()));
  std::ifstream in(fsPath, std::ios::binary);
  if (!in) throw Exception("Cannot open file \"" + path + "\"");
  Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw Exception("Cannot read file \"" + path + "\"");
  return bytes;
}

void WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
  const std::filesystem::path fsPath(std::u8string(path.begin(), path.end()));
  std::filesystem::path temp = fsPath;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw Exception("Cannot create file \"" + path + "\"");
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      throw Exception("Cannot write file \"" + path + "\"");
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, fsPath, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    throw Exception("Cannot replace file \"" + path + "\"");
  }
}

void CreateFolders(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(std::u8string(path.begin(), path.end())), ec);
  if (ec) throw Exception("Cannot create folder \"" + path + "\"");
}

Bitmap LoadBmpFile(const std::string& path) {
  const Bytes bytes = ReadFileBytes(path);
  try {
    return ReadBmp(bytes);
  } catch (const EInvalidBitmap& e) {
    throw EInvalidBitmap(std::string(e.what()) + " (\"" + path + "\")");
  }
}

void SaveBmpFile(const Bitmap& bitmap, const std::string& path) { WriteFileBytes(path, WriteBmp(bitmap)); }

}  // namespace platform
