// The headless backend's text: glyphs rendered by FreeType from the fonts that
// fontconfig finds, measured by the rules GDI uses, so that a layout computed
// here matches the one the Win32 build computes with the platform's own fonts.
#include "platform/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "../core/TextLayout.h"

namespace platform {

namespace {

// Windows' Chinese face names have no fonts of their own here; they are drawn
// with a Chinese face that Debian ships (fonts-wqy-zenhei), as the Wine test
// prefix is told to do. The bitmap-strike ("Sharp") cut keeps small text as crisp
// as the bitmap strikes of the fonts it stands in for.
constexpr const char* kCjkStandIn = "WenQuanYi Zen Hei Sharp";
constexpr const char* kCjkFaceNames[] = {"宋体",   "SimSun", "新宋体",          "NSimSun", "黑体",  "SimHei",
                                         "微软雅黑", "Microsoft YaHei", "楷体",    "KaiTi", "仿宋", "FangSong"};
// The character set value that asks for simplified Chinese glyphs.
constexpr int kGb2312Charset = 134;
// The stand-in takes the vertical metrics of the face it stands in for ("宋体":
// ascent 220 and descent 36 of 256 units to the em), so that text cells, and the
// layouts built on them, have the sizes they have on Windows.
constexpr double kCjkAscentPerEm = 220.0 / 256, kCjkDescentPerEm = 36.0 / 256;
// A height of 0 asks for the system's default size; GDI's is 12-pixel characters.
constexpr int kDefaultCharHeight = 12;

// Code points as UTF-8 decodes them, with the byte offset each starts at.
struct CodePoint {
  std::uint32_t code;
  std::size_t offset;
};

std::vector<CodePoint> Decode(const std::string& s) {
  std::vector<CodePoint> out;
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const int len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    std::uint32_t code = len == 1 ? c : c & (0x3F >> (len - 1));
    for (int k = 1; k < len && i + std::size_t(k) < s.size(); ++k)
      code = (code << 6) | (static_cast<unsigned char>(s[i + std::size_t(k)]) & 0x3F);
    out.push_back({code, i});
    i += std::size_t(len);
  }
  return out;
}

// A rendered glyph: coverage 0..255 per pixel, placed relative to the pen on the baseline.
// Glyphs are rendered hinted and without anti-aliasing, as GDI draws small text
// by default, so text pixels are the text colour exactly.
struct Glyph {
  int advance = 0;
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<std::uint8_t> coverage;
};

// One font as a caller names it, resolved to faces: the best match first, then
// the others fontconfig ranks after it, tried in order for characters that the
// earlier ones lack.
class ResolvedFont {
 public:
  ResolvedFont(FT_Library library, const Font& font) : library_(library), font_(font) {
    FcPattern* pattern = FcPatternCreate();
    const bool cjkName = std::find(std::begin(kCjkFaceNames), std::end(kCjkFaceNames), font.name) !=
                         std::end(kCjkFaceNames);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(cjkName ? kCjkStandIn : font.name.c_str()));
    if (cjkName || font.charset == kGb2312Charset)
      FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcPatternAddInteger(pattern, FC_WEIGHT, (font.style & fontstyle::kBold) ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, (font.style & fontstyle::kItalic) ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcFontSet* set = FcFontSort(nullptr, pattern, FcTrue, nullptr, &result);
    if (set)
      for (int i = 0; i < set->nfont; ++i) {
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch) continue;
        FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
        FT_Face face = nullptr;
        if (FT_New_Face(library_, reinterpret_cast<const char*>(file), index, &face) == 0) faces_.push_back(face);
      }
    if (set) FcFontSetDestroy(set);
    FcPatternDestroy(pattern);
    if (!faces_.empty()) Measure(faces_.front(), cjkName);
  }
  ~ResolvedFont() {
    for (FT_Face face : faces_) FT_Done_Face(face);
  }
  ResolvedFont(const ResolvedFont&) = delete;
  ResolvedFont& operator=(const ResolvedFont&) = delete;

  int Ascent() const { return ascent_; }
  int CellHeight() const { return ascent_ + descent_; }

  const Glyph& GlyphFor(std::uint32_t code) {
    auto it = glyphs_.find(code);
    if (it == glyphs_.end()) it = glyphs_.emplace(code, Render(code)).first;
    return it->second;
  }

 private:
  // GDI's rules: a negative height is the em size in pixels, the cell being the
  // face's Windows ascent plus descent at that size; a positive height is the
  // cell, the em scaled down to fit it.
  void Measure(FT_Face face, bool cjkStandIn) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const double up = face->units_per_EM ? face->units_per_EM : 1;
    double asc = os2 && os2->usWinAscent ? os2->usWinAscent : face->ascender;
    double desc = os2 && os2->usWinAscent ? os2->usWinDescent : std::abs(face->descender);
    if (cjkStandIn || asc + desc <= 0) {
      asc = up * kCjkAscentPerEm;
      desc = up * kCjkDescentPerEm;
    }
    const int height = font_.height == 0 ? -kDefaultCharHeight : font_.height;
    if (height < 0) {
      emPixels_ = -height;
      ascent_ = int(std::lround(asc * emPixels_ / up));
      descent_ = int(std::lround(desc * emPixels_ / up));
    } else {
      emPixels_ = std::max(1, int(std::lround(height * up / (asc + desc))));
      ascent_ = int(std::lround(height * asc / (asc + desc)));
      descent_ = height - ascent_;
    }
  }

  Glyph Render(std::uint32_t code) {
    Glyph g;
    FT_Face face = nullptr;
    FT_UInt index = 0;
    for (FT_Face f : faces_)
      if ((index = FT_Get_Char_Index(f, code)) != 0) {
        face = f;
        break;
      }
    // A character no installed face has draws as the first face's missing-glyph box.
    if (!face && !faces_.empty()) face = faces_.front();
    if (!face || FT_Set_Pixel_Sizes(face, 0, FT_UInt(emPixels_)) != 0) return g;
    const bool italic = (font_.style & fontstyle::kItalic) && !(face->style_flags & FT_STYLE_FLAG_ITALIC);
    const bool bold = (font_.style & fontstyle::kBold) && !(face->style_flags & FT_STYLE_FLAG_BOLD);
    // Slanting needs an outline, so an italic asked of an upright face skips the bitmap strikes.
    const FT_Int32 load = FT_LOAD_TARGET_MONO | (italic ? FT_LOAD_NO_BITMAP : FT_LOAD_DEFAULT);
    if (FT_Load_Glyph(face, index, load) != 0) return g;
    if (italic) FT_GlyphSlot_Oblique(face->glyph);
    if (bold) FT_GlyphSlot_Embolden(face->glyph);
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0) return g;
    const FT_Bitmap& bm = face->glyph->bitmap;
    g.advance = int((face->glyph->advance.x + 32) >> 6);
    g.left = face->glyph->bitmap_left;
    g.top = face->glyph->bitmap_top;
    g.width = int(bm.width);
    g.height = int(bm.rows);
    g.coverage.resize(std::size_t(g.width) * std::size_t(g.height));
    for (int y = 0; y < g.height; ++y) {
      const unsigned char* row = bm.buffer + std::ptrdiff_t(y) * bm.pitch;
      for (int x = 0; x < g.width; ++x) {
        const bool mono = bm.pixel_mode == FT_PIXEL_MODE_MONO;
        const std::uint8_t v = mono ? ((row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0) : row[x];
        g.coverage[std::size_t(y) * std::size_t(g.width) + std::size_t(x)] = v;
      }
    }
    return g;
  }

  FT_Library library_;
  Font font_;
  std::vector<FT_Face> faces_;
  int emPixels_ = kDefaultCharHeight, ascent_ = 0, descent_ = 0;
  std::unordered_map<std::uint32_t, Glyph> glyphs_;
};

// The FreeType library and every font resolved so far, for the life of the process.
class FontCache {
 public:
  static FontCache& Instance() {
    static FontCache cache;
    return cache;
  }
  std::mutex& Lock() { return mutex_; }
  ResolvedFont& Get(const Font& font) {
    const auto key = std::make_tuple(font.name, font.height, font.style, font.charset);
    auto it = fonts_.find(key);
    if (it == fonts_.end()) it = fonts_.emplace(key, std::make_unique<ResolvedFont>(library_, font)).first;
    return *it->second;
  }

 private:
  FontCache() {
    FcInit();
    FT_Init_FreeType(&library_);
  }
  ~FontCache() {
    fonts_.clear();
    FT_Done_FreeType(library_);
    FcFini();  // fontconfig's own caches, which leak checkers would otherwise report
  }
  std::mutex mutex_;
  FT_Library library_ = nullptr;
  std::map<std::tuple<std::string, int, std::uint8_t, int>, std::unique_ptr<ResolvedFont>> fonts_;
};

int LineWidth(ResolvedFont& rf, const std::string& line) {
  int w = 0;
  for (const CodePoint& c : Decode(line)) w += rf.GlyphFor(c.code).advance;
  return w;
}

// Blends `colour` over the canvas by `coverage`, inside `clip` only.
void Ink(Bitmap& canvas, const Rect& clip, int x, int y, Colour colour, int coverage) {
  if (coverage == 0 || x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom) return;
  if (x < 0 || y < 0 || x >= canvas.Width() || y >= canvas.Height()) return;
  const Colour under = canvas.Pixel(x, y);
  auto mix = [&](int shift) {
    const int a = (under >> shift) & 0xFF, b = (colour >> shift) & 0xFF;
    return ((a * (255 - coverage) + b * coverage + 127) / 255) << shift;
  };
  canvas.SetPixel(x, y, Colour(mix(0) | mix(8) | mix(16)));
}

void HorizontalRule(Bitmap& canvas, const Rect& clip, int x, int width, int y, Colour colour) {
  for (int ix = 0; ix < width; ++ix) Ink(canvas, clip, x + ix, y, colour, 255);
}

}  // namespace

Point TextExtent(const Font& font, std::string_view text, unsigned flags) {
  const auto lines = textlayout::Split(text, flags & textflag::kSingleLine, !(flags & textflag::kNoPrefix));
  std::lock_guard lock(FontCache::Instance().Lock());
  ResolvedFont& rf = FontCache::Instance().Get(font);
  int w = 0;
  for (const auto& line : lines) w = std::max(w, LineWidth(rf, line.text));
  return {w, int(lines.size()) * rf.CellHeight()};
}

void PaintText(Bitmap& canvas, const Font& font, const Rect& rect, std::string_view text, Colour colour,
              unsigned flags) {
  const bool single = flags & textflag::kSingleLine;
  const auto lines = textlayout::Split(text, single, !(flags & textflag::kNoPrefix));
  std::lock_guard lock(FontCache::Instance().Lock());
  ResolvedFont& rf = FontCache::Instance().Get(font);
  const int h = rf.CellHeight();
  // Underline and strike-out sit one pixel under the baseline and at a third of the ascent above it.
  const int underlineRow = std::min(h - 1, rf.Ascent() + 1);
  const int strikeRow = rf.Ascent() - rf.Ascent() / 3;
  int y = rect.top;
  if (single && (flags & textflag::kVCenter)) y = rect.top + (rect.Height() - h) / 2;
  for (const auto& line : lines) {
    const int lw = LineWidth(rf, line.text);
    int x = rect.left;
    if (flags & textflag::kCenter) x = rect.left + (rect.Width() - lw) / 2;
    else if (flags & textflag::kRight) x = rect.right - lw;
    const int baseline = y + rf.Ascent();
    for (const CodePoint& c : Decode(line.text)) {
      const Glyph& g = rf.GlyphFor(c.code);
      for (int gy = 0; gy < g.height; ++gy)
        for (int gx = 0; gx < g.width; ++gx)
          Ink(canvas, rect, x + g.left + gx, baseline - g.top + gy, colour,
              g.coverage[std::size_t(gy) * std::size_t(g.width) + std::size_t(gx)]);
      if (int(c.offset) == line.underline) HorizontalRule(canvas, rect, x, g.advance, y + underlineRow, colour);
      x += g.advance;
    }
    if (font.style & fontstyle::kUnderline) HorizontalRule(canvas, rect, x - lw, lw, y + underlineRow, colour);
    if (font.style & fontstyle::kStrikeOut) HorizontalRule(canvas, rect, x - lw, lw, y + strikeRow, colour);
    y += h;
  }
}

}  // namespace platform
