// A component's stored properties: named values (integers, booleans, texts, text
// lists and binary blobs) and nested components, as a form carries them in its
// form data. Saved to and loaded from a little-endian byte stream:
//
//   stream    = "TWFD" u16:version component
//   component = str:className str:name u32:count property* u32:count component*
//   property  = str:name u8:kind value
//   value     = i64 | u8 (boolean) | str | u32:count str* | u32:length bytes
//   str       = u32:length bytes (UTF-8)
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/Exception.h"

namespace platform {

class EFormDataError : public Exception {
 public:
  using Exception::Exception;
};

class FormData {
 public:
  using Bytes = std::vector<std::uint8_t>;
  using Strings = std::vector<std::string>;
  using Value = std::variant<std::int64_t, bool, std::string, Strings, Bytes>;

  FormData() = default;
  FormData(std::string className, std::string name)
      : className_(std::move(className)), name_(std::move(name)) {}

  const std::string& ClassName() const { return className_; }
  const std::string& Name() const { return name_; }

  // Sets a property, replacing one of the same name (names compare exactly).
  void Set(std::string_view name, Value value);
  const Value* Find(std::string_view name) const;
  const std::vector<std::pair<std::string, Value>>& Properties() const { return properties_; }

  // Typed reads: the stored value, or `fallback` when absent. A property of another
  // kind than asked for is an error.
  std::int64_t Integer(std::string_view name, std::int64_t fallback = 0) const;
  bool Boolean(std::string_view name, bool fallback = false) const;
  std::string String(std::string_view name, std::string_view fallback = {}) const;
  Strings StringList(std::string_view name) const;
  // nullptr when absent.
  const Bytes* Binary(std::string_view name) const;

  FormData& AddChild(std::string className, std::string name);
  const std::vector<FormData>& Children() const { return children_; }
  const FormData* FindChild(std::string_view name) const;

  Bytes Save() const;
  // Throws EFormDataError for a stream that is truncated or malformed.
  static FormData Load(std::span<const std::uint8_t> bytes);

  friend bool operator==(const FormData&, const FormData&) = default;

 private:
  template <typename T>
  const T* Get(std::string_view name) const;

  std::string className_;
  std::string name_;
  std::vector<std::pair<std::string, Value>> properties_;
  std::vector<FormData> children_;
};

}  // namespace platform
