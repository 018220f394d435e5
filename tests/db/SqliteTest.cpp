// The SQLite backend and the package query on databases the tests make.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "db/Query.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using Bytes = std::vector<std::uint8_t>;

constexpr const char* kPackageSql = "select * from t_sys_soft";
constexpr const char* kPackageColumn = "系统";

// Makes a database file with `ddl`, then inserts each blob (NULL for nullptr) into t_sys_soft("系统").
void MakeDatabase(const std::string& path, const std::string& ddl, const std::vector<const Bytes*>& blobs = {}) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, ddl.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  for (const Bytes* blob : blobs) {
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "insert into t_sys_soft(\"系统\") values (?)", -1, &stmt, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    if (blob != nullptr && blob->empty()) {
      sqlite3_bind_zeroblob(stmt, 1, 0);  // a null data pointer would bind NULL instead
    } else if (blob != nullptr) {
      sqlite3_bind_blob64(stmt, 1, blob->data(), blob->size(), SQLITE_TRANSIENT);
    } else {
      sqlite3_bind_null(stmt, 1);
    }
    EXPECT_EQ(sqlite3_step(stmt), SQLITE_DONE) << sqlite3_errmsg(db);
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
}

class SqliteQuery : public testing::Test {
 protected:
  // A UTF-8 folder name: paths travel as UTF-8 down to the file system.
  TempDir dir_{"数据"};
  std::string dbPath_ = dir_.File("软件.db");
  std::string target_ = dir_.File("Tarnwick物流信息管理系统.zip");

  db::Query PackageQuery(const std::string& column = kPackageColumn) const {
    db::Query q;
    q.SetConnectionString("Provider=SQLite;Data Source=" + dbPath_);
    q.SetSQL(kPackageSql);
    q.SetBlobField(column);
    return q;
  }
};

TEST_F(SqliteQuery, SavesTheFirstRowsBlobByteExact) {
  const Bytes package = testing_support::PseudoRandomBytes(5 * 1024 * 1024, 1);
  const Bytes second = testing_support::PseudoRandomBytes(100, 2);
  MakeDatabase(dbPath_, "create table t_sys_soft(id integer primary key, \"系统\" blob, 版本 text)",
               {&package, &second});
  db::Query q;
  q.SetSQL(kPackageSql);
  q.SetBlobField(kPackageColumn);
  // The connection string is set just before the connection is made.
  q.BeforeOpen = [&](db::Query& self) { self.SetConnectionString("Provider=SQLite;Data Source=" + dbPath_); };
  q.Open();
  ASSERT_TRUE(q.Active());
  q.SaveBlobToFile(target_);
  EXPECT_EQ(ReadFile(target_), package);
  // The package appears whole under its own name; no temporary file is left.
  EXPECT_EQ(dir_.List().size(), 2u);
}

TEST_F(SqliteQuery, MatchesTheColumnWithoutRegardToCase) {
  const Bytes bytes{1, 2, 3};
  MakeDatabase(dbPath_, "create table t_sys_soft(\"系统\" blob, Package blob);"
               "insert into t_sys_soft(Package) values (x'010203')");
  db::Query q = PackageQuery("PACKAGE");
  q.Open();
  q.SaveBlobToFile(target_);
  EXPECT_EQ(ReadFile(target_), bytes);
}

// Each way of having no package gives an open query and a file of zero bytes,
// but the query still tells a result without rows from a NULL or empty value.
TEST_F(SqliteQuery, NoRowOrNullOrEmptyBlobGivesAnEmptyFile) {
  const Bytes empty;
  struct Case {
    const char* what;
    std::vector<const Bytes*> rows;
    bool isEmpty, blobIsNull;
  };
  const std::vector<Case> cases{{"no row", {}, true, false},
                                {"NULL", {nullptr}, false, true},
                                {"zero-length blob", {&empty}, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(testing_support::PathFromUtf8(dbPath_));
    MakeDatabase(dbPath_, "create table t_sys_soft(\"系统\" blob)", c.rows);
    db::Query q = PackageQuery();
    q.Open();
    EXPECT_TRUE(q.Active());
    EXPECT_EQ(q.IsEmpty(), c.isEmpty);
    EXPECT_EQ(q.BlobIsNull(), c.blobIsNull);
    q.SaveBlobToFile(target_);
    EXPECT_TRUE(ReadFile(target_).empty());
  }
}

TEST_F(SqliteQuery, ClosedQuerySavesZeroBytesOverAnOldFile) {
  {
    std::ofstream old(testing_support::PathFromUtf8(target_), std::ios::binary);
    old << "old package";
  }
  db::Query q = PackageQuery();  // the database does not exist: the open fails
  EXPECT_THROW(q.Open(), db::Error);
  EXPECT_FALSE(q.Active());
  q.SaveBlobToFile(target_);
  EXPECT_TRUE(ReadFile(target_).empty());
}

struct OpenFailure {
  const char* name;
  std::function<void(const std::string& dbPath)> prepare;
  std::string connection;  // "@" stands for the database path
  std::string column;
  std::string messagePart;  // "@" stands for the database path
  friend void PrintTo(const OpenFailure& c, std::ostream* os) { *os << c.name; }
};

class SqliteOpenFails : public SqliteQuery, public testing::WithParamInterface<OpenFailure> {};

TEST_P(SqliteOpenFails, WithTheBackendsText) {
  const auto& c = GetParam();
  auto expand = [&](std::string s) {
    if (auto at = s.find('@'); at != std::string::npos) s.replace(at, 1, dbPath_);
    return s;
  };
  if (c.prepare) c.prepare(dbPath_);
  db::Query q = PackageQuery(c.column);
  q.SetConnectionString(expand(c.connection));
  try {
    q.Open();
    FAIL() << "opened";
  } catch (const db::Error& e) {
    EXPECT_NE(std::string(e.what()).find(expand(c.messagePart)), std::string::npos) << e.what();
    EXPECT_EQ(std::string(e.what()).find("secret"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(q.Active());
  // A failed open never leaves a database file behind.
  if (!c.prepare) {
    EXPECT_FALSE(std::filesystem::exists(testing_support::PathFromUtf8(dbPath_)));
  }
}

void WithPackageTable(const std::string& path) { MakeDatabase(path, "create table t_sys_soft(\"系统\" blob)"); }

INSTANTIATE_TEST_SUITE_P(
    Cases, SqliteOpenFails,
    testing::Values(
        OpenFailure{"MissingFile", nullptr, "Provider=SQLite;Data Source=@", kPackageColumn, "\"@\""},
        OpenFailure{"NoDataSource", nullptr, "Provider=SQLite", kPackageColumn, "Data Source"},
        OpenFailure{"MissingTable", [](const std::string& p) { MakeDatabase(p, "create table other(x)"); },
                    "Provider=SQLite;Data Source=@", kPackageColumn, "no such table: t_sys_soft"},
        OpenFailure{"MissingColumn", [](const std::string& p) { MakeDatabase(p, "create table t_sys_soft(x blob)"); },
                    "Provider=SQLite;Data Source=@", kPackageColumn, "no column \"系统\""},
        OpenFailure{"NotADatabase",
                    [](const std::string& p) { std::ofstream(testing_support::PathFromUtf8(p)) << std::string(4096, 'x'); },
                    "Provider=SQLite;Data Source=@", kPackageColumn, "file is not a database"},
        OpenFailure{"UnknownProvider", nullptr, "Provider=NoSuchDb;Data Source=@", kPackageColumn, "\"NoSuchDb\""},
        OpenFailure{"NoProvider", nullptr, "Data Source=@", kPackageColumn, "no database provider"},
        OpenFailure{"EmptySettings", nullptr,
                    "Provider=Password=Persist Security Info=User ID=Initial Catalog=Data Source=", kPackageColumn,
                    "provider \"\" (the value runs into \"Password=\": a \";\" is missing"},
        // Values without their ";": the provider is named, the password behind it is not.
        OpenFailure{"RunOnSettings", nullptr,
                    "Provider=SQLOLEDB.1Password=secretPersist Security Info=False;Data Source=@", kPackageColumn,
                    "provider \"SQLOLEDB.1\" (the value runs into \"Password=\""},
        OpenFailure{"Malformed", WithPackageTable, "Provider=SQLite;Data Source='@", kPackageColumn, "closing quote"}),
    [](const testing::TestParamInfo<OpenFailure>& p) { return std::string(p.param.name); });

TEST_F(SqliteQuery, SaveFailsCleanlyWhenTheFolderIsMissing) {
  const Bytes bytes{1, 2, 3};
  MakeDatabase(dbPath_, "create table t_sys_soft(\"系统\" blob);insert into t_sys_soft values (x'010203')");
  db::Query q = PackageQuery();
  q.Open();
  const std::string target = dir_.File("missing/package.zip");
  EXPECT_THROW(q.SaveBlobToFile(target), platform::Exception);
  EXPECT_EQ(dir_.List().size(), 1u);  // only the database
}

}  // namespace
