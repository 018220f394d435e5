// The embedded backend: Provider=SQLite; Data Source=<database file>.
#include <sqlite3.h>

#include "Backends.h"

namespace db {
namespace {

// How long a statement waits for another process's write lock before failing.
constexpr int kBusyTimeoutMs = 5000;

class SqliteConnection final : public Connection {
 public:
  explicit SqliteConnection(const std::string& path) {
    // Read-only, never SQLITE_OPEN_CREATE: a mistyped path must not leave an
    // empty database behind and then report a missing table.
    const int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK) {
      std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
      sqlite3_close(db_);
      db_ = nullptr;
      throw Error("Cannot open the SQLite database \"" + path + "\": " + message);
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  }
  ~SqliteConnection() override { sqlite3_close(db_); }
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  FirstRow FirstRowBlob(const std::string& sql, const std::string& column) override {
    Statement statement(db_, sql);
    sqlite3_stmt* stmt = statement.get();
    const int index = FindColumn(sqlite3_column_count(stmt), column,
                                 [&](int i) { return sqlite3_column_name(stmt, i); });
    if (index < 0) throw NoSuchColumn(column);
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) return {};
    if (rc != SQLITE_ROW) throw Failure("Cannot read the query result");
    if (sqlite3_column_type(stmt, index) == SQLITE_NULL) return {true, std::nullopt};
    const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt, index));
    const int size = sqlite3_column_bytes(stmt, index);
    if (bytes == nullptr && size > 0) throw Failure("Cannot read the blob");  // out of memory
    return {true, Blob(bytes, bytes + size)};
  }

 private:
  // A prepared statement, finalized on every way out.
  class Statement {
   public:
    Statement(sqlite3* db, const std::string& sql) {
      if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK) {
        std::string message = sqlite3_errmsg(db);
        sqlite3_finalize(stmt_);
        throw Error("SQLite: " + message);
      }
      if (stmt_ == nullptr) throw Error("SQLite: the SQL text holds no statement");
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return stmt_; }

   private:
    sqlite3_stmt* stmt_ = nullptr;
  };

  Error Failure(const std::string& what) const { return Error(what + ": " + sqlite3_errmsg(db_)); }

  sqlite3* db_ = nullptr;
};

}  // namespace

std::unique_ptr<Connection> ConnectSqlite(const ConnectionString& settings) {
  const std::string path = settings.Value("Data Source");
  if (path.empty()) throw Error("The SQLite connection string names no database file (Data Source=)");
  return std::make_unique<SqliteConnection>(path);
}

}  // namespace db
