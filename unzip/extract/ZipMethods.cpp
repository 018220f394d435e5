#include "unzip/ZipMethods.h"

#include "extract/MethodTable.h"

namespace unzip {

std::string MethodName(std::uint16_t method) {
  switch (method) {
    case kMethodStored: return "stored";
    case kMethodShrunk: return "shrink";
    case kMethodImploded: return "implode";
    case kMethodDeflated: return "deflate";
    case kMethodDeflate64: return "deflate64";
    case kMethodBzip2: return "bzip2";
    case kMethodLzma: return "lzma";
    case kMethodZstdOld:
    case kMethodZstd: return "zstd";
    case kMethodXz: return "xz";
    case kMethodPpmd: return "ppmd";
    case kMethodAes: return "aes";
    default: break;
  }
  if (method >= kMethodReduced1 && method <= kMethodReduced4) return "reduce" + std::to_string(method - 1);
  return "method " + std::to_string(method);
}

bool MethodSupported(std::uint16_t method) {
  switch (method) {
    case kMethodStored:
    case kMethodDeflated:
    case kMethodDeflate64:
    case kMethodBzip2:
    case kMethodLzma:
    case kMethodZstdOld:
    case kMethodZstd:
    case kMethodXz: return true;
#ifdef TW_UNZIP_LEGACY
    case kMethodShrunk:
    case kMethodReduced1:
    case kMethodReduced1 + 1:
    case kMethodReduced1 + 2:
    case kMethodReduced4:
    case kMethodImploded: return true;
#endif
    default: return false;
  }
}

}  // namespace unzip
