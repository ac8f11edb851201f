#include "postgres_instance.h"

#include <pqxx/pqxx>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

namespace pondaro::scores::testing {

namespace {

// The newest server programs Debian installed, e.g. /usr/lib/postgresql/15/bin.
std::string ServerBin() {
  namespace fs = std::filesystem;
  std::string best;
  int bestVersion = -1;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
    const std::string name = entry.path().filename();
    const int version = std::atoi(name.c_str());
    if (version > bestVersion && fs::exists(entry.path() / "bin" / "initdb") && fs::exists(entry.path() / "bin" / "postgres")) {
      bestVersion = version;
      best = (entry.path() / "bin").string();
    }
  }
  return best;
}

}  // namespace

std::vector<std::string> PostgresInstance::Throwaway() {
  return {"fsync=off", "synchronous_commit=off", "full_page_writes=off"};
}

std::unique_ptr<PostgresInstance> PostgresInstance::Start(std::string& reason, const std::vector<std::string>& settings) {
  const std::string bin = ServerBin();
  if (bin.empty()) {
    reason = "PostgreSQL's server programs are not installed (/usr/lib/postgresql/*/bin)";
    return nullptr;
  }
  const std::string user = UnprivilegedUser();
  if (geteuid() == 0 && user.empty()) {
    reason = "running as root and there is no unprivileged user (postgres, nobody) to run PostgreSQL as";
    return nullptr;
  }
  std::unique_ptr<PostgresInstance> pg(new PostgresInstance);
  // Under /tmp, which every user can reach: a private $TMPDIR of root's would
  // keep the server's user out of its own folder.
  pg->dir_ = std::make_unique<TempDir>("pondaro-pg", user.empty() ? "" : "/tmp");
  const std::string dir = pg->dir_->Path();
  if (!user.empty()) {
    const std::string chown = "chown " + user + " " + dir;
    if (std::system(chown.c_str()) != 0) {
      reason = "cannot give " + dir + " to " + user;
      return nullptr;
    }
  }
  const std::string log = dir + "/server.log";
  SpawnOptions o;
  o.runAs = user;
  o.log = log;
  o.workDir = dir;
  std::string error;
  const pid_t initdb = Spawn({bin + "/initdb", "-D", dir + "/data", "-U", "postgres", "-A", "trust", "-E", "UTF8",
                              "--locale=C", "--no-sync"},
                             o, error);
  if (initdb < 0 || WaitExit(initdb, 120000) != 0) {
    reason = "initdb failed: " + (error.empty() ? Tail(log) : error);
    return nullptr;
  }
  // No TCP at all: the socket lives in the temporary folder, so parallel runs and
  // a system server on 5432 never meet.
  std::vector<std::string> args = {bin + "/postgres", "-D", dir + "/data", "-k", dir, "-c", "listen_addresses=",
                                   "-c", "max_connections=60"};
  for (const std::string& s : settings) {
    args.push_back("-c");
    args.push_back(s);
  }
  o.parentDeathSignal = SIGQUIT;
  pg->pid_ = Spawn(args, o, error);
  if (pg->pid_ < 0) {
    reason = "postgres did not start: " + error;
    return nullptr;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  for (;;) {
    try {
      pqxx::connection c(pg->Connection("postgres"));
      break;
    } catch (const std::exception& e) {
      if (WaitExit(pg->pid_, 0) != -1) {
        pg->pid_ = -1;
        reason = "postgres stopped at start-up: " + Tail(log);
        return nullptr;
      }
      if (std::chrono::steady_clock::now() > deadline) {
        reason = std::string("postgres did not accept connections within 60 s: ") + e.what();
        return nullptr;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  return pg;
}

PostgresInstance* PostgresInstance::Shared(std::string& reason) {
  static std::mutex mutex;
  static std::unique_ptr<PostgresInstance> shared;
  static std::string why;
  static bool tried = false;
  std::lock_guard lock(mutex);
  if (!tried) {
    tried = true;
    shared = Start(why);
  }
  reason = why;
  return shared.get();
}

PostgresInstance::~PostgresInstance() {
  // Fast shutdown: open sessions are cut, nothing is written out.
  if (pid_ > 0) Stop(pid_, SIGINT, 10000);
}

std::string PostgresInstance::Connection(const std::string& database) const {
  return "host=" + dir_->Path() + " port=5432 user=postgres dbname=" + database + " connect_timeout=10";
}

std::string PostgresInstance::NewDatabase() {
  const std::string name = "scores_" + std::to_string(++databases_);
  pqxx::connection c(Connection("postgres"));
  pqxx::nontransaction w(c);
  w.exec("CREATE DATABASE " + name);
  return Connection(name);
}

}  // namespace pondaro::scores::testing

namespace pondaro::scores::testing {

void PostgresInstance::SignalAll(int signal) const {
  if (pid_ <= 0) return;
  // The server first: stopped, it starts no child after the list below is made.
  kill(pid_, signal);
  // Its children: every process whose parent it is (field 4 of /proc/PID/stat).
  std::vector<pid_t> pids;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
    const pid_t pid = std::atoi(entry.path().filename().c_str());
    if (pid <= 0) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    std::getline(stat, line);
    const size_t close = line.rfind(')');
    if (close == std::string::npos) continue;
    char state = 0;
    int parent = 0;
    if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) == 2 && parent == pid_) pids.push_back(pid);
  }
  for (pid_t pid : pids) kill(pid, signal);
}

}  // namespace pondaro::scores::testing
