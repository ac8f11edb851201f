// pondaro-scores as a user starts it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "http_fixture.h"

namespace pondaro::scores::test {
namespace {

struct Finished {
  int status;
  std::string output;
};

Finished RunToEnd(const std::vector<std::string>& args) {
  TempDir dir;
  SpawnOptions o;
  o.log = dir / "out.txt";
  std::vector<std::string> argv = {PONDARO_SCORES_BINARY};
  argv.insert(argv.end(), args.begin(), args.end());
  std::string error;
  const pid_t pid = Spawn(argv, o, error);
  if (pid < 0) return {-1, error};
  const int status = WaitExit(pid, 20000);
  return {status, ReadFile(o.log)};
}

TEST(Program, HelpAndBadOptions) {
  const Finished help = RunToEnd({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.output.rfind("Usage: pondaro-scores", 0), 0u) << help.output;
  const Finished bad = RunToEnd({"--port", "http"});
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.output.find("--port takes a whole number"), std::string::npos) << bad.output;
  const Finished noDatabase = RunToEnd({"--port", "0", "--database", "/nonexistent/folder/scores.db"});
  EXPECT_EQ(noDatabase.status, 1);
  EXPECT_NE(noDatabase.output.find("cannot open /nonexistent/folder/scores.db"), std::string::npos) << noDatabase.output;
}

TEST(Program, ServesUntilToldToStop) {
  TempDir dir;
  SpawnOptions o;
  o.log = dir / "log.txt";
  std::string error;
  const pid_t pid = Spawn({PONDARO_SCORES_BINARY, "--port", "0", "--database", dir / "scores.db"}, o, error);
  ASSERT_GT(pid, 0) << error;
  const int port = ServingPort(o.log, pid);
  ASSERT_GT(port, 0) << ReadFile(o.log);
  EXPECT_NE(ReadFile(o.log).find("from SQLite " + (dir / "scores.db")), std::string::npos) << ReadFile(o.log);

  const std::string token = pondaro::ServerValue(HttpGet(port, "/cgi/version.pl?prg=Pondaro").body);
  EXPECT_EQ(HttpGet(port, "/cgi/version.pl?" + SubmissionQuery("Cli", 850, token)).status, 200);
  // Refusals and stored scores are logged.
  EXPECT_EQ(HttpGet(port, "/cgi/version.pl?" + SubmissionQuery("Cli", 850, token)).status, 403);

  // A second service cannot take the same port.
  const Finished second = RunToEnd({"--port", std::to_string(port), "--database", dir / "other.db"});
  EXPECT_EQ(second.status, 1);
  EXPECT_NE(second.output.find("cannot listen on 127.0.0.1 port " + std::to_string(port)), std::string::npos)
      << second.output;

  EXPECT_EQ(Stop(pid, SIGTERM, 10000), 0);
  const std::string log = ReadFile(o.log);
  EXPECT_NE(log.find("stored Cli () 850"), std::string::npos) << log;
  EXPECT_NE(log.find("token unknown or used"), std::string::npos) << log;
  EXPECT_NE(log.find("stopped"), std::string::npos) << log;
  EXPECT_EQ(OpenSqlite(dir / "scores.db")->CountScores(), 1);
}

// The database must be writable by the user the service runs as: a read-only one
// would have it "serve" and refuse every score.
TEST(Program, RefusesAReadOnlyDatabase) {
  TempDir dir("pondaro-scores", "/tmp");
  const std::string path = dir / "scores.db";
  OpenSqlite(path)->Insert({{"Kept", "", 5, 0}});
  std::vector<std::string> argv = {PONDARO_SCORES_BINARY, "--port", "0", "--database", path};
  SpawnOptions o;
  o.log = dir / "log.txt";
  // Root may write anything: then the service runs as somebody else.
  o.runAs = UnprivilegedUser();
  chmod(dir.Path().c_str(), 0755);
  chmod(path.c_str(), o.runAs.empty() ? 0400 : 0644);
  std::string error;
  const pid_t pid = Spawn(argv, o, error);
  ASSERT_GT(pid, 0) << error;
  EXPECT_EQ(WaitExit(pid, 20000), 1);
  EXPECT_NE(ReadFile(o.log).find(path + " is read-only for this user"), std::string::npos) << ReadFile(o.log);
}

TEST(Program, PostgresNeedsTheSharedSecret) {
  const Finished r = RunToEnd({"--postgres", "dbname=nowhere"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.output.find("--secret-file"), std::string::npos) << r.output;
}

}  // namespace
}  // namespace pondaro::scores::test
