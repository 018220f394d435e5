#include "LegacyEncoders.h"

#include <algorithm>
#include <map>
#include <queue>
#include <stdexcept>

namespace legacytest {

void TBitWriter::Put(std::uint32_t value, unsigned bits) {
  for (unsigned i = 0; i < bits; ++i) {
    buf_ |= ((value >> i) & 1u) << count_;
    if (++count_ == 8) {
      out_.push_back(std::uint8_t(buf_));
      buf_ = 0;
      count_ = 0;
    }
  }
}

Bytes TBitWriter::Finish() {
  if (count_ > 0) out_.push_back(std::uint8_t(buf_));
  buf_ = 0;
  count_ = 0;
  return std::move(out_);
}

// --- LZ77 parse

std::vector<TToken> Tokenize(std::span<const std::uint8_t> data, const TMatchRules& rules) {
  constexpr unsigned kHashBits = 15;
  constexpr unsigned kMaxChain = 48;
  const std::size_t n = data.size();
  std::vector<std::int64_t> head(std::size_t(1) << kHashBits, -1), prevPos(n, -1);
  auto hash = [&](std::size_t i) {
    return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & ((1u << kHashBits) - 1);
  };
  auto insert = [&](std::size_t i) {
    if (i + 2 >= n) return;
    const unsigned h = hash(i);
    prevPos[i] = head[h];
    head[h] = std::int64_t(i);
  };
  std::vector<TToken> tokens;
  std::size_t i = 0;
  while (i < n) {
    std::uint32_t bestLen = 0, bestDist = 0;
    if (i + 2 < n) {
      unsigned chain = 0;
      for (std::int64_t j = head[hash(i)]; j >= 0 && chain < kMaxChain; j = prevPos[std::size_t(j)], ++chain) {
        const std::uint32_t dist = std::uint32_t(i - std::size_t(j));
        if (dist > rules.maxDistance) break;
        std::uint32_t len = 0;
        while (len < rules.maxLength && i + len < n && data[std::size_t(j) + len] == data[i + len]) ++len;
        if (rules.reduceRule && len == 3 && dist <= 256) continue;
        if (len > bestLen) {
          bestLen = len;
          bestDist = dist;
        }
      }
    }
    if (bestLen >= rules.minLength) {
      tokens.push_back({bestLen, bestDist});
      for (std::uint32_t k = 0; k < bestLen; ++k) insert(i + k);
      i += bestLen;
    } else {
      tokens.push_back({data[i], 0});
      insert(i);
      ++i;
    }
  }
  return tokens;
}

// --- Shrink

namespace {

constexpr unsigned kShrinkCodes = 8192;
constexpr unsigned kFirstString = 257;
// How close to full the shrink table may get before a partial clear is sent.
constexpr unsigned kClearMargin = 256;
constexpr std::uint16_t kFree = 0xFFFF;

struct TShrinkTable {
  std::vector<std::uint16_t> prefix = std::vector<std::uint16_t>(kShrinkCodes + 1, kFree);
  std::vector<std::uint8_t> suffix = std::vector<std::uint8_t>(kShrinkCodes + 1, 0);
  // child[code * 256 + byte]: the code extending `code` by `byte`, 0 for none.
  std::vector<std::uint16_t> child = std::vector<std::uint16_t>(std::size_t(kShrinkCodes) * 256, 0);
  unsigned nextFree = kFirstString;

  TShrinkTable() {
    for (unsigned c = 0; c < 256; ++c) {
      prefix[c] = 0;
      suffix[c] = std::uint8_t(c);
    }
  }
  void Advance() {
    while (nextFree < kShrinkCodes && prefix[nextFree] != kFree) ++nextFree;
  }
  void Add(unsigned prev, std::uint8_t b) {
    prefix[nextFree] = std::uint16_t(prev);
    suffix[nextFree] = b;
    child[prev * 256 + b] = std::uint16_t(nextFree);
    Advance();
  }
  bool IsPrefix(unsigned code) const {
    for (unsigned c = kFirstString; c < kShrinkCodes; ++c)
      if (prefix[c] == code) return true;
    return false;
  }
  // Frees the codes that are no other code's prefix.
  void PartialClear() {
    std::vector<bool> used(kShrinkCodes, false);
    for (unsigned c = kFirstString; c < kShrinkCodes; ++c)
      if (prefix[c] != kFree && prefix[c] >= kFirstString) used[prefix[c]] = true;
    for (unsigned c = kFirstString; c < kShrinkCodes; ++c) {
      if (prefix[c] == kFree || used[c]) continue;
      child[prefix[c] * 256u + suffix[c]] = 0;
      prefix[c] = kFree;
    }
    nextFree = kFirstString;
    Advance();
  }
};

}  // namespace

Bytes Shrink(std::span<const std::uint8_t> data, bool partialClears) {
  constexpr unsigned kControl = 256, kWiden = 1, kClear = 2;
  TShrinkTable t;
  TBitWriter w;
  unsigned width = 9;
  auto emit = [&](unsigned code) {
    while (code >= (1u << width)) {
      w.Put(kControl, width);
      w.Put(kWiden, width);
      ++width;
    }
    w.Put(code, width);
  };
  std::size_t pos = 0;
  int prev = -1;
  while (pos < data.size()) {
    if (prev >= 0) {
      // The decoder adds (previous code, first byte of this string) when it
      // reads this code, after any control codes in front of it. A clear must
      // keep the previous code, or that entry would hang off a freed code. The
      // stock unzip refuses any code read while the table is full, so the
      // clear comes at the first safe code once the table is nearly full.
      if (t.nextFree >= kShrinkCodes - kClearMargin && partialClears &&
          (unsigned(prev) < kFirstString || t.IsPrefix(unsigned(prev)))) {
        w.Put(kControl, width);
        w.Put(kClear, width);
        t.PartialClear();
      }
      if (t.nextFree < kShrinkCodes) t.Add(unsigned(prev), data[pos]);
    }
    unsigned code = data[pos];
    std::size_t len = 1;
    while (pos + len < data.size()) {
      const unsigned next = t.child[code * 256u + data[pos + len]];
      if (next == 0) break;
      code = next;
      ++len;
    }
    emit(code);
    prev = int(code);
    pos += len;
  }
  return w.Finish();
}

// --- Reduce

TMatchRules ReduceRules(int factor) {
  const std::uint32_t lengthMask = 0xFFu >> factor;
  return {((1u << factor) - 1) * 256 + 256, 3, lengthMask + 255 + 3, true};
}

Bytes ReduceTokens(const std::vector<TToken>& tokens, int factor, unsigned maxFollowers) {
  constexpr unsigned kDle = 144;
  const unsigned lengthMask = 0xFFu >> factor;
  const unsigned distShift = 8u - unsigned(factor);
  // The symbol stream, then follower sets from its pair statistics.
  std::vector<std::uint8_t> symbols;
  for (const TToken& t : tokens) {
    if (t.distance == 0) {
      symbols.push_back(std::uint8_t(t.value));
      if (t.value == kDle) symbols.push_back(0);
      continue;
    }
    const unsigned len = t.value - 3, d = t.distance - 1;
    if (len > lengthMask + 255 || (d >> 8) > ((1u << factor) - 1) || (len == 0 && d < 256))
      throw std::invalid_argument("match not representable in reduce");
    symbols.push_back(std::uint8_t(kDle));
    symbols.push_back(std::uint8_t(std::min(len, lengthMask) | ((d >> 8) << distShift)));
    if (len >= lengthMask) symbols.push_back(std::uint8_t(len - lengthMask));
    symbols.push_back(std::uint8_t(d & 0xFF));
  }
  std::vector<std::vector<unsigned>> pairs(256, std::vector<unsigned>(256, 0));
  unsigned last = 0;
  for (std::uint8_t s : symbols) {
    ++pairs[last][s];
    last = s;
  }
  std::vector<std::vector<std::uint8_t>> sets(256);
  for (unsigned v = 0; v < 256; ++v) {
    std::vector<unsigned> order;
    for (unsigned s = 0; s < 256; ++s)
      if (pairs[v][s] >= 2) order.push_back(s);
    std::stable_sort(order.begin(), order.end(), [&](unsigned a, unsigned b) { return pairs[v][a] > pairs[v][b]; });
    if (order.size() > maxFollowers) order.resize(maxFollowers);
    sets[v].assign(order.begin(), order.end());
  }
  TBitWriter w;
  for (int v = 255; v >= 0; --v) {
    w.Put(unsigned(sets[v].size()), 6);
    for (std::uint8_t f : sets[v]) w.Put(f, 8);
  }
  last = 0;
  for (std::uint8_t s : symbols) {
    const auto& set = sets[last];
    if (set.empty()) {
      w.Put(s, 8);
    } else {
      const auto it = std::find(set.begin(), set.end(), s);
      if (it == set.end()) {
        w.Put(1, 1);
        w.Put(s, 8);
      } else {
        unsigned bits = 1;
        while ((1u << bits) < set.size()) ++bits;
        w.Put(0, 1);
        w.Put(unsigned(it - set.begin()), bits);
      }
    }
    last = s;
  }
  return w.Finish();
}

Bytes Reduce(std::span<const std::uint8_t> data, int factor, unsigned maxFollowers) {
  return ReduceTokens(Tokenize(data, ReduceRules(factor)), factor, maxFollowers);
}

// --- Implode

namespace {

constexpr unsigned kMaxCodeBits = 16;
constexpr unsigned kLongLength = 63;

unsigned LowBits(bool dictionary8k) { return dictionary8k ? 7 : 6; }

// Huffman code lengths of at most 16 bits for every symbol (all symbols get a
// code: implode trees have no unused entries).
std::vector<std::uint8_t> CodeLengths(std::vector<std::uint64_t> freq) {
  for (;;) {
    struct TNode {
      std::uint64_t weight;
      int left, right;
    };
    std::vector<TNode> nodes;
    using TItem = std::pair<std::uint64_t, int>;
    std::priority_queue<TItem, std::vector<TItem>, std::greater<>> q;
    for (std::size_t i = 0; i < freq.size(); ++i) {
      nodes.push_back({freq[i] + 1, -1, -1});
      q.push({freq[i] + 1, int(i)});
    }
    while (q.size() > 1) {
      const TItem a = q.top();
      q.pop();
      const TItem b = q.top();
      q.pop();
      nodes.push_back({a.first + b.first, a.second, b.second});
      q.push({a.first + b.first, int(nodes.size() - 1)});
    }
    std::vector<std::uint8_t> lengths(freq.size(), 0);
    std::vector<std::pair<int, unsigned>> stack{{q.top().second, 0}};
    unsigned longest = 0;
    while (!stack.empty()) {
      const auto [node, depth] = stack.back();
      stack.pop_back();
      if (nodes[std::size_t(node)].left < 0) {
        lengths[std::size_t(node)] = std::uint8_t(std::max(1u, depth));
        longest = std::max(longest, depth);
      } else {
        stack.push_back({nodes[std::size_t(node)].left, depth + 1});
        stack.push_back({nodes[std::size_t(node)].right, depth + 1});
      }
    }
    if (longest <= kMaxCodeBits) return lengths;
    for (auto& f : freq) f >>= 1;
  }
}

}  // namespace

TMatchRules ImplodeRules(bool dictionary8k, bool literalTree) {
  const std::uint32_t minLength = literalTree ? 3 : 2;
  return {64u << LowBits(dictionary8k), minLength, minLength + kLongLength + 255, false};
}

std::uint16_t ImplodeFlags(bool dictionary8k, bool literalTree) {
  return std::uint16_t((dictionary8k ? 0x02 : 0) | (literalTree ? 0x04 : 0));
}

Bytes DescribeTree(const std::vector<std::uint8_t>& lengths) {
  // The count byte comes first; it is filled in once the runs are known.
  Bytes out(1, 0);
  for (std::size_t i = 0; i < lengths.size();) {
    std::size_t j = i;
    while (j < lengths.size() && j - i < 16 && lengths[j] == lengths[i]) ++j;
    out.push_back(std::uint8_t(((j - i - 1) << 4) | (lengths[i] - 1u)));
    i = j;
  }
  out[0] = std::uint8_t(out.size() - 2);
  return out;
}

std::vector<std::uint32_t> StreamCodes(const std::vector<std::uint8_t>& lengths) {
  // Sort by length, keeping the symbol order for equal lengths, then hand out
  // codes from the end of that order (the application note's procedure).
  std::vector<unsigned> order(lengths.size());
  for (unsigned i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](unsigned a, unsigned b) { return lengths[a] < lengths[b]; });
  std::vector<std::uint32_t> codes(lengths.size());
  std::uint32_t code = 0, increment = 0;
  unsigned lastLength = 0;
  for (std::size_t i = order.size(); i-- > 0;) {
    const unsigned sym = order[i], len = lengths[sym];
    code += increment;
    if (len != lastLength) {
      lastLength = len;
      increment = 1u << (16 - len);
    }
    // The code's top `len` bits, reversed into stream order. The procedure's
    // codes are already the complement of the canonical ones; they are written
    // as they are.
    const std::uint32_t top = (code >> (16 - len)) & ((1u << len) - 1);
    std::uint32_t reversed = 0;
    for (unsigned b = 0; b < len; ++b) reversed |= ((top >> b) & 1u) << (len - 1 - b);
    codes[sym] = reversed;
  }
  return codes;
}

TImplodeTrees ChooseTrees(const std::vector<TToken>& tokens, bool dictionary8k, bool literalTree) {
  const unsigned minLength = literalTree ? 3 : 2;
  std::vector<std::uint64_t> lit(256, 0), len(64, 0), dist(64, 0);
  for (const TToken& t : tokens) {
    if (t.distance == 0) {
      ++lit[t.value];
    } else {
      ++len[std::min(t.value - minLength, kLongLength)];
      ++dist[(t.distance - 1) >> LowBits(dictionary8k)];
    }
  }
  TImplodeTrees trees;
  if (literalTree) trees.literal = CodeLengths(lit);
  trees.length = CodeLengths(len);
  trees.distance = CodeLengths(dist);
  return trees;
}

Bytes ImplodeTokens(const std::vector<TToken>& tokens, bool dictionary8k, const TImplodeTrees& trees) {
  const bool literalTree = !trees.literal.empty();
  const unsigned minLength = literalTree ? 3 : 2, lowBits = LowBits(dictionary8k);
  Bytes out;
  for (const auto* lengths : {&trees.literal, &trees.length, &trees.distance}) {
    if (lengths->empty()) continue;
    const Bytes d = DescribeTree(*lengths);
    out.insert(out.end(), d.begin(), d.end());
  }
  std::vector<std::uint32_t> litCodes;
  if (literalTree) litCodes = StreamCodes(trees.literal);
  const auto lenCodes = StreamCodes(trees.length), distCodes = StreamCodes(trees.distance);
  TBitWriter w;
  for (const TToken& t : tokens) {
    if (t.distance == 0) {
      w.Put(1, 1);
      if (literalTree)
        w.Put(litCodes[t.value], trees.literal[t.value]);
      else
        w.Put(t.value, 8);
      continue;
    }
    const unsigned d = t.distance - 1, l = t.value - minLength;
    if (d >> lowBits >= 64 || l > kLongLength + 255) throw std::invalid_argument("match not representable in implode");
    w.Put(0, 1);
    w.Put(d & ((1u << lowBits) - 1), lowBits);
    w.Put(distCodes[d >> lowBits], trees.distance[d >> lowBits]);
    const unsigned lc = std::min(l, kLongLength);
    w.Put(lenCodes[lc], trees.length[lc]);
    if (lc == kLongLength) w.Put(l - kLongLength, 8);
  }
  const Bytes codes = w.Finish();
  out.insert(out.end(), codes.begin(), codes.end());
  return out;
}

Bytes Implode(std::span<const std::uint8_t> data, bool dictionary8k, bool literalTree) {
  const auto tokens = Tokenize(data, ImplodeRules(dictionary8k, literalTree));
  return ImplodeTokens(tokens, dictionary8k, ChooseTrees(tokens, dictionary8k, literalTree));
}

}  // namespace legacytest
