// What is particular to each backend: opening, the schema version, failures.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <pqxx/pqxx>

#include "fixtures.h"

namespace pondaro::scores::test {
namespace {

void SqliteExec(const std::string& path, const std::string& sql, std::string* firstColumn = nullptr) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  auto keep = [](void* out, int, char** values, char**) {
    if (out && values[0]) *static_cast<std::string*>(out) = values[0];
    return 0;
  };
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), keep, firstColumn, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

TEST(Sqlite, ANewFileGetsTheSchemaInWalMode) {
  TempDir dir;
  const std::string path = dir / "new.db";
  OpenSqlite(path);
  std::string mode, version;
  SqliteExec(path, "PRAGMA journal_mode", &mode);
  SqliteExec(path, "PRAGMA user_version", &version);
  EXPECT_EQ(mode, "wal");
  EXPECT_EQ(version, "2");
}

TEST(Sqlite, AFileFromANewerServiceIsLeftAlone) {
  TempDir dir;
  const std::string path = dir / "newer.db";
  OpenSqlite(path)->Insert({{"Kept", "", 5, 0}});
  SqliteExec(path, "PRAGMA user_version=3");
  try {
    OpenSqlite(path);
    FAIL() << "opened a newer schema";
  } catch (const StorageError& e) {
    EXPECT_NE(std::string(e.what()).find("newer"), std::string::npos) << e.what();
  }
  std::string count;
  SqliteExec(path, "SELECT count(*) FROM scores", &count);
  EXPECT_EQ(count, "1");
}

TEST(Sqlite, AnUnusableFileIsAClearError) {
  TempDir dir;
  WriteFile(dir / "text.db", std::string(4096, 'x'));
  for (const std::string& path : {std::string("/nonexistent/folder/scores.db"), dir / "text.db"}) {
    try {
      OpenSqlite(path);
      ADD_FAILURE() << path;
    } catch (const StorageError& e) {
      EXPECT_NE(std::string(e.what()).find(path.substr(path.rfind('/') + 1)), std::string::npos) << e.what();
    }
  }
}

TEST(Postgres, ADatabaseFromANewerServiceIsLeftAlone) {
  std::string reason;
  PostgresInstance* pg = PostgresInstance::Shared(reason);
  if (!pg) GTEST_SKIP() << "PostgreSQL cannot run here: " << reason;
  const std::string connection = pg->NewDatabase();
  OpenPostgres(connection, 1)->Insert({{"Kept", "", 5, 0}});
  {
    pqxx::connection c(connection);
    pqxx::work w(c);
    EXPECT_EQ(w.exec("SELECT version FROM schema_version")[0][0].as<int>(), 2);
    w.exec("UPDATE schema_version SET version = 3");
    w.commit();
  }
  EXPECT_THROW(OpenPostgres(connection, 1), StorageError);
  pqxx::connection c(connection);
  pqxx::work w(c);
  EXPECT_EQ(w.exec("SELECT count(*) FROM scores")[0][0].as<int>(), 1);
}

TEST(Postgres, InstancesStartingTogetherMigrateOnce) {
  std::string reason;
  PostgresInstance* pg = PostgresInstance::Shared(reason);
  if (!pg) GTEST_SKIP() << "PostgreSQL cannot run here: " << reason;
  const std::string connection = pg->NewDatabase();
  std::vector<std::thread> starts;
  std::atomic<int> failures{0};
  for (int i = 0; i < 4; ++i)
    starts.emplace_back([&] {
      try {
        OpenPostgres(connection, 1);
      } catch (const std::exception& e) {
        ++failures;
        ADD_FAILURE() << e.what();
      }
    });
  for (auto& t : starts) t.join();
  EXPECT_EQ(failures, 0);
}

TEST(Postgres, NoServerIsAClearError) {
  TempDir nowhere;
  try {
    OpenPostgres("host=" + nowhere.Path() + " dbname=scores connect_timeout=2", 1);
    FAIL() << "connected to nothing";
  } catch (const StorageError& e) {
    EXPECT_NE(std::string(e.what()).find("PostgreSQL"), std::string::npos) << e.what();
  }
}

// A database that fails at every call, as one that went away would.
class Broken : public Storage {
 public:
  std::string Describe() const override { return "broken"; }
  void AddToken(const std::string&, int64_t) override { Fail(); }
  Redeemed Redeem(const std::string&, int64_t, int64_t, const StoredScore&, const std::string&) override { Fail(); }
  int64_t PurgeTokens(int64_t) override { Fail(); }
  std::vector<StoredScore> Best(int) override { Fail(); }
  void Insert(const std::vector<StoredScore>&) override { Fail(); }
  int64_t CountScores() override { Fail(); }
  int64_t CountTokens() override { Fail(); }
  std::vector<ListedScore> List(int) override { Fail(); }
  std::optional<ListedScore> Find(int64_t) override { Fail(); }
  bool Remove(int64_t) override { Fail(); }
  int64_t BanSender(const std::string&, int64_t) override { Fail(); }
  bool Unban(const std::string&) override { Fail(); }
  std::vector<Ban> Bans() override { Fail(); }

 private:
  [[noreturn]] static void Fail() { throw StorageError("PostgreSQL connection lost: server closed the connection"); }
};

TEST(Service, ADatabaseThatFailsAnswers503) {
  Broken broken;
  ServiceOptions options;
  options.quiet = true;
  ScoreService service(broken, options);
  for (const std::string& query :
       {std::string("prg=Pondaro"), SubmissionQuery("BOB", 450, std::string(32, 'a')), std::string("prg=Pondaro&show")}) {
    const Response r = service.Handle(Get(query));
    EXPECT_EQ(r.status, 503) << query;
    // The database's own words stay in the log.
    EXPECT_EQ(r.body.find("PostgreSQL"), std::string::npos) << r.body;
  }
  // The home page needs no database.
  Request home = Get("");
  home.path = "/";
  EXPECT_EQ(service.Handle(home).status, 200);
}

}  // namespace
}  // namespace pondaro::scores::test
