// The launcher's whole job on the headless backend, against real SQLite
// package databases: what it extracts, what it starts, what it keeps.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sqlite3.h>


#include "LauncherFixture.h"
#include "ZipWriter.h"

namespace {

using namespace launcher_testing;
using testing_support::MakeStoredZip;

int OpenFileCount() {
  int n = 0;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (readdir(d)) ++n;
    closedir(d);
  }
  return n;
}

// How the package table is laid out for one case.
enum class Table { Package, NullBlob, Empty, NoColumn, Missing };

void MakeDatabase(const std::string& path, Table table, const std::string& package) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  auto exec = [&](const char* sql) { ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql; };
  switch (table) {
    case Table::Missing: exec("create table other (x int)"); break;
    case Table::NoColumn: exec("create table t_sys_soft (\"版本\" text)"); exec("insert into t_sys_soft values ('1')"); break;
    case Table::Empty: exec("create table t_sys_soft (\"系统\" blob)"); break;
    case Table::NullBlob: exec("create table t_sys_soft (\"系统\" blob)"); exec("insert into t_sys_soft values (null)"); break;
    case Table::Package: {
      exec("create table t_sys_soft (\"系统\" blob, \"版本\" text)");
      sqlite3_stmt* st = nullptr;
      ASSERT_EQ(sqlite3_prepare_v2(db, "insert into t_sys_soft values (?, '2')", -1, &st, nullptr), SQLITE_OK);
      sqlite3_bind_blob(st, 1, package.data(), int(package.size()), SQLITE_TRANSIENT);
      ASSERT_EQ(sqlite3_step(st), SQLITE_DONE);
      sqlite3_finalize(st);
      break;
    }
  }
  sqlite3_close(db);
}

class UpdateSequenceTest : public launcher_testing::LauncherTest {
 protected:
  void Settings(Table table, const std::string& package) {
    MakeDatabase(dir.File("packages.db"), table, package);
    WriteSettings("SQLite", "", "", "", dir.File("packages.db"));
  }
};

TEST_F(UpdateSequenceTest, ReplacesTheProductStartsItAndEnds) {
  const std::string package = MakeStoredZip({{launcher::kProductFileName, kNewProduct, 0100755}});
  Settings(Table::Package, package);
  OldProduct();
  launcher::TForm1 form;
  RunFirstTick(form);
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(ReadText(Product()), kNewProduct);
  EXPECT_TRUE(ProductStarted());
  EXPECT_EQ(ReadText(Package()), package) << "the package stays beside the launcher";
  EXPECT_TRUE(headless::MessageBoxes().empty()) << headless::MessageBoxes()[0].text;
  EXPECT_FALSE(fs::exists(KeptProduct()));
  EXPECT_EQ(fs::status(Product()).permissions() & fs::perms::owner_exec, fs::perms::owner_exec)
      << "stored attributes are kept";
}

TEST_F(UpdateSequenceTest, TakesExecutablesOutOfFoldersAndLeavesOtherFiles) {
  Settings(Table::Package, MakeStoredZip({{"bin/", ""},
                                          {std::string("bin/") + launcher::kProductFileName, kNewProduct},
                                          {"bin/readme.txt", "read me"},
                                          {"tools/Helper.EXE", "helper"}}));
  launcher::TForm1 form;
  RunFirstTick(form);
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(ReadText(Product()), kNewProduct);
  EXPECT_EQ(ReadText(dir.Path() / "Helper.EXE"), "helper");
  EXPECT_FALSE(fs::exists(dir.Path() / "readme.txt"));
  EXPECT_FALSE(fs::exists(dir.Path() / "bin"));
  EXPECT_TRUE(ProductStarted());
}

// Every way of getting no new product keeps the old one and starts it.
struct NoNewProduct {
  const char* name;
  Table table;
  std::string package;
  bool openFails;
};

class NoNewProductTest : public UpdateSequenceTest, public ::testing::WithParamInterface<NoNewProduct> {};

TEST_P(NoNewProductTest, KeepsTheOldProductAndStartsIt) {
  const NoNewProduct& c = GetParam();
  Settings(c.table, c.package);
  OldProduct();
  launcher::TForm1 form;
  RunFirstTick(form);
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(ReadText(Product()), kOldProduct);
  EXPECT_TRUE(ProductStarted());
  EXPECT_EQ(headless::MessageBoxes().size(), c.openFails ? 1u : 0u);
  EXPECT_FALSE(fs::exists(KeptProduct()));
  // The same course, but a result without rows is not mistaken for an empty package.
  EXPECT_EQ(form.t_sys_soft.IsEmpty(), c.table == Table::Empty);
  EXPECT_EQ(form.t_sys_soft.BlobIsNull(), c.table == Table::NullBlob);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoNewProductTest,
    ::testing::Values(NoNewProduct{"MissingTable", Table::Missing, "", true},
                      NoNewProduct{"MissingColumn", Table::NoColumn, "", true},
                      NoNewProduct{"EmptyTable", Table::Empty, "", false},
                      NoNewProduct{"NullBlob", Table::NullBlob, "", false},
                      NoNewProduct{"EmptyBlob", Table::Package, "", false},
                      NoNewProduct{"NoExecutableInPackage", Table::Package,
                                   MakeStoredZip({{"readme.txt", "no product here"}}), false}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(UpdateSequenceTest, ACorruptPackageKeepsTheOldProductAndRetriesEverySecond) {
  Settings(Table::Package, std::string(4096, '\x5A'));
  OldProduct();
  launcher::TForm1 form;
  RunFirstTick(form);
  EXPECT_FALSE(form.Closed());
  EXPECT_TRUE(form.Timer1.Running());
  EXPECT_EQ(ReadText(Product()), kOldProduct);

  // A hundred more failed attempts, one a second, leak no files or handles.
  headless::AdvanceTime(launcher::kUpdateIntervalMs);
  const int files = OpenFileCount();
  int attempts = 0;
  const auto start = fs::last_write_time(Package());
  for (; attempts < 100 && !form.Closed(); ++attempts) {
    fs::last_write_time(Package(), start - std::chrono::hours(1));
    headless::AdvanceTime(launcher::kUpdateIntervalMs - 1);
    ASSERT_LT(fs::last_write_time(Package()), start) << "ticked early";
    headless::AdvanceTime(1);
    ASSERT_GE(fs::last_write_time(Package()), start - std::chrono::minutes(1)) << "no attempt this second";
  }
  EXPECT_EQ(attempts, 100);
  EXPECT_FALSE(form.Closed());
  EXPECT_EQ(OpenFileCount(), files);
  EXPECT_EQ(ReadText(Product()), kOldProduct);
  EXPECT_FALSE(ProductStarted());
  EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(UpdateSequenceTest, AProductLeftAsideByAnInterruptedRunIsPutBack) {
  Settings(Table::Package, MakeStoredZip({{"readme.txt", "no product"}}));
  dir.Write(std::string(launcher::kProductFileName) + launcher::kKeptProductSuffix, kOldProduct);
  launcher::TForm1 form;
  RunFirstTick(form);
  EXPECT_EQ(ReadText(Product()), kOldProduct);
  EXPECT_TRUE(ProductStarted());
}

}  // namespace
