// db::Connect: the Provider= keyword picks the backend.
#include "Backends.h"

namespace db {
namespace {

constexpr const char* kSqliteProvider = "SQLite";
[[maybe_unused]] constexpr const char* kPostgresProvider = "PostgreSQL";

[[maybe_unused]] bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// SQLOLEDB, SQLOLEDB.1, SQLNCLI, SQLNCLI11, MSOLEDBSQL, MSOLEDBSQL19 ...
[[maybe_unused]] bool IsSqlServerProvider(std::string_view provider) {
  return EqualsNoCase(provider, "SQLOLEDB") || EqualsNoCase(provider, "SQLOLEDB.1") ||
         StartsWithNoCase(provider, "SQLNCLI") || StartsWithNoCase(provider, "MSOLEDBSQL");
}

// The keywords that follow Provider in the launcher's settings.
constexpr std::string_view kFollowingKeywords[] = {"Password=", "Persist Security Info=", "User ID=",
                                                    "Initial Catalog=", "Data Source="};

std::size_t FindNoCase(std::string_view text, std::string_view word) {
  for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
    if (EqualsNoCase(text.substr(i, word.size()), word)) return i;
  }
  return std::string_view::npos;
}

}  // namespace

std::string ProviderForMessage(const std::string& provider) {
  std::size_t cut = std::string::npos;
  std::string_view keyword;
  for (std::string_view k : kFollowingKeywords) {
    const std::size_t at = FindNoCase(provider, k);
    if (at < cut) {
      cut = at;
      keyword = k;
    }
  }
  // Built by appending: GCC 12 warns falsely (-Wrestrict) on "literal" + string.
  std::string text = "\"";
  if (cut == std::string::npos) {
    text += provider;
    text += '"';
    return text;
  }
  // A value written without its ";" ran into the next keyword: name the provider
  // only up to it, so that a password behind it never shows in a message.
  text.append(provider, 0, cut);
  text += "\" (the value runs into \"";
  text += keyword;
  text += "\": a \";\" is missing after the provider)";
  return text;
}

namespace {

[[maybe_unused, noreturn]] void NotInThisBuild(const std::string& provider, const std::string& why) {
  throw Error("The database provider " + ProviderForMessage(provider) + " is not available in this build: " + why);
}

}  // namespace

Error NoSuchColumn(const std::string& column) {
  return Error("The query result has no column \"" + column + "\"");
}

bool IsPortNumber(std::string_view text) {
  // Five digits at most: 65535 is the highest port.
  constexpr std::size_t kMaxPortDigits = 5;
  constexpr long kMaxPort = 65535;
  if (text.empty() || text.size() > kMaxPortDigits) return false;
  long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value > 0 && value <= kMaxPort;
}

std::string TrimMessage(std::string message) {
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
    message.pop_back();
  }
  return message;
}

std::unique_ptr<Connection> Connect(const std::string& connectionString) {
  const ConnectionString settings(connectionString);
  const auto provider = settings.Find("Provider");
  if (!provider || provider->empty()) {
    throw Error("The connection string names no database provider (Provider=)");
  }
  if (EqualsNoCase(*provider, kSqliteProvider)) {
#ifdef TW_DB_HAVE_SQLITE
    return ConnectSqlite(settings);
#else
    NotInThisBuild(*provider, "it was built without SQLite (run tools/fetch-sqlite-source and configure again)");
#endif
  }
#ifdef TW_DB_HAVE_ADO
  // Windows: every other provider is an OLE DB provider that ADO finds itself.
  return ConnectAdo(connectionString, *provider);
#else
  if (IsSqlServerProvider(*provider)) {
#ifdef TW_DB_HAVE_TDS
    return ConnectTds(settings);
#else
    NotInThisBuild(*provider, "it was built without FreeTDS");
#endif
  }
  if (EqualsNoCase(*provider, kPostgresProvider)) {
#ifdef TW_DB_HAVE_POSTGRES
    return ConnectPostgres(settings);
#else
    NotInThisBuild(*provider, "it was built without libpq");
#endif
  }
  throw Error("Unknown database provider " + ProviderForMessage(*provider));
#endif
}

}  // namespace db
