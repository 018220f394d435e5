#include "ConnectionString.h"

#include <algorithm>

#include "Database.h"

namespace db {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Walks the text once; `pos_` always stands at the start of the next item.
class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  std::vector<std::pair<std::string, std::string>> Run() {
    std::vector<std::pair<std::string, std::string>> items;
    while (pos_ < text_.size()) {
      SkipBlanks();
      if (pos_ >= text_.size()) break;
      if (text_[pos_] == ';') {  // an empty item
        ++pos_;
        continue;
      }
      std::string key = ReadKey();
      std::string value = ReadValue(key);
      auto same = [&](const auto& item) { return EqualsNoCase(item.first, key); };
      items.erase(std::remove_if(items.begin(), items.end(), same), items.end());
      items.emplace_back(std::move(key), std::move(value));
    }
    return items;
  }

 private:
  void SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  }

  [[noreturn]] void Fail(const std::string& what) const {
    throw Error("Invalid connection string: " + what + " (at character " + std::to_string(pos_ + 1) + ")");
  }

  // Up to the first "=" that is not doubled; "==" is a literal "=".
  std::string ReadKey() {
    std::string key;
    while (true) {
      if (pos_ >= text_.size() || text_[pos_] == ';') {
        Fail("an item has no \"=\" after its key");
      }
      char c = text_[pos_++];
      if (c != '=') {
        key += c;
      } else if (pos_ < text_.size() && text_[pos_] == '=') {
        key += '=';
        ++pos_;
      } else {
        break;
      }
    }
    std::string trimmed(Trim(key));
    if (trimmed.empty()) Fail("an item has no key before its \"=\"");
    return trimmed;
  }

  // The value after "=", through the ";" that ends the item. The value itself
  // never appears in a message: it may be a password.
  std::string ReadValue(const std::string& key) {
    SkipBlanks();
    if (pos_ < text_.size() && (text_[pos_] == '"' || text_[pos_] == '\'')) {
      const char quote = text_[pos_++];
      std::string value;
      while (true) {
        if (pos_ >= text_.size()) Fail("the quoted value of \"" + key + "\" has no closing quote");
        char c = text_[pos_++];
        if (c != quote) {
          value += c;
        } else if (pos_ < text_.size() && text_[pos_] == quote) {
          value += quote;
          ++pos_;
        } else {
          break;
        }
      }
      SkipBlanks();
      if (pos_ < text_.size() && text_[pos_] != ';') {
        Fail("unexpected text after the closing quote of the value of \"" + key + "\"");
      }
      if (pos_ < text_.size()) ++pos_;
      return value;
    }
    std::size_t end = text_.find(';', pos_);
    if (end == std::string_view::npos) end = text_.size();
    std::string value(Trim(text_.substr(pos_, end - pos_)));
    pos_ = end < text_.size() ? end + 1 : end;
    return value;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

bool IsTrueValue(std::string_view value) {
  return EqualsNoCase(value, "true") || EqualsNoCase(value, "yes") || EqualsNoCase(value, "sspi");
}

ConnectionString::ConnectionString(std::string_view text) : items_(Parser(text).Run()) {}

std::optional<std::string> ConnectionString::Find(std::string_view key) const {
  for (const auto& [k, v] : items_) {
    if (EqualsNoCase(k, key)) return v;
  }
  return std::nullopt;
}

}  // namespace db
