// The launcher's whole job against a real PostgreSQL server: the package
// extracted byte for byte and started; every way of getting no new product
// keeps the old one and starts it.
#include "LauncherFixture.h"
#include "PostgresServer.h"
#include "ZipWriter.h"

namespace {

using namespace launcher_testing;
using testing_support::PostgresServer;

const std::string kProductBytes = [] {
  const auto bytes = testing_support::PseudoRandomBytes(256 * 1024, 11);
  return std::string(bytes.begin(), bytes.end());
}();

class Server : public testing::Environment {
 public:
  static Server* instance;
  PostgresServer pg;

  void SetUp() override {
    pg.Start();
    if (!pg.Started()) return;
    pg.Exec("postgres", "create database pkg; create database corrupt; create database empty; "
                        "create database nullblob; create database nocolumn; create database notable");
    const char* table = "create table t_sys_soft(\"系统\" bytea)";
    for (const char* db : {"pkg", "corrupt", "empty", "nullblob"}) pg.Exec(db, table);
    const std::string zip = testing_support::MakeStoredZip({{launcher::kProductFileName, kProductBytes, 0100755}});
    pg.InsertBlob("pkg", std::vector<std::uint8_t>(zip.begin(), zip.end()));
    pg.InsertBlob("corrupt", std::vector<std::uint8_t>(4096, 0x5A));
    pg.Exec("nullblob", "insert into t_sys_soft values (null)");
    pg.Exec("nocolumn", "create table t_sys_soft(package bytea)");
    pg.Exec("notable", "create table other(x int)");
  }
  void TearDown() override { pg.Stop(); }
};

Server* Server::instance = static_cast<Server*>(testing::AddGlobalTestEnvironment(new Server));

class PostgresLauncherTest : public LauncherTest {
 protected:
  void SetUp() override {
    if (!Server::instance->pg.SkipReason().empty()) GTEST_SKIP() << Server::instance->pg.SkipReason();
    ASSERT_TRUE(Server::instance->pg.Started());
  }
  void Settings(const std::string& database, const std::string& password = PostgresServer::kAdminPassword) {
    WriteSettings("PostgreSQL", PostgresServer::kAdmin, password, database,
                  "127.0.0.1:" + std::to_string(Server::instance->pg.Port()));
  }
};

TEST_F(PostgresLauncherTest, ExtractsThePackagedProductAndStartsIt) {
  Settings("pkg");
  OldProduct();
  launcher::TForm1 form;
  RunFirstTick(form);
  EXPECT_TRUE(headless::MessageBoxes().empty()) << headless::MessageBoxes()[0].text;
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(ReadText(Product()), kProductBytes);
  EXPECT_TRUE(ProductStarted());
}

struct Failure {
  const char* name;
  const char* database;
  const char* password;
  bool openFails;
};

class PostgresNoNewProduct : public PostgresLauncherTest, public testing::WithParamInterface<Failure> {};

TEST_P(PostgresNoNewProduct, KeepsTheOldProductAndStartsIt) {
  const Failure& c = GetParam();
  Settings(c.database, c.password);
  OldProduct();
  launcher::TForm1 form;
  RunFirstTick(form);
  EXPECT_EQ(headless::MessageBoxes().size(), c.openFails ? 1u : 0u);
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(ReadText(Product()), kOldProduct);
  EXPECT_TRUE(ProductStarted());
  EXPECT_FALSE(fs::exists(KeptProduct()));
}

INSTANTIATE_TEST_SUITE_P(Cases, PostgresNoNewProduct,
                         testing::Values(Failure{"MissingTable", "notable", PostgresServer::kAdminPassword, true},
                                         Failure{"MissingColumn", "nocolumn", PostgresServer::kAdminPassword, true},
                                         Failure{"EmptyTable", "empty", PostgresServer::kAdminPassword, false},
                                         Failure{"NullBlob", "nullblob", PostgresServer::kAdminPassword, false},
                                         Failure{"WrongCredentials", "pkg", "not-the-password", true}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(PostgresLauncherTest, ACorruptPackageKeepsTheOldProductAndRetries) {
  Settings("corrupt");
  OldProduct();
  launcher::TForm1 form;
  RunFirstTick(form);
  for (int second = 0; second < 5; ++second) headless::AdvanceTime(launcher::kUpdateIntervalMs);
  EXPECT_FALSE(form.Closed());
  EXPECT_TRUE(form.Timer1.Running());
  EXPECT_EQ(ReadText(Product()), kOldProduct);
  EXPECT_FALSE(ProductStarted());
  EXPECT_EQ(ReadText(Package()), std::string(4096, '\x5A'));
}

}  // namespace
