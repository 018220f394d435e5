#include "platform/AviClip.h"

#include <cstring>
#include <optional>
#include <string_view>

namespace platform {

namespace {

// BITMAPINFOHEADER compressions.
constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr int kMaxPaletteEntries = 256;
// The clip's frames are small pictures; a bound keeps a damaged header from
// asking for a huge bitmap per frame, and a damaged index from a huge list.
constexpr int kMaxClipSide = 4096;
constexpr std::size_t kMaxFrames = 100000;

std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) {
  if (at + 4 > d.size()) throw EInvalidClip("AVI clip truncated");
  return std::uint32_t(d[at]) | std::uint32_t(d[at + 1]) << 8 | std::uint32_t(d[at + 2]) << 16 |
         std::uint32_t(d[at + 3]) << 24;
}
std::uint16_t U16(std::span<const std::uint8_t> d, std::size_t at) {
  if (at + 2 > d.size()) throw EInvalidClip("AVI clip truncated");
  return std::uint16_t(d[at] | d[at + 1] << 8);
}
std::string_view FourCC(std::span<const std::uint8_t> d, std::size_t at) {
  if (at + 4 > d.size()) throw EInvalidClip("AVI clip truncated");
  return {reinterpret_cast<const char*>(d.data() + at), 4};
}

struct VideoFormat {
  int width = 0, height = 0;  // height < 0: top-down rows
  int bitCount = 0;
  std::uint32_t compression = 0;
  std::vector<Colour> palette;
};

struct Reader {
  std::optional<VideoFormat> format;
  int videoStream = -1;  // number of the first video stream
  int streamCount = 0;
  bool lastStreamIsVideo = false;
  std::vector<std::span<const std::uint8_t>> frames;

  void ReadFormat(std::span<const std::uint8_t> strf) {
    if (strf.size() < kInfoHeaderSize) throw EInvalidClip("AVI video format too short");
    VideoFormat f;
    f.width = int(U32(strf, 4));
    f.height = int(U32(strf, 8));
    f.bitCount = U16(strf, 14);
    f.compression = U32(strf, 16);
    const std::uint32_t used = U32(strf, 32);
    const std::size_t headerSize = U32(strf, 0);
    if (f.width <= 0 || f.width > kMaxClipSide || f.height == 0 || f.height > kMaxClipSide ||
        f.height < -kMaxClipSide || headerSize < kInfoHeaderSize || headerSize > strf.size())
      throw EInvalidClip("AVI video format out of range");
    if (f.bitCount == 8) {
      const std::size_t entries = used ? std::min<std::uint32_t>(used, kMaxPaletteEntries) : kMaxPaletteEntries;
      for (std::size_t i = 0; i < entries && headerSize + 4 * i + 4 <= strf.size(); ++i) {
        const std::size_t at = headerSize + 4 * i;  // RGBQUAD: blue, green, red, reserved
        f.palette.push_back(Colour(strf[at + 2] | strf[at + 1] << 8 | strf[at] << 16));
      }
    }
    const bool rgb = f.compression == kBiRgb &&
                     (f.bitCount == 8 || f.bitCount == 16 || f.bitCount == 24 || f.bitCount == 32);
    const bool rle8 = f.compression == kBiRle8 && f.bitCount == 8 && f.height > 0;
    if (!rgb && !rle8) throw EInvalidClip("AVI video format not supported");
    format = std::move(f);
  }

  // Walks the chunks of `d` between `begin` and `end`, descending into lists.
  void Walk(std::span<const std::uint8_t> d, std::size_t begin, std::size_t end, int depth) {
    constexpr int kMaxDepth = 8;
    if (depth > kMaxDepth) throw EInvalidClip("AVI lists nested too deeply");
    std::size_t at = begin;
    while (at + 8 <= end) {
      const std::string_view id = FourCC(d, at);
      const std::size_t size = U32(d, at + 4);
      const std::size_t body = at + 8;
      if (size > end - body) throw EInvalidClip("AVI chunk runs past its list");
      if (id == "LIST") {
        if (size < 4) throw EInvalidClip("AVI list too short");
        Walk(d, body + 4, body + size, depth + 1);
      } else if (id == "strh") {
        ++streamCount;
        lastStreamIsVideo = FourCC(d, body) == "vids";
        if (lastStreamIsVideo && videoStream < 0) videoStream = streamCount - 1;
      } else if (id == "strf") {
        if (lastStreamIsVideo && videoStream == streamCount - 1 && !format) ReadFormat(d.subspan(body, size));
      } else if (videoStream >= 0 && (id.substr(2) == "db" || id.substr(2) == "dc") && id[0] >= '0' &&
                 id[0] <= '9' && id[1] >= '0' && id[1] <= '9' && (id[0] - '0') * 10 + (id[1] - '0') == videoStream) {
        if (frames.size() >= kMaxFrames) throw EInvalidClip("AVI clip has too many frames");
        frames.push_back(d.subspan(body, size));
      }
      at = body + size + (size & 1);  // chunks are padded to an even length
    }
  }
};

Colour Rgb555(std::uint16_t v) {
  const auto expand = [](unsigned c) { return (c << 3) | (c >> 2); };
  return Colour(expand((v >> 10) & 31) | expand((v >> 5) & 31) << 8 | expand(v & 31) << 16);
}

class FrameDecoder {
 public:
  explicit FrameDecoder(const VideoFormat& f)
      : f_(f), width_(f.width), height_(f.height < 0 ? -f.height : f.height), indexes_(std::size_t(width_) * height_) {}

  Bitmap Decode(std::span<const std::uint8_t> data) {
    if (f_.compression == kBiRle8)
      DecodeRle8(data);
    else
      DecodeRgb(data);
    return current_;
  }

 private:
  Colour PaletteColour(std::uint8_t index) const { return index < f_.palette.size() ? f_.palette[index] : 0; }
  // Rows are stored bottom-up unless the height is negative.
  int ScreenRow(int storedRow) const { return f_.height < 0 ? storedRow : height_ - 1 - storedRow; }

  void DecodeRgb(std::span<const std::uint8_t> data) {
    const std::size_t stride = (std::size_t(width_) * f_.bitCount / 8 + 3) & ~std::size_t(3);
    if (data.size() < stride * height_) throw EInvalidClip("AVI frame too short");
    current_.SetSize(width_, height_);
    for (int r = 0; r < height_; ++r) {
      const std::uint8_t* row = data.data() + stride * r;
      Colour* out = current_.Row(ScreenRow(r));
      for (int x = 0; x < width_; ++x) {
        switch (f_.bitCount) {
          case 8: out[x] = PaletteColour(row[x]); break;
          case 16: out[x] = Rgb555(std::uint16_t(row[2 * x] | row[2 * x + 1] << 8)); break;
          default: {
            const std::uint8_t* p = row + std::size_t(x) * (f_.bitCount / 8);
            out[x] = Colour(p[2] | p[1] << 8 | p[0] << 16);
          }
        }
      }
    }
  }

  // Run-length encoding draws over the frame before it: a key frame covers
  // everything, a delta frame only what changed.
  void DecodeRle8(std::span<const std::uint8_t> data) {
    int x = 0, y = 0;  // y counts stored rows from the bottom
    std::size_t at = 0;
    auto put = [&](std::uint8_t index) {
      if (x < width_ && y < height_) indexes_[std::size_t(y) * width_ + x] = index;
      ++x;
    };
    while (at + 1 < data.size()) {
      const std::uint8_t count = data[at], value = data[at + 1];
      at += 2;
      if (count) {
        for (int i = 0; i < count; ++i) put(value);
      } else if (value == 0) {  // end of line
        x = 0;
        ++y;
      } else if (value == 1) {  // end of picture
        break;
      } else if (value == 2) {  // move right and up
        if (at + 2 > data.size()) throw EInvalidClip("AVI frame truncated");
        x += data[at];
        y += data[at + 1];
        at += 2;
      } else {  // `value` literal indexes, padded to a whole word
        if (at + value > data.size()) throw EInvalidClip("AVI frame truncated");
        for (int i = 0; i < value; ++i) put(data[at + i]);
        at += value + (value & 1);
      }
    }
    current_.SetSize(width_, height_);
    for (int r = 0; r < height_; ++r) {
      Colour* out = current_.Row(ScreenRow(r));
      for (int c = 0; c < width_; ++c) out[c] = PaletteColour(indexes_[std::size_t(r) * width_ + c]);
    }
  }

  const VideoFormat& f_;
  int width_, height_;
  std::vector<std::uint8_t> indexes_;
  Bitmap current_;
};

}  // namespace

std::vector<Bitmap> DecodeAviFrames(std::span<const std::uint8_t> clip) {
  if (clip.size() < 12 || FourCC(clip, 0) != "RIFF" || FourCC(clip, 8) != "AVI ")
    throw EInvalidClip("not an AVI clip");
  const std::size_t end = std::min<std::size_t>(clip.size(), std::size_t(U32(clip, 4)) + 8);
  Reader reader;
  reader.Walk(clip, 12, end, 0);
  if (!reader.format) throw EInvalidClip("AVI clip has no video stream");
  if (std::int64_t(reader.format->width) * std::abs(reader.format->height) > Bitmap::kMaxPixels)
    throw EInvalidClip("AVI frames too large");
  FrameDecoder decoder(*reader.format);
  std::vector<Bitmap> frames;
  for (const auto& chunk : reader.frames) {
    if (chunk.empty()) {
      if (frames.empty()) throw EInvalidClip("AVI clip starts with an empty frame");
      frames.push_back(frames.back());
    } else {
      frames.push_back(decoder.Decode(chunk));
    }
  }
  return frames;
}

}  // namespace platform
