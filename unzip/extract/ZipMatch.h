// Wildcard matching of entry paths: "*", "?" and "<...>" character sets.
#pragma once
#include <string_view>

namespace unzip {

// Both sides are compared lower-cased (ASCII letters); "\" is an ordinary
// character, so "*" runs across folders. A set "<abc>", "<a-z>" or negated
// "<!...>" / "<^...>" stands for one character; "*<set>" for a run of them.
bool MatchesPattern(std::string_view pattern, std::string_view text);

}  // namespace unzip
