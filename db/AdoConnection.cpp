// Windows: any OLE DB provider through ADO's own interfaces (vtable calls: no
// type library needs to be registered, which Wine's ADO does not do).
#include <windows.h>
// after windows.h, which they need (ole2.h: WIN32_LEAN_AND_MEAN leaves COM out)
#include <ole2.h>
// mingw's adoint.h holds a few empty declarations that C++ accepts only with
// -fpermissive (set for this file); as a system header it then stays quiet.
#include <adoint.h>

#include <utility>

#include "Backends.h"

namespace db {
namespace {

// ADO's interface identifiers, which mingw declares but does not define. Each
// interface has two: the current one (0x00001550...) and the one that ADO before
// Windows 7 SP1 used (0x00000550...), which Windows still answers and Wine's ADO
// alone knows. The two share one vtable layout.
constexpr IID AdoIid(unsigned long data1) {
  return {data1, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
}
constexpr IID kIidConnection[] = {AdoIid(0x00001550), AdoIid(0x00000550)};
constexpr IID kIidRecordset[] = {AdoIid(0x00001556), AdoIid(0x00000556)};

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Utf8(const wchar_t* wide, int length) {
  if (wide == nullptr || length == 0) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8.data(), n, nullptr, nullptr);
  return utf8;
}

std::string Utf8(BSTR text) { return Utf8(text, static_cast<int>(SysStringLen(text))); }

// An owned BSTR.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const std::string& utf8) {
    const std::wstring wide = Wide(utf8);
    b_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  }
  ~Bstr() { SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return b_; }
  BSTR* out() { return &b_; }

 private:
  BSTR b_ = nullptr;
};

class Variant {
 public:
  Variant() { VariantInit(&v_); }
  ~Variant() { VariantClear(&v_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT* out() { return &v_; }
  const VARIANT& get() const { return v_; }
  // Arguments passed by value: the callee copies what it keeps.
  static VARIANT Borrow(BSTR text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = text;
    return v;
  }
  static VARIANT Borrow(IDispatch* object) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    return v;
  }
  static VARIANT Index(long i) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = i;
    return v;
  }

 private:
  VARIANT v_;
};

// A COM reference, released at the end.
template <typename T>
class Ref {
 public:
  Ref() = default;
  ~Ref() {
    if (p_ != nullptr) p_->Release();
  }
  Ref(Ref&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  Ref& operator=(Ref&& other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  T** out() { return &p_; }

 private:
  T* p_ = nullptr;
};

std::string SystemText(HRESULT hr) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = TrimMessage(Utf8(buffer, static_cast<int>(n)));
  LocalFree(buffer);
  char code[16];
  wsprintfA(code, "0x%08lX", static_cast<unsigned long>(hr));
  return text.empty() ? std::string("error ") + code : text + " (" + code + ")";
}

// ADO's adErrProviderNotFound (error 3706) as an HRESULT.
constexpr HRESULT kAdoProviderNotFound = static_cast<HRESULT>(0x800A0E7A);

bool IsProviderMissing(HRESULT hr) {
  return hr == kAdoProviderNotFound || hr == CO_E_CLASSSTRING || hr == REGDB_E_CLASSNOTREG;
}

// The text of a failed ADO call: the provider's description when it left one.
std::string FailureText(HRESULT hr) {
  Ref<IErrorInfo> info;
  if (GetErrorInfo(0, info.out()) == S_OK && info.get() != nullptr) {
    Bstr description;
    if (SUCCEEDED(info->GetDescription(description.out()))) {
      std::string text = TrimMessage(Utf8(description.get()));
      if (!text.empty()) return text;
    }
  }
  if (IsProviderMissing(hr)) return "the provider is not installed on this computer (" + SystemText(hr) + ")";
  return SystemText(hr);
}

void Check(HRESULT hr, const std::string& what) {
  if (FAILED(hr)) throw Error(what + ": " + FailureText(hr));
}

template <typename T, std::size_t N>
Ref<T> Create(const wchar_t* progId, const IID (&iids)[N]) {
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(progId, &clsid);
  Ref<T> object;
  for (const IID& iid : iids) {
    if (FAILED(hr) && hr != E_NOINTERFACE) break;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, reinterpret_cast<void**>(object.out()));
    if (SUCCEEDED(hr)) break;
  }
  if (FAILED(hr)) throw Error("ADO is not available (" + Utf8(progId, lstrlenW(progId)) + "): " + SystemText(hr));
  return object;
}

// COM for the calling thread, for as long as the connection lives.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();  // RPC_E_CHANGED_MODE: someone else's COM, not ours to end
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

class AdoConnection final : public Connection {
 public:
  AdoConnection(const std::string& connectionString, const std::string& provider) {
    connection_ = Create<_ADOConnection>(L"ADODB.Connection", kIidConnection);
    const Bstr text(connectionString);
    Check(connection_->Open(text.get(), nullptr, nullptr, adConnectUnspecified),
          "Cannot connect through the OLE DB provider " + ProviderForMessage(provider));
    open_ = true;
  }
  ~AdoConnection() override {
    if (open_) connection_->Close();
  }
  AdoConnection(const AdoConnection&) = delete;
  AdoConnection& operator=(const AdoConnection&) = delete;

  FirstRow FirstRowBlob(const std::string& sql, const std::string& column) override {
    auto recordset = Create<_ADORecordset>(L"ADODB.Recordset", kIidRecordset);
    const Bstr text(sql);
    // A static cursor, read-only: the launcher only reads the first row.
    Check(recordset->Open(Variant::Borrow(text.get()), Variant::Borrow(connection_.get()), adOpenStatic,
                          adLockReadOnly, adCmdText),
          "The query failed");
    FirstRow first = Read(recordset.get(), column);
    recordset->Close();
    return first;
  }

 private:
  // A provider that fetches no rows (Wine's, which runs the query but returns
  // none) shows up here as a result without rows, not as a NULL value.
  static FirstRow Read(_ADORecordset* recordset, const std::string& column) {
    Ref<ADOFields> fields;
    Check(recordset->get_Fields(fields.out()), "Cannot read the result's columns");
    long count = 0;
    Check(fields->get_Count(&count), "Cannot read the result's columns");
    Ref<ADOField> field;
    for (long i = 0; i < count && field.get() == nullptr; ++i) {
      Ref<ADOField> candidate;
      Check(fields->get_Item(Variant::Index(i), candidate.out()), "Cannot read the result's columns");
      Bstr name;
      if (SUCCEEDED(candidate->get_Name(name.out())) && EqualsNoCase(Utf8(name.get()), column)) {
        field = std::move(candidate);
      }
    }
    if (field.get() == nullptr) throw NoSuchColumn(column);
    VARIANT_BOOL eof = VARIANT_FALSE;
    Check(recordset->get_EOF(&eof), "Cannot read the result");
    if (eof != VARIANT_FALSE) return {};
    Variant value;
    Check(field->get_Value(value.out()), "Cannot read the column \"" + column + "\"");
    const VARIANT& v = value.get();
    if (v.vt == VT_NULL || v.vt == VT_EMPTY) return {true, std::nullopt};
    if (v.vt == VT_BSTR) {
      const std::string utf8 = Utf8(v.bstrVal);
      return {true, Blob(utf8.begin(), utf8.end())};
    }
    if (v.vt != (VT_ARRAY | VT_UI1) || v.parray == nullptr) {
      throw Error("The column \"" + column + "\" does not hold binary data");
    }
    void* data = nullptr;
    Check(SafeArrayAccessData(v.parray, &data), "Cannot read the column \"" + column + "\"");
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    Blob blob(bytes, bytes + v.parray->rgsabound[0].cElements);
    SafeArrayUnaccessData(v.parray);
    return {true, std::move(blob)};
  }

  ComScope com_;  // first in, last out: every COM object below is released before it ends
  Ref<_ADOConnection> connection_;
  bool open_ = false;
};

}  // namespace

std::unique_ptr<Connection> ConnectAdo(const std::string& connectionString, const std::string& provider) {
  return std::make_unique<AdoConnection>(connectionString, provider);
}

}  // namespace db
