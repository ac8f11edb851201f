// The service on a real socket for the tests; the raw HTTP client of testing/.
#pragma once
#include <signal.h>

#include <chrono>
#include <regex>
#include <thread>

#include "fixtures.h"
#include "http_server.h"
#include "testing/http_client.h"

namespace pondaro::scores::test {

// A service with an SQLite database in a temporary folder, serving on
// 127.0.0.1 at `port` (0: any free port) on a thread of its own.
class RunningService {
 public:
  explicit RunningService(ServiceOptions options = Quiet(), HttpOptions http = {}, int port = 0)
      : storage_(OpenSqlite(dir_ / "scores.db")), service_(*storage_, options), server_(service_, Hushed(http, options)) {
    port_ = server_.Bind("127.0.0.1", port);
    if (port_ > 0) thread_ = std::thread([this] { server_.Run(); });
  }
  ~RunningService() {
    if (thread_.joinable()) {
      server_.Stop();
      thread_.join();
    }
  }
  static HttpOptions Hushed(HttpOptions http, const ServiceOptions& options) {
    http.quiet |= options.quiet;
    return http;
  }
  static ServiceOptions Quiet() {
    ServiceOptions o;
    o.quiet = true;
    return o;
  }
  int Port() const { return port_; }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }
  Storage& Scores() { return *storage_; }

 private:
  TempDir dir_;
  std::unique_ptr<Storage> storage_;
  ScoreService service_;
  HttpServer server_;
  int port_ = -1;
  std::thread thread_;
};

// Waits for the line that names the address; the port, or -1.
inline int ServingPort(const std::string& log, pid_t pid) {
  const std::regex serving("serving http://127\\.0\\.0\\.1:([0-9]+)/");
  for (int i = 0; i < 3000; ++i) {
    std::smatch m;
    const std::string text = ReadFile(log);
    if (std::regex_search(text, m, serving)) return std::stoi(m[1]);
    if (WaitExit(pid, 0) != -1) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return -1;
}

// pondaro-scores itself on a free port of 127.0.0.1 with an SQLite database in
// a folder of its own (or `database`), `args` added; killed when the object goes.
class ServiceProcess {
 public:
  explicit ServiceProcess(const std::vector<std::string>& args = {}, const std::string& database = "")
      : database_(database.empty() ? dir_ / "scores.db" : database) {
    SpawnOptions o;
    o.log = dir_ / "log.txt";
    std::vector<std::string> argv = {PONDARO_SCORES_BINARY, "--port", "0", "--database", database_};
    argv.insert(argv.end(), args.begin(), args.end());
    std::string error;
    pid_ = Spawn(argv, o, error);
    port_ = pid_ > 0 ? ServingPort(o.log, pid_) : -1;
  }
  ~ServiceProcess() {
    if (pid_ > 0) Stop(pid_, SIGKILL, 5000);
  }
  int Port() const { return port_; }
  pid_t Pid() const { return pid_; }
  const std::string& Database() const { return database_; }
  std::string Log() const { return ReadFile(dir_ / "log.txt"); }
  bool Running() const { return pid_ > 0 && WaitExit(pid_, 0) == -1; }
  // The most memory the process has held, in MB.
  double PeakMb() const {
    const std::string status = ReadFile("/proc/" + std::to_string(pid_) + "/status");
    const size_t at = status.find("VmHWM:");
    return at == std::string::npos ? -1 : std::strtod(status.c_str() + at + 6, nullptr) / 1024.0;
  }
  // SIGTERM; the exit status, or -1 when it has not ended within `ms`.
  int Terminate(int ms) {
    kill(pid_, SIGTERM);
    const int status = WaitExit(pid_, ms);
    if (status != -1) pid_ = -1;
    return status;
  }

 private:
  TempDir dir_;
  std::string database_;
  pid_t pid_ = -1;
  int port_ = -1;
};

}  // namespace pondaro::scores::test
