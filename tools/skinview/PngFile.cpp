#include "PngFile.h"

#include <zlib.h>

#include <string>

#include "platform/Exception.h"

namespace skinview {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kBitDepth = 8;
constexpr std::uint8_t kColourTypeRgb = 2;
constexpr std::uint8_t kFilterNone = 0;

void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(v >> shift));
}

// Length, type, data and the CRC over type and data.
void Chunk(std::vector<std::uint8_t>& out, const char type[5], const std::vector<std::uint8_t>& data) {
  PutBe32(out, std::uint32_t(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBe32(out, std::uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const platform::Bitmap& bitmap) {
  if (bitmap.Empty()) throw platform::Exception("An empty picture cannot be written as PNG");
  const int w = bitmap.Width(), h = bitmap.Height();
  std::vector<std::uint8_t> raw;
  raw.reserve(std::size_t(h) * (1 + 3 * std::size_t(w)));
  for (int y = 0; y < h; ++y) {
    raw.push_back(kFilterNone);
    for (int x = 0; x < w; ++x) {
      const platform::Colour c = bitmap.Row(y)[x];
      raw.push_back(std::uint8_t(c));
      raw.push_back(std::uint8_t(c >> 8));
      raw.push_back(std::uint8_t(c >> 16));
    }
  }
  uLongf size = compressBound(uLong(raw.size()));
  std::vector<std::uint8_t> packed(size);
  if (compress2(packed.data(), &size, raw.data(), uLong(raw.size()), Z_BEST_COMPRESSION) != Z_OK)
    throw platform::Exception("PNG compression failed");
  packed.resize(size);

  std::vector<std::uint8_t> out(std::begin(kSignature), std::end(kSignature));
  std::vector<std::uint8_t> header;
  PutBe32(header, std::uint32_t(w));
  PutBe32(header, std::uint32_t(h));
  header.insert(header.end(), {kBitDepth, kColourTypeRgb, 0, 0, 0});  // deflate, adaptive filters, no interlace
  Chunk(out, "IHDR", header);
  Chunk(out, "IDAT", packed);
  Chunk(out, "IEND", {});
  return out;
}

}  // namespace skinview
