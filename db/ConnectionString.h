// An OLE DB connection string taken apart: "key=value" items separated by ";".
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Text.h"

namespace db {

// Rules: blanks around keys and values are dropped; keys match without regard to
// (ASCII) case; a value may be quoted with " or ' (the quote doubled inside stands
// for itself), which is how a value holds ";" or leading blanks; "==" in a key
// stands for a literal "="; an empty item (";;") is skipped; when a key appears
// twice the last one wins. A malformed string throws db::Error.
class ConnectionString {
 public:
  ConnectionString() = default;
  explicit ConnectionString(std::string_view text);

  // The value of `key`, or std::nullopt when the string does not name it.
  std::optional<std::string> Find(std::string_view key) const;
  // The value of `key`, empty when absent.
  std::string Value(std::string_view key) const { return Find(key).value_or(std::string()); }
  bool Has(std::string_view key) const { return Find(key).has_value(); }

  // The items in the order of their last occurrence, keys as written.
  const std::vector<std::pair<std::string, std::string>>& Items() const { return items_; }

 private:
  std::vector<std::pair<std::string, std::string>> items_;
};

using platform::EqualsNoCase;
// True for the OLE DB truth values "true", "yes" and "sspi" (any case).
bool IsTrueValue(std::string_view value);

}  // namespace db
