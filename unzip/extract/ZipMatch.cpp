#include "extract/ZipMatch.h"

#include <string>

#include "platform/Text.h"

namespace unzip {
namespace {

// A parsed "<...>" set: the items between the brackets and the negation flag.
struct CharSet {
  std::string_view items;
  bool negated = false;

  bool Accepts(unsigned char c) const {
    bool in = false;
    for (std::size_t i = 0; i < items.size() && !in; ++i) {
      if (i + 2 < items.size() && items[i + 1] == '-') {
        in = c >= static_cast<unsigned char>(items[i]) && c <= static_cast<unsigned char>(items[i + 2]);
        i += 2;
      } else {
        in = c == static_cast<unsigned char>(items[i]);
      }
    }
    return in != negated;
  }
};

// Parses the set starting at p[at] == '<'; returns the index after '>' or npos
// for a set that is empty, unclosed, or has a range with nothing after "-".
std::size_t ReadSet(std::string_view p, std::size_t at, CharSet& set) {
  std::size_t i = at + 1;
  set.negated = i < p.size() && (p[i] == '!' || p[i] == '^');
  if (set.negated) ++i;
  const std::size_t start = i;
  while (i < p.size() && p[i] != '>') {
    if (i + 1 < p.size() && p[i + 1] == '-') {
      if (i + 2 >= p.size() || p[i + 2] == '>') return std::string_view::npos;
      i += 3;
    } else {
      ++i;
    }
  }
  if (i >= p.size() || i == start) return std::string_view::npos;
  set.items = p.substr(start, i - start);
  return i + 1;
}

bool Match(std::string_view p, std::string_view t);

// The text after a star: R is the pattern from the star (or after the star's
// set), U the rest of the text.
bool ResolveStar(std::string_view r, std::string_view u, const CharSet* starSet) {
  const bool emptyRest = r.empty();
  std::size_t pi = 0;
  std::size_t ti = 0;
  while (pi < r.size() && (r[pi] == '*' || r[pi] == '?')) {
    if (r[pi] == '?') {
      if (ti >= u.size()) break;
      ++ti;
    }
    ++pi;
  }
  if (ti >= u.size()) return false;
  // A star with a set at the very end still has to check the rest against the set.
  if (pi >= r.size() && !(starSet && emptyRest)) return true;
  for (std::size_t j = ti; j < u.size(); ++j) {
    if (pi < r.size() && (u[j] == r[pi] || r[pi] == '<') && Match(r.substr(pi), u.substr(j))) return true;
    if (starSet && !starSet->Accepts(static_cast<unsigned char>(u[j]))) return false;
  }
  return emptyRest;
}

bool Match(std::string_view p, std::string_view t) {
  if (p == "*") return true;
  std::size_t pi = 0;
  std::size_t ti = 0;
  while (pi < p.size()) {
    if (ti >= t.size()) return p[pi] == '*' && pi + 1 == p.size();
    if (p[pi] == '*') {
      CharSet set;
      const CharSet* starSet = nullptr;
      std::size_t rest = pi;
      if (pi + 1 < p.size() && p[pi + 1] == '<') {
        rest = ReadSet(p, pi + 1, set);
        if (rest == std::string_view::npos) return false;
        starSet = &set;
      }
      return ResolveStar(p.substr(rest), t.substr(ti), starSet);
    }
    if (p[pi] == '<') {
      CharSet set;
      const std::size_t next = ReadSet(p, pi, set);
      if (next == std::string_view::npos || !set.Accepts(static_cast<unsigned char>(t[ti]))) return false;
      pi = next;
      ++ti;
      continue;
    }
    if (p[pi] != '?' && p[pi] != t[ti]) return false;
    ++pi;
    ++ti;
  }
  return ti >= t.size();
}

}  // namespace

bool MatchesPattern(std::string_view pattern, std::string_view text) {
  return Match(platform::AsciiLower(pattern), platform::AsciiLower(text));
}

}  // namespace unzip
