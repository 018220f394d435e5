#include "AviWriter.h"

namespace testing_support {

namespace {

void Put32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s += char((v >> (8 * i)) & 0xFF);
}
void Put16(std::string& s, std::uint16_t v) {
  s += char(v & 0xFF);
  s += char(v >> 8);
}
std::string Chunk(const std::string& id, const std::string& body) {
  std::string s = id;
  Put32(s, std::uint32_t(body.size()));
  s += body;
  if (body.size() & 1) s += '\0';
  return s;
}
std::string List(const std::string& type, const std::string& body) { return Chunk("LIST", type + body); }

// Bottom-up rows padded to four bytes.
std::string EncodeRaw(const AviClip& c, const std::vector<std::uint32_t>& px) {
  std::string out;
  const int bytes = c.format == AviFormat::Rgb24 ? 3 : 1;
  for (int y = c.height - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < c.width; ++x) {
      const std::uint32_t v = px[std::size_t(y) * c.width + x];
      if (bytes == 1) {
        row += char(v);
      } else {
        row += char(v & 0xFF);
        row += char((v >> 8) & 0xFF);
        row += char((v >> 16) & 0xFF);
      }
    }
    while (row.size() % 4) row += '\0';
    out += row;
  }
  return out;
}

// Encoded runs only, one end-of-line per row, an end-of-picture at the end.
std::string EncodeRle8(const AviClip& c, const std::vector<std::uint32_t>& px) {
  std::string out;
  for (int y = c.height - 1; y >= 0; --y) {
    const std::uint32_t* row = px.data() + std::size_t(y) * c.width;
    for (int x = 0; x < c.width;) {
      int run = 1;
      while (x + run < c.width && run < 255 && row[x + run] == row[x]) ++run;
      out += char(run);
      out += char(row[x]);
      x += run;
    }
    out += std::string("\0\0", 2);
  }
  out += std::string("\0\1", 2);
  return out;
}

}  // namespace

std::string MakeAvi(const AviClip& c) {
  const bool palette = c.format != AviFormat::Rgb24;
  const std::size_t frameCount = c.rawFrames.empty() ? c.frames.size() : c.rawFrames.size();
  std::string avih;
  for (std::uint32_t v : {66666u, 0u, 0u, 0x10u, std::uint32_t(frameCount), 0u, 1u, 0u, std::uint32_t(c.width),
                          std::uint32_t(c.height), 0u, 0u, 0u, 0u})
    Put32(avih, v);
  std::string strh = "vids";
  strh += c.format == AviFormat::Rle8 ? "mrle" : std::string("\0\0\0\0", 4);
  for (std::uint32_t v : {0u, 0u, 0u, 1u, 15u, 0u, std::uint32_t(frameCount), 0u, 0xFFFFFFFFu, 0u}) Put32(strh, v);
  Put16(strh, 0);
  Put16(strh, 0);
  Put16(strh, std::uint16_t(c.width));
  Put16(strh, std::uint16_t(c.height));
  std::string strf;
  Put32(strf, 40);
  Put32(strf, std::uint32_t(c.width));
  Put32(strf, std::uint32_t(c.height));
  Put16(strf, 1);
  Put16(strf, palette ? 8 : 24);
  Put32(strf, c.format == AviFormat::Rle8 ? 1 : 0);
  for (std::uint32_t v : {0u, 0u, 0u, palette ? std::uint32_t(c.palette.size()) : 0u, 0u}) Put32(strf, v);
  if (palette)
    for (std::uint32_t rgb : c.palette) Put32(strf, rgb);  // RGBQUAD: blue, green, red, 0
  std::string movi;
  for (std::size_t i = 0; i < frameCount; ++i) {
    const bool rle = c.format == AviFormat::Rle8;
    const std::string body = !c.rawFrames.empty() ? c.rawFrames[i]
                             : rle                ? EncodeRle8(c, c.frames[i])
                                                  : EncodeRaw(c, c.frames[i]);
    movi += Chunk(rle ? "00dc" : "00db", body);
  }
  const std::string body = List("hdrl", Chunk("avih", avih) + List("strl", Chunk("strh", strh) + Chunk("strf", strf))) +
                           Chunk("JUNK", std::string(12, '\0')) + List("movi", movi);
  return Chunk("RIFF", "AVI " + body);
}

}  // namespace testing_support
