#include "unzip/ZipMethods.h"

#include <algorithm>
#include <iterator>

#include "decode/InflateFast.h"
#include "decode/LibraryDecoders.h"
#include "extract/EntryDecoder.h"
#include "extract/MethodTable.h"
#include "legacy/LegacyDecoders.h"

namespace unzip {
namespace {

using TDecoder = TEntryDecoder;

constexpr TMethod kMethods[] = {
    {kMethodStored, "stored", "stored", [](TDecoder& d) { return d.UnStore(); }},
    {kMethodShrunk, "shrink", "shrunk", [](TDecoder& d) { return UnShrink(d.State()); }},
    {kMethodReduced1, "reduce1", "reduced", [](TDecoder& d) { return UnReduce(d.State(), 1); }},
    {kMethodReduced1 + 1, "reduce2", "reduced", [](TDecoder& d) { return UnReduce(d.State(), 2); }},
    {kMethodReduced1 + 2, "reduce3", "reduced", [](TDecoder& d) { return UnReduce(d.State(), 3); }},
    {kMethodReduced4, "reduce4", "reduced", [](TDecoder& d) { return UnReduce(d.State(), 4); }},
    {kMethodImploded, "implode", "imploded", [](TDecoder& d) { return Explode(d.State(), d.Entry().Flags); }},
    {kMethodDeflated, "deflate", "deflate", [](TDecoder& d) { return d.Inflater().Inflate(d.State()); }},
    {kMethodDeflate64, "deflate64", "deflate64", [](TDecoder& d) { return d.Inflater64().Inflate(d.State()); }},
    {kMethodBzip2, "bzip2", "bzip2", [](TDecoder& d) { return UnBzip2(d.State()); }},
    {kMethodLzma, "lzma", "lzma", [](TDecoder& d) { return UnLzma(d.State()); }},
    {kMethodZstdOld, "zstd", "zstd", [](TDecoder& d) { return UnZstd(d.State()); }},
    {kMethodZstd, "zstd", "zstd", [](TDecoder& d) { return UnZstd(d.State()); }},
    {kMethodXz, "xz", "xz", [](TDecoder& d) { return UnXz(d.State()); }},
    {kMethodPpmd, "ppmd", "PPMd", [](TDecoder& d) { return UnPpmd(d.State()); }},
    {kMethodAes, "aes", "aes", nullptr},
};

}  // namespace

const TMethod* FindMethod(std::uint16_t id) {
  const auto it = std::find_if(std::begin(kMethods), std::end(kMethods), [id](const TMethod& m) { return m.id == id; });
  return it == std::end(kMethods) ? nullptr : it;
}

bool MethodSupported(std::uint16_t id) {
  const TMethod* m = FindMethod(id);
  return m && m->decode;
}

std::string MethodName(std::uint16_t id) {
  const TMethod* m = FindMethod(id);
  return m ? m->name : "method " + std::to_string(id);
}

}  // namespace unzip
