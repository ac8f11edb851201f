// Storage that fails fast and keeps its secrets: file modes, old databases,
// a limit shared by instances, a database that hangs.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <chrono>
#include <pqxx/pqxx>
#include <thread>

#include "http_fixture.h"
#include "sender.h"

namespace pondaro::scores::test {
namespace {

using Clock = std::chrono::steady_clock;

int Mode(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 0777) : -1;
}

TEST(Sqlite, TheFilesAreTheOwnersAlone) {
  TempDir dir;
  const std::string path = dir / "new.db";
  {
    auto storage = OpenSqlite(path);
    storage->AddToken(std::string(32, 'a'), 1);
    for (const char* suffix : {"", "-wal", "-shm"}) EXPECT_EQ(Mode(path + suffix), 0600) << suffix;
  }
  // A database made before, readable by all, is narrowed.
  const std::string old = dir / "old.db";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(old.c_str(), &db), SQLITE_OK);
  sqlite3_exec(db, "CREATE TABLE t (x)", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  chmod(old.c_str(), 0644);
  OpenSqlite(old);
  EXPECT_EQ(Mode(old), 0600);

  const std::string secret = LoadOrCreateSecret(dir / "secret");
  EXPECT_EQ(Mode(dir / "secret"), 0600);
  EXPECT_GE(secret.size(), 32u);
  EXPECT_EQ(LoadOrCreateSecret(dir / "secret"), secret);
  WriteFile(dir / "short", "abc\n");
  EXPECT_THROW(LoadOrCreateSecret(dir / "short"), std::runtime_error);
}

constexpr const char* kFirstSchema =
    "CREATE TABLE scores (id INTEGER PRIMARY KEY, name TEXT NOT NULL, country TEXT NOT NULL, score INTEGER NOT NULL,"
    " created INTEGER NOT NULL); CREATE INDEX scores_best ON scores (score DESC, id);"
    " CREATE TABLE tokens (token TEXT PRIMARY KEY, issued INTEGER NOT NULL);"
    " INSERT INTO scores (name, country, score, created) VALUES ('Old', 'NZ', 500, 1700000000);";

// Scores stored before senders were kept are kept, without one.
void ExpectMigrated(Storage& storage) {
  const std::vector<ListedScore> listed = storage.List(10);
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].score, (StoredScore{"Old", "NZ", 500, 1'700'000'000}));
  EXPECT_EQ(listed[0].sender, "");
  storage.AddToken(std::string(32, 'b'), 100);
  EXPECT_EQ(storage.Redeem(std::string(32, 'b'), 100, 7200, {"New", "", 600, 100}, "0123"), Redeemed::Stored);
  EXPECT_EQ(storage.List(10)[0].sender, "0123");
}

TEST(Sqlite, AnOldDatabaseKeepsItsScores) {
  TempDir dir;
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((dir / "old.db").c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, (std::string(kFirstSchema) + "PRAGMA user_version=1;").c_str(), nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  ExpectMigrated(*OpenSqlite(dir / "old.db"));
}

TEST(Postgres, AnOldDatabaseKeepsItsScores) {
  std::string reason;
  PostgresInstance* pg = PostgresInstance::Shared(reason);
  if (!pg) GTEST_SKIP() << "PostgreSQL cannot run here: " << reason;
  const std::string connection = pg->NewDatabase();
  {
    pqxx::connection c(connection);
    pqxx::work w(c);
    std::string schema = kFirstSchema;
    for (const char* from : {"INTEGER PRIMARY KEY", "INTEGER"}) {
      const std::string to = std::string(from) == "INTEGER" ? "bigint" : "bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY";
      for (size_t at; (at = schema.find(from)) != std::string::npos;) schema.replace(at, std::strlen(from), to);
    }
    w.exec(schema + "CREATE TABLE schema_version (version integer NOT NULL); INSERT INTO schema_version VALUES (1);");
    w.commit();
  }
  ExpectMigrated(*OpenPostgres(connection, 1));
}

TEST(Postgres, InstancesShareOneRateLimit) {
  std::string reason;
  PostgresInstance* pg = PostgresInstance::Shared(reason);
  if (!pg) GTEST_SKIP() << "PostgreSQL cannot run here: " << reason;
  const std::string connection = pg->NewDatabase();
  auto a = OpenPostgres(connection, 2), b = OpenPostgres(connection, 2);
  TestClock clock;
  ServiceOptions o;
  o.quiet = true;
  o.ratePerMinute = 6;
  o.burst = 3;
  ScoreService first(*a, o, clock.Fn()), second(*b, o, clock.Fn());
  for (int i = 0; i < 3; ++i) EXPECT_EQ((i % 2 ? second : first).Handle(Get("prg=Pondaro")).status, 200) << i;
  EXPECT_EQ(first.Handle(Get("prg=Pondaro")).status, 429);
  const Response refused = second.Handle(Get("prg=Pondaro"));
  EXPECT_EQ(refused.status, 429);
  EXPECT_EQ(refused.headers[0], (std::pair<std::string, std::string>{"Retry-After", "10"}));
  EXPECT_EQ(second.Handle(Get("prg=Pondaro", "10.0.0.2")).status, 200);
  clock.Advance(10);
  EXPECT_EQ(second.Handle(Get("prg=Pondaro")).status, 200);
  EXPECT_EQ(first.Handle(Get("prg=Pondaro")).status, 429);
}

TEST(Postgres, AHungDatabaseAnswers503WithinTheTimeOut) {
  std::string reason;
  auto pg = PostgresInstance::Start(reason);
  if (!pg) GTEST_SKIP() << "PostgreSQL cannot run here: " << reason;
  TempDir dir;
  ServiceProcess s({"--postgres", pg->NewDatabase(), "--secret-file", dir / "secret", "--db-timeout", "1", "--pool",
                    "2", "--quiet"});
  ASSERT_GT(s.Port(), 0) << s.Log();
  ASSERT_EQ(HttpGet(s.Port(), "/cgi/version.pl?prg=Pondaro").status, 200);

  pg->SignalAll(SIGSTOP);
  std::vector<std::thread> players;
  std::vector<int> status(6);
  std::vector<double> seconds(6);
  for (size_t i = 0; i < status.size(); ++i)
    players.emplace_back([&, i] {
      const auto t0 = Clock::now();
      status[i] = HttpGet(s.Port(), i % 2 ? "/cgi/version.pl?prg=Pondaro" : "/cgi/version.pl?prg=Pondaro&type=0&show").status;
      seconds[i] = std::chrono::duration<double>(Clock::now() - t0).count();
    });
  const auto t0 = Clock::now();
  EXPECT_EQ(HttpGet(s.Port(), "/").status, 200);
  EXPECT_LT(std::chrono::duration<double>(Clock::now() - t0).count(), 1.0) << "the home page waited for the database";
  for (auto& t : players) t.join();
  for (size_t i = 0; i < status.size(); ++i) {
    EXPECT_EQ(status[i], 503) << i;
    // One second, two when a connection is made afresh (libpq's least).
    EXPECT_LT(seconds[i], 2.5) << i;
  }
  pg->SignalAll(SIGCONT);

  int after = 0;
  for (int i = 0; i < 50 && after != 200; ++i) {
    after = HttpGet(s.Port(), "/cgi/version.pl?prg=Pondaro").status;
    if (after != 200) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(after, 200) << "the service did not come back with the database";
  EXPECT_EQ(s.Terminate(5000), 0) << s.Log();
}

}  // namespace
}  // namespace pondaro::scores::test
