// Code page conversions through iconv.
#include <iconv.h>

#include <cerrno>
#include <string>

#include "PathRules.h"
#include "platform/Text.h"

namespace platform {
namespace {

std::string IconvName(unsigned codePage) {
  switch (codePage) {
    case kCodePageUtf8: return "UTF-8";
    case kCodePageGbk: return "GBK";
    default: return "CP" + std::to_string(codePage);
  }
}

std::string Convert(std::string_view in, unsigned from, unsigned to) {
  if (from == to) return std::string(in);
  iconv_t cd = iconv_open(IconvName(to).c_str(), IconvName(from).c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::string out;
  out.resize(in.size() * 4 + 4);
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char* dst = out.data();
  std::size_t dstLeft = out.size();
  while (srcLeft > 0) {
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) {
      const std::size_t used = dst - out.data();
      out.resize(out.size() * 2);
      dst = out.data() + used;
      dstLeft = out.size() - used;
      continue;
    }
    // An unconvertible or incomplete sequence: one '?' for one input byte.
    if (dstLeft == 0) continue;
    *dst++ = '?';
    --dstLeft;
    ++src;
    --srcLeft;
  }
  out.resize(dst - out.data());
  iconv_close(cd);
  return out;
}

}  // namespace

std::string ToUtf8(std::string_view bytes, unsigned codePage) {
  return Convert(bytes, codePage, kCodePageUtf8);
}

std::string FromUtf8(std::string_view utf8, unsigned codePage) {
  return Convert(utf8, kCodePageUtf8, codePage);
}

bool CodePageKnown(unsigned codePage) {
  const iconv_t cd = iconv_open(IconvName(kCodePageUtf8).c_str(), IconvName(codePage).c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  iconv_close(cd);
  return true;
}

char PathSeparator() { return kPathSeparator; }

}  // namespace platform
