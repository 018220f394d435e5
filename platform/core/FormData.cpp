#include "platform/FormData.h"

#include <cstring>

namespace platform {

namespace {

constexpr char kMagic[4] = {'T', 'W', 'F', 'D'};
constexpr std::uint16_t kVersion = 1;
// Nested components deeper than this are not a form's data but a hostile stream.
constexpr int kMaxDepth = 32;

enum Kind : std::uint8_t { kInteger = 1, kBoolean = 2, kString = 3, kStrings = 4, kBinary = 5 };

class Writer {
 public:
  FormData::Bytes out;
  void U8(std::uint8_t v) { out.push_back(v); }
  void Uint(std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
  }
  void Str(std::string_view s) {
    Uint(s.size(), 4);
    out.insert(out.end(), s.begin(), s.end());
  }
  void Component(const FormData& c) {
    Str(c.ClassName());
    Str(c.Name());
    Uint(c.Properties().size(), 4);
    for (const auto& [name, value] : c.Properties()) {
      Str(name);
      if (auto* i = std::get_if<std::int64_t>(&value)) {
        U8(kInteger);
        Uint(std::uint64_t(*i), 8);
      } else if (auto* b = std::get_if<bool>(&value)) {
        U8(kBoolean);
        U8(*b ? 1 : 0);
      } else if (auto* s = std::get_if<std::string>(&value)) {
        U8(kString);
        Str(*s);
      } else if (auto* l = std::get_if<FormData::Strings>(&value)) {
        U8(kStrings);
        Uint(l->size(), 4);
        for (const auto& line : *l) Str(line);
      } else {
        const auto& bytes = std::get<FormData::Bytes>(value);
        U8(kBinary);
        Uint(bytes.size(), 4);
        out.insert(out.end(), bytes.begin(), bytes.end());
      }
    }
    Uint(c.Children().size(), 4);
    for (const auto& child : c.Children()) Component(child);
  }
};

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> in) : in_(in) {}
  [[noreturn]] void Fail(const char* what) const {
    throw EFormDataError(std::string("Invalid form data: ") + what + " at offset " + std::to_string(pos_));
  }
  void Need(std::size_t n) const {
    if (in_.size() - pos_ < n) Fail("unexpected end of data");
  }
  std::uint64_t Uint(int n) {
    Need(std::size_t(n));
    std::uint64_t v = 0;
    for (int i = 0; i < n; ++i) v |= std::uint64_t(in_[pos_++]) << (8 * i);
    return v;
  }
  std::string Str() {
    const std::size_t n = std::size_t(Uint(4));
    Need(n);
    std::string s(reinterpret_cast<const char*>(in_.data() + pos_), n);
    pos_ += n;
    return s;
  }
  // A count of items that each take at least `minSize` bytes must fit the rest.
  std::size_t Count(std::size_t minSize) {
    const std::size_t n = std::size_t(Uint(4));
    if (n > (in_.size() - pos_) / minSize) Fail("count exceeds the data");
    return n;
  }
  void Component(FormData& c, int depth) {
    if (depth > kMaxDepth) Fail("components nested too deeply");
    for (std::size_t n = Count(5); n > 0; --n) {
      std::string name = Str();
      const std::uint8_t kind = std::uint8_t(Uint(1));
      switch (kind) {
        case kInteger: c.Set(name, std::int64_t(Uint(8))); break;
        case kBoolean: c.Set(name, Uint(1) != 0); break;
        case kString: c.Set(name, Str()); break;
        case kStrings: {
          FormData::Strings lines(Count(4));
          for (auto& line : lines) line = Str();
          c.Set(name, std::move(lines));
          break;
        }
        case kBinary: {
          const std::size_t size = std::size_t(Uint(4));
          Need(size);
          c.Set(name, FormData::Bytes(in_.begin() + std::ptrdiff_t(pos_), in_.begin() + std::ptrdiff_t(pos_ + size)));
          pos_ += size;
          break;
        }
        default: Fail("unknown property kind");
      }
    }
    for (std::size_t n = Count(12); n > 0; --n) {
      std::string className = Str();
      std::string name = Str();
      Component(c.AddChild(std::move(className), std::move(name)), depth + 1);
    }
  }
  bool AtEnd() const { return pos_ == in_.size(); }

 private:
  std::span<const std::uint8_t> in_;
  std::size_t pos_ = 0;
};

}  // namespace

void FormData::Set(std::string_view name, Value value) {
  for (auto& [n, v] : properties_) {
    if (n == name) {
      v = std::move(value);
      return;
    }
  }
  properties_.emplace_back(std::string(name), std::move(value));
}

const FormData::Value* FormData::Find(std::string_view name) const {
  for (const auto& [n, v] : properties_) {
    if (n == name) return &v;
  }
  return nullptr;
}

template <typename T>
const T* FormData::Get(std::string_view name) const {
  const Value* v = Find(name);
  if (!v) return nullptr;
  const T* typed = std::get_if<T>(v);
  if (!typed) throw EFormDataError("Property \"" + std::string(name) + "\" of " + name_ + " has the wrong kind");
  return typed;
}

std::int64_t FormData::Integer(std::string_view name, std::int64_t fallback) const {
  const auto* v = Get<std::int64_t>(name);
  return v ? *v : fallback;
}

bool FormData::Boolean(std::string_view name, bool fallback) const {
  const auto* v = Get<bool>(name);
  return v ? *v : fallback;
}

std::string FormData::String(std::string_view name, std::string_view fallback) const {
  const auto* v = Get<std::string>(name);
  return v ? *v : std::string(fallback);
}

FormData::Strings FormData::StringList(std::string_view name) const {
  const auto* v = Get<Strings>(name);
  return v ? *v : Strings{};
}

const FormData::Bytes* FormData::Binary(std::string_view name) const { return Get<Bytes>(name); }

FormData& FormData::AddChild(std::string className, std::string name) {
  return children_.emplace_back(std::move(className), std::move(name));
}

const FormData* FormData::FindChild(std::string_view name) const {
  for (const auto& c : children_) {
    if (c.name_ == name) return &c;
  }
  return nullptr;
}

FormData::Bytes FormData::Save() const {
  Writer w;
  for (char c : kMagic) w.U8(std::uint8_t(c));
  w.Uint(kVersion, 2);
  w.Component(*this);
  return std::move(w.out);
}

FormData FormData::Load(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < sizeof kMagic + 2 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
    throw EFormDataError("Invalid form data: missing the \"TWFD\" signature");
  Reader r(bytes.subspan(sizeof kMagic));
  if (r.Uint(2) != kVersion) r.Fail("unknown version");
  std::string className = r.Str();
  std::string name = r.Str();
  FormData data(std::move(className), std::move(name));
  r.Component(data, 0);
  if (!r.AtEnd()) r.Fail("extra bytes after the data");
  return data;
}

}  // namespace platform
